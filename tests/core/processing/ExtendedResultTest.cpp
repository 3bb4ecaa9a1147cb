// The fast operations compute in double and keep the float32 samples that the plain
// extended-precision loops give. These tests hold them to those loops, bit for bit,
// on ordinary traces and on traces made to trip double precision: samples far apart
// in size, sums that land half-way between two floats, zeros, subnormals, infinities.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/processing/Filter.h"
#include "core/processing/TraceOps.h"

namespace sondara {
namespace {

using Trace = std::vector<float>;
using Ext = long double;

// ---- the extended-precision loops, as the operations were first written ------------

Trace plainAmplify(const Trace& x, float factor, int start) {
    Trace y = x;
    const int n = static_cast<int>(x.size());
    if (start >= n) return y;
    if (start < 1) start = 0;
    if (!(factor > 0.0f) || !std::isfinite(factor)) return y;
    const float r = static_cast<float>(std::log(static_cast<Ext>(factor)) / (n - start));
    for (int i = start; i < n; ++i) {
        // The ramp of AmplifyTrace: one exponential per block of 64 times the in-block one.
        const int b = (i - start) / 64 * 64, j = (i - start) - b;
        const Ext g =
            std::exp(static_cast<Ext>(r) * static_cast<Ext>(b)) * std::exp(static_cast<Ext>(r) * j);
        y[i] = static_cast<float>(x[i] * g);
    }
    return y;
}

Trace plainRemoveDc(const Trace& x, int start) {
    Trace y = x;
    const int n = static_cast<int>(x.size());
    if (start >= n) return y;
    if (start < 1) start = 0;
    Ext sum = 0;
    for (int i = start; i < n; ++i) sum += x[i];
    const int count = n - start;
    const Ext mean = count > 1 ? sum / count : sum;
    for (int i = start; i < n; ++i) y[i] = static_cast<float>(x[i] - mean);
    return y;
}

Trace plainSmooth(const Trace& x, int points) {
    Trace y = x;
    const int n = static_cast<int>(x.size());
    if (points < 1 || n - points <= 20) return y;
    for (int i = 20; i < n - points; ++i) {
        Ext sum = 0;
        for (int k = 0; k < points; ++k) sum += x[i + k];
        y[i] = static_cast<float>(sum / points);
    }
    return y;
}

int plainGainEstimate(const float* y, int n, int head, int toe) {
    if (head < 0 || head >= n) return 3;
    const float ref = std::fabs(y[head]);
    if (static_cast<long long>(toe) - 2 <= 0) return 3;
    const int top = static_cast<int>(std::min<long long>(static_cast<long long>(toe) - 2, n - 2));
    bool haveMax = false, haveMin = false;
    float maxV = 0.0f, minV = 0.0f;
    for (int i = top; i >= 1 && !(haveMax && haveMin); --i) {
        if (!haveMax && y[i] > y[i + 1] && y[i] > y[i - 1]) {
            maxV = y[i];
            haveMax = true;
        }
        if (!haveMin && y[i] < y[i + 1] && y[i] < y[i - 1]) {
            minV = y[i];
            haveMin = true;
        }
    }
    if (!haveMax || !haveMin) return 3;
    const Ext swing = std::fabs(static_cast<Ext>(maxV) - minV);
    float g = 3.0f;
    bool search = true;
    if (swing > 0.00001L) {
        g = static_cast<float>(ref * 0.025L / swing);
        if (g <= 1.0f) search = false;
    }
    std::vector<float> work(y, y + n);
    for (int round = 0; search && round < 64; ++round) {
        const float r = ExpGain(work.data(), n, head, toe, g, GainMode::Measure);
        if (r < 0.04f) {
            if (!(r > 0.0f) || g * 4.0f > 1.0e6f) break;
            g = 4.0f * g;
        } else if (r < 0.2f) {
            break;
        } else {
            g = g * 0.25f;
            if (g < 1.0f) break;
        }
    }
    if (!(g >= 3.0f)) g = 3.0f;
    if (g > 1.0e6f) g = 1.0e6f;
    return static_cast<int>(g);
}

Trace plainIntegrate(const Trace& x, int head, int toe) {
    const int n = static_cast<int>(x.size());
    if (n < 3) return x;
    const float p0 = PeakAbs(x.data(), n);
    Trace y(n);
    const Ext w = 0.16666667f;
    y[0] = 0.0f;
    for (int i = 1; i <= n - 2; ++i)
        y[i] = static_cast<float>(y[i - 1] +
                                  (static_cast<Ext>(x[i - 1]) + 4.0L * x[i] + x[i + 1]) * w);
    for (int i = 1; i <= n - 2; ++i) y[i] = static_cast<float>(static_cast<Ext>(y[i]) / (i + 1));
    y[n - 1] = y[n - 2];
    const TailLine tail = TailBaseline(y.data(), n);
    for (float a : {tail.a1, tail.a2}) {
        if (a == 0.0f) continue;
        const Ext slope = std::tan(static_cast<Ext>(a));
        for (int j = tail.d + 1; j < n; ++j) y[j] = static_cast<float>(y[j] - slope * (j - tail.d));
    }
    if (head >= 0 && head < n) {
        const int g = plainGainEstimate(y.data(), n, head, toe);
        if (g > 1) ExpGain(y.data(), n, head, toe, static_cast<float>(g), GainMode::Apply);
    }
    const float p1 = PeakAbs(y.data(), n);
    if (p0 != 0.0f) {
        const float q = static_cast<float>(static_cast<Ext>(p1) / p0);
        if (q > 0.0f && std::isfinite(q)) {
            Ext m = 1;
            while (m * q < 0.5L) m *= 2;
            for (int i = 0; i < n; ++i) y[i] = static_cast<float>(y[i] * m);
        }
    }
    return y;
}

// ---- traces ------------------------------------------------------------------------

// A pile echo with noise, as the benchmark makes them.
Trace echo(int n, std::uint32_t seed) {
    Trace x(n);
    std::uint32_t s = seed * 2654435761u + 1;
    for (int i = 0; i < n; ++i) {
        s = s * 1664525u + 1013904223u;
        const double noise = ((s >> 8) / 16777216.0 - 0.5) * 0.02;
        const double t = i * 20e-6;
        double v = std::exp(-t * 900.0) * std::sin(2 * 3.14159265 * 700.0 * t);
        if (i > 400) v += 0.2 * std::exp(-(i - 400) * 0.02) * std::sin((i - 400) * 0.3);
        x[i] = static_cast<float>(v + noise);
    }
    return x;
}

struct NamedTrace {
    std::string name;
    Trace x;
};

std::vector<NamedTrace> traces() {
    std::vector<NamedTrace> out;
    for (std::uint32_t seed : {1u, 2u, 77u}) out.push_back({"echo", echo(1024, seed)});
    // The echo through a filter and a gain, as the smoothing and the mean removal of a
    // replay see it.
    {
        Trace x = echo(1024, 5);
        FilterTrace(x.data(), 1024, x.data(), 20.0f, 0.0f, 1000.0f, kLowPass, kHannWindow);
        AmplifyTrace(x.data(), 1024, x.data(), 10.0f, 0, 0);
        out.push_back({"filtered", x});
    }
    std::mt19937 rng(11);
    // Small whole numbers and halves: five-point sums divided by five, and means,
    // fall exactly half-way between two floats again and again.
    {
        Trace x(333);
        std::uniform_int_distribution<int> d(-40, 40);
        for (float& v : x) v = d(rng) * 0.5f;
        out.push_back({"halves", x});
    }
    // Samples across 2^120 of size: the double sums are not exact and the extended
    // ones are not either.
    {
        Trace x(301);
        std::uniform_real_distribution<float> m(-1.0f, 1.0f);
        std::uniform_int_distribution<int> e(-60, 60);
        for (float& v : x) v = std::ldexp(m(rng), e(rng));
        out.push_back({"wide", x});
    }
    // One large sample among small ones, which cancels out of the sums.
    {
        Trace x = echo(257, 9);
        for (float& v : x) v *= 1e-7f;
        x[100] = 3.0e5f;
        x[160] = -3.0e5f;
        out.push_back({"spike", x});
    }
    // Four samples whose sum is 2 + 2^-23 + 2^-59: a quarter of it (a window of four)
    // or a 64th (the mean) lies just above half-way between two floats in extended
    // precision, and exactly half-way once rounded to double.
    {
        Trace x(64, 0.0f);
        x[40] = 2.0f;
        x[41] = std::ldexp(1.0f, -23);
        x[42] = std::ldexp(1.0f, -36) + std::ldexp(1.0f, -59);
        x[43] = -std::ldexp(1.0f, -36);
        out.push_back({"half-way", x});
        // The same with a tail far below the rest, so the sums are not exact in double
        // whichever way they are split.
        x[42] = std::ldexp(1.0f, -60);
        x[43] = 0.0f;
        out.push_back({"half-way, wide", x});
    }
    // Subnormal samples, zeros and a long run of them.
    {
        Trace x(200, 0.0f);
        for (int i = 0; i < 200; i += 3) x[i] = std::numeric_limits<float>::denorm_min() * i;
        x[50] = 1e-38f;
        out.push_back({"subnormal", x});
    }
    // Samples near the top of the float range.
    {
        Trace x = echo(300, 4);
        for (float& v : x) v *= 3.0e38f;
        out.push_back({"huge", x});
    }
    // An infinity and a NaN.
    {
        Trace x = echo(180, 3);
        x[90] = std::numeric_limits<float>::infinity();
        out.push_back({"infinite", x});
        x[90] = std::numeric_limits<float>::quiet_NaN();
        out.push_back({"nan", x});
    }
    return out;
}

// Equal bit for bit (NaN included); reports the first sample that differs.
::testing::AssertionResult sameBits(const Trace& a, const Trace& b) {
    if (a.size() != b.size()) return ::testing::AssertionFailure() << "sizes differ";
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0)
            return ::testing::AssertionFailure()
                   << "sample " << i << ": " << a[i] << " against " << b[i];
    }
    return ::testing::AssertionSuccess();
}

