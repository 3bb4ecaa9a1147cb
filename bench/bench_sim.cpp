// Simulator benchmarks: one 1,024-sample point for typical piles, and the build of a
// whole 9,998-point project (4,999 piles with 2 points each).
#include <benchmark/benchmark.h>

#include <string>

#include "core/sim/SimProject.h"

namespace {

using namespace sondara;

// A pile of the given length in medium soil, dt chosen as an operator would.
PileSpec typicalPile(double length) {
    PileSpec s;
    s.length = length;
    s.waveSpeed = 3800.0;
    s.diameter = 800.0;
    s.soil.shaftVs = 180.0;
    s.soil.shaftDensity = 1850.0;
    s.soil.toeVs = 350.0;
    s.soil.toeDensity = 2000.0;
    s.defects.push_back({DefectKind::Necking, 0.4 * length, 1.0, 0.3});
    s.noise = 0.005;
    s.sampleInterval = autoSampleInterval(s.length, s.waveSpeed, s.samples, s.preTrigger);
    return s;
}

void BM_SimulatePoint(benchmark::State& state) {
    PileSpec spec = typicalPile(static_cast<double>(state.range(0)));
    std::uint64_t seed = 1;
    for (auto _ : state) {
        SimulatedTrace t = simulatePile(spec, seed++);
        benchmark::DoNotOptimize(t.samples.data());
    }
    state.counters["dt_us"] = spec.sampleInterval;
}
// 10 m at 20 us, 20 m at 20 us, 40 m at 40 us (the longest piles of a site).
BENCHMARK(BM_SimulatePoint)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond);

void BM_BuildProject9998(benchmark::State& state) {
    ProjectSpec spec = randomProjectSpec(4999, 2, 2026);
    for (auto _ : state) {
        CSondaraDoc doc;
        std::vector<SimPointTruth> truth;
        std::string error;
        if (!buildProject(spec, doc, &truth, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(doc.points.data());
    }
    state.counters["points"] = 9998;
}
BENCHMARK(BM_BuildProject9998)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
