// Automatic pile head and toe, and the settings file of the automatic head.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/analysis/AutoHeadToe.h"
#include "core/base/ByteIo.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using test::ScriptedPrompter;

AutoHeadSettings settings(int direction, int ignore, int ratio) {
    AutoHeadSettings s;
    s.direction = static_cast<std::uint8_t>(direction);
    s.ignorePoints = ignore;
    s.startRatio = ratio;
    return s;
}

TEST(AutoHead, FindsThePeakOfTheFirstLongEnoughRun) {
    struct Case {
        const char* what;
        std::vector<float> x;
        AutoHeadSettings s;
        int head;
    };
    const AutoHeadSettings pos0 = settings(1, 0, 15);  // T = 15 with R = 100
    const std::vector<Case> cases = {
        {"rise of two then fall", {0, 10, 20, 30, 25}, pos0, 3},
        {"run too short", {0, 10, 20, 16}, pos0, -1},
        {"rise to the end", {0, 10, 20, 30, 40}, pos0, -1},
        {"below threshold", {0, 5, 10, 14, 15, 0}, pos0, -1},
        {"first short run skipped", {0, 20, 0, 20, 30, 40, 35}, pos0, 5},
        {"negative direction", {0, -10, -20, -30, -25}, settings(0, 0, 15), 3},
        {"negative ignores rises", {0, 10, 20, 30, 25}, settings(0, 0, 15), -1},
        {"unknown direction", {0, 10, 20, 30, 25}, settings(2, 0, 15), -1},
        {"two ignored points need four", {0, 20, 30, 40, 30}, settings(1, 2, 15), -1},
        {"two ignored points, four rise", {0, 20, 30, 40, 50, 30}, settings(1, 2, 15), 4},
        {"defaults", {0, 20, 30, 40, 50, 60, 70, 80, 10}, AutoHeadSettings{}, 7},
        {"one sample", {50}, pos0, -1},
        {"empty", {}, pos0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FindAutoHead(c.x, c.s, 100.0f), c.head);
    }
}

TestPoint tracePoint(std::vector<float> x) {
    TestPoint p;
    p.samples = x;
    p.rawSamples = x;
    p.recordedLength = static_cast<std::int16_t>(x.size());
    p.sampleInterval = 20.0f;
    p.waveSpeed = 4000;
    p.pileLength = 10.0f;
    p.headIndex = 0;
    p.toeIndex = static_cast<std::int16_t>(x.size() - 1);
    p.lastParams.rangeMax = 100.0f;
    return p;
}

CSondaraDoc docWith(TestPoint p) {
    CSondaraDoc doc;
    doc.points.push_back(std::move(p));
    return doc;
}

TEST(AutoHead, PlacesTheHeadThroughSetPileHead) {
    std::vector<float> x(400, 0.0f);
    x[1] = 10;
    x[2] = 20;
    x[3] = 30;
    x[4] = 25;
    CSondaraDoc doc = docWith(tracePoint(x));
    ScriptedPrompter pr;
    ASSERT_EQ(AutoPileHead(doc, 0, settings(1, 0, 15), LengthFollowMode::KeepSpeed, true, pr), 1);
    EXPECT_EQ(doc.points[0].headIndex, 3);
    // 396 samples of 20 us at 4000 m/s.
    EXPECT_NEAR(doc.points[0].pileLength, 396 * 20e-6 * 0.5 * 4000, 1e-4);

    // The threshold follows the point's display range: with R = 300, T = 45.
    TestPoint high = tracePoint(x);
    high.lastParams.rangeMax = 300.0f;
    CSondaraDoc highDoc = docWith(high);
    EXPECT_EQ(AutoPileHead(highDoc, 0, settings(1, 0, 15), LengthFollowMode::KeepSpeed, true, pr),
              0);
    EXPECT_EQ(highDoc.points[0], high);

    // The head's own checks apply: a placed toe before the found head refuses it.
    TestPoint p = tracePoint(x);
    p.toeIndex = 2;
    CSondaraDoc refused = docWith(p);
    EXPECT_EQ(AutoPileHead(refused, 0, settings(1, 0, 15), LengthFollowMode::KeepSpeed, true, pr),
              0);
    EXPECT_EQ(pr.infos, std::vector<std::string>{kMsgHeadBeforeToe});
}

