// The processing windows driven offscreen: pop-up dialogs and docked forms with their
// checks, switching back and forth, the greyed switch outside integrity analysis, a
// docked form ended by another command, dragging a rotation in the display, and the
// 处理过程 panel with its buttons. The rules themselves are tested in core.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <functional>

#include "GuiFixture.h"
#include "core/app/CommandIds.h"
#include "core/processing/Positions.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/AnalysisBarWidget.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"
#include "gui/processing/ProcessInteraction.h"
#include "gui/processing/ProcessingHistoryPanel.h"
#include "gui/processing/StepDockForm.h"
#include "gui/processing/StepFieldControls.h"
#include "gui/processing/StepParamDialog.h"
#include "gui/processing/ViewProcessing.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara::gui {
namespace {

int id(CommandId c) {
    return static_cast<int>(c);
}

// Polls until `ready` holds, then runs `act` once (from the event loop of whatever
// modal dialog or docked run is waiting meanwhile).
void when(std::function<bool()> ready, std::function<void()> act) {
    auto* t = new QTimer;
    t->setInterval(10);
    QObject::connect(t, &QTimer::timeout, [t, ready, act] {
        if (!ready()) return;
        t->stop();
        t->deleteLater();
        act();
    });
    t->start();
}

template <typename T>
T* modal() {
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

void type(QLineEdit* e, const QString& text) {
    e->selectAll();
    e->setText(text);
}

// Saves a picture for the documentation when SONDARA_SCREENSHOT_DIR is set.
void shot(QWidget* w, const char* name, QWidget* hideMeanwhile = nullptr) {
    const QByteArray dir = qgetenv("SONDARA_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    // The offscreen screen is small: a panel may make room for the view.
    if (hideMeanwhile) hideMeanwhile->hide();
    QApplication::processEvents();
    w->grab().save(QString::fromUtf8(dir) + "/" + name);
    if (hideMeanwhile) hideMeanwhile->show();
}

TestPoint tracePoint(double phase) {
    TestPoint p = test::simplePoint("A", 1024);
    p.pileLength = 10.0f;
    p.headIndex = 100;
    p.toeIndex = 600;
    p.checked = 1;
    for (int i = 0; i < 1024; ++i)
        p.rawSamples[static_cast<size_t>(i)] =
            static_cast<float>(100 * std::exp(-i / 300.0) * std::sin(i * 0.05 + phase) + 5);
    p.samples = p.rawSamples;
    return p;
}

struct ProcessingFixture : GuiFixture {
    void SetUp() override {
        GuiFixture::SetUp();
        CSondaraDoc d = test::makeDoc({tracePoint(0), tracePoint(1), tracePoint(2)});
        for (TestPoint& p : d.points) UpdateDisplayRange(p);
        ASSERT_NO_FATAL_FAILURE(launch(d));
        frame().resize(1200, 800);
        frame().show();
        if (QMdiSubWindow* sw = frame().mdiArea()->activeSubWindow()) sw->showMaximized();
        QApplication::processEvents();
        // The bar's choices and the edit scope are settings that an earlier test may
        // have changed: every test starts with one trace in integrity analysis.
        emit view()->analysisBar()->comboSelected(BarCombo::AnalysisType, 0);
        emit view()->analysisBar()->comboSelected(BarCombo::DisplaySet, 0);
        view()->display()->setEditScope(0);
        QApplication::processEvents();
        ViewProcessing::dialogMode() = 0;
    }
    ProcessingHistoryPanel* panel() { return ProcessingHistoryPanel::instance(); }
    StepDockForm* form() { return view()->processing()->shownForm(); }
    bool docked() { return form() != nullptr && form()->isVisible(); }
    QLineEdit* popupEdit(FormField f) { return modal<StepParamDialog>()->controls()->edit(f); }
};

TEST_F(ProcessingFixture, FilterPopupChecksAndAppends) {
    std::vector<QString> messages;
    when([] { return modal<StepParamDialog>(); },
         [&] {
             auto* dlg = modal<StepParamDialog>();
             EXPECT_EQ(dlg->windowTitle(), "数字滤波");
             EXPECT_EQ(dlg->switchButton()->toolTip(), "窗体停靠");
             EXPECT_TRUE(dlg->switchButton()->isEnabled());
             ASSERT_NE(dlg->previewButton(), nullptr);
             // low-pass shows the upper frequency only
             EXPECT_FALSE(dlg->controls()->edit(FormField::Lower)->isVisible());
             dlg->controls()->radios()[2]->click();  // 带通滤波
             EXPECT_TRUE(dlg->controls()->edit(FormField::Lower)->isVisible());
             type(popupEdit(FormField::Upper), "200");
             type(popupEdit(FormField::Lower), "200");
             when([] { return modal<QMessageBox>(); },
                  [&] {
                      messages.push_back(modal<QMessageBox>()->text());
                      modal<QMessageBox>()->accept();
                      when([] { return modal<StepParamDialog>(); },
                           [&] {
                               type(popupEdit(FormField::Lower), "20");
                               modal<StepParamDialog>()->okButton()->click();
                           });
                  });
             dlg->okButton()->click();
         });
    frame().runCommand(CommandId::ProcFilter);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "请设置为上限频率大于下限频率！");
    ASSERT_EQ(doc().points[0].stepCount(), 1);
    const ProcessStep& s = doc().points[0].steps[0];
    EXPECT_EQ(s.kind, 3);
    EXPECT_EQ(s.filterType, 3);
    EXPECT_EQ(s.upperFreqHz, 200.0f);
    EXPECT_EQ(s.lowerFreqHz, 20.0f);
    EXPECT_TRUE(doc().modified);
    QApplication::processEvents();
    ASSERT_EQ(panel()->list()->count(), 1);
    EXPECT_EQ(panel()->list()->item(0)->text(), "数字滤波");
}

TEST_F(ProcessingFixture, SwitchingKeepsTypedValuesAndTheNextOperationIsAPopup) {
    QString dockedFactor, popupFactor;
    when([] { return modal<StepParamDialog>(); },
         [&] {
             type(popupEdit(FormField::Factor), "12");
             when(
                 [&] { return docked(); },
                 [&] {
                     // The form sits where the analysis bar was.
                     EXPECT_FALSE(view()->analysisBar()->isVisible());
                     EXPECT_EQ(form()->switchButton()->toolTip(), "窗体弹出");
                     dockedFactor = form()->controls()->edit(FormField::Factor)->text();
                     shot(&frame(), "processing-docked-amplify.png", frame().dock(101));
                     type(form()->controls()->edit(FormField::Factor), "15");
                     when(
                         [] { return modal<StepParamDialog>(); },
                         [&] {
                             popupFactor = popupEdit(FormField::Factor)->text();
                             when([&] { return docked(); },
                                  [&] {
                                      type(form()->controls()->edit(FormField::Factor), "16");
                                      form()->okButton()->click();
                                  });
                             modal<StepParamDialog>()->switchButton()->click();  // docked once more
                         });
                     form()->switchButton()->click();
                 });
             modal<StepParamDialog>()->switchButton()->click();
         });
    frame().runCommand(CommandId::ProcAmplify);
    EXPECT_EQ(dockedFactor, "12");
    EXPECT_EQ(popupFactor, "15");
    ASSERT_EQ(doc().points[0].stepCount(), 1);
    EXPECT_EQ(doc().points[0].steps[0].ampFactor, 16.0f);
    EXPECT_EQ(doc().points[0].steps[0].ampStart, 100);  // the pile head
    EXPECT_TRUE(view()->analysisBar()->isVisible());
    EXPECT_EQ(view()->processing()->activeDockedKind(), 0);

    // The last operation ended docked; the next one opens as a pop-up all the same.
    bool popup = false;
    when([] { return modal<StepParamDialog>(); },
         [&] {
             popup = true;
             EXPECT_EQ(modal<StepParamDialog>()->windowTitle(), "去直流");
             modal<StepParamDialog>()->reject();
         });
    frame().runCommand(CommandId::ProcRemoveDc);
    EXPECT_TRUE(popup);
    EXPECT_EQ(doc().points[0].stepCount(), 1);  // cancelled
}

TEST_F(ProcessingFixture, OutsideIntegrityTheSwitchIsGreyAndPositionKindsDoNothing) {
    emit view()->analysisBar()->comboSelected(BarCombo::AnalysisType, 2);  // 频域分析
    QApplication::processEvents();
    ASSERT_EQ(view()->display()->model().selection().domain, AnalysisDomain::Frequency);
    for (CommandId c : {CommandId::ProcFilter, CommandId::ProcAmplify, CommandId::ProcRemoveDc,
                        CommandId::ProcSmooth}) {
        bool grey = false;
        when([] { return modal<StepParamDialog>(); },
             [&] {
                 grey = !modal<StepParamDialog>()->switchButton()->isEnabled();
                 modal<StepParamDialog>()->reject();
             });
        frame().runCommand(c);
        EXPECT_TRUE(grey) << id(c);
    }
    EXPECT_FALSE(ViewProcessing::dockDisabled());
    // Rotation is not available here: no window, no step.
    frame().runCommand(CommandId::ProcRotate);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    for (const TestPoint& p : doc().points) EXPECT_EQ(p.stepCount(), 0);
}

TEST_F(ProcessingFixture, AnotherCommandEndsTheDockedFormAndRunsAfterwards) {
    const bool infoBefore = view()->display()->cursorInfoVisible();
    when([] { return modal<StepParamDialog>(); },
         [&] {
             when([&] { return docked(); },
                  [&] {
                      frame().runCommand(
                          CommandId::ViewCursorInfo);  // 光标信息, chosen while the form is open
                  });
             modal<StepParamDialog>()->switchButton()->click();
         });
    frame().runCommand(CommandId::ProcSmooth);
    // The smoothing was cancelled and the traces restored ...
    EXPECT_EQ(doc().points[0].stepCount(), 0);
    EXPECT_EQ(doc().points[0].samples, doc().points[0].rawSamples);
    EXPECT_EQ(view()->processing()->activeDockedKind(), 0);
    EXPECT_TRUE(view()->analysisBar()->isVisible());
    // ... and the command ran once the docked run had unwound.
    QTest::qWait(50);
    EXPECT_NE(view()->display()->cursorInfoVisible(), infoBefore);
}

TEST_F(ProcessingFixture, ClosingTheWindowEndsTheDockedFormFirst) {
    QMdiSubWindow* sw = frame().mdiArea()->activeSubWindow();
    ASSERT_NE(sw, nullptr);
    QPointer<QMdiSubWindow> guard(sw);
    when([] { return modal<StepParamDialog>(); },
         [&] {
             when([&] { return docked(); }, [&] { sw->close(); });
             modal<StepParamDialog>()->switchButton()->click();
         });
    frame().runCommand(CommandId::ProcLocalScale);
    EXPECT_EQ(doc().points[0].stepCount(), 0);
    // The window closes once the docked run has unwound.
    QTest::qWait(50);
    EXPECT_TRUE(guard.isNull() || !guard->isVisible());
}

TEST_F(ProcessingFixture, DraggingARotationPreviewsAndCommits) {
    CWaveDisp* disp = view()->display();
    std::vector<float> during;
    QString angleText;
    when([] { return modal<StepParamDialog>(); },
         [&] {
             when([&] { return docked(); },
                  [&] {
                      EXPECT_EQ(view()->processing()->interaction()->mode(),
                                InteractiveMode::RotateWhole);
                      const WavePane& w = disp->model().pane(0);
                      const int y = (w.plotRect.top + w.plotRect.bottom) / 2 - disp->scrollY();
                      const QPoint from(w.plotRect.left + 100, y),
                          to(w.plotRect.right - 20, y - 60);
                      QTest::mousePress(disp, Qt::LeftButton, {}, from);
                      QMouseEvent move(QEvent::MouseMove, QPointF(to),
                                       disp->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                                       Qt::NoModifier);
                      QApplication::sendEvent(disp, &move);
                      during = doc().points[0].samples;
                      angleText = form()->controls()->edit(FormField::Angle)->text();
                      shot(&frame(), "processing-rotation-drag.png", frame().dock(101));
                      QTest::mouseRelease(disp, Qt::LeftButton, {}, to);
                      form()->okButton()->click();
                  });
             modal<StepParamDialog>()->switchButton()->click();
         });
    frame().runCommand(CommandId::ProcRotate);
    const TestPoint& p = doc().points[0];
    ASSERT_EQ(p.stepCount(), 1);
    const ProcessStep& s = p.steps[0];
    EXPECT_GT(s.rotAngle, 0.0f);
    EXPECT_LT(s.rotAngle, 1.5708f);
    EXPECT_EQ(s.rotPartial, 0);
    EXPECT_GT(s.rotScale, 0.0f);
    EXPECT_NE(s.rotScale, 1.0f);  // the display's millivolts per row
    EXPECT_NE(angleText, "0");
    // The preview while dragging showed the turned trace; the committed one equals it.
    EXPECT_NE(during, p.rawSamples);
    EXPECT_GT(p.samples.back(), p.rawSamples.back());
}

TEST_F(ProcessingFixture, SelectingARangeForLocalScalingAndEscapeCancels) {
    CWaveDisp* disp = view()->display();
    QString start, end;
    auto dragRange = [&] {
        const WavePane& w = disp->model().pane(0);
        const int y = (w.plotRect.top + w.plotRect.bottom) / 2 - disp->scrollY();
        QTest::mousePress(disp, Qt::LeftButton, {}, QPoint(w.plotRect.left + 100, y));
        QTest::mouseRelease(disp, Qt::LeftButton, {}, QPoint(w.plotRect.left + 200, y));
    };
    when([] { return modal<StepParamDialog>(); },
         [&] {
             when([&] { return docked(); },
                  [&] {
                      EXPECT_EQ(view()->processing()->interaction()->mode(),
                                InteractiveMode::SelectRange);
                      type(form()->controls()->edit(FormField::Factor), "2");
                      dragRange();
                      start = form()->controls()->edit(FormField::Position)->text();
                      end = form()->controls()->edit(FormField::End)->text();
                      form()->okButton()->click();
                  });
             modal<StepParamDialog>()->switchButton()->click();
         });
    frame().runCommand(CommandId::ProcLocalScale);
    ASSERT_EQ(doc().points[0].stepCount(), 1);
    const ProcessStep& s = doc().points[0].steps[0];
    EXPECT_LT(s.scaleStart, s.scaleEnd);
    EXPECT_EQ(s.scaleFactor, 2.0f);
    const TestPoint& p = doc().points[0];
    EXPECT_EQ(start.toStdString(), FormatFieldValue(DepthOfSample(p, s.scaleStart, false)));
    EXPECT_EQ(end.toStdString(), FormatFieldValue(DepthOfSample(p, s.scaleEnd, false)));
    EXPECT_FLOAT_EQ(p.samples[static_cast<size_t>(s.scaleStart + 1)],
                    2 * p.rawSamples[static_cast<size_t>(s.scaleStart + 1)]);

    // Esc in the display cancels a docked shift and restores the traces.
    when([] { return modal<StepParamDialog>(); },
         [&] {
             when([&] { return docked(); },
                  [&] {
                      const WavePane& w = disp->model().pane(0);
                      const int y = (w.plotRect.top + w.plotRect.bottom) / 2 - disp->scrollY();
                      QTest::mousePress(disp, Qt::LeftButton, {}, QPoint(w.plotRect.left + 100, y));
                      QTest::mouseRelease(disp, Qt::LeftButton, {},
                                          QPoint(w.plotRect.left + 150, y - 30));
                      EXPECT_NE(form()->controls()->edit(FormField::ShiftMv)->text(), "0");
                      QTest::keyClick(disp, Qt::Key_Escape);
                  });
             modal<StepParamDialog>()->switchButton()->click();
         });
    const std::vector<float> before = doc().points[0].samples;
    frame().runCommand(CommandId::ProcShift);
    EXPECT_EQ(doc().points[0].stepCount(), 1);
    EXPECT_EQ(doc().points[0].samples, before);
}

TEST_F(ProcessingFixture, HistoryPanelEditsDeletesClearsAndUndoes) {
    // Two steps on every point of the pile.
    view()->display()->setEditScope(1);
    emit view()->analysisBar()->comboSelected(BarCombo::DisplaySet, 4);  // 所有测点
    QApplication::processEvents();
    for (CommandId c : {CommandId::ProcIntegrate, CommandId::ProcInvert}) frame().runCommand(c);
    // and a filter on the first point only
    view()->display()->setEditScope(0);
    when([] { return modal<StepParamDialog>(); },
         [] { modal<StepParamDialog>()->okButton()->click(); });
    frame().runCommand(CommandId::ProcFilter);
    view()->display()->setEditScope(1);
    QApplication::processEvents();
    ProcessingHistoryPanel* h = panel();
    ASSERT_EQ(h->list()->count(), 3);
    EXPECT_EQ(h->list()->item(0)->text(), "积分");
    EXPECT_EQ(h->list()->item(1)->text(), "波形反向");
    EXPECT_EQ(h->list()->item(2)->text(), "<不一致>");
    EXPECT_TRUE(h->undoButton()->isEnabled());
    EXPECT_FALSE(h->editButton()->isEnabled());  // nothing selected
    EXPECT_EQ(h->undoButton()->toolTip(), "撤销最后一次波形处理操作");
    EXPECT_EQ(h->insertMenu()->actions().size(), 14);
    EXPECT_EQ(h->insertMenu()->title(), "波形处理(&W)");

    // 撤销 takes the step only the longest chain had.
    h->undoButton()->click();
    QApplication::processEvents();
    ASSERT_EQ(h->list()->count(), 2);
    EXPECT_EQ(doc().points[0].stepCount(), 2);

    // Insert a smoothing before the reversal through the 插入 menu.
    h->setSelectedIndex(1);
    EXPECT_TRUE(h->editButton()->isEnabled());
    when([] { return modal<StepParamDialog>(); },
         [&] {
             EXPECT_EQ(modal<StepParamDialog>()->windowTitle(), "波形平滑");
             type(popupEdit(FormField::SmoothPoints), "0");  // accepted
             modal<StepParamDialog>()->okButton()->click();
         });
    h->insertMenu()
        ->findChild<QAction*>(QString("insert_%1").arg(id(CommandId::ProcInsertSmooth)))
        ->trigger();
    QApplication::processEvents();
    ASSERT_EQ(h->list()->count(), 3);
    EXPECT_EQ(h->list()->item(1)->text(), "平滑");
    for (const TestPoint& p : doc().points) EXPECT_EQ(p.steps[1].smoothPoints, 0);

    // A double click edits: the dialog opens with the entry's values.
    h->setSelectedIndex(1);
    EXPECT_EQ(h->detailBox()->toPlainText(), "平滑点数:0");
    QString shown;
    when([] { return modal<StepParamDialog>(); },
         [&] {
             shown = popupEdit(FormField::SmoothPoints)->text();
             type(popupEdit(FormField::SmoothPoints), "5");
             modal<StepParamDialog>()->okButton()->click();
         });
    emit h->list()->itemDoubleClicked(h->list()->item(1));
    QApplication::processEvents();
    EXPECT_EQ(shown, "0");
    for (const TestPoint& p : doc().points) EXPECT_EQ(p.steps[1].smoothPoints, 5);
    h->setSelectedIndex(1);
    EXPECT_EQ(h->detailBox()->toPlainText(), "平滑点数:5");
    shot(&frame(), "processing-history.png");

    h->deleteButton()->click();
    QApplication::processEvents();
    EXPECT_EQ(h->list()->count(), 2);
    h->clearButton()->click();
    QApplication::processEvents();
    EXPECT_EQ(h->list()->count(), 0);
    for (const TestPoint& p : doc().points) {
        EXPECT_EQ(p.stepCount(), 0);
        EXPECT_EQ(p.samples, p.rawSamples);
    }
    EXPECT_FALSE(h->undoButton()->isEnabled());
    EXPECT_FALSE(h->editButton()->isEnabled());
}

TEST_F(ProcessingFixture, DeletingTheLastEntryLeavesNothingSelected) {
    for (CommandId c : {CommandId::ProcIntegrate, CommandId::ProcInvert}) frame().runCommand(c);
    QApplication::processEvents();
    ProcessingHistoryPanel* h = panel();
    ASSERT_EQ(h->list()->count(), 2);
    h->setSelectedIndex(1);
    h->deleteButton()->click();
    QApplication::processEvents();
    ASSERT_EQ(doc().points[0].stepCount(), 1);
    // The index stays a plain index: past the end nothing is selected ...
    ASSERT_EQ(h->list()->count(), 1);
    EXPECT_EQ(h->selectedIndex(), -1);
    EXPECT_FALSE(h->deleteButton()->isEnabled());
    EXPECT_FALSE(h->editButton()->isEnabled());
    EXPECT_FALSE(h->insertButton()->isEnabled());
    EXPECT_TRUE(h->undoButton()->isEnabled());
    frame().updateCommandUi();
    EXPECT_FALSE(frame().action(CommandId::ProcDelete)->isEnabled());
    // ... and a second 删除 removes nothing.
    frame().runCommand(CommandId::ProcDelete);
    QApplication::processEvents();
    EXPECT_EQ(doc().points[0].stepCount(), 1);
    EXPECT_EQ(doc().points[0].steps[0].processKind(), ProcessKind::Integrate);
    // An index within the new list is kept.
    frame().runCommand(CommandId::ProcInvert);
    QApplication::processEvents();
    h->setSelectedIndex(0);
    frame().runCommand(CommandId::ProcInvert);
    QApplication::processEvents();
    ASSERT_EQ(h->list()->count(), 3);
    EXPECT_EQ(h->selectedIndex(), 0);
}

TEST_F(ProcessingFixture, DragsReadEmptyFieldsSilentlyAndOkAloneComplains) {
    CWaveDisp* disp = view()->display();
    std::vector<QString> boxes;
    // Any message box is recorded and closed, so that a box during a drag cannot hang.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* b = modal<QMessageBox>()) {
            boxes.push_back(b->text());
            b->accept();
        }
    });
    closer.start(10);
    QString factorAfterDrag;
    when([] { return modal<StepParamDialog>(); },
         [&] {
             when([&] { return docked(); },
                  [&] {
                      type(form()->controls()->edit(FormField::Factor), "3");
                      // copied: a preview may rebuild the panes
                      const auto plot = disp->model().pane(0).plotRect;
                      const int y = (plot.top + plot.bottom) / 2 - disp->scrollY();
                      auto dragTo = [&](int dx) {
                          QTest::mousePress(disp, Qt::LeftButton, {}, QPoint(plot.left + 100, y));
                          for (int x = 110; x <= 100 + dx; x += 10) {
                              const QPointF at(plot.left + x, y);
                              QMouseEvent move(QEvent::MouseMove, at, disp->mapToGlobal(at),
                                               Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
                              QApplication::sendEvent(disp, &move);
                          }
                          QTest::mouseRelease(disp, Qt::LeftButton, {},
                                              QPoint(plot.left + 100 + dx, y));
                      };
                      dragTo(60);  // takes 3 as the last good factor
                      // The factor emptied: every drag step reads it silently.
                      type(form()->controls()->edit(FormField::Factor), "");
                      dragTo(100);
                      QApplication::processEvents();
                      EXPECT_TRUE(boxes.empty());
                      factorAfterDrag = form()->controls()->edit(FormField::Factor)->text();
                      // Emptied again, 确定 says so and keeps the form open.
                      type(form()->controls()->edit(FormField::Factor), "");
                      form()->okButton()->click();
                      QApplication::processEvents();
                      EXPECT_EQ(boxes.size(), 1u);
                      EXPECT_TRUE(docked());
                      type(form()->controls()->edit(FormField::Factor), "2");
                      form()->okButton()->click();
                  });
             modal<StepParamDialog>()->switchButton()->click();
         });
    frame().runCommand(CommandId::ProcLocalScale);
    EXPECT_EQ(factorAfterDrag, "3");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "请输入一个数字。");
    ASSERT_EQ(doc().points[0].stepCount(), 1);
    EXPECT_EQ(doc().points[0].steps[0].scaleFactor, 2.0f);
}

