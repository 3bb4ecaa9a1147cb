#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/analysis/Correlation.h"

namespace sondara {
namespace {

// A single positive half-sine over samples from .. to-1, zero elsewhere.
std::vector<float> halfSine(int n, int from, int to, float peak = 1.0f) {
    std::vector<float> x(n, 0.0f);
    for (int i = from; i < to; ++i)
        x[i] =
            peak * static_cast<float>(std::sin(std::numbers::pi * (i - from + 0.5) / (to - from)));
    return x;
}

// Small jitter with crossings at 5 and 8 (3 apart), then a positive lobe 8..19, a
// negative lobe 20..31, a positive lobe 32..43 and silence: the lobe ends recorded
// are 20 and 32, the start is the merged crossing at 8.
std::vector<float> threeLobes(int n) {
    std::vector<float> x(n, 0.0f);
    for (int i = 0; i < 5; ++i) x[i] = 0.01f;
    for (int i = 5; i < 8; ++i) x[i] = -0.01f;
    for (int lobe = 0; lobe < 3; ++lobe) {
        const int from = 8 + 12 * lobe;
        const float sign = lobe % 2 ? -1.0f : 1.0f;
        for (int i = from; i < from + 12; ++i)
            x[i] = sign * static_cast<float>(std::sin(std::numbers::pi * (i - from + 0.5) / 12));
    }
    return x;
}

TEST(PulseTemplate, WindowChoice) {
    struct Row {
        int n, start, end;
        const char* why;
    };
    const Row rows[] = {
        {400, 8, 32, "two lobes from the merged crossing fit between n/40 and n/3"},
        {60, 8, 20, "two lobes exceed n/3, the first lobe alone fits"},
        {1000, 0, 100, "both windows are shorter than n/40: the first tenth"},
    };
    for (const Row& r : rows) {
        const auto x = threeLobes(r.n);
        const PulseTemplate t = FindPulseTemplate(x.data(), r.n);
        EXPECT_EQ(t.start, r.start) << r.why;
        EXPECT_EQ(t.end, r.end) << r.why;
    }
}

TEST(PulseTemplate, NoLobeFallsBackToTheFirstTenth) {
    // One pulse and silence: nothing reaches a fifteenth of the peak after a lobe end.
    const auto x = halfSine(400, 10, 30);
    const PulseTemplate t = FindPulseTemplate(x.data(), 400);
    EXPECT_EQ(t.start, 0);
    EXPECT_EQ(t.end, 40);
    const std::vector<float> silent(50, 0.0f);
    const PulseTemplate s = FindPulseTemplate(silent.data(), 50);
    EXPECT_EQ(s.start, 0);
    EXPECT_EQ(s.end, 5);
}

TEST(CorrelateWithPulse, AutocorrelationPeaksAtOneOnTheTemplate) {
    const int n = 400;
    const auto x = halfSine(n, 10, 30);  // template [0, 40) holds all the energy
    std::vector<float> out(n);
    ASSERT_EQ(CorrelateWithPulse(x.data(), x.data(), out.data(), n), 1);
    EXPECT_NEAR(out[20], 1.0f, 1e-6);  // centred on its own position: c + h
    const auto peak = std::max_element(out.begin(), out.end());
    EXPECT_EQ(peak - out.begin(), 20);
    for (float v : out) ASSERT_LE(std::fabs(v), 1.0f + 1e-6f);
}

TEST(CorrelateWithPulse, FindsTheEchoInTheSecondTrace) {
    const int n = 400, delay = 150;
    const auto x = halfSine(n, 10, 30);
    auto y = halfSine(n, 10 + delay, 30 + delay, 0.5f);  // a weaker, later copy
    std::vector<float> out(n);
    ASSERT_EQ(CorrelateWithPulse(x.data(), y.data(), out.data(), n), 1);
    const auto peak = std::max_element(out.begin(), out.end());
    EXPECT_EQ(peak - out.begin(), 20 + delay);
    EXPECT_NEAR(*peak, 1.0f, 1e-6);  // normalised by both energies
}

TEST(CorrelateWithPulse, ShortSecondTraceInPlaceAndEmpty) {
    const int n = 300;
    const auto x = threeLobes(n);
    auto y = halfSine(200, 60, 90);
    std::vector<float> padded(y);
    padded.resize(n, 0.0f);
    std::vector<float> got(n), want(n);
    CorrelateWithPulse(x.data(), y.data(), got.data(), n, 200);
    CorrelateWithPulse(x.data(), padded.data(), want.data(), n);
    EXPECT_EQ(got, want);
    std::vector<float> inplace = padded;
    CorrelateWithPulse(x.data(), inplace.data(), inplace.data(), n);
    EXPECT_EQ(inplace, want);
    float z = 3.0f;
    EXPECT_EQ(CorrelateWithPulse(&z, &z, &z, 0), 0);
    EXPECT_EQ(z, 3.0f);
}

TEST(AverageTraces, MeanOfSamplesAndRanges) {
    const std::vector<float> a{1, 2, 3}, b{3, 4, 5}, c{2, 0, -2};
    const AverageSource src[] = {
        {a.data(), 3, 6.0f, -3.0f}, {b.data(), 3, 3.0f, 0.0f}, {c.data(), 3, 0.0f, -6.0f}};
    std::vector<float> out(3);
    float hi = 0, lo = 0;
    ASSERT_EQ(AverageTraces(src, out.data(), 3, &hi, &lo), 1);
    EXPECT_EQ(out, (std::vector<float>{2, 2, 2}));
    EXPECT_FLOAT_EQ(hi, 3.0f);
    EXPECT_FLOAT_EQ(lo, -3.0f);
}

TEST(AverageTraces, MismatchedOrMissingTraceGivesZeros) {
    const std::vector<float> a(1024, 1.0f), longer(2048, 1.0f);
    const AverageSource mixed[] = {{a.data(), 1024, 1, -1},
                                   {a.data(), 1024, 1, -1},
                                   {a.data(), 1024, 1, -1},
                                   {longer.data(), 2048, 1, -1}};
    const AverageSource missing[] = {{a.data(), 1024, 1, -1}, {nullptr, 0, 0, 0}};
    for (auto list :
         {std::span<const AverageSource>(mixed), std::span<const AverageSource>(missing)}) {
        std::vector<float> out(1024, 9.0f);
        float hi = 9, lo = 9;
        EXPECT_EQ(AverageTraces(list, out.data(), 1024, &hi, &lo), 0);
        for (float v : out) ASSERT_EQ(v, 0.0f);
        EXPECT_EQ(hi, 0.0f);
        EXPECT_EQ(lo, 0.0f);
    }
    float out = 9, hi = 9, lo = 9;
    EXPECT_EQ(AverageTraces({}, &out, 1, &hi, &lo), 0);
    EXPECT_EQ(out, 9.0f);  // an empty list shows nothing
}

}  // namespace
}  // namespace sondara
