// Readouts, the short exponent, axis labels, mark labels, information lines and the
// simulated pile.
#include <gtest/gtest.h>

#include "core/base/TextCodec.h"
#include "core/display/PaneTexts.h"
#include "core/display/SimulatedPile.h"
#include "core/model/NameLists.h"
#include "core/processing/ProcessingChain.h"
#include "support/DisplayTestSupport.h"

namespace sondara {
namespace {

using displaytest::docOf;
using displaytest::tracePoint;

// A built single-trace pane of point 0 of `doc`.
const WavePane& singlePane(WaveDisplayModel& m, const CSondaraDoc& doc, int w = 800) {
    m.setSelection({AnalysisDomain::Integrity, DisplaySet::SingleTrace, 0, 0, 0});
    m.setClientSize(w, 400);
    m.rebuild(doc);
    return m.ensurePane(0);
}

TEST(PaneTexts, ShortExponent) {
    const struct {
        double v;
        const char* text;
    } cases[] = {{12345.0, "1.23e+4mV"},
                 {1.23e-4, "1.23e-4mV"},
                 {-5.0, "-5.00e+0mV"},
                 {0.0, "0.00e+0mV"},
                 {1.5e12, "1.50e+2mV"}};  // three digits: "012" -> "2"
    for (const auto& c : cases) EXPECT_EQ(ShortExponent(c.v), c.text) << c.v;
}

TEST(PaneTexts, TimeReadoutsMeasureFromTheHead) {
    CSondaraDoc doc = docOf(1);
    WaveDisplayModel m;
    const WavePane& w = singlePane(m, doc);
    const Readout r = ReadoutAt(w, 350);  // head 100, 20 us, 4000 m/s
    EXPECT_EQ(r.length, "l=10.0m");
    EXPECT_EQ(r.time, "t=5.00ms");
    EXPECT_EQ(r.amplitude, Format("A=%0.2fmV", doc.points[0].samples[350]));
    EXPECT_EQ(r.lines().size(), 3u);
    // Lengths are truncated to 0.1 m, also above the head.
    EXPECT_NEAR(LengthFromHead(doc.points[0], 351), 10.0, 1e-9);
    EXPECT_NEAR(LengthFromHead(doc.points[0], 99), -0.0, 1e-9);
    EXPECT_NEAR(LengthFromHead(doc.points[0], 97), -0.1, 1e-9);

    // Without a valid head only the amplitude is read.
    doc.points[0].headIndex = -1;
    WaveDisplayModel m2;
    const WavePane& w2 = singlePane(m2, doc);
    EXPECT_EQ(ReadoutAt(w2, 350).lines().size(), 1u);
    EXPECT_TRUE(ReadoutAt(w2, 5000).lines().empty());
}

TEST(PaneTexts, DepthAxisBetweenHeadAndToe) {
    // 7 m over 600 px: 85.7 px per metre.
    EXPECT_EQ(DepthAxisStep(7.0, 600, 84), 1);
    EXPECT_EQ(DepthAxisStep(7.0, 600, 86), 2);
    EXPECT_EQ(DepthAxisStep(7.0, 600, 400), 5);
    EXPECT_EQ(DepthAxisStep(7.0, 600, 900), 10);  // none is wide enough

    CSondaraDoc doc = docOf(1);
    doc.points[0].pileLength = 7.0f;
    WaveDisplayModel m;  // fixed metrics: "0000" is 28 px
    const WavePane& w = singlePane(m, doc, 1000);
    const XAxis a = XAxisLabels(w, m.metrics());
    EXPECT_TRUE(a.depth);
    EXPECT_EQ(a.unit, "m");
    ASSERT_EQ(a.ticks.size(), 8u);  // 0 .. 7
    EXPECT_EQ(a.ticks.front().pos, w.head.x);
    EXPECT_EQ(a.ticks[7].text, "7");
    EXPECT_NEAR(a.ticks[7].pos, w.toe.x, 1);

    // Without the toe: time ticks every 2 "0000" from the plot left, in ms.
    doc.points[0].toeSetFlag = 0;
    WaveDisplayModel m2;
    const WavePane& t = singlePane(m2, doc, 1000);
    const XAxis b = XAxisLabels(t, m2.metrics());
    EXPECT_FALSE(b.depth);
    EXPECT_EQ(b.unit, "ms");
    ASSERT_GE(b.ticks.size(), 2u);
    EXPECT_EQ(b.ticks[1].pos - b.ticks[0].pos, 56);
    EXPECT_EQ(b.ticks[0].text, "0.00");
    // 56 px of a 1024-sample, 20 us trace spread over the plot width.
    EXPECT_EQ(b.ticks[1].text, Format("%0.2f", 56.0 / t.plotRect.width() * 1024 * 0.02));
    EXPECT_EQ(b.ticks.back().text, "");  // would run past the plot
}

TEST(PaneTexts, YLabelsOfTimeAndAnalysisPanes) {
    CSondaraDoc doc = docOf(1);
    WaveDisplayModel m;
    const WavePane& w = singlePane(m, doc);
    const YAxis y = YAxisLabels(w);
    ASSERT_EQ(y.labels.size(), 5u);
    EXPECT_EQ(y.labels[0].text, "-11.00");
    EXPECT_EQ(y.labels[1].text, "-5.50");
    EXPECT_EQ(y.labels[2].text, "0.00");
    EXPECT_EQ(y.labels[4].text, "11.00");
    EXPECT_EQ(y.labels[4].pos, w.plotRect.top);
    EXPECT_EQ(y.labels[0].pos, w.plotRect.bottom - 1);
    EXPECT_EQ(y.labels[2].pos, w.zeroLineY);

    WavePane a = w;
    a.kind = PaneKind::Correlation;
    a.vMax = 1.0;
    a.vMin = -0.2;
    const YAxis ya = YAxisLabels(a);
    EXPECT_EQ(ya.labels[1].text, "0.10");
    EXPECT_EQ(ya.labels[2].text, "0.40");
}

TEST(PaneTexts, MarkLabelsAndVisibility) {
    CSondaraDoc doc = docOf(1);
    TestPoint& p = doc.points[0];
    PileMark d;
    d.position = 350;
    d.depth = 3.0f;  // stored when placed; the label recomputes it
    setText(d.name, DefectNames().gbk[2]);
    setText(d.remark, utf8ToGbk("备注"));
    PileMark beyond = d;
    beyond.position = 5000;
    p.defects = {d, beyond};
    WaveDisplayModel m;
    const WavePane& w = singlePane(m, doc);
    ASSERT_EQ(w.marks.size(), 1u);  // outside the samples: not shown
    EXPECT_EQ(w.marks[0].label, "缩径【10.00m】");
    EXPECT_EQ(w.marks[0].label2, "备注");
    EXPECT_EQ(InfoLines(doc, w, 44), (std::vector<std::string>{"缺陷:", "  1:缩径,3.00m"}));
    EXPECT_EQ(w.head.label, "桩头");
    EXPECT_EQ(w.toe.label, "桩底");

    // Head and toe lines need their set flags; wave-train strips show neither.
    p.headSetFlag = 0;
    WaveDisplayModel m2;
    EXPECT_FALSE(singlePane(m2, doc).head.visible);
    p.headSetFlag = 1;
    WaveDisplayModel train;
    train.setSelection({AnalysisDomain::Integrity, DisplaySet::WaveTrain, 0, 0, 0});
    train.rebuild(doc);
    EXPECT_FALSE(train.ensurePane(0).head.visible);
    EXPECT_FALSE(train.pane(0).zeroLineShown);

    // Correlation marks: lag "%0.1fms" and the short exponent.
    p.samples[100] = 12345.0f;
    p.correlationMarks = {100};
    WaveDisplayModel c;
    c.setSelection({AnalysisDomain::TimeAnalysis, DisplaySet::SingleTrace, 1, 0, 0});
    c.rebuild(doc);
    const WavePane& cp = c.ensurePane(1);
    ASSERT_EQ(cp.marks.size(), 1u);
    EXPECT_EQ(cp.marks[0].label, "2.0ms/" + ShortExponent(cp.point->samples[100]));
    const auto lines = InfoLines(doc, cp, 44);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "相关标记:");
    EXPECT_EQ(lines[1], "  1:2.00ms," + ShortExponent(cp.point->samples[100]));

