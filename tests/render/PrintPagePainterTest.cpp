// Printed pages painted in 0.1 mm units with y up: where the header line, the table
// and the cells land on the paper, the cells' items, lines kept on small pages, black
// and white printing, and the display left as it was.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "render/DisplayRenderer.h"
#include "render/PrintPageCells.h"
#include "render/PrintPagePainter.h"
#include "support/Fixtures.h"

namespace sondara::render {
namespace {

CSondaraDoc checkedDoc(int points, int checked) {
    std::vector<TestPoint> pts;
    for (int k = 0; k < points; ++k) {
        TestPoint p = test::sinePoint("A", 512, 40, 5.0 + k);
        p.checked = k < checked ? 1 : 0;
        pts.push_back(std::move(p));
    }
    CSondaraDoc d = test::makeDoc(pts);
    d.recomputeDisplayRanges();
    d.selectPoint(0);
    return d;
}

// A page at 254 dpi: one pixel per unit.
QImage paperImage() {
    QImage img(2100, 2970, QImage::Format_RGB32);
    img.setDotsPerMeterX(10000);
    img.setDotsPerMeterY(10000);
    img.fill(Qt::white);
    return img;
}

int inkInRow(const QImage& img, int y, int x0, int x1) {
    int n = 0;
    for (int x = x0; x < x1; ++x) n += qGray(img.pixel(x, y)) < 128;
    return n;
}

bool inkInRect(const QImage& img, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(img.pixel(x, y)) < 200) return true;
    return false;
}

struct PrintPage : ::testing::Test {
    DisplayRenderer renderer;
    CSondaraDoc doc = checkedDoc(4, 3);
    WaveDisplayModel display{&renderer.metrics()};
    void SetUp() override {
        display.setClientSize(900, 500);
        display.rebuild(doc);  // the current point alone
    }
};

TEST_F(PrintPage, BandsTableAndCellsLandInUnitsFromThePaperCorner) {
    PrintSettings s;
    s.perPointItems = {1, 1, 0, 0, 0};
    PrintLayoutInput in = PrintPageCells::describe(doc, display);
    EXPECT_EQ(in.checkedCount, 3);
    EXPECT_EQ(in.clientWidth, 900);
    const PrintLayoutResult l = PrintLayout(s, in, nullptr);
    ASSERT_EQ(l.pages, 2);

    PrintPageCells cells(doc, display, renderer);
    PrintTableData data;
    data.projectName = "工程";
    PrintPagePainter painter(s, l, data, cells);
    QImage img = paperImage();
    {
        QPainter p(&img);
        PrintPagePainter::setUpUnits(p, 254, 254);
        painter.paintPage(p, 1);
    }
    // header line at T0 - F - 17 = 259 units below the top edge, from L to R
    EXPECT_GT(inkInRow(img, 259, 150, 1950), 1700);
    EXPECT_EQ(inkInRow(img, 259, 0, 145), 0);
    // the table border: 2 units at 294 and 494
    EXPECT_GT(inkInRow(img, 294, 200, 1900), 1650);
    EXPECT_GT(inkInRow(img, 494, 200, 1900), 1650);
    // the cells fill the area below the table; nothing outside the side margins
    EXPECT_TRUE(inkInRect(img, QRect(150, 500, 1800, 540)));
    EXPECT_TRUE(inkInRect(img, QRect(150, 2150, 1800, 540)));
    EXPECT_FALSE(inkInRect(img, QRect(0, 0, 145, 2970)));
    EXPECT_FALSE(inkInRect(img, QRect(1956, 0, 144, 2970)));
    // the footer text sits between B0 + F and B0 (2728..2770)
    EXPECT_TRUE(inkInRect(img, QRect(150, 2728, 1800, 42)));
    EXPECT_FALSE(inkInRect(img, QRect(0, 2775, 2100, 195)));

    // page 2 holds cells 5 and 6 only: the lower half of the area stays empty
    QImage page2 = paperImage();
    {
        QPainter p(&page2);
        PrintPagePainter::setUpUnits(p, 254, 254);
        painter.paintPage(p, 2);
    }
    EXPECT_TRUE(inkInRect(page2, QRect(150, 500, 1800, 540)));
    EXPECT_FALSE(inkInRect(page2, QRect(150, 1600, 1800, 1080)));
}

TEST_F(PrintPage, CellItemsLaidOutAtTheCellsShapeAndTheDisplayLeftAsItWas) {
    const AnalysisSelection before = display.selection();
    const int panesBefore = display.paneCount();
    PrintPageCells cells(doc, display, renderer);

    // the window's width, and the height the cell's shape gives at that width
    PrintCellRecord c{150, -500, 1950, -1000, PrintItemKind::Amplitude, 2, 1};
    EXPECT_EQ(cells.itemRect(c), QRect(0, 0, 900, 250));
    EXPECT_EQ(display.selection(), before);
    EXPECT_EQ(display.paneCount(), panesBefore);

    // an ordinal beyond the checked points, or a cell without width: nothing
    c.index = 3;
    EXPECT_TRUE(cells.itemRect(c).isEmpty());
    c.index = 0;
    c.right = c.left;
    EXPECT_TRUE(cells.itemRect(c).isEmpty());

    // 波列显示: every strip in the one cell
    AnalysisSelection train;
    train.displaySet = DisplaySet::WaveTrain;
    display.setSelection(train);
    display.rebuild(doc);
    ASSERT_EQ(display.paneCount(), 4);
    PrintPageCells trainCells(doc, display, renderer);
    const PrintCellRecord whole{150, -500, 1950, -1000, PrintItemKind::DisplayPane, 0, 1};
    EXPECT_EQ(trainCells.itemRect(whole), QRect(0, 0, 900, 250));
}

// Pixels with a clear colour (not black, white or grey).
int colouredPixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            const int hi = std::max({qRed(c), qGreen(c), qBlue(c)});
            const int lo = std::min({qRed(c), qGreen(c), qBlue(c)});
            n += hi - lo > 60;
        }
    return n;
}

