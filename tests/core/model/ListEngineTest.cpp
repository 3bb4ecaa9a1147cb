#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "core/base/TextCodec.h"
#include "core/model/ListCommands.h"
#include "core/model/ListEngine.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

// A list written as "A1 A2* B3": pile number letters, an id (kept in spare0 and in
// the samples) and '*' for a ticked point.
CSondaraDoc docOf(const std::string& spec) {
    std::vector<TestPoint> pts;
    std::istringstream in(spec);
    std::string tok;
    while (in >> tok) {
        bool ticked = tok.back() == '*';
        if (ticked) tok.pop_back();
        std::size_t digits = tok.find_first_of("0123456789");
        int id = std::stoi(tok.substr(digits));
        TestPoint p = test::simplePoint(tok.substr(0, digits).c_str(), 4, static_cast<float>(id));
        p.spare0 = static_cast<std::int16_t>(id);
        p.checked = ticked ? 1 : 0;
        pts.push_back(std::move(p));
    }
    return test::makeDoc(std::move(pts));
}

TestPoint carried(const char* pileNo, int id) {
    TestPoint p = test::simplePoint(pileNo, 4, static_cast<float>(id));
    p.spare0 = static_cast<std::int16_t>(id);
    return p;
}

std::string sig(const CSondaraDoc& d) {
    std::string s;
    for (const TestPoint& p : d.points) {
        if (!s.empty()) s += ' ';
        s += std::string(textOf(p.pileNo)) + std::to_string(p.spare0) + (p.checked ? "*" : "");
    }
    return s;
}

std::vector<int> checkedOf(const CSondaraDoc& d) {
    std::vector<int> v;
    for (int i = 0; i < d.pointCount(); ++i)
        if (d.points[i].checked) v.push_back(i);
    return v;
}

// The document invariants every applied edit must keep.
void expectConsistent(const CSondaraDoc& d) {
    EXPECT_EQ(d.info.pointCount, d.pointCount());
    EXPECT_EQ(d.checkedList, checkedOf(d));
    if (d.selectionMode != 0) {
        ASSERT_TRUE(d.validPoint(d.currentPoint));
        EXPECT_EQ(d.currentPile, d.pileOrdinal(d.currentPoint));
        EXPECT_EQ(d.pileMembers, d.pileMembersOf(d.currentPoint));
    }
}

ListSnapshot snap(std::int32_t op, int mode = 0, int anchor = -1, int position = -1,
                  std::vector<TestPoint> pts = {}) {
    ListSnapshot s;
    s.op = op;
    s.mode = mode;
    s.anchor = anchor;
    s.position = position;
    s.points = std::move(pts);
    return s;
}

struct RoundTrip {
    const char* name;
    const char* before;
    std::function<ListSnapshot(CSondaraDoc&)> make;  // may change the selection first
    const char* after;
    int selMode = -1;  // expected selection after Do; -1 = not checked
    int selPoint = -1;
};

const char* kList = "A1 A2* B3 C4* C5";