// Runs an operation on a separate output and in place; both must give `expected`.
template <typename Op>
void expectBoth(const Trace& x, const Trace& expected, Op op, const std::string& what) {
    Trace out(x.size(), -7.0f), inPlace = x;
    op(x.data(), static_cast<int>(x.size()), out.data());
    op(inPlace.data(), static_cast<int>(x.size()), inPlace.data());
    EXPECT_TRUE(sameBits(out, expected)) << what;
    EXPECT_TRUE(sameBits(inPlace, expected)) << what << " in place";
}

TEST(ExtendedResult, AmplifyKeepsEveryFloat) {
    for (const NamedTrace& t : traces()) {
        for (float factor : {10.0f, 3.7f, 1000.0f, 0.25f}) {
            for (int start : {0, 20, 131}) {
                expectBoth(
                    t.x, plainAmplify(t.x, factor, start),
                    [&](const float* in, int n, float* out) {
                        AmplifyTrace(in, n, out, factor, start, 0);
                    },
                    t.name + " x" + std::to_string(factor) + " from " + std::to_string(start));
            }
        }
    }
}

TEST(ExtendedResult, MeanRemovalKeepsEveryFloat) {
    for (const NamedTrace& t : traces()) {
        for (int start : {0, 1, 37, static_cast<int>(t.x.size()) - 1}) {
            expectBoth(
                t.x, plainRemoveDc(t.x, start),
                [&](const float* in, int n, float* out) { RemoveDcTrace(in, n, out, 1, start); },
                t.name + " from " + std::to_string(start));
        }
    }
}