TEST(AutoToe, FromHeadLengthAndSpeed) {
    // Head 50, 20 us, 10 m at 4000 m/s: 2.5 ms one way, 250 samples there and back.
    TestPoint p = tracePoint(std::vector<float>(1024, 0.0f));
    p.headIndex = 50;
    p.toeIndex = 900;
    EXPECT_EQ(AutoToeIndex(p, 4000.0, LengthFollowMode::KeepLength), 300);
    EXPECT_EQ(AutoToeIndex(p, 4000.0, LengthFollowMode::AutoAdjust), 300);
    EXPECT_EQ(AutoToeIndex(p, 10.0, LengthFollowMode::KeepSpeed), 300);    // speed of the point
    EXPECT_EQ(AutoToeIndex(p, 100.0, LengthFollowMode::KeepSpeed), 1023);  // clamped to n-1
    EXPECT_EQ(AutoToeIndex(p, 1e30, LengthFollowMode::KeepSpeed), 1023);
    EXPECT_EQ(AutoToeIndex(p, 1e9, LengthFollowMode::KeepLength), 53);  // at least head+3
    EXPECT_EQ(AutoToeIndex(p, -1.0, LengthFollowMode::KeepLength), -1);
    EXPECT_EQ(AutoToeIndex(p, 0.0, LengthFollowMode::KeepLength), -1);

    TestPoint offHead = p;
    offHead.headIndex = -1;  // not placed: counts from 0
    EXPECT_EQ(AutoToeIndex(offHead, 4000.0, LengthFollowMode::KeepLength), 250);
    TestPoint noDt = p;
    noDt.sampleInterval = 0.0f;
    EXPECT_EQ(AutoToeIndex(noDt, 4000.0, LengthFollowMode::KeepLength), -1);
    TestPoint noSpeed = p;
    noSpeed.waveSpeed = 0;
    EXPECT_EQ(AutoToeIndex(noSpeed, 10.0, LengthFollowMode::KeepSpeed), -1);
    TestPoint nearEnd = p;
    nearEnd.headIndex = 1023;  // no room after the head
    EXPECT_EQ(AutoToeIndex(nearEnd, 4000.0, LengthFollowMode::KeepLength), -1);
}

TEST(AutoToe, EndsWithTheGivenSpeedOrLength) {
    TestPoint p = tracePoint(std::vector<float>(1024, 0.0f));
    p.headIndex = 50;
    p.toeIndex = 900;
    p.waveSpeed = 3000;
    ScriptedPrompter pr;
    CSondaraDoc doc = docWith(p);
    ASSERT_EQ(AutoPileToe(doc, 0, 4000.0, LengthFollowMode::KeepLength, true, pr), 1);
    EXPECT_EQ(doc.points[0].toeIndex, 300);
    EXPECT_EQ(doc.points[0].waveSpeed, 4000);
    EXPECT_FLOAT_EQ(doc.points[0].pileLength, 10.0f);

    doc = docWith(p);
    ASSERT_EQ(AutoPileToe(doc, 0, 12.0, LengthFollowMode::KeepSpeed, true, pr), 1);
    EXPECT_EQ(doc.points[0].toeIndex, 450);
    EXPECT_EQ(doc.points[0].waveSpeed, 3000);
    EXPECT_FLOAT_EQ(doc.points[0].pileLength, 12.0f);

    // Defects beyond the new toe are offered for deletion like a manual toe.
    p.defects.resize(1);
    p.defects[0].position = 400;
    doc = docWith(p);
    ScriptedPrompter yes({true});
    ASSERT_EQ(AutoPileToe(doc, 0, 4000.0, LengthFollowMode::KeepLength, true, yes), 1);
    EXPECT_EQ(yes.questions, std::vector<std::string>{kAskDeleteOutOfRange});
    EXPECT_TRUE(doc.points[0].defects.empty());

    EXPECT_EQ(AutoPileToe(doc, 1, 4000.0, LengthFollowMode::KeepLength, true, pr), 0);
    EXPECT_TRUE(pr.infos.empty());
}

TEST(AutoHeadSettingsFile, DefaultsWrittenAndReadBack) {
    // The test process points the settings folder into its own temporary directory.
    const std::string path = autoHeadSettingsFile().path();
    std::remove(path.c_str());
    AutoHeadSettings s = settings(0, 1, 2);
    ScriptedPrompter pr;
    EXPECT_FALSE(loadOrWriteDefaults(s, &pr));
    EXPECT_EQ(s.direction, 1);
    EXPECT_EQ(s.ignorePoints, 5);
    EXPECT_EQ(s.startRatio, 15);

    std::string bytes = test::readFile(path);
    ASSERT_EQ(bytes.size(), 30u + 1 + 4 + 4);
    EXPECT_EQ(bytes.substr(0, 19), std::string("MIR_QAR4_AHEAD_001\0", 19));
    EXPECT_EQ(bytes.substr(30), std::string("\x01\x05\0\0\0\x0f\0\0\0", 9));

    ASSERT_TRUE(saveSettings(settings(0, 7, 40), &pr));
    AutoHeadSettings back;
    EXPECT_TRUE(loadOrWriteDefaults(back, &pr));
    EXPECT_EQ(back.direction, 0);
    EXPECT_EQ(back.ignorePoints, 7);
    EXPECT_EQ(back.startRatio, 40);
    EXPECT_TRUE(pr.infos.empty());
}

}  // namespace
}  // namespace sondara
