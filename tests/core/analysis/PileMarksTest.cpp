// Pile head and toe, defects, marker lines, clearing, analysis-bar edits and the
// integrity class.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "core/analysis/PileMarks.h"
#include "core/base/FixedText.h"
#include "core/base/TextCodec.h"
#include "core/model/NameLists.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using test::ScriptedPrompter;

constexpr auto kKeepLength = LengthFollowMode::KeepLength;
constexpr auto kKeepSpeed = LengthFollowMode::KeepSpeed;

using test::pilePoint;

CSondaraDoc docWith(std::vector<TestPoint> pts) {
    CSondaraDoc doc;
    doc.points = std::move(pts);
    return doc;
}

PileMark defectAt(int position, int kind = 2) {
    PileMark m;
    m.position = position;
    m.kind = kind;
    setText(m.name, DefectNames().gbk[kind < 8 ? kind : 0]);
    return m;
}

std::vector<int> positionsOf(const TestPoint& p) {
    std::vector<int> out;
    for (const PileMark& m : p.defects) out.push_back(m.position);
    return out;
}

// ---- head and toe -------------------------------------------------------------------

struct MoveCase {
    const char* what;
    bool head;  // SetPileHead, else SetPileToe
    int headFlag, toeFlag;
    int oldHead, oldToe;
    int index;
    int ret, newHead, newToe;
    const char* message;  // nullptr: none
};

class HeadToeMoves : public ::testing::TestWithParam<MoveCase> {};

