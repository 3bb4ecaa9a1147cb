// The chain: replay, document operations across points with different chains, the
// remembered parameters, the commit sequence with previews and cancel, parallel
// replay, descriptions and names.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/processing/Filter.h"
#include "core/processing/ParallelFor.h"
#include "core/processing/Positions.h"
#include "core/processing/ProcessingChain.h"
#include "core/processing/TraceOps.h"

namespace sondara {
namespace {

std::vector<float> wave(int n, double phase) {
    std::vector<float> x(n);
    for (int i = 0; i < n; ++i)
        x[i] =
            static_cast<float>(std::sin(i * 0.05 + phase) * std::exp(-i * 0.004) + 0.3 + 0.001 * i);
    return x;
}

TestPoint makePoint(int n, double phase) {
    TestPoint p;
    p.sampleInterval = 20.0f;
    p.waveSpeed = 4000;
    p.pileLength = 10.0f;
    p.headIndex = 10;
    p.toeIndex = 260;
    p.rawSamples = wave(n, phase);
    p.samples = p.rawSamples;
    return p;
}

ProcessStep filterStep(float upper) {
    ProcessStep s = makeStep(ProcessKind::Filter);
    s.upperFreqHz = upper;
    return s;
}
ProcessStep smoothStep(int m) {
    ProcessStep s = makeStep(ProcessKind::Smooth);
    s.smoothPoints = m;
    return s;
}
ProcessStep amplifyStep(float f) {
    ProcessStep s = makeStep(ProcessKind::Amplify);
    s.ampFactor = f;
    return s;
}

// What the processed trace of `p` must be after replaying `chain`.
std::vector<float> replayed(const TestPoint& p, const std::vector<ProcessStep>& chain) {
    TestPoint q = p;
    ReplayChain(q, static_cast<int>(chain.size()), chain.data());
    return q.samples;
}

// ---- replay ---------------------------------------------------------------------------

TEST(Replay, RunsEachStepWithThePointParameters) {
    TestPoint p = makePoint(300, 0.2);
    const std::vector<float> raw = p.rawSamples;

    std::vector<float> x = raw;
    FilterTrace(x.data(), 300, x.data(), 20.0f, 0.0f, 500.0f, kLowPass, kHannWindow);
    SmoothTrace(x.data(), 300, x.data(), 4);
    ReverseTrace(x.data(), 300, x.data());
    EXPECT_EQ(replayed(p, {filterStep(500), smoothStep(4), makeStep(ProcessKind::Reverse)}), x);

    EXPECT_EQ(replayed(p, {makeStep(ProcessKind::Reverse), makeStep(ProcessKind::Reverse)}), raw);
    // Codes without an operation change nothing.
    ProcessStep odd = makeStep(ProcessKind::None);
    ProcessStep dyn = makeStep(ProcessKind::DynamicScale);
    ProcessStep unknown;
    unknown.kind = 99;
    EXPECT_EQ(replayed(p, {odd, dyn, unknown}), raw);
    EXPECT_EQ(p.rawSamples, raw);  // the raw trace is never touched
}

TEST(Replay, IntegrateToeRules) {
    TestPoint p = makePoint(600, 0.0);
    const ProcessStep integ = makeStep(ProcessKind::Integrate);
    auto direct = [&](int toe) {
        std::vector<float> x = p.rawSamples;
        IntegrateTrace(x.data(), 600, x.data(), p.headIndex, toe);
        return x;
    };
    EXPECT_EQ(replayed(p, {integ}), direct(260));
    // Toe 0: from the pile length, 10 m * 2 / (4000 m/s * 20 us) = 250 samples below the head.
    p.toeIndex = 0;
    EXPECT_EQ(replayed(p, {integ}), direct(260));
    // A toe beyond the trace is lowered to the last sample.
    p.toeIndex = 5000;
    EXPECT_EQ(replayed(p, {integ}), direct(599));
    // Zeroing uses the toe as stored: beyond the trace, the mode "after the toe" does nothing.
    ProcessStep zero = makeStep(ProcessKind::LinearZero);
    zero.linZeroMode = 2;
    EXPECT_EQ(replayed(p, {zero}), p.rawSamples);
}

TEST(Replay, EmptyRawTraceGivesEmptyTrace) {
    TestPoint p = makePoint(0, 0.0);
    p.samples = {1, 2, 3};
    ReplayChain(p, 1, std::vector<ProcessStep>{filterStep(300)}.data());
    EXPECT_TRUE(p.samples.empty());
    UpdateDisplayRange(p);
    EXPECT_EQ(p.lastParams.rangeMax, 0.0f);
    EXPECT_EQ(p.lastParams.rangeMin, 0.0f);
}

TEST(Replay, FailedShiftLeavesSamplesAndTheReplayGoesOn) {
    TestPoint p = makePoint(100, 0.0);
    ProcessStep bad = makeStep(ProcessKind::Shift);
    bad.shiftPartial = 1;
    bad.shiftStart = 50;
    bad.shiftEnd = 150;
    std::vector<float> expected = p.rawSamples;
    ReverseTrace(expected.data(), 100, expected.data());
    EXPECT_EQ(replayed(p, {bad, makeStep(ProcessKind::Reverse)}), expected);
}

// ---- document operations across points ---------------------------------------------------

// Three points whose chains hold 0, 1 and 3 steps.
struct ThreePoints : ::testing::Test {
    CSondaraDoc doc;
    void SetUp() override {
        for (int i = 0; i < 3; ++i) doc.points.push_back(makePoint(200, i));
        doc.points[1].steps = {filterStep(800)};
        doc.points[2].steps = {smoothStep(3), filterStep(600), amplifyStep(4)};
        RestoreChains(doc, {0, 1, 2});
    }
    void expectReplayed(int i) {
        EXPECT_EQ(doc.points[i].samples, replayed(doc.points[i], doc.points[i].steps))
            << "point " << i;
    }
};

TEST_F(ThreePoints, ReplaceOnlyWhereTheChainIsLongEnough) {
    const std::vector<float> before0 = doc.points[0].samples, before1 = doc.points[1].samples;
    ReplaceStep(doc, {0, 1, 2}, smoothStep(9), 1);
    EXPECT_EQ(doc.points[0].samples, before0);
    EXPECT_EQ(doc.points[1].steps.size(), 1u);
    EXPECT_EQ(doc.points[1].samples, before1);
    ASSERT_EQ(doc.points[2].stepCount(), 3);
    EXPECT_EQ(doc.points[2].steps[1].smoothPoints, 9);
    EXPECT_EQ(doc.points[2].lastParams.smoothPoints, 9);  // refreshed for the kind
    EXPECT_EQ(doc.points[2].lastParams.kind, static_cast<int>(ProcessKind::Smooth));
    expectReplayed(2);
}

TEST_F(ThreePoints, InsertBeforeAnExistingStep) {
    InsertStep(doc, {0, 1, 2}, makeStep(ProcessKind::Reverse), 0);
    EXPECT_TRUE(doc.points[0].steps.empty());
    ASSERT_EQ(doc.points[1].stepCount(), 2);
    EXPECT_EQ(doc.points[1].steps[0].kind, static_cast<int>(ProcessKind::Reverse));
    ASSERT_EQ(doc.points[2].stepCount(), 4);
    EXPECT_EQ(doc.points[2].steps[0].kind, static_cast<int>(ProcessKind::Reverse));
    for (int i = 0; i < 3; ++i) expectReplayed(i);
    InsertStep(doc, {1}, smoothStep(2), -1);  // negative index: nothing
    EXPECT_EQ(doc.points[1].stepCount(), 2);
}

TEST_F(ThreePoints, DeleteAndTheRememberedParameters) {
    doc.points[1].lastParams.kind = static_cast<int>(ProcessKind::Filter);
    doc.points[1].lastParams.upperFreqHz = 800;
    doc.points[2].lastParams = doc.points[2].steps[2];  // remembered Amplify x4
    doc.points[2].lastParams.kind = static_cast<int>(ProcessKind::Amplify);
    DeleteStep(doc, {0, 1, 2}, 0);
    // Only step of point 1: the processed trace is the raw one, the kind stays.
    EXPECT_TRUE(doc.points[1].steps.empty());
    EXPECT_EQ(doc.points[1].samples, doc.points[1].rawSamples);
    EXPECT_EQ(doc.points[1].lastParams.kind, static_cast<int>(ProcessKind::Filter));
    // Point 2 lost its smoothing; no Smooth remains, so nothing is remembered anew.
    EXPECT_EQ(doc.points[2].stepCount(), 2);
    EXPECT_EQ(doc.points[2].lastParams.kind, static_cast<int>(ProcessKind::Amplify));
    EXPECT_EQ(doc.points[2].lastParams.ampFactor, 4.0f);
    expectReplayed(2);
}

TEST_F(ThreePoints, ClearKeepsTheRememberedParameters) {
    doc.points[2].lastParams.kind = 13;
    ClearSteps(doc, {1, 2});
    for (int i : {1, 2}) {
        EXPECT_TRUE(doc.points[i].steps.empty());
        EXPECT_EQ(doc.points[i].samples, doc.points[i].rawSamples);
    }
    EXPECT_EQ(doc.points[2].lastParams.kind, 13);
}

TEST_F(ThreePoints, OutOfRangeAndRepeatedTargetsAreSkipped) {
    AppendStep(doc, {-1, 2, 7, 2, 3}, smoothStep(5));
    EXPECT_EQ(doc.points[2].stepCount(), 4);  // once, although listed twice
    EXPECT_EQ(doc.points[0].stepCount(), 0);
    expectReplayed(2);
}

TEST_F(ThreePoints, PreviewModesLeaveTheStoredChains) {
    const auto chains = [&] {
        std::vector<std::vector<ProcessStep>> c;
        for (const TestPoint& p : doc.points) c.push_back(p.steps);
        return c;
    };
    const auto stored = chains();
    const std::vector<float> p0 = doc.points[0].samples;

    doc.editMode = 0;
    PreviewStep(doc, {0, 1, 2}, makeStep(ProcessKind::Reverse));
    EXPECT_EQ(doc.points[1].samples,
              replayed(doc.points[1], {filterStep(800), makeStep(ProcessKind::Reverse)}));

    doc.editMode = 1;
    doc.editIndex = 2;
    RestoreChains(doc, {0, 1, 2});
    PreviewStep(doc, {0, 1, 2}, smoothStep(7));
    EXPECT_EQ(doc.points[0].samples, p0);
    EXPECT_EQ(doc.points[1].samples, replayed(doc.points[1], doc.points[1].steps));  // too short
    EXPECT_EQ(doc.points[2].samples,
              replayed(doc.points[2], {smoothStep(3), filterStep(600), smoothStep(7)}));

    doc.editMode = 2;
    doc.editIndex = 0;
    PreviewStep(doc, {1}, smoothStep(7));
    EXPECT_EQ(doc.points[1].samples, replayed(doc.points[1], {smoothStep(7), filterStep(800)}));
    EXPECT_EQ(chains(), stored);
}

TEST(DisplayRange, TenPercentAboveTheLargestMagnitude) {
    CSondaraDoc doc;
    doc.points.push_back(makePoint(4, 0));
    doc.points[0].samples = {1, -3, 2, 0};
    UpdateDisplayRange(doc, {0, 5});
    EXPECT_FLOAT_EQ(doc.points[0].lastParams.rangeMax, 3.3f);
    EXPECT_FLOAT_EQ(doc.points[0].lastParams.rangeMin, -3.3f);
}

// ---- remembered parameters ---------------------------------------------------------------

TEST(RememberedParameters, CopyOnlyTheFieldsOfTheKind) {
    ProcessStep all = makeStep(ProcessKind::Filter);
    for (std::string_view f : AllStepFields()) ASSERT_TRUE(SetStepField(all, f, "7"));
    const ProcessKind kinds[] = {
        ProcessKind::Filter,   ProcessKind::LinearZero,     ProcessKind::NonlinearZero,
        ProcessKind::Smooth,   ProcessKind::RemoveDc,       ProcessKind::FrontZero,
        ProcessKind::BackZero, ProcessKind::Shift,          ProcessKind::Rotate,
        ProcessKind::Amplify,  ProcessKind::LocalScale,     ProcessKind::Integrate,
        ProcessKind::Reverse,  ProcessKind::SimpleIntegrate};
    for (ProcessKind k : kinds) {
        TestPoint p;
        const ProcessStep before = p.lastParams;
        all.kind = static_cast<int>(k);
        RememberParameters(p, all);
        EXPECT_EQ(p.lastParams.kind, static_cast<int>(k));
        const auto& mine = KindFields(k);
        for (std::string_view f : AllStepFields()) {
            const bool copied = std::find(mine.begin(), mine.end(), f) != mine.end();
            EXPECT_EQ(StepFieldText(p.lastParams, f), StepFieldText(copied ? all : before, f))
                << KindEnumeratorName(static_cast<int>(k)) << " " << f;
        }
        EXPECT_EQ(p.lastParams.viewStates, before.viewStates);
        EXPECT_EQ(p.lastParams.rangeMax, before.rangeMax);
    }
}

TEST(RememberedParameters, RefreshTakesTheLastStepOfTheKind) {
    TestPoint p;
    RefreshRememberedParameters(p, 3);
    EXPECT_EQ(p.lastParams.kind, 0);
    p.steps = {filterStep(300), smoothStep(4), filterStep(500)};
    p.lastParams.kind = 7;
    RefreshRememberedParameters(p, static_cast<int>(ProcessKind::Filter));
    EXPECT_EQ(p.lastParams.kind, static_cast<int>(ProcessKind::Filter));
    EXPECT_EQ(p.lastParams.upperFreqHz, 500.0f);
    RefreshRememberedParameters(p, static_cast<int>(ProcessKind::Rotate));  // none: unchanged
    EXPECT_EQ(p.lastParams.kind, static_cast<int>(ProcessKind::Filter));
}

// ---- the commit sequence -------------------------------------------------------------------

struct Commit : ::testing::Test {
    CSondaraDoc doc;
    std::vector<std::vector<int>> notified;
    void SetUp() override {
        for (int i = 0; i < 4; ++i) doc.points.push_back(makePoint(256, i * 0.7));
        doc.points[1].steps = {smoothStep(3)};
        doc.points[2].steps = {smoothStep(3), makeStep(ProcessKind::Reverse), filterStep(900)};
        RestoreChains(doc, {0, 1, 2, 3});
        UpdateDisplayRange(doc, {0, 1, 2, 3});
        doc.points[2].lastParams.upperFreqHz = 700.0f;
        doc.points[2].lastParams.viewStates[3].xOffset = 42;
        doc.addObserver(
            [this](DocChange, const std::vector<int>& pts) { notified.push_back(pts); });
    }
    CommitRequest request(ChainEdit e, PointList targets, ProcessKind k = ProcessKind::None,
                          int index = -1) {
        CommitRequest r;
        r.edit = e;
        r.targets = std::move(targets);
        r.kind = k;
        r.index = index;
        return r;
    }
};

TEST_F(Commit, NewOperationBuildsFromTheFirstTargetAndRemembers) {
    int dialogs = 0;
    const StepDialog dialog = [&](ProcessStep& s, const PreviewFn&) {
        ++dialogs;
        EXPECT_EQ(s.upperFreqHz, 700.0f);  // the first target's remembered parameters
        s.filterType = kLowPass;
        return DialogResult::Accepted;
    };
    EXPECT_EQ(CommitProcessing(doc, request(ChainEdit::NewOperation, {2, 0}, ProcessKind::Filter),
                               dialog),
              CommitResult::Committed);
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(doc.editMode, 0);
    // The same whole record, the first target's lastParams with the kind, on both.
    ProcessStep expected = doc.points[2].steps.back();
    EXPECT_EQ(expected.kind, static_cast<int>(ProcessKind::Filter));
    EXPECT_EQ(expected.viewStates[3].xOffset, 42);
    ASSERT_EQ(doc.points[0].stepCount(), 1);
    EXPECT_EQ(doc.points[0].steps[0], expected);
    for (int i : {0, 2}) {
        EXPECT_EQ(doc.points[i].samples, replayed(doc.points[i], doc.points[i].steps));
        EXPECT_EQ(doc.points[i].lastParams.kind, static_cast<int>(ProcessKind::Filter));
        EXPECT_EQ(doc.points[i].lastParams.upperFreqHz, 700.0f);
        float peak = 0;
        for (float v : doc.points[i].samples) peak = std::max(peak, std::fabs(v));
        EXPECT_FLOAT_EQ(doc.points[i].lastParams.rangeMax, peak * 1.1f);
    }
    ASSERT_FALSE(notified.empty());
    EXPECT_EQ(notified.back(), (std::vector<int>{2, 0}));
}

TEST_F(Commit, CancelledPreviewRestoresEveryTraceExactly) {
    std::vector<std::vector<float>> before;
    for (const TestPoint& p : doc.points) before.push_back(p.samples);
    const std::vector<ProcessStep> chain2 = doc.points[2].steps;
    const StepDialog dialog = [&](ProcessStep& s, const PreviewFn& preview) {
        s.ampFactor = 50.0f;
        preview(s);
        EXPECT_NE(doc.points[1].samples, before[1]);  // the preview shows on the traces
        EXPECT_EQ(doc.points[3].samples, before[3]);  // not a target
        s.ampLaw = 1;
        preview(s);
        return DialogResult::Cancelled;
    };
    EXPECT_EQ(CommitProcessing(doc, request(ChainEdit::NewOperation, {1, 2}, ProcessKind::Amplify),
                               dialog),
              CommitResult::Cancelled);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(doc.points[i].samples, before[i]) << i;
    EXPECT_EQ(doc.points[2].steps, chain2);
    EXPECT_EQ(doc.points[1].stepCount(), 1);
    EXPECT_FALSE(doc.modified);
    // The initial parameters are remembered even so, not the ones typed in the dialog.
    EXPECT_EQ(doc.points[2].lastParams.kind, static_cast<int>(ProcessKind::Amplify));
    EXPECT_EQ(doc.points[2].lastParams.ampFactor, 1.0f);
    EXPECT_GE(notified.size(), 3u);
}

// Found by the random walk: a chain that depends on the toe (zeroing after it), the
// toe moved since the chain was last replayed (a mark moved), then a processing window
// cancelled. Replaying the chain on cancel changed the processed trace and its display
// range without a change being recorded, so undo and redo no longer gave back the
// saved bytes. A cancel now leaves both exactly as they were.
TEST_F(Commit, ACancelLeavesTheTraceAsItWasWhenTheToeMovedSinceTheLastReplay) {
    ProcessStep zero = makeStep(ProcessKind::LinearZero);
    zero.linZeroMode = 2;  // after the toe
    TestPoint& p = doc.points[1];
    p.headIndex = 10;
    p.toeIndex = 200;
    p.steps = {zero};
    RestoreChains(doc, {1});
    UpdateDisplayRange(doc, {1});
    p.toeIndex = 60;  // moved by hand: the chain is not replayed
    const std::vector<float> before = p.samples;
    const float rangeMax = p.lastParams.rangeMax, rangeMin = p.lastParams.rangeMin;
    ASSERT_NE(replayed(p, p.steps), before) << "the case needs a chain that follows the toe";
    const StepDialog cancel = [&](ProcessStep& s, const PreviewFn& preview) {
        preview(s);
        return DialogResult::Cancelled;
    };
    for (ProcessKind k : {ProcessKind::Amplify, ProcessKind::Smooth}) {
        EXPECT_EQ(CommitProcessing(doc, request(ChainEdit::NewOperation, {1}, k), cancel),
                  CommitResult::Cancelled);
        EXPECT_EQ(doc.points[1].samples, before);
        EXPECT_EQ(doc.points[1].lastParams.rangeMax, rangeMax);
        EXPECT_EQ(doc.points[1].lastParams.rangeMin, rangeMin);
        EXPECT_FALSE(doc.modified);
    }
}

TEST_F(Commit, KindsWithoutParametersOpenNoDialog) {
    const StepDialog dialog = [&](ProcessStep&, const PreviewFn&) {
        ADD_FAILURE() << "no dialog for Reverse";
        return DialogResult::Cancelled;
    };
    EXPECT_EQ(
        CommitProcessing(doc, request(ChainEdit::NewOperation, {0}, ProcessKind::Reverse), dialog),
        CommitResult::Committed);
    EXPECT_EQ(doc.points[0].stepCount(), 1);
}

TEST_F(Commit, AvailabilityDependsOnTheDomain) {
    CommitRequest r = request(ChainEdit::NewOperation, {0}, ProcessKind::Rotate);
    r.domain = AnalysisDomain::Frequency;
    EXPECT_EQ(CommitProcessing(doc, r), CommitResult::Ignored);
    r.domain = AnalysisDomain::TimeAnalysis;
    EXPECT_EQ(CommitProcessing(doc, r), CommitResult::Ignored);
    EXPECT_EQ(doc.points[0].stepCount(), 0);
    r.showsAverage = true;
    EXPECT_EQ(CommitProcessing(doc, r), CommitResult::Committed);
    r.kind = ProcessKind::Filter;
    r.domain = AnalysisDomain::Frequency;
    EXPECT_EQ(CommitProcessing(doc, r), CommitResult::Committed);
    EXPECT_EQ(doc.points[0].stepCount(), 2);
    EXPECT_EQ(CommitProcessing(doc, request(ChainEdit::NewOperation, {9}, ProcessKind::Filter)),
              CommitResult::Ignored);
}

TEST_F(Commit, WaveletProcessesOnlyTheFirstTarget) {
    CommitRequest r = request(ChainEdit::NewOperation, {3, 0}, ProcessKind::Smooth);
    r.domain = AnalysisDomain::Wavelet;
    EXPECT_EQ(CommitProcessing(doc, r), CommitResult::Committed);
    EXPECT_EQ(doc.points[3].stepCount(), 1);
    EXPECT_EQ(doc.points[0].stepCount(), 0);
}

TEST_F(Commit, EditPreviewsInPlaceAndSkipsShortChains) {
    CommitRequest r = request(ChainEdit::Edit, {1, 2}, ProcessKind::None, 2);
    r.step = filterStep(400);
    const StepDialog dialog = [&](ProcessStep& s, const PreviewFn& preview) {
        EXPECT_EQ(doc.editMode, 1);
        EXPECT_EQ(doc.editIndex, 2);
        s.upperFreqHz = 450.0f;
        preview(s);
        EXPECT_EQ(doc.points[2].samples,
                  replayed(doc.points[2], {smoothStep(3), makeStep(ProcessKind::Reverse), s}));
        return DialogResult::Accepted;
    };
    const std::vector<float> p1 = doc.points[1].samples;
    EXPECT_EQ(CommitProcessing(doc, r, dialog), CommitResult::Committed);
    EXPECT_EQ(doc.points[1].samples, p1);
    EXPECT_EQ(doc.points[1].stepCount(), 1);
    EXPECT_EQ(doc.points[2].steps[2].upperFreqHz, 450.0f);
    EXPECT_EQ(doc.points[2].lastParams.upperFreqHz, 450.0f);

    r.step.kind = 0;  // an entry that differs between points cannot be edited
    EXPECT_EQ(CommitProcessing(doc, r, dialog), CommitResult::Ignored);
}

TEST_F(Commit, InsertUsesAFreshStep) {
    doc.points[1].lastParams.smoothPoints = 17;
    const StepDialog dialog = [&](ProcessStep& s, const PreviewFn&) {
        EXPECT_EQ(s.smoothPoints, 1);  // not the remembered 17
        EXPECT_EQ(doc.editMode, 2);
        s.smoothPoints = 6;
        return DialogResult::Accepted;
    };
    EXPECT_EQ(
        CommitProcessing(doc, request(ChainEdit::Insert, {1, 2}, ProcessKind::Smooth, 0), dialog),
        CommitResult::Committed);
    EXPECT_EQ(doc.points[1].steps[0].smoothPoints, 6);
    EXPECT_EQ(doc.points[2].stepCount(), 4);
    EXPECT_EQ(doc.points[1].lastParams.smoothPoints, 3);  // refreshed from the chain's last Smooth
}

TEST_F(Commit, DeleteClearAndUndo) {
    EXPECT_EQ(CommitProcessing(doc, request(ChainEdit::Undo, {1, 2})), CommitResult::Committed);
    EXPECT_EQ(doc.points[1].stepCount(), 1);  // the history list's last entry is step 2
    EXPECT_EQ(doc.points[2].stepCount(), 2);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(CommitProcessing(doc, request(ChainEdit::Delete, {1, 2}, ProcessKind::None, 0)),
              CommitResult::Committed);
    EXPECT_EQ(doc.points[1].stepCount(), 0);
    EXPECT_EQ(doc.points[2].steps[0].kind, static_cast<int>(ProcessKind::Reverse));
    EXPECT_EQ(CommitProcessing(doc, request(ChainEdit::Clear, {2})), CommitResult::Committed);
    EXPECT_EQ(doc.points[2].samples, doc.points[2].rawSamples);
    EXPECT_EQ(CommitProcessing(doc, request(ChainEdit::Undo, {0, 1, 2})), CommitResult::Ignored);
}

// ---- parallel replay ------------------------------------------------------------------------

TEST(ParallelReplay, SameResultAsSerial) {
    CSondaraDoc a;
    for (int i = 0; i < 64; ++i) {
        TestPoint p = makePoint(1024, i * 0.1);
        p.headIndex = static_cast<std::int16_t>(i % 30);
        p.steps = {filterStep(300.0f + 10 * i), amplifyStep(10), smoothStep(1 + i % 6)};
        if (i % 3 == 0) p.steps.push_back(makeStep(ProcessKind::Integrate));
        if (i % 4 == 1) p.steps.insert(p.steps.begin(), makeStep(ProcessKind::RemoveDc));
        a.points.push_back(p);
    }
    CSondaraDoc b = a;
    PointList all;
    for (int i = 63; i >= 0; --i) all.push_back(i);
    setProcessingThreads(1);
    RestoreChains(a, all);
    AppendStep(a, all, smoothStep(3));
    setProcessingThreads(2);
    RestoreChains(b, all);
    AppendStep(b, all, smoothStep(3));
    setProcessingThreads(0);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(a.points[i].samples, b.points[i].samples) << i;
        EXPECT_EQ(a.points[i].samples, replayed(a.points[i], a.points[i].steps)) << i;
    }
}

TEST(ParallelReplay, SlicesCoverTheRangeOnceAndErrorsComeBack) {
    setProcessingThreads(2);
    std::vector<int> hits(1001, 0);
    parallelFor(1001, true, [&](int b, int e) {
        for (int i = b; i < e; ++i) ++hits[i];
    });
    EXPECT_EQ(std::count(hits.begin(), hits.end(), 1), 1001);
    EXPECT_THROW(parallelFor(10, true,
                             [](int b, int) {
                                 if (b > 0) throw std::runtime_error("slice failed");
                             }),
                 std::runtime_error);
    setProcessingThreads(0);
}

// ---- descriptions -----------------------------------------------------------------------------

struct Describe : ::testing::Test {
    CSondaraDoc doc;
    void SetUp() override {
        // dt 20 us, 4000 m/s, head 10: a sample is 0.04 m, sample 60 lies 2 m below the head.
        doc.points.push_back(makePoint(100, 0));
    }
    std::vector<std::string> lines(ProcessKind k, const ProcessStep& r, int count) {
        doc.points[0].steps.assign(count, makeStep(k));
        return DescribeKind(doc, 0, r, k);
    }
    using Lines = std::vector<std::string>;
};

TEST_F(Describe, Texts) {
    ProcessStep r = makeStep(ProcessKind::None);
    EXPECT_EQ(lines(ProcessKind::Reverse, r, 0), Lines{"反向:否"});
    EXPECT_EQ(lines(ProcessKind::Reverse, r, 1), Lines{"反向:是"});
    EXPECT_EQ(lines(ProcessKind::Reverse, r, 2), Lines{"反向:否"});
    EXPECT_EQ(lines(ProcessKind::Integrate, r, 2), Lines{"积分次数:2"});
    EXPECT_EQ(lines(ProcessKind::SimpleIntegrate, r, 1), Lines{"积分次数:1"});
    EXPECT_EQ(lines(ProcessKind::Differentiate, r, 3), Lines{"微分次数:3"});
    EXPECT_EQ(lines(ProcessKind::Integrate, r, 0), Lines{});
    EXPECT_EQ(lines(ProcessKind::RemoveDc, r, 0), Lines{"去直流:否"});
    r.dcPartial = 1;
    r.dcStart = 60;
    EXPECT_EQ(lines(ProcessKind::RemoveDc, r, 1), (Lines{"去直流:是", "  起始点:2.00m"}));
    EXPECT_EQ(lines(ProcessKind::RemoveDc, r, 0), Lines{"去直流:否"});

    r.upperFreqHz = 300;
    r.lowerFreqHz = 12.5f;
    r.filterType = 1;
    EXPECT_EQ(lines(ProcessKind::Filter, r, 1), Lines{"低通:300.00Hz"});
    r.filterType = 2;
    EXPECT_EQ(lines(ProcessKind::Filter, r, 1), Lines{"高通:12.50Hz"});
    r.filterType = 3;
    EXPECT_EQ(lines(ProcessKind::Filter, r, 1), (Lines{"带通:", "  (12.50,300.00)Hz"}));
    r.filterType = 4;
    EXPECT_EQ(lines(ProcessKind::Filter, r, 1), (Lines{"带阻:", "  (12.50,300.00)Hz"}));
    r.filterType = 5;
    EXPECT_EQ(lines(ProcessKind::Filter, r, 1), Lines{});
    EXPECT_EQ(lines(ProcessKind::Filter, r, 0), Lines{});

    r.linZeroMode = 0;
    r.linZeroStart = 60;
    EXPECT_EQ(lines(ProcessKind::LinearZero, r, 1), Lines{"线性归零:是"});
    r.linZeroMode = 1;
    EXPECT_EQ(lines(ProcessKind::LinearZero, r, 1), (Lines{"线性归零:是", "  起始点:2.00m"}));
    r.nonlinZeroMode = 2;
    r.nonlinZeroStart = 35;
    EXPECT_EQ(lines(ProcessKind::NonlinearZero, r, 1), (Lines{"非线性归零:是", "  起始点:1.00m"}));

    r.smoothPoints = 5;
    EXPECT_EQ(lines(ProcessKind::Smooth, r, 1), Lines{"平滑点数:5"});
    r.frontZeroEnd = 5;  // above the head: negative metres
    EXPECT_EQ(lines(ProcessKind::FrontZero, r, 1), Lines{"前清零:-0.20m"});
    r.backZeroStart = 260;
    EXPECT_EQ(lines(ProcessKind::BackZero, r, 1), Lines{"后清零:10.00m"});

    r.shiftSamples = 10;
    r.shiftMv = 1.5f;
    r.shiftPartial = 0;
    EXPECT_EQ(lines(ProcessKind::Shift, r, 1),
              (Lines{"数据平移:", "  横向:0.40m", "  纵向:1.50mV"}));
    r.shiftPartial = 1;
    r.shiftStart = 10;
    r.shiftEnd = 60;
    EXPECT_EQ(lines(ProcessKind::Shift, r, 1),
              (Lines{"数据平移:", "  横向:0.40m", "  纵向:1.50mV", "  范围(0.00,2.00)m"}));

    r.rotAngle = 0.5236f;
    r.rotPartial = 1;
    r.rotStart = 0;
    EXPECT_EQ(lines(ProcessKind::Rotate, r, 1), Lines{"波形旋转:0.52rad"});
    r.rotStart = 60;
    EXPECT_EQ(lines(ProcessKind::Rotate, r, 1), (Lines{"波形旋转:0.52rad", "  起始点:2.00m"}));

    r.ampLaw = 0;
    r.ampFactor = 10;
    r.ampStart = 0;
    EXPECT_EQ(lines(ProcessKind::Amplify, r, 1), Lines{"指数放大:10.00"});
    r.ampLaw = 1;
    r.ampStart = 35;
    EXPECT_EQ(lines(ProcessKind::Amplify, r, 1), (Lines{"线性放大:10.00", "  延迟:1.00m"}));
    r.ampLaw = 2;
    EXPECT_EQ(lines(ProcessKind::Amplify, r, 1), (Lines{"", "  延迟:1.00m"}));

    r.scaleFactor = 2;
    r.scaleStart = 10;
    r.scaleEnd = 35;
    EXPECT_EQ(lines(ProcessKind::LocalScale, r, 1), (Lines{"局部缩放:2.00", "  范围(0.00,1.00)m"}));
    EXPECT_EQ(lines(ProcessKind::DynamicScale, r, 1), Lines{});
    EXPECT_EQ(DescribeKind(doc, 3, r, ProcessKind::Reverse), Lines{});
}

TEST_F(Describe, SummaryTrimsAndJoinsWithTheRememberedParameters) {
    TestPoint& p = doc.points[0];
    p.steps = {makeStep(ProcessKind::Shift)};
    p.lastParams.shiftSamples = 10;
    p.lastParams.shiftMv = -2;
    p.lastParams.shiftPartial = 1;
    p.lastParams.shiftStart = 10;
    p.lastParams.shiftEnd = 60;
    EXPECT_EQ(KindSummary(doc, 0, ProcessKind::Shift),
              "数据平移:横向:0.40m纵向:-2.00mV范围(0.00,2.00)m");
    EXPECT_EQ(KindSummary(doc, 0, ProcessKind::Filter), "");
    EXPECT_EQ(KindSummary(doc, 0, ProcessKind::Reverse), "反向:否");
    EXPECT_EQ(KindSummary(doc, 5, ProcessKind::Reverse), "");
}

// ---- names, availability, fields, positions -----------------------------------------------

TEST(Kinds, NamesAndParsing) {
    EXPECT_EQ(HistoryName(3), "数字滤波");
    EXPECT_EQ(HistoryName(9), "前置零");
    EXPECT_EQ(HistoryName(10), "后置零");
    EXPECT_EQ(HistoryName(15), "动态缩放");
    EXPECT_EQ(HistoryName(26), "简单积分");
    EXPECT_EQ(HistoryName(0), "<不一致>");
    EXPECT_EQ(HistoryName(14), "");
    EXPECT_EQ(CommandName(9), "前清零");
    EXPECT_EQ(CommandName(15), "");
    ProcessKind k{};
    EXPECT_TRUE(ParseKind("filter", k));
    EXPECT_EQ(k, ProcessKind::Filter);
    EXPECT_TRUE(ParseKind("26", k));
    EXPECT_EQ(k, ProcessKind::SimpleIntegrate);
    EXPECT_FALSE(ParseKind("14", k));
    EXPECT_FALSE(ParseKind("0", k));
    EXPECT_FALSE(ParseKind("Filterx", k));
}

TEST(Kinds, Availability) {
    const ProcessKind everywhere[] = {ProcessKind::Filter,         ProcessKind::Amplify,
                                      ProcessKind::RemoveDc,       ProcessKind::Smooth,
                                      ProcessKind::Integrate,      ProcessKind::Differentiate,
                                      ProcessKind::SimpleIntegrate};
    const ProcessKind restricted[] = {ProcessKind::Rotate,        ProcessKind::LinearZero,
                                      ProcessKind::NonlinearZero, ProcessKind::FrontZero,
                                      ProcessKind::BackZero,      ProcessKind::LocalScale,
                                      ProcessKind::Shift,         ProcessKind::Reverse};
    const AnalysisDomain domains[] = {AnalysisDomain::Integrity, AnalysisDomain::TimeAnalysis,
                                      AnalysisDomain::Frequency, AnalysisDomain::Wavelet};
    for (AnalysisDomain d : domains) {
        for (bool avg : {false, true}) {
            for (ProcessKind k : everywhere) EXPECT_TRUE(KindAvailable(k, d, avg));
            const bool open =
                d == AnalysisDomain::Integrity || (d == AnalysisDomain::TimeAnalysis && avg);
            for (ProcessKind k : restricted) EXPECT_EQ(KindAvailable(k, d, avg), open);
            EXPECT_FALSE(KindAvailable(ProcessKind::DynamicScale, d, avg));
            EXPECT_FALSE(KindAvailable(ProcessKind::None, d, avg));
        }
    }
}

TEST(Kinds, StepFieldsFromText) {
    ProcessStep s = makeStep(ProcessKind::Filter);
    std::string error;
    EXPECT_TRUE(SetStepField(s, "upperFreqHz", "812.5", &error));
    EXPECT_EQ(s.upperFreqHz, 812.5f);
    EXPECT_TRUE(SetStepField(s, "shiftSamples", "-12", &error));
    EXPECT_EQ(s.shiftSamples, -12);
    EXPECT_FALSE(SetStepField(s, "smoothPoints", "2.5", &error));
    EXPECT_FALSE(SetStepField(s, "smoothPoints", "99999999999", &error));
    EXPECT_FALSE(SetStepField(s, "rotAngle", "nan", &error));
    EXPECT_FALSE(SetStepField(s, "bogus", "1", &error));
    EXPECT_NE(error.find("bogus"), std::string::npos);
}

TEST(Positions, ConversionsAroundTheHead) {
    CSondaraDoc doc;
    doc.points.push_back(makePoint(10, 0));  // 0.04 m per sample, head 10
    EXPECT_EQ(SampleOfDepth(doc, 0, 0.0, false), 10);
    EXPECT_DOUBLE_EQ(DepthOfSample(doc, 0, 10, false), 0.0);
    EXPECT_EQ(SampleOfDepth(doc, 0, -0.2, false), 5);
    EXPECT_NEAR(DepthOfSample(doc, 0, 60, false), 2.0, 1e-9);
    EXPECT_NEAR(DepthOfSample(doc, 0, 10, true), 0.4, 1e-9);
    EXPECT_EQ(SampleOfDepth(doc, 0, 0.4, true), 10);
    EXPECT_EQ(SampleOfDepth(doc, 0, 0.41, true), 10);  // truncated
    EXPECT_EQ(SampleOfDepth(doc, 1, 1.0, false), 0);
    EXPECT_EQ(DepthOfSample(doc, -1, 5, false), 0.0);
}

}  // namespace
}  // namespace sondara
