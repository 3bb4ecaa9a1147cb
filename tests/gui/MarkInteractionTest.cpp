// Marks in the desktop: the 波形分析 commands at the static cursor with their messages,
// the defect, auto-head and auto-toe dialogs, dragging, selecting and picking marks in
// the display, and the wave speed and pile length typed into the analysis bar.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <functional>

#include "GuiFixture.h"
#include "core/analysis/PileMarks.h"
#include "core/app/AppPaths.h"
#include "core/app/CommandIds.h"
#include "core/base/TextCodec.h"
#include "core/display/AnalysisBar.h"
#include "core/display/DisplayOptions.h"
#include "core/display/PaneMapping.h"
#include "core/fileio/ProjectFile.h"
#include "core/model/NameLists.h"
#include "core/processing/Positions.h"
#include "gui/analysis/AutoHeadDialog.h"
#include "gui/analysis/AutoToeDialog.h"
#include "gui/analysis/DefectDialog.h"
#include "gui/analysis/MarkCommands.h"
#include "gui/analysis/MarkDragHandler.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/AnalysisBarWidget.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara::gui {
namespace {

// The head and the toe of pileTrace().
constexpr int kHead = 40, kToe = 300;

// Answers the modal windows that a command opens, in order: each step gets the modal
// widget; message boxes are recorded with their text.
class ModalScript {
public:
    using Step = std::function<void(QWidget*)>;
    explicit ModalScript(std::deque<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(10);
    }
    std::vector<std::string> texts;  // message box texts, in order
    int shown = 0;
    bool done() const { return steps_.empty(); }

    static Step answer(QMessageBox::StandardButton b) {
        return [b](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            if (box->button(b))
                box->button(b)->click();
            else
                box->close();
        };
    }
    static Step ok() {
        return [](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                box->close();
                box->done(QMessageBox::Ok);
            } else if (auto* d = qobject_cast<QDialog*>(w)) {
                d->accept();
            }
        };
    }

private:
    void poll() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == last_) return;
        last_ = w;
        ++shown;
        if (auto* box = qobject_cast<QMessageBox*>(w)) texts.push_back(box->text().toStdString());
        if (steps_.empty()) {  // unexpected: close it so the test does not hang
            if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
            return;
        }
        Step s = std::move(steps_.front());
        steps_.pop_front();
        s(w);
    }
    std::deque<Step> steps_;
    QTimer timer_;
    QWidget* last_ = nullptr;
};

struct MarksFixture : GuiFixture {
    void SetUp() override {
        GuiFixture::SetUp();
        forgetDisplaySettings();
        std::remove(autoHeadSettingsFile().path().c_str());
        std::vector<TestPoint> pts{pileTrace("A", 3500, 20), pileTrace("A", 3500, 20),
                                   pileTrace("A", 3600, 20), pileTrace("B", 4000, 20)};
        ASSERT_NO_FATAL_FAILURE(open(test::makeDoc(pts), {1200, 900}));
        selectPointOnClick();
    }
    void TearDown() override {
        GuiFixture::TearDown();
        forgetDisplaySettings();
    }
    MarkDragHandler* handler() { return MarkDragHandler::of(disp()); }

    // The window pixel of sample k in pane i's plot, on the plot's middle row.
    QPoint atSample(int i, int k) {
        const WavePane& w = model().ensurePane(i);
        const int x = MakeHorizontalMapping(w, w.plotRect).x(k);
        return QPoint(x, (w.plotRect.top + w.plotRect.bottom) / 2 - disp()->scrollY());
    }
    // Places the static cursor on sample k of pane i (nearest sample of its pixel).
    int clickSample(int i, int k) {
        QTest::mouseClick(disp(), Qt::LeftButton, {}, atSample(i, k));
        QApplication::processEvents();
        return model().staticCursor().sample;
    }
    void run(CommandId id) {
        frame().runCommand(id);
        QApplication::processEvents();
    }
    void mouse(QEvent::Type t, QPoint pos, Qt::MouseButton b, Qt::MouseButtons held) {
        QMouseEvent e(t, QPointF(pos), QPointF(disp()->mapToGlobal(pos)), b, held, Qt::NoModifier);
        QApplication::sendEvent(disp(), &e);
        QApplication::processEvents();
    }
    void drag(QPoint from, QPoint to) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, QPoint((from.x() + to.x()) / 2, to.y()), Qt::NoButton,
              Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    void setFollowSetting(LengthFollowMode m) {
        DisplayOptions o = model().options();
        o.lengthFollowMode = static_cast<int>(m);
        model().applyOptions(o);
    }
};

