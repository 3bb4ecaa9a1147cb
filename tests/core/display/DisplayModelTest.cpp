// Pane building for every domain, mappings, display commands and their stored states,
// target points, cursors, hit tests and the large-display materialisation.
#include <gtest/gtest.h>

#include "core/analysis/Spectra.h"
#include "core/display/PaneMapping.h"
#include "core/display/PaneTexts.h"
#include "support/DisplayTestSupport.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using displaytest::docOf;
using displaytest::pointsOf;
using displaytest::tracePoint;

WaveDisplayModel modelFor(AnalysisSelection sel, int w = 800, int h = 600) {
    WaveDisplayModel m;
    m.setSelection(sel);
    m.setClientSize(w, h);
    return m;
}

AnalysisSelection integrity(DisplaySet s) {
    return {AnalysisDomain::Integrity, s, 0, 0, 0};
}

// ---- layout ----------------------------------------------------------------------------

TEST(DisplayLayout, MultiTraceKeepsTheCurrentPointInTheActiveSlot) {
    CSondaraDoc doc = docOf(10, 64);
    WaveDisplayModel m = modelFor(integrity(DisplaySet::MultiTrace), 800, 601);
    m.setActivePane(1);  // chosen before: nothing built yet, so it is dropped...
    m.rebuild(doc);      // ...and the pane of the current point becomes active
    EXPECT_EQ(pointsOf(m), (std::vector<int>{0, 1, 2}));
    m.setActivePane(1);
    m.rebuild(doc);
    EXPECT_EQ(pointsOf(m), (std::vector<int>{9, 0, 1}));
    EXPECT_EQ(m.activePane(), 1);
    // Heights share the client: trunc(H/m * u).
    EXPECT_EQ(m.pane(1).paneRect, (PixelRect{0, 200, 800, 400}));
    EXPECT_EQ(m.pane(2).paneRect.bottom, 601);
    EXPECT_FALSE(m.scrollsVertically());

    m.options().traceCount = 6;
    doc.points.resize(4);
    m.rebuild(doc);
    EXPECT_EQ(m.paneCount(), 4);  // never more panes than points
}

TEST(DisplayLayout, PointSetsStackPanesAndChooseTheCurrentPointsPane) {
    CSondaraDoc doc = docOf(6, 64);  // piles P0 P0 P1 P1 P2 P2
    doc.points[1].checked = doc.points[4].checked = 1;
    doc.selectPoint(3);
    struct Case {
        DisplaySet set;
        std::vector<int> points;
        int height;
        int active;
    } cases[] = {
        {DisplaySet::SingleTrace, {3}, 600, 0},
        {DisplaySet::SamePile, {2, 3}, 150, 1},
        {DisplaySet::CheckedPoints, {1, 4}, 150, -1},
        {DisplaySet::AllPoints, {0, 1, 2, 3, 4, 5}, 150, 3},
        {DisplaySet::WaveTrain, {0, 1, 2, 3, 4, 5}, 30, 3},
    };
    for (const Case& c : cases) {
        WaveDisplayModel m = modelFor(integrity(c.set));
        m.rebuild(doc);
        SCOPED_TRACE(static_cast<int>(c.set));
        EXPECT_EQ(pointsOf(m), c.points);
        EXPECT_EQ(m.pane(0).paneRect.height(), c.height);
        EXPECT_EQ(m.contentHeight(), c.set == DisplaySet::SingleTrace
                                         ? 600
                                         : c.height * static_cast<int>(c.points.size()));
        EXPECT_EQ(m.activePane(), c.active);
        EXPECT_EQ(m.pane(0).title, "NO." + std::to_string(c.points[0] + 1));
        EXPECT_EQ(m.pane(0).waveTrain, c.set == DisplaySet::WaveTrain);
    }
    doc.points[1].checked = doc.points[4].checked = 0;
    WaveDisplayModel empty = modelFor(integrity(DisplaySet::CheckedPoints));
    empty.rebuild(doc);
    EXPECT_EQ(empty.paneCount(), 0);
    EXPECT_EQ(empty.contentHeight(), 0);
    EXPECT_TRUE(empty.runCommand(doc, DisplayCommand::FillPositive).empty());
}

