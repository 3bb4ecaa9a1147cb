// Automatic interpretation: the processor time of one 1,024-sample trace (velocity and
// acceleration, with a defect), and a whole 200-pile site on two threads, with the
// accuracy of the site against its truth as counters.
#include <benchmark/benchmark.h>

#include <thread>

#include "core/interpret/Interpretation.h"
#include "tests/core/interpret/SimSite.h"

namespace {

using namespace sondara;
using namespace sondara::interpret_test;

void BM_InterpretTrace(benchmark::State& state) {
    PileSpec s;
    s.length = static_cast<double>(state.range(0));
    s.waveSpeed = 3800.0;
    s.diameter = 800.0;
    s.soil.shaftVs = 180.0;
    s.soil.shaftDensity = 1850.0;
    s.soil.toeVs = 350.0;
    s.sensorType = static_cast<int>(state.range(1));
    s.defects.push_back({DefectKind::Necking, 0.4 * s.length, 1.0, 0.3});
    s.noise = 0.005;
    s.sampleInterval = autoSampleInterval(s.length, s.waveSpeed, s.samples, s.preTrigger);
    CSondaraDoc doc;
    addPoint(doc, makeCase("bench", s, 1));
    for (auto _ : state) {
        PointInterpretation r = interpretPoint(doc, 0);
        benchmark::DoNotOptimize(r.toeTime);
    }
}
// 10, 20 and 40 m piles; velocity (1) and acceleration (0) sensors.
BENCHMARK(BM_InterpretTrace)
    ->ArgsProduct({{10, 20, 40}, {1, 0}})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

void BM_InterpretSite200(benchmark::State& state) {
    std::vector<PileCase> site = randomSite(200, 2026);
    CSondaraDoc doc;
    for (const PileCase& c : site) addPoint(doc, c);
    std::vector<int> all;
    for (int i = 0; i < doc.pointCount(); ++i) all.push_back(i);
    std::vector<PointInterpretation> rows;
    for (auto _ : state) {
        rows = interpretPoints(doc, all);
        benchmark::DoNotOptimize(rows.data());
    }
    Accuracy a;
    for (std::size_t i = 0; i < site.size() && i < rows.size(); ++i) a.add(site[i], rows[i]);
    state.counters["threads"] = std::thread::hardware_concurrency();
    state.counters["toe_pct"] = Accuracy::pct(a.toeRight, a.toeCases);
    state.counters["change_pct"] = Accuracy::pct(a.changeRight, a.changeCases);
    state.counters["beta_pct"] = Accuracy::pct(a.betaRight, a.narrowFound);
    state.counters["class_pct"] = Accuracy::pct(a.classRight, a.classCases);
    state.counters["intact_false_pct"] = Accuracy::pct(a.intactFalse, a.intact);
}
BENCHMARK(BM_InterpretSite200)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