std::vector<RoundTrip> roundTrips() {
    auto fixed = [](ListSnapshot s) { return [s](CSondaraDoc&) { return s; }; };
    std::vector<TestPoint> reversed;
    for (const char* t : {"C5", "C4", "B3", "A2", "A1"})
        reversed.push_back(carried(std::string(1, t[0]).c_str(), t[1] - '0'));
    TestPoint fields = carried("Z", 7);
    fields.sourceIndex = 2;
    std::vector<TestPoint> allTicked(5);
    for (TestPoint& p : allTicked) p.checked = 1;
    return {
        {"paste point", kList, fixed(snap(kOpPaste, 1, -1, 2, {carried("X", 9)})),
         "A1 A2* X9 C4* C5"},
        {"paste pile takes the pile number", kList,
         fixed(snap(kOpPaste, 2, -1, 4, {carried("X", 8), carried("X", 9)})), "A1 A2* B3 C8 C9", 2,
         3},
        {"insert point", kList, fixed(snap(kOpInsert, 1, -1, 2, {carried("X", 9)})),
         "A1 A2* X9 B3 C4* C5", 1, 2},
        {"insert pile before the pile", kList,
         fixed(snap(kOpInsert, 2, -1, 4, {carried("X", 8), carried("X", 9)})),
         "A1 A2* B3 X8 X9 C4* C5", 2, 3},
        {"append point", kList, fixed(snap(kOpAppend, 1, -1, 0, {carried("X", 9)})),
         "A1 X9 A2* B3 C4* C5", 1, 1},
        {"append pile after the pile", kList,
         fixed(snap(kOpAppend, 2, -1, 0, {carried("X", 8), carried("X", 9)})),
         "A1 A2* X8 X9 B3 C4* C5", 2, 2},
        {"delete point", kList, fixed(snap(kOpDelete, 1, -1, 2)), "A1 A2* C4* C5"},
        {"delete first pile", kList, fixed(snap(kOpDelete, 2, -1, 1)), "B3 C4* C5"},
        {"delete last pile", kList, fixed(snap(kOpDelete, 2, -1, 4)), "A1 A2* B3"},
        {"delete pile that joins its neighbours", "A1 B2 A3", fixed(snap(kOpDelete, 2, -1, 1)),
         "A1 A3"},
        {"move point up", kList,
         [](CSondaraDoc& d) {
             d.selectPoint(1);
             return snap(kOpMoveUp, 1, 1);
         },
         "A2* A1 B3 C4* C5", 1, 0},
        {"move point down", kList, fixed(snap(kOpMoveDown, 1, 2)), "A1 A2* C4* B3 C5"},
        {"move pile up", kList,
         [](CSondaraDoc& d) {
             d.selectPile(1);
             return snap(kOpMoveUp, 2, 2);
         },
         "B3 A1 A2* C4* C5", 2, 0},
        {"move pile down", kList,
         [](CSondaraDoc& d) {
             d.selectPile(0);
             return snap(kOpMoveDown, 2, 0);
         },
         "B3 A1 A2* C4* C5", 2, 1},
        {"move pile up joining piles", "A1 B2 A3", fixed(snap(kOpMoveUp, 2, 2)), "A1 A3 B2"},
        {"move pile down joining piles", "A1 B2 A3", fixed(snap(kOpMoveDown, 2, 0)), "B2 A1 A3"},
        {"fixed fields", kList, fixed(snap(kOpExchangeFields, 0, -1, -1, {fields})),
         "A1 A2* Z7 C4* C5"},
        {"sort descending", kList, fixed(snap(kOpSortDescending)), "C4* C5 B3 A1 A2*"},
        {"exchange list", kList, fixed(snap(kOpExchangeList, 0, -1, -1, reversed)),
         "C5 C4 B3 A2 A1"},
        {"tick all", kList, fixed(snap(kOpTickAll)), "A1* A2* B3* C4* C5*"},
        {"untick all", kList, fixed(snap(kOpUntickAll)), "A1 A2 B3 C4 C5"},
        {"invert ticks", kList, fixed(snap(kOpInvertTicks)), "A1* A2 B3* C4 C5*"},
        {"exchange ticks", kList, fixed(snap(kOpExchangeTicks, 0, -1, -1, allTicked)),
         "A1* A2* B3* C4* C5*"},
        {"tick one", kList, fixed(snap(kOpTick, 0, 0)), "A1* A2* B3 C4* C5"},
        {"untick one", kList, fixed(snap(kOpUntick, 0, 3)), "A1 A2* B3 C4 C5"},
    };
}