TEST_F(MarksFixture, HeadAtTheClickedSampleRecomputesSpeedOrLength) {
    EXPECT_FALSE(MarkCommands::enabled(*view(), CommandId::MarkHead));  // no static cursor yet
    const int s = clickSample(0, 80);
    ASSERT_NEAR(s, 80, 1);
    ASSERT_TRUE(MarkCommands::enabled(*view(), CommandId::MarkHead));
    // The menu's action follows the registered enable rule.
    frame().updateCommandUi();
    ASSERT_NE(frame().action(CommandId::MarkHead), nullptr);
    EXPECT_TRUE(frame().action(CommandId::MarkHead)->isEnabled());

    // Keep-length (the effective mode at start): the wave speed follows.
    run(CommandId::MarkHead);
    const TestPoint& p = doc().points[0];
    EXPECT_EQ(p.headIndex, s);
    EXPECT_EQ(p.waveSpeed, static_cast<int>(std::trunc(10.4f / ((kToe - s) * 20e-6 * 0.5))));
    EXPECT_FLOAT_EQ(p.pileLength, 10.4f);
    EXPECT_TRUE(doc().modified);
    EXPECT_EQ(doc().points[1].headIndex, kHead);  // 当前波形: only the active pane's point
    EXPECT_TRUE(model().ensurePane(0).head.visible);
    EXPECT_EQ(model().ensurePane(0).head.sample, s);

    // Keep-speed: the length follows.
    setFollowSetting(LengthFollowMode::KeepSpeed);
    const int speed = p.waveSpeed;
    const int t = clickSample(0, 400);
    run(CommandId::MarkToe);
    EXPECT_EQ(p.toeIndex, t);
    EXPECT_EQ(p.waveSpeed, speed);
    EXPECT_NEAR(p.pileLength, (t - s) * 20e-6 * 0.5 * speed, 1e-4);
}

TEST_F(MarksFixture, RefusalsShowTheirMessagesAndChangeNothing) {
    // The head beyond the toe that was placed.
    clickSample(0, 350);
    {
        ModalScript script({ModalScript::ok()});
        run(CommandId::MarkHead);
        EXPECT_EQ(script.texts, std::vector<std::string>{"桩头位置应设置在桩尾之前！"});
    }
    EXPECT_EQ(doc().points[0].headIndex, kHead);
    EXPECT_FALSE(doc().modified);

    // A defect at the head itself.
    const int h = clickSample(0, kHead);
    ASSERT_LE(h, kHead);
    {
        ModalScript script({ModalScript::ok()});
        run(CommandId::DefectNecking);
        EXPECT_EQ(script.texts, std::vector<std::string>{"缺陷位置不能超出桩体！"});
    }
    EXPECT_TRUE(doc().points[0].defects.empty());

    // One inside the pile is added with its kind and name; a second close by is refused.
    const int d = clickSample(0, 150);
    run(CommandId::DefectNecking);
    ASSERT_EQ(doc().points[0].defectCount(), 1);
    EXPECT_EQ(doc().points[0].defects[0].position, d);
    EXPECT_EQ(doc().points[0].defects[0].kind, 2);
    EXPECT_EQ(gbkToUtf8(textOf(doc().points[0].defects[0].name)), "缩径");
    EXPECT_TRUE(doc().modified);
    clickSample(0, d + 1);
    {
        ModalScript script({ModalScript::ok()});
        run(CommandId::DefectBreak);
        EXPECT_EQ(script.texts, std::vector<std::string>{"缺陷间距过小！"});
    }
    EXPECT_EQ(doc().points[0].defectCount(), 1);
}

