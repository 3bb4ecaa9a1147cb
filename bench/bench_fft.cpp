// Our radix-2 Fft next to FFTW (single thread, FFTW_ESTIMATE, complex float) for the
// same lengths. Target: Fft within 2.5x of FFTW's time.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "core/analysis/Fft.h"
#include "core/analysis/Spectra.h"

#ifdef SONDARA_HAVE_FFTW
#include <fftw3.h>
#endif

namespace {

std::vector<float> noise(int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (auto& x : v) x = d(gen);
    return v;
}

int log2of(int n) {
    int m = 0;
    while ((1 << m) < n) ++m;
    return m;
}

// The input arrays are work space for Fft, so every call gets fresh copies, as the
// spectrum routines hand it.
void BM_Fft(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int m = log2of(n);
    const auto re = noise(n, 1), im = noise(n, 2);
    std::vector<float> wre(n), wim(n), ore(n), oim(n);
    for (auto _ : state) {
        std::memcpy(wre.data(), re.data(), n * sizeof(float));
        std::memcpy(wim.data(), im.data(), n * sizeof(float));
        sondara::Fft(wre.data(), wim.data(), n, m, ore.data(), oim.data(), 0, 0);
        benchmark::DoNotOptimize(ore.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_Fft)->Arg(1024)->Arg(16384)->Arg(131072);

#ifdef SONDARA_HAVE_FFTW
void BM_Fftw(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto* in = static_cast<fftwf_complex*>(fftwf_malloc(sizeof(fftwf_complex) * n));
    auto* out = static_cast<fftwf_complex*>(fftwf_malloc(sizeof(fftwf_complex) * n));
    fftwf_plan plan = fftwf_plan_dft_1d(n, in, out, FFTW_FORWARD, FFTW_ESTIMATE);
    const auto re = noise(n, 1), im = noise(n, 2);
    for (int i = 0; i < n; ++i) {
        in[i][0] = re[i];
        in[i][1] = im[i];
    }
    for (auto _ : state) {
        fftwf_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
    fftwf_destroy_plan(plan);
    fftwf_free(in);
    fftwf_free(out);
}
BENCHMARK(BM_Fftw)->Arg(1024)->Arg(16384)->Arg(131072);
#endif

// A whole spectrum as the display computes it (work arrays allocated per call).
void BM_AmplitudeSpectrum(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto x = noise(n, 3);
    std::vector<float> out(n);
    for (auto _ : state) {
        sondara::AmplitudeSpectrum(x.data(), out.data(), n);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_AmplitudeSpectrum)->Arg(1000)->Arg(16384);

}  // namespace

BENCHMARK_MAIN();