// Rows of the image that hold a pixel of the head and toe colour (or a lighter shade).
int redRows(const QImage& img) {
    int rows = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (qRed(c) - std::max(qGreen(c), qBlue(c)) > 50) {
                ++rows;
                break;
            }
        }
    return rows;
}

TEST(PrintPageVectors, SmallPagesKeepTheirLinesAndBlackAndWhitePrintsBlack) {
    DisplayRenderer renderer;
    std::vector<TestPoint> pts;
    for (int k = 0; k < 2; ++k) {
        TestPoint p = test::pilePoint();
        for (size_t i = 0; i < p.samples.size(); ++i)
            p.samples[i] = p.rawSamples[i] = static_cast<float>(20 * std::sin(i / 15.0));
        p.headSetFlag = p.toeSetFlag = 1;
        p.checked = 1;
        pts.push_back(std::move(p));
    }
    CSondaraDoc doc = test::makeDoc(pts);
    doc.recomputeDisplayRanges();
    doc.selectPoint(0);
    WaveDisplayModel display{&renderer.metrics()};
    display.setClientSize(900, 500);
    display.rebuild(doc);
    PrintSettings s;
    const PrintLayoutResult l = PrintLayout(s, PrintPageCells::describe(doc, display), nullptr);
    ASSERT_EQ(l.pages, 1);
    auto page = [&](double dpi, bool mono) {
        PrintPageCells cells(doc, display, renderer);
        cells.setMonochrome(mono);
        PrintPagePainter painter(s, l, PrintTableData{}, cells);
        QImage img(static_cast<int>(210 * dpi / 25.4), static_cast<int>(297 * dpi / 25.4),
                   QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        PrintPagePainter::setUpUnits(p, dpi, dpi);
        painter.paintPage(p, 1);
        return img;
    };
    // A page as small as a preview fitted to its window: the head and toe lines of
    // both cells still run down their plots (about 70 px each at 40 dpi).
    const QImage small = page(40, false);
    EXPECT_GT(redRows(small), 80);
    // Black and white: not a coloured pixel, and the lines are there in black.
    const QImage colour = page(100, false), mono = page(100, true);
    EXPECT_GT(colouredPixels(colour), 1000);
    EXPECT_EQ(colouredPixels(mono), 0);
    EXPECT_EQ(redRows(mono), 0);
    int darkColour = 0, darkMono = 0;
    for (int y = 0; y < mono.height(); ++y)
        for (int x = 0; x < mono.width(); ++x) {
            darkColour += qGray(colour.pixel(x, y)) < 100;
            darkMono += qGray(mono.pixel(x, y)) < 100;
        }
    EXPECT_GT(darkMono, darkColour);  // the curve, head, toe and borders turned black
}

}  // namespace
}  // namespace sondara::render