TEST_F(ProcessingFixture, DockedPreviewSurvivesAClickOnItsOwnTraceOnly) {
    emit view()->analysisBar()->comboSelected(BarCombo::DisplaySet, 4);  // 所有测点
    QApplication::processEvents();
    CWaveDisp* disp = view()->display();
    ASSERT_GE(disp->model().paneCount(), 2);
    auto clickPane = [&](int i) {
        const auto plot = disp->model().pane(i).plotRect;
        QTest::mouseClick(disp, Qt::LeftButton, {},
                          QPoint(plot.left + 150, (plot.top + plot.bottom) / 2 - disp->scrollY()));
        QApplication::processEvents();
    };
    clickPane(0);
    ASSERT_EQ(disp->model().activePane(), 0);
    const int point = disp->model().pane(0).pointIndex;
    const std::vector<float> raw = doc().points[static_cast<size_t>(point)].rawSamples;
    std::vector<float> previewed, afterSameTrace, afterOtherTrace;
    when([] { return modal<StepParamDialog>(); },
         [&] {
             when([&] { return docked(); },
                  [&] {
                      form()->previewButton()->click();
                      previewed = doc().points[static_cast<size_t>(point)].samples;
                      clickPane(0);  // the same trace: the cursor moves, the preview stays
                      afterSameTrace = doc().points[static_cast<size_t>(point)].samples;
                      clickPane(1);  // another pane: the preview is discarded
                      afterOtherTrace = doc().points[static_cast<size_t>(point)].samples;
                      form()->cancelButton()->click();
                  });
             modal<StepParamDialog>()->switchButton()->click();
         });
    frame().runCommand(CommandId::ProcRemoveDc);
    EXPECT_NE(previewed, raw);
    EXPECT_EQ(afterSameTrace, previewed);
    EXPECT_EQ(afterOtherTrace, raw);
}

