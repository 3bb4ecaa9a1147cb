// Processing benchmarks: replay of a full project, its integration, the filter convolution against
// the plain loop, replay on several threads against one, and the latency of a preview.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/processing/Filter.h"
#include "core/processing/ParallelFor.h"
#include "core/processing/ProcessingChain.h"

namespace {

using namespace sondara;

constexpr int kPoints = 9998;
constexpr int kSamples = 1024;
constexpr float kDtUs = 20.0f;

// A pile echo: an impact, a decaying ringing, a toe reflection and a little noise.
std::vector<float> syntheticTrace(int n, std::uint32_t seed) {
    std::vector<float> x(n);
    std::uint32_t s = seed * 2654435761u + 1;
    for (int i = 0; i < n; ++i) {
        s = s * 1664525u + 1013904223u;
        const double noise = ((s >> 8) / 16777216.0 - 0.5) * 0.02;
        const double t = i * kDtUs * 1e-6;
        double v = std::exp(-t * 900.0) * std::sin(2 * 3.14159265 * 700.0 * t);
        if (i > 400) v += 0.2 * std::exp(-(i - 400) * 0.02) * std::sin((i - 400) * 0.3);
        x[i] = static_cast<float>(v + noise);
    }
    return x;
}

std::vector<ProcessStep> benchChain() {
    ProcessStep filter = makeStep(ProcessKind::Filter);
    filter.filterType = kLowPass;
    filter.upperFreqHz = 1000.0f;
    ProcessStep amp = makeStep(ProcessKind::Amplify);
    amp.ampLaw = 0;
    amp.ampFactor = 10.0f;
    ProcessStep smooth = makeStep(ProcessKind::Smooth);
    smooth.smoothPoints = 5;
    return {filter, amp, smooth, makeStep(ProcessKind::RemoveDc)};
}

CSondaraDoc& benchDoc() {
    static CSondaraDoc doc = [] {
        CSondaraDoc d;
        d.points.resize(kPoints);
        const std::vector<ProcessStep> chain = benchChain();
        for (int i = 0; i < kPoints; ++i) {
            TestPoint& p = d.points[i];
            p.sampleInterval = kDtUs;
            p.waveSpeed = 3800;
            p.pileLength = 15.0f;
            p.headIndex = 20;
            p.rawSamples = syntheticTrace(kSamples, static_cast<std::uint32_t>(i));
            p.steps = chain;
        }
        return d;
    }();
    return doc;
}

PointList allPoints() {
    PointList t(kPoints);
    for (int i = 0; i < kPoints; ++i) t[i] = i;
    return t;
}

// Replays the chain [low-pass 1 kHz, exponential gain x10, smoothing 5, DC removal] on
// every point of the project; the argument is the number of threads.
void BM_ReplayProject(benchmark::State& state) {
    CSondaraDoc& doc = benchDoc();
    const PointList targets = allPoints();
    setProcessingThreads(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        RestoreChains(doc, targets);
        benchmark::DoNotOptimize(doc.points.back().samples.data());
    }
    setProcessingThreads(0);
    state.counters["points/s"] = benchmark::Counter(
        static_cast<double>(kPoints) * state.iterations(), benchmark::Counter::kIsRate);
}
// CPU time is that of the whole process (every thread), so the two-thread run shows
// what the split costs; its wall time shows the speed-up when the cores are free.
BENCHMARK(BM_ReplayProject)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// Integration (acceleration to velocity) of every point of the project on one thread:
// the chain [Integrate] with the head at sample 20 and the toe the pile length puts at
// sample 414. The argument is the number of threads.
void BM_IntegrateProject(benchmark::State& state) {
    static CSondaraDoc doc = [] {
        CSondaraDoc d = benchDoc();
        for (TestPoint& p : d.points) p.steps = {makeStep(ProcessKind::Integrate)};
        return d;
    }();
    const PointList targets = allPoints();
    setProcessingThreads(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        RestoreChains(doc, targets);
        benchmark::DoNotOptimize(doc.points.back().samples.data());
    }
    setProcessingThreads(0);
    state.counters["us/point"] = benchmark::Counter(
        static_cast<double>(kPoints) * state.iterations(),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_IntegrateProject)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// Replaying many targets: 200 points on one thread and on two.
void BM_ReplayManyTargets(benchmark::State& state) {
    CSondaraDoc& doc = benchDoc();
    PointList targets(200);
    for (int i = 0; i < 200; ++i) targets[i] = i * 7;
    setProcessingThreads(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        RestoreChains(doc, targets);
        benchmark::DoNotOptimize(doc.points[0].samples.data());
    }
    setProcessingThreads(0);
}
BENCHMARK(BM_ReplayManyTargets)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The latency the user feels on 预览: one point, its chain plus a candidate filter.
void BM_PreviewOnePoint(benchmark::State& state) {
    CSondaraDoc& doc = benchDoc();
    doc.editMode = 0;
    ProcessStep candidate = makeStep(ProcessKind::Filter);
    candidate.upperFreqHz = 300.0f;  // 167 taps
    const PointList target{5};
    for (auto _ : state) {
        PreviewStep(doc, target, candidate);
        UpdateDisplayRange(doc, target);
        benchmark::DoNotOptimize(doc.points[5].samples.data());
    }
    RestoreChains(doc, target);
}
BENCHMARK(BM_PreviewOnePoint)->Unit(benchmark::kMicrosecond);

// ConvolveFir against the plain loop; arguments: samples, taps. The setup checks
// that both give the same result.
struct ConvCase {
    std::vector<float> x, h, y;
    int n, taps;
};

bool setupConv(benchmark::State& state, ConvCase& c) {
    c.n = static_cast<int>(state.range(0));
    c.taps = static_cast<int>(state.range(1));
    c.x = syntheticTrace(c.n, 7);
    c.h.assign(c.taps, 0.0f);
    DesignFir(c.taps, kLowPass, 300.0, 300.0, 50000.0, kHannWindow, c.h.data());
    c.y.assign(c.n, 0.0f);
    std::vector<float> fast(c.n), ref(c.n);
    ConvolveFir(c.x.data(), c.h.data(), fast.data(), c.n - c.taps + 1, c.taps, c.n);
    ConvolveFirReference(c.x.data(), c.h.data(), ref.data(), c.n - c.taps + 1, c.taps, c.n);
    for (int i = 0; i < c.n; ++i) {
        if (std::fabs(fast[i] - ref[i]) > 1e-6f * (1.0f + std::fabs(ref[i]))) {
            state.SkipWithError("ConvolveFir differs from the plain loop");
            return false;
        }
    }
    return true;
}

void BM_ConvolveFir(benchmark::State& state) {
    ConvCase c;
    if (!setupConv(state, c)) return;
    for (auto _ : state) {
        ConvolveFir(c.x.data(), c.h.data(), c.y.data(), c.n - c.taps + 1, c.taps, c.n);
        benchmark::DoNotOptimize(c.y.data());
    }
}

void BM_ConvolveFirReference(benchmark::State& state) {
    ConvCase c;
    if (!setupConv(state, c)) return;
    for (auto _ : state) {
        ConvolveFirReference(c.x.data(), c.h.data(), c.y.data(), c.n - c.taps + 1, c.taps, c.n);
        benchmark::DoNotOptimize(c.y.data());
    }
}

void convArgs(benchmark::internal::Benchmark* b) {
    b->Args({1024, 51})
        ->Args({1024, 167})
        ->Args({1026, 511})
        ->Args({9999, 167})
        ->Args({9999, 4997});
    b->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_ConvolveFir)->Apply(convArgs);
BENCHMARK(BM_ConvolveFirReference)->Apply(convArgs);

// One filter run as the replay does it (design + convolution), 1024 samples.
void BM_FilterTrace(benchmark::State& state) {
    std::vector<float> x = syntheticTrace(kSamples, 3), y(kSamples);
    const float upper = static_cast<float>(state.range(0));
    for (auto _ : state) {
        FilterTrace(x.data(), kSamples, y.data(), kDtUs, 0.0f, upper, kLowPass, kHannWindow);
        benchmark::DoNotOptimize(y.data());
    }
}
BENCHMARK(BM_FilterTrace)->Arg(1000)->Arg(300)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