// ---- mappings ----------------------------------------------------------------------------

TEST(DisplayMapping, AutomaticScalePutsHeadAndToeAtAnEighthFromTheEdges) {
    DisplayState s;
    s.positionMode = 0;  // not restored
    ScaleGeometry g{800, 1024, 100, 900, 20.0f, false};
    AutoHorizontalScale(s, g);
    EXPECT_FLOAT_EQ(s.hScale, 0.96f);
    EXPECT_EQ(s.hScaleMode, 0);
    HorizontalMapping h{{40, 0, 840, 100}, 1024, s.hScale, s.xOffset, 1.0};
    EXPECT_NEAR(h.x(100), 40 + 100, 1);
    EXPECT_NEAR(h.x(900), 40 + 700, 1);

    // With the position restored only the toe goes to 7/8.
    DisplayState r;
    AutoHorizontalScale(r, g);
    EXPECT_NEAR(HorizontalMapping({0, 0, 800, 100}, 1024, r.hScale, r.xOffset, 1.0).x(900), 700, 1);
    // Without a toe after the head it restores.
    DisplayState bad;
    bad.hScale = 3.0f;
    AutoHorizontalScale(bad, {800, 1024, 500, 400, 20.0f, false});
    EXPECT_EQ(bad.hScale, 1.0f);
    EXPECT_EQ(bad.hScaleMode, 1);
    // The frequency domain brings 0 .. fs/10 across the plot.
    DisplayState f;
    AutoHorizontalScale(f, {800, 512, 100, 900, 20.0f, true});
    EXPECT_FLOAT_EQ(f.hScale, 5.0f);
    EXPECT_EQ(f.hScaleMode, 2);
}

TEST(DisplayMapping, ScaleAndPositionStepsStayInTheirBounds) {
    DisplayState s;
    const ScaleGeometry g{600, 1024, 100, 900, 20.0f, false};
    for (int i = 0; i < 5; ++i) CompressHorizontalScale(s);
    EXPECT_EQ(s.hScale, 0.0f);
    CompressHorizontalScale(s);
    EXPECT_EQ(s.hScale, 0.0f);
    EXPECT_EQ(s.hScaleMode, 2);
    for (int i = 0; i < 20; ++i) ApplyDisplayCommand(s, DisplayCommand::ShiftLeft, g);
    EXPECT_EQ(s.xOffset, -600);
    EXPECT_EQ(s.positionMode, 2);
    for (int i = 0; i < 30; ++i) ApplyDisplayCommand(s, DisplayCommand::ShiftRight, g);
    EXPECT_EQ(s.xOffset, 600);
    for (int i = 0; i < 200; ++i) StretchVerticalScale(s);
    EXPECT_FLOAT_EQ(s.vScale, kMinVScale);
    CompressVerticalScale(s);
    EXPECT_FLOAT_EQ(s.vScale, kMinVScale * 1.2f);
    ApplyDisplayCommand(s, DisplayCommand::ShowAll, g);
    EXPECT_EQ(s, DisplayState{});
    // Align to head with a scale set by hand keeps the scale.
    s.hScale = 2.0f;
    s.hScaleMode = 2;
    AlignToHead(s, g);
    EXPECT_EQ(s.xOffset, static_cast<int>(0.125 * 600 - 600 * (100.0 / 1024) * 2.0));
    EXPECT_EQ(s.positionMode, 0);
}