TEST_P(HeadToeMoves, PlacesClampsOrRefuses) {
    const MoveCase& c = GetParam();
    TestPoint p = pilePoint();
    p.headSetFlag = c.headFlag;
    p.toeSetFlag = c.toeFlag;
    p.headIndex = static_cast<std::int16_t>(c.oldHead);
    p.toeIndex = static_cast<std::int16_t>(c.oldToe);
    CSondaraDoc doc = docWith({p});
    ScriptedPrompter pr;
    int r = c.head ? SetPileHead(doc, 0, c.index, kKeepLength, true, pr)
                   : SetPileToe(doc, 0, c.index, kKeepLength, true, pr);
    EXPECT_EQ(r, c.ret);
    const TestPoint& q = doc.points[0];
    EXPECT_EQ(q.headIndex, c.newHead);
    EXPECT_EQ(q.toeIndex, c.newToe);
    if (c.message) {
        EXPECT_EQ(pr.infos, std::vector<std::string>{c.message});
        EXPECT_EQ(q, p) << "a refusal leaves the point unchanged";
    } else {
        EXPECT_TRUE(pr.infos.empty());
        EXPECT_EQ(c.head ? q.headSetFlag : q.toeSetFlag, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, HeadToeMoves,
    ::testing::Values(
        MoveCase{"head inside", true, 1, 1, 100, 400, 200, 1, 200, 400, nullptr},
        MoveCase{"head beyond placed toe", true, 1, 1, 100, 400, 450, 0, 100, 400,
                 kMsgHeadBeforeToe},
        MoveCase{"head on placed toe", true, 1, 1, 100, 400, 400, 0, 100, 400, kMsgHeadBeforeToe},
        MoveCase{"head drags unplaced toe", true, 1, 0, 100, 400, 450, 1, 450, 453, nullptr},
        MoveCase{"head clamped at trace end", true, 1, 0, 100, 400, 1022, 1, 1020, 1023, nullptr},
        MoveCase{"head past trace", true, 1, 1, 100, 400, 1024, 0, 100, 400, kMsgBadMarkPosition},
        MoveCase{"head negative", true, 1, 1, 100, 400, -1, 0, 100, 400, kMsgBadMarkPosition},
        MoveCase{"toe inside", false, 1, 1, 100, 400, 600, 1, 100, 600, nullptr},
        MoveCase{"toe before placed head", false, 1, 1, 100, 400, 50, 0, 100, 400,
                 kMsgToeAfterHead},
        MoveCase{"toe on placed head", false, 1, 1, 100, 400, 100, 0, 100, 400, kMsgToeAfterHead},
        MoveCase{"toe at 2 drags unplaced head", false, 0, 1, 100, 400, 2, 1, 0, 3, nullptr},
        MoveCase{"toe drags unplaced head", false, 0, 1, 100, 400, 50, 1, 47, 50, nullptr},
        MoveCase{"toe past trace", false, 1, 1, 100, 400, 1024, 0, 100, 400, kMsgBadMarkPosition}),
    [](const auto& info) {
        std::string n = info.param.what;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(PileHeadToe, NonInteractiveRefusalsShowNothing) {
    CSondaraDoc doc = docWith({pilePoint()});
    ScriptedPrompter pr;
    EXPECT_EQ(SetPileHead(doc, 0, 600, kKeepLength, false, pr), 0);
    EXPECT_EQ(SetPileToe(doc, 0, 5000, kKeepLength, false, pr), 0);
    EXPECT_EQ(SetPileHead(doc, 7, 10, kKeepLength, true, pr), 0);  // no such point
    EXPECT_TRUE(pr.infos.empty());
    EXPECT_EQ(doc.points[0], pilePoint());
}

TEST(PileHeadToe, TinyTraceHasNoRoomForClampedPair) {
    TestPoint p = pilePoint();
    p.samples.assign(3, 0.0f);
    p.recordedLength = 3;
    p.headIndex = 0;
    p.toeIndex = 1;
    p.headSetFlag = p.toeSetFlag = 0;
    CSondaraDoc doc = docWith({p});
    ScriptedPrompter pr;
    EXPECT_EQ(SetPileHead(doc, 0, 2, kKeepLength, true, pr), 0);
    EXPECT_EQ(SetPileToe(doc, 0, 0, kKeepLength, true, pr), 0);
    EXPECT_EQ(doc.points[0], p);
    EXPECT_EQ(pr.infos, (std::vector<std::string>{kMsgBadMarkPosition, kMsgBadMarkPosition}));
}

TEST(PileHeadToe, RecomputesLengthOrSpeedByFollowMode) {
    // KeepSpeed: 400 samples of 20 us there and back at 4000 m/s is 16 m.
    TestPoint p = pilePoint();
    p.pileLength = 3.0f;
    p.toeIndex = 900;
    CSondaraDoc doc = docWith({p});
    ScriptedPrompter pr;
    ASSERT_EQ(SetPileToe(doc, 0, 500, kKeepSpeed, true, pr), 1);
    EXPECT_FLOAT_EQ(doc.points[0].pileLength, 16.0f);
    EXPECT_EQ(doc.points[0].waveSpeed, 4000);

    // KeepLength (and AutoAdjust): 16 m over 500 samples gives 3200 m/s.
    for (LengthFollowMode m : {kKeepLength, LengthFollowMode::AutoAdjust}) {
        CSondaraDoc d = docWith({pilePoint()});
        ASSERT_EQ(SetPileToe(d, 0, 600, m, true, pr), 1);
        EXPECT_EQ(d.points[0].waveSpeed, 3200);
        EXPECT_FLOAT_EQ(d.points[0].pileLength, 16.0f);
        ASSERT_EQ(SetPileHead(d, 0, 200, m, true, pr), 1);
        EXPECT_EQ(d.points[0].waveSpeed, 4000);
    }
}

TEST(PileHeadToe, NoRecomputationWithoutTravelTimeOrStorableResult) {
    ScriptedPrompter pr;
    // Toe off the trace: nothing to recompute from.
    TestPoint p = pilePoint();
    p.toeIndex = 2000;
    CSondaraDoc doc = docWith({p});
    ASSERT_EQ(SetPileHead(doc, 0, 300, kKeepLength, true, pr), 1);
    EXPECT_EQ(doc.points[0].waveSpeed, 4000);

    // A sample interval of 0 from a file gives no travel time.
    p = pilePoint();
    p.sampleInterval = 0.0f;
    doc = docWith({p});
    ASSERT_EQ(SetPileToe(doc, 0, 600, kKeepLength, true, pr), 1);
    EXPECT_EQ(doc.points[0].waveSpeed, 4000);
    EXPECT_FLOAT_EQ(doc.points[0].pileLength, 16.0f);

    // A speed beyond the int16 field (100 m over one sample) is not wrapped.
    p = pilePoint();
    p.pileLength = 100.0f;
    doc = docWith({p});
    ASSERT_EQ(SetPileToe(doc, 0, 101, kKeepLength, true, pr), 1);
    EXPECT_EQ(doc.points[0].toeIndex, 101);
    EXPECT_EQ(doc.points[0].waveSpeed, 4000);

    // Equal or reversed indices, as a file may hold them.
    for (int toe : {100, 90}) {
        TestPoint e = pilePoint();
        e.toeIndex = static_cast<std::int16_t>(toe);
        TestPoint before = e;
        EXPECT_FALSE(RecomputeLengthOrSpeed(e, kKeepLength));
        EXPECT_FALSE(RecomputeLengthOrSpeed(e, kKeepSpeed));
        EXPECT_EQ(e, before);
    }
    EXPECT_TRUE(pr.infos.empty());
}

struct OutOfRangeCase {
    const char* what;
    std::vector<PileMark> defects;
    bool head;
    int index;
    bool interactive;
    std::vector<bool> answers;
    bool asked;
    std::vector<int> kept;
};

TEST(PileHeadToe, OutOfRangeDefectsAreOfferedForDeletion) {
    // Between head 100 and toe 500: 150, 200 (扩底), 300 (扩底), 420.
    const std::vector<PileMark> four = {defectAt(150), defectAt(200, 7), defectAt(300, 7),
                                        defectAt(420)};
    const std::vector<PileMark> baseAt300 = {defectAt(150), defectAt(300, 7)};
    const std::vector<PileMark> crackAt300 = {defectAt(150), defectAt(300, 4)};
    const std::vector<OutOfRangeCase> cases = {
        {"head past two, yes", four, true, 200, true, {true}, true, {300, 420}},
        {"head past two, no", four, true, 200, true, {false}, true, {150, 200, 300, 420}},
        {"head dragged past two", four, true, 200, false, {}, false, {150, 200, 300, 420}},
        {"head before all", four, true, 120, true, {}, false, {150, 200, 300, 420}},
        {"toe onto enlarged base alone", baseAt300, false, 300, true, {}, false, {150, 300}},
        {"toe onto crack", crackAt300, false, 300, true, {true}, true, {150}},
        {"toe onto base with more beyond", four, false, 300, true, {true}, true, {150, 200, 300}},
        {"toe before enlarged bases", four, false, 250, true, {true}, true, {150, 200}},
        {"toe dragged onto defects", four, false, 150, false, {}, false, {150, 200, 300, 420}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestPoint p = pilePoint();
        p.defects = c.defects;
        CSondaraDoc doc = docWith({p});
        ScriptedPrompter pr(c.answers);
        int r = c.head ? SetPileHead(doc, 0, c.index, kKeepLength, c.interactive, pr)
                       : SetPileToe(doc, 0, c.index, kKeepLength, c.interactive, pr);
        EXPECT_EQ(r, 1);
        EXPECT_EQ(pr.questions.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(pr.questions[0], kAskDeleteOutOfRange);
        }
        EXPECT_EQ(positionsOf(doc.points[0]), c.kept);
    }
}

// ---- defects ------------------------------------------------------------------------

TEST(Defects, AddChecksInOrder) {
    struct Case {
        int position;
        int ret;
        const char* message;
    };
    // Head 100, toe 500, an existing defect at 300.
    const std::vector<Case> cases = {
        {101, 1, nullptr},
        {499, 1, nullptr},
        {100, 0, kMsgDefectOutsidePile},
        {500, 0, kMsgDefectOutsidePile},
        {50, 0, kMsgDefectOutsidePile},
        {-1, 0, kMsgDefectDataError},
        {1024, 0, kMsgDefectDataError},
        {302, 0, kMsgDefectsTooClose},
        {298, 0, kMsgDefectsTooClose},
        {300, 0, kMsgDefectsTooClose},
        {303, 1, nullptr},
        {297, 1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        TestPoint p = pilePoint();
        p.defects = {defectAt(300)};
        CSondaraDoc doc = docWith({p});
        ScriptedPrompter pr;
        EXPECT_EQ(AddDefect(doc, 0, c.position, 1, "", "", pr), c.ret);
        if (c.message) {
            EXPECT_EQ(pr.infos, std::vector<std::string>{c.message});
        } else {
            EXPECT_TRUE(pr.infos.empty());
        }
        EXPECT_EQ(doc.points[0].defectCount(), c.ret ? 2 : 1);
    }
    // The trace check comes before the pile check even when a toe lies off the trace.
    TestPoint p = pilePoint();
    p.toeIndex = 2000;
    CSondaraDoc doc = docWith({p});
    ScriptedPrompter pr;
    EXPECT_EQ(AddDefect(doc, 0, 1500, 1, "", "", pr), 0);
    EXPECT_EQ(pr.infos, std::vector<std::string>{kMsgDefectDataError});
}

TEST(Defects, RecordTakesTableNameOrOwnNameDepthAndRemark) {
    CSondaraDoc doc = docWith({pilePoint()});
    ScriptedPrompter pr;
    ASSERT_EQ(AddDefect(doc, 0, 150, 3, utf8ToGbk("别的"), utf8ToGbk("备注"), pr), 1);
    std::string longName(60, 'x');
    ASSERT_EQ(AddDefect(doc, 0, 200, 100, longName, std::string(70, 'r'), pr), 1);
    const PileMark& a = doc.points[0].defects[0];
    EXPECT_EQ(textOf(a.name), DefectNames().gbk[3]);  // 断桩, the own name is ignored
    EXPECT_EQ(textOf(a.remark), utf8ToGbk("备注"));
    EXPECT_EQ(a.kind, 3);
    // 50 samples of 20 us at 4000 m/s: 2 m below the head.
    EXPECT_FLOAT_EQ(a.depth, 2.0f);
    const PileMark& b = doc.points[0].defects[1];
    EXPECT_EQ(textOf(b.name), std::string(49, 'x'));
    EXPECT_EQ(textOf(b.remark), std::string(49, 'r'));
    EXPECT_EQ(b.kind, 100);
    EXPECT_EQ(b.thirdText, FixedText<50>{});
}

TEST(Defects, DialogEntryTrimsCutsAndDerivesKind) {
    struct Case {
        const char* name;
        int kind;
        std::string gbk;
    };
    std::string thirty;  // 30 two-byte characters: 60 GBK bytes, cut to 48 whole ones
    for (int i = 0; i < 30; ++i) thirty += "桩";
    const std::vector<Case> cases = {
        {"  断桩\t", 3, utf8ToGbk("断桩")},
        {"扩底", 7, utf8ToGbk("扩底")},
        {"无缺陷", 0, utf8ToGbk("无缺陷")},
        {" 空洞 ", 100, utf8ToGbk("空洞")},
        {"断桩?", 100, utf8ToGbk("断桩?")},
        {thirty.c_str(), 100, utf8ToGbk(thirty).substr(0, 48)},
        {"   ", 100, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DefectEntry e = MakeDefectEntry(c.name, "  说明  ");
        EXPECT_EQ(e.kind, c.kind);
        EXPECT_EQ(e.nameGbk, c.gbk);
        EXPECT_EQ(e.remarkGbk, utf8ToGbk("说明"));
    }
}

TEST(Defects, CustomDefectGoesToEveryTargetAndIgnoresBlankName) {
    TestPoint narrow = pilePoint();
    narrow.toeIndex = 150;  // the position lies beyond this pile
    CSondaraDoc doc = docWith({pilePoint(), narrow, pilePoint()});
    ScriptedPrompter pr;
    EXPECT_EQ(AddCustomDefect(doc, {0, 1, 2}, 200, "  ", "x", pr), 0);
    EXPECT_TRUE(pr.infos.empty());
    EXPECT_EQ(AddCustomDefect(doc, {0, 1, 2}, 200, " 空洞 ", "", pr), 2);
    EXPECT_EQ(pr.infos, std::vector<std::string>{kMsgDefectOutsidePile});
    for (int i : {0, 2}) {
        ASSERT_EQ(doc.points[i].defectCount(), 1);
        EXPECT_EQ(doc.points[i].defects[0].kind, 100);
        EXPECT_EQ(textOf(doc.points[i].defects[0].name), utf8ToGbk("空洞"));
    }
    EXPECT_EQ(doc.points[1].defectCount(), 0);
}

TEST(Defects, EditReplaceMoveAndDelete) {
    TestPoint p = pilePoint();
    p.defects = {defectAt(150), defectAt(200), defectAt(250)};
    p.defects[1].thirdText[0] = 'k';  // carried from a file
    CSondaraDoc doc = docWith({p});

    // Edit: new name re-derives the kind and the depth (the speed changed since).
    doc.points[0].waveSpeed = 2000;
    ASSERT_EQ(EditDefect(doc, 0, 1, " 夹泥 ", "新备注"), 1);
    const PileMark& e = doc.points[0].defects[1];
    EXPECT_EQ(e.kind, 5);
    EXPECT_EQ(e.position, 200);
    EXPECT_FLOAT_EQ(e.depth, 2.0f);
    EXPECT_EQ(textOf(e.remark), utf8ToGbk("新备注"));
    EXPECT_EQ(e.thirdText[0], 'k');
    ASSERT_EQ(EditDefect(doc, 0, 1, "自己的", ""), 1);
    EXPECT_EQ(doc.points[0].defects[1].kind, 100);
    EXPECT_EQ(EditDefect(doc, 0, 3, "夹泥", ""), 0);

    // Replace and move: refused onto another defect, off the trace, or for a bad j.
    EXPECT_EQ(ReplaceDefect(doc, 0, 0, defectAt(200)), 0);
    EXPECT_EQ(ReplaceDefect(doc, 0, 0, defectAt(1024)), 0);
    EXPECT_EQ(ReplaceDefect(doc, 0, -1, defectAt(160)), 0);
    EXPECT_EQ(MoveDefect(doc, 0, 0, 250), 0);
    EXPECT_EQ(ReplaceDefect(doc, 0, 0, defectAt(150, 4)), 1);  // its own position is fine
    EXPECT_EQ(doc.points[0].defects[0].kind, 4);
    ASSERT_EQ(MoveDefect(doc, 0, 0, 175), 1);
    EXPECT_EQ(doc.points[0].defects[0].position, 175);
    EXPECT_FLOAT_EQ(doc.points[0].defects[0].depth, 1.5f);

    // Delete keeps the order of the others.
    ASSERT_EQ(DeleteDefect(doc, 0, 1), 1);
    EXPECT_EQ(positionsOf(doc.points[0]), (std::vector<int>{175, 250}));
    EXPECT_EQ(DeleteDefect(doc, 0, 2), 0);
    EXPECT_EQ(DeleteDefect(doc, 3, 0), 0);
}

// ---- marker lines -------------------------------------------------------------------

TEST(MarkerLines, SpectrumAndCorrelationKeepTwoPositionsApart) {
    struct Case {
        int position;
        bool added;
    };
    for (MarkerDomain d : {MarkerDomain::Spectrum, MarkerDomain::Correlation}) {
        for (const Case& c :
             {Case{52, false}, Case{48, false}, Case{50, false}, Case{53, true}, Case{47, true}}) {
            SCOPED_TRACE(c.position);
            TestPoint p = pilePoint();
            p.spectrumMarks = {50};
            p.correlationMarks = {50};
            CSondaraDoc doc = docWith({p});
            EXPECT_EQ(AddMarkerLine(doc, {0}, d, c.position), c.added ? 1 : 0);
            const auto& list = d == MarkerDomain::Spectrum ? doc.points[0].spectrumMarks
                                                           : doc.points[0].correlationMarks;
            EXPECT_EQ(list.size(), c.added ? 2u : 1u);
            // The other list is untouched.
            const auto& other = d == MarkerDomain::Spectrum ? doc.points[0].correlationMarks
                                                            : doc.points[0].spectrumMarks;
            EXPECT_EQ(other, std::vector<std::int32_t>{50});
        }
    }
    // Several points: a point with a near mark is skipped, the others get it.
    TestPoint near = pilePoint();
    near.spectrumMarks = {101};
    CSondaraDoc doc = docWith({pilePoint(), near, pilePoint()});
    EXPECT_EQ(AddMarkerLine(doc, {0, 1, 2, 9}, MarkerDomain::Spectrum, 100), 1);
    EXPECT_EQ(doc.points[0].spectrumMarks, std::vector<std::int32_t>{100});
    EXPECT_EQ(doc.points[1].spectrumMarks, std::vector<std::int32_t>{101});
    EXPECT_EQ(doc.points[2].spectrumMarks, std::vector<std::int32_t>{100});
}

TEST(MarkerLines, WaveletMarksPerPane) {
    TestPoint p = pilePoint();
    p.waveletMarkPanes = {1};
    p.waveletMarkPositions = {40};
    CSondaraDoc doc = docWith({p});
    // Point 0, panes 1, 2, -1, 3: pane 1 already has 40, -1 is no pane.
    EXPECT_EQ(AddMarkerLine(doc, {0, 1, 2, -1, 3}, MarkerDomain::Wavelet, 40), 1);
    EXPECT_EQ(doc.points[0].waveletMarkPanes, (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(doc.points[0].waveletMarkPositions, (std::vector<std::int32_t>{40, 40, 40}));
    // Wavelet marks may sit close together: only the exact duplicate is refused.
    EXPECT_EQ(AddMarkerLine(doc, {0, 1}, MarkerDomain::Wavelet, 41), 1);
    EXPECT_EQ(AddMarkerLine(doc, {0, 1}, MarkerDomain::Wavelet, 41), 0);
    EXPECT_EQ(AddMarkerLine(doc, {0}, MarkerDomain::Wavelet, 41), 0);

    // Move: refused onto another mark of the same pane, allowed onto another pane's.
    EXPECT_EQ(MoveMarkerLine(doc, 0, 3, MarkerDomain::Wavelet, 40), 0);  // pane 1 has 40
    EXPECT_EQ(MoveMarkerLine(doc, 0, 1, MarkerDomain::Wavelet, 41), 1);  // pane 2
    EXPECT_EQ(doc.points[0].waveletMarkPositions[1], 41);
    // Delete removes the pair.
    ASSERT_EQ(DeleteMarkerLine(doc, 0, 0, MarkerDomain::Wavelet), 1);
    EXPECT_EQ(doc.points[0].waveletMarkPanes, (std::vector<std::int32_t>{2, 3, 1}));
    EXPECT_EQ(doc.points[0].waveletMarkPositions, (std::vector<std::int32_t>{41, 40, 41}));
    EXPECT_EQ(DeleteMarkerLine(doc, 0, 3, MarkerDomain::Wavelet), 0);
}

TEST(MarkerLines, MoveAndDeleteSpectrumMarks) {
    TestPoint p = pilePoint();
    p.spectrumMarks = {10, 20, 30};
    CSondaraDoc doc = docWith({p});
    EXPECT_EQ(MoveMarkerLine(doc, 0, 0, MarkerDomain::Spectrum, 20), 0);
    EXPECT_EQ(MoveMarkerLine(doc, 0, 0, MarkerDomain::Spectrum, 1024), 0);
    EXPECT_EQ(MoveMarkerLine(doc, 0, 0, MarkerDomain::Spectrum, -1), 0);
    EXPECT_EQ(MoveMarkerLine(doc, 0, 3, MarkerDomain::Spectrum, 5), 0);
    EXPECT_EQ(MoveMarkerLine(doc, 0, 0, MarkerDomain::Spectrum, 21), 1);  // no spacing rule
    EXPECT_EQ(MoveMarkerLine(doc, 0, 1, MarkerDomain::Spectrum, 20), 1);  // onto itself
    ASSERT_EQ(DeleteMarkerLine(doc, 0, 1, MarkerDomain::Spectrum), 1);
    EXPECT_EQ(doc.points[0].spectrumMarks, (std::vector<std::int32_t>{21, 30}));
    EXPECT_TRUE(doc.points[0].correlationMarks.empty());
}

// ---- clearing -----------------------------------------------------------------------

TEST(ClearMarks, ActivePaneOrAllPanes) {
    TestPoint p = pilePoint();
    p.defects = {defectAt(150), defectAt(250)};
    p.spectrumMarks = {5, 9};
    p.correlationMarks = {7};
    p.waveletMarkPanes = {0, 1, 1};
    p.waveletMarkPositions = {10, 20, 30};
    TestPoint bare = pilePoint();

    // Current scope: an active pane without marks asks nothing.
    CSondaraDoc doc = docWith({p, bare});
    ScriptedPrompter yes({true, true, true});
    EXPECT_EQ(ClearAllMarks(doc, {{1, MarkSet::Defects}}, true, yes), 0);
    EXPECT_EQ(ClearAllMarks(doc, {}, true, yes), 0);
    EXPECT_TRUE(yes.questions.empty());

    // No keeps everything.
    ScriptedPrompter no({false});
    EXPECT_EQ(ClearAllMarks(doc, {{0, MarkSet::Defects}}, true, no), 0);
    EXPECT_EQ(no.questions, std::vector<std::string>{kAskClearAllMarks});
    EXPECT_EQ(doc.points[0], p);

    // Current scope clears the active pane only (the first listed).
    ASSERT_EQ(ClearAllMarks(doc, {{0, MarkSet::Wavelet, 1}, {0, MarkSet::Defects}}, true, yes), 1);
    EXPECT_EQ(doc.points[0].waveletMarkPanes, std::vector<std::int32_t>{0});
    EXPECT_EQ(doc.points[0].waveletMarkPositions, std::vector<std::int32_t>{10});
    EXPECT_EQ(doc.points[0].defectCount(), 2);

    // All scope clears what every pane shows, each its own list.
    ASSERT_EQ(
        ClearAllMarks(doc, {{0, MarkSet::Defects}, {0, MarkSet::Spectrum}, {1, MarkSet::Defects}},
                      false, yes),
        1);
    EXPECT_EQ(doc.points[0].defectCount(), 0);
    EXPECT_TRUE(doc.points[0].spectrumMarks.empty());
    EXPECT_EQ(doc.points[0].correlationMarks, std::vector<std::int32_t>{7});
    EXPECT_EQ(doc.points[0].waveletMarkPanes.size(), 1u);
}

// ---- analysis bar edits ---------------------------------------------------------------

TEST(AnalysisBarEdits, WaveSpeedSetsLengthForScope) {
    TestPoint other = pilePoint();
    other.toeIndex = 300;
    CSondaraDoc doc = docWith({pilePoint(), other});
    LengthFollowState follow;
    ScriptedPrompter pr;

    // Single pane: an unchanged value does nothing, also to the follow mode.
    EXPECT_EQ(EditWaveSpeed(doc, {0, 1}, 4000, false, follow), 0);
    EXPECT_EQ(follow.effective(), kKeepLength);
    // 400 samples of 20 us at 3000 m/s: 12 m; only the active pane's point.
    ASSERT_EQ(EditWaveSpeed(doc, {0, 1}, 3000, false, follow), 1);
    EXPECT_EQ(doc.points[0].waveSpeed, 3000);
    EXPECT_FLOAT_EQ(doc.points[0].pileLength, 12.0f);
    EXPECT_EQ(doc.points[1], other);
    EXPECT_EQ(follow.effective(), kKeepSpeed);

    // All panes: every point, each from its own head and toe.
    ASSERT_EQ(EditWaveSpeed(doc, {0, 1}, 5000, true, follow), 1);
    EXPECT_FLOAT_EQ(doc.points[0].pileLength, 20.0f);
    EXPECT_FLOAT_EQ(doc.points[1].pileLength, 10.0f);
    EXPECT_TRUE(pr.questions.empty());

    // Zero is refused in both cases, without a question: it would set every length to
    // 0 and lose the stored lengths. So are speeds beyond the stored field.
    for (bool all : {true, false})
        for (int speed : {0, -5, 40000}) {
            EXPECT_EQ(EditWaveSpeed(doc, {0, 1}, speed, all, follow), 0) << speed;
            EXPECT_EQ(doc.points[1].waveSpeed, 5000);
            EXPECT_FLOAT_EQ(doc.points[1].pileLength, 10.0f);
        }
    EXPECT_EQ(EditWaveSpeed(doc, {0}, 1, false, follow), 1);  // the least speed is taken
    EXPECT_EQ(doc.points[0].waveSpeed, 1);
}

TEST(AnalysisBarEdits, PileLengthSetsSpeedForScope) {
    CSondaraDoc doc = docWith({pilePoint(), pilePoint()});
    LengthFollowState follow;
    follow.speedEdited();  // AutoAdjust: now KeepSpeed
    ASSERT_EQ(follow.effective(), kKeepSpeed);
    ScriptedPrompter pr;
    EXPECT_EQ(EditPileLength(doc, {0}, 16.0, false, follow, pr), 0);
    EXPECT_EQ(follow.effective(), kKeepSpeed);
    ASSERT_EQ(EditPileLength(doc, {0}, 12.0, false, follow, pr), 1);
    EXPECT_EQ(doc.points[0].waveSpeed, 3000);
    EXPECT_EQ(doc.points[1].waveSpeed, 4000);
    EXPECT_EQ(follow.effective(), kKeepLength);

    ScriptedPrompter no({false});
    EXPECT_EQ(EditPileLength(doc, {0, 1}, 0.0, true, follow, no), 0);
    EXPECT_EQ(no.questions, std::vector<std::string>{kAskZeroPileLength});
    ASSERT_EQ(EditPileLength(doc, {0, 1}, 10.0, true, follow, pr), 1);
    EXPECT_EQ(doc.points[0].waveSpeed, 2500);
    EXPECT_EQ(doc.points[1].waveSpeed, 2500);
}

TEST(AnalysisBarEdits, DegenerateHeadAndToeKeepTheOtherValue) {
    // Equal or reversed head and toe (from a file) or no sample interval: the edited
    // value is stored, the derived one stays as it was instead of a division by zero.
    TestPoint equal = pilePoint();
    equal.toeIndex = 100;
    TestPoint reversed = pilePoint();
    reversed.toeIndex = 40;
    TestPoint noDt = pilePoint();
    noDt.sampleInterval = 0.0f;
    CSondaraDoc doc = docWith({equal, reversed, noDt});
    LengthFollowState follow;
    ScriptedPrompter pr;
    ASSERT_EQ(EditPileLength(doc, {0, 1, 2}, 12.0, true, follow, pr), 1);
    ASSERT_EQ(EditWaveSpeed(doc, {0, 1, 2}, 3000, true, follow), 1);
    for (const TestPoint& p : doc.points) {
        EXPECT_FLOAT_EQ(p.pileLength, 12.0f);
        EXPECT_EQ(p.waveSpeed, 3000);
    }
    // A length whose speed would not fit the field leaves the speed.
    TestPoint shortSpan = pilePoint();
    shortSpan.toeIndex = 101;
    doc = docWith({shortSpan});
    ASSERT_EQ(EditPileLength(doc, {0}, 100.0, false, follow, pr), 1);
    EXPECT_EQ(doc.points[0].waveSpeed, 4000);
}

TEST(AnalysisBarEdits, EffectiveFollowMode) {
    LengthFollowState s;
    EXPECT_EQ(s.effective(), kKeepLength);
    s.speedEdited();
    EXPECT_EQ(s.effective(), kKeepSpeed);
    s.lengthEdited();
    EXPECT_EQ(s.effective(), kKeepLength);
    s.applySettings(kKeepSpeed);
    EXPECT_EQ(s.effective(), kKeepSpeed);
    s.lengthEdited();  // the setting is not AutoAdjust: edits do not switch
    EXPECT_EQ(s.effective(), kKeepSpeed);
    s.applySettings(LengthFollowMode::AutoAdjust);  // keeps the last effective mode
    EXPECT_EQ(s.effective(), kKeepSpeed);
    s.lengthEdited();
    EXPECT_EQ(s.effective(), kKeepLength);
}

// ---- integrity class ------------------------------------------------------------------

TEST(IntegrityClass, SetByTrimmedExactName) {
    struct Case {
        const char* text;
        int cls;
    };
    for (const Case& c :
         {Case{"II类桩 ", 2}, Case{"\tIV类桩", 4}, Case{"I类桩", 1}, Case{"III类桩", 3},
          Case{"未得出", 0}, Case{"V类桩", 0}, Case{"II类", 0}, Case{"", 0}, Case{"ii类桩", 0}}) {
        SCOPED_TRACE(c.text);
        TestPoint p = pilePoint();
        p.integrityClass = 3;
        CSondaraDoc doc = docWith({p});
        EXPECT_EQ(SetIntegrityClass(doc, 0, c.text), c.cls);
        EXPECT_EQ(doc.points[0].integrityClass, c.cls);
    }
    CSondaraDoc empty;
    EXPECT_EQ(SetIntegrityClass(empty, 0, "I类桩"), 0);
}

}  // namespace
}  // namespace sondara
