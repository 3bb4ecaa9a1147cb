#include <gtest/gtest.h>

#include "core/base/TextCodec.h"
#include "core/display/WaveDisplayModel.h"
#include "core/model/ListEngine.h"
#include "core/model/NameLists.h"
#include "core/panels/InfoGridEdit.h"
#include "core/panels/InfoGridTables.h"
#include "core/processing/ProcessingChain.h"
#include "support/Fixtures.h"

namespace sondara {
namespace {

// Four points on two piles, with dates, times and a diameter of their own.
CSondaraDoc gridDoc() {
    std::vector<TestPoint> pts;
    for (int i = 0; i < 4; ++i) {
        TestPoint p = test::simplePoint(i < 2 ? "A1" : "A2", 64);
        p.pileDiameter = static_cast<std::int16_t>(600 + i);
        p.pileLength = 12.345f;
        setText(p.testDateTime, "2020-05-0" + std::to_string(i + 1) + " 10:2" + std::to_string(i) +
                                    ":3" + std::to_string(i));
        setText(p.castingDate, "2020-04-01");
        pts.push_back(std::move(p));
    }
    return test::makeDoc(std::move(pts));
}

const std::vector<int> kAllRows = {0, 1, 2, 3};

std::string cell(const CSondaraDoc& d, GridTable t, int row, int col,
                 const std::vector<int>& rows = kAllRows) {
    return GridCellText(t, d, rows, row, col);
}

TEST(InfoGridTables, ColumnsAndTheirEditors) {
    const auto& project = GridColumns(GridTable::Project);
    ASSERT_EQ(project.size(), 5u);
    EXPECT_EQ(project[3].title, "检测单位");
    EXPECT_EQ(project[4].width, 200);
    const auto& pts = GridColumns(GridTable::Points);
    ASSERT_EQ(pts.size(), 16u);
    std::string editable;
    for (const GridColumn& c : pts)
        if (c.editor != CellEditor::None) editable += std::string(c.title) + "|";
    EXPECT_EQ(editable, "桩号|桩径(mm)|检测日期|检测时间|浇筑日期|桩型|完整性判别|备注|");
    const auto& par = GridColumns(GridTable::Parameters);
    ASSERT_EQ(par.size(), 11u);
    EXPECT_EQ(par[1].width, 160);
    EXPECT_EQ(par[2].width, 110);
    EXPECT_EQ(par[3].width, 85);
    EXPECT_EQ(par[4].width, 110);
    EXPECT_EQ(FindGridColumn(GridTable::Points, "桩径(mm)"), 2);
    EXPECT_EQ(FindGridColumn(GridTable::Points, "桩径"), 2);
    EXPECT_EQ(FindGridColumn(GridTable::Points, "16"), 15);
    EXPECT_EQ(FindGridColumn(GridTable::Points, "17"), -1);
    EXPECT_EQ(FindGridColumn(GridTable::Points, "0"), -1);
    EXPECT_EQ(FindGridColumn(GridTable::Points, "桩"), -1);
}

TEST(InfoGridTables, CellTextsOfTheThreeTables) {
    CSondaraDoc d = gridDoc();
    EXPECT_EQ(GridRowCount(GridTable::Project, d, {}), 1);
    EXPECT_EQ(cell(d, GridTable::Project, 0, 1), "2");  // piles
    EXPECT_EQ(cell(d, GridTable::Project, 0, 2), "4");
    EXPECT_EQ(cell(d, GridTable::Project, 0, 3), "unit");

    // rows shown in another order than the list: 序号 counts rows, cells follow points
    const std::vector<int> rows = {2, 0};
    EXPECT_EQ(cell(d, GridTable::Points, 0, kPointColNo, rows), "1");
    EXPECT_EQ(cell(d, GridTable::Points, 0, kPointColDiameter, rows), "602");
    EXPECT_EQ(cell(d, GridTable::Points, 1, kPointColPileNo, rows), "A1");
    EXPECT_EQ(cell(d, GridTable::Points, 0, kPointColLength), "12.35");
    EXPECT_EQ(cell(d, GridTable::Points, 0, kPointColTestDate), "2020-05-01");
    EXPECT_EQ(cell(d, GridTable::Points, 1, kPointColTestTime), "10:21:31");
    EXPECT_EQ(cell(d, GridTable::Points, 0, kPointColCastingDate), "2020-04-01");
    EXPECT_EQ(cell(d, GridTable::Points, 0, kPointColClass), "未得出");
    EXPECT_EQ(cell(d, GridTable::Points, 0, kPointColInterval), "20.00");
    EXPECT_EQ(cell(d, GridTable::Points, 2, kPointColNo, rows), "");  // outside the table

    setText(d.points[0].testDateTime, "2021-01-02");
    EXPECT_EQ(cell(d, GridTable::Points, 0, kPointColTestTime), "00:00:00");

    d.loaded = 0;  // a new document: no project row
    EXPECT_EQ(GridRowCount(GridTable::Project, d, {}), 0);
    EXPECT_EQ(cell(d, GridTable::Project, 0, 3), "");
}

TEST(InfoGridTables, ParameterColumnsShowTheKindSummariesAndTheTimeViewState) {
    CSondaraDoc d = gridDoc();
    TestPoint& p = d.points[1];
    ProcessStep f;
    f.kind = static_cast<int>(ProcessKind::Filter);
    f.filterType = 3;
    f.lowerFreqHz = 100.0f;
    f.upperFreqHz = 800.0f;
    p.steps.push_back(f);
    ProcessStep s;
    s.kind = static_cast<int>(ProcessKind::Smooth);
    s.smoothPoints = 5;
    p.steps.push_back(s);
    p.steps.push_back(s);
    p.lastParams.filterType = 3;
    p.lastParams.lowerFreqHz = 100.0f;
    p.lastParams.upperFreqHz = 800.0f;
    p.lastParams.smoothPoints = 5;
    ProcessStep integ;
    integ.kind = static_cast<int>(ProcessKind::Integrate);
    p.steps.push_back(integ);
    p.steps.push_back(integ);
    DisplayState& st = p.lastParams.viewStates[0];
    st.xOffset = -50;
    st.hScale = 1.25f;
    st.vScale = 0.8f;

    EXPECT_EQ(cell(d, GridTable::Parameters, 1, 0), "2");
    EXPECT_EQ(cell(d, GridTable::Parameters, 1, 1), "带通:(100.00,800.00)Hz");
    EXPECT_EQ(cell(d, GridTable::Parameters, 1, 1), KindSummary(d, 1, ProcessKind::Filter));
    EXPECT_EQ(cell(d, GridTable::Parameters, 1, 3), "去直流:否");
    EXPECT_EQ(cell(d, GridTable::Parameters, 1, 4), "平滑点数:5");
    EXPECT_EQ(cell(d, GridTable::Parameters, 1, 5), "积分次数:2");
    EXPECT_EQ(cell(d, GridTable::Parameters, 1, 7), "");
    EXPECT_EQ(cell(d, GridTable::Parameters, 1, 8), "-50");
    EXPECT_EQ(cell(d, GridTable::Parameters, 1, 9), "1.25");
    EXPECT_EQ(cell(d, GridTable::Parameters, 1, 10), "1.25");
    st.vScale = 0.0f;  // a damaged file: no division by zero
    EXPECT_EQ(cell(d, GridTable::Parameters, 1, 10), "0.00");
}

TEST(InfoGridTables, RowsAreThePointsTheViewShowsOrTheCurrentPointInWavelet) {
    CSondaraDoc d = gridDoc();
    d.selectPoint(2);
    EXPECT_TRUE(GridRowPoints(d, nullptr).empty());
    WaveDisplayModel m;
    AnalysisSelection sel;
    sel.displaySet = DisplaySet::SamePile;
    m.setSelection(sel);
    m.setClientSize(800, 600);
    m.rebuild(d);
    EXPECT_EQ(GridRowPoints(d, &m), (std::vector<int>{2, 3}));
    sel.displaySet = DisplaySet::AllPoints;
    m.setSelection(sel);
    m.rebuild(d);
    EXPECT_EQ(GridRowPoints(d, &m), kAllRows);
    sel.domain = AnalysisDomain::Wavelet;
    m.setSelection(sel);
    m.rebuild(d);
    EXPECT_EQ(GridRowPoints(d, &m), (std::vector<int>{2}));
}

TEST(InfoGridDates, ParsingClampsEveryComponent) {
    struct Case {
        const char* text;
        GridDate want;
    } cases[] = {
        {"2020-05-06", {2020, 5, 6}},  {"1970-05-06", {1971, 5, 6}},
        {"2039-05-06", {2038, 5, 6}},  {"2038-12-31", {2038, 12, 31}},
        {"2020-00-32", {2020, 1, 31}}, {"2020-13-00", {2020, 12, 1}},
        {"2020-1-5", {1971, 1, 1}},    {"", {1971, 1, 1}},
        {"abcdefghij", {1971, 1, 1}},  {"2020/05/06 12:00", {2020, 5, 6}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseGridDate(c.text), c.want) << c.text;
    EXPECT_EQ(FormatGridDate({1999, 3, 4}), "1999-03-04");
}

TEST(InfoGridDates, TimesParseWithTheirLimits) {
    GridTime t;
    EXPECT_FALSE(ParseGridTime("1:2", t));
    ASSERT_TRUE(ParseGridTime("12:30", t));
    EXPECT_EQ(t, (GridTime{12, 30, 0}));
    ASSERT_TRUE(ParseGridTime("25:61:99", t));
    EXPECT_EQ(t, (GridTime{24, 59, 59}));
    ASSERT_TRUE(ParseGridTime("-3:-1:05", t));
    EXPECT_EQ(t, (GridTime{0, 0, 5}));
    EXPECT_EQ(StoredTime("2020-01-01 07:08:09"), (GridTime{7, 8, 9}));
    EXPECT_EQ(StoredTime("2020-01-01"), (GridTime{}));
    EXPECT_EQ(FormatGridTime({7, 8, 9}), "07:08:09");
}

// ---- edits ----

TEST(InfoGridEdit, ProjectHeaderEditsAreUndoableAndTheSameTextAddsNoStep) {
    CSondaraDoc d = gridDoc();
    d.setModified(false);
    EXPECT_EQ(EditProjectCell(d, kProjectColTestingUnit, "检测中心"), GridEditResult::Applied);
    EXPECT_EQ(gbkToUtf8(textOf(d.info.testingUnit)), "检测中心");
    EXPECT_TRUE(d.modified);
    EXPECT_EQ(d.undoStack.size(), 1u);
    EXPECT_EQ(EditProjectCell(d, kProjectColTestingUnit, "检测中心"), GridEditResult::Unchanged);
    EXPECT_EQ(d.undoStack.size(), 1u);
    EXPECT_EQ(EditProjectCell(d, kProjectColProjectName, "大桥"), GridEditResult::Applied);
    EXPECT_EQ(EditProjectCell(d, 1, "9"), GridEditResult::NotEditable);
    ASSERT_TRUE(Undo(d));
    ASSERT_TRUE(Undo(d));
    EXPECT_EQ(textOf(d.info.testingUnit), "unit");
    EXPECT_EQ(textOf(d.info.projectName), "project");
    ASSERT_TRUE(Redo(d));
    EXPECT_EQ(gbkToUtf8(textOf(d.info.testingUnit)), "检测中心");
    d.loaded = 0;
    EXPECT_EQ(EditProjectCell(d, kProjectColTestingUnit, "x"), GridEditResult::NotEditable);
}

TEST(InfoGridEdit, DiameterWithMultiplePointsChangesEveryRowAndOneUndoRestoresThem) {
    CSondaraDoc d = gridDoc();
    const TestPoint before = d.points[3];
    const std::vector<int> rows = {1, 2, 3};  // the view shows three of the four points
    ASSERT_EQ(EditPointCell(d, rows, 0, kPointColDiameter, "800", PointEditScope::Multiple),
              GridEditResult::Applied);
    EXPECT_EQ(d.points[0].pileDiameter, 600);  // not listed
    for (int p : rows) EXPECT_EQ(d.points[p].pileDiameter, 800);
    EXPECT_EQ(d.points[3].samples, before.samples);  // only fixed fields move
    ASSERT_EQ(d.undoStack.size(), 1u);
    ASSERT_TRUE(Undo(d));
    for (int p : rows) EXPECT_EQ(d.points[p].pileDiameter, 600 + p);
    EXPECT_EQ(d.points[3], before);
    ASSERT_TRUE(Redo(d));
    EXPECT_EQ(d.points[1].pileDiameter, 800);
}

TEST(InfoGridEdit, SinglePointScopeChangesOnlyTheEditedRow) {
    CSondaraDoc d = gridDoc();
    ASSERT_EQ(EditPointCell(d, kAllRows, 2, kPointColDiameter, "1200", PointEditScope::Single),
              GridEditResult::Applied);
    EXPECT_EQ(d.points[2].pileDiameter, 1200);
    EXPECT_EQ(d.points[1].pileDiameter, 601);
    EXPECT_EQ(EditPointCell(d, kAllRows, 2, kPointColDiameter, "1200", PointEditScope::Single),
              GridEditResult::Unchanged);
    EXPECT_EQ(d.undoStack.size(), 1u);
    // out of the 16-bit field: kept at its limits instead of wrapping round
    EditPointCell(d, kAllRows, 0, kPointColDiameter, "70000", PointEditScope::Single);
    EXPECT_EQ(d.points[0].pileDiameter, 32767);
    EditPointCell(d, kAllRows, 0, kPointColDiameter, "-5", PointEditScope::Single);
    EXPECT_EQ(d.points[0].pileDiameter, 0);
    EXPECT_EQ(EditPointCell(d, kAllRows, 0, kPointColLength, "3", PointEditScope::Single),
              GridEditResult::NotEditable);
    EXPECT_EQ(EditPointCell(d, kAllRows, 4, kPointColDiameter, "3", PointEditScope::Single),
              GridEditResult::NotEditable);
}

TEST(InfoGridEdit, TextCellsKeepTheirLengthLimits) {
    CSondaraDoc d = gridDoc();
    const std::string pile25 = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    EditPointCell(d, kAllRows, 0, kPointColPileNo, pile25, PointEditScope::Single);
    EXPECT_EQ(textOf(d.points[0].pileNo), pile25.substr(0, 20));
    // eleven two-byte characters: ten kept, none cut in half
    EditPointCell(d, kAllRows, 1, kPointColPileNo, "桩桩桩桩桩桩桩桩桩桩桩",
                  PointEditScope::Single);
    EXPECT_EQ(gbkToUtf8(textOf(d.points[1].pileNo)), "桩桩桩桩桩桩桩桩桩桩");
    const std::string remark(60, 'r');
    EditPointCell(d, kAllRows, 0, kPointColRemark, remark, PointEditScope::Single);
    EXPECT_EQ(textOf(d.points[0].remark), remark.substr(0, 49));
}

TEST(InfoGridEdit, TimeEditsChangeOnlyTheComponentsTheUserChanged) {
    CSondaraDoc d = gridDoc();
    setText(d.points[2].testDateTime, "2021-06-07");  // a date without a time
    setText(d.points[3].testDateTime, "");            // nothing at all
    // row 0 shows 10:20:30; the user changes the minutes only
    ASSERT_EQ(
        EditPointCell(d, kAllRows, 0, kPointColTestTime, "10:45:30", PointEditScope::Multiple),
        GridEditResult::Applied);
    EXPECT_EQ(textOf(d.points[0].testDateTime), "2020-05-01 10:45:30");
    EXPECT_EQ(textOf(d.points[1].testDateTime), "2020-05-02 10:45:31");
    EXPECT_EQ(textOf(d.points[2].testDateTime), "2021-06-07 00:45:00");
    EXPECT_EQ(textOf(d.points[3].testDateTime), "1971-01-01 00:45:00");
    EXPECT_EQ(EditPointCell(d, kAllRows, 0, kPointColTestTime, "1:2", PointEditScope::Single),
              GridEditResult::Invalid);

    // a point holding a 10-character date gets the date, a blank and the new time
    CSondaraDoc e = gridDoc();
    setText(e.points[1].testDateTime, "2021-06-07");
    ASSERT_EQ(EditPointCell(e, kAllRows, 1, kPointColTestTime, "08:09:10", PointEditScope::Single),
              GridEditResult::Applied);
    EXPECT_EQ(textOf(e.points[1].testDateTime), "2021-06-07 08:09:10");
    ASSERT_TRUE(Undo(e));
    EXPECT_EQ(textOf(e.points[1].testDateTime), "2021-06-07");
}

TEST(InfoGridEdit, TypedDatesAreStoredExactlyOrRefused) {
    // point 0 holds "2020-05-01 10:20:30" and casting date "2020-04-01"
    struct Case {
        const char* typed;
        const char* testDateTime;  // nullptr: refused, nothing changes
        const char* castingDate;
    } cases[] = {
        {"2026-11-05", "2026-11-05 10:20:30", "2026-11-05"},
        {"2025-03-07", "2025-03-07 10:20:30", "2025-03-07"},
        {"2026/11/05", "2026-11-05 10:20:30", "2026-11-05"},
        {"2026.11.05", "2026-11-05 10:20:30", "2026-11-05"},
        {"20261105", "2026-11-05 10:20:30", "2026-11-05"},
        {"2026-1-5", "2026-01-05 10:20:30", "2026-01-05"},
        {"2026年11月5日", "2026-11-05 10:20:30", "2026-11-05"},
        {" 2026-11-05 ", "2026-11-05 10:20:30", "2026-11-05"},
        // with the time: the test date takes it too, the casting date only its date
        {"2026-11-05 08:30:15", "2026-11-05 08:30:15", "2026-11-05"},
        {"2026/11/05 8:30", "2026-11-05 08:30:00", "2026-11-05"},
        {"20261105 23:59:59", "2026-11-05 23:59:59", "2026-11-05"},
        {"2024-02-29", "2024-02-29 10:20:30", "2024-02-29"},
        {"1971-01-01", "1971-01-01 10:20:30", "1971-01-01"},
        {"2038-12-31", "2038-12-31 10:20:30", "2038-12-31"},
        // anything else is refused, never stored as another date
        {"2025-02-29", nullptr, nullptr},
        {"2026-11-31", nullptr, nullptr},
        {"2026-13-05", nullptr, nullptr},
        {"2026-00-05", nullptr, nullptr},
        {"2026-11-00", nullptr, nullptr},
        {"1960-05-06", nullptr, nullptr},
        {"2039-07-08", nullptr, nullptr},
        {"2026-11/05", nullptr, nullptr},
        {"2026115", nullptr, nullptr},
        {"202611050", nullptr, nullptr},
        {"26-11-05", nullptr, nullptr},
        {"2026-11-05x", nullptr, nullptr},
        {"2026-11-05 24:00", nullptr, nullptr},
        {"2026-11-05 08:60", nullptr, nullptr},
        {"2026-11-05 8", nullptr, nullptr},
        {"", nullptr, nullptr},
        {"abcdefghij", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        CSondaraDoc d = gridDoc();
        const GridEditResult t =
            EditPointCell(d, kAllRows, 0, kPointColTestDate, c.typed, PointEditScope::Single);
        const GridEditResult k =
            EditPointCell(d, kAllRows, 0, kPointColCastingDate, c.typed, PointEditScope::Single);
        if (!c.testDateTime) {
            EXPECT_EQ(t, GridEditResult::Invalid) << c.typed;
            EXPECT_EQ(k, GridEditResult::Invalid) << c.typed;
            EXPECT_EQ(textOf(d.points[0].testDateTime), "2020-05-01 10:20:30") << c.typed;
            EXPECT_EQ(textOf(d.points[0].castingDate), "2020-04-01") << c.typed;
            EXPECT_TRUE(d.undoStack.empty()) << c.typed;
            continue;
        }
        EXPECT_EQ(t, GridEditResult::Applied) << c.typed;
        EXPECT_EQ(textOf(d.points[0].testDateTime), c.testDateTime) << c.typed;
        EXPECT_EQ(textOf(d.points[0].castingDate), c.castingDate) << c.typed;
        EXPECT_EQ(textOf(d.points[1].castingDate), "2020-04-01") << c.typed;  // 单个测点
    }
    // 多个测点: every point of the table gets the date, each keeping its own time.
    CSondaraDoc d = gridDoc();
    setText(d.points[1].castingDate, "");
    EditPointCell(d, kAllRows, 0, kPointColCastingDate, "2026/11/05", PointEditScope::Multiple);
    for (const TestPoint& p : d.points) EXPECT_EQ(textOf(p.castingDate), "2026-11-05");
}

TEST(InfoGridEdit, PileTypeByTextAndClassByName) {
    CSondaraDoc d = gridDoc();
    EditPointCell(d, kAllRows, 0, kPointColPileType, PileTypeNames().utf8[2],
                  PointEditScope::Single);
    EXPECT_EQ(d.points[0].pileTypeIndex, 2);
    EditPointCell(d, kAllRows, 0, kPointColPileType, "  自定义桩  ", PointEditScope::Single);
    EXPECT_EQ(d.points[0].pileTypeIndex, 100);
    EXPECT_EQ(cell(d, GridTable::Points, 0, kPointColPileType), "自定义桩");

    ASSERT_EQ(EditPointCell(d, kAllRows, 1, kPointColClass, "III类桩", PointEditScope::Multiple),
              GridEditResult::Applied);
    for (const TestPoint& p : d.points) EXPECT_EQ(p.integrityClass, 3);
    EXPECT_EQ(EditPointCell(d, kAllRows, 1, kPointColClass, "V类桩", PointEditScope::Single),
              GridEditResult::Invalid);
    EXPECT_EQ(d.points[1].integrityClass, 3);
}

}  // namespace
}  // namespace sondara
