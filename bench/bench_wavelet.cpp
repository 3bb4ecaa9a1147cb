// A 9-level Daubechies "20" wavelet transform (decomposition and reconstruction) of a
// short and of a long trace. The work is O(N * taps) per level.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/analysis/Wavelet.h"

namespace {

void BM_WaveletDb20(benchmark::State& state) {
    const int M = static_cast<int>(state.range(0));
    const int L = 9;
    std::mt19937 gen(5);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    std::vector<float> x(M);
    for (auto& v : x) v = d(gen);
    // Daubechies member "20" (order 10) is the tenth of its family.
    const int family = sondara::kWaveletDaubechies, member = 9;
    std::vector<float> rec(M), app(sondara::WaveletCoefficientCount(M, L)), det(app.size());
    for (auto _ : state) {
        const bool ok = sondara::WaveletTransform(x.data(), M, rec.data(), app.data(), det.data(),
                                                  family, member, L);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(rec.data());
    }
    state.SetItemsProcessed(state.iterations() * M);
}
BENCHMARK(BM_WaveletDb20)->Arg(1024)->Arg(65536)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
