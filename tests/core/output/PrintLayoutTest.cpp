// The page layout of printing: area, bands, grid, pages and cells, and the texts of
// the page header, footer and header table.
#include <gtest/gtest.h>

#include "core/output/PrintLayout.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

PrintLayoutInput a4(int points = 3, int checked = 3) {
    PrintLayoutInput in;
    in.pointCount = points;
    in.checkedCount = checked;
    in.paneCount = 1;
    in.clientWidth = 1200;
    return in;
}

PrintSettings traceAndAmplitude() {
    PrintSettings s;
    s.perPointItems = {1, 1, 0, 0, 0};
    return s;
}

TEST(PrintLayout, AreaBandsAndTableOnA4) {
    PrintSettings s;
    PrintLayoutResult r = PrintLayout(s, a4(), nullptr);
    EXPECT_EQ(r.paperWidth, 2100);
    EXPECT_EQ(r.paperHeight, 2970);
    // before the bands: the margin edges
    EXPECT_EQ(r.left, 150);
    EXPECT_EQ(r.right, 1950);
    EXPECT_EQ(r.marginTop, -200);
    EXPECT_EQ(r.marginBottom, -2770);
    // font 12 pt = 42 units; header band F + 52, table 2 x 1 cm, footer band F + 35
    EXPECT_EQ(r.fontHeight, 42);
    EXPECT_TRUE(r.headerBand);
    EXPECT_TRUE(r.footerBand);
    EXPECT_EQ(r.top, -200 - 94 - 200);
    EXPECT_EQ(r.bottom, -2770 + 77);

    // Without header text, page numbers at the bottom: no header band; without the
    // table the cells start at the margin.
    s.printHeader = 0;
    s.printTable = 0;
    r = PrintLayout(s, a4(), nullptr);
    EXPECT_FALSE(r.headerBand);
    EXPECT_EQ(r.top, -200);
    s.pageNumberPosition =
        0;  // numbers at the top bring the band back, the footer stays for its text
    r = PrintLayout(s, a4(), nullptr);
    EXPECT_TRUE(r.headerBand);
    EXPECT_TRUE(r.footerBand);
    s.printFooter = 0;
    r = PrintLayout(s, a4(), nullptr);
    EXPECT_FALSE(r.footerBand);
    EXPECT_EQ(r.bottom, -2770);

    // A margin of 4.1 cm is 410 units although 4.1 is 4.0999999 as float.
    s.marginLeftCm = 4.1f;
    EXPECT_EQ(PrintLayout(s, a4(), nullptr).left, 410);
}

TEST(PrintLayout, CellsFollowPointsThenKindsAndFillPages) {
    const PrintLayoutResult r = PrintLayout(traceAndAmplitude(), a4(), nullptr);
    ASSERT_EQ(r.itemCount, 6);
    EXPECT_EQ(r.rows, 4);
    EXPECT_EQ(r.columns, 1);
    EXPECT_EQ(r.pages, 2);
    const PrintItemKind T = PrintItemKind::Trace, A = PrintItemKind::Amplitude;
    const PrintItemKind kinds[] = {T, A, T, A, T, A};
    const int index[] = {0, 0, 1, 1, 2, 2};
    const int page[] = {1, 1, 1, 1, 2, 2};
    ASSERT_EQ(r.cells.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(r.cells[i].kind, kinds[i]) << i;
        EXPECT_EQ(r.cells[i].index, index[i]) << i;
        EXPECT_EQ(r.cells[i].page, page[i]) << i;
        EXPECT_EQ(r.cells[i].left, 150);
        EXPECT_EQ(r.cells[i].right, 1950);
    }
    // four equal rows, the last reaching B; the second page starts at the top again
    const double U = (r.bottom - r.top) / 4.0;
    EXPECT_EQ(r.cells[0].top, r.top);
    EXPECT_EQ(r.cells[1].top, r.top + static_cast<int>(U));
    EXPECT_EQ(r.cells[3].bottom, r.bottom);
    EXPECT_EQ(r.cells[4].top, r.top);
}

TEST(PrintLayout, FixedGridOfThreeByTwo) {
    PrintSettings s = traceAndAmplitude();
    s.rows = 3;
    s.columns = 2;
    PrintLayoutInput in = a4(8, 4);
    const PrintLayoutResult r = PrintLayout(s, in, nullptr);
    ASSERT_EQ(r.itemCount, 8);
    EXPECT_EQ(r.pages, 2);
    // columns of 900 units; row-major order; the last column reaches R
    EXPECT_EQ(r.cells[0].left, 150);
    EXPECT_EQ(r.cells[0].right, 1050);
    EXPECT_EQ(r.cells[1].left, 1050);
    EXPECT_EQ(r.cells[1].right, 1950);
    EXPECT_EQ(r.cells[2].top, r.cells[0].bottom);
    EXPECT_EQ(r.cells[5].bottom, r.bottom);
    EXPECT_EQ(r.cells[6].page, 2);
    EXPECT_EQ(r.cells[6].top, r.top);
    EXPECT_EQ(r.cells[7].left, 1050);
}

