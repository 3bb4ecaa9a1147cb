// The desktop's spine: every route of a command asks its enable rule, every kind of
// document change reaches a subscriber once with its points, and the display
// rebuilds only what a change needs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>

#include "GuiFixture.h"
#include "core/analysis/PileMarks.h"
#include "core/model/ListCommands.h"
#include "core/processing/ProcessingChain.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"
#include "gui/panels/PointListPanel.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara::gui {
namespace {

struct SpineFixture : GuiFixture {
    void SetUp() override {
        GuiFixture::SetUp();
        std::vector<TestPoint> pts;
        for (const char* pile : {"A", "A", "B", "C", "C"}) {
            TestPoint p = test::simplePoint(pile, 256);
            p.headIndex = 10;
            p.toeIndex = 200;
            p.checked = 1;
            pts.push_back(p);
        }
        ASSERT_NO_FATAL_FAILURE(open(test::makeDoc(pts), {1000, 800}));
    }
};

TEST_F(SpineFixture, ADisabledCommandRunsByNoRoute) {
    int runs = 0;
    bool enabled = false;
    frame().commands().add(
        {CommandId::ProcFilter, [&runs] { ++runs; }, [&enabled] { return enabled; }, {}});
    CWaveDisp* disp = view()->display();

    struct Route {
        const char* name;
        std::function<void()> go;
    };
    const Route routes[] = {
        {"direct", [&] { frame().runCommand(CommandId::ProcFilter); }},
        {"posted",
         [&] {
             frame().postCommand(CommandId::ProcFilter);
             QApplication::processEvents();
         }},
        {"menu or toolbar, shown enabled a moment too long",
         [&] {
             QAction* a = frame().action(CommandId::ProcFilter);
             a->setEnabled(true);
             a->trigger();
         }},
        {"letter shortcut",
         [&] {
             disp->setFocus();
             QTest::keyClick(disp, Qt::Key_F);
             QApplication::processEvents();
         }},
    };
    for (const Route& r : routes) {
        enabled = false;
        runs = 0;
        r.go();
        EXPECT_EQ(runs, 0) << r.name;
        enabled = true;
        frame().updateCommandUi();
        r.go();
        EXPECT_EQ(runs, 1) << r.name;
    }
    // the menus follow the rule
    enabled = false;
    frame().updateCommandUi();
    EXPECT_FALSE(frame().action(CommandId::ProcFilter)->isEnabled());
}

TEST_F(SpineFixture, EveryKindOfChangeReachesASubscriberOnceWithItsPoints) {
    std::vector<DocChangeEvent> seen;
    QObject::connect(app->document(), &DocumentHost::documentChanged,
                     [&](const DocChangeEvent& e) { seen.push_back(e); });
    struct Case {
        const char* name;
        std::function<void()> change;
        DocChange kind;
        std::vector<int> points;
        bool modifies;
    };
    test::ScriptedPrompter prompter;
    const Case cases[] = {
        {"selection",
         [&] { frame().onPointListNotify(PointListPanel::SelectPoint, 2); },
         DocChange::Selection,
         {},
         false},
        {"processing",
         [&] {
             CommitRequest r;
             r.targets = {1, 3};
             r.kind = ProcessKind::Reverse;
             CommitProcessing(doc(), r, {});
         },
         DocChange::Processing,
         {1, 3},
         true},
        {"marks",
         [&] { SetPileToe(doc(), 4, 150, LengthFollowMode::KeepLength, false, prompter); },
         DocChange::Marks,
         {4},
         true},
        {"class", [&] { SetIntegrityClass(doc(), 1, "II类桩"); }, DocChange::Header, {1}, true},
        {"tick",
         [&] { frame().onPointListNotify(PointListPanel::UntickPoint, 0); },
         DocChange::Checks,
         {},
         true},
        {"display",
         [&] { frame().runCommand(CommandId::DispMoveLeft); },
         DocChange::Display,
         {2},
         true},
        {"point list",
         [&] { frame().runCommand(CommandId::EditCheckAll); },
         DocChange::Checks,
         {},
         true},
    };
    for (const Case& c : cases) {
        seen.clear();
        doc().modified = false;
        c.change();
        ASSERT_EQ(seen.size(), 1u) << c.name;
        EXPECT_EQ(seen[0].kind, c.kind) << c.name;
        EXPECT_EQ(seen[0].points, c.points) << c.name;
        EXPECT_EQ(doc().modified, c.modifies) << c.name;
    }
}

TEST_F(SpineFixture, ABatchOfTicksIsOneChange) {
    std::vector<DocChangeEvent> seen;
    QObject::connect(app->document(), &DocumentHost::documentChanged,
                     [&](const DocChangeEvent& e) { seen.push_back(e); });
    frame().onPointListNotify(PointListPanel::BatchBegin, 0);
    for (int i = 0; i < 3; ++i) frame().onPointListNotify(PointListPanel::UntickPoint, i);
    EXPECT_TRUE(seen.empty());
    frame().onPointListNotify(PointListPanel::BatchEnd, 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, DocChange::Checks);
    EXPECT_EQ(doc().checkedList, (std::vector<int>{3, 4}));
}

TEST_F(SpineFixture, PanesAreRebuiltOnlyWhereTheChangeNeedsIt) {
    CWaveDisp* disp = view()->display();
    AnalysisSelection all;
    all.displaySet = DisplaySet::AllPoints;
    disp->setSelection(all);
    ASSERT_EQ(disp->paneCount(), 5);

    int before = disp->rebuildCount();
    frame().onPointListNotify(PointListPanel::SelectPoint, 3);  // the same panes stay
    EXPECT_EQ(disp->rebuildCount(), before);
    CommitRequest r;
    r.targets = {3};
    r.kind = ProcessKind::Reverse;
    CommitProcessing(doc(), r, {});  // the pane of point 3 is read again, no rebuild
    EXPECT_EQ(disp->rebuildCount(), before);
    EXPECT_FLOAT_EQ(disp->model().ensurePane(3).point->samples[20], doc().points[3].samples[20]);
    EXPECT_FLOAT_EQ(doc().points[3].samples[20], -doc().points[3].rawSamples[20]);

    AnalysisSelection single;  // 单道分析 follows the current point
    disp->setSelection(single);
    before = disp->rebuildCount();
    frame().onPointListNotify(PointListPanel::SelectPoint, 1);
    EXPECT_EQ(disp->rebuildCount(), before + 1);
    EXPECT_EQ(disp->model().pane(0).pointIndex, 1);
}

}  // namespace
}  // namespace sondara::gui
