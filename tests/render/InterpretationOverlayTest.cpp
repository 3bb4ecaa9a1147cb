// The fitted trace of an automatic interpretation drawn over the measured one: scaled
// to the shown trace by least squares, in its own colour with a legend, and the
// fitted pile under the plot in place of the marks' sketch.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "core/display/PaneMapping.h"
#include "core/display/PaneOverlay.h"
#include "core/display/SimulatedPile.h"
#include "core/display/WaveDisplayModel.h"
#include "render/DisplayRenderer.h"
#include "render/PanePainter.h"
#include "support/Fixtures.h"

namespace sondara::render {
namespace {

std::vector<float> pulseTrain(int n) {
    std::vector<float> v(static_cast<size_t>(n), 0.0f);
    for (int i = 0; i < 40; ++i) {
        v[static_cast<size_t>(60 + i)] = 100.0f * static_cast<float>(std::sin(M_PI * i / 40));
        v[static_cast<size_t>(600 + i)] = 30.0f * static_cast<float>(std::sin(M_PI * i / 40));
    }
    return v;
}

TEST(InterpretationOverlay, LeastSquaresScaleMatchesTheTrace) {
    const std::vector<float> trace{0, 2, -4, 6, 0};
    struct Case {
        std::vector<float> curve;
        double k;
    } cases[] = {
        {{0, 1, -2, 3, 0}, 2.0},         // the same shape at half height
        {{0, -4, 8, -12, 0}, -0.5},      // upside down and twice as high
        {{0, 0, 0, 0, 0}, 0.0},          // nothing to scale
        {{0, 1, -2, 3, 0, 99, 99}, 2.0}  // samples beyond the trace do not count
    };
    for (const Case& c : cases)
        EXPECT_NEAR(LeastSquaresScale(c.curve, trace.data(), 5), c.k, 1e-12);
    const std::vector<float> s = ScaledToTrace({0, 1, -2, 3, 0, 99}, trace.data(), 5);
    EXPECT_EQ(s, trace);
}

struct Scene {
    DisplayRenderer renderer;
    WaveDisplayModel model{&renderer.metrics()};
    CSondaraDoc doc;
    std::shared_ptr<PointOverlay> overlay = std::make_shared<PointOverlay>();
    explicit Scene(bool pile) {
        TestPoint p = test::simplePoint("A", 2);
        p.rawSamples = pulseTrain(1024);
        p.samples = p.rawSamples;
        p.recordedLength = 1024;
        p.headIndex = 60;
        p.toeIndex = 600;
        p.sampleInterval = 20.0f;
        p.waveSpeed = 4000;  // 1 m = 25 samples there and back
        doc = test::makeDoc({p});
        DisplayOptions o;
        o.items.clear();
        o.showSimulatedPile = pile ? 1 : 0;
        model.applyOptions(o);
        // the fit at a fifth of the height: the pane scales it back onto the trace
        for (float v : p.samples) overlay->curve.push_back(v / 5);
        model.overlayFor = [this](int point) {
            return point == 0 ? std::shared_ptr<const PointOverlay>(overlay) : nullptr;
        };
    }
    QImage render() {
        RenderOptions ro;
        ro.cursors = false;
        return renderer.render(model, doc, QSize(700, 320), ro);
    }
};

TEST(InterpretationOverlay, TheFittedCurveLiesOnTheTraceInItsOwnColourWithALegend) {
    Scene s(false);
    const QImage img = s.render();
    const WavePane& w = s.model.ensurePane(0);
    ASSERT_TRUE(w.overlay);
    // scaled back to the trace, it is drawn over it point for point
    ASSERT_EQ(w.overlayPolyline, w.polyline);
    int fitted = 0;
    for (const PolylinePoint& q : w.overlayPolyline)
        fitted += QColor(img.pixel(q.x, q.y)) == kFittedCurveColour;
    EXPECT_GT(fitted, static_cast<int>(w.overlayPolyline.size()) * 9 / 10);
    // the legend: lines of both colours in the plot's lower right corner
    int blue = 0, orange = 0;
    for (int y = w.plotRect.bottom - 70; y < w.plotRect.bottom; ++y)
        for (int x = w.plotRect.right - 100; x < w.plotRect.right; ++x) {
            if (y == w.zeroLineY) continue;  // where the died-away traces run
            const QColor c(img.pixel(x, y));
            blue += c == kCurveColour;
            orange += c == kFittedCurveColour;
        }
    EXPECT_GT(blue, 10);
    EXPECT_GT(orange, 10);

    // without an overlay nothing of that colour is painted
    s.model.overlayFor = nullptr;
    const QImage plain = s.render();
    int left = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            left += QColor(plain.pixel(x, y)) == kFittedCurveColour;
    EXPECT_EQ(left, 0);
}

TEST(InterpretationOverlay, ACompetingReadingIsDrawnBesideInItsOwnColourAndScale) {
    Scene s(false);
    // the competing reading: the echo of the toe half as high, in the fit's own scale
    s.overlay->alternative = s.overlay->curve;
    for (size_t i = 600; i < 640; ++i) s.overlay->alternative[i] /= 2;
    const QImage img = s.render();
    const WavePane& w = s.model.ensurePane(0);
    // the chosen reading's factor (5) scales it too: its blow lies on the trace's
    ASSERT_EQ(w.alternativeCurve.size(), w.overlayCurve.size());
    EXPECT_FLOAT_EQ(w.alternativeCurve[80], w.overlayCurve[80]);
    EXPECT_FLOAT_EQ(w.alternativeCurve[620], w.overlayCurve[620] / 2);
    // where the readings differ its own colour shows; the chosen one is drawn over it
    int teal = 0;
    for (size_t i = 0; i < w.alternativePolyline.size(); ++i) {
        const PolylinePoint& q = w.alternativePolyline[i];
        teal += QColor(img.pixel(q.x, q.y)) == kAlternativeCurveColour;
    }
    EXPECT_GT(teal, 5);
    EXPECT_EQ(QColor(img.pixel(w.overlayPolyline[5].x, w.overlayPolyline[5].y)),
              kFittedCurveColour);
    // the legend gains a third row in that colour
    auto legendInk = [&](const QImage& im, const QColor& c) {
        int n = 0;
        for (int y = w.plotRect.bottom - 70; y < w.plotRect.bottom; ++y)
            for (int x = w.plotRect.right - 100; x < w.plotRect.right; ++x)
                n += y != w.zeroLineY && QColor(im.pixel(x, y)) == c;
        return n;
    };
    EXPECT_GT(legendInk(img, kAlternativeCurveColour), 10);
    // without it, nothing of that colour anywhere
    s.overlay->alternative.clear();
    const QImage plain = s.render();
    int left = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            left += QColor(plain.pixel(x, y)) == kAlternativeCurveColour;
    EXPECT_EQ(left, 0);
}

TEST(InterpretationOverlay, ThePileSketchShowsTheFittedProfile) {
    Scene s(true);
    // a narrowing to half the impedance from 4 to 5 m
    s.overlay->profile = {{0.0, 4.0, 1.0}, {4.0, 5.0, 0.5}, {5.0, 10.8, 1.0}};
    s.render();
    const WavePane& w = s.model.ensurePane(0);
    const SimulatedPile sp = BuildSimulatedPile(w);
    ASSERT_EQ(sp.shapes.size(), 1u);
    const std::vector<PixelPoint>& outline = sp.shapes[0].points;
    ASSERT_EQ(outline.size(), 12u);  // two corners per segment above, two below
    const HorizontalMapping h = MakeHorizontalMapping(w, w.plotRect);
    EXPECT_EQ(outline[0].x, w.head.x);
    EXPECT_EQ(outline[2].x, h.x(60 + 100));  // 4 m down
    EXPECT_EQ(outline[4].x, h.x(60 + 125));  // 5 m down
    const int full = outline[11].y - outline[0].y;
    const int neck = outline[9].y - outline[2].y;
    EXPECT_NEAR(neck, full / 2, 2);
    // without the profile the marks' sketch comes back
    s.overlay->profile.clear();
    s.render();
    const SimulatedPile marks = BuildSimulatedPile(s.model.ensurePane(0));
    ASSERT_FALSE(marks.shapes.empty());
    EXPECT_EQ(marks.shapes[0].points.size(), 8u);
}

}  // namespace
}  // namespace sondara::render
