// Automatic interpretation: simulated piles of every kind with their truth, the
// robustness of the reader of outside traces, the marks it writes and the accuracy
// over a simulated site.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <thread>

#include "core/analysis/ReportClass.h"
#include "core/interpret/Interpretation.h"
#include "support/TestSupport.h"
#include "tests/core/interpret/SimSite.h"

namespace sondara {
namespace {

using namespace interpret_test;

PileSpec basePile(double length, int sensor, double noise) {
    PileSpec s;
    s.length = length;
    s.waveSpeed = 3800.0;
    s.diameter = 800.0;
    s.soil.shaftVs = 150.0;
    s.soil.shaftDensity = 1800.0;
    s.soil.toeVs = 250.0;
    s.soil.toeDensity = 1900.0;
    s.hammerMs = 1.0;
    s.sensorType = sensor;
    s.noise = noise;
    s.sampleInterval = autoSampleInterval(s.length, s.waveSpeed, s.samples, s.preTrigger);
    return s;
}

struct TableRow {
    const char* name;
    std::vector<DefectSpec> defects;
};

TEST(Interpret, FindsWhatTheSimulatedPilesHold) {
    const std::vector<TableRow> table = {
        {"intact", {}},
        {"neck", {{DefectKind::Necking, 5.0, 1.0, 0.35}}},
        {"bulge", {{DefectKind::Bulging, 6.0, 1.2, 0.3}}},
        {"break", {{DefectKind::Break, 7.0, 0.3, 0.95}}},
        {"soft concrete", {{DefectKind::Segregation, 4.0, 1.5, 0.3}}},
        {"enlarged base", {{DefectKind::EnlargedBase, 0.0, 1.5, 0.6}}},
    };
    Accuracy total;
    for (const TableRow& row : table)
        for (int sensor : {1, 0})
            for (double noise : {0.0, 0.01}) {
                PileSpec spec = basePile(15.0, sensor, noise);
                spec.defects = row.defects;
                PileCase c = makeCase(row.name, spec, 11);
                ASSERT_TRUE(c.trace.ok()) << c.trace.error;
                CSondaraDoc doc;
                addPoint(doc, c);
                PointInterpretation r = interpretPoint(doc, 0);
                SCOPED_TRACE(std::string(row.name) + (sensor ? " velocity" : " acceleration") +
                             (noise > 0 ? " noisy" : " clean"));
                ASSERT_TRUE(r.error.empty()) << r.error;
                Accuracy one;
                one.add(c, r);
                if (std::getenv("SONDARA_INTERPRET_VERBOSE")) {
                    std::printf("%s %s %s: toe %.3f/%.3f ms found %d res %.3f class %d %s\n",
                                row.name, sensor ? "vel" : "acc", noise > 0 ? "noisy" : "clean",
                                r.toeTime * 1e3, 2e3 * c.trace.truth.travelTime, r.toeFound,
                                r.residual, r.integrityClass, r.reason.c_str());
                    for (const ProposedDefect& d : r.defects)
                        std::printf("   %.2f m +%.2f %s %.3f\n", d.depth, d.extent,
                                    changeKindKey(d.kind), d.beta);
                }
                total.add(c, r);
                const SimTruth& t = c.trace.truth;
                if (row.defects.empty() || row.defects[0].kind != DefectKind::Break) {
                    EXPECT_TRUE(r.toeFound);
                    EXPECT_NEAR(r.toeTime, 2 * t.travelTime, 0.03 * 2 * t.travelTime);
                }
                EXPECT_EQ(r.fitted.size(), c.trace.samples.size());
                EXPECT_NEAR(r.headIndex, t.headPeakIndex, 2);
                if (row.defects.empty()) {
                    EXPECT_TRUE(r.defects.empty());
                }
            }
    std::printf("table: %s\n", total.text().c_str());
    // The changes, their ratios and the classes, at the rates an engineer is promised.
    EXPECT_GE(total.pct(total.changeRight, total.changeCases), 90.0) << total.text();
    EXPECT_GE(total.pct(total.betaRight, total.narrowFound), 80.0) << total.text();
    EXPECT_GE(total.pct(total.classRight, total.classCases), 85.0) << total.text();
    EXPECT_EQ(total.intactFalse, 0) << total.text();
}

TEST(Interpret, NoisyIntactPilesGetNoDefect) {
    for (int sensor : {0, 1})
        for (std::uint64_t seed = 1; seed <= 6; ++seed) {
            PileSpec spec = basePile(8.0 + 4.0 * seed, sensor, 0.01);
            PileCase c = makeCase("intact", spec, seed);
            CSondaraDoc doc;
            addPoint(doc, c);
            PointInterpretation r = interpretPoint(doc, 0);
            ASSERT_TRUE(r.error.empty());
            EXPECT_TRUE(r.defects.empty())
                << "sensor " << sensor << " seed " << seed << ": " << r.defects.size()
                << " changes, first beta " << r.defects[0].beta << " at " << r.defects[0].depth;
            EXPECT_EQ(r.integrityClass, 1);
        }
}

TEST(Interpret, ATraceWithoutVisibleToeIsUncertain) {
    // A long pile in stiff soil: the shaft takes the wave before it comes back.
    PileSpec spec = basePile(40.0, 1, 0.01);
    spec.soil.shaftVs = 400.0;
    spec.soil.shaftDensity = 2000.0;
    spec.soil.toeVs = 250.0;
    spec.diameter = 600.0;
    PileCase c = makeCase("buried toe", spec, 3);
    ASSERT_FALSE(c.toeVisible);
    CSondaraDoc doc;
    addPoint(doc, c);
    PointInterpretation r = interpretPoint(doc, 0);
    ASSERT_TRUE(r.error.empty());
    EXPECT_EQ(r.confidence, Confidence::Uncertain);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_FALSE(r.toeFound);

    EXPECT_EQ(r.toeFound, false);
}

TEST(Interpret, AToeSoughtWhereThePileHasNoneIsProposedAtTheEnteredLength) {
    // An intact pile entered as 20 % shorter than it is: its toe echo comes after the
    // range the entered length allows, and nothing in that range answers.
    PileSpec spec = basePile(20.0, 1, 0.005);
    PileCase c = makeCase("entered short", spec, 5);
    CSondaraDoc doc;
    addPoint(doc, c);
    const double entered = 0.8 * spec.length;
    doc.points[0].pileLength = static_cast<float>(entered);
    PointInterpretation e = interpretPoint(doc, 0);
    ASSERT_TRUE(e.error.empty());
    EXPECT_FALSE(e.toeFound);
    EXPECT_EQ(e.confidence, Confidence::Uncertain);
    EXPECT_NEAR(e.toeTime, 2.0 * entered / spec.waveSpeed, 1e-6);
    // The depth is the one the written toe mark shows: on the sample grid.
    EXPECT_NEAR(e.toeDepth, entered, 0.5 * spec.sampleInterval * 1e-6 * spec.waveSpeed / 2 + 1e-3);
    EXPECT_EQ(e.toeIndex, e.headIndex + static_cast<int>(
                                            std::lround(e.toeTime / (spec.sampleInterval * 1e-6))));
}

TEST(Interpret, AnyTraceIsReadWithoutHarm) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<std::vector<float>> traces = {
        {},
        {1.0f},
        std::vector<float>(10, 3.0f),
        std::vector<float>(1024, 0.0f),
        std::vector<float>(1024, 5.0f),
        std::vector<float>(1024, nan),
        std::vector<float>(64, inf),
    };
    traces.push_back(test::randomTrace(1024, 7, 100.0f));
    traces.push_back(test::normalTrace(2048, 9));
    std::vector<float> spike(1024, 0.0f);
    spike[1020] = 1000.0f;
    traces.push_back(spike);
    std::vector<float> step(1024, 0.0f);
    for (int i = 500; i < 1024; ++i) step[i] = 1e30f;
    traces.push_back(step);
    CSondaraDoc doc;
    for (const auto& t : traces)
        for (float dt : {20.0f, 0.0f, -5.0f, nan})
            for (int sensor : {0, 1, 2}) {
                TestPoint p{};
                p.rawSamples = t;
                p.samples = t;
                p.sampleInterval = dt;
                p.sensorType = static_cast<std::int16_t>(sensor);
                p.pileLength = 10.0f;
                p.waveSpeed = 4000;
                doc.points.push_back(p);
            }
    std::vector<int> all;
    for (int i = 0; i < doc.pointCount(); ++i) all.push_back(i);
    all.push_back(-1);
    all.push_back(doc.pointCount());
    std::vector<PointInterpretation> rows = interpretPoints(doc, all);
    ASSERT_EQ(rows.size(), all.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].point, all[i]);
        if (!rows[i].error.empty()) continue;
        EXPECT_TRUE(std::isfinite(rows[i].toeTime));
        EXPECT_TRUE(std::isfinite(rows[i].residual));
        for (float f : rows[i].fitted) EXPECT_TRUE(std::isfinite(f));
    }
    EXPECT_FALSE(rows[0].error.empty());  // empty trace
    CSondaraDoc copy = doc;
    applyInterpretation(doc, rows);  // must not crash on any of them
}

