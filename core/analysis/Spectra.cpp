#include "core/analysis/Spectra.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/analysis/Fft.h"

namespace sondara {

namespace {

// Forward transform of a zero-padded trace.
struct Transformed {
    int n = 0;
    std::vector<float> re, im;
};

Transformed forward(const float* samples, int available, int n, int m) {
    Transformed t;
    t.n = n;
    std::vector<float> wre(n, 0.0f), wim(n, 0.0f);
    std::copy(samples, samples + std::min(available, n), wre.begin());
    t.re.resize(n);
    t.im.resize(n);
    Fft(wre.data(), wim.data(), n, m, t.re.data(), t.im.data(), 0, 0);
    return t;
}

double power(const Transformed& t, int k) {
    const double re = t.re[k], im = t.im[k];
    return re * re + im * im;
}

// Runs `value(transform, k)` for the bins the transform has and zeroes the rest.
template <class F>
int singleSpectrum(const float* in, float* out, int count, F value) {
    if (count <= 0) return 0;
    int m = 0;
    const int n = TransformLength(count, &m);
    const Transformed t = forward(in, count, n, m);
    const int bins = std::min(count, n);
    for (int k = 0; k < bins; ++k) out[k] = static_cast<float>(value(t, k));
    std::fill(out + bins, out + count, 0.0f);
    return 1;
}

}  // namespace

int AmplitudeSpectrum(const float* in, float* out, int count) {
    return singleSpectrum(in, out, count, [](const Transformed& t, int k) {
        return 2.0 * std::sqrt(power(t, k)) / t.n;
    });
}

int AutoPowerSpectrum(const float* in, float* out, int count) {
    return singleSpectrum(
        in, out, count, [](const Transformed& t, int k) { return 4.0 * power(t, k) / t.n / t.n; });
}

int LogPowerSpectrum(const float* in, float* out, int count) {
    return singleSpectrum(in, out, count, [](const Transformed& t, int k) {
        return 20.0 * std::log10(std::max(2.0 * power(t, k) / t.n * 32.768, kMinSpectrumPower));
    });
}

int CrossPowerSpectrum(const float* a, const float* b, float* out, int count, int countB) {
    if (count <= 0) return 0;
    if (countB < 0) countB = count;
    int m = 0;
    const int n = TransformLength(count, &m);
    const Transformed ta = forward(a, count, n, m);
    const Transformed tb = forward(b, std::min(countB, count), n, m);
    const int bins = std::min(count, n);
    for (int k = 0; k < bins; ++k) {
        const double v =
            4.0 *
            (static_cast<double>(ta.re[k]) * tb.re[k] + static_cast<double>(ta.im[k]) * tb.im[k]) /
            n / n;
        out[k] = static_cast<float>(v);
    }
    std::fill(out + bins, out + count, 0.0f);
    return 1;
}

int CepstrumSpectrum(const float* in, float* out, int count) {
    if (count <= 0) return 0;
    int m = 0;
    const int n = TransformLength(count, &m);
    const Transformed t = forward(in, count, n, m);
    const int bins = std::min(count, n);
    // The log spectrum is padded with zeros (in the log domain), not mirrored.
    std::vector<float> lre(n, 0.0f), lim(n, 0.0f), ore(n), oim(n);
    for (int k = 0; k < bins; ++k)
        lre[k] =
            static_cast<float>(std::log10(std::max(4.0 * power(t, k) / n / n, kMinSpectrumPower)));
    Fft(lre.data(), lim.data(), n, m, ore.data(), oim.data(), 1, 0);
    for (int k = 0; k < bins; ++k) {
        const double re = ore[k], im = oim[k];
        out[k] = static_cast<float>(std::sqrt(re * re + im * im));
    }
    std::fill(out + bins, out + count, 0.0f);
    return 1;
}

int ComputeSpectrum(SpectrumKind kind, const float* in, float* out, int count) {
    switch (kind) {
        case SpectrumKind::Amplitude:
            return AmplitudeSpectrum(in, out, count);
        case SpectrumKind::AutoPower:
            return AutoPowerSpectrum(in, out, count);
        case SpectrumKind::Cepstrum:
            return CepstrumSpectrum(in, out, count);
        case SpectrumKind::LogSpectrum:
            return LogPowerSpectrum(in, out, count);
        case SpectrumKind::CrossPower:
            break;
    }
    return 0;
}

}  // namespace sondara
