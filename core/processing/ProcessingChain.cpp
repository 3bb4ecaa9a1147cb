#include "core/processing/ProcessingChain.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/processing/Filter.h"
#include "core/processing/ParallelFor.h"
#include "core/processing/TraceOps.h"

namespace sondara {

namespace {

// The toe an integration uses when the point has none: the sample the pile length
// puts it at. A point without a usable wave speed or sample interval keeps toe 0.
int lengthDerivedToe(const TestPoint& p) {
    const double dtv = static_cast<double>(p.waveSpeed) * p.sampleInterval;
    if (!(dtv != 0.0) || !std::isfinite(dtv)) return 0;
    double k = std::trunc(static_cast<double>(p.pileLength) * 2.0 / dtv * 1000000.0);
    if (!std::isfinite(k)) return 0;
    constexpr double lim = std::numeric_limits<int>::max() / 2;
    k = std::clamp(k, -lim, lim);
    return p.headIndex + static_cast<int>(k);
}

// Valid target indices in their order, each once. Listing a point twice would apply
// an edit twice (and, replayed in parallel, touch it from two threads).
PointList validTargets(const CSondaraDoc& doc, const PointList& points) {
    PointList out;
    out.reserve(points.size());
    std::vector<char> seen(doc.points.size(), 0);
    for (int i : points) {
        if (!doc.validPoint(i) || seen[i]) continue;
        seen[i] = 1;
        out.push_back(i);
    }
    return out;
}

// Replays are independent per point; with enough work they run on every core.
// Starting a thread costs tens of microseconds, so a preview of a few points stays
// on the calling thread.
constexpr std::size_t kParallelMinPoints = 8;
constexpr long long kParallelMinWork = 1 << 16;  // samples x (steps + 1)

void forEachTarget(CSondaraDoc& doc, const PointList& points,
                   const std::function<void(TestPoint&)>& work) {
    const PointList targets = validTargets(doc, points);
    long long load = 0;
    for (int i : targets)
        load += static_cast<long long>(doc.points[i].rawCount()) * (doc.points[i].stepCount() + 2);
    const bool parallel = targets.size() >= kParallelMinPoints && load >= kParallelMinWork;
    parallelFor(static_cast<int>(targets.size()), parallel, [&](int begin, int end) {
        for (int t = begin; t < end; ++t) work(doc.points[targets[t]]);
    });
}

}  // namespace

// ---- replay ---------------------------------------------------------------------------

void ApplyStep(const TestPoint& p, const ProcessStep& s, std::vector<float>& samples) {
    float* y = samples.data();
    const int n = static_cast<int>(samples.size());
    // An operation that fails (n <= 0, a shift range outside the trace) leaves the
    // samples as they are and the replay goes on.
    switch (s.processKind()) {
        case ProcessKind::Integrate: {
            int toe = p.toeIndex;
            if (toe >= n) toe = n - 1;
            if (toe == 0) toe = lengthDerivedToe(p);
            IntegrateTrace(y, n, y, p.headIndex, toe);
            break;
        }
        case ProcessKind::Differentiate:
            DifferentiateTrace(y, n, y);
            break;
        case ProcessKind::Filter:
            FilterTrace(y, n, y, p.sampleInterval, s.lowerFreqHz, s.upperFreqHz, s.filterType,
                        kHannWindow);
            break;
        case ProcessKind::LinearZero:
            LinearZeroTrace(y, n, y, p.toeIndex, s.linZeroMode, s.linZeroStart);
            break;
        case ProcessKind::NonlinearZero:
            NonlinearZeroTrace(y, n, y, p.toeIndex, s.nonlinZeroMode, s.nonlinZeroStart);
            break;
        case ProcessKind::Reverse:
            ReverseTrace(y, n, y);
            break;
        case ProcessKind::Smooth:
            SmoothTrace(y, n, y, s.smoothPoints);
            break;
        case ProcessKind::RemoveDc:
            RemoveDcTrace(y, n, y, s.dcPartial, s.dcStart);
            break;
        case ProcessKind::FrontZero:
            FrontZeroTrace(y, n, y, s.frontZeroEnd);
            break;
        case ProcessKind::BackZero:
            BackZeroTrace(y, n, y, s.backZeroStart);
            break;
        case ProcessKind::Shift:
            ShiftTrace(y, n, y, s.shiftSamples, s.shiftMv, s.shiftPartial, s.shiftStart,
                       s.shiftEnd);
            break;
        case ProcessKind::Rotate:
            RotateTrace(y, n, y, s.rotPartial, s.rotStart, s.rotAngle, s.rotScale);
            break;
        case ProcessKind::Amplify:
            AmplifyTrace(y, n, y, s.ampFactor, s.ampStart, s.ampLaw);
            break;
        case ProcessKind::LocalScale:
            LocalScaleTrace(y, n, y, s.scaleStart, s.scaleEnd, s.scaleFactor);
            break;
        case ProcessKind::SimpleIntegrate:
            SimpleIntegrateTrace(y, n, y);
            break;
        default:
            break;  // 0, DynamicScale and unknown codes do nothing
    }
}

void ReplayChain(TestPoint& point, int stepCount, const ProcessStep* steps) {
    point.samples.assign(point.rawSamples.begin(), point.rawSamples.end());
    if (!steps) return;
    for (int i = 0; i < stepCount; ++i) ApplyStep(point, steps[i], point.samples);
}

void ReplayChain(TestPoint& point) {
    ReplayChain(point, point.stepCount(), point.steps.data());
}

void ReplayChain(CSondaraDoc& doc, int point, int stepCount, const ProcessStep* steps) {
    if (doc.validPoint(point)) ReplayChain(doc.points[point], stepCount, steps);
}

// ---- document operations ------------------------------------------------------------

void RestoreChains(CSondaraDoc& doc, const PointList& points) {
    forEachTarget(doc, points, [](TestPoint& p) { ReplayChain(p); });
}

void PreviewStep(CSondaraDoc& doc, const PointList& points, const ProcessStep& step) {
    const int mode = doc.editMode;
    const int index = doc.editIndex;
    forEachTarget(doc, points, [&](TestPoint& p) {
        const int k = p.stepCount();
        if (mode == 0) {
            std::vector<ProcessStep> chain = p.steps;
            chain.push_back(step);
            ReplayChain(p, k + 1, chain.data());
        } else if ((mode == 1 || mode == 2) && index >= 0 && index < k) {
            std::vector<ProcessStep> chain = p.steps;
            if (mode == 1)
                chain[index] = step;
            else
                chain.insert(chain.begin() + index, step);
            ReplayChain(p, static_cast<int>(chain.size()), chain.data());
        }
    });
}

void AppendStep(CSondaraDoc& doc, const PointList& points, const ProcessStep& step) {
    forEachTarget(doc, points, [&](TestPoint& p) {
        p.steps.push_back(step);
        ReplayChain(p);
    });
}

void ReplaceStep(CSondaraDoc& doc, const PointList& points, const ProcessStep& step, int index) {
    if (index < 0) return;
    forEachTarget(doc, points, [&](TestPoint& p) {
        if (p.stepCount() <= index) return;
        p.steps[index] = step;
        ReplayChain(p);
        RefreshRememberedParameters(p, step.kind);
    });
}

void InsertStep(CSondaraDoc& doc, const PointList& points, const ProcessStep& step, int index) {
    if (index < 0) return;
    forEachTarget(doc, points, [&](TestPoint& p) {
        if (p.stepCount() <= index) return;
        p.steps.insert(p.steps.begin() + index, step);
        ReplayChain(p);
        RefreshRememberedParameters(p, step.kind);
    });
}

void DeleteStep(CSondaraDoc& doc, const PointList& points, int index) {
    if (index < 0) return;
    forEachTarget(doc, points, [&](TestPoint& p) {
        if (p.stepCount() <= index) return;
        const int kind = p.steps[index].kind;
        p.steps.erase(p.steps.begin() + index);
        ReplayChain(p);
        if (!p.steps.empty()) RefreshRememberedParameters(p, kind);
    });
}

void ClearSteps(CSondaraDoc& doc, const PointList& points) {
    forEachTarget(doc, points, [](TestPoint& p) {
        p.steps.clear();
        ReplayChain(p);
    });
}

void UpdateDisplayRange(TestPoint& point) {
    // No samples, no range: zero.
    if (point.samples.empty()) {
        point.lastParams.rangeMax = point.lastParams.rangeMin = 0.0f;
        return;
    }
    float hi = point.samples[0], lo = point.samples[0];
    for (float v : point.samples) {
        if (v > hi) hi = v;
        if (v < lo) lo = v;
    }
    const double m = std::max(std::fabs(hi), std::fabs(lo));
    point.lastParams.rangeMax = static_cast<float>(m + 0.1 * m);
    point.lastParams.rangeMin = static_cast<float>(-m - 0.1 * m);
}

void UpdateDisplayRange(CSondaraDoc& doc, const PointList& points) {
    forEachTarget(doc, points, [](TestPoint& p) { UpdateDisplayRange(p); });
}

void RememberParameters(TestPoint& point, const ProcessStep& s) {
    ProcessStep& r = point.lastParams;
    r.kind = s.kind;
    switch (s.processKind()) {
        case ProcessKind::Filter:
            r.filterType = s.filterType;
            r.upperFreqHz = s.upperFreqHz;
            r.lowerFreqHz = s.lowerFreqHz;
            break;
        case ProcessKind::LinearZero:
            r.linZeroMode = s.linZeroMode;
            r.linZeroStart = s.linZeroStart;
            break;
        case ProcessKind::NonlinearZero:
            r.nonlinZeroMode = s.nonlinZeroMode;
            r.nonlinZeroStart = s.nonlinZeroStart;
            break;
        case ProcessKind::Smooth:
            r.smoothPoints = s.smoothPoints;
            break;
        case ProcessKind::RemoveDc:
            r.dcPartial = s.dcPartial;
            r.dcStart = s.dcStart;
            break;
        case ProcessKind::FrontZero:
            r.frontZeroEnd = s.frontZeroEnd;
            break;
        case ProcessKind::BackZero:
            r.backZeroStart = s.backZeroStart;
            break;
        case ProcessKind::Shift:
            r.shiftSamples = s.shiftSamples;
            r.shiftMv = s.shiftMv;
            r.shiftPartial = s.shiftPartial;
            r.shiftStart = s.shiftStart;
            r.shiftEnd = s.shiftEnd;
            break;
        case ProcessKind::Rotate:
            r.rotPartial = s.rotPartial;
            r.rotStart = s.rotStart;
            r.rotAngle = s.rotAngle;
            r.rotScale = s.rotScale;
            break;
        case ProcessKind::Amplify:
            r.ampLaw = s.ampLaw;
            r.ampFactor = s.ampFactor;
            r.ampStart = s.ampStart;
            break;
        case ProcessKind::LocalScale:
            r.scaleStart = s.scaleStart;
            r.scaleEnd = s.scaleEnd;
            r.scaleFactor = s.scaleFactor;
            break;
        default:
            break;  // Integrate, Differentiate, Reverse, SimpleIntegrate: the kind only
    }
}

void RememberParameters(CSondaraDoc& doc, int point, const ProcessStep& step) {
    if (doc.validPoint(point)) RememberParameters(doc.points[point], step);
}

void RefreshRememberedParameters(TestPoint& point, int kind) {
    if (point.steps.empty()) {
        point.lastParams.kind = 0;
        return;
    }
    for (auto it = point.steps.rbegin(); it != point.steps.rend(); ++it) {
        if (it->kind == kind) {
            const ProcessStep found = *it;
            RememberParameters(point, found);
            return;
        }
    }
}

void RefreshRememberedParameters(CSondaraDoc& doc, int point, int kind) {
    if (doc.validPoint(point)) RefreshRememberedParameters(doc.points[point], kind);
}

// ---- the commit sequence ----------------------------------------------------------------

namespace {

// A preview or a cancelled dialog changes what is shown but not the project; a
// committed edit changes the project.
void refresh(CSondaraDoc& doc, const PointList& targets) {
    doc.announce(DocChange::Processing, targets);
}
// The history's way back to a processed trace: the replay of the point's chain.
void replayTraces(const std::vector<TestPoint*>& points) {
    long long load = 0;
    for (const TestPoint* p : points)
        load += static_cast<long long>(p->rawCount()) * (p->stepCount() + 2);
    const bool parallel = points.size() >= kParallelMinPoints && load >= kParallelMinWork;
    parallelFor(static_cast<int>(points.size()), parallel, [&](int begin, int end) {
        for (int t = begin; t < end; ++t) ReplayChain(*points[t]);
    });
}

// `replayed`: the targets whose processed trace is now the replay of their chain, so
// that the history keeps the chain and not the trace.
void commit(CSondaraDoc& doc, const PointList& targets, const PointList& replayed) {
    doc.noteTracesReplayed(replayed, &replayTraces);
    doc.commitChange(DocChange::Processing, targets);
}

// The targets whose chain has a step `index` (those an edit of that step replays).
PointList withStep(const CSondaraDoc& doc, const PointList& targets, int index) {
    PointList out;
    for (int i : targets)
        if (doc.points[i].stepCount() > index) out.push_back(i);
    return out;
}

int lastHistoryIndex(const CSondaraDoc& doc, const PointList& targets) {
    int longest = 0;
    for (int i : targets) longest = std::max(longest, doc.points[i].stepCount());
    return longest - 1;
}

}  // namespace

CommitResult CommitProcessing(CSondaraDoc& doc, const CommitRequest& request,
                              const StepDialog& dialog) {
    PointList targets = validTargets(doc, request.targets);
    if (targets.empty()) return CommitResult::Ignored;
    // The wavelet analysis shows one point: only the first target is processed.
    if (request.domain == AnalysisDomain::Wavelet) targets.resize(1);

    switch (request.edit) {
        case ChainEdit::Delete:
        case ChainEdit::Undo:
        case ChainEdit::Clear: {
            PointList replayed = targets;
            if (request.edit == ChainEdit::Clear) {
                ClearSteps(doc, targets);
            } else {
                const int index = request.edit == ChainEdit::Undo ? lastHistoryIndex(doc, targets)
                                                                  : request.index;
                if (index < 0) return CommitResult::Ignored;
                replayed = withStep(doc, targets, index);
                DeleteStep(doc, targets, index);
            }
            UpdateDisplayRange(doc, targets);
            commit(doc, targets, replayed);
            return CommitResult::Committed;
        }
        default:
            break;
    }

    ProcessStep step;
    switch (request.edit) {
        case ChainEdit::NewOperation:
            step = doc.points[targets.front()].lastParams;
            step.kind = static_cast<std::int32_t>(request.kind);
            if (request.prefill) request.prefill(step);
            doc.editMode = 0;
            break;
        case ChainEdit::Edit:
            step = request.step;
            if (request.index < 0) return CommitResult::Ignored;
            doc.editMode = 1;
            doc.editIndex = request.index;
            break;
        default:  // Insert
            step = makeStep(request.kind);
            if (request.index < 0) return CommitResult::Ignored;
            doc.editMode = 2;
            doc.editIndex = request.index;
            break;
    }
    if (!KindAvailable(step.processKind(), request.domain, request.showsAverage))
        return CommitResult::Ignored;

    // A cancelled window leaves each target's processed trace and display range exactly
    // as they were: replaying the chain again would not always give them back (a chain
    // that depends on the head or toe, moved since it was last replayed), and a cancel
    // is no change of the project.
    struct Kept {
        std::vector<float> samples;
        float rangeMax, rangeMin;
    };
    // Only a window can be cancelled: a batch keeps nothing.
    const bool withDialog = KindHasParameters(step.processKind()) && dialog;
    std::vector<Kept> kept;
    if (withDialog) {
        kept.reserve(targets.size());
        for (int i : targets) {
            const TestPoint& p = doc.points[i];
            kept.push_back({p.samples, p.lastParams.rangeMax, p.lastParams.rangeMin});
        }
    }

    bool accepted = true;
    if (withDialog) {
        ProcessStep edited = step;  // the dialog's copy: a cancel leaves `step` as built
        const PreviewFn preview = [&doc, &targets](const ProcessStep& candidate) {
            PreviewStep(doc, targets, candidate);
            UpdateDisplayRange(doc, targets);
            refresh(doc, targets);
        };
        accepted = dialog(edited, preview) == DialogResult::Accepted;
        if (accepted) step = edited;
    }

    if (accepted) {
        // Every target ends as the replay of its chain: the ones the edit replays anyway
        // need no replay before it.
        if (request.edit != ChainEdit::NewOperation) {
            PointList untouched;
            for (int i : targets)
                if (doc.points[i].stepCount() <= request.index) untouched.push_back(i);
            RestoreChains(doc, untouched);
        }
        switch (request.edit) {
            case ChainEdit::NewOperation:
                AppendStep(doc, targets, step);
                break;
            case ChainEdit::Edit:
                ReplaceStep(doc, targets, step, request.index);
                break;
            default:
                InsertStep(doc, targets, step, request.index);
                break;
        }
    }
    if (accepted) {
        UpdateDisplayRange(doc, targets);
    } else {
        for (std::size_t k = 0; k < kept.size(); ++k) {
            if (!doc.validPoint(targets[k])) continue;
            TestPoint& p = doc.points[targets[k]];
            p.samples = std::move(kept[k].samples);
            p.lastParams.rangeMax = kept[k].rangeMax;
            p.lastParams.rangeMin = kept[k].rangeMin;
        }
    }
    if (request.edit == ChainEdit::NewOperation)
        for (int i : targets) RememberParameters(doc.points[i], step);
    if (accepted)
        commit(doc, targets, targets);
    else
        refresh(doc, targets);
    return accepted ? CommitResult::Committed : CommitResult::Cancelled;
}

}  // namespace sondara
