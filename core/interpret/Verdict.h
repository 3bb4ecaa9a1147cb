#pragma once
// The last stage of the interpretation: the class a reading gives and whether the
// engineer may take it unseen. Pure rules over what the earlier stages measured, so that
// each can be tested alone.
namespace sondara::interp {

// Readings within this much information criterion of the best are kept as alternatives
// (a gap of 10 is, by the usual reading of Bayes factors, very strong evidence).
constexpr double kAlternativeMargin = 10.0;
// A class that a beta this close to a class border decides is not clear (the smallest
// beta of the independent model's piles is off by 0.05-0.1 at times; a wider margin
// would leave no class-II pile clear, the band being 0.1 wide).
constexpr double kBorderMargin = 0.04;
// A break clear enough to stand for the toe it hides (well below the class border 0.6).
constexpr double kClearBreak = 0.45;
// Misfits above this share of the trace mean the model misses something.
constexpr double kGoodFit = 0.3;
// An echo of a narrowing's sign left unexplained by the chosen reading, this many times
// the noise, may be a change the fit did not take: the class is then not clear.
constexpr double kUnexplainedEcho = 2.5;
// The smallest noise an unexplained echo is compared with (a share of the blow):
// simulated traces without noise still carry the model's own small misfit.
constexpr double kNoiseFloor = 0.004;
// Echo noise above this share of the blow hides echoes of mild changes.
constexpr double kMaxNoise = 0.04;

// I..IV (1..4) from the smallest narrowing's beta (1 when there is none).
int classOf(double minBeta);

// What the stages found about a point and its chosen reading.
struct Evidence {
    bool noiseOnly = false;         // the blow does not stand above the record's noise
    bool clipped = false;           // the blow runs flat at its extreme
    bool speedOrLengthBad = false;  // a speed or a length no pile has
    bool toeFound = false;          // the toe echo stands above the noise
    bool breakShows = false;        // a short clear break stands for the toe it hides
    bool allImpossible = false;     // no reading that physics allows
    double gapOtherClass = 1e300;   // evidence gap to the nearest reading of another class
    bool nearToe = false;           // a narrowing below 0.9 where the toe may lie
    double minBeta = 1.0;           // the smallest listed narrowing
    bool decisiveThin = false;      // the class-setting narrowing is thinner than half a blow
    bool decisiveNearHead = false;  // ... or echoes within two blow widths of the blow
    double residual = 0.0;          // rms misfit / rms trace
    bool strained = false;          // a change at the bound the fit allows
    double unexplained = 0.0;       // largest narrowing-like echo left (share of the blow)
    double noise = 0.0;             // echo noise (share of the blow)
};

// The reason the point is not clear (a short Chinese text, the first rule that holds),
// or nullptr when it is clear.
const char* uncertaintyOf(const Evidence& e);

}  // namespace sondara::interp