// Points whose samples, interval, sensor, speed or length no pile trace has: refused
// with the reason, or read as uncertain with the reason, never clear; no depth from a
// speed no pile has.
TEST(Interpret, InvalidPointsAreRefusedOrUncertain) {
    PileSpec spec = basePile(12.0, 1, 0.005);
    const PileCase good = makeCase("intact", spec, 4);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* name;
        std::function<void(TestPoint&)> spoil;
        const char* error;   // refused with this, or
        const char* reason;  // uncertain with this
    };
    auto clipAt = [](TestPoint& p, double share) {
        float peak = 0.0f;
        for (float v : p.samples) peak = std::max(peak, std::fabs(v));
        for (float& v : p.samples)
            v = std::clamp(v, -static_cast<float>(share * peak), static_cast<float>(share * peak));
        p.rawSamples = p.samples;
    };
    const std::vector<Case> cases = {
        {"nan sample", [&](TestPoint& p) { p.samples[300] = p.rawSamples[300] = nan; }, "数据异常",
         nullptr},
        {"inf sample", [&](TestPoint& p) { p.samples[40] = p.rawSamples[40] = -inf; }, "数据异常",
         nullptr},
        {"sensor 7", [](TestPoint& p) { p.sensorType = 7; }, "传感器类型未知", nullptr},
        {"sensor -1", [](TestPoint& p) { p.sensorType = -1; }, "传感器类型未知", nullptr},
        {"interval 1e-11 us", [](TestPoint& p) { p.sampleInterval = 1e-11f; }, "采样间隔无效",
         nullptr},
        {"interval 0.001 us", [](TestPoint& p) { p.sampleInterval = 0.001f; }, "采样间隔无效",
         nullptr},
        {"interval 1e5 us", [](TestPoint& p) { p.sampleInterval = 1e5f; }, "采样间隔无效", nullptr},
        {"speed 0", [](TestPoint& p) { p.waveSpeed = 0; }, nullptr, "波速或桩长不合理"},
        {"speed -3800", [](TestPoint& p) { p.waveSpeed = -3800; }, nullptr, "波速或桩长不合理"},
        {"speed 1", [](TestPoint& p) { p.waveSpeed = 1; }, nullptr, "波速或桩长不合理"},
        {"speed 30000", [](TestPoint& p) { p.waveSpeed = 30000; }, nullptr, "波速或桩长不合理"},
        {"length 0", [](TestPoint& p) { p.pileLength = 0; }, nullptr, "波速或桩长不合理"},
        {"length -12", [](TestPoint& p) { p.pileLength = -12; }, nullptr, "波速或桩长不合理"},
        {"length nan", [&](TestPoint& p) { p.pileLength = nan; }, nullptr, "波速或桩长不合理"},
        {"length inf", [&](TestPoint& p) { p.pileLength = inf; }, nullptr, "波速或桩长不合理"},
        {"length 1000", [](TestPoint& p) { p.pileLength = 1000; }, nullptr, "波速或桩长不合理"},
        {"clipped at 30 %", [&](TestPoint& p) { clipAt(p, 0.3); }, nullptr, "波形削顶"},
        {"pure noise", [](TestPoint& p) { p.samples = p.rawSamples = test::normalTrace(1024, 3); },
         nullptr, "数据异常"},
        {"saturated block",
         [](TestPoint& p) {
             p.samples.assign(1024, 0.0f);
             for (int i = 100; i < 700; ++i) p.samples[i] = 32767.0f;
             p.rawSamples = p.samples;
         },
         nullptr, "波形削顶"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        CSondaraDoc doc;
        addPoint(doc, good);
        k.spoil(doc.points[0]);
        const PointInterpretation r = interpretPoint(doc, 0);
        if (k.error) {
            EXPECT_EQ(r.error, k.error);
            continue;
        }
        ASSERT_TRUE(r.error.empty()) << r.error;
        EXPECT_EQ(r.confidence, Confidence::Uncertain);
        EXPECT_EQ(r.reason, k.reason);
        EXPECT_TRUE(std::isfinite(r.toeTime));
        const int speed = doc.points[0].waveSpeed;
        if (speed < 1000 || speed > 6500) {
            EXPECT_FALSE(std::isfinite(r.toeDepth)) << r.toeDepth;
            for (const ProposedDefect& d : r.defects) EXPECT_FALSE(std::isfinite(d.depth));
        }
    }
    // The untouched point is read, and clear.
    CSondaraDoc doc;
    addPoint(doc, good);
    const PointInterpretation r = interpretPoint(doc, 0);
    EXPECT_EQ(r.confidence, Confidence::Clear) << r.reason;
}