TEST(ListEngine, EveryOperationRoundTripsThroughUndoAndRedo) {
    for (const RoundTrip& c : roundTrips()) {
        SCOPED_TRACE(c.name);
        CSondaraDoc d = docOf(c.before);
        int notified = 0;
        d.addObserver([&](DocChange, const std::vector<int>&) { ++notified; });
        ListSnapshot s = c.make(d);
        const std::vector<TestPoint> original = d.points;

        ASSERT_TRUE(Do(d, s));
        EXPECT_EQ(sig(d), c.after);
        EXPECT_TRUE(d.modified);
        EXPECT_EQ(notified, 1);
        EXPECT_EQ(d.undoStack.size(), 1u);
        EXPECT_TRUE(d.redoStack.empty());
        if (c.selMode >= 0) {
            EXPECT_EQ(d.selectionMode, c.selMode);
            EXPECT_EQ(d.currentPoint, c.selPoint);
        }
        expectConsistent(d);
        const std::vector<TestPoint> edited = d.points;

        ASSERT_TRUE(Undo(d));
        EXPECT_EQ(sig(d), c.before);
        EXPECT_EQ(d.points, original);  // every field and array, not only the signature
        EXPECT_TRUE(d.undoStack.empty());
        EXPECT_EQ(d.redoStack.size(), 1u);
        expectConsistent(d);

        ASSERT_TRUE(Redo(d));
        EXPECT_EQ(d.points, edited);
        EXPECT_EQ(d.undoStack.size(), 1u);
        EXPECT_TRUE(d.redoStack.empty());
        expectConsistent(d);

        ASSERT_TRUE(Undo(d));  // the record keeps working after a full cycle
        EXPECT_EQ(d.points, original);
    }
}

TEST(ListEngine, OperationsThatDoNotApplyChangeNothing) {
    struct Case {
        const char* name;
        const char* list;
        ListSnapshot s;
    };
    std::vector<TestPoint> two = {carried("X", 8), carried("X", 9)};
    std::vector<Case> cases = {
        {"sort an ascending list", "A1 B2 B3 C4", snap(kOpSortAscending)},
        {"sort a descending list descending", "C1 B2 A3", snap(kOpSortDescending)},
        {"tick all when all are ticked", "A1* B2*", snap(kOpTickAll)},
        {"untick all when none is ticked", "A1 B2", snap(kOpUntickAll)},
        {"tick a ticked point", "A1* B2", snap(kOpTick, 0, 0)},
        {"untick an unticked point", "A1* B2", snap(kOpUntick, 0, 1)},
        {"move the first point up", "A1 B2", snap(kOpMoveUp, 1, 0)},
        {"move the last point down", "A1 B2", snap(kOpMoveDown, 1, 1)},
        {"move the first pile up", "A1 A2 B3", snap(kOpMoveUp, 2, 1)},
        {"move the last pile down", "A1 B2 B3", snap(kOpMoveDown, 2, 1)},
        {"delete outside the list", "A1 B2", snap(kOpDelete, 1, -1, 2)},
        {"delete in an unknown mode", "A1 B2", snap(kOpDelete, 3, -1, 0)},
        {"paste two points as one", "A1 B2", snap(kOpPaste, 1, -1, 0, two)},
        {"paste nothing over a pile", "A1 B2", snap(kOpPaste, 2, -1, 0)},
        {"insert outside the list", "A1 B2", snap(kOpInsert, 1, -1, 5, {carried("X", 9)})},
        {"exchange a list of another length", "A1 B2 C3", snap(kOpExchangeList, 0, -1, -1, two)},
        {"exchange ticks of another length", "A1 B2 C3", snap(kOpExchangeTicks, 0, -1, -1, two)},
        {"fields of a point outside the list", "A1",
         snap(kOpExchangeFields, 0, -1, -1, {carried("X", 9)})},
        {"unknown operation", "A1", snap(9)},
    };
    cases[17].s.points[0].sourceIndex = 4;
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSondaraDoc d = docOf(c.list);
        int notified = 0;
        d.addObserver([&](DocChange, const std::vector<int>&) { ++notified; });
        const std::vector<TestPoint> before = d.points;
        EXPECT_FALSE(Do(d, c.s));
        EXPECT_EQ(d.points, before);
        EXPECT_TRUE(d.undoStack.empty());
        EXPECT_FALSE(d.modified);
        EXPECT_EQ(notified, 0);
    }
}