TEST_F(ProcessingFixture, EnterInADockedFieldAppliesAndEscCancels) {
    auto dockedRun = [&](CommandId c, std::function<void()> act) {
        when([] { return modal<StepParamDialog>(); },
             [&, act] {
                 when([&] { return docked(); }, act);
                 modal<StepParamDialog>()->switchButton()->click();
             });
        frame().runCommand(c);
    };
    dockedRun(CommandId::ProcSmooth, [&] {
        QLineEdit* e = form()->controls()->edit(FormField::SmoothPoints);
        e->setFocus();
        type(e, "7");
        QTest::keyClick(e, Qt::Key_Return);
    });
    ASSERT_EQ(doc().points[0].stepCount(), 1);
    EXPECT_EQ(doc().points[0].steps[0].smoothPoints, 7);
    dockedRun(CommandId::ProcSmooth, [&] {
        QLineEdit* e = form()->controls()->edit(FormField::SmoothPoints);
        e->setFocus();
        type(e, "9");
        QTest::keyClick(e, Qt::Key_Escape);
    });
    EXPECT_EQ(doc().points[0].stepCount(), 1);  // cancelled
    EXPECT_EQ(view()->processing()->activeDockedKind(), 0);
    EXPECT_TRUE(view()->analysisBar()->isVisible());
}

TEST_F(ProcessingFixture, PopupScreenshot) {
    when([] { return modal<StepParamDialog>(); },
         [&] {
             auto* dlg = modal<StepParamDialog>();
             dlg->controls()->radios()[3]->click();  // 带阻滤波
             type(popupEdit(FormField::Upper), "60");
             type(popupEdit(FormField::Lower), "40");
             dlg->previewButton()->click();  // the display shows the filtered trace
             EXPECT_NE(doc().points[0].samples, doc().points[0].rawSamples);
             shot(dlg, "processing-filter-dialog.png");
             dlg->reject();
         });
    frame().runCommand(CommandId::ProcFilter);
    EXPECT_EQ(doc().points[0].samples, doc().points[0].rawSamples);  // cancel restores
}

}  // namespace
}  // namespace sondara::gui
