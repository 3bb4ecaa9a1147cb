#include <gtest/gtest.h>

#include "core/base/TextCodec.h"
#include "core/model/NameLists.h"
#include "core/model/SondaraDoc.h"
#include "support/Fixtures.h"

namespace sondara {
namespace {

using test::makeDoc;
using test::simplePoint;

CSondaraDoc pilesDoc(std::initializer_list<const char*> names) {
    std::vector<TestPoint> pts;
    for (const char* n : names) pts.push_back(simplePoint(n));
    return makeDoc(std::move(pts));
}

TEST(PileGrouping, RunsOfEqualPileNumbersFormPiles) {
    CSondaraDoc d = pilesDoc({"A1", "A1", "B2", "A1"});
    EXPECT_EQ(d.pileOrdinal(0), 0);
    EXPECT_EQ(d.pileOrdinal(2), 1);
    EXPECT_EQ(d.pileOrdinal(3), 2);  // the same number after another pile is a new pile
    EXPECT_EQ(d.pileCount(), 3);
    EXPECT_EQ(d.pileMembersOf(0), (std::vector<int>{0, 1}));
    EXPECT_EQ(d.pileMembersOf(3), (std::vector<int>{3}));
    EXPECT_EQ(d.firstPointOfPile(0), 0);
    EXPECT_EQ(d.firstPointOfPile(1), 2);
    EXPECT_EQ(d.firstPointOfPile(2), 3);
    EXPECT_EQ(d.firstPointOfPile(3), -1);
    EXPECT_EQ(d.pileOrdinal(4), -1);
    EXPECT_EQ(d.pileOrdinal(-1), -1);
}

TEST(PileGrouping, PileNumbersCompareCaseSensitively) {
    CSondaraDoc d = pilesDoc({"a1", "A1"});
    EXPECT_EQ(d.pileCount(), 2);
}

TEST(Selection, PointAndPileSelectionFallBackToNothing) {
    CSondaraDoc d = pilesDoc({"A1", "A1", "B2"});
    d.selectPoint(1);
    EXPECT_EQ(d.selectionMode, 1);
    EXPECT_EQ(d.currentPile, 0);
    EXPECT_EQ(d.pileMembers, (std::vector<int>{0, 1}));
    d.selectPile(1);
    EXPECT_EQ(d.selectionMode, 2);
    EXPECT_EQ(d.currentPoint, 2);
    d.selectPoint(7);
    EXPECT_EQ(d.selectionMode, 0);
    EXPECT_EQ(d.currentPoint, -1);
    EXPECT_TRUE(d.pileMembers.empty());
    d.selectPile(5);
    EXPECT_EQ(d.selectionMode, 0);
}

TEST(Document, ClearEmptiesEverythingButKeepsExtraInfo) {
    CSondaraDoc d = pilesDoc({"A1", "B1"});
    setText(d.info.extraInfo, "keep");
    d.undoStack.emplace_back();
    d.clear();
    EXPECT_TRUE(d.points.empty());
    EXPECT_TRUE(d.originalPoints.empty());
    EXPECT_EQ(d.info.pointCount, 0);
    EXPECT_EQ(textOf(d.info.versionTag), "");
    EXPECT_EQ(textOf(d.info.extraInfo), "keep");
    EXPECT_EQ(d.loaded, 0);
    EXPECT_EQ(d.currentPoint, -1);
    EXPECT_TRUE(d.undoStack.empty());
}

TEST(Document, CheckedListAndDisplayRange) {
    std::vector<TestPoint> pts{simplePoint("A"), simplePoint("A"), simplePoint("B")};
    pts[0].checked = 1;
    pts[2].checked = 7;
    pts[1].samples = {-2.0f, 1.0f};
    CSondaraDoc d = makeDoc(pts);
    EXPECT_EQ(d.checkedList, (std::vector<int>{0, 2}));
    d.recomputeDisplayRanges();
    EXPECT_FLOAT_EQ(d.points[1].lastParams.rangeMax, 2.2f);
    EXPECT_FLOAT_EQ(d.points[1].lastParams.rangeMin, -2.2f);
}

TEST(Document, NameTexts) {
    CSondaraDoc d = pilesDoc({"A"});
    TestPoint& p = d.points[0];
    p.integrityClass = 7;
    EXPECT_EQ(d.classText(0), "未得出");
    p.integrityClass = 3;
    EXPECT_EQ(d.classText(0), "III类桩");
    p.sensorType = 5;
    EXPECT_EQ(d.sensorText(0), "加速度");
    p.sensorType = 2;
    EXPECT_EQ(d.sensorText(0), "加速度→速度");
    EXPECT_EQ(d.classText(3), "");
    p.pileTypeIndex = 100;
    setText(p.pileTypeText, utf8ToGbk("异形桩"));
    EXPECT_EQ(d.pileTypeText(0), "异形桩");
}

TEST(Document, SetPileTypeAndClassByName) {
    CSondaraDoc d = pilesDoc({"A"});
    EXPECT_EQ(d.setPileType(0, "  CFG桩 "), 9);
    EXPECT_EQ(gbkToUtf8(textOf(d.points[0].pileTypeText)), "CFG桩");
    EXPECT_EQ(d.setPileType(0, "C F G桩"), 100);
    EXPECT_EQ(gbkToUtf8(textOf(d.points[0].pileTypeText)), "C F G桩");
    // 60 ASCII characters are cut to 49
    EXPECT_EQ(d.setPileType(0, std::string(60, 'x')), 100);
    EXPECT_EQ(textOf(d.points[0].pileTypeText).size(), 49u);
    // a Chinese text is never cut inside a character
    std::string longCn;
    for (int i = 0; i < 30; ++i) longCn += "桩";
    d.setPileType(0, longCn);
    EXPECT_EQ(textOf(d.points[0].pileTypeText).size(), 48u);

    EXPECT_EQ(d.setClassByName(0, "II类桩  "), 2);
    EXPECT_EQ(d.points[0].integrityClass, 2);
    EXPECT_EQ(d.setClassByName(0, "V类桩"), 0);
    EXPECT_EQ(d.points[0].integrityClass, 2);
}

TEST(PointCopy, IsDeepAndLeavesExtraTextAlone) {
    TestPoint src = test::fullPoint(1);
    TestPoint dst = test::simplePoint("Z");
    setText(dst.extraText, "mine");
    copyPoint(src, dst);
    EXPECT_EQ(textOf(dst.extraText), "mine");
    EXPECT_EQ(dst.rawSamples, src.rawSamples);
    EXPECT_NE(dst.rawSamples.data(), src.rawSamples.data());
    EXPECT_NE(dst.steps.data(), src.steps.data());
    dst.extraText = src.extraText;
    EXPECT_EQ(dst, src);
}

TEST(TextCodec, RoundTripsAndSurvivesBadBytes) {
    std::string cn = "钻孔灌注桩 加速度→速度";
    EXPECT_EQ(gbkToUtf8(utf8ToGbk(cn)), cn);
    EXPECT_EQ(utf8ToGbk("abc"), "abc");
    // a lone lead byte and an invalid pair decode to replacement characters
    std::string bad = "A\x81";
    EXPECT_EQ(gbkToUtf8(bad), "A\xEF\xBF\xBD");
    EXPECT_FALSE(gbkToUtf8(std::string("\xFF\xFF\x80", 3)).empty());
    EXPECT_EQ(utf8ToGbk("\xC3"), "?");
    // UTF-16LE "桩A"
    EXPECT_EQ(gbkToUtf8(utf16leToGbk(std::string("\x69\x68\x41\x00", 4))), "桩A");
    EXPECT_EQ(PileTypeNames().count(), 10);
    EXPECT_EQ(DefectNames().utf8[7], "扩底");
    EXPECT_EQ(ReportItemNames().count(), 5);
}

}  // namespace
}  // namespace sondara