TEST(ListEngine, ANewDoClearsTheRedoStack) {
    CSondaraDoc d = docOf(kList);
    ASSERT_TRUE(Do(d, snap(kOpTick, 0, 0)));
    ASSERT_TRUE(Undo(d));
    ASSERT_EQ(d.redoStack.size(), 1u);
    ASSERT_TRUE(Do(d, snap(kOpTick, 0, 2)));
    EXPECT_TRUE(d.redoStack.empty());
    EXPECT_FALSE(Redo(d));
    EXPECT_EQ(sig(d), "A1 A2* B3* C4* C5");
}

TEST(ListEngine, AStaleUndoRecordIsDroppedInsteadOfBlockingTheHistory) {
    CSondaraDoc d = docOf("A1 B2");
    ASSERT_TRUE(Do(d, snap(kOpTick, 0, 0)));
    ASSERT_TRUE(Do(d, snap(kOpTick, 0, 1)));
    test::ScriptedPrompter yes({true});
    ASSERT_TRUE(Restore(d, yes));  // both ticks are gone; the history is kept
    EXPECT_EQ(d.undoStack.size(), 2u);
    EXPECT_FALSE(Undo(d));  // untick of an unticked point: dropped, not moved to redo
    EXPECT_EQ(d.undoStack.size(), 1u);
    EXPECT_TRUE(d.redoStack.empty());
}

TEST(NewPileNumber, DiffersFromBothNeighbours) {
    struct Case {
        std::string before, after, base, expected;
    };
    std::vector<Case> cases = {
        {"", "", "", "1"},
        {"A9", "B1", "A9", "Aa"},
        {"P0", "P1", "P1", "P2"},
        {"", "PZ", "PZ", "P0"},    // 'Z' wraps to '0'
        {"Pz", "", "Pz", "PA"},    // 'z' goes on with 'A'
        {"Az", "AA", "Az", "AB"},  // the first candidate hits a neighbour twice
        {"B1", "B1", "B1", "B2"},  // equal neighbours skip the base
        {"", "", "Q", "1"},
        {"P-", "", "P-", "P0"},
        {utf8ToGbk("1号桩"), "", utf8ToGbk("1号桩"),
         "1" + utf8ToGbk("号") + "0"},  // whole character
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before + "|" + c.after + "|" + c.base);
        std::string r = NewPileNumber(c.before, c.after, c.base);
        EXPECT_EQ(r, c.expected);
        EXPECT_NE(r, c.before);
        EXPECT_NE(r, c.after);
    }
}