// Sound piles whose entered length is a few per cent longer than the pile: the toe
// echo is the toe, not a break with a toe below it.
TEST(Interpret, ASoundPileEnteredLongerIsNotBroken) {
    int n = 0;
    for (double longer : {1.03, 1.05, 1.08})
        for (int sensor : {0, 1})
            for (double length : {9.0, 14.0, 21.0}) {
                PileSpec spec = basePile(length, sensor, 0.008);
                spec.soil.toeVs = 120.0;  // a soft toe, a strong echo
                PileCase c = makeCase("sound", spec, ++n);
                CSondaraDoc doc;
                addPoint(doc, c);
                doc.points[0].pileLength = static_cast<float>(length * longer);
                const PointInterpretation r = interpretPoint(doc, 0);
                SCOPED_TRACE(testing::Message()
                             << "L " << length << " entered x" << longer << " sensor " << sensor);
                ASSERT_TRUE(r.error.empty()) << r.error;
                EXPECT_LE(r.integrityClass, 2);
                for (const ProposedDefect& d : r.defects) EXPECT_GE(d.beta, 0.6) << d.depth;
                const double truth = 2 * c.trace.truth.travelTime;
                EXPECT_NEAR(r.toeTime, truth, 0.03 * truth);
                for (const InterpretationAlternative& a : r.alternatives)
                    EXPECT_GE(a.evidenceGap, 0.0);
            }
}

