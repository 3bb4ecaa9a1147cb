#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

#include "core/analysis/Fft.h"
#include "core/analysis/Spectra.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

// Zero-padded DFT in double precision.
std::vector<std::complex<double>> dft(const std::vector<double>& x, int n, double sign = -1.0) {
    std::vector<std::complex<double>> out(n);
    for (int k = 0; k < n; ++k)
        for (int j = 0; j < static_cast<int>(x.size()) && j < n; ++j)
            out[k] += x[j] * std::polar(1.0, sign * 2.0 * std::numbers::pi * double(k) * j / n);
    return out;
}

using SpectrumFn = int (*)(const float*, float*, int);
struct Named {
    const char* name;
    SpectrumFn fn;
};
const Named kSingle[] = {{"amplitude", AmplitudeSpectrum},
                         {"autopower", AutoPowerSpectrum},
                         {"cepstrum", CepstrumSpectrum},
                         {"log", LogPowerSpectrum}};

TEST(Spectra, ZeroTraceGivesZeroOrFiniteSpectra) {
    const int count = 1000;
    const std::vector<float> zero(count, 0.0f);
    std::vector<float> out(count, 7.0f);
    for (const Named& s : kSingle) {
        ASSERT_EQ(s.fn(zero.data(), out.data(), count), 1) << s.name;
        for (float v : out) ASSERT_TRUE(std::isfinite(v)) << s.name;
    }
    for (SpectrumFn fn : {AmplitudeSpectrum, AutoPowerSpectrum}) {
        fn(zero.data(), out.data(), count);
        float hi = 1, lo = 1;
        GetValueRange(out.data(), count, &hi, &lo, 0);
        EXPECT_EQ(hi, 0.0f);
        EXPECT_EQ(lo, 0.0f);
    }
    ASSERT_EQ(CrossPowerSpectrum(zero.data(), zero.data(), out.data(), count), 1);
    for (float v : out) ASSERT_EQ(v, 0.0f);
    // A silent bin is floored before the logarithm.
    LogPowerSpectrum(zero.data(), out.data(), count);
    EXPECT_FLOAT_EQ(out[0], static_cast<float>(20.0 * std::log10(kMinSpectrumPower)));
}

TEST(Spectra, SineLandsInItsBinWithTheScaling) {
    const int n = 1024, bin = 37;
    const double a = 3.0;
    std::vector<float> x(n);
    for (int i = 0; i < n; ++i)
        x[i] = static_cast<float>(a * std::cos(2.0 * std::numbers::pi * bin * i / n));
    std::vector<float> amp(n), pow(n), logp(n);
    AmplitudeSpectrum(x.data(), amp.data(), n);
    AutoPowerSpectrum(x.data(), pow.data(), n);
    LogPowerSpectrum(x.data(), logp.data(), n);
    EXPECT_NEAR(amp[bin], a, 1e-3);
    EXPECT_NEAR(pow[bin], a * a, 1e-2);
    // |X| = a N / 2, so 2 |X|^2 / N * 32.768 = a^2 N / 2 * 32.768.
    EXPECT_NEAR(logp[bin], 20.0 * std::log10(a * a * n / 2 * 32.768), 1e-3);
    EXPECT_LT(amp[bin + 5], 1e-3);
    EXPECT_NEAR(amp[n - bin], a, 1e-3);  // count values are written, not N/2
}

TEST(Spectra, PaddedTraceAgreesWithDirectTransform) {
    const int count = 1000, n = 1024;  // padded to 1024
    const auto x = test::normalTrace(count, 11);
    const std::vector<double> xd(x.begin(), x.end());
    const auto X = dft(xd, n);
    std::vector<float> amp(count), cep(count);
    AmplitudeSpectrum(x.data(), amp.data(), count);
    CepstrumSpectrum(x.data(), cep.data(), count);

    std::vector<double> logs(count);
    for (int k = 0; k < count; ++k) {
        EXPECT_NEAR(amp[k], 2.0 * std::abs(X[k]) / n, 2e-4) << k;
        logs[k] = std::log10(4.0 * std::norm(X[k]) / n / n);
    }
    // The log spectrum is zero beyond count, not mirrored; inverse with / N.
    const auto C = dft(logs, n, +1.0);
    for (int k = 0; k < count; ++k) EXPECT_NEAR(cep[k], std::abs(C[k]) / n, 5e-4) << k;
}

TEST(Spectra, InPlaceEqualsOutOfPlace) {
    const int count = 777;
    const auto x = test::normalTrace(count, 5);
    for (const Named& s : kSingle) {
        std::vector<float> out(count), inplace = x;
        s.fn(x.data(), out.data(), count);
        s.fn(inplace.data(), inplace.data(), count);
        EXPECT_EQ(out, inplace) << s.name;
    }
    std::vector<float> out(count), inplace = x;
    CrossPowerSpectrum(x.data(), x.data(), out.data(), count);
    CrossPowerSpectrum(inplace.data(), x.data(), inplace.data(), count);
    EXPECT_EQ(out, inplace);
}

TEST(Spectra, CrossPowerOfAPointWithItselfIsItsAutoPower) {
    const int count = 1500;
    const auto x = test::normalTrace(count, 9);
    std::vector<float> cross(count), autoPower(count);
    CrossPowerSpectrum(x.data(), x.data(), cross.data(), count);
    AutoPowerSpectrum(x.data(), autoPower.data(), count);
    EXPECT_EQ(cross, autoPower);
}

TEST(Spectra, ShorterSecondTraceCountsAsZeros) {
    const int count = 600, countB = 400;
    const auto a = test::normalTrace(count, 1);
    const auto b = test::normalTrace(countB, 2);
    std::vector<float> padded(b);
    padded.resize(count, 0.0f);
    std::vector<float> got(count), want(count);
    CrossPowerSpectrum(a.data(), b.data(), got.data(), count, countB);
    CrossPowerSpectrum(a.data(), padded.data(), want.data(), count);
    EXPECT_EQ(got, want);
}

TEST(Spectra, EmptyAndOneSampleTraces) {
    float in[1] = {-1.5f}, out[1] = {42.0f};
    for (const Named& s : kSingle) EXPECT_EQ(s.fn(in, out, 0), 0) << s.name;
    EXPECT_EQ(CrossPowerSpectrum(in, in, out, -1), 0);
    EXPECT_EQ(out[0], 42.0f);
    // One sample is a one-point transform: X_0 = x_0.
    ASSERT_EQ(AmplitudeSpectrum(in, out, 1), 1);
    EXPECT_FLOAT_EQ(out[0], 3.0f);
    ASSERT_EQ(AutoPowerSpectrum(in, out, 1), 1);
    EXPECT_FLOAT_EQ(out[0], 9.0f);
    ASSERT_EQ(CepstrumSpectrum(in, out, 1), 1);
    EXPECT_FLOAT_EQ(out[0], static_cast<float>(std::log10(9.0)));
}

TEST(Spectra, BinsBeyondTheLongestTransformAreZero) {
    const int count = kMaxTransformLength + 100;
    std::vector<float> x(count, 1.0f), out(count, 5.0f);
    ASSERT_EQ(AmplitudeSpectrum(x.data(), out.data(), count), 1);
    EXPECT_NEAR(out[0], 2.0f, 1e-4);  // the first 131072 samples are transformed
    for (int k = kMaxTransformLength; k < count; ++k) ASSERT_EQ(out[k], 0.0f);
}

}  // namespace
}  // namespace sondara