TEST_F(MarksFixture, CustomDefectTakesTheKindOfItsName) {
    struct Case {
        const char* typed;
        int kind;
        const char* stored;
    } cases[] = {{" 离析 ", 6, "离析"}, {"空洞", 100, "空洞"}};
    int k = 120;
    for (const Case& c : cases) {
        const int s = clickSample(0, k);
        k += 40;
        ModalScript script({[&](QWidget* w) {
            auto* d = qobject_cast<DefectDialog*>(w);
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->windowTitle(), "缺陷设置");
            EXPECT_TRUE(d->positionBox()->isReadOnly());
            EXPECT_TRUE(d->positionBox()->text().endsWith("m"));
            EXPECT_GE(d->nameBox()->count(), 7);
            EXPECT_EQ(d->nameBox()->itemText(0), "扩径");
            d->setName(QString::fromUtf8(c.typed));
            d->setRemark("  备注  ");
            d->accept();
        }});
        run(CommandId::DefectCustom);
        ASSERT_TRUE(script.done());
        const PileMark& m = doc().points[0].defects.back();
        EXPECT_EQ(m.position, s);
        EXPECT_EQ(m.kind, c.kind) << c.typed;
        EXPECT_EQ(gbkToUtf8(textOf(m.name)), c.stored);
        EXPECT_EQ(gbkToUtf8(textOf(m.remark)), "备注");
    }
    // The own name is offered next time, after the seven.
    const std::vector<std::string> h = DefectDialog::loadNameHistory();
    ASSERT_FALSE(h.empty());
    EXPECT_EQ(h.front(), "空洞");
}

