// The digital filter: lengths, lag, the fs/2 limit, rejected designs and the
// vectorised convolution against the plain loop.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

#include "core/processing/Filter.h"

namespace sondara {
namespace {

struct LengthCase {
    int n;
    float dt, lower, upper;
    int type;
    int taps;
};

TEST(Filter, LengthRules) {
    const LengthCase cases[] = {
        {1024, 20, 0, 300, kLowPass, 167},     // 166 even -> 167
        {1026, 20, 0, 30, kLowPass, 511},      // bound 512 is even -> 511
        {1024, 20, 0, 30, kLowPass, 511},      // bound 511
        {1024, 20, 100, 0, kHighPass, 25},     // fs / (20 c)
        {1024, 20, 80, 0, kHighPass, 31},      // 31.25 -> 31
        {1024, 20, 125, 0, kHighPass, 19},     // 20 even -> 19 (downwards for high-pass)
        {1024, 20, 250, 900, kBandPass, 201},  // band types size on the lower edge
        {1024, 20, 0, 900, kBandStop, 511},    // lower 0 -> 0.0001 Hz -> the bound
        {3, 20, 0, 300, kLowPass, 1},          // short trace: one tap
        {1024, 20, 0, 40000, kLowPass, 1},     // above fs/2: sized before the limit
    };
    for (const LengthCase& c : cases) {
        const FilterPlan plan = PlanFilter(c.n, c.dt, c.lower, c.upper, c.type);
        EXPECT_TRUE(plan.filters);
        EXPECT_EQ(plan.taps, c.taps)
            << "n " << c.n << " type " << c.type << " lower " << c.lower << " upper " << c.upper;
    }
    const FilterPlan limited = PlanFilter(1024, 20, 0, 40000, kLowPass);
    EXPECT_EQ(limited.cutoffHz, 25000.0);
    EXPECT_EQ(limited.fsHz, 50000.0);
}

TEST(Filter, HighPassAtZeroAndNoSampleIntervalPassUnchanged) {
    EXPECT_FALSE(PlanFilter(1024, 20, 0, 300, kHighPass).filters);
    EXPECT_FALSE(PlanFilter(1024, 0, 0, 300, kLowPass).filters);
    EXPECT_FALSE(PlanFilter(1024, -5, 0, 300, kLowPass).filters);
    std::vector<float> x(64), y(64, 0.0f);
    for (int i = 0; i < 64; ++i) x[i] = static_cast<float>(std::sin(i));
    EXPECT_EQ(FilterTrace(x.data(), 64, y.data(), 20, 0, 300, kHighPass, kHannWindow), 1);
    EXPECT_EQ(y, x);
    EXPECT_EQ(FilterTrace(x.data(), 0, y.data(), 20, 0, 300, kLowPass, kHannWindow), 0);
}

TEST(Filter, LowPassLagsByHalfItsLength) {
    std::vector<float> x(1024, 0.0f), y(1024);
    x[200] = 1.0f;
    FilterTrace(x.data(), 1024, y.data(), 20, 0, 300, kLowPass, kHannWindow);
    const auto peak = std::max_element(y.begin(), y.end()) - y.begin();
    EXPECT_EQ(peak, 200 + 83);
    EXPECT_EQ(y[199], 0.0f);  // causal
}

TEST(Filter, LowPassKeepsDcAndRemovesTheHighestFrequency) {
    const int n = 1024;
    std::vector<float> h(167);
    ASSERT_EQ(DesignFir(167, kLowPass, 300, 300, 50000, kHannWindow, h.data()), 0);
    const double dcGain = std::accumulate(h.begin(), h.end(), 0.0);
    std::vector<float> dc(n, 1.0f), alt(n), y(n);
    for (int i = 0; i < n; ++i) alt[i] = i % 2 ? 1.0f : -1.0f;
    FilterTrace(dc.data(), n, y.data(), 20, 0, 300, kLowPass, kHannWindow);
    // Between the start-up and the last taps-1 input samples, which do not contribute.
    for (int i = 166; i <= n - 167; ++i) EXPECT_NEAR(y[i], dcGain, 1e-5) << i;
    EXPECT_EQ(y[n - 1], 0.0f);
    FilterTrace(alt.data(), n, y.data(), 20, 0, 300, kLowPass, kHannWindow);
    for (int i = 166; i <= n - 167; ++i) EXPECT_LT(std::fabs(y[i]), 0.01 * dcGain) << i;
}

TEST(Filter, AboveHalfTheSamplingRateIsAPureDelay) {
    std::vector<float> h(11);
    ASSERT_EQ(DesignFir(11, kLowPass, 25000, 0, 50000, kHannWindow, h.data()), 0);
    EXPECT_EQ(h[5], 1.0f);
    for (int i = 0; i < 11; ++i) {
        if (i == 5) continue;
        EXPECT_LT(std::fabs(h[i]), 1e-6f) << i;
    }
    std::vector<float> x{1, -2, 3, 5}, y(4);
    FilterTrace(x.data(), 4, y.data(), 20, 0, 40000, kLowPass, kHannWindow);
    EXPECT_EQ(y, x);
}

TEST(Filter, ShortTraceIsScaledByTheCentreTap) {
    std::vector<float> x{1, -2, 3}, y(3);
    FilterTrace(x.data(), 3, y.data(), 20, 0, 300, kLowPass, kHannWindow);
    const float pi = static_cast<float>(4.0 * std::atan(1.0));
    const float w1 = static_cast<float>(2.0 * pi * (300.0 / 50000.0));
    const double centre = static_cast<float>(w1 / static_cast<double>(pi));
    for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(y[i], static_cast<float>(x[i] * centre));
}

TEST(Filter, RejectedBandDesignLeavesTheTraceUnchanged) {
    std::vector<float> x(256), y(256);
    for (int i = 0; i < 256; ++i) x[i] = static_cast<float>(std::cos(i * 0.3));
    // Upper edge at fs/2, upper edge not above the lower one, an unknown type.
    FilterTrace(x.data(), 256, y.data(), 20, 200, 25000, kBandPass, kHannWindow);
    EXPECT_EQ(y, x);
    FilterTrace(x.data(), 256, y.data(), 20, 500, 500, kBandStop, kHannWindow);
    EXPECT_EQ(y, x);
    FilterTrace(x.data(), 256, y.data(), 20, 0, 300, 9, kHannWindow);
    EXPECT_EQ(y, x);
    // A band that can be designed does change it.
    FilterTrace(x.data(), 256, y.data(), 20, 200, 900, kBandPass, kHannWindow);
    EXPECT_NE(y, x);
}

TEST(Filter, DesignErrorCodes) {
    struct Case {
        int length, type;
        double fa, fb;
        int window, error;
    };
    const Case cases[] = {
        {11, kLowPass, 300, 0, 4, 0},
        {10, kLowPass, 300, 0, 4, 1},
        {0, kLowPass, 300, 0, 4, 1},
        {11, kLowPass, 300, 0, 8, 2},
        {10, kLowPass, 300, 0, 0, 2},  // a later test overwrites the code
        {11, 5, 300, 0, 4, 3},
        {11, kLowPass, 26000, 0, 4, 4},
        {11, kLowPass, -1, 0, 4, 4},
        {11, kBandPass, 300, 300, 4, 4},
        {11, kBandStop, 300, 25000, 4, 4},
        {11, kBandPass, 300, 24000, 4, 0},
        {11, kHighPass, 300, 0, 1, 0},  // accepted code, no window
    };
    for (const Case& c : cases) {
        std::vector<float> h(std::max(c.length, 1), 7.0f);
        EXPECT_EQ(DesignFir(c.length, c.type, c.fa, c.fb, 50000, c.window, h.data()), c.error)
            << c.length << " " << c.type << " " << c.fa << " " << c.fb << " " << c.window;
        if (c.error != 0 && c.length > 0) {
            for (float v : h) EXPECT_EQ(v, 0.0f);
        }
    }
}

TEST(Filter, DesignedTapsAreSymmetricWithTheStatedCentres) {
    const double fs = 50000, fa = 1000, fb = 5000;
    const float pi = static_cast<float>(4.0 * std::atan(1.0));
    const double w1 = static_cast<float>(2.0 * pi * (fa / fs));
    const double w2 = static_cast<float>(2.0 * pi * (fb / fs));
    const double centres[] = {w1 / pi, 1 - w1 / pi, (w2 - w1) / pi, (pi + w1 - w2) / pi};
    for (int type = 1; type <= 4; ++type) {
        std::vector<float> h(21);
        ASSERT_EQ(DesignFir(21, type, fa, fb, fs, kHannWindow, h.data()), 0);
        EXPECT_FLOAT_EQ(h[10], static_cast<float>(centres[type - 1])) << type;
        EXPECT_EQ(h[0], 0.0f) << type;  // the window starts at 0
        for (int i = 0; i < 21; ++i) EXPECT_EQ(h[i], h[20 - i]) << type << " " << i;
    }
}

TEST(Filter, HannWindowIsPeriodic) {
    std::vector<double> w(8);
    HannWindow(w.data(), 8);
    EXPECT_EQ(w[0], 0.0);
    EXPECT_NEAR(w[4], 1.0, 1e-7);
    EXPECT_NEAR(w[2], 0.5, 1e-7);
    EXPECT_GT(w[7], 0.1);  // no zero at the end
    for (int i = 1; i < 8; ++i) EXPECT_NEAR(w[i], w[8 - i], 1e-7);
}

TEST(Filter, ConvolveFirMatchesThePlainLoop) {
    std::uint32_t s = 12345;
    auto next = [&] {
        s = s * 1664525u + 1013904223u;
        return static_cast<float>((s >> 8) / 16777216.0 * 2.0 - 1.0);
    };
    struct Case {
        int n, xLength, hLength;
    };
    const Case cases[] = {{1, 1, 1},       {5, 5, 1},       {7, 3, 5},        {31, 31, 31},
                          {32, 20, 13},    {33, 33, 7},     {100, 0, 9},      {100, 100, 0},
                          {100, 150, 200}, {257, 129, 129}, {1024, 858, 167}, {1026, 516, 511},
                          {999, 999, 998}};
    for (const Case& c : cases) {
        std::vector<float> x(std::max(c.n, c.xLength)), h(std::max(c.n, c.hLength));
        for (float& v : x) v = next() * 100;
        for (float& v : h) v = next();
        std::vector<float> fast(c.n, -1.0f), ref(c.n, -2.0f);
        const std::vector<float> x0 = x, h0 = h;
        ConvolveFir(x.data(), h.data(), fast.data(), c.xLength, c.hLength, c.n);
        ConvolveFirReference(x.data(), h.data(), ref.data(), c.xLength, c.hLength, c.n);
        for (int i = 0; i < c.n; ++i)
            EXPECT_NEAR(fast[i], ref[i], 1e-6f * (1.0f + std::fabs(ref[i])))
                << "n " << c.n << " x " << c.xLength << " h " << c.hLength << " i " << i;
        EXPECT_EQ(x, x0);  // neither input is written
        EXPECT_EQ(h, h0);
    }
}

}  // namespace
}  // namespace sondara
