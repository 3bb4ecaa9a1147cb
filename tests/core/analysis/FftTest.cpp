#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

#include "core/analysis/Fft.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

// The transform written the plain way, stage by stage, as a yardstick for the
// blocked and vectorised loops: the results must agree to the last bit.
void plainFft(std::vector<float> re, std::vector<float> im, int m, bool inverse,
              std::vector<float>& outRe, std::vector<float>& outIm, std::vector<float>& tabRe,
              std::vector<float>& tabIm) {
    const int n = 1 << m;
    outRe.assign(n, 0.0f);
    outIm.assign(n, 0.0f);
    for (int i = 0; i < n; ++i) {
        int r = 0, b = i;
        for (int j = 0; j < m; ++j) {
            r = 2 * r + b % 2;
            b /= 2;
        }
        outRe[i] = re[r];
        outIm[i] = im[r];
    }
    auto mul = [](float a, float b, float c, float d, float& x, float& y) {
        const float p = a * c, q = b * d;
        x = p - q;
        y = (a + b) * (c + d) - p - q;
    };
    tabRe.assign(n, 0.0f);
    tabIm.assign(n, 0.0f);
    tabRe[0] = 1.0f;
    if (n > 1) {
        const float theta = 6.2831855f / static_cast<float>(n);
        tabRe[1] = static_cast<float>(std::cos(static_cast<double>(theta)));
        const float s = static_cast<float>(std::sin(static_cast<double>(theta)));
        tabIm[1] = inverse ? s : -s;
        for (int k = 2; k < n; ++k)
            mul(tabRe[k - 1], tabIm[k - 1], tabRe[1], tabIm[1], tabRe[k], tabIm[k]);
    }
    for (int j = 0; j + 1 < n; j += 2) {
        const float a = outRe[j], b = outRe[j + 1], c = outIm[j], d = outIm[j + 1];
        outRe[j] = a + b;
        outRe[j + 1] = a - b;
        outIm[j] = c + d;
        outIm[j + 1] = c - d;
    }
    for (int f = 4; f <= n; f *= 2) {
        const int e = f / 2, d = n / f;
        for (int g = 0; g < n; g += f)
            for (int k = 0; k < e; ++k) {
                float tr, ti;
                mul(tabRe[k * d], tabIm[k * d], outRe[g + e + k], outIm[g + e + k], tr, ti);
                outRe[g + e + k] = outRe[g + k] - tr;
                outIm[g + e + k] = outIm[g + k] - ti;
                outRe[g + k] = outRe[g + k] + tr;
                outIm[g + k] = outIm[g + k] + ti;
            }
    }
    if (inverse)
        for (int i = 0; i < n; ++i) {
            outRe[i] /= static_cast<float>(n);
            outIm[i] /= static_cast<float>(n);
        }
}

TEST(Fft, KeepsTheFixedArithmeticBitForBit) {
    for (int m : {0, 1, 2, 3, 4, 5, 7, 10, 11, 12, 13, 15, 17}) {
        for (int inverse : {0, 1}) {
            const int n = 1 << m;
            auto re = test::randomTrace(n, 1 + m), im = test::randomTrace(n, 100 + m);
            std::vector<float> wantRe, wantIm, tabRe, tabIm;
            plainFft(re, im, m, inverse, wantRe, wantIm, tabRe, tabIm);
            std::vector<float> outRe(n), outIm(n);
            ASSERT_EQ(Fft(re.data(), im.data(), n, m, outRe.data(), outIm.data(), inverse, 0), 1);
            SCOPED_TRACE("n=" + std::to_string(n) + " inverse=" + std::to_string(inverse));
            EXPECT_EQ(std::memcmp(outRe.data(), wantRe.data(), n * sizeof(float)), 0);
            EXPECT_EQ(std::memcmp(outIm.data(), wantIm.data(), n * sizeof(float)), 0);
            // The input arrays are left holding the twiddle table.
            EXPECT_EQ(std::memcmp(re.data(), tabRe.data(), n * sizeof(float)), 0);
            EXPECT_EQ(std::memcmp(im.data(), tabIm.data(), n * sizeof(float)), 0);
        }
    }
}

TEST(Fft, MatchesDirectDft) {
    for (int m : {0, 1, 2, 3, 4, 6, 9, 11}) {
        for (int inverse : {0, 1}) {
            const int n = 1 << m;
            const auto re = test::randomTrace(n, 7 + m), im = test::randomTrace(n, 70 + m);
            double worst = 0.0;
            auto wre = re, wim = im;
            std::vector<float> outRe(n), outIm(n);
            ASSERT_EQ(Fft(wre.data(), wim.data(), n, m, outRe.data(), outIm.data(), inverse, 0), 1);
            const double sign = inverse ? 1.0 : -1.0;
            for (int k = 0; k < n; ++k) {
                std::complex<double> s = 0.0;
                for (int j = 0; j < n; ++j)
                    s += std::complex<double>(re[j], im[j]) *
                         std::polar(1.0, sign * 2.0 * std::numbers::pi * double(k) * j / n);
                if (inverse) s /= n;
                worst = std::max(worst, std::abs(s - std::complex<double>(outRe[k], outIm[k])));
            }
            // Float work arrays and a twiddle recurrence whose error grows with k.
            const double scale = inverse ? 1.0 : std::sqrt(double(n));
            EXPECT_LT(worst, 2e-4 * scale * (m + 1)) << "n=" << n << " inverse=" << inverse;
        }
    }
}

