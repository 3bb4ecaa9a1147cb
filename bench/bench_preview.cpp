// The latency of one preview while typing or dragging in a processing window: 50 target
// points of 1,024 samples, each replaying its 4-step chain with the candidate step, the
// display range, and the rebuild of the display's panes (all 50 points shown, panes
// materialised where visible). On one thread; the target is 16 ms.
#include <benchmark/benchmark.h>

#include <vector>

#include "BenchPoint.h"
#include "core/display/WaveDisplayModel.h"
#include "core/processing/Filter.h"
#include "core/processing/ParallelFor.h"
#include "core/processing/ProcessingChain.h"

namespace {

using namespace sondara;

constexpr int kTargets = 50;

// A 4-step chain replayed over the samples, the display range taken from the result.
TestPoint benchPoint(int index) {
    TestPoint p = bench::decayingSinePoint(index, std::to_string(index));
    ProcessStep filter = makeStep(ProcessKind::Filter);
    filter.filterType = kLowPass;
    filter.upperFreqHz = 1000.0f;
    ProcessStep amp = makeStep(ProcessKind::Amplify);
    amp.ampFactor = 10.0f;
    ProcessStep smooth = makeStep(ProcessKind::Smooth);
    smooth.smoothPoints = 5;
    p.steps = {filter, amp, smooth, makeStep(ProcessKind::RemoveDc)};
    ReplayChain(p);
    UpdateDisplayRange(p);
    return p;
}

struct Setup {
    CSondaraDoc doc;
    WaveDisplayModel model;
    PointList targets;
    Setup() {
        for (int i = 0; i < kTargets; ++i) doc.points.push_back(benchPoint(i));
        doc.selectPoint(0);
        model.setSelection({AnalysisDomain::Integrity, DisplaySet::AllPoints, 0, 0, 0});
        model.options().editScope = 1;
        model.setClientSize(1200, 700);
        model.rebuild(doc);
        targets = model.processingTargets();
    }
};

// 预览 with a candidate low-pass filter of 300 Hz (167 taps): replay, range, panes.
void BM_PreviewFilter50(benchmark::State& state) {
    Setup s;
    setProcessingThreads(1);
    ProcessStep candidate = makeStep(ProcessKind::Filter);
    candidate.upperFreqHz = 300.0f;
    s.doc.editMode = 0;
    for (auto _ : state) {
        PreviewStep(s.doc, s.targets, candidate);
        UpdateDisplayRange(s.doc, s.targets);
        s.model.rebuild(s.doc);
        benchmark::DoNotOptimize(s.model.pane(0).polyline.data());
    }
    setProcessingThreads(0);
    state.counters["targets"] = static_cast<double>(s.targets.size());
}
BENCHMARK(BM_PreviewFilter50)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// One step of a rotation drag: replay with the candidate rotation and rebuild (the
// range stays while dragging).
void BM_DragRotation50(benchmark::State& state) {
    Setup s;
    setProcessingThreads(1);
    ProcessStep candidate = makeStep(ProcessKind::Rotate);
    candidate.rotScale = 0.5f;
    s.doc.editMode = 0;
    float angle = 0.0f;
    for (auto _ : state) {
        angle = angle > 0.5f ? 0.0f : angle + 0.01f;
        candidate.rotAngle = angle;
        PreviewStep(s.doc, s.targets, candidate);
        s.model.rebuild(s.doc);
        benchmark::DoNotOptimize(s.model.pane(0).polyline.data());
    }
    setProcessingThreads(0);
}
BENCHMARK(BM_DragRotation50)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
