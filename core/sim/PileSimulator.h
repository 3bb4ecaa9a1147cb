#pragma once
// A one-dimensional wave model of a pile struck at its head by a hand hammer, and
// the trace a head sensor records from it. Used to make test projects whose truth
// is known (pile head, toe and defects).
//
// The pile is a column of cells that all have the same wave travel time; each cell
// has its own impedance Z = E*A/c = rho*c*A. Down- and up-going force waves are
// exchanged exactly at the cell junctions (method of characteristics), so a uniform
// pile propagates a pulse without numerical dispersion. The shaft soil acts at
// every junction below the free length as a spring and a dashpot (plane-strain
// shaft model, k = 2.75*G, c = 2*pi*r*rho*Vs per metre), the toe soil as the spring
// and dashpot of a rigid disc on an elastic half-space (k = 4*G*r/(1-nu),
// c = 3.4*r^2*rho*Vs/(1-nu)). Layers thinner than two cells that are softer than the
// concrete around them (cracks) act as a spring of their own compliance h/(E'A').
//
// Sign convention: compression and downward motion are positive, so the blow gives
// a positive first pulse. A free toe, a neck, a crack or a break reflect with the
// same sign; a bulge, an enlarged base or a toe on rock with the opposite sign.
//
// The internal step is a whole even fraction (at least 1/4) of the sample interval
// and at most 12.5 us; each output sample is the mean of the head velocity over its
// sample interval, centred on the sample (acceleration: the velocity change over
// the interval divided by it), which serves as the instrument's anti-alias filter
// and adds no delay.
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/PileMark.h"

namespace sondara {

enum class ToeCondition {
    Soil,   // toe soil spring and dashpot from the toe soil's properties
    Free,   // no support at all (closed-form reference)
    Fixed,  // no motion at all (closed-form reference)
};

struct SoilSpec {
    double shaftVs = 150.0;  // shear wave speed of the soil along the shaft, m/s (0: no shaft soil)
    double shaftDensity = 1800.0;  // kg/m^3
    double freeLength = 0.0;       // m of shaft below the head without soil contact
    ToeCondition toe = ToeCondition::Soil;
    double toeVs = 200.0;        // m/s
    double toeDensity = 1900.0;  // kg/m^3
    double toePoisson = 0.3;
};

// One defect of the pile body. `depth` is the top of the defect, m below the head.
// Severity (0..1) by kind:
//   Necking        diameter reduced by that fraction       (Z * (1-s)^2)
//   Bulging        diameter enlarged by that fraction      (Z * (1+s)^2)
//   Crack          impedance of a thin layer reduced       (Z * (1-s))
//   Break          impedance of the layer reduced          (Z * (1-s), s near 1)
//   SoilInclusion  soil mixed in: impedance (1-s), wave speed (1-s/2)
//   Segregation    wave speed reduced by that fraction     (Z and c * (1-s))
//   EnlargedBase   diameter of the bottom `length` m enlarged by that fraction;
//                  its depth is always length - `length`
struct DefectSpec {
    DefectKind kind = DefectKind::Necking;
    double depth = 0.0;     // m
    double length = 0.0;    // m
    double severity = 0.0;  // 0..1
};

// Default length and severity of a defect kind (used when a description leaves them out).
double defaultDefectLength(DefectKind kind);
double defaultDefectSeverity(DefectKind kind);
// The defect's English key in project descriptions ("necking", ...), "" for others.
const char* defectKey(DefectKind kind);
// Kind of a key, or DefectKind::None when unknown.
DefectKind defectKindOfKey(const std::string& key);

struct PileSpec {
    // Pile.
    double length = 10.0;        // m
    double waveSpeed = 4000.0;   // m/s of sound concrete
    double diameter = 500.0;     // mm (outer)
    double wallThickness = 0.0;  // mm, 0 = solid section (pipe piles: the wall)
    double density = 2400.0;     // kg/m^3
    SoilSpec soil;
    std::vector<DefectSpec> defects;
    // Blow.
    double hammerMs = 1.0;        // duration of the half-sine force pulse, ms
    double hammerForce = 5000.0;  // peak force, N
    // Instrument.
    int sensorType = 1;            // 0 acceleration, 1 velocity
    double sampleInterval = 20.0;  // us
    int samples = 1024;
    int preTrigger = 32;  // samples recorded before the blow
    double gain = 0.0;    // amplifier gain; 0 = chosen like an auto-ranging instrument
    double noise = 0.0;   // sensor noise, RMS as a fraction of the trace's peak
};

// Sensor sensitivities before the amplifier.
inline constexpr double kVelocityMvPerMps = 28000.0;  // 28 mV per mm/s
inline constexpr double kAccelMvPerMps2 = 10.0;       // about 100 mV per g
// The converter: +-5000 mV, 16 bits.
inline constexpr double kAdcRangeMv = 5000.0;
inline constexpr int kAdcBits = 16;

struct SimDefectTruth {
    DefectKind kind = DefectKind::None;
    double depth = 0.0;   // m below the head (top of the defect)
    double length = 0.0;  // m
    double severity = 0.0;
    int index = 0;  // sample where the reflection from the defect's top begins
};

struct SimTruth {
    int headIndex = 0;        // sample at which the blow begins
    int headPeakIndex = 0;    // first peak of the blow on the noise-free trace
    int toeIndex = 0;         // sample at which the toe reflection begins
    double travelTime = 0.0;  // s, head to toe, one way, as simulated
    int gain = 0;             // amplifier gain used
    double mvPerUnit = 0.0;   // mV per m/s (velocity) or per m/s^2 (acceleration), gain included
    double peakMv = 0.0;      // largest |sample| of the noise-free trace
    std::vector<SimDefectTruth> defects;  // in order of depth
};

struct SimulatedTrace {
    std::vector<float> samples;  // mV, as the instrument records them
    SimTruth truth;
    std::string error;  // empty on success; otherwise why nothing was simulated
    bool ok() const { return error.empty(); }
};

// Checks a pile description; "" when it can be simulated, otherwise the reason.
std::string validatePileSpec(const PileSpec& spec);

// Simulates one blow. The same spec and seed always give the same samples; the
// seed only drives the sensor noise.
SimulatedTrace simulatePile(const PileSpec& spec, std::uint64_t seed);

// Impedance (N*s/m) of the sound section of the pile.
double pileImpedance(const PileSpec& spec);

// A small deterministic random source (splitmix64), the same on every platform.
class SimRandom {
public:
    explicit SimRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    double uniform();                      // [0, 1)
    double uniform(double lo, double hi);  // [lo, hi)
    int integer(int lo, int hi);           // lo..hi inclusive
    double gaussian();                     // mean 0, deviation 1

private:
    std::uint64_t state_;
    bool hasSpare_ = false;
    double spare_ = 0.0;
};

}  // namespace sondara
