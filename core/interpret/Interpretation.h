// Automatic interpretation of pile traces: the 1-D pile model fitted to every trace,
// and from it the toe, the impedance changes, a proposed class and a confidence word.
#pragma once
#include <atomic>
#include <functional>
#include <string>
#include <vector>
namespace sondara {
class CSondaraDoc;
struct TestPoint;

enum class ImpedanceChangeKind { Narrowing, Widening };

struct ProposedDefect {
    double depth = 0.0;   // m below the head (top of the change), at the point's wave speed
    double extent = 0.0;  // m
    ImpedanceChangeKind kind = ImpedanceChangeKind::Narrowing;
    double beta = 1.0;  // Z(defect) / Z(pile)
    int index = -1;     // sample index of the change's echo in the point's trace
};

struct ImpedanceSegment {            // the fitted profile, top to toe
    double top = 0.0, bottom = 0.0;  // m
    double ratio = 1.0;              // Z / Z(pile)
};

enum class Confidence { Clear, Uncertain };

// A competing reading of the same trace that the evidence does not rule out: another
// toe, a change more or less, a short pile instead of a break. Best first.
struct InterpretationAlternative {
    int integrityClass = 1;  // 1..4 (I..IV)
    bool toeFound = false;
    double toeTime = 0.0;   // s after the blow
    int toeIndex = -1;      // sample index of the toe echo
    double toeDepth = 0.0;  // m at the point's wave speed
    std::vector<ProposedDefect> defects;
    double evidenceGap = 0.0;  // how much worse than the chosen reading (information
                               // criterion units, >= 0)
    std::string label;         // short description of the reading, e.g. "短桩", "桩底按桩长"
    std::vector<float> fitted;  // its head trace, as PointInterpretation::fitted
};

struct PointInterpretation {
    int point = -1;  // document index of the point
    bool toeFound = false;
    double toeTime = 0.0;   // s after the blow
    int toeIndex = -1;      // sample index of the toe echo
    double toeDepth = 0.0;  // m at the point's wave speed
    int headIndex = -1;     // sample index of the blow (as the automatic head places the head)
    std::vector<ProposedDefect> defects;
    int integrityClass = 1;  // 1..4 (I..IV)
    Confidence confidence = Confidence::Uncertain;
    std::string reason;  // why uncertain (short Chinese text, e.g. "未找到桩底反射", "拟合较差",
                         // "噪声较大"), "" when clear
    double residual = 0.0;  // rms misfit / rms of the trace after the blow
    std::vector<float>
        fitted;  // the fitted model's head trace, one value per sample of the
                 // point's trace, in the recorded quantity (acceleration for
                 // sensor type 0, else velocity); the overlay scales it to the shown trace
    std::vector<ImpedanceSegment> profile;
    // The readings within the margin of the chosen one, best first, and the evidence gap
    // to the nearest reading of another class (a large value when there is none).
    std::vector<InterpretationAlternative> alternatives;
    double evidenceGap = 0.0;
    // Said when the toe lies shallower or deeper than the entered length allows (the
    // spread of wave speeds), e.g. "桩长短于设计"; "" otherwise.
    std::string lengthRemark;
    std::string error;  // non-empty: the point could not be interpreted at all
};

struct SiteWaveSpeed {
    bool found = false;       // at least five usable class-I piles with clear toe and length
    double speed = 0.0;       // m/s
    std::vector<int> points;  // the points used
};

struct InterpretControl {
    std::function<void(int done, int total)> progress;  // called from worker threads, may be empty
    const std::atomic<bool>* cancel = nullptr;  // when set and true: stop soon, return what is done
};

const char* confidenceKey(Confidence c);           // "clear" / "uncertain"
const char* changeKindKey(ImpedanceChangeKind k);  // "narrowing" / "widening"

PointInterpretation interpretPoint(const CSondaraDoc& doc, int point);
// All the given points, on up to hardware_concurrency threads; order = order of `points`.
std::vector<PointInterpretation> interpretPoints(const CSondaraDoc& doc,
                                                 const std::vector<int>& points,
                                                 const InterpretControl& control = {});
SiteWaveSpeed siteWaveSpeed(const CSondaraDoc& doc,
                            const std::vector<PointInterpretation>& results);
// Writes the proposals as marks and class: head at headIndex, toe at toeIndex, one defect
// mark per change (narrowing beta<0.6: 断桩 kind 3; other narrowing: 缩径 kind 2; widening:
// 扩径 kind 1), the integrity class. Points with an error are skipped. All changes are
// announced by one commitChange so that they form one undo step. Returns the number of
// points changed.
int applyInterpretation(CSondaraDoc& doc, const std::vector<PointInterpretation>& rows);
}  // namespace sondara