TEST(ExtendedResult, SmoothingKeepsEveryFloat) {
    for (const NamedTrace& t : traces()) {
        for (int points : {1, 2, 3, 4, 5, 7, 16, 50}) {
            expectBoth(
                t.x, plainSmooth(t.x, points),
                [&](const float* in, int n, float* out) { SmoothTrace(in, n, out, points); },
                t.name + " over " + std::to_string(points));
        }
    }
}

TEST(ExtendedResult, IntegrationKeepsEveryFloat) {
    for (const NamedTrace& t : traces()) {
        const int n = static_cast<int>(t.x.size());
        // Head and toe as the replay passes them: a toe inside, at the end, beyond the
        // trace and before the head; no head; a head at the last sample.
        const std::pair<int, int> marks[] = {{20, 414},   {20, n / 2}, {5, n - 1},    {0, n + 300},
                                             {n / 2, 10}, {-1, 300},   {n - 1, n - 1}};
        for (auto [head, toe] : marks) {
            expectBoth(
                t.x, plainIntegrate(t.x, head, toe),
                [&](const float* in, int count, float* out) {
                    IntegrateTrace(in, count, out, head, toe);
                },
                t.name + " head " + std::to_string(head) + " toe " + std::to_string(toe));
        }
    }
    // Many echoes, to meet the gain search's close calls.
    for (std::uint32_t seed = 100; seed < 400; ++seed) {
        const Trace x = echo(1024, seed);
        const int toe = 200 + static_cast<int>(seed % 500);
        expectBoth(
            x, plainIntegrate(x, 20, toe),
            [&](const float* in, int n, float* out) { IntegrateTrace(in, n, out, 20, toe); },
            "echo " + std::to_string(seed));
    }
}

