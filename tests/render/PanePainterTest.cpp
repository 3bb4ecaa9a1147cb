// Pixel checks of the pane painter on rendered images: the curve where the trace is,
// fills that end exactly at the zero crossings, nothing of the curve outside the plot.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>

#include "core/display/WaveDisplayModel.h"
#include "render/DisplayRenderer.h"
#include "render/PanePainter.h"
#include "support/Fixtures.h"

namespace sondara::render {
namespace {

bool isCurve(const QImage& img, int x, int y) {
    return img.rect().contains(x, y) && QColor(img.pixel(x, y)) == kCurveColour;
}

TestPoint tracePoint(std::vector<float> samples) {
    TestPoint p = test::simplePoint("A", 2);
    p.rawSamples = samples;
    p.samples = std::move(samples);
    p.recordedLength = static_cast<std::int16_t>(p.samples.size());
    p.headIndex = -1;  // no head or toe lines over the curve
    p.toeIndex = -1;
    return p;
}

// A single-trace display of one point, without information text or pile sketch.
struct Scene {
    DisplayRenderer renderer;
    WaveDisplayModel model{&renderer.metrics()};
    CSondaraDoc doc;
    explicit Scene(TestPoint p) : doc(test::makeDoc({std::move(p)})) {
        DisplayOptions o;
        o.items.clear();
        o.showSimulatedPile = 0;
        model.applyOptions(o);
    }
    QImage render(int w = 600, int h = 300) {
        RenderOptions ro;
        ro.cursors = false;
        return renderer.render(model, doc, QSize(w, h), ro);
    }
    const WavePane& pane() { return model.ensurePane(0); }
};

std::vector<float> sine(int n, double periods, float amplitude) {
    std::vector<float> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        v[static_cast<size_t>(i)] =
            amplitude * static_cast<float>(std::sin(2 * M_PI * periods * i / n));
    return v;
}

TEST(PanePainter, DrawsTheCurveWhereThePolylineIsAndNothingElseInBlue) {
    Scene s(tracePoint(sine(2048, 3.0, 100.0f)));
    const QImage img = s.render();
    const WavePane& w = s.pane();
    ASSERT_EQ(static_cast<int>(w.polyline.size()), w.plotRect.width());  // one point per column
    for (const PolylinePoint& q : w.polyline)
        EXPECT_TRUE(isCurve(img, q.x, q.y)) << q.x << "," << q.y;
    // Between the curve and the plot's top edge, over a crest, the plot is white.
    const PolylinePoint& crest = *std::min_element(w.polyline.begin(), w.polyline.end(),
                                                   [](auto& a, auto& b) { return a.y < b.y; });
    for (int y = w.plotRect.top + 1; y < crest.y - 1; ++y)
        EXPECT_EQ(QColor(img.pixel(crest.x, y)), kBackgroundColour) << y;
    // The zero line is dotted black across the plot.
    int black = 0;
    for (int x = w.plotRect.left; x < w.plotRect.right; ++x)
        black += QColor(img.pixel(x, w.zeroLineY)) == kZeroLineColour;
    EXPECT_GT(black, w.plotRect.width() / 4);
}

TEST(PanePainter, FillPolygonEndsEachLobeAtTheExactCrossing) {
    // zero line at y = 100; the curve crosses it between x = 10 (y 90) and x = 20 (y 130):
    // a quarter of the way, at x = 12.5.
    const std::vector<PolylinePoint> curve{
        {0, 100, 0}, {5, 60, 1}, {10, 90, 2}, {20, 130, 3}, {30, 100, 4}};
    const std::vector<QPointF> pos = FillPolygon(curve, 100, 1);
    const std::vector<QPointF> expectPos{{0, 100},    {0, 100},  {5, 60},   {10, 90},
                                         {12.5, 100}, {20, 100}, {30, 100}, {30, 100}};
    EXPECT_EQ(pos, expectPos);
    const std::vector<QPointF> neg = FillPolygon(curve, 100, 2);
    const std::vector<QPointF> expectNeg{{0, 100},    {0, 100},  {5, 100},  {10, 100},
                                         {12.5, 100}, {20, 130}, {30, 100}, {30, 100}};
    EXPECT_EQ(neg, expectNeg);
    EXPECT_TRUE(FillPolygon(curve, 100, 0).empty());
}

TEST(PanePainter, FillStopsAtTheZeroCrossingOnTheScreen) {
    // Eleven samples, one polyline point each: up, crossing between samples 4 and 5
    // half-way, down, back up at the end.
    const std::vector<float> v{0, 50, 100, 50, 20, -20, -50, -100, -50, -20, 0};
    struct Case {
        int fill;
        int side;  // -1: rows above the zero line are filled, +1: below
    };
    for (Case c : {Case{1, -1}, Case{2, +1}}) {
        Scene s(tracePoint(v));
        s.doc.points[0].lastParams.viewStates[0].fill = c.fill;
        const QImage img = s.render();
        const WavePane& w = s.pane();
        ASSERT_EQ(w.polyline.size(), 11u);
        ASSERT_EQ(w.state.fill, c.fill);
        const PolylinePoint& a = w.polyline[4];
        const PolylinePoint& b = w.polyline[5];
        const double xc = a.x + (b.x - a.x) * double(w.zeroLineY - a.y) / double(b.y - a.y);
        // The lobe on the filled side: sample 2 (fill 1) or sample 7 (fill 2).
        const PolylinePoint& peak = w.polyline[c.fill == 1 ? 2 : 7];
        const int mid = (peak.y + w.zeroLineY) / 2;
        EXPECT_TRUE(isCurve(img, peak.x, mid)) << "fill " << c.fill;
        // On the row next to the zero line the fill runs up to the crossing and stops.
        const int row = w.zeroLineY + c.side;
        int last = -1;
        for (int x = w.polyline[c.fill == 1 ? 1 : 6].x; x < w.polyline[c.fill == 1 ? 8 : 10].x; ++x)
            if (isCurve(img, x, row)) last = x;
        if (c.fill == 1) {
            EXPECT_NEAR(last, xc, 1.5) << "fill 1 ends at the crossing";
        } else {
            // Below the line the fill starts at the crossing.
            int first = -1;
            for (int x = w.polyline[3].x; x < w.polyline[8].x && first < 0; ++x)
                if (isCurve(img, x, row)) first = x;
            EXPECT_NEAR(first, xc, 1.5) << "fill 2 starts at the crossing";
        }
        // Nothing is filled on the other side, away from the curve itself.
        const PolylinePoint& other = w.polyline[c.fill == 1 ? 7 : 2];
        const int otherMid = (other.y + w.zeroLineY) / 2;
        EXPECT_FALSE(isCurve(img, other.x - 3, otherMid)) << "fill " << c.fill;
    }
}

TEST(PanePainter, SpectrumLinesReachTheZeroLineAndTakeNoFill) {
    Scene s(tracePoint(sine(256, 20.0, 80.0f)));
    s.model.setSelection({AnalysisDomain::Frequency, DisplaySet::SingleTrace, 0, 0, 0});
    s.doc.points[0].lastParams.viewStates[4].fill = 1;  // ignored for spectrum lines
    const QImage img = s.render();
    const WavePane& w = s.pane();
    ASSERT_EQ(w.kind, PaneKind::Spectrum);
    const PolylinePoint& top = *std::min_element(w.polyline.begin(), w.polyline.end(),
                                                 [](auto& a, auto& b) { return a.y < b.y; });
    for (int y = top.y; y <= w.zeroLineY; ++y) EXPECT_TRUE(isCurve(img, top.x, y)) << y;
    // Right next to the tallest line the plot stays white half-way up.
    EXPECT_FALSE(isCurve(img, top.x + 1, (top.y + w.zeroLineY) / 2) &&
                 isCurve(img, top.x - 1, (top.y + w.zeroLineY) / 2));
}

TEST(PanePainter, NothingOfTheCurveLeavesThePlot) {
    // Magnified far beyond the plot in both directions and shifted, with a fill.
    Scene s(tracePoint(sine(1024, 2.0, 100.0f)));
    s.doc.points[0].lastParams.viewStates[0].fill = 1;
    s.render();
    for (auto c : {DisplayCommand::StretchH, DisplayCommand::StretchH, DisplayCommand::StretchH,
                   DisplayCommand::ShiftRight, DisplayCommand::ShiftRight})
        s.model.runCommand(s.doc, c);
    for (int i = 0; i < 12; ++i) s.model.runCommand(s.doc, DisplayCommand::StretchV);
    const QImage img = s.render();
    const WavePane& w = s.pane();
    ASSERT_LT(w.vMax, 30.0);  // the curve swings far past the plot
    int inside = 0, outside = 0;
    const QRect plot(w.plotRect.left, w.plotRect.top, w.plotRect.width(), w.plotRect.height());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (isCurve(img, x, y)) (plot.contains(x, y) ? inside : outside)++;
    EXPECT_GT(inside, 1000);
    EXPECT_EQ(outside, 0);
}

TEST(PanePainter, CursorsInvertAndDrawingTwiceRestores) {
    Scene s(tracePoint(sine(512, 3.0, 100.0f)));
    QImage img = s.render();
    const QImage before = img;
    const WavePane& w = s.pane();
    CursorState c;
    c.shown = true;
    c.pane = 0;
    c.x = w.plotRect.left + 40;
    c.y = w.plotRect.top + 10;
    {
        QPainter p(&img);
        DrawCursor(p, w, c, 1);
    }
    EXPECT_EQ(QColor(img.pixel(c.x, w.plotRect.top + 3)), QColor(Qt::black));  // white inverted
    EXPECT_EQ(QColor(img.pixel(c.x + 20, c.y)), QColor(Qt::black));            // cross-hair arm
    EXPECT_EQ(QColor(img.pixel(c.x, c.y)), QColor(Qt::black));  // centre inverted once
    EXPECT_EQ(QColor(img.pixel(c.x, w.paneRect.top + 1)),
              QColor(before.pixel(c.x, w.paneRect.top + 1)));
    {
        QPainter p(&img);
        DrawCursor(p, w, c, 1);
    }
    EXPECT_EQ(img, before);
}

TEST(PanePainter, LaysAPaneOutInAnotherRectangle) {
    TestPoint p = tracePoint(sine(1000, 2.0, 100.0f));
    p.headIndex = 100;
    p.toeIndex = 700;
    p.headSetFlag = p.toeSetFlag = 1;
    p.pileLength = 12.0f;
    Scene s(std::move(p));
    s.render(600, 300);
    const WavePane& w = s.pane();
    ASSERT_TRUE(w.head.visible && w.toe.visible);
    const WavePane big = LayoutPaneInRect(w, {0, 0, 1800, 600}, false, s.renderer.metrics());
    // The same fractions of the wider plot.
    const double f0 = double(w.toe.x - w.plotRect.left) / w.plotRect.width();
    const double f1 = double(big.toe.x - big.plotRect.left) / big.plotRect.width();
    EXPECT_NEAR(f0, f1, 0.01);
    EXPECT_EQ(big.polyline.size(), 1000u);  // fewer samples than columns: one point each
    EXPECT_GE(big.polyline.front().x, big.plotRect.left);
    EXPECT_LT(big.polyline.back().x, big.plotRect.right + 1);
}

}  // namespace
}  // namespace sondara::render