TEST(ListEngine, InsertedPileIsRenumberedOnlyWhenItWouldJoinANeighbour) {
    struct Case {
        const char* name;
        std::string list;  // pile numbers, one point each
        int position;      // current point
        std::int32_t op;
        std::string carriedNo;
        std::string expected;  // number of the inserted pile
    };
    std::vector<Case> cases = {
        {"P1 before P1 after P0", "P0 P1", 1, kOpInsert, "P1", "P2"},
        {"distinct number kept", "P0 P1", 1, kOpInsert, "Q7", "Q7"},
        {"append after its twin", "P1 P2", 0, kOpAppend, "P1", "P3"},
        {"long numbers compare by their first 9", "Q ABCDEFGHIJK2", 1, kOpInsert, "ABCDEFGHIJK1",
         "ABCDEFGHJ"},
        {"10 characters compare whole", "Q ABCDEFGHI2", 1, kOpInsert, "ABCDEFGHI1", "ABCDEFGHI1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TestPoint> pts;
        std::istringstream in(c.list);
        std::string no;
        while (in >> no) pts.push_back(test::simplePoint(no.c_str(), 2));
        CSondaraDoc d = test::makeDoc(std::move(pts));
        ASSERT_TRUE(Do(d, snap(c.op, 2, -1, c.position,
                               {test::simplePoint(c.carriedNo.c_str(), 2),
                                test::simplePoint(c.carriedNo.c_str(), 2)})));
        ASSERT_EQ(d.selectionMode, 2);
        ASSERT_EQ(d.pileMembers.size(), 2u);  // a pile of its own
        EXPECT_EQ(textOf(d.points[d.currentPoint].pileNo), c.expected);
        EXPECT_EQ(textOf(d.points[d.currentPoint + 1].pileNo), c.expected);
    }
}

TEST(ListEngine, InsertAndAppendIntoAnEmptyList) {
    for (std::int32_t op : {kOpInsert, kOpAppend}) {
        CSondaraDoc d = test::makeDoc({});
        ASSERT_TRUE(Do(d, snap(op, 2, -1, 0, {carried("", 1), carried("", 2)})));
        EXPECT_EQ(sig(d), "11 12");  // an empty number becomes "1"
        EXPECT_EQ(d.selectionMode, 2);
        EXPECT_EQ(d.currentPile, 0);
        ASSERT_TRUE(Undo(d));
        EXPECT_TRUE(d.points.empty());
        EXPECT_EQ(d.selectionMode, 0);
    }
}

TEST(PileCompare, NaturalOrder) {
    struct Case {
        std::string a, b;
        int expected;
    };
    std::vector<Case> cases = {
        {"P2", "P10", -1},
        {"P9", "P9a", -1},
        {"P9a", "P10", -1},
        {"P10", "P10", 0},
        {"A1B2", "A1B10", -1},  // the second run decides
        {"A1", "A1B2", -1},     // equal so far: more runs is larger
        {"A01", "A1", -1},      // equal values, then the whole text
        {"B1", "A2", 1},        // the prefix decides before the value
        {"abc", "abd", -1},     // no digits: the whole text
        {"10", "9", 1},
        {"P99999999999999999999", "P100000000000000000000", -1},  // no overflow
        {utf8ToGbk("桩1"), utf8ToGbk("桩2"), -1},
        {"Z1", utf8ToGbk("桩1"), -1},  // a GBK character sorts after ASCII
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a + " vs " + c.b);
        EXPECT_EQ(PileCompare(c.a, c.b), c.expected);
        EXPECT_EQ(PileCompare(c.b, c.a), -c.expected);
    }
}

TEST(ListEngine, SortIsNaturalStableAndANoOpSortPushesNothing) {
    std::vector<TestPoint> pts;
    int id = 0;
    for (const char* no : {"P10", "P9", "P9a", "P2", "P9"}) pts.push_back(carried(no, ++id));
    CSondaraDoc d = test::makeDoc(std::move(pts));
    d.selectPoint(1);
    ASSERT_TRUE(SortList(d, true));
    EXPECT_EQ(sig(d), "P24 P92 P95 P9a3 P101");  // the two P9 keep their order
    EXPECT_EQ(d.currentPoint, 1);                // the index stays, the point changes
    expectConsistent(d);
    EXPECT_FALSE(SortList(d, true));
    EXPECT_EQ(d.undoStack.size(), 1u);
    ASSERT_TRUE(SortList(d, false));
    EXPECT_EQ(sig(d), "P101 P9a3 P92 P95 P24");
    ASSERT_TRUE(Undo(d));
    ASSERT_TRUE(Undo(d));
    EXPECT_EQ(sig(d), "P101 P92 P9a3 P24 P95");
}