TEST(DisplayMapping, PolylineHasOnePointPerSampleOrPerColumn) {
    std::vector<float> v(5000);
    for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<float>(i % 7) - 3.0f;
    const VerticalMapping vm{{0, 0, 600, 101}, 3.0, -3.0};
    EXPECT_EQ(vm.y(3.0), 0);
    EXPECT_EQ(vm.y(-3.0), 100);
    EXPECT_EQ(vm.zeroY(), 50);

    HorizontalMapping h{{10, 0, 610, 101}, 300, 1.0f, 0, 1.0};
    auto few = BuildPolyline(v.data(), 300, h, vm);
    ASSERT_EQ(few.size(), 300u);
    EXPECT_EQ(few.back().x, 610);
    EXPECT_EQ(few[7].sample, 7);

    h.sampleCount = 5000;
    auto many = BuildPolyline(v.data(), 5000, h, vm);
    ASSERT_EQ(many.size(), 600u);  // one point per column
    EXPECT_EQ(many.front().sample, 0);
    EXPECT_EQ(many[300].sample, 2500);
    for (size_t i = 1; i < many.size(); ++i) EXPECT_LE(many[i].x - many[i - 1].x, 2);

    // Magnified from the left, columns spread; compressed, they merge.
    h.hScale = 0.1f;
    EXPECT_LE(BuildPolyline(v.data(), 5000, h, vm).size(), 61u);
    // The inverse mapping finds the sample under a column.
    h.hScale = 1.0f;
    h.sampleCount = 300;
    EXPECT_EQ(h.sampleAt(h.x(123)), 123);
    EXPECT_EQ(h.sampleAt(-50), 0);
    EXPECT_EQ(h.sampleAt(5000), 299);
    // A flat range does not divide by zero.
    EXPECT_EQ((VerticalMapping{{0, 0, 10, 101}, 0.0, 0.0}).y(5.0), 50);
}

// ---- analysis panes -------------------------------------------------------------------------

TEST(DisplayPanes, SpectrumPanesHalveTheCountButRangeOverAllValues) {
    CSondaraDoc doc;
    TestPoint p = tracePoint(1000);
    for (int i = 0; i < 1000; ++i) p.samples[static_cast<size_t>(i)] = (i % 2) ? 1.0f : -1.0f;
    doc.points = {p};
    doc.selectPoint(0);
    WaveDisplayModel m = modelFor({AnalysisDomain::Frequency, DisplaySet::SingleTrace, 0, 0, 0});
    m.rebuild(doc);
    ASSERT_EQ(m.paneCount(), 1);
    const WavePane& w = m.pane(0);
    EXPECT_EQ(w.kind, PaneKind::Spectrum);
    EXPECT_EQ(w.slot, kSlotSpectrum);
    EXPECT_EQ(w.sampleCount, 500);
    EXPECT_EQ(w.point->sampleCount(), 500);
    std::vector<float> spec(p.samples);
    AmplitudeSpectrum(spec.data(), spec.data(), 1000);
    const float all = *std::max_element(spec.begin(), spec.end());
    const float shown = *std::max_element(spec.begin(), spec.begin() + 500);
    EXPECT_GT(all, 2 * shown);  // the alternating trace peaks at bin 512, beyond K
    EXPECT_NEAR(w.rangeMax, all * 1.1, 1e-4);
    EXPECT_EQ(w.rangeMin, 0.0);
    EXPECT_FALSE(w.zeroLineShown);
    // Frequency of a bin and the df line.
    EXPECT_NEAR(BinFrequencyKHz(w, 250), 12.5, 1e-9);
    EXPECT_EQ(ReadoutAt(w, 250).time, "F=12.50kHZ");
    EXPECT_EQ(InfoLines(doc, w, 45), (std::vector<std::string>{"频率分辨率:", "  df=50Hz"}));

    // The log spectrum reads in dB and widens its minimum.
    m.setSelection({AnalysisDomain::Frequency, DisplaySet::SingleTrace, 4, 0, 0});
    m.rebuild(doc);
    EXPECT_TRUE(m.pane(0).logUnit);
    EXPECT_LT(m.pane(0).rangeMin, 0.0);
    EXPECT_EQ(YAxisLabels(m.pane(0)).unit, "dB");
}