TEST(Fft, InverseUndoesForward) {
    for (int m : {3, 10, 14}) {
        const int n = 1 << m;
        const auto re = test::randomTrace(n, 3), im = test::randomTrace(n, 4);
        auto wre = re, wim = im;
        std::vector<float> fre(n), fim(n), bre(n), bim(n);
        ASSERT_EQ(Fft(wre.data(), wim.data(), n, m, fre.data(), fim.data(), 0, 0), 1);
        ASSERT_EQ(Fft(fre.data(), fim.data(), n, m, bre.data(), bim.data(), 1, 0), 1);
        // The float twiddle recurrence drifts by about one rounding per step.
        const double tol = 1e-5 + 2e-7 * n;
        for (int i = 0; i < n; ++i) {
            ASSERT_NEAR(bre[i], re[i], tol) << i;
            ASSERT_NEAR(bim[i], im[i], tol) << i;
        }
    }
}

TEST(Fft, RefusesEmptyOrInconsistentLengths) {
    float a[4] = {1, 2, 3, 4}, b[4] = {}, c[4] = {9, 9, 9, 9}, d[4] = {};
    EXPECT_EQ(Fft(a, b, 0, 0, c, d, 0, 0), 0);
    EXPECT_EQ(Fft(a, b, -4, 2, c, d, 0, 0), 0);
    EXPECT_EQ(Fft(a, b, 4, 3, c, d, 0, 0), 0);
    EXPECT_EQ(Fft(a, b, 3, 2, c, d, 0, 0), 0);
    EXPECT_EQ(c[0], 9.0f);  // nothing written
    EXPECT_EQ(a[1], 2.0f);
}

TEST(Fft, MagnitudeAndPhaseRule) {
    // A one-point transform hands its input straight through, so each row puts one
    // chosen value through the magnitude/phase step.
    struct Row {
        float re, im, magnitude, phase;
    };
    const Row rows[] = {
        {0.0f, 1.0f, 1.0f, -90.0f},  // re*im is not > 0
        {1e-8f, 1.0f, 1.0f, 90.0f},  // |im| * 1e-6 > |re|, re*im > 0
        {-1e-8f, 1.0f, 1.0f, -90.0f},
        {1.0f, 1.0f, std::sqrt(2.0f), 45.0f},
        {-1.0f, 1.0f, std::sqrt(2.0f), -45.0f},  // no quadrant correction
        {-2.0f, 0.0f, 2.0f, 0.0f},
        {0.0f, 0.0f, 0.0f, 0.0f},  // silent bin: a phase of 0, not 0/0
    };
    for (const Row& r : rows) {
        float re = r.re, im = r.im, ore = 0, oim = 0;
        ASSERT_EQ(Fft(&re, &im, 1, 0, &ore, &oim, 0, 1), 1);
        EXPECT_EQ(ore, r.re);
        EXPECT_FLOAT_EQ(re, r.magnitude) << r.re << "," << r.im;
        EXPECT_NEAR(im, r.phase, 1e-4) << r.re << "," << r.im;
    }
}

TEST(Fft, TransformLengthRule) {
    const int cases[][3] = {
        {1, 1, 0},        {2, 2, 1},           {1000, 1024, 10},     {1024, 1024, 10},
        {1025, 2048, 11}, {70000, 131072, 17}, {131072, 131072, 17}, {500000, 131072, 17}};
    for (const auto& c : cases) {
        int p = -1;
        EXPECT_EQ(TransformLength(c[0], &p), c[1]) << c[0];
        EXPECT_EQ(p, c[2]) << c[0];
    }
    EXPECT_EQ(TransformLength(0), 0);
    EXPECT_EQ(TransformLength(-5), 0);
}

TEST(GetValueRange, PlainAndSymmetric) {
    const float v[] = {-3.0f, 1.5f, 2.0f};
    float hi = 0, lo = 0;
    ASSERT_EQ(GetValueRange(v, 3, &hi, &lo, 0), 1);
    EXPECT_EQ(hi, 2.0f);
    EXPECT_EQ(lo, -3.0f);
    ASSERT_EQ(GetValueRange(v, 3, &hi, &lo, 1), 1);
    EXPECT_EQ(hi, 3.0f);
    EXPECT_EQ(lo, -3.0f);
    const float pos[] = {4.0f, 5.0f};
    ASSERT_EQ(GetValueRange(pos, 2, &hi, &lo, 0), 1);
    EXPECT_EQ(lo, 4.0f);  // both start from the first value, not from 0
    EXPECT_EQ(GetValueRange(v, 0, &hi, &lo, 0), 0);
}

}  // namespace
}  // namespace sondara