TEST(Interpret, ProposalsBecomeMarksAndClassInOneChange) {
    CSondaraDoc doc;
    PileSpec spec = basePile(15.0, 1, 0.005);
    addPoint(doc, makeCase("intact", spec, 1));
    spec.defects = {{DefectKind::Necking, 6.0, 1.0, 0.15}};  // beta 0.72: 缩径
    addPoint(doc, makeCase("neck", spec, 2));
    spec.defects = {{DefectKind::Break, 5.0, 0.3, 0.97}};
    addPoint(doc, makeCase("break", spec, 3));
    spec.defects = {{DefectKind::Bulging, 5.0, 1.0, 0.3}};
    addPoint(doc, makeCase("bulge", spec, 4));
    std::vector<PointInterpretation> rows = interpretPoints(doc, {0, 1, 2, 3});
    ASSERT_EQ(rows.size(), 4u);
    int notices = 0;
    doc.addObserver(
        [&](DocChange k, const std::vector<int>&) { notices += k == DocChange::Marks; });
    EXPECT_EQ(applyInterpretation(doc, rows), 4);
    EXPECT_EQ(notices, 1);
    const int kinds[] = {0, 2, 3, 1};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const TestPoint& p = doc.points[i];
        EXPECT_EQ(p.headIndex, rows[i].headIndex);
        EXPECT_EQ(p.toeIndex, rows[i].toeIndex);
        EXPECT_EQ(p.integrityClass, rows[i].integrityClass);
        if (kinds[i] == 0) {
            EXPECT_TRUE(p.defects.empty());
        } else {
            bool found = false;
            for (const PileMark& m : p.defects) {
                found = found || m.kind == kinds[i];
                EXPECT_GT(m.position, p.headIndex);
                EXPECT_LT(m.position, p.toeIndex);
            }
            EXPECT_TRUE(found) << p.defects.size() << " marks";
            // The marks show the depths listed, digit for digit.
            for (const PileMark& m : p.defects) {
                bool listed = false;
                for (const ProposedDefect& d : rows[i].defects)
                    listed =
                        listed || (d.index == m.position && static_cast<float>(d.depth) == m.depth);
                EXPECT_TRUE(listed) << m.position;
            }
        }
        // Listed changes: none within 0.06 of 1, none overlapping the one before.
        for (std::size_t k = 0; k < rows[i].defects.size(); ++k) {
            const ProposedDefect& d = rows[i].defects[k];
            EXPECT_GT(std::fabs(1.0 - d.beta), 0.06);
            if (k > 0) {
                const ProposedDefect& up = rows[i].defects[k - 1];
                EXPECT_GE(d.depth, up.depth + up.extent - 1e-6);
            }
        }
    }
    // The report's grade agrees with the proposed class.
    EXPECT_EQ(ReportClass(doc.points[0]), 0);
    EXPECT_EQ(ReportClass(doc.points[1]), 1);
    EXPECT_EQ(ReportClass(doc.points[2]), 2);
    EXPECT_EQ(ReportClass(doc.points[3]), 0);
}