TEST(DisplayPanes, CrossPowerNeedsTwoValidPoints) {
    CSondaraDoc doc = docOf(3);
    doc.points[0].lastParams.viewStates[kSlotCrossPower].fill = 2;
    doc.points[2].lastParams.viewStates[kSlotCrossPower].fill = 2;
    WaveDisplayModel m = modelFor({AnalysisDomain::Frequency, DisplaySet::AllPoints, 2, 0, 2});
    m.options().editScope = 1;
    m.rebuild(doc);
    ASSERT_EQ(m.paneCount(), 3);
    EXPECT_EQ(m.pane(0).title, "NO.1");
    EXPECT_EQ(m.pane(1).title, "NO.3");
    EXPECT_EQ(m.pane(2).title, "互功率谱");
    EXPECT_EQ(m.pane(2).kind, PaneKind::Spectrum);
    EXPECT_EQ(m.pane(0).kind, PaneKind::TimeTrace);
    EXPECT_EQ(m.pane(2).sampleCount, 512);
    EXPECT_EQ(m.pane(2).state.fill, 2);  // the common state of both points
    EXPECT_EQ(m.activePane(), -1);
    EXPECT_EQ(m.editTargets().points, (std::vector<int>{0, 2}));

    m.runCommand(doc, DisplayCommand::FillPositive);
    EXPECT_EQ(doc.points[0].lastParams.viewStates[kSlotCrossPower].fill, 1);
    EXPECT_EQ(doc.points[2].lastParams.viewStates[kSlotCrossPower].fill, 1);
    EXPECT_EQ(doc.points[1].lastParams.viewStates[kSlotCrossPower].fill, 0);
    doc.points[2].lastParams.viewStates[kSlotCrossPower].fill = 0;
    m.rebuild(doc);
    EXPECT_EQ(m.pane(2).state, DisplayState{});  // the points disagree

    // An invalid second point: the display set's time traces, the usual targets.
    m.setSelection({AnalysisDomain::Frequency, DisplaySet::AllPoints, 2, 0, 7});
    m.rebuild(doc);
    EXPECT_EQ(m.paneCount(), 3);
    EXPECT_EQ(m.pane(1).kind, PaneKind::TimeTrace);
    EXPECT_EQ(m.editTargets().points, (std::vector<int>{0, 1, 2}));
}

TEST(DisplayPanes, WaveletPanesTitlesSlotsAndLengths) {
    CSondaraDoc doc = docOf(2);
    doc.selectPoint(1);
    // Haar, 3 levels (list index 2).
    WaveDisplayModel m = modelFor({AnalysisDomain::Wavelet, DisplaySet::SingleTrace, 0, 0, 2});
    m.rebuild(doc);
    const std::vector<std::string> titles = {"NO.2 原始信号",  "重构信号",       "第1级 平滑信号",
                                             "第1级 细节信号", "第2级 平滑信号", "第2级 细节信号",
                                             "第3级 平滑信号", "第3级 细节信号"};
    const std::vector<int> lengths = {1024, 1024, 512, 512, 256, 256, 128, 128};
    const std::vector<int> slots = {0, 6, 7, 8, 9, 10, 11, 12};
    ASSERT_EQ(m.paneCount(), 8);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m.pane(i).title, titles[static_cast<size_t>(i)]);
        EXPECT_EQ(m.pane(i).sampleCount, lengths[static_cast<size_t>(i)]);
        EXPECT_EQ(m.pane(i).slot, slots[static_cast<size_t>(i)]);
        EXPECT_EQ(m.pane(i).slot, WaveletPaneSlot(i));
        EXPECT_EQ(m.pane(i).kind, i == 0 ? PaneKind::TimeTrace : PaneKind::WaveletComponent);
        EXPECT_EQ(m.pane(i).pointIndex, 1);
        EXPECT_TRUE(m.pane(i).zeroLineShown);
    }
    // Symmetric range widened by a tenth.
    const WavePane& d1 = m.pane(3);
    EXPECT_DOUBLE_EQ(d1.rangeMax, -d1.rangeMin);
    // Wavelet time of a sample: k (r - 1) dt 0.001 / (n - 1).
    EXPECT_NEAR(PaneTimeMs(m.pane(2), 511), 1023 * 0.02, 1e-9);

    // Targets: the point with pane numbers.
    // No active pane yet: the current point itself, as with the signal pane active.
    EXPECT_EQ(m.editTargets().markerList(), (std::vector<int>{1}));
    EXPECT_EQ(m.processingTargets(), (std::vector<int>{1}));
    m.setActivePane(0);
    EXPECT_EQ(m.editTargets().markerList(), (std::vector<int>{1}));
    m.setActivePane(5);
    EXPECT_EQ(m.editTargets().markerList(), (std::vector<int>{1, 5}));
    EXPECT_EQ(m.processingTargets(), (std::vector<int>{1}));
    m.options().editScope = 1;
    EXPECT_EQ(m.editTargets().markerList(), (std::vector<int>{1, 1, 2, 3, 4, 5, 6, 7}));
    // A display command acts on the slots of the target panes only.
    m.setActivePane(-1);
    m.runCommand(doc, DisplayCommand::CompressV);
    const auto& vs = doc.points[1].lastParams.viewStates;
    EXPECT_EQ(vs[kSlotTime].vScaleMode, 0);
    for (int slot = 6; slot <= 12; ++slot) EXPECT_EQ(vs[static_cast<size_t>(slot)].vScaleMode, 1);
    EXPECT_EQ(vs[13].vScaleMode, 0);

    // An unknown member: no panes.
    m.setSelection({AnalysisDomain::Wavelet, DisplaySet::SingleTrace, 0, 5, 2});
    m.rebuild(doc);
    EXPECT_EQ(m.paneCount(), 0);
}

