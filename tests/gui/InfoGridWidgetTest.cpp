#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "core/display/WaveDisplayModel.h"
#include "core/model/ListEngine.h"
#include "gui/app/DocumentHost.h"
#include "gui/panels/DateLineEdit.h"
#include "gui/panels/DisplaySettingsDialog.h"
#include "gui/panels/EditSettingsDialog.h"
#include "gui/panels/InfoBar.h"
#include "gui/panels/InfoGridDelegate.h"
#include "gui/panels/InfoGridModel.h"
#include "gui/panels/InfoGridView.h"
#include "support/Fixtures.h"

namespace sondara::gui {
namespace {

struct InfoBarFixture : ::testing::Test {
    DocumentHost host;
    WaveDisplayModel view;
    InfoBar bar;
    PointEditScope scope = PointEditScope::Single;

    void SetUp() override {
        std::vector<TestPoint> pts;
        for (int i = 0; i < 5; ++i) {
            TestPoint p = test::simplePoint(i < 3 ? "A" : "B", 64);
            p.pileDiameter = static_cast<std::int16_t>(500 + i);
            setText(p.testDateTime, "2020-01-02 03:04:05");
            pts.push_back(std::move(p));
        }
        // field by field: assigning a whole document would drop the host's observer
        CSondaraDoc d = test::makeDoc(std::move(pts));
        CSondaraDoc& h = host.doc();
        h.info = d.info;
        h.points = d.points;
        h.originalInfo = d.info;
        h.originalPoints = d.points;
        h.loaded = 1;
        h.selectPoint(0);
        showSet(DisplaySet::SamePile);
        bar.setViewProvider([this] { return &view; });
        bar.setScopeProvider([this] { return scope; });
        bar.setDocument(&host);
    }
    void showSet(DisplaySet s) {
        AnalysisSelection sel;
        sel.displaySet = s;
        view.setSelection(sel);
        view.setClientSize(800, 600);
        view.rebuild(host.doc());
    }
    InfoGridModel* model(GridTable t) { return bar.grid(t)->gridModel(); }
    QString text(GridTable t, int row, int col) {
        return model(t)->index(row, col).data().toString();
    }
};

TEST_F(InfoBarFixture, TablesFollowTheViewAndTheDocument) {
    EXPECT_EQ(bar.count(), 3);
    EXPECT_EQ(bar.tabText(1), "测点信息");
    EXPECT_EQ(model(GridTable::Project)->rowCount(), 1);
    EXPECT_EQ(model(GridTable::Points)->rowCount(), 3);  // the current pile
    EXPECT_EQ(model(GridTable::Parameters)->rowCount(), 3);
    EXPECT_EQ(model(GridTable::Points)->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
              "桩径(mm)");
    EXPECT_EQ(bar.grid(GridTable::Parameters)->columnWidth(1), 160);
    EXPECT_EQ(text(GridTable::Points, 2, 2), "502");
    EXPECT_EQ(model(GridTable::Points)->index(2, 0).data(InfoGridModel::PointIndexRole).toInt(), 2);
    EXPECT_FALSE(model(GridTable::Points)->flags(model(GridTable::Points)->index(0, 3)) &
                 Qt::ItemIsEditable);
    EXPECT_TRUE(model(GridTable::Points)->flags(model(GridTable::Points)->index(0, 2)) &
                Qt::ItemIsEditable);

    // a view change and a document change both reach the tables once control returns
    host.doc().selectPoint(4);
    host.doc().commitChange(DocChange::Selection);
    showSet(DisplaySet::SamePile);
    QApplication::processEvents();
    EXPECT_EQ(model(GridTable::Points)->rowCount(), 2);
    EXPECT_EQ(text(GridTable::Points, 0, 2), "503");

    bar.setDocument(nullptr);  // a new document: empty tables
    EXPECT_EQ(model(GridTable::Project)->rowCount(), 0);
    EXPECT_EQ(model(GridTable::Points)->rowCount(), 0);
}

TEST_F(InfoBarFixture, EditsAreUndoableAndFollowTheScope) {
    InfoGridModel* m = model(GridTable::Points);
    scope = PointEditScope::Multiple;
    ASSERT_TRUE(m->setData(m->index(1, 2), "900", Qt::EditRole));
    QApplication::processEvents();
    for (int r = 0; r < 3; ++r) EXPECT_EQ(text(GridTable::Points, r, 2), "900");
    EXPECT_EQ(host.doc().points[3].pileDiameter, 503);
    ASSERT_EQ(host.doc().undoStack.size(), 1u);
    ASSERT_TRUE(Undo(host.doc()));
    QApplication::processEvents();
    EXPECT_EQ(text(GridTable::Points, 1, 2), "501");

    scope = PointEditScope::Single;
    ASSERT_TRUE(m->setData(m->index(0, 6), "03:30:05", Qt::EditRole));
    EXPECT_EQ(host.doc().points[0].testDateTime[14], '3');
    EXPECT_EQ(textOf(host.doc().points[1].testDateTime), "2020-01-02 03:04:05");

    InfoGridModel* p = model(GridTable::Project);
    ASSERT_TRUE(p->setData(p->index(0, 4), "新工程", Qt::EditRole));
    EXPECT_FALSE(p->setData(p->index(0, 4), "新工程", Qt::EditRole));  // the same text: no step
    EXPECT_EQ(p->lastEditResult(), GridEditResult::Unchanged);
    EXPECT_EQ(host.doc().undoStack.size(), 2u);  // the undone step went to redo
}

TEST_F(InfoBarFixture, AnEditorClosedWithoutAChangeWritesNothing) {
    InfoGridView* g = bar.grid(GridTable::Points);
    InfoGridDelegate delegate(GridTable::Points);
    const QModelIndex date = g->gridModel()->index(0, 5);
    QStyleOptionViewItem opt;
    std::unique_ptr<QWidget> editor(delegate.createEditor(g->viewport(), opt, date));
    auto* de = qobject_cast<DateLineEdit*>(editor.get());
    ASSERT_NE(de, nullptr);
    EXPECT_EQ(de->accessibleName(), "检测日期");
    delegate.setEditorData(de, date);
    EXPECT_EQ(de->text(), "2020-01-02");
    delegate.setModelData(de, g->gridModel(), date);
    EXPECT_TRUE(host.doc().undoStack.empty());
    de->setDate({2021, 7, 8});
    delegate.setModelData(de, g->gridModel(), date);
    EXPECT_EQ(textOf(host.doc().points[0].testDateTime), "2021-07-08 03:04:05");

    const QModelIndex diameter = g->gridModel()->index(1, 2);
    std::unique_ptr<QWidget> spin(delegate.createEditor(g->viewport(), opt, diameter));
    ASSERT_NE(qobject_cast<QSpinBox*>(spin.get()), nullptr);
    EXPECT_EQ(delegate.createEditor(g->viewport(), opt, g->gridModel()->index(0, 3)), nullptr);
}

TEST_F(InfoBarFixture, DatesTypedIntoTheCellAreStoredAsTypedOrRefused) {
    InfoGridView* g = bar.grid(GridTable::Points);
    InfoGridDelegate delegate(GridTable::Points);
    const QModelIndex date = g->gridModel()->index(0, 5);
    QStyleOptionViewItem opt;
    std::unique_ptr<QWidget> editor(delegate.createEditor(g->viewport(), opt, date));
    auto* de = qobject_cast<DateLineEdit*>(editor.get());
    ASSERT_NE(de, nullptr);
    // typed key by key, as the analyst does: the sectioned editor made 2026-11-11 of it
    const std::pair<const char*, const char*> cases[] = {
        {"2026-11-05", "2026-11-05 03:04:05"},
        {"2025-03-07", "2025-03-07 03:04:05"},
        {"2026/11/06", "2026-11-06 03:04:05"},
        {"20261105", "2026-11-05 03:04:05"},
    };
    for (const auto& [typed, stored] : cases) {
        delegate.setEditorData(de, date);
        de->selectAll();
        QTest::keyClicks(de, typed);
        delegate.setModelData(de, g->gridModel(), date);
        EXPECT_EQ(textOf(host.doc().points[0].testDateTime), stored) << typed;
    }
    // refused with the message, the cell keeps its date
    std::vector<QString> boxes;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes.push_back(b->text());
            b->accept();
        }
    });
    closer.start(10);
    const std::size_t steps = host.doc().undoStack.size();
    delegate.setEditorData(de, date);
    de->selectAll();
    QTest::keyClicks(de, "2026-02-30");
    delegate.setModelData(de, g->gridModel(), date);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], QString::fromUtf8(kMsgBadDate));
    EXPECT_EQ(textOf(host.doc().points[0].testDateTime), "2026-11-05 03:04:05");
    EXPECT_EQ(host.doc().undoStack.size(), steps);
}

