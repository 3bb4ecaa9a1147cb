// The time-domain operations: one table of small hand-computed cases per behaviour,
// the shared calling convention, and the integration's auxiliary routines.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "core/processing/TraceOps.h"

namespace sondara {
namespace {

using Trace = std::vector<float>;
using Op = std::function<int(const float*, int, float*)>;

struct OpCase {
    std::string name;
    Op op;
    Trace input;
    Trace expected;
    int result = 1;
};

void PrintTo(const OpCase& c, std::ostream* os) {
    *os << c.name;
}

std::string caseName(const ::testing::TestParamInfo<OpCase>& info) {
    std::string out;
    bool upper = true;
    for (char ch : info.param.name) {
        if (std::isalnum(static_cast<unsigned char>(ch))) {
            out += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(ch))) : ch;
            upper = false;
        } else {
            upper = true;
        }
    }
    return out;
}

class OpTable : public ::testing::TestWithParam<OpCase> {};

TEST_P(OpTable, GivesTheExpectedSamples) {
    const OpCase& c = GetParam();
    Trace out(c.input.size(), -999.0f);
    EXPECT_EQ(c.op(c.input.data(), static_cast<int>(c.input.size()), out.data()), c.result);
    ASSERT_EQ(out.size(), c.expected.size());
    for (std::size_t i = 0; i < out.size(); ++i)
        EXPECT_NEAR(out[i], c.expected[i], 1e-5 * (1.0 + std::fabs(c.expected[i])))
            << "sample " << i;
}

Op amplify(float f, int s, int law) {
    return [=](const float* x, int n, float* y) { return AmplifyTrace(x, n, y, f, s, law); };
}
Op removeDc(int partial, int s) {
    return [=](const float* x, int n, float* y) { return RemoveDcTrace(x, n, y, partial, s); };
}
Op smooth(int m) {
    return [=](const float* x, int n, float* y) { return SmoothTrace(x, n, y, m); };
}
Op linearZero(int toe, int mode, int s) {
    return [=](const float* x, int n, float* y) { return LinearZeroTrace(x, n, y, toe, mode, s); };
}
Op nonlinearZero(int toe, int mode, int s) {
    return
        [=](const float* x, int n, float* y) { return NonlinearZeroTrace(x, n, y, toe, mode, s); };
}
Op rotate(int partial, int s, float angle, float scale) {
    return [=](const float* x, int n, float* y) {
        return RotateTrace(x, n, y, partial, s, angle, scale);
    };
}
Op shift(int d, float v, int partial, int s, int e) {
    return
        [=](const float* x, int n, float* y) { return ShiftTrace(x, n, y, d, v, partial, s, e); };
}
Op localScale(int f, int l, float factor) {
    return [=](const float* x, int n, float* y) { return LocalScaleTrace(x, n, y, f, l, factor); };
}
Op frontZero(int e) {
    return [=](const float* x, int n, float* y) { return FrontZeroTrace(x, n, y, e); };
}
Op backZero(int s) {
    return [=](const float* x, int n, float* y) { return BackZeroTrace(x, n, y, s); };
}
const Op differentiate = [](const float* x, int n, float* y) {
    return DifferentiateTrace(x, n, y);
};
const Op simpleIntegrate = [](const float* x, int n, float* y) {
    return SimpleIntegrateTrace(x, n, y);
};
const Op reverse = [](const float* x, int n, float* y) { return ReverseTrace(x, n, y); };

const Trace kRamp{1, 2, 3, 4};