TEST(DisplayPanes, CorrelationAndAveragePanes) {
    CSondaraDoc doc = docOf(4);
    doc.points[3].samples.resize(512);  // a different count spoils an average
    WaveDisplayModel m = modelFor({AnalysisDomain::TimeAnalysis, DisplaySet::SingleTrace, 2, 2, 0});
    m.rebuild(doc);
    ASSERT_EQ(m.paneCount(), 3);
    EXPECT_EQ(pointsOf(m), (std::vector<int>{2, 0, 2}));
    EXPECT_EQ(m.pane(2).title, "互相关");
    EXPECT_EQ(m.pane(2).slot, kSlotCrossCorrelation);
    EXPECT_EQ(m.pane(2).statePoints, (std::vector<int>{2, 0}));
    EXPECT_EQ(m.editTargets().points, (std::vector<int>{2, 0}));
    // Lag time of index k: k (r - 1) dt 0.001 / (n - 1) ms.
    const WavePane& c = m.pane(2);
    EXPECT_EQ(ReadoutAt(c, 100).time, "t=2.00ms");
    EXPECT_EQ(ReadoutAt(c, 100).amplitude.rfind("A=", 0), 0u);
    EXPECT_EQ(ReadoutAt(c, 100).amplitude.find("mV"), std::string::npos);

    m.setSelection({AnalysisDomain::TimeAnalysis, DisplaySet::SingleTrace, 1, 9, 0});
    m.rebuild(doc);
    EXPECT_EQ(m.paneCount(), 0);  // no such point

    // Average over the pile of point 0 (points 0 and 1), in document order.
    m.setSelection({AnalysisDomain::TimeAnalysis, DisplaySet::SingleTrace, 0, 0, 0});
    m.rebuild(doc);
    ASSERT_EQ(m.paneCount(), 1);
    EXPECT_EQ(m.pane(0).title, "平均值");
    EXPECT_EQ(m.pane(0).kind, PaneKind::AverageTrace);
    EXPECT_TRUE(m.pane(0).fillsClient);
    EXPECT_EQ(m.processingTargets(), (std::vector<int>{0, 1}));
    EXPECT_NEAR(m.pane(0).point->samples[40], doc.points[0].samples[40], 1e-6);
    // All points: the short trace makes it zero.
    m.setSelection({AnalysisDomain::TimeAnalysis, DisplaySet::SingleTrace, 0, 2, 0});
    m.rebuild(doc);
    EXPECT_EQ(m.pane(0).point->samples[40], 0.0f);
    EXPECT_EQ(m.editTargets().points, (std::vector<int>{0, 1, 2, 3}));
    m.runCommand(doc, DisplayCommand::StretchH);
    for (const TestPoint& p : doc.points)
        EXPECT_EQ(p.lastParams.viewStates[kSlotAverage].hScaleMode, 2);
}

// ---- commands and targets --------------------------------------------------------------------