TEST(PrintLayout, AutomaticGridFromThePaneHeight) {
    PrintSettings s;
    s.autoLayout = 1;
    s.rows = 2;  // ignored
    PrintLayoutInput in = a4(10, 10);
    // 1800 units over 1200 pixels: a 150 px pane is 225 units high
    PrintLayoutResult r = PrintLayout(s, in, nullptr);
    const int A = r.bottom - r.top;
    EXPECT_EQ(r.columns, 1);
    EXPECT_DOUBLE_EQ(r.cellHeight, -225.0);
    EXPECT_EQ(r.rows, A / -225);
    EXPECT_EQ(r.pages, (10 + r.rows - 1) / r.rows);
    EXPECT_EQ(r.cells[1].top, r.top - 225);
    EXPECT_NE(r.cells[r.rows - 1].bottom, r.bottom);  // no stretching in the automatic grid

    // No window measured: a third of the width; a pane taller than the area gets the area.
    in.clientWidth = 0;
    EXPECT_DOUBLE_EQ(PrintLayout(s, in, nullptr).cellHeight, -600.0);
    in.clientWidth = 100;
    r = PrintLayout(s, in, nullptr);
    EXPECT_EQ(r.rows, 1);
    EXPECT_EQ(r.pages, 10);
    EXPECT_EQ(r.cells[0].bottom, r.bottom);
}

TEST(PrintLayout, CurrentDisplayAsPanesOrOneWaveTrain) {
    PrintSettings s;
    s.perPointItems = {0, 0, 0, 0, 0};
    s.currentDisplay = 1;
    s.autoLayout = 1;
    PrintLayoutInput in = a4(12, 0);
    in.paneCount = 12;
    PrintLayoutResult r = PrintLayout(s, in, nullptr);
    EXPECT_EQ(r.itemCount, 12);
    EXPECT_EQ(r.cells[11].kind, PrintItemKind::DisplayPane);
    EXPECT_EQ(r.cells[11].index, 11);

    // 波列显示: the whole train is one cell, as tall as its strips at the cell width
    in.integrityWaveTrain = true;
    r = PrintLayout(s, in, nullptr);
    ASSERT_EQ(r.itemCount, 1);
    EXPECT_EQ(r.pages, 1);
    EXPECT_EQ(r.cells[0].index, 0);
    EXPECT_DOUBLE_EQ(r.cellHeight, -(30.0 * 12 * 1.5));

    // With points' traces as well, the train follows them as the last cell.
    s.perPointItems = {1, 0, 0, 0, 0};
    in.checkedCount = 2;
    r = PrintLayout(s, in, nullptr);
    ASSERT_EQ(r.itemCount, 3);
    EXPECT_EQ(r.cells[2].kind, PrintItemKind::DisplayPane);
    EXPECT_DOUBLE_EQ(r.cellHeight, -225.0);
}

TEST(PrintLayout, RefusalsAndEmptyPages) {
    const std::string nothing = kNothingToPrintMessage;
    const std::string noItems = kNoPrintItemsMessage;
    const std::string noRoom = kNoPrintAreaMessage;
    struct Case {
        const char* what;
        void (*edit)(PrintSettings&, PrintLayoutInput&);
        std::string message;
    } cases[] = {
        {"no printer", [](PrintSettings&, PrintLayoutInput& in) { in.havePrinter = false; }, ""},
        {"no points", [](PrintSettings&, PrintLayoutInput& in) { in.pointCount = 0; }, ""},
        {"nothing checked", [](PrintSettings&, PrintLayoutInput& in) { in.checkedCount = 0; },
         nothing},
        {"display without panes",
         [](PrintSettings& s, PrintLayoutInput& in) {
             s.currentDisplay = 1;
             in.paneCount = 0;
         },
         nothing},
        {"no item",
         [](PrintSettings& s, PrintLayoutInput&) {
             s.perPointItems = {0, 0, 0, 0, 0};
         },
         noItems},
        {"side margins",
         [](PrintSettings& s, PrintLayoutInput& in) {
             in.paperWidthMm = 200;
             s.marginLeftCm = s.marginRightCm = 10.0f;
         },
         noRoom},
        {"narrow paper", [](PrintSettings&, PrintLayoutInput& in) { in.paperWidthMm = 30; },
         noRoom},
        {"short paper",
         [](PrintSettings& s, PrintLayoutInput& in) {
             in.paperHeightMm = 40;
             s.printHeader = 0;
             s.printFooter = 0;
             s.printPageNumber = 0;
         },
         noRoom},
        {"bands fill the page",
         [](PrintSettings& s, PrintLayoutInput& in) {
             in.paperHeightMm = 45;
             s.printTable = 0;
         },
         noRoom},
        {"table fills the page",
         [](PrintSettings& s, PrintLayoutInput&) {
             s.tableRows = 10;
             s.tableRowHeightCm = 10.0f;
         },
         noRoom},
    };
    for (const Case& c : cases) {
        PrintSettings s;
        PrintLayoutInput in = a4();
        c.edit(s, in);
        test::ScriptedPrompter p;
        const PrintLayoutResult r = PrintLayout(s, in, &p);
        EXPECT_EQ(r.pages, 0) << c.what;
        EXPECT_TRUE(r.cells.empty()) << c.what;
        EXPECT_EQ(r.message, c.message) << c.what;
        EXPECT_EQ(p.infos, c.message.empty() ? std::vector<std::string>{}
                                             : std::vector<std::string>{c.message})
            << c.what;
    }
}