TEST_F(MarksFixture, DraggingTheToeIsSilentAndKeepsDefects) {
    clickSample(0, 250);
    run(CommandId::DefectBulge);
    ASSERT_EQ(doc().points[0].defectCount(), 1);
    const int defect = doc().points[0].defects[0].position;
    doc().modified = false;

    // The toe line dragged to before the defect: no question, the defect stays.
    const QPoint toe = atSample(0, kToe);
    const QPoint to = atSample(0, 200);
    ModalScript script({});
    drag(toe, to);
    EXPECT_EQ(script.shown, 0);
    const TestPoint& p = doc().points[0];
    EXPECT_NEAR(p.toeIndex, 200, 1);
    EXPECT_EQ(p.defectCount(), 1);
    EXPECT_EQ(p.defects[0].position, defect);
    EXPECT_TRUE(doc().modified);
    EXPECT_FALSE(handler()->grabbing());

    // The defect line dragged: it moves with its new depth.
    drag(atSample(0, defect), atSample(0, 150));
    EXPECT_NEAR(p.defects[0].position, 150, 1);
    EXPECT_NEAR(p.defects[0].depth, DepthOfSample(p, p.defects[0].position, false), 1e-4);

    // The selected line moves a sample at a time with the arrow keys.
    const int before = p.defects[0].position;
    QTest::keyClick(disp(), Qt::Key_Right);
    QApplication::processEvents();
    EXPECT_EQ(p.defects[0].position, before + 1);
    QTest::keyClick(disp(), Qt::Key_Escape);
    EXPECT_FALSE(handler()->selected().grabbed());

    // Leaving the window drops a line held but not yet dragged.
    mouse(QEvent::MouseButtonPress, atSample(0, p.headIndex), Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(handler()->grabbing());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(disp(), &leave);
    EXPECT_FALSE(handler()->grabbing());
    mouse(QEvent::MouseButtonRelease, atSample(0, 100), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(p.headIndex, kHead);
}

// Defects are drawn at their samples and a file places them from their depths: every
// way of moving the head or changing the wave speed in the window keeps the depths in
// step, so that the saved file reopens with each defect where it was drawn.
TEST_F(MarksFixture, DefectsReopenWhereDrawnAfterTheHeadOrSpeedChanged) {
    struct Route {
        const char* name;
        std::function<void(MarksFixture&)> change;
    };
    auto typeSpeed = [](MarksFixture& f, const char* speed) {
        QTest::qWait(600);  // the point-list busy window of the last click has passed
        QLineEdit* box = f.view()->analysisBar()->speedEdit();
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, speed);
        QTest::keyClick(box, Qt::Key_Return);
        QApplication::processEvents();
    };
    auto headCommand = [](MarksFixture& f) {
        f.clickSample(0, 70);
        ModalScript script({ModalScript::answer(QMessageBox::No)});
        f.run(CommandId::MarkHead);
    };
    const Route routes[] = {
        {"head command", headCommand},
        {"speed typed", [&](MarksFixture& f) { typeSpeed(f, "2800"); }},
        {"head dragged", [](MarksFixture& f) { f.drag(f.atSample(0, kHead), f.atSample(0, 90)); }},
        {"toe dragged (the speed follows)",
         [](MarksFixture& f) { f.drag(f.atSample(0, kToe), f.atSample(0, 330)); }},
        {"head command undone",
         [&](MarksFixture& f) {
             headCommand(f);
             f.run(CommandId::EditUndo);
         }},
        {"speed typed, undone and redone",
         [&](MarksFixture& f) {
             typeSpeed(f, "4200");
             f.run(CommandId::EditUndo);
             f.run(CommandId::EditRedo);
         }},
    };
    for (const Route& r : routes) {
        SCOPED_TRACE(r.name);
        if (app) {
            doc().modified = false;
            app.reset();
            ASSERT_NO_FATAL_FAILURE(SetUp());
        }
        for (int s : {150, 220}) {
            clickSample(0, s);
            run(CommandId::DefectBulge);
        }
        ASSERT_EQ(doc().points[0].defectCount(), 2);
        const TestPoint before = doc().points[0];
        r.change(*this);
        const TestPoint& p = doc().points[0];
        ASSERT_TRUE(p.headIndex != before.headIndex || p.waveSpeed != before.waveSpeed ||
                    std::string(r.name).find("undone") != std::string::npos);
        ASSERT_EQ(p.defectCount(), 2);
        std::vector<int> drawn{p.defects[0].position, p.defects[1].position};
        EXPECT_EQ(drawn,
                  (std::vector<int>{before.defects[0].position, before.defects[1].position}));
        ASSERT_TRUE(app->saveDocument(false));
        CSondaraDoc back;
        ASSERT_EQ(ReadProject(back, project), "");
        ASSERT_EQ(back.points[0].defectCount(), 2);
        EXPECT_EQ(back.points[0].defects[0].position, drawn[0]);
        EXPECT_EQ(back.points[0].defects[1].position, drawn[1]);
    }
}

TEST_F(MarksFixture, GrabHitTestNearestFirstHeadBeforeMarksWithinFivePixels) {
    const WavePane& w = model().ensurePane(0);
    const int hx = w.head.x;
    const int y = atSample(0, kHead).y();
    struct Case {
        int dx;
        bool grabs;
    } cases[] = {{0, true}, {4, true}, {-4, true}, {5, false}, {-5, false}};
    for (const Case& c : cases) {
        mouse(QEvent::MouseButtonPress, QPoint(hx + c.dx, y), Qt::LeftButton, Qt::LeftButton);
        EXPECT_EQ(handler()->grabbing(), c.grabs) << c.dx;
        if (c.grabs) {
            EXPECT_EQ(handler()->selected().type, GrabTarget::Type::Head) << c.dx;
        }
        mouse(QEvent::MouseButtonRelease, QPoint(hx + c.dx, y), Qt::LeftButton, Qt::NoButton);
    }
    // A defect right beside the head: at equal distance the head wins; nearer, the defect.
    TestPoint& p = doc().points[0];
    p.defects.push_back(PileMark{});
    p.defects[0].position = kHead + 2;
    p.defects[0].kind = 1;
    doc().commitChange(DocChange::Marks, {0});
    const WavePane& w2 = model().ensurePane(0);
    ASSERT_EQ(w2.marks.size(), 1u);
    const int mx = w2.marks[0].x;
    ASSERT_GT(mx, w2.head.x);
    if ((mx - w2.head.x) % 2 == 0) {
        const GrabTarget g = model().hitTestGrab((mx + w2.head.x) / 2, y + model().scrollY());
        EXPECT_EQ(g.type, GrabTarget::Type::Head);
    }
    EXPECT_EQ(model().hitTestGrab(mx, y + model().scrollY()).type, GrabTarget::Type::Defect);
}

TEST_F(MarksFixture, ClearAsksThenClearsTheActivePane) {
    clickSample(0, 120);
    run(CommandId::DefectBulge);
    clickSample(0, 200);
    run(CommandId::DefectBreak);
    ASSERT_EQ(doc().points[0].defectCount(), 2);
    ASSERT_TRUE(MarkCommands::enabled(*view(), CommandId::MarkClear));
    {
        ModalScript script({ModalScript::answer(QMessageBox::No)});
        run(CommandId::MarkClear);
        EXPECT_EQ(script.texts, std::vector<std::string>{"是否要清除所有标记？"});
    }
    EXPECT_EQ(doc().points[0].defectCount(), 2);
    {
        ModalScript script({ModalScript::answer(QMessageBox::Yes)});
        run(CommandId::MarkClear);
        EXPECT_EQ(script.texts.size(), 1u);
    }
    EXPECT_EQ(doc().points[0].defectCount(), 0);
    EXPECT_FALSE(MarkCommands::enabled(*view(), CommandId::MarkClear));  // nothing left to clear
}

TEST_F(MarksFixture, PickingAMarkForDeletionAndEditing) {
    clickSample(0, 150);
    run(CommandId::DefectCrack);
    ASSERT_EQ(doc().points[0].defectCount(), 1);
    const int pos = doc().points[0].defects[0].position;
    handler()->clearSelection();
    // 编辑 without a selected mark waits for a click on one.
    run(CommandId::MarkEdit);
    EXPECT_EQ(handler()->pendingPick(), MarkDragHandler::Pick::Edit);
    {
        ModalScript script({[](QWidget* w) {
            auto* d = qobject_cast<DefectDialog*>(w);
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->name(), "裂纹");
            d->setName("夹泥");
            d->accept();
        }});
        QTest::mouseClick(disp(), Qt::LeftButton, {}, atSample(0, pos));
        QApplication::processEvents();
        EXPECT_TRUE(script.done());
    }
    EXPECT_EQ(doc().points[0].defects[0].kind, 5);
    EXPECT_EQ(doc().points[0].defects[0].position, pos);

    // 删除 acts on the selected mark at once.
    ASSERT_EQ(handler()->selected().type, GrabTarget::Type::Defect);
    run(CommandId::MarkDelete);
    EXPECT_EQ(doc().points[0].defectCount(), 0);

    // A pending pick is cancelled by leaving the window.
    run(CommandId::MarkDelete);
    EXPECT_EQ(handler()->pendingPick(), MarkDragHandler::Pick::Delete);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(disp(), &leave);
    EXPECT_EQ(handler()->pendingPick(), MarkDragHandler::Pick::None);
}