TEST(DisplayCommands, IntegrityTargetsFollowTheEditScope) {
    CSondaraDoc doc = docOf(5, 256);
    doc.selectPoint(2);
    WaveDisplayModel m = modelFor(integrity(DisplaySet::AllPoints));
    m.rebuild(doc);
    EXPECT_EQ(m.activePane(), 2);
    EXPECT_EQ(m.editTargets().points, (std::vector<int>{2}));
    m.runCommand(doc, DisplayCommand::FillNegative);
    EXPECT_EQ(doc.points[2].lastParams.viewStates[0].fill, 2);
    EXPECT_EQ(doc.points[1].lastParams.viewStates[0].fill, 0);
    EXPECT_EQ(m.pane(2).state.fill, 2);  // rebuilt with the stored state

    m.options().editScope = 1;
    EXPECT_EQ(m.editTargets().points, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(m.processingTargets(), (std::vector<int>{2, 1, 0, 3, 4}));
    const auto changed = m.runCommand(doc, DisplayCommand::AutoAdjust);
    EXPECT_EQ(changed.size(), 5u);
    for (const TestPoint& p : doc.points) {
        const DisplayState& s = p.lastParams.viewStates[0];
        EXPECT_EQ(s.positionMode, 0);
        EXPECT_EQ(s.hScaleMode, 0);
        EXPECT_EQ(s.vScaleMode, 0);
    }
    // The single trace ignores the scope.
    m.setSelection(integrity(DisplaySet::SingleTrace));
    m.rebuild(doc);
    EXPECT_EQ(m.editTargets().points, (std::vector<int>{2}));
    // Frequency writes the spectrum slot and does not reorder processing targets.
    m.setSelection({AnalysisDomain::Frequency, DisplaySet::AllPoints, 0, 0, 0});
    m.rebuild(doc);
    EXPECT_EQ(m.processingTargets(), (std::vector<int>{0, 1, 2, 3, 4}));
    m.runCommand(doc, DisplayCommand::SpectrumEnvelope);
    EXPECT_EQ(doc.points[4].lastParams.viewStates[kSlotSpectrum].spectrumStyle, 1);
    EXPECT_EQ(doc.points[4].lastParams.viewStates[kSlotTime].spectrumStyle, 0);
}

TEST(DisplayCommands, SharedSlotReadsTheCommonStateOrTheDefault) {
    CSondaraDoc doc = docOf(3);
    DisplayState s;
    s.hScale = 2.0f;
    for (TestPoint& p : doc.points) p.lastParams.viewStates[kSlotAverage] = s;
    const std::vector<int> all = {0, 1, 2};
    EXPECT_EQ(ReadSharedState(doc, all, kSlotAverage), s);
    doc.points[1].lastParams.viewStates[kSlotAverage].fill = 1;
    EXPECT_EQ(ReadSharedState(doc, all, kSlotAverage), DisplayState{});
    EXPECT_EQ(ReadSharedState(doc, std::vector<int>{0, 2, 99}, kSlotAverage), s);
    WriteSharedState(doc, all, kSlotAverage, s);
    EXPECT_EQ(ReadSharedState(doc, all, kSlotAverage), s);
}

// ---- cursors and interaction
// ---------------------------------------------------------------------

TEST(DisplayInteraction, ClicksKeysAndCursors) {
    CSondaraDoc doc = docOf(4);
    WaveDisplayModel m = modelFor(integrity(DisplaySet::AllPoints));
    m.rebuild(doc);
    const WavePane& p2 = m.pane(2);
    const int x = (p2.plotRect.left + p2.plotRect.right) / 2, y = p2.plotRect.top + 5;

    ClickResult r = m.click(x, y, false);
    EXPECT_EQ(r.pane, 2);
    EXPECT_TRUE(r.activeChanged);
    EXPECT_EQ(r.selectPoint, 2);
    ASSERT_TRUE(r.staticCursorPlaced);
    EXPECT_EQ(m.staticCursor().pane, 2);
    EXPECT_EQ(m.staticCursor().sample,
              MakeHorizontalMapping(m.pane(2), m.pane(2).plotRect).sampleAt(x));
    EXPECT_EQ(m.staticCursor().readout.size(), 3u);
    std::vector<std::string> info = {"动态游标："};
    info.insert(info.end(), m.dynamicCursor().readout.begin(), m.dynamicCursor().readout.end());
    info.push_back("静态游标：");
    info.insert(info.end(), m.staticCursor().readout.begin(), m.staticCursor().readout.end());
    EXPECT_EQ(m.cursorInfoLines(), info);

    // Outside the plot: active pane and point, no cursor; right button: the menu.
    r = m.click(m.pane(1).paneRect.left + 2, m.pane(1).paneRect.top + 2, true);
    EXPECT_EQ(r.pane, 1);
    EXPECT_TRUE(r.openContextMenu);
    EXPECT_FALSE(r.staticCursorPlaced);
    EXPECT_EQ(m.staticCursor().pane, 2);  // the static cursor stays

    KeyResult k = m.moveActivePane(+1);
    EXPECT_EQ(k.activePane, 2);
    EXPECT_EQ(k.selectPoint, 2);
    m.moveActivePane(+1);
    k = m.moveActivePane(+1);
    EXPECT_FALSE(k.changed);  // already the last pane
    m.featureMask = 0;
    EXPECT_FALSE(m.moveActivePane(-1).changed);

    // Time analysis: keys only move the active pane and hide both cursors.
    m.featureMask = 7;
    m.setSelection({AnalysisDomain::TimeAnalysis, DisplaySet::SingleTrace, 1, 0, 0});
    m.rebuild(doc);
    m.setActivePane(0);
    m.click(m.pane(0).plotRect.left + 10, m.pane(0).plotRect.top + 10, false);
    k = m.moveActivePane(+1);
    EXPECT_EQ(k.selectPoint, -1);
    EXPECT_TRUE(k.cursorsHidden);
    EXPECT_FALSE(m.staticCursor().shown);

    // The dynamic cursor follows the pointer in a plot only.
    EXPECT_TRUE(m.moveDynamicCursor(m.pane(1).plotRect.left + 3, m.pane(1).plotRect.top + 3));
    EXPECT_FALSE(m.moveDynamicCursor(1, 1));
    EXPECT_FALSE(m.dynamicCursor().shown);
}

TEST(DisplayInteraction, GrabbingPrefersTheNearestThenHeadThenToeThenEarlierMarks) {
    CSondaraDoc doc = docOf(1, 1024);
    WaveDisplayModel m = modelFor(integrity(DisplaySet::SingleTrace));
    m.rebuild(doc);
    const WavePane& w = m.pane(0);
    const int hx = w.head.x, tx = w.toe.x, y = w.plotRect.top + 10;
    ASSERT_TRUE(w.head.visible && w.toe.visible);
    EXPECT_EQ(m.hitTestGrab(hx + 4, y).type, GrabTarget::Type::Head);
    EXPECT_FALSE(m.hitTestGrab(hx + 5, y).grabbed());
    EXPECT_EQ(m.hitTestGrab(tx - 1, y).type, GrabTarget::Type::Toe);

    // Two defects on the same column as the head: the head wins, then the first defect.
    PileMark d;
    d.position = doc.points[0].headIndex;
    doc.points[0].defects = {d, d};
    doc.points[0].defects[1].position = 101;
    doc.points[0].defects[0].position = 102;
    m.rebuild(doc);
    const int x102 = m.pane(0).marks[0].x;
    GrabTarget g = m.hitTestGrab(x102, y);
    EXPECT_EQ(g.distance, 0);
    EXPECT_EQ(g.type, GrabTarget::Type::Defect);
    EXPECT_EQ(g.entry, 0);
    doc.points[0].defects[1].position = 102;
    m.rebuild(doc);
    EXPECT_EQ(m.hitTestGrab(x102, y).entry, 0);  // equal distance: the earlier mark
    doc.points[0].headIndex = 102;
    m.rebuild(doc);
    EXPECT_EQ(m.hitTestGrab(x102, y).type, GrabTarget::Type::Head);

    // Dragging the toe moves it without questions and recomputes the speed.
    doc.points[0].headIndex = 100;
    doc.points[0].defects.clear();
    m.rebuild(doc);
    test::ScriptedPrompter prompter;
    g = m.hitTestGrab(m.pane(0).toe.x, y);
    const auto changed = m.finishGrabDrag(doc, g, m.pane(0).toe.x + 50, prompter);
    EXPECT_EQ(changed, (std::vector<int>{0}));
    EXPECT_GT(doc.points[0].toeIndex, 900);
    EXPECT_TRUE(prompter.infos.empty());

    // Pane edges: stacked panes only, never in the multi-trace display.
    m.setSelection(integrity(DisplaySet::AllPoints));
    doc.points.push_back(tracePoint());
    m.rebuild(doc);
    EdgeGrab e = m.hitTestEdge(100, 152);
    ASSERT_TRUE(e.grabbed);
    EXPECT_EQ(e.pane, 0);
    EXPECT_EQ(m.edgeDragHeight(e, 5), 20);
    m.finishEdgeDrag(e, 120);
    EXPECT_EQ(m.paneHeight, 120);
    EXPECT_EQ(m.pane(1).paneRect.top, 120);
    m.setSelection(integrity(DisplaySet::MultiTrace));
    m.rebuild(doc);
    EXPECT_FALSE(m.hitTestEdge(100, m.pane(0).paneRect.bottom).grabbed);
}

TEST(DisplayInteraction, SpeedAndLengthBoxes) {
    CSondaraDoc doc = docOf(3);
    doc.points[2].waveSpeed = 3600;
    for (TestPoint& p : doc.points) p.pileLength = 12.5f;
    WaveDisplayModel m = modelFor(integrity(DisplaySet::AllPoints));
    m.options().editScope = 1;
    m.rebuild(doc);
    m.setActivePane(-1);
    SpeedLengthView v = m.speedAndLength();
    EXPECT_TRUE(v.applies && v.enabled);
    EXPECT_TRUE(v.speedGrey);
    EXPECT_FALSE(v.lengthGrey);
    EXPECT_EQ(v.speedText, "");
    EXPECT_EQ(v.lengthText, "12.5");
    m.setActivePane(2);
    EXPECT_EQ(m.speedAndLength().speedText, "3600");
    m.options().editScope = 0;
    m.setActivePane(-1);
    v = m.speedAndLength();
    EXPECT_FALSE(v.enabled);
    EXPECT_FALSE(v.speedGrey);
    EXPECT_EQ(FormatPileLength(12.0), "12");
    m.setSelection({AnalysisDomain::Wavelet, DisplaySet::SingleTrace, 0, 0, 0});
    EXPECT_FALSE(m.speedAndLength().applies);
}

// ---- large displays
// -------------------------------------------------------------------------------

TEST(DisplayLarge, PanesOutsideTheVisibleRowsAreMaterialisedOnDemand) {
    CSondaraDoc doc = docOf(2000, 128);
    doc.points[1500].lastParams.viewStates[0].fill = 1;
    WaveDisplayModel m = modelFor(integrity(DisplaySet::AllPoints), 800, 600);
    m.rebuild(doc);
    EXPECT_EQ(m.paneCount(), 2000);
    EXPECT_LE(m.materialisedCount(), 5);
    EXPECT_FALSE(m.pane(1500).materialised);
    EXPECT_EQ(m.pane(1500).state.fill, 1);  // the state is there without the copy
    const WavePane& far = m.ensurePane(1500);
    EXPECT_TRUE(far.materialised);
    EXPECT_EQ(far.polyline.size(), 128u);

    // The same pane scrolled into view looks the same.
    const auto before = far.polyline;
    m.setScrollY(m.pane(1500).paneRect.top);
    EXPECT_EQ(m.pane(1500).polyline, before);
    // Scrolling through everything keeps only a bounded number of copies.
    for (int y = 0; y < m.contentHeight(); y += 600) m.setScrollY(y);
    EXPECT_LT(m.materialisedCount(), 300);
    // Commands over every pane need no copies.
    m.options().editScope = 1;
    EXPECT_EQ(m.runCommand(doc, DisplayCommand::FillPositive).size(), 2000u);
    EXPECT_EQ(doc.points[1999].lastParams.viewStates[0].fill, 1);
}

}  // namespace
}  // namespace sondara