TEST(Interpret, CancelStopsAndProgressCounts) {
    CSondaraDoc doc;
    for (int i = 0; i < 12; ++i) addPoint(doc, makeCase("p", basePile(10.0 + i, i % 2, 0.005), i));
    std::vector<int> all;
    for (int i = 0; i < 12; ++i) all.push_back(i);
    std::atomic<bool> cancel{false};
    std::atomic<int> calls{0};
    InterpretControl control;
    control.cancel = &cancel;
    control.progress = [&](int done, int total) {
        EXPECT_EQ(total, 12);
        if (++calls == 3) cancel = true;
        EXPECT_LE(done, 12);
    };
    std::vector<PointInterpretation> rows = interpretPoints(doc, all, control);
    EXPECT_LT(rows.size(), 12u);
    EXPECT_GE(rows.size(), 3u);
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LT(rows[i - 1].point, rows[i].point);
}

TEST(Interpret, CancelStopsInsideAPointsFit) {
    // One long trace without a length: the toe is sought over the whole record, a fit of
    // far more than the moment the cancel takes to arrive.
    PileSpec spec = basePile(30.0, 0, 0.01);
    spec.samples = 4096;
    CSondaraDoc doc;
    addPoint(doc, makeCase("long", spec, 2));
    doc.points[0].pileLength = 0.0f;
    std::atomic<bool> cancel{false};
    InterpretControl control;
    control.cancel = &cancel;
    std::thread raise([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        cancel = true;
    });
    std::vector<PointInterpretation> rows = interpretPoints(doc, {0}, control);
    raise.join();
    EXPECT_TRUE(rows.empty());
}

TEST(Interpret, SiteWaveSpeedFromIntactPiles) {
    CSondaraDoc doc;
    for (int i = 0; i < 7; ++i) {
        PileSpec spec = basePile(10.0 + i, 1, 0.003);
        spec.waveSpeed = 3900.0;
        addPoint(doc, makeCase("p", spec, i + 1));
        doc.points.back().waveSpeed = 3600;  // the stored speed is only a guess
    }
    std::vector<int> all{0, 1, 2, 3, 4, 5, 6};
    SiteWaveSpeed s = siteWaveSpeed(doc, interpretPoints(doc, all));
    ASSERT_TRUE(s.found);
    EXPECT_NEAR(s.speed, 3900.0, 0.03 * 3900.0);
    EXPECT_GE(s.points.size(), 5u);
    SiteWaveSpeed few = siteWaveSpeed(doc, interpretPoints(doc, {0, 1, 2, 3}));
    EXPECT_FALSE(few.found);
}

