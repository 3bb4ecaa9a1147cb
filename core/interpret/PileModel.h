#pragma once
// The pieces of the automatic interpretation: the conditioned trace (velocity from
// the blow on, with the blow, its incident pulse and the noise measured from the
// trace itself) and a fast one-dimensional pile model driven by that pulse.
//
// The model is the program's own wave model (method of characteristics, as the pile
// simulator uses): a column of cells of equal travel time, an impedance per cell
// relative to the sound section, the shaft soil as a spring and a dashpot at every
// junction and the toe soil as a spring and a dashpot. Every buffer is allocated
// once per trace; a run allocates nothing, so the fit can call it thousands of times.
#include <span>
#include <string>
#include <vector>

namespace sondara::interp {

// The trace made ready for the fit.
struct Conditioned {
    std::vector<double> velocity;  // whole trace, velocity (acceleration integrated), blow positive
    double dt = 0.0;               // s
    double sign = 1.0;             // -1 when the recorded blow was negative
    bool acceleration = false;     // recorded quantity is acceleration (integrated here)
    int blowStart = -1;            // last sample before the blow rises
    int blowPeak = -1;             // first peak of the blow
    double peak = 0.0;             // velocity at blowPeak
    std::vector<double> pulse;     // incident pulse, from blowStart on (velocity), tail tapered
    int pulseWidth = 0;            // samples of the pulse above half its peak (at least 2)
    double noise = 0.0;            // rms velocity noise at the scale of one echo
    double rawNoise = 0.0;         // rms noise of the recorded samples before the blow
    double offset = 0.0;           // recorded mean before the blow (removed)
    bool clipped = false;          // the recorded blow runs flat at its extreme (saturated)
    double blowToNoise = 0.0;      // largest excursion / sample-to-sample noise of the record
    std::string error;             // non-empty: no blow found, trace unusable
};

// What an instrument records: a sample interval outside this range is not a pile trace
// (and a finer one would make the time-to-sample conversions overflow).
constexpr double kMinSampleIntervalUs = 0.1;
constexpr double kMaxSampleIntervalUs = 10000.0;

// A blow of a real trace stands far above the sample-to-sample noise of its record;
// white noise peaks at three to five times it, so a record below this holds no blow.
constexpr double kMinBlowToNoise = 8.0;

// Samples in `seconds` at interval `dt`, rounded down and held within [0, cap], whatever
// the inputs (no overflow for any finite or infinite value).
int samplesIn(double seconds, double dt, int cap);

Conditioned conditionTrace(std::span<const float> recorded, double dtUs, bool acceleration);

// One impedance change of the model, in fractions of the toe travel time.
struct ModelChange {
    double top = 0.5;     // travel time to the top / toe travel time
    double extent = 0.1;  // travel time through it / toe travel time
    double ratio = 1.0;   // Z / Z(pile)
};

struct ModelParams {
    double amplitude = 1.0;       // force scale (the pulse is in velocity units, Z = 1)
    double toeTime = 0.0;         // s, one way
    double shaftDamping = 1.0;    // total shaft dashpot / Z
    double shaftStiffness = 0.5;  // total shaft spring * toeTime / Z
    double toeDamping = 0.3;      // toe dashpot / Z
    double toeStiffness = 1.0;    // toe spring * toeTime / Z
    bool toeReflects = true;      // false: the toe absorbs the wave (for measuring the toe echo)
    std::vector<ModelChange> changes;
};

class PileModel {
public:
    // `cells` cells; the output is needed for `samples` samples after the blow; the toe
    // travel time never goes below `minToeTime` (sizes the step buffer).
    PileModel(const std::vector<double>& pulse, double dt, int cells, int samples,
              double minToeTime);

    // Head velocity at samples blowStart + 0 .. samples-1 into `out` (size samples).
    void run(const ModelParams& p, std::span<double> out);
    // The impedance per cell that `p` gives (valid after run or profileOf).
    const std::vector<float>& impedance() const { return z_; }
    void profileOf(const ModelParams& p);
    // While the hammer is in contact the head moves as measured: the head velocity
    // (samples from the blow's start, in the pulse's units) is imposed and the force it
    // takes follows from the waves already travelling; contact ends when that force
    // would pull (after `earliestEnd` samples) and from then on the head is free. So the
    // force needs no guessing of the hammer's shape, whatever the soil does during the
    // blow. Empty: the pulse is the force.
    void imposeBlow(std::vector<double> velocity, int earliestEnd, int latestEnd);
    // The sample at which the last run's contact ended.
    int contactEnd() const { return contactEnd_; }
    int cells() const { return n_; }
    std::vector<double>& pulse() { return pulse_; }
    double minToeTime() const { return minToe_; }

private:
    std::vector<double> pulse_;
    std::vector<double> blow_;
    int blowEarliest_ = 0, blowLatest_ = 0, contactEnd_ = 0;
    double dt_;
    int n_;
    int samples_;
    double minToe_;
    std::vector<float> z_, alpha_, k_, s_, dn_, up_, ndn_, nup_;
    std::vector<double> vHead_, force_;
};

}  // namespace sondara::interp
