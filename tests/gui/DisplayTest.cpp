// The analysis view and its waveform display in the running program: panes after
// opening a project, display commands and their forwarding, clicks, keys, pane-edge
// drags, the analysis bar and the cursor-information window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include "GuiFixture.h"
#include "core/display/AnalysisBar.h"
#include "core/display/DisplayOptions.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/AnalysisBarWidget.h"
#include "gui/display/CursorInfoWindow.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"
#include "render/PanePainter.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara::gui {
namespace {

struct DisplayFixture : GuiFixture {
    void SetUp() override {
        GuiFixture::SetUp();
        // Each test starts from the default bar choices and display settings.
        forgetDisplaySettings();
        std::vector<TestPoint> pts{pileTrace("A", 3500, 20), pileTrace("A", 3500, 25),
                                   pileTrace("A", 3600, 30), pileTrace("B", 4000, 15),
                                   pileTrace("C", 4000, 10)};
        ASSERT_NO_FATAL_FAILURE(open(test::makeDoc(pts), {1200, 900}));
        // The frame forwards a click on a trace as a point-list selection.
        selectPointOnClick();
    }
    void TearDown() override {
        GuiFixture::TearDown();
        forgetDisplaySettings();
    }
    // A point in window pixels of the display inside pane i's plot.
    QPoint inPlot(int i, double fx = 0.5) {
        const PixelRect& r = model().pane(i).plotRect;
        return QPoint(r.left + static_cast<int>(fx * r.width()),
                      (r.top + r.bottom) / 2 - disp()->scrollY());
    }
};

TEST_F(DisplayFixture, OpeningAProjectShowsTheCurrentPointPainted) {
    ASSERT_EQ(disp()->paneCount(), 1);
    EXPECT_EQ(model().pane(0).pointIndex, 0);
    EXPECT_EQ(model().selection().domain, AnalysisDomain::Integrity);
    const QImage shot = disp()->grab().toImage();
    EXPECT_GT(disp()->repaintCount(), 0);
    // The curve is on the screen where the model put it.
    const WavePane& w = model().ensurePane(0);
    int hits = 0;
    for (const PolylinePoint& q : w.polyline)
        hits += QColor(shot.pixel(q.x, q.y)) == render::kCurveColour;
    EXPECT_GT(hits, static_cast<int>(w.polyline.size()) * 9 / 10);
    // The bar: integrity analysis, single trace, the point's speed and length in black.
    AnalysisBarWidget* bar = view()->analysisBar();
    EXPECT_EQ(bar->combo(BarCombo::AnalysisType)->currentText(), "完整性分析");
    EXPECT_EQ(bar->combo(BarCombo::DisplaySet)->currentText(), "单道分析");
    EXPECT_EQ(bar->speedEdit()->text(), "3500");
    EXPECT_EQ(bar->lengthEdit()->text(), "10.4");
    EXPECT_TRUE(bar->settingsButton()->isEnabled());  // opens 显示设置
    EXPECT_EQ(bar->settingsButton()->toolTip(), "设置显示区相关参数");
}

TEST_F(DisplayFixture, DisplayCommandsChangeTheStoredStateAndRedraw) {
    ASSERT_FALSE(view()->commandState(CommandId::DispFillPositive).checked);
    EXPECT_TRUE(view()->commandState(CommandId::DispFillNone).checked);
    QApplication::processEvents();
    const int paints = disp()->repaintCount();
    frame().runCommand(CommandId::DispFillPositive);  // 填充.正填充
    EXPECT_EQ(doc().points[0].lastParams.viewStates[0].fill, 1);
    EXPECT_EQ(doc().points[1].lastParams.viewStates[0].fill, 0);
    EXPECT_TRUE(doc().modified);
    EXPECT_EQ(model().pane(0).state.fill, 1);
    EXPECT_TRUE(view()->commandState(CommandId::DispFillPositive).checked);
    EXPECT_FALSE(view()->commandState(CommandId::DispFillNone).checked);
    disp()->grab();
    EXPECT_GT(disp()->repaintCount(), paints);

    frame().runCommand(CommandId::DispMoveLeft);  // 横向位置.左移
    EXPECT_EQ(doc().points[0].lastParams.viewStates[0].xOffset, -50);
    EXPECT_EQ(model().pane(0).state.xOffset, -50);

    // The enable rules follow the active pane's kind.
    EXPECT_TRUE(
        view()->commandState(CommandId::DispAlignHead).enabled);  // align to the head: a time trace
    EXPECT_FALSE(
        view()->commandState(CommandId::DispSpectrumLines).enabled);  // spectrum lines: no spectrum
    EXPECT_TRUE(
        frame().commands().isEnabled(CommandId::ProcFilter));  // the filter: the active trace
    choose(view(), BarCombo::AnalysisType, 2);                 // frequency analysis
    EXPECT_TRUE(view()->commandState(CommandId::DispSpectrumLines).enabled);
    EXPECT_TRUE(view()->commandState(CommandId::DispSpectrumLines).checked);
    EXPECT_FALSE(view()->commandState(CommandId::DispAlignHead).enabled);
}

TEST_F(DisplayFixture, FillReachesEveryViewOfTheDocumentShiftOnlyTheActiveOne) {
    CSondaraView* first = view();
    QMdiSubWindow* second = frame().openChildWindow(false);
    QApplication::processEvents();
    auto* other = qobject_cast<CSondaraView*>(second->widget());
    ASSERT_NE(other, first);
    // The second window shows all points and edits all of them.
    choose(other, BarCombo::DisplaySet, 4);        // 所有测点
    other->handleCommand(CommandId::ViewEditAll);  // 全部波形
    ASSERT_EQ(other->display()->paneCount(), 5);
    frame().mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    ASSERT_EQ(frame().activeAnalysisView(), first);

    frame().runCommand(
        CommandId::DispFillNegative);  // 填充.负填充: every view applies it to its own points
    for (const TestPoint& p : doc().points) EXPECT_EQ(p.lastParams.viewStates[0].fill, 2);
    frame().runCommand(CommandId::DispMoveRight);  // 横向位置.右移: the active view only
    EXPECT_EQ(doc().points[0].lastParams.viewStates[0].xOffset, 50);
    for (int i = 1; i < 5; ++i) EXPECT_EQ(doc().points[i].lastParams.viewStates[0].xOffset, 0);
}

TEST_F(DisplayFixture, AClickInAMultiTraceLayoutSelectsThatPoint) {
    choose(view(), BarCombo::DisplaySet, 1);  // 多道分析
    EXPECT_EQ(model().selection().displaySet, DisplaySet::MultiTrace);
    ASSERT_EQ(disp()->paneCount(), 3);
    const int point = model().pane(2).pointIndex;
    ASSERT_NE(point, doc().currentPoint);
    QTest::mouseClick(disp(), Qt::LeftButton, {}, inPlot(2, 0.3));
    QApplication::processEvents();
    EXPECT_EQ(doc().currentPoint, point);
    EXPECT_EQ(model().activePane(), 2);
    EXPECT_EQ(model().pane(2).pointIndex, point);  // the point stays in the pane clicked
    EXPECT_TRUE(model().staticCursor().shown);
    EXPECT_EQ(model().staticCursor().pane, 2);
    EXPECT_FALSE(model().staticCursor().readout.empty());

    // ↑ makes the pane above active and selects its point.
    const int above = model().pane(1).pointIndex;
    QTest::keyClick(disp(), Qt::Key_Up);
    QApplication::processEvents();
    EXPECT_EQ(model().activePane(), 1);
    EXPECT_EQ(doc().currentPoint, above);
}

TEST_F(DisplayFixture, TheBarsChoicesReachTheDisplay) {
    AnalysisBarWidget* bar = view()->analysisBar();
    choose(view(), BarCombo::DisplaySet, 2);  // 所选桩: the three points of pile A
    EXPECT_EQ(model().selection().displaySet, DisplaySet::SamePile);
    EXPECT_EQ(disp()->paneCount(), 3);
    // The tooltips of the set list have two lines.
    EXPECT_EQ(bar->combo(BarCombo::DisplaySet)->itemData(3, Qt::ToolTipRole).toString(),
              "测点栏中\n勾选方式(√)选中的测点");
    // All traces edited: the wave speeds differ, so the box turns grey.
    view()->handleCommand(CommandId::ViewEditAll);
    QApplication::processEvents();
    EXPECT_EQ(bar->speedEdit()->palette().color(QPalette::Text), QColor(128, 128, 128));
    EXPECT_EQ(bar->lengthEdit()->palette().color(QPalette::Text), QColor(Qt::black));

    choose(view(), BarCombo::AnalysisType, 2);  // 频域分析
    EXPECT_EQ(model().selection().domain, AnalysisDomain::Frequency);
    EXPECT_FALSE(bar->speedEdit()->isVisibleTo(bar));
    EXPECT_TRUE(bar->combo(BarCombo::DisplaySet)->isVisibleTo(bar));
    EXPECT_EQ(model().pane(0).kind, PaneKind::Spectrum);
    choose(view(), BarCombo::SubAnalysis, 2);  // 互功率谱: two point lists instead of the set
    EXPECT_FALSE(bar->combo(BarCombo::DisplaySet)->isVisibleTo(bar));
    EXPECT_TRUE(bar->combo(BarCombo::FirstChoice)->isVisibleTo(bar));
    EXPECT_EQ(bar->firstCaption()->text(), "测点1");
    EXPECT_EQ(bar->combo(BarCombo::SecondChoice)->itemText(3), "[4] B");
    choose(view(), BarCombo::SecondChoice, 3);
    ASSERT_EQ(disp()->paneCount(), 3);
    EXPECT_EQ(model().pane(1).pointIndex, 3);
    EXPECT_EQ(model().pane(2).title, "互功率谱");

    choose(view(), BarCombo::AnalysisType, 3);  // 小波分析
    EXPECT_EQ(bar->subCaption()->text(), "小波基");
    EXPECT_EQ(bar->combo(BarCombo::SecondChoice)->count(), 9);
    EXPECT_GT(disp()->paneCount(), 2);
    EXPECT_EQ(model().pane(1).kind, PaneKind::WaveletComponent);
}

TEST_F(DisplayFixture, TypedWaveSpeedIsApplied) {
    QLineEdit* speed = view()->analysisBar()->speedEdit();
    speed->setFocus();
    speed->selectAll();
    QTest::keyClicks(speed, "4200");
    QTest::keyClick(speed, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(doc().points[0].waveSpeed, 4200);
    EXPECT_EQ(doc().points[1].waveSpeed, 3500);
    EXPECT_TRUE(doc().modified);
}

TEST_F(DisplayFixture, StackedPanesScrollAndTheirEdgesDrag) {
    choose(view(), BarCombo::DisplaySet, 4);  // 所有测点: five panes of 150 px
    ASSERT_EQ(disp()->paneCount(), 5);
    disp()->resize(disp()->width(), 400);
    QApplication::processEvents();
    ASSERT_TRUE(model().scrollsVertically());
    auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(100, 100), disp()->mapToGlobal(QPointF(100, 100)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(disp(), &e);
    };
    wheel(-120);  // one notch down
    EXPECT_EQ(disp()->scrollY(), 40);
    wheel(120);
    ASSERT_EQ(disp()->scrollY(), 0);
    // The edge between the first two panes, dragged 50 px up, makes every pane 100 px.
    QTest::mousePress(disp(), Qt::LeftButton, {}, QPoint(300, 151));
    QTest::mouseMove(disp(), QPoint(300, 101));
    QTest::mouseRelease(disp(), Qt::LeftButton, {}, QPoint(300, 101));
    EXPECT_EQ(model().paneHeight, 100);
    EXPECT_EQ(model().pane(1).paneRect.top, 100);
    EXPECT_EQ(model().contentHeight(), 500);
}

TEST_F(DisplayFixture, CursorInformationWindowFollowsTheCursorsAndStaysInside) {
    frame().runCommand(CommandId::ViewCursorInfo);  // 光标信息
    CursorInfoWindow* info = disp()->cursorInfoWindow();
    ASSERT_TRUE(info->isVisible());
    // Not placed by the user yet: it opens at the plot's top-right, clear of the y axis.
    ASSERT_FALSE(info->placedByUser());
    const PixelRect plot = model().pane(0).plotRect;
    EXPECT_EQ(info->geometry().right(), plot.left + plot.width() - 1 - 4);
    EXPECT_EQ(info->pos().y(), plot.top + 4);
    EXPECT_GT(info->pos().x(), plot.left);
    QTest::mouseMove(disp(), inPlot(0, 0.5));
    ASSERT_TRUE(model().dynamicCursor().shown);
    ASSERT_FALSE(info->lines().empty());
    EXPECT_EQ(info->lines().front(), "动态游标：");
    EXPECT_GE(info->width(), 40);
    // Dragged far out, it stops 3 px from the display's edge.
    QTest::mousePress(info, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(info, QPoint(5000, 5000));
    QTest::mouseRelease(info, Qt::LeftButton, {}, QPoint(5000, 5000));
    EXPECT_EQ(info->geometry().right() + 1, disp()->width() - 3);
    EXPECT_EQ(info->geometry().bottom() + 1, disp()->height() - 3);
    frame().runCommand(CommandId::ViewCursorInfo);
    EXPECT_FALSE(info->isVisible());
}

}  // namespace
}  // namespace sondara::gui