TEST_F(MarksFixture, MarkerLineOnASpectrumPane) {
    choose(BarCombo::AnalysisType, 2);  // 频域分析
    ASSERT_GT(model().paneCount(), 0);
    ASSERT_EQ(model().pane(0).kind, PaneKind::Spectrum);
    const int s = clickSample(0, 20);
    EXPECT_FALSE(MarkCommands::enabled(*view(), CommandId::MarkHead));
    ASSERT_TRUE(MarkCommands::enabled(*view(), CommandId::MarkLine));
    run(CommandId::MarkLine);
    EXPECT_EQ(doc().points[0].spectrumMarks, std::vector<std::int32_t>{s});
    EXPECT_EQ(model().ensurePane(0).marks.size(), 1u);
    run(CommandId::MarkLine);  // the same place again: nothing added
    EXPECT_EQ(doc().points[0].spectrumMarks.size(), 1u);
}

TEST_F(MarksFixture, AutoHeadDialogDefaultsAndItsSettingsFile) {
    clickSample(0, 100);
    ModalScript script({[](QWidget* w) {
        auto* d = qobject_cast<AutoHeadDialog*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "自动桩头设置");
        EXPECT_EQ(d->ignoreBox()->maximum(), 100);
        EXPECT_EQ(d->ratioBox()->minimum(), 0);
        d->negativeButton()->setChecked(true);
        d->ignoreBox()->setValue(60);
        d->ratioBox()->setValue(70);
        d->defaultsButton()->click();  // 缺省: positive, 5, 15
        EXPECT_TRUE(d->positiveButton()->isChecked());
        EXPECT_EQ(d->ignoreBox()->value(), 5);
        EXPECT_EQ(d->ratioBox()->value(), 15);
        d->negativeButton()->setChecked(true);
        d->ignoreBox()->setValue(3);
        d->ratioBox()->setValue(20);
        d->accept();
    }});
    run(CommandId::MarkAutoHead);
    ASSERT_TRUE(script.done());
    EXPECT_EQ(app->autoHeadSettings.direction, 0);
    EXPECT_EQ(app->autoHeadSettings.ignorePoints, 3);
    EXPECT_EQ(app->autoHeadSettings.startRatio, 20);
    AutoHeadSettings fromFile;
    ASSERT_TRUE(loadOrWriteDefaults(fromFile, nullptr));
    EXPECT_EQ(fromFile.direction, 0);
    EXPECT_EQ(fromFile.ignorePoints, 3);
    EXPECT_EQ(fromFile.startRatio, 20);
}