INSTANTIATE_TEST_SUITE_P(
    Amplify, OpTable,
    ::testing::Values(
        OpCase{"exponential factor 1 is the identity", amplify(1, 0, 0), kRamp, kRamp},
        OpCase{"exponential doubles per sample", amplify(16, 0, 0), {1, 1, 1, 1}, {1, 2, 4, 8}},
        OpCase{"linear factor 1 rises towards 2",
               amplify(1, 0, 1),
               {1, 1, 1, 1},
               {1, 1.25f, 1.5f, 1.75f}},
        OpCase{"linear from a start", amplify(2, 2, 1), {5, 5, 1, 1}, {5, 5, 1, 2}},
        OpCase{"negative start counts from 0",
               amplify(1, -7, 1),
               {1, 1, 1, 1},
               {1, 1.25f, 1.5f, 1.75f}},
        OpCase{"start at the end changes nothing", amplify(9, 4, 1), kRamp, kRamp},
        OpCase{"no exponential gain to zero", amplify(0, 0, 0), kRamp, kRamp}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    RemoveDc, OpTable,
    ::testing::Values(
        OpCase{"whole trace", removeDc(0, 3), {1, 2, 3, 6}, {-2, -1, 0, 3}},
        OpCase{"from a start", removeDc(1, 2), {1, 2, 3, 5}, {1, 2, -1, 1}},
        OpCase{"one sample is its own mean", removeDc(1, 3), {1, 2, 3, 5}, {1, 2, 3, 0}},
        OpCase{"start beyond the trace", removeDc(1, 4), kRamp, kRamp},
        OpCase{"negative start is the whole trace", removeDc(1, -2), {1, 2, 3, 6}, {-2, -1, 0, 3}}),
    caseName);

Trace squares(int n) {
    Trace t(n);
    for (int i = 0; i < n; ++i) t[i] = static_cast<float>(i * i);
    return t;
}
Trace smoothedSquares(int n, int m) {
    Trace t = squares(n);
    for (int i = 20; i < n - m; ++i) {
        double s = 0;
        for (int k = 0; k < m; ++k) s += (i + k) * (i + k);
        t[i] = static_cast<float>(s / m);
    }
    return t;
}

INSTANTIATE_TEST_SUITE_P(
    Smooth, OpTable,
    ::testing::Values(
        OpCase{"window of 3 from sample 20", smooth(3), squares(30), smoothedSquares(30, 3)},
        OpCase{"one point is the identity", smooth(1), squares(30), squares(30)},
        OpCase{"zero points change nothing", smooth(0), squares(30), squares(30)},
        OpCase{"negative window changes nothing", smooth(-4), squares(30), squares(30)},
        OpCase{"20 + m samples change nothing", smooth(5), squares(25), squares(25)},
        OpCase{"21 + m samples smooth sample 20 only", smooth(5), squares(26),
               smoothedSquares(26, 5)}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Simple, OpTable,
    ::testing::Values(OpCase{"first difference", differentiate, {1, 4, 9, 16}, {1, 3, 5, 7}},
                      OpCase{"reverse", reverse, {1, -2, 0, 3}, {-1, 2, 0, -3}},
                      // Constant 2: 2*i/(i+1) before the trend to the last sample (1.5) is removed.
                      OpCase{"simple integration of a constant",
                             simpleIntegrate,
                             {2, 2, 2, 2},
                             {2, 1 - 0.375f, 4.0f / 3 - 0.75f, 1.5f - 1.125f}},
                      OpCase{"simple integration of one sample", simpleIntegrate, {7}, {7}},
                      OpCase{"front zero", frontZero(2), kRamp, {0, 0, 3, 4}},
                      OpCase{"front zero negative", frontZero(-1), kRamp, kRamp},
                      OpCase{"front zero beyond the end", frontZero(99), kRamp, {0, 0, 0, 0}},
                      OpCase{"back zero", backZero(2), kRamp, {1, 2, 0, 0}},
                      OpCase{"back zero negative is all", backZero(-5), kRamp, {0, 0, 0, 0}},
                      OpCase{"back zero at the end", backZero(4), kRamp, kRamp}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    LocalScale, OpTable,
    ::testing::Values(OpCase{"inclusive range", localScale(1, 2, 10), kRamp, {1, 20, 30, 4}},
                      OpCase{"first equals last", localScale(2, 2, 10), kRamp, kRamp},
                      OpCase{"last beyond the trace", localScale(1, 100, 2), kRamp, {1, 4, 6, 8}},
                      OpCase{"negative first", localScale(-3, 1, 2), kRamp, {2, 4, 3, 4}},
                      OpCase{"first after last", localScale(3, 1, 2), kRamp, kRamp}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Zeroing, OpTable,
    ::testing::Values(
        OpCase{"linear whole trace", linearZero(0, 0, 0), {0, 0, 0, 4}, {0, -1, -2, 1}},
        OpCase{"linear from start", linearZero(0, 1, 2), {5, 5, 0, 4}, {5, 5, 0, 2}},
        OpCase{"linear from the toe", linearZero(2, 2, 0), {5, 5, 0, 4}, {5, 5, 0, 2}},
        OpCase{"linear toe at the end", linearZero(4, 2, 0), {5, 5, 0, 4}, {5, 5, 0, 4}},
        OpCase{"linear negative toe is the whole trace",
               linearZero(-3, 2, 0),
               {0, 0, 0, 4},
               {0, -1, -2, 1}},
        OpCase{"linear unknown mode is the whole trace",
               linearZero(2, 7, 2),
               {0, 0, 0, 4},
               {0, -1, -2, 1}},
        OpCase{
            "quadratic whole trace", nonlinearZero(0, 0, 0), {0, 0, 0, 4}, {0, -0.25f, -1, 1.75f}},
        OpCase{"quadratic from start", nonlinearZero(0, 1, 2), {5, 5, 0, 4}, {5, 5, 0, 3}}),
    caseName);

const float kHalfPi = static_cast<float>(std::numbers::pi / 2);
const float kLimitedAngle = static_cast<float>(static_cast<double>(kHalfPi) - 0.001);
const double kSteep = std::tan(static_cast<double>(kLimitedAngle)) * 0.55;

INSTANTIATE_TEST_SUITE_P(
    Rotate, OpTable,
    ::testing::Values(OpCase{"45 degrees whole trace",
                             rotate(0, 3, std::numbers::pi_v<float> / 4, 1),
                             {0, 0, 0, 0},
                             {0, 0.55f, 1.1f, 1.65f}},
                      OpCase{"scaled ramp from a start",
                             rotate(1, 2, std::numbers::pi_v<float> / 4, 2),
                             {1, 1, 1, 1},
                             {1, 1, 1, 2.1f}},
                      OpCase{"start beyond the trace", rotate(1, 4, 1, 1), kRamp, kRamp},
                      OpCase{"pi/2 uses pi/2 - 0.001",
                             rotate(0, 0, kHalfPi, 1),
                             {0, 0, 0},
                             {0, static_cast<float>(kSteep), static_cast<float>(2 * kSteep)}},
                      OpCase{"minus pi/2 uses -(pi/2 - 0.001)",
                             rotate(0, 0, -2.0f, 1),
                             {0, 0, 0},
                             {0, static_cast<float>(-kSteep), static_cast<float>(-2 * kSteep)}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Shift, OpTable,
    ::testing::Values(
        OpCase{"later by one", shift(1, 0, 0, 0, 0), kRamp, {1, 1, 2, 3}},
        OpCase{"earlier by one with offset",
               shift(-1, 0.5f, 0, 0, 0),
               kRamp,
               {2.5f, 3.5f, 4.5f, 4.5f}},
        OpCase{"offset only", shift(0, 1, 0, 0, 0), kRamp, {2, 3, 4, 5}},
        OpCase{"inside a range", shift(1, 10, 1, 1, 3), kRamp, {1, 12, 12, 4}},
        OpCase{"beyond the range length fills it", shift(10, 0, 0, 0, 0), kRamp, {1, 1, 1, 1}},
        OpCase{"before the range start fills it", shift(-10, 0, 1, 1, 3), kRamp, {1, 3, 3, 4}},
        OpCase{"empty range", shift(1, 5, 1, 2, 2), kRamp, kRamp},
        OpCase{"range end beyond the trace", shift(1, 5, 1, 1, 5), kRamp, kRamp, 0},
        OpCase{"negative range start", shift(1, 5, 1, -1, 2), kRamp, kRamp, 0},
        OpCase{"range end before its start", shift(1, 5, 1, 3, 1), kRamp, kRamp, 0}),
    caseName);

// ---- the calling convention -------------------------------------------------------------

struct NamedOp {
    const char* name;
    Op op;
};

std::vector<NamedOp> everyOp() {
    return {
        {"amplify", amplify(3, 2, 0)},
        {"removedc", removeDc(1, 5)},
        {"smooth", smooth(4)},
        {"integrate",
         [](const float* x, int n, float* y) { return IntegrateTrace(x, n, y, 3, 30); }},
        {"simpleintegrate", simpleIntegrate},
        {"differentiate", differentiate},
        {"rotate", rotate(1, 4, 0.3f, 2)},
        {"linearzero", linearZero(20, 2, 0)},
        {"nonlinearzero", nonlinearZero(0, 1, 7)},
        {"frontzero", frontZero(6)},
        {"backzero", backZero(30)},
        {"localscale", localScale(3, 17, -2)},
        {"shift", shift(-3, 0.25f, 1, 5, 35)},
        {"reverse", reverse},
    };
}

TEST(TraceOps, InPlaceEqualsSeparateOutputAndInputStaysUntouched) {
    Trace x(40);
    for (int i = 0; i < 40; ++i) x[i] = static_cast<float>(std::sin(i * 0.7) * 3 + i * 0.1);
    for (const NamedOp& op : everyOp()) {
        const Trace input = x;
        Trace out(40, -1.0f), inPlace = x;
        op.op(input.data(), 40, out.data());
        op.op(inPlace.data(), 40, inPlace.data());
        EXPECT_EQ(out, inPlace) << op.name;
        EXPECT_EQ(input, x) << op.name;
        EXPECT_NE(out, x) << op.name << " should change this trace";
    }
}

TEST(TraceOps, EmptyTraceReturnsZeroAndWritesNothing) {
    for (const NamedOp& op : everyOp()) {
        float in[1] = {5.0f}, out[1] = {-1.0f};
        EXPECT_EQ(op.op(in, 0, out), 0) << op.name;
        EXPECT_EQ(op.op(in, -3, out), 0) << op.name;
        EXPECT_EQ(out[0], -1.0f) << op.name;
    }
}

TEST(TraceOps, DifferentiateThenSimpleIntegrateDoesNotRestore) {
    Trace x{3, 1, 4, 1, 5, 9, 2, 6};
    Trace y(x.size());
    DifferentiateTrace(x.data(), 8, y.data());
    SimpleIntegrateTrace(y.data(), 8, y.data());
    EXPECT_NE(y, x);
}

// ---- integration ------------------------------------------------------------------------

TEST(Integrate, WorkedExampleWithoutHead) {
    // Weighted sums 5, 11, 16 divided by 2, 3, 4 -> [0, 2.5, 3.667, 4, 4]; the tail line
    // from sample 0 brings the end to 0 -> [0, 1.5, 1.667, 1, 0]; the peak 1.667 is
    // below half of 6, so the level doubles it once.
    const Trace x{0, 6, 6, 6, 0};
    Trace y(5);
    ASSERT_EQ(IntegrateTrace(x.data(), 5, y.data(), -1, 4), 1);
    const Trace expected{0, 3, 10.0f / 3, 2, 0};
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(y[i], expected[i], 1e-5) << i;
}

TEST(Integrate, TailBaselineOfTheWorkedExample) {
    const Trace y{0, 2.5f, 11.0f / 3, 4, 4};
    const TailLine t = TailBaseline(y.data(), 5);
    EXPECT_EQ(t.d, 0);
    EXPECT_EQ(t.a1, 0.0f);
    EXPECT_FLOAT_EQ(t.a2, std::numbers::pi_v<float> / 4);
}

TEST(Integrate, TailBaselineKeepsALevelWhenTheStretchDipsBelowTheEnd) {
    // The last stretch on one side of zero (samples 1..4) goes beyond the end's level
    // at sample 2, so the line runs from its lowest point (sample 3) to that level:
    // only a2, bringing y[4] = 5 to y[3] = 3.
    const Trace y{-1, 2, 6, 3, 5};
    const TailLine t = TailBaseline(y.data(), 5);
    EXPECT_EQ(t.d, 3);
    EXPECT_EQ(t.a1, 0.0f);
    EXPECT_FLOAT_EQ(t.a2, static_cast<float>(std::atan(2.0)));
}

TEST(Integrate, ShortTracesStayAsTheyAre) {
    Trace one{4}, two{4, -2}, y1(1), y2(2);
    EXPECT_EQ(IntegrateTrace(one.data(), 1, y1.data(), 0, 0), 1);
    EXPECT_EQ(IntegrateTrace(two.data(), 2, y2.data(), 0, 1), 1);
    EXPECT_EQ(y1, one);
    EXPECT_EQ(y2, two);
}

TEST(Integrate, TraceThatIntegratesToZeroEnds) {
    // Every weighted sum x[i-1] + 4x[i] + x[i+1] is 0: the input has a peak, the result
    // none, and the level step must not loop for ever.
    const Trace x{1, 0, -1, 4, -15};
    Trace y(5, 9.0f);
    ASSERT_EQ(IntegrateTrace(x.data(), 5, y.data(), 0, 4), 1);
    for (float v : y) EXPECT_EQ(v, 0.0f);
}

Trace echo(int n) {
    Trace x(n);
    for (int i = 0; i < n; ++i) {
        const double t = i / static_cast<double>(n);
        x[i] = static_cast<float>(std::exp(-t * 12) * std::sin(t * 90) +
                                  (i > 300 && i < 330 ? 0.05 : 0.0));
    }
    return x;
}

TEST(Integrate, GainFromTheHeadLeavesEarlierSamplesToTheLevelOnly) {
    const Trace x = echo(512);
    Trace withGain(512), noGain(512);
    IntegrateTrace(x.data(), 512, withGain.data(), 40, 400);
    IntegrateTrace(x.data(), 512, noGain.data(), -1, 400);  // no head: no gain
    // Before the head both differ only by the power-of-two level.
    int ref = 1;
    while (noGain[ref] == 0.0f) ++ref;
    const double ratio = withGain[ref] / noGain[ref];
    EXPECT_EQ(ratio, std::exp2(std::round(std::log2(ratio))));
    for (int i = 0; i < 40; ++i)
        EXPECT_FLOAT_EQ(withGain[i], static_cast<float>(noGain[i] * ratio)) << i;
    // After the head the gain of at least 3 lifts the late part relative to the early.
    EXPECT_GT(std::fabs(withGain[450] / withGain[60]), 2.0 * std::fabs(noGain[450] / noGain[60]));
    // The level brings the peak to at least half the input's.
    EXPECT_GE(PeakAbs(withGain.data(), 512), 0.5f * PeakAbs(x.data(), 512));
}

TEST(Integrate, GainEstimateIsAtLeastThreeAndEndsOnHopelessTails) {
    Trace y = echo(512);
    EXPECT_EQ(GainEstimate(y.data(), 512, 10, 2), 3);     // toe too early
    EXPECT_EQ(GainEstimate(y.data(), 512, 600, 400), 3);  // head outside the trace
    const int normal = GainEstimate(y.data(), 512, 10, 400);
    EXPECT_GE(normal, 3);
    // A late region that is all zero: no factor lifts it, the search must stop.
    for (int i = 300; i < 512; ++i) y[i] = 0.0f;
    const int zeroTail = GainEstimate(y.data(), 512, 10, 400);
    EXPECT_GE(zeroTail, 3);
    EXPECT_LE(zeroTail, 1000000);
    // Head after the toe: the ratio is negative, the search must stop as well.
    EXPECT_GE(GainEstimate(echo(512).data(), 512, 450, 200), 3);
    // Toe beyond the trace: the scan starts inside it.
    EXPECT_GE(GainEstimate(echo(512).data(), 512, 10, 5000), 3);
}

TEST(Integrate, ExpGainAppliesFromHeadAndHoldsAfterToe) {
    Trace y(10, 1.0f);
    const float g = static_cast<float>(std::exp(8.0));  // rho = ln g / (10 - 2) = 1
    ExpGain(y.data(), 10, 2, 6, g, GainMode::Apply);
    for (int i = 0; i < 10; ++i) {
        const double expected = i < 2 ? 1.0 : std::exp(std::min(i, 6) - 2.0);
        EXPECT_NEAR(y[i], expected, 1e-5 * expected) << i;
    }
}

TEST(Integrate, ExpGainMeasuresLateAgainstEarlyPeak) {
    // h = 0, t = 8, q = 2: early samples 0..2, late samples 6.. (gain 1 here).
    Trace y{1, 4, 2, 0, 9, 0, 3, 5, 2, 1};
    EXPECT_FLOAT_EQ(ExpGain(y.data(), 10, 0, 8, 1.0f, GainMode::Measure), 5.0f / 4.0f);
    Trace zeros(10, 0.0f);
    EXPECT_FLOAT_EQ(ExpGain(zeros.data(), 10, 0, 8, 1.0f, GainMode::Measure), 0.2f);
    EXPECT_EQ(y[1], 4.0f);  // measuring writes nothing
}

TEST(Integrate, ExpGainOffersQuietEarlySamplesToTheLatePeak) {
    // h = 0, t = 8, q = 2: sample 1 (3) does not raise the early peak 4 and outweighs
    // every late sample (at most 1), so the ratio is 3/4 rather than 1/4.
    Trace y{4, 3, 0, 0, 9, 0, 1, 0.5f, 0, 0};
    EXPECT_FLOAT_EQ(ExpGain(y.data(), 10, 0, 8, 1.0f, GainMode::Measure), 3.0f / 4.0f);
    // A sample that raises the early peak is not offered: rising early samples leave
    // the late peak alone.
    Trace rising{1, 2, 4, 0, 9, 0, 1, 0.5f, 0, 0};
    EXPECT_FLOAT_EQ(ExpGain(rising.data(), 10, 0, 8, 1.0f, GainMode::Measure), 1.0f / 4.0f);
}

TEST(Integrate, GainSearchCountsTheQuietEarlySamples) {
    // h = 0, t = 80, q = 20. The head sample (10) is followed by a long early stretch at
    // 8 and a small late tail; the extremes near the toe (+-0.05) start the search at
    // g = 2.5. The early stretch, offered to the late peak, gives a ratio near 0.8, so
    // the factor falls below 1 at once and ends at the floor of 3. Without it only the
    // tail counts (ratio near 0.02) and the factor climbs far past 3.
    Trace y(100, 0.0f);
    y[0] = 10.0f;
    for (int i = 1; i <= 20; ++i) y[i] = 8.0f;
    for (int i = 60; i < 100; ++i) y[i] = 0.1f;
    y[70] = 0.15f;
    y[68] = 0.05f;
    EXPECT_EQ(GainEstimate(y.data(), 100, 0, 80), 3);
}

TEST(Integrate, PeakAbs) {
    const Trace y{1, -7, 3};
    EXPECT_EQ(PeakAbs(y.data(), 3), 7.0f);
    EXPECT_EQ(PeakAbs(y.data(), 0), 0.0f);
}

}  // namespace
}  // namespace sondara