    // Spectrum and wavelet marks.
    p.spectrumMarks = {10};
    p.waveletMarkPanes = {3, 2};
    p.waveletMarkPositions = {20, 30};
    WaveDisplayModel s;
    s.setSelection({AnalysisDomain::Frequency, DisplaySet::SingleTrace, 0, 0, 0});
    s.rebuild(doc);
    const WavePane& sp = s.ensurePane(0);
    EXPECT_EQ(sp.marks[0].label,
              Format("%0.2fkHZ/%0.2fmV", 10 * 25.0 / 512, sp.point->samples[10]));
    WaveDisplayModel wv;
    wv.setSelection({AnalysisDomain::Wavelet, DisplaySet::SingleTrace, 0, 0, 1});
    wv.rebuild(doc);
    ASSERT_EQ(wv.pane(3).marks.size(), 1u);  // only the marks of this pane number
    EXPECT_EQ(wv.pane(3).marks[0].entry, 0);
    EXPECT_EQ(InfoLines(doc, wv.pane(2), 44).size(), 2u);
    EXPECT_EQ(InfoLines(doc, wv.pane(2), 44)[0], "小波标记:");
}

TEST(PaneTexts, InformationItems) {
    CSondaraDoc doc = docOf(1);
    setText(doc.info.testingUnit, utf8ToGbk("检测公司"));
    setText(doc.info.projectName, utf8ToGbk("工程"));
    TestPoint& p = doc.points[0];
    p.pileDiameter = 800;
    p.pileLength = 12.5f;
    p.gain = 20;
    p.triggerLevel = 3;
    p.sensorType = 1;
    p.pileTypeIndex = 100;
    setText(p.pileTypeText, utf8ToGbk("自定义桩"));
    setText(p.testDateTime, "2026-11-03 09:41:07");
    ProcessStep f = makeStep(ProcessKind::Filter);
    p.steps = {f};
    p.lastParams = f;
    p.lastParams.rangeMax = 11.0f;
    p.lastParams.rangeMin = -11.0f;
    WaveDisplayModel m;
    const WavePane& w = singlePane(m, doc);
    const struct {
        int code;
        std::vector<std::string> lines;
    } cases[] = {
        {30, {""}},
        {31, {"桩号:P0"}},
        {32, {"桩径=800mm"}},
        {33, {"桩长=12.50m"}},
        {34, {"波速=4000m/s"}},
        {35, {"2026-11-03"}},
        {36, {"自定义桩"}},
        {37, {SensorNames().utf8[1]}},
        {38, {"采样间隔=20.00us"}},
        {39, {"采样长度=1024"}},
        {40, {"增益=20"}},
        {41, {"触发电平=3"}},
        {42, {"检测单位:检测公司"}},
        {43, {"工程名称:工程"}},
        {44, {"缺陷:"}},
        {45, {"频率分辨率:", "  df=49Hz"}},
        {46, {"09:41:07"}},
        {3, {"低通:300.00Hz"}},
        {13, {}},  // no amplification in the chain
        {99, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(InfoLines(doc, w, c.code), c.lines) << c.code;
    EXPECT_EQ(InfoText(doc, w, {31, 30, 33}),
              (std::vector<std::string>{"桩号:P0", "", "桩长=12.50m"}));

    p.recordedLength = 0;
    WaveDisplayModel m2;
    EXPECT_TRUE(InfoLines(doc, singlePane(m2, doc), 45).empty());
    setText(p.testDateTime, "2026-11-03");
    EXPECT_EQ(InfoLines(doc, singlePane(m2, doc), 46), (std::vector<std::string>{"00:00:00"}));
}

TEST(PaneTexts, SimulatedPileSkipsCrowdedDefects) {
    CSondaraDoc doc = docOf(1);
    TestPoint& p = doc.points[0];
    auto defect = [](int pos, int kind) {
        PileMark d;
        d.position = pos;
        d.kind = kind;
        return d;
    };
    // Positions 300 and 305 lie 3 px apart on an 800 px plot: the second is skipped.
    p.defects = {defect(600, 100), defect(305, 2), defect(300, 3), defect(899, 1)};
    WaveDisplayModel m;
    m.setSelection({AnalysisDomain::Integrity, DisplaySet::SingleTrace, 0, 0, 0});
    m.setClientSize(900, 400);
    m.rebuild(doc);
    const WavePane& w = m.ensurePane(0);
    ASSERT_TRUE(m.showsSimulatedPile(w));
    const SimulatedPile sp = BuildSimulatedPile(w);
    EXPECT_EQ(sp.drawnDefects, (std::vector<int>{2, 0}));  // 899 lies within 9 px of the toe
    ASSERT_FALSE(sp.shapes.empty());
    const PileShape& body = sp.shapes[0];
    EXPECT_EQ(body.points.size(), 8u);
    EXPECT_EQ(body.points[0], (PixelPoint{w.head.x, w.plotRect.bottom + 35}));
    EXPECT_EQ(body.points[5], (PixelPoint{w.head.x, w.paneRect.bottom - 20}));
    EXPECT_EQ(body.fill, kLightGrey);
    // 断桩: the white hexagon and its two V edges; own names: a grey band.
    EXPECT_EQ(sp.shapes.size(), 1u + 3u + 1u);
    EXPECT_EQ(sp.shapes[4].fill, kBandGrey);
    EXPECT_EQ(sp.clip.top, w.plotRect.bottom);

    // Not in multi-trace displays; nothing without room below the plot.
    WaveDisplayModel multi;
    multi.setSelection({AnalysisDomain::Integrity, DisplaySet::AllPoints, 0, 0, 0});
    multi.rebuild(doc);
    EXPECT_FALSE(multi.showsSimulatedPile(multi.ensurePane(0)));
    EXPECT_TRUE(BuildSimulatedPile(multi.ensurePane(0)).shapes.empty());
}

}  // namespace
}  // namespace sondara