TEST(DefectDialogLook, ThePositionLooksReadOnly) {
    DefectDialog d({"缩径"}, "1.30m");
    QLineEdit* pos = d.positionBox();
    EXPECT_TRUE(pos->isReadOnly());
    EXPECT_EQ(pos->text(), "1.30m");
    // grey behind the text, like the dialog itself, unlike an edit that takes typing
    EXPECT_EQ(pos->palette().color(QPalette::Active, QPalette::Base),
              d.palette().color(QPalette::Active, QPalette::Window));
    QLineEdit typed;
    EXPECT_NE(pos->palette().color(QPalette::Active, QPalette::Base),
              typed.palette().color(QPalette::Active, QPalette::Base));
}

TEST_F(MarksFixture, AutoHeadAndToeOpenWithoutACursorAndPlaceNothing) {
    // No static cursor: the commands are not greyed, their dialogs open, 自动桩头
    // stores its settings, and no point changes.
    ASSERT_FALSE(model().staticCursor().shown);
    frame().updateCommandUi();
    EXPECT_TRUE(frame().action(CommandId::MarkAutoHead)->isEnabled());
    EXPECT_TRUE(frame().action(CommandId::MarkAutoToe)->isEnabled());
    EXPECT_FALSE(frame().action(CommandId::MarkHead)->isEnabled());
    const std::vector<TestPoint> before = doc().points;
    {
        ModalScript script({[](QWidget* w) {
            auto* d = qobject_cast<AutoHeadDialog*>(w);
            ASSERT_NE(d, nullptr);
            d->ignoreBox()->setValue(0);
            d->ratioBox()->setValue(1);  // would find a head at once on the trace
            d->accept();
        }});
        run(CommandId::MarkAutoHead);
        ASSERT_TRUE(script.done());
    }
    EXPECT_EQ(app->autoHeadSettings.ignorePoints, 0);
    EXPECT_EQ(app->autoHeadSettings.startRatio, 1);
    {
        ModalScript script({[](QWidget* w) {
            auto* d = qobject_cast<AutoToeDialog*>(w);
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->valueBox()->text(), "3500");  // the first target's speed
            d->valueBox()->setText("2000");
            d->accept();
        }});
        run(CommandId::MarkAutoToe);
        ASSERT_TRUE(script.done());
    }
    EXPECT_EQ(doc().points, before);
    EXPECT_FALSE(doc().modified);
}

TEST_F(MarksFixture, AutoHeadDialogCaptionsAndTabOrder) {
    AutoHeadDialog d(AutoHeadSettings{});
    EXPECT_EQ(d.positiveButton()->text(), "正向");
    EXPECT_EQ(d.negativeButton()->text(), "负向");
    EXPECT_EQ(d.defaultsButton()->text(), "缺省");
    QStringList labels;
    for (QLabel* l : d.findChildren<QLabel*>()) labels << l->text();
    EXPECT_TRUE(labels.contains("忽略点数"));
    EXPECT_TRUE(labels.contains("起始比例"));
    for (const QString& t : labels) EXPECT_FALSE(t.contains('&')) << t.toStdString();
    // Tab walks 正向, 负向 (one stop for the checked radio), the two boxes, 缺省.
    std::vector<QWidget*> chain;
    for (QWidget* w = d.positiveButton()->nextInFocusChain(); w != d.positiveButton();
         w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus) chain.push_back(w);
    auto at = [&](QWidget* w) { return std::find(chain.begin(), chain.end(), w) - chain.begin(); };
    EXPECT_LT(at(d.negativeButton()), at(d.ignoreBox()));
    EXPECT_LT(at(d.ignoreBox()), at(d.ratioBox()));
    EXPECT_LT(at(d.ratioBox()), at(d.defaultsButton()));
    EXPECT_LT(at(d.defaultsButton()), static_cast<long>(chain.size()));
}

