// The information bar and the settings dialogs inside the running program: the grids
// follow the active view, edits undo from the Edit menu, and the settings commands
// store what their dialogs return.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "GuiFixture.h"
#include "core/app/CommandIds.h"
#include "core/display/DisplayOptions.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/AnalysisBarWidget.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"
#include "gui/panels/DisplaySettingsDialog.h"
#include "gui/panels/EditSettingsDialog.h"
#include "gui/panels/InfoBar.h"
#include "gui/panels/InfoGridModel.h"
#include "gui/panels/InfoGridView.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara::gui {
namespace {

struct InfoFrameFixture : GuiFixture {
    void SetUp() override {
        GuiFixture::SetUp();
        std::vector<TestPoint> pts;
        for (int i = 0; i < 4; ++i) {
            TestPoint p = test::simplePoint(i < 3 ? "A" : "B", 64);
            p.pileDiameter = static_cast<std::int16_t>(400 + i);
            pts.push_back(std::move(p));
        }
        ASSERT_NO_FATAL_FAILURE(open(test::makeDoc(pts)));
    }
    InfoBar* bar() { return frame().findChild<InfoBar*>("InfoTabs"); }
    InfoGridModel* points() { return bar()->grid(GridTable::Points)->gridModel(); }
    // Runs `act` on the next modal dialog of type D once it shows, then accepts it.
    template <typename D>
    void onDialog(std::function<void(D&)> act) {
        QTimer::singleShot(0, [act] {
            auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
            if (!d) {
                if (QWidget* w = QApplication::activeModalWidget()) w->close();
                return;
            }
            act(*d);
            d->accept();
        });
    }
};

TEST_F(InfoFrameFixture, GridsFollowTheActiveViewAndEditsUndoFromTheEditMenu) {
    ASSERT_NE(bar(), nullptr);
    EXPECT_EQ(bar()->grid(GridTable::Project)->gridModel()->rowCount(), 1);
    EXPECT_EQ(points()->rowCount(), 1);  // 单道分析: the current point
    AnalysisSelection sel;
    sel.displaySet = DisplaySet::SamePile;
    disp()->setSelection(sel);
    QApplication::processEvents();
    ASSERT_EQ(points()->rowCount(), 3);

    app->editSettings.pointEditScope = 1;  // 多个测点
    ASSERT_TRUE(points()->setData(points()->index(2, 2), "1000", Qt::EditRole));
    QApplication::processEvents();
    const CSondaraDoc& d = app->document()->doc();
    EXPECT_EQ(d.points[0].pileDiameter, 1000);
    EXPECT_EQ(d.points[2].pileDiameter, 1000);
    EXPECT_EQ(d.points[3].pileDiameter, 403);
    EXPECT_EQ(points()->index(0, 2).data().toString(), "1000");
    frame().runCommand(CommandId::EditUndo);
    QApplication::processEvents();
    EXPECT_EQ(d.points[0].pileDiameter, 400);
    EXPECT_EQ(d.points[2].pileDiameter, 402);
    EXPECT_EQ(points()->index(1, 2).data().toString(), "401");
}

TEST_F(InfoFrameFixture, EditSettingsCommandStoresAndWritesTheScope) {
    app->editSettings.pointEditScope = 0;
    onDialog<EditSettingsDialog>(
        [](EditSettingsDialog& d) { d.multipleButton()->setChecked(true); });
    frame().runCommand(CommandId::EditSettings);
    EXPECT_EQ(app->editSettings.pointEditScope, 1);
    EditSettings read;
    ASSERT_TRUE(loadOrWriteDefaults(read, nullptr));
    EXPECT_EQ(read.pointEditScope, 1);
}

TEST_F(InfoFrameFixture, DisplaySettingsAndTheScopeCommandsWriteTheDisplayRecord) {
    QPushButton* settings = frame().activeAnalysisView()->analysisBar()->settingsButton();
    ASSERT_TRUE(settings->isEnabled());
    onDialog<DisplaySettingsDialog>([](DisplaySettingsDialog& d) {
        d.defaultsButton()->click();
        d.removeAllButton()->click();
        d.availableList()->item(1)->setSelected(true);  // 桩号
        d.addButton()->click();
    });
    settings->click();
    EXPECT_EQ(disp()->model().options().items, (std::vector<std::int32_t>{31}));
    DisplayOptions read;
    ASSERT_TRUE(loadOrWriteDefaults(read, nullptr));
    EXPECT_EQ(read.items, (std::vector<std::int32_t>{31}));

    frame().runCommand(CommandId::ViewEditAll);
    EXPECT_EQ(disp()->model().options().editScope, 1);
    ASSERT_TRUE(loadOrWriteDefaults(read, nullptr));
    EXPECT_EQ(read.editScope, 1);
    frame().runCommand(CommandId::ViewEditCurrent);
    EXPECT_EQ(disp()->model().options().editScope, 0);
}

}  // namespace
}  // namespace sondara::gui