TEST(DisplaySettingsDialogTest, ChooserButtonsDefaultsAndTheRememberedTab) {
    DisplayOptions o;
    o.items = {31};
    o.editScope = 1;
    {
        DisplaySettingsDialog d(o);
        EXPECT_EQ(d.windowTitle(), "显示设置");
        EXPECT_EQ(d.tabs()->tabText(0), "  操作控制  ");
        EXPECT_EQ(d.chosenList()->count(), 1);
        d.addAllButton()->click();
        d.addAllButton()->click();
        EXPECT_EQ(d.chosenList()->count(), 33);  // 32 items, the blank line twice
        d.removeAllButton()->click();
        d.availableList()->item(2)->setSelected(true);
        d.availableList()->item(0)->setSelected(true);
        d.addButton()->click();
        ASSERT_EQ(d.chosenList()->count(), 2);
        EXPECT_EQ(d.chosenList()->item(0)->text(), "<空行>");
        EXPECT_EQ(d.options().items, (std::vector<std::int32_t>{30, 32}));
        EXPECT_EQ(d.options().editScope, 1);
        d.defaultsButton()->click();
        EXPECT_EQ(d.options(), DisplayOptions{});
        d.tabs()->setCurrentIndex(1);
    }
    DisplaySettingsDialog again(o);
    EXPECT_EQ(again.tabs()->currentIndex(), 1);
    again.tabs()->setCurrentIndex(0);
}

TEST(EditSettingsDialogTest, ScopeInScopeOut) {
    EditSettingsDialog d(PointEditScope::Multiple);
    EXPECT_EQ(d.windowTitle(), "编辑设置");
    EXPECT_EQ(d.scope(), PointEditScope::Multiple);
    d.singleButton()->setChecked(true);
    EXPECT_EQ(d.scope(), PointEditScope::Single);
}

}  // namespace
}  // namespace sondara::gui
