// The pile simulator against closed forms and the physics of reflections.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "core/sim/PileSimulator.h"

namespace sondara {
namespace {

// A bare pile in air: the reference whose head response is known in closed form.
PileSpec barePile(double length, double speed, ToeCondition toe, int sensor) {
    PileSpec s;
    s.length = length;
    s.waveSpeed = speed;
    s.diameter = 600;
    s.soil.shaftVs = 0.0;
    s.soil.toe = toe;
    s.sensorType = sensor;
    s.sampleInterval = 20.0;
    s.hammerMs = 0.8;
    s.gain = 8;
    return s;
}

double lsb() {
    return 2.0 * kAdcRangeMv / (1 << kAdcBits);
}

// Head velocity of a uniform pile without soil: the blow, then each round trip
// doubled at the free head and multiplied by the toe's reflection r (+1 free, -1 fixed).
double closedFormVelocity(const PileSpec& s, double travel, double r, double t) {
    const double z = pileImpedance(s);
    const double th = s.hammerMs * 1e-3;
    auto force = [&](double u) {
        return (u >= 0 && u <= th) ? s.hammerForce * std::sin(std::numbers::pi * u / th) : 0.0;
    };
    double v = force(t);
    double rk = 1.0;
    for (int k = 1; 2.0 * k * travel <= t; ++k) {
        rk *= r;
        v += 2.0 * rk * force(t - 2.0 * k * travel);
    }
    return v / z;
}

// What the instrument records of that velocity: the mean over each sample interval
// (velocity sensor) or the change over it (acceleration sensor).
std::vector<double> closedFormTrace(const PileSpec& s, const SimTruth& truth, double r) {
    const double dt = s.sampleInterval * 1e-6;
    auto v = [&](double t) { return closedFormVelocity(s, truth.travelTime, r, t); };
    std::vector<double> out(s.samples);
    for (int k = 0; k < s.samples; ++k) {
        double a = (k - truth.headIndex - 0.5) * dt, b = a + dt;
        if (s.sensorType == 0) {
            out[k] = (v(b) - v(a)) / dt;
        } else {
            const int n = 400;  // Simpson
            double h = dt / n, sum = v(a) + v(b);
            for (int i = 1; i < n; ++i) sum += (i % 2 ? 4.0 : 2.0) * v(a + i * h);
            out[k] = sum * h / 3.0 / dt;
        }
        out[k] *= truth.mvPerUnit;
    }
    return out;
}

// Delay (samples, sub-sample by a parabola through the best match) up to maxLag after
// which the blow x[head..end) comes back most strongly, and the sign it comes back with.
double blowDelay(const std::vector<float>& x, int head, int end, int maxLag, int& sign) {
    const int n = std::min(static_cast<int>(x.size()), end + maxLag + 1);
    std::vector<double> corr(n, 0.0);
    int best = -1;
    for (int lag = end - head; lag + end <= n; ++lag) {
        for (int i = head; i < end; ++i) corr[lag] += double(x[i]) * x[i + lag];
        if (best < 0 || std::fabs(corr[lag]) > std::fabs(corr[best])) best = lag;
    }
    sign = corr[best] > 0 ? 1 : -1;
    double a = std::fabs(corr[best - 1]), b = std::fabs(corr[best]), c = std::fabs(corr[best + 1]);
    return best + 0.5 * (a - c) / (a - 2 * b + c);
}

TEST(PileSimulator, UniformPileMatchesClosedFormAndEchoesAtTwoLOverC) {
    struct Case {
        double length, speed;
        ToeCondition toe;
        int sensor;
        double r;
    };
    const Case cases[] = {
        {10.0, 4000.0, ToeCondition::Free, 1, 1.0},  {10.0, 4000.0, ToeCondition::Fixed, 1, -1.0},
        {12.34, 3850.0, ToeCondition::Free, 0, 1.0}, {12.34, 3850.0, ToeCondition::Fixed, 0, -1.0},
        {27.9, 4130.0, ToeCondition::Free, 1, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " m, " << c.speed << " m/s, r " << c.r
                                        << ", sensor " << c.sensor);
        PileSpec s = barePile(c.length, c.speed, c.toe, c.sensor);
        if (c.length > 20) s.sampleInterval = 40.0;
        SimulatedTrace tr = simulatePile(s, 7);
        ASSERT_TRUE(tr.ok()) << tr.error;
        ASSERT_EQ(static_cast<int>(tr.samples.size()), s.samples);

        const double dt = s.sampleInterval * 1e-6;
        const double exactEcho = tr.truth.headIndex + 2.0 * c.length / c.speed / dt;
        EXPECT_LE(std::fabs(tr.truth.travelTime - c.length / c.speed),
                  dt / 8);  // half an internal step
        EXPECT_LE(std::fabs(tr.truth.toeIndex - exactEcho), 1.0);

        // The whole trace, every echo included.
        std::vector<double> ref = closedFormTrace(s, tr.truth, c.r);
        double peak = 0.0;
        for (double x : ref) peak = std::max(peak, std::fabs(x));
        for (int k = 0; k < s.samples; ++k)
            ASSERT_NEAR(tr.samples[k], ref[k], 0.003 * peak + lsb()) << "sample " << k;

        // The toe echo found on the trace itself, by matching the blow: its delay and sign.
        const int blowEnd =
            tr.truth.headIndex + static_cast<int>(std::ceil(s.hammerMs * 1e-3 / dt)) + 2;
        int sign = 0;
        const int firstEchoOnly = static_cast<int>(1.5 * (exactEcho - tr.truth.headIndex));
        double echo = tr.truth.headIndex +
                      blowDelay(tr.samples, tr.truth.headIndex, blowEnd, firstEchoOnly, sign);
        EXPECT_LE(std::fabs(echo - exactEcho), 1.0) << "echo begins at " << echo;
        EXPECT_EQ(sign, c.r > 0 ? 1 : -1);
        // Nothing but the blow before it (the grid is at most a quarter sample off),
        // and silence before the blow.
        for (int k = blowEnd; k + 0.5 <= exactEcho - 0.25; ++k)
            ASSERT_EQ(tr.samples[k], 0.0f) << "sample " << k;
        for (int k = 0; k < tr.truth.headIndex; ++k) ASSERT_EQ(tr.samples[k], 0.0f);
    }
}

// Difference between a pile with one defect and the same pile intact: only the
// defect's reflections remain, beginning at the truth's index.
TEST(PileSimulator, EachDefectReflectsWithItsSignWhereTheTruthSaysItBegins) {
    struct Case {
        DefectKind kind;
        double depth, length, severity;
        int sign;  // of the first reflection on a velocity trace
    };
    const Case cases[] = {
        {DefectKind::Necking, 5.0, 1.5, 0.3, +1},
        {DefectKind::Bulging, 5.0, 1.5, 0.3, -1},
        {DefectKind::Crack, 6.0, 0.03, 0.9, +1},
        {DefectKind::Break, 6.0, 0.2, 0.97, +1},
        {DefectKind::SoilInclusion, 4.0, 0.8, 0.4, +1},
        {DefectKind::Segregation, 4.0, 1.5, 0.25, +1},
        {DefectKind::EnlargedBase, 0.0, 1.5, 0.6, -1},
    };
    PileSpec intact;
    intact.length = 14.0;
    intact.waveSpeed = 4000.0;
    intact.diameter = 600;
    intact.sensorType = 1;
    intact.hammerMs = 0.5;
    intact.gain = 8;
    intact.soil.shaftVs = 120.0;
    SimulatedTrace ref = simulatePile(intact, 1);
    ASSERT_TRUE(ref.ok()) << ref.error;
    const double dt = intact.sampleInterval * 1e-6;
    const int halfPulse = static_cast<int>(std::ceil(intact.hammerMs * 1e-3 / dt / 2));

    for (const Case& c : cases) {
        SCOPED_TRACE(defectKey(c.kind));
        PileSpec s = intact;
        s.defects.push_back({c.kind, c.depth, c.length, c.severity});
        SimulatedTrace tr = simulatePile(s, 1);
        ASSERT_TRUE(tr.ok()) << tr.error;
        ASSERT_EQ(tr.truth.defects.size(), 1u);
        const SimDefectTruth& d = tr.truth.defects[0];
        EXPECT_EQ(d.kind, c.kind);
        double depth = c.kind == DefectKind::EnlargedBase ? s.length - c.length : c.depth;
        EXPECT_DOUBLE_EQ(d.depth, depth);
        EXPECT_LE(std::fabs(d.index - (tr.truth.headIndex + 2.0 * depth / s.waveSpeed / dt)), 1.0);

        std::vector<float> diff(tr.samples.size());
        for (std::size_t i = 0; i < diff.size(); ++i) diff[i] = tr.samples[i] - ref.samples[i];
        const double quiet = 0.002 * ref.truth.peakMv + 2 * lsb();
        for (int i = 0; i < d.index - 1; ++i)
            ASSERT_LE(std::fabs(diff[i]), quiet) << "sample " << i;
        // The first lobe: its largest magnitude and its sign.
        int at = d.index - 1;
        for (int i = d.index - 1; i <= d.index + halfPulse + 1; ++i)
            if (std::fabs(diff[i]) > std::fabs(diff[at])) at = i;
        EXPECT_GT(std::fabs(diff[at]), 0.03 * ref.truth.peakMv) << "too weak at " << at;
        EXPECT_EQ(diff[at] > 0 ? 1 : -1, c.sign) << "lobe at " << at << " = " << diff[at];
    }
}

TEST(PileSimulator, ToeConditionsGiveTheSignOfTheirEcho) {
    struct Case {
        ToeCondition toe;
        double vs, density;
        int sign;
    };
    const Case cases[] = {
        {ToeCondition::Free, 0, 1800, +1},
        {ToeCondition::Soil, 100, 1700, +1},   // soft soil: nearly free
        {ToeCondition::Soil, 2000, 2500, -1},  // rock: nearly fixed
        {ToeCondition::Fixed, 0, 1800, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "toe vs " << c.vs);
        PileSpec s = barePile(12.0, 4000.0, c.toe, 1);
        s.soil.toeVs = c.vs;
        s.soil.toeDensity = c.density;
        SimulatedTrace tr = simulatePile(s, 3);
        ASSERT_TRUE(tr.ok()) << tr.error;
        int end =
            tr.truth.toeIndex + static_cast<int>(s.hammerMs * 1e-3 / (s.sampleInterval * 1e-6));
        float extreme = 0;
        for (int i = tr.truth.toeIndex - 1; i <= end; ++i)
            if (std::fabs(tr.samples[i]) > std::fabs(extreme)) extreme = tr.samples[i];
        EXPECT_GT(std::fabs(extreme), 0.2 * tr.truth.peakMv);
        EXPECT_EQ(extreme > 0 ? 1 : -1, c.sign) << extreme;
    }
}

TEST(PileSimulator, SlowSectionDelaysTheToeEchoToTheTruthsIndex) {
    PileSpec s = barePile(15.0, 4000.0, ToeCondition::Free, 1);
    s.defects.push_back({DefectKind::Segregation, 5.0, 3.0, 0.3});
    SimulatedTrace tr = simulatePile(s, 1);
    ASSERT_TRUE(tr.ok()) << tr.error;
    const double dt = s.sampleInterval * 1e-6;
    // 12 m at 4000 m/s and 3 m at 2800 m/s, down and up.
    double expected = tr.truth.headIndex + 2.0 * (12.0 / 4000.0 + 3.0 / 2800.0) / dt;
    EXPECT_LE(std::fabs(tr.truth.toeIndex - expected), 1.0);
    EXPECT_GT(tr.truth.toeIndex, tr.truth.headIndex + 2.0 * 15.0 / 4000.0 / dt + 10);

    // The echo on the trace: the largest positive lobe after the defect's own echoes.
    int from = tr.truth.toeIndex - 10, at = from;
    for (int i = from; i < tr.truth.toeIndex + 30; ++i)
        if (tr.samples[i] > tr.samples[at]) at = i;
    int half = static_cast<int>(std::lround(s.hammerMs * 1e-3 / dt / 2));
    EXPECT_LE(std::abs(at - (tr.truth.toeIndex + half)), 2);
}

TEST(PileSimulator, NoiseIsSeededAndScaledToThePeak) {
    PileSpec s;
    s.noise = 0.01;
    SimulatedTrace a = simulatePile(s, 42), b = simulatePile(s, 42), c = simulatePile(s, 43);
    ASSERT_TRUE(a.ok()) << a.error;
    EXPECT_EQ(a.samples, b.samples);
    EXPECT_NE(a.samples, c.samples);
    EXPECT_EQ(a.truth.toeIndex, c.truth.toeIndex);

    double sum = 0;
    for (int i = 0; i < a.truth.headIndex; ++i) sum += double(a.samples[i]) * a.samples[i];
    double rms = std::sqrt(sum / a.truth.headIndex);
    EXPECT_NEAR(rms, 0.01 * a.truth.peakMv, 0.4 * 0.01 * a.truth.peakMv);

    // Auto-ranging keeps the trace inside the converter with room to spare.
    double peak = 0;
    for (float x : a.samples) peak = std::max(peak, double(std::fabs(x)));
    EXPECT_LE(peak, 0.7 * kAdcRangeMv);
    EXPECT_GT(peak, 0.25 * kAdcRangeMv);
}

TEST(PileSimulator, HeadPeakIsTheFirstPeakOfTheBlow) {
    for (int sensor : {0, 1}) {
        PileSpec s = barePile(10.0, 4000.0, ToeCondition::Free, sensor);
        s.hammerMs = 1.0;
        SimulatedTrace tr = simulatePile(s, 1);
        ASSERT_TRUE(tr.ok());
        const int half = 25;  // 0.5 ms at 20 us
        if (sensor == 1)
            EXPECT_NEAR(tr.truth.headPeakIndex, tr.truth.headIndex + half, 1);
        else
            EXPECT_LE(tr.truth.headPeakIndex - tr.truth.headIndex, 1);
        for (int k = tr.truth.headIndex; k < tr.truth.headIndex + 2 * half; ++k)
            EXPECT_LE(tr.samples[k], tr.samples[tr.truth.headPeakIndex]) << "sample " << k;
    }
}

TEST(PileSimulator, RejectsDescriptionsItCannotSimulate) {
    using Edit = std::function<void(PileSpec&)>;
    const std::pair<const char*, Edit> cases[] = {
        {"pile length", [](PileSpec& s) { s.length = 0.1; }},
        {"wave speed", [](PileSpec& s) { s.waveSpeed = std::nan(""); }},
        {"pre-trigger", [](PileSpec& s) { s.preTrigger = s.samples / 2; }},
        {"sensor type", [](PileSpec& s) { s.sensorType = 2; }},
        {"lies outside the pile",
         [](PileSpec& s) {
             s.defects.push_back({DefectKind::Necking, 9.5, 1.0, 0.3});
         }},
        {"severity",
         [](PileSpec& s) {
             s.defects.push_back({DefectKind::Break, 3.0, 0.2, 1.0});
         }},
        {"overlap",
         [](PileSpec& s) {
             s.defects.push_back({DefectKind::Necking, 3.0, 1.0, 0.3});
             s.defects.push_back({DefectKind::Crack, 3.5, 0.03, 0.8});
         }},
        {"too large",
         [](PileSpec& s) {
             s.length = 120;
             s.waveSpeed = 1000;
             s.samples = 8192;
             s.sampleInterval = 1000;
         }},
    };
    for (const auto& [why, edit] : cases) {
        PileSpec s;
        edit(s);
        SimulatedTrace tr = simulatePile(s, 1);
        EXPECT_FALSE(tr.ok()) << why;
        EXPECT_NE(tr.error.find(why), std::string::npos) << tr.error;
        EXPECT_TRUE(tr.samples.empty());
    }
}

}  // namespace
}  // namespace sondara