TEST(ExtendedResult, GainEstimateAgreesOnIntegratedEchoes) {
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        Trace y = echo(1024, seed);
        SimpleIntegrateTrace(y.data(), 1024, y.data());
        const int toe = 150 + static_cast<int>(seed * 7 % 800);
        EXPECT_EQ(GainEstimate(y.data(), 1024, 20, toe), plainGainEstimate(y.data(), 1024, 20, toe))
            << seed;
    }
}

// The filter keeps its designs per thread: alternating designs must each give what a
// fresh design and the plain convolution give.
TEST(ExtendedResult, FilterWithKeptDesignsEqualsAFreshDesign) {
    const Trace x = echo(1024, 21);
    struct Case {
        int type;
        float lower, upper;
    };
    const Case cases[] = {{kLowPass, 0.0f, 1000.0f},    {kLowPass, 0.0f, 300.0f},
                          {kHighPass, 200.0f, 0.0f},    {kBandPass, 300.0f, 2000.0f},
                          {kBandStop, 300.0f, 2000.0f}, {kLowPass, 0.0f, 700.0f}};
    for (int round = 0; round < 3; ++round) {
        for (const Case& c : cases) {
            const FilterPlan plan = PlanFilter(1024, 20.0f, c.lower, c.upper, c.type);
            ASSERT_TRUE(plan.filters);
            Trace h(plan.taps), expected(1024);
            ASSERT_EQ(DesignFir(plan.taps, c.type, plan.cutoffHz, c.upper, plan.fsHz, kHannWindow,
                                h.data()),
                      0);
            ConvolveFirReference(x.data(), h.data(), expected.data(), 1024 - plan.taps + 1,
                                 plan.taps, 1024);
            expectBoth(
                x, expected,
                [&](const float* in, int n, float* out) {
                    FilterTrace(in, n, out, 20.0f, c.lower, c.upper, c.type, kHannWindow);
                },
                "type " + std::to_string(c.type) + " round " + std::to_string(round));
        }
    }
}

}  // namespace
}  // namespace sondara