TEST_F(MarksFixture, AutoToeAsksForTheSpeedAndPlacesTheToe) {
    clickSample(0, 100);
    ModalScript script({[](QWidget* w) {
        auto* d = qobject_cast<AutoToeDialog*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->valueBox()->accessibleName(), "指定波速(m/s)");
        EXPECT_EQ(d->valueBox()->text(), "3500");
        d->valueBox()->setText("4000");
        d->accept();
    }});
    run(CommandId::MarkAutoToe);
    ASSERT_TRUE(script.done());
    // 10.4 m at 4000 m/s: 2 * 10.4 / 4000 s, about 260 samples of 20 us after the head
    // (the stored float 10.4 is a hair below); the speed follows the whole-sample toe.
    const double tau = static_cast<double>(10.4f) / 4000;
    EXPECT_EQ(doc().points[0].toeIndex, static_cast<int>(std::trunc(2 * tau * 1e6 / 20 + kHead)));
    EXPECT_NEAR(doc().points[0].waveSpeed, 4000, 20);
}

TEST_F(MarksFixture, RefusedSpeedsAndLengthsDoNotStayInTheirBoxes) {
    QLineEdit* speed = view()->analysisBar()->speedEdit();
    QLineEdit* length = view()->analysisBar()->lengthEdit();
    const QString speedShown = speed->text(), lengthShown = length->text();
    ASSERT_EQ(speedShown, "3500");
    const TestPoint before = doc().points[0];
    struct Case {
        QLineEdit* box;
        const char* typed;
    };
    for (const Case& c :
         {Case{speed, "0"}, Case{speed, "99999"}, Case{speed, "40000"}, Case{length, "99999"}}) {
        c.box->setFocus();
        c.box->selectAll();
        QTest::keyClicks(c.box, c.typed);
        QTest::keyClick(c.box, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(doc().points[0], before) << c.typed;
        EXPECT_EQ(speed->text(), speedShown) << c.typed;
        EXPECT_EQ(length->text(), lengthShown) << c.typed;
    }
    EXPECT_FALSE(doc().modified);
}

TEST_F(MarksFixture, SpeedTypedWithAutoAdjustSwitchesToKeepSpeed) {
    setFollowSetting(LengthFollowMode::AutoAdjust);
    ASSERT_EQ(model().follow.effective(), LengthFollowMode::KeepLength);
    QLineEdit* speed = view()->analysisBar()->speedEdit();
    speed->setFocus();
    speed->selectAll();
    QTest::keyClicks(speed, "3000");
    QTest::keyClick(speed, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(doc().points[0].waveSpeed, 3000);
    EXPECT_NEAR(doc().points[0].pileLength, (kToe - kHead) * 20.0 * 3000 * 5e-7, 1e-4);
    EXPECT_EQ(model().follow.effective(), LengthFollowMode::KeepSpeed);
    EXPECT_TRUE(doc().modified);
    // The head now keeps the speed: the length follows.
    clickSample(0, 60);
    run(CommandId::MarkHead);
    EXPECT_EQ(doc().points[0].waveSpeed, 3000);
    EXPECT_NEAR(doc().points[0].pileLength, (kToe - doc().points[0].headIndex) * 20e-6 * 0.5 * 3000,
                1e-4);
}

TEST_F(MarksFixture, EnterAppliesAnUnchangedValueToAllPanes) {
    choose(BarCombo::DisplaySet, 4);  // 所有测点
    view()->handleCommand(CommandId::ViewEditAll);
    QApplication::processEvents();
    ASSERT_EQ(model().paneCount(), 4);
    clickSample(0, 100);  // the first pane active: its speed is shown
    QTest::qWait(600);    // the point-list busy window of the click has passed
    QLineEdit* speed = view()->analysisBar()->speedEdit();
    ASSERT_EQ(speed->text(), "3500");
    speed->setFocus();
    QTest::keyClick(speed, Qt::Key_Return);  // not changed, but applied
    QApplication::processEvents();
    for (const TestPoint& p : doc().points) EXPECT_EQ(p.waveSpeed, 3500);
}

TEST_F(MarksFixture, TheBarShowsTheShortestLengthText) {
    doc().points[0].pileLength = 19.72f;
    doc().commitChange(DocChange::Marks, {0});
    QApplication::processEvents();
    EXPECT_EQ(view()->analysisBar()->lengthEdit()->text(), "19.72");
}

}  // namespace
}  // namespace sondara::gui