// The accuracy over a simulated site (the figures of docs/interpretation.md).
TEST(Interpret, AccuracyOverASimulatedSite) {
    const char* seedText = std::getenv("SONDARA_SITE_SEED");
    std::vector<PileCase> site =
        randomSite(200, seedText ? std::strtoull(seedText, nullptr, 10) : 2026);
    CSondaraDoc doc;
    for (const PileCase& c : site) addPoint(doc, c);
    std::vector<int> all;
    for (int i = 0; i < doc.pointCount(); ++i) all.push_back(i);
    std::vector<PointInterpretation> rows = interpretPoints(doc, all);
    ASSERT_EQ(rows.size(), site.size());
    Accuracy a;
    for (std::size_t i = 0; i < site.size(); ++i) {
        a.add(site[i], rows[i]);
        const PileCase& c = site[i];
        const PointInterpretation& r = rows[i];
        double truthToe = 2 * c.trace.truth.travelTime;
        if (std::getenv("SONDARA_INTERPRET_VERBOSE") && c.toeVisible &&
            std::fabs(r.toeTime - truthToe) > 0.03 * truthToe)
            std::printf(
                "pile %zu L %.1f c %.0f dt %.0f sensor %d: toe %.3f/%.3f ms, %zu defects, lo %s\n",
                i, c.spec.length, c.spec.waveSpeed, c.spec.sampleInterval, c.spec.sensorType,
                r.toeTime * 1e3, truthToe * 1e3, c.spec.defects.size(), r.error.c_str());
    }
    if (std::getenv("SONDARA_INTERPRET_VERBOSE"))
        for (std::size_t i = 0; i < site.size(); ++i) {
            Accuracy one;
            one.add(site[i], rows[i]);
            const PileCase& c = site[i];
            const PointInterpretation& r = rows[i];
            bool bad = one.toeRight < one.toeCases || one.changeRight < one.changeCases ||
                       one.classRight < one.classCases || one.intactFalse > 0;
            if (!bad && std::string(std::getenv("SONDARA_INTERPRET_VERBOSE")) != "all") continue;
            std::printf(
                "#%zu L %.1f dt %.0f %s noise %.3f shaftVs %.0f toeVs %.0f hammer %.2f: toe "
                "%.3f/%.3f%s found %d res %.3f class %d/%d %s\n",
                i, c.spec.length, c.spec.sampleInterval, c.spec.sensorType ? "vel" : "acc",
                c.spec.noise, c.spec.soil.shaftVs, c.spec.soil.toeVs, c.spec.hammerMs,
                r.toeTime * 1e3, 2e3 * c.trace.truth.travelTime, c.toeVisible ? "" : "(hidden)",
                r.toeFound, r.residual, r.integrityClass, truthClass(c.spec), r.reason.c_str());
            for (std::size_t k = 0; k < c.trace.truth.defects.size(); ++k) {
                const SimDefectTruth& d = c.trace.truth.defects[k];
                std::printf("   truth kind %d %.2f m +%.2f beta %.3f%s\n", static_cast<int>(d.kind),
                            d.depth, d.length, betaOf(d.kind, d.severity),
                            c.defectVisible[k] ? "" : " (hidden)");
            }
            for (const ProposedDefect& d : r.defects)
                std::printf("   found %.2f m +%.2f %s %.3f\n", d.depth, d.extent,
                            changeKindKey(d.kind), d.beta);
        }
    std::printf("site of %zu piles: %s\n", site.size(), a.text().c_str());
    RecordProperty("accuracy", a.text());
    // Every pile of the site is read (none is refused), and the readings reach the
    // figures of docs/interpretation.md: toe 95 % (96.4 measured), changes 90 %, class
    // 85 %, intact piles given a narrowing 5 %; beta (80 % wanted, 82 % measured over few
    // narrowings) keeps a margin for the round-off of other builds.
    for (const PointInterpretation& r : rows) EXPECT_TRUE(r.error.empty()) << r.error;
    EXPECT_GE(a.pct(a.toeRight, a.toeCases), 95.0);
    EXPECT_GE(a.pct(a.changeRight, a.changeCases), 90.0);
    EXPECT_GE(a.pct(a.betaRight, a.narrowFound), 75.0);
    EXPECT_GE(a.pct(a.classRight, a.classCases), 85.0);
    EXPECT_LE(a.pct(a.intactFalse, a.intact), 5.0);
    // The confidence (docs/interpretation.md): a clear point can be taken unseen. On this
    // site 98.6 % of the clear points carry the right class, one is gravely wrong (a thin
    // crack the fit missed), no sound pile is proposed IV and 36 % are clear (most
    // toes of these soils are hidden, and a point without its toe is never clear).
    EXPECT_GE(a.pct(a.clearRight, a.clear), 96.0);
    EXPECT_LE(a.clearGrave, 1);
    EXPECT_LE(a.pct(a.soundIV, a.sound), 1.0);
    EXPECT_GE(a.pct(a.clear, a.points), 30.0);
}

}  // namespace
}  // namespace sondara