TEST(PrintLayout, PageNumberTextsByPositionAndFormat) {
    PrintSettings s;
    s.firstPage = 5;  // "%d" bottom right
    PrintBandTexts foot = PrintBandText(s, false, 2, 3);
    EXPECT_EQ(foot.text, "Dorvanel");
    EXPECT_EQ(foot.pageNumber, "6");
    EXPECT_EQ(foot.align, 2);
    EXPECT_EQ(PrintBandText(s, true, 2, 3).pageNumber, "");
    EXPECT_EQ(PrintBandText(s, true, 2, 3).text, "基桩动测法检测分析报告");

    s.firstPage = 1;
    s.pageNumberFormat = 4;
    EXPECT_EQ(PrintBandText(s, false, 2, 3).pageNumber, "共3页 第2页");

    // top centre: header text and number on one line
    s.pageNumberPosition = 1;
    s.pageNumberFormat = 3;
    PrintBandTexts head = PrintBandText(s, true, 1, 1);
    EXPECT_EQ(head.text, "基桩动测法检测分析报告 第1页");
    EXPECT_EQ(head.pageNumber, "");
    // bottom centre without a footer text: the number alone, centred
    s.pageNumberPosition = 4;
    s.printFooter = 0;
    foot = PrintBandText(s, false, 3, 3);
    EXPECT_EQ(foot.text, "");
    EXPECT_EQ(foot.pageNumber, "第3页");
    EXPECT_EQ(foot.align, 1);
    // numbers switched off
    s.printPageNumber = 0;
    EXPECT_EQ(PrintBandText(s, false, 3, 3).pageNumber, "");
}

TEST(PrintLayout, HeaderTableBoxAndDefaultItems) {
    PrintSettings s;
    const PrintLayoutResult r = PrintLayout(s, a4(), nullptr);
    const PrintTableBox box = PrintHeaderTableBox(s, r);
    EXPECT_EQ(box.left, 151);
    EXPECT_EQ(box.right, 1949);
    EXPECT_EQ(box.top, -294);
    EXPECT_EQ(box.bottom, -494);
    const PrintTableBox c11 = PrintHeaderTableCell(s, box, 1, 1);
    EXPECT_EQ(c11.top, -394);
    EXPECT_EQ(c11.bottom, -494);
    EXPECT_EQ(c11.left, 151 + 899);
    EXPECT_EQ(c11.right, 1949);

    PrintTableData d;
    d.projectName = "某大桥";
    d.testingUnit = "检测中心";
    d.year = 2026;
    d.month = 3;
    d.day = 7;
    d.cellCount = 6;
    d.title = "sample.qar";
    EXPECT_EQ(PrintHeaderTableText(s, 0, 0, d), "工程名称：某大桥");
    EXPECT_EQ(PrintHeaderTableText(s, 0, 1, d), "检测单位：检测中心");
    EXPECT_EQ(PrintHeaderTableText(s, 1, 0, d), "打印日期：2026.3.7");
    EXPECT_EQ(PrintHeaderTableText(s, 1, 1, d), "波形数：6");
    SetHeaderTableCellFromEntry(s, 2, "文件名");
    SetHeaderTableCellFromEntry(s, 3, "审核：");
    EXPECT_EQ(PrintHeaderTableText(s, 0, 2, d), "文件名：sample.qar");
    EXPECT_EQ(PrintHeaderTableText(s, 0, 3, d), "审核：");
    EXPECT_EQ(PrintHeaderTableText(s, 5, 5, d), "");  // an empty free-text cell

    // A table taller than the page stops above the footer band.
    s.tableRows = 10;
    s.tableRowHeightCm = 10.0f;
    EXPECT_EQ(PrintHeaderTableBox(s, r).bottom, -2770 + 42 + 35);
}

}  // namespace
}  // namespace sondara