namespace sondara::gui {
namespace {

TEST_F(MarksFixture, WaveletMarkerLineAddedDraggedAndDeleted) {
    choose(BarCombo::AnalysisType, 3);  // 小波分析
    ASSERT_GT(model().paneCount(), 1);
    ASSERT_EQ(model().pane(1).kind, PaneKind::WaveletComponent);
    const int s = clickSample(1, 100);
    ASSERT_TRUE(MarkCommands::enabled(*view(), CommandId::MarkLine));
    run(CommandId::MarkLine);
    const TestPoint& p = doc().points[doc().currentPoint];
    ASSERT_EQ(p.waveletMarkPositions, std::vector<std::int32_t>{s});
    EXPECT_EQ(p.waveletMarkPanes, std::vector<std::int32_t>{1});  // the active pane's number
    ASSERT_EQ(model().ensurePane(1).marks.size(), 1u);

    drag(atSample(1, s), atSample(1, 200));
    EXPECT_NEAR(p.waveletMarkPositions[0], 200, 2);
    EXPECT_EQ(p.waveletMarkPanes[0], 1);
    ASSERT_EQ(handler()->selected().type, GrabTarget::Type::MarkerLine);
    QTest::keyClick(disp(), Qt::Key_Delete);
    QApplication::processEvents();
    EXPECT_TRUE(p.waveletMarkPositions.empty());
    EXPECT_TRUE(p.waveletMarkPanes.empty());
}

}  // namespace
}  // namespace sondara::gui

namespace sondara::gui {
namespace {

TEST_F(MarksFixture, F6GoesRoundThePanelsAndTheWindow) {
    QAction* next = frame().action(CommandId::NextPane);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->shortcut(), QKeySequence("F6"));
    EXPECT_EQ(frame().action(CommandId::Help)->shortcut(), QKeySequence("F1"));
    EXPECT_TRUE(frame().action(CommandId::HelpTopics)->shortcut().isEmpty());
    frame().activateWindow();
    disp()->setFocus();
    QApplication::processEvents();
    // From the analysis window (the last area) F6 wraps round to the first panel, and
    // Shift+F6 comes back.
    frame().runCommand(CommandId::NextPane);
    QApplication::processEvents();
    QWidget* f = QApplication::focusWidget();
    ASSERT_NE(f, nullptr);
    EXPECT_FALSE(view()->isAncestorOf(f));
    frame().runCommand(CommandId::PrevPane);
    QApplication::processEvents();
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(view()->isAncestorOf(QApplication::focusWidget()));
}

}  // namespace
}  // namespace sondara::gui

namespace sondara::gui {
namespace {

TEST_F(MarksFixture, RightClickOnADefectOffersEditAndDelete) {
    clickSample(0, 150);
    run(CommandId::DefectCrack);
    ASSERT_EQ(doc().points[0].defectCount(), 1);
    const int pos = doc().points[0].defects[0].position;
    QStringList items;
    bool editEnabled = false;
    QTimer::singleShot(100, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions()) {
                items << a->text();
                if (a->text() == "编辑(&I)") editEnabled = a->isEnabled();
            }
            menu->close();
        }
    });
    mouse(QEvent::MouseButtonPress, atSample(0, pos), Qt::RightButton, Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, atSample(0, pos), Qt::RightButton, Qt::NoButton);
    EXPECT_TRUE(items.contains("桩头(&H)"));
    EXPECT_TRUE(items.contains("删除(&S)"));
    EXPECT_TRUE(editEnabled);
    EXPECT_TRUE(handler()->hasContextMark());
    EXPECT_EQ(handler()->selected().type, GrabTarget::Type::Defect);
    // 删除 from the menu takes the frame's route and removes the defect clicked.
    run(CommandId::MarkDelete);
    EXPECT_EQ(doc().points[0].defectCount(), 0);
}

}  // namespace
}  // namespace sondara::gui