TEST(ListCommands, PasteAPileOverAnotherPileUndoAndRedo) {
    CSondaraDoc d = docOf("A1 A2 A3 B4 C5 C6");
    MemoryClipboard clip;
    d.selectPile(0);
    ASSERT_TRUE(CopySelection(d, clip));
    d.selectPile(2);
    EXPECT_EQ(clipboardState(d, clip), 1);
    EXPECT_TRUE(isListCommandEnabled(ListCommand::Paste, d, clip));
    SilentPrompter p;
    ASSERT_TRUE(runListCommand(ListCommand::Paste, d, clip, p));
    EXPECT_EQ(sig(d), "A1 A2 A3 B4 C1 C2 C3");
    EXPECT_EQ(d.selectionMode, 2);
    EXPECT_EQ(d.currentPile, 2);
    EXPECT_EQ(d.pileMembers, (std::vector<int>{4, 5, 6}));
    ASSERT_TRUE(runListCommand(ListCommand::Undo, d, clip, p));
    EXPECT_EQ(sig(d), "A1 A2 A3 B4 C5 C6");
    ASSERT_TRUE(runListCommand(ListCommand::Redo, d, clip, p));
    EXPECT_EQ(sig(d), "A1 A2 A3 B4 C1 C2 C3");
}

TEST(ListCommands, DeleteTheLastPointAndUndoAppendsItAgain) {
    CSondaraDoc d = docOf("A1 A2 B3");
    d.selectPoint(2);
    ASSERT_TRUE(DeleteSelection(d));
    EXPECT_EQ(sig(d), "A1 A2");
    EXPECT_EQ(d.currentPoint, 1);  // the point before the deleted one
    ASSERT_EQ(d.undoStack.size(), 1u);
    EXPECT_EQ(d.undoStack.back().op, kOpAppend);
    EXPECT_EQ(d.undoStack.back().position, 1);
    ASSERT_TRUE(Undo(d));
    EXPECT_EQ(sig(d), "A1 A2 B3");
    EXPECT_EQ(d.currentPoint, 2);

    CSondaraDoc one = docOf("A1");
    ASSERT_TRUE(DeleteSelection(one));
    EXPECT_TRUE(one.points.empty());
    EXPECT_EQ(one.selectionMode, 0);
    ASSERT_TRUE(Undo(one));
    EXPECT_EQ(sig(one), "A1");
}

TEST(ListCommands, ClipboardStateAndEnableRules) {
    CSondaraDoc d = docOf("A1 A2 B3");
    MemoryClipboard clip;
    EXPECT_EQ(clipboardState(d, clip), 0);
    EXPECT_FALSE(isListCommandEnabled(ListCommand::Paste, d, clip));
    clip.block = std::string(300, '\x07');  // something under our format, but not a block
    EXPECT_EQ(clipboardState(d, clip), 0);

    d.selectPile(0);
    ASSERT_TRUE(CopySelection(d, clip));  // two points
    EXPECT_EQ(clipboardState(d, clip), 1);
    d.selectPoint(2);
    EXPECT_EQ(clipboardState(d, clip), 2);
    EXPECT_FALSE(isListCommandEnabled(ListCommand::Insert, d, clip));
    EXPECT_FALSE(InsertFromClipboard(d, clip));
    EXPECT_FALSE(isListCommandEnabled(ListCommand::Append, d, clip));

    ASSERT_TRUE(CopySelection(d, clip));  // one point
    EXPECT_EQ(clipboardState(d, clip), 1);
    d.selectPoint(-1);
    EXPECT_EQ(clipboardState(d, clip), 2);
    EXPECT_FALSE(isListCommandEnabled(ListCommand::Copy, d, clip));
    EXPECT_FALSE(CopySelection(d, clip));

    CSondaraDoc empty = test::makeDoc({});
    EXPECT_EQ(clipboardState(empty, clip), 2);
    EXPECT_TRUE(isListCommandEnabled(ListCommand::Append, empty, clip));
    ASSERT_TRUE(AppendFromClipboard(empty, clip));
    EXPECT_EQ(sig(empty), "B3");
    EXPECT_FALSE(isListCommandEnabled(ListCommand::Redo, empty, clip));
    EXPECT_TRUE(isListCommandEnabled(ListCommand::Undo, empty, clip));
}

