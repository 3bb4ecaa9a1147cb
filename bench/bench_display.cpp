// Rebuild of the waveform display model: a single trace of 1,024 samples on a
// 1,200-pixel plot, and every point of a 9,998-point project (panes materialised only
// where they are visible). The extra heap the model keeps after a rebuild is reported
// as the counter "extraMB".
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>

#include "BenchPoint.h"
#include "core/base/FixedText.h"
#include "core/display/WaveDisplayModel.h"

namespace {

using namespace sondara;

// Three points to a pile.
TestPoint benchPoint(int index) {
    return bench::decayingSinePoint(index, std::to_string(index / 3));
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

// The plot is 1,200 pixels wide inside a client of this width (margins of the model).
int clientWidthForPlot(int plot) {
    const FixedTextMetrics m;
    const PixelRect r = ComputePlotRect({0, 0, 10000, 600}, false, false, m);
    return plot + (10000 - r.width());
}

void BM_RebuildSingleTrace(benchmark::State& state) {
    CSondaraDoc doc;
    doc.points.push_back(benchPoint(0));
    doc.selectPoint(0);
    WaveDisplayModel model;
    model.setSelection({AnalysisDomain::Integrity, DisplaySet::SingleTrace, 0, 0, 0});
    model.setClientSize(clientWidthForPlot(1200), 600);
    for (auto _ : state) {
        model.rebuild(doc);
        benchmark::DoNotOptimize(model.pane(0).polyline.data());
    }
    state.counters["plotWidth"] = model.pane(0).plotRect.width();
    state.counters["polyline"] = static_cast<double>(model.pane(0).polyline.size());
}
BENCHMARK(BM_RebuildSingleTrace)->Unit(benchmark::kMicrosecond);

void BM_RebuildAllPoints9998(benchmark::State& state) {
    CSondaraDoc doc;
    doc.points.reserve(9998);
    for (int i = 0; i < 9998; ++i) doc.points.push_back(benchPoint(i));
    doc.selectPoint(5000);
    double extraMB = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<WaveDisplayModel>();
        model->setSelection({AnalysisDomain::Integrity, DisplaySet::AllPoints, 0, 0, 0});
        model->setClientSize(clientWidthForPlot(1200), 900);
        const std::size_t before = heapInUse();
        state.ResumeTiming();
        model->rebuild(doc);
        benchmark::DoNotOptimize(model->paneCount());
        state.PauseTiming();
        extraMB = static_cast<double>(heapInUse() - before) / (1024.0 * 1024.0);
        model.reset();
        state.ResumeTiming();
    }
    state.counters["extraMB"] = extraMB;
}
BENCHMARK(BM_RebuildAllPoints9998)->Unit(benchmark::kMillisecond);

void BM_RebuildWaveTrain9998(benchmark::State& state) {
    CSondaraDoc doc;
    doc.points.reserve(9998);
    for (int i = 0; i < 9998; ++i) doc.points.push_back(benchPoint(i));
    doc.selectPoint(0);
    WaveDisplayModel model;
    model.setSelection({AnalysisDomain::Integrity, DisplaySet::WaveTrain, 0, 0, 0});
    model.setClientSize(clientWidthForPlot(1200), 900);
    for (auto _ : state) {
        model.rebuild(doc);
        benchmark::DoNotOptimize(model.paneCount());
    }
    state.counters["materialised"] = model.materialisedCount();
}
BENCHMARK(BM_RebuildWaveTrain9998)->Unit(benchmark::kMillisecond);

// A mark placed on every point of a 9,998-point 所有测点 display, each point announced
// inside one batch (as the head, toe and defect commands do): the windows hear of it
// once, with every point.
void BM_BatchOfMarkAnnouncements9998(benchmark::State& state) {
    CSondaraDoc doc;
    std::size_t heard = 0;
    doc.addObserver([&](DocChange, const std::vector<int>& pts) { heard = pts.size(); });
    for (auto _ : state) {
        DocChangeBatch batch(doc);
        for (int i = 0; i < 9998; ++i) doc.announce(DocChange::Marks, {i});
    }
    state.counters["points"] = static_cast<double>(heard);
}
BENCHMARK(BM_BatchOfMarkAnnouncements9998)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