TEST(ListCommands, CutCopiesThenDeletesButNeverDeletesWhatItCouldNotCopy) {
    struct ClosedClipboard : ClipboardPort {
        std::optional<std::string> readBlock() override { return std::nullopt; }
        bool writeBlock(const std::string&) override { return false; }
    } closed;
    CSondaraDoc d = docOf("A1 B2 B3");
    d.selectPile(1);
    EXPECT_FALSE(CutSelection(d, closed));
    EXPECT_EQ(sig(d), "A1 B2 B3");

    MemoryClipboard clip;
    ASSERT_TRUE(CutSelection(d, clip));
    EXPECT_EQ(sig(d), "A1");
    EXPECT_EQ(d.currentPoint, 0);
    d.selectPile(0);
    ASSERT_TRUE(AppendFromClipboard(d, clip));
    EXPECT_EQ(sig(d), "A1 B2 B3");
}

TEST(ListCommands, CopyResultCarriesTheProcessedTraceWithoutItsChain) {
    CSondaraDoc d = test::makeDoc({test::fullPoint(1)});
    MemoryClipboard clip;
    ASSERT_TRUE(CopyResult(d, clip));
    auto s = DecodeClipboardBlock(*clip.block);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->count(), 1);
    EXPECT_EQ(s->op, 0);
    EXPECT_EQ(s->mode, 1);
    EXPECT_EQ(s->points[0].rawSamples, d.points[0].samples);
    EXPECT_TRUE(s->points[0].steps.empty());
    EXPECT_EQ(s->points[0].defects, d.points[0].defects);
    EXPECT_TRUE(textOf(s->points[0].extraText).empty());  // a point copy leaves it behind
}

TEST(ListCommands, RestoreAsksAndGoesBackToTheOriginalList) {
    CSondaraDoc d = docOf("A1 B2* C3");
    ASSERT_TRUE(SortList(d, false));
    ASSERT_TRUE(SetAllTicks(d, kOpTickAll));
    test::ScriptedPrompter no({false});
    EXPECT_FALSE(Restore(d, no));
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0], "是否将数据还原到原始状态？\n注：该项操作不可撤销！");
    EXPECT_EQ(sig(d), "C3* B2* A1*");

    test::ScriptedPrompter yes({true});
    d.modified = false;
    ASSERT_TRUE(Restore(d, yes));
    EXPECT_EQ(sig(d), "A1 B2* C3");
    EXPECT_EQ(d.checkedList, (std::vector<int>{1}));
    EXPECT_EQ(d.selectionMode, 0);
    EXPECT_TRUE(d.modified);
    EXPECT_EQ(d.undoStack.size(), 2u);

    d.loaded = 0;
    EXPECT_FALSE(Restore(d, yes));
}

TEST(ListCommands, HeaderAndParameterEditsAreUndoable) {
    CSondaraDoc d = docOf("A1 B2");
    ProjectInfo edited = d.info;
    setText(edited.projectName, utf8ToGbk("新工程"));
    edited.pointCount = 77;  // the count always follows the list
    ASSERT_TRUE(EditHeader(d, edited));
    EXPECT_EQ(textOf(d.info.projectName), utf8ToGbk("新工程"));
    EXPECT_EQ(d.info.pointCount, 2);
    ASSERT_TRUE(Undo(d));
    EXPECT_EQ(textOf(d.info.projectName), "project");

    TestPoint p = d.points[1];
    setText(p.pileNo, "A");  // joins the first pile
    p.pileLength = 21.5f;
    p.samples.assign(3, 9.0f);  // not a fixed field: must not travel
    p.sourceIndex = 1;
    d.selectPoint(0);
    ASSERT_TRUE(EditPointFields(d, {p}));
    EXPECT_EQ(sig(d), "A1 A2");
    EXPECT_FLOAT_EQ(d.points[1].pileLength, 21.5f);
    EXPECT_EQ(d.points[1].sampleCount(), 4);
    EXPECT_EQ(d.pileMembers, (std::vector<int>{0, 1}));
    ASSERT_TRUE(Undo(d));
    EXPECT_EQ(sig(d), "A1 B2");
    EXPECT_EQ(d.pileMembers, (std::vector<int>{0}));
}

}  // namespace
}  // namespace sondara
