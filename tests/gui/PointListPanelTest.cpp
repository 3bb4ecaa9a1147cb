// The point list panel against the document: piles, check boxes with the pile rule,
// the flat list and what the panel reports, with a stand-in for the main frame that
// applies ticks and selections to the document and synchronises the panel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include "core/model/SondaraDoc.h"
#include "gui/panels/PointListPanel.h"
#include "gui/panels/PointListTableModel.h"
#include "gui/panels/PointListTreeModel.h"
#include "support/Fixtures.h"

namespace sondara::gui {
namespace {

CSondaraDoc docOf(std::initializer_list<const char*> piles,
                  std::initializer_list<int> ticked = {}) {
    std::vector<TestPoint> pts;
    for (const char* p : piles) pts.push_back(test::simplePoint(p, 8));
    for (int i : ticked) pts[static_cast<size_t>(i)].checked = 1;
    CSondaraDoc d = test::makeDoc(pts);
    d.rebuildCheckedList();
    return d;
}

// Records what the panel says, in the frame's notification codes, and acts as the frame.
struct PanelFixture : ::testing::Test {
    CSondaraDoc doc = docOf({"A", "A", "B", "A"});
    PointListPanel panel;
    std::vector<std::pair<int, int>> sent;
    void SetUp() override {
        QObject::connect(&panel, &PointListPanel::pointSelected, [this](int i) {
            sent.emplace_back(0, i);
            doc.selectPoint(i);
            panel.synchronise(doc);
        });
        QObject::connect(&panel, &PointListPanel::pileSelected, [this](int k) {
            sent.emplace_back(3, k);
            doc.selectPile(k);
            panel.synchronise(doc);
        });
        QObject::connect(&panel, &PointListPanel::pointTicked, [this](int i, bool t) {
            sent.emplace_back(t ? 1 : 2, i);
            doc.points[static_cast<size_t>(i)].checked = t;
            panel.synchronise(doc);
        });
        QObject::connect(&panel, &PointListPanel::batchBegin, [this] { sent.emplace_back(10, 0); });
        QObject::connect(&panel, &PointListPanel::batchEnd, [this] { sent.emplace_back(11, 0); });
        panel.fill(doc);
        panel.synchronise(doc);
    }
    PointListTreeModel& tree() { return *panel.treeModel(); }
    PointListTableModel& list() { return *panel.listModel(); }
    static int state(const QModelIndex& i) { return i.data(Qt::CheckStateRole).toInt(); }
};

TEST_F(PanelFixture, PilesPointsAndTheFlatListComeFromTheDocument) {
    ASSERT_EQ(tree().rowCount(), 3);  // A (#1, #2), B (#1), A (#1)
    const char* piles[] = {"A", "B", "A"};
    const int sizes[] = {2, 1, 1};
    for (int k = 0; k < 3; ++k) {
        const QModelIndex p = tree().pileIndex(k);
        EXPECT_EQ(p.data().toString(), piles[k]);
        ASSERT_EQ(tree().rowCount(p), sizes[k]);
        EXPECT_EQ(tree().index(sizes[k] - 1, 0, p).data().toString(), QString("#%1").arg(sizes[k]));
        EXPECT_FALSE(p.data(Qt::DecorationRole).value<QIcon>().isNull());
    }
    EXPECT_EQ(tree().pointOf(tree().index(0, 0, tree().pileIndex(2))), 3);
    EXPECT_EQ(tree().pointIndex(3).parent(), tree().pileIndex(2));
    EXPECT_EQ(tree().rowCount(tree().pointIndex(0)), 0);

    ASSERT_EQ(list().rowCount(), 4);
    EXPECT_EQ(list().index(3, 0).data().toString(), "4");
    EXPECT_EQ(list().index(2, 1).data().toString(), "B");
    EXPECT_EQ(list().headerData(0, Qt::Horizontal).toString(), "序号");
    EXPECT_EQ(list().headerData(1, Qt::Horizontal).toString(), "测点编号");
    EXPECT_TRUE(list().flags(list().index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(list().flags(list().index(0, 1)) & Qt::ItemIsUserCheckable);

    // an edit of the list shows after the next fill; a renamed pile regroups on synchronise
    setText(doc.points[1].pileNo, "C");
    panel.synchronise(doc);
    EXPECT_EQ(tree().rowCount(), 4);
    EXPECT_EQ(list().index(1, 1).data().toString(), "C");
    doc.points.pop_back();
    panel.fill(doc);
    EXPECT_EQ(tree().rowCount(), 3);
    EXPECT_EQ(list().rowCount(), 3);
    panel.clear();
    EXPECT_EQ(tree().rowCount(), 0);
    EXPECT_EQ(list().rowCount(), 0);
}

TEST_F(PanelFixture, PileBoxesFollowTheRuleAndAPileTickIsOneBatch) {
    const QModelIndex pileA = tree().pileIndex(0);
    EXPECT_EQ(state(pileA), Qt::Unchecked);
    tree().setData(tree().pointIndex(0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(state(pileA), Qt::Unchecked);  // mixed: as it was
    tree().setData(tree().pointIndex(1), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(state(pileA), Qt::Checked);  // all ticked
    tree().setData(tree().pointIndex(0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(state(pileA), Qt::Checked);  // mixed again: keeps it
    tree().setData(tree().pointIndex(1), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(state(pileA), Qt::Unchecked);  // the last ticked child unticked

    sent.clear();
    tree().setData(pileA, Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{10, 0}, {1, 0}, {1, 1}, {11, 0}}));
    EXPECT_EQ(state(tree().pointIndex(1)), Qt::Checked);
    EXPECT_EQ(state(list().index(1, 0)), Qt::Checked);
    EXPECT_EQ(state(tree().pileIndex(2)), Qt::Unchecked);  // the other pile A is another pile

    // ticks made elsewhere (全部勾选) show after synchronising
    for (auto& p : doc.points) p.checked = 1;
    panel.synchronise(doc);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(state(tree().pileIndex(k)), Qt::Checked) << k;
    EXPECT_EQ(state(list().index(3, 0)), Qt::Checked);
}

TEST_F(PanelFixture, ActionsRefusedByAPendingOperationChangeNothing) {
    doc.points[0].checked = 1;  // pile A mixed, its box unticked
    panel.synchronise(doc);
    panel.setActionGuard([] { return false; });
    tree().setData(tree().pileIndex(0), Qt::Checked, Qt::CheckStateRole);
    list().setData(list().index(1, 0), Qt::Checked, Qt::CheckStateRole);
    panel.tree()->setCurrentIndex(tree().pointIndex(3));
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(state(tree().pileIndex(0)), Qt::Unchecked);
    EXPECT_EQ(state(list().index(1, 0)), Qt::Unchecked);
    EXPECT_EQ(doc.currentPoint, 0);
}

TEST_F(PanelFixture, SelectionsAreReportedAndShown) {
    panel.tree()->setCurrentIndex(tree().pointIndex(3));
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{0, 3}}));
    EXPECT_EQ(panel.list()->currentIndex().row(), 3);  // the list follows the document
    sent.clear();
    panel.tree()->setCurrentIndex(tree().pileIndex(1));
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{3, 1}}));
    EXPECT_EQ(doc.currentPoint, 2);
    EXPECT_EQ(panel.list()->currentIndex().row(), 2);
    sent.clear();
    panel.list()->selectRow(1);
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{0, 1}}));
    EXPECT_EQ(panel.tree()->currentIndex(), tree().pointIndex(1));
    EXPECT_TRUE(panel.tree()->isExpanded(tree().pileIndex(0)));

    // what the views do while the panel fills or synchronises is not the user's doing
    sent.clear();
    doc.selectPoint(2);
    panel.fill(doc);
    panel.synchronise(doc);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(panel.tree()->currentIndex(), tree().pointIndex(2));
}

TEST_F(PanelFixture, AClickOnARowsCheckBoxTicksAndMakesItsPointCurrent) {
    panel.viewChoice()->setCurrentIndex(1);
    panel.resize(200, 300);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    doc.selectPile(2);  // the list shows point 3 selected while pile 2 is current
    panel.synchronise(doc);
    QTableView* view = panel.list();
    for (int row : {1, 3}) {
        sent.clear();
        QStyleOptionViewItem opt;
        opt.initFrom(view);
        opt.rect = view->visualRect(list().index(row, 0));
        opt.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        const QRect box =
            view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, view);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
        EXPECT_EQ(doc.points[static_cast<size_t>(row)].checked, 1) << row;
        EXPECT_EQ(doc.selectionMode, 1) << row;
        EXPECT_EQ(doc.currentPoint, row);
        EXPECT_EQ(view->currentIndex().row(), row);
        EXPECT_NE(std::find(sent.begin(), sent.end(), std::pair<int, int>{1, row}), sent.end())
            << row;
    }
}

TEST_F(PanelFixture, ListFontIsSongtiAtThirteenPixels) {
    for (QWidget* w : {static_cast<QWidget*>(panel.tree()), static_cast<QWidget*>(panel.list())}) {
        EXPECT_EQ(w->font().pixelSize(), 13);
        EXPECT_EQ(w->font().weight(), QFont::Normal);
        ASSERT_FALSE(w->font().families().isEmpty());
        EXPECT_EQ(w->font().families().front(), "宋体");
        EXPECT_TRUE(w->font().families().contains(QApplication::font().family()));
    }
}

TEST(PointListModelTest, ServesALargeListWithoutAnItemPerPoint) {
    std::vector<TestPoint> pts(9998);
    for (size_t i = 0; i < pts.size(); ++i) setText(pts[i].pileNo, "P" + std::to_string(i / 2));
    CSondaraDoc doc = test::makeDoc(std::move(pts));
    PointListTreeModel tree;
    tree.setDocument(&doc);
    ASSERT_EQ(tree.rowCount(), 4999);
    EXPECT_EQ(tree.pointOf(tree.index(1, 0, tree.pileIndex(4998))), 9997);
    EXPECT_EQ(tree.pointIndex(9997).data().toString(), "#2");
    EXPECT_EQ(tree.pileIndex(4998).data().toString(), "P4998");
    // a few ticks: a signal for the points of each changed pile (and the piles whose
    // box or number changed); many ticks: one layout change
    std::vector<std::pair<QModelIndex, QModelIndex>> changed;
    int layouts = 0;
    QObject::connect(
        &tree, &QAbstractItemModel::dataChanged,
        [&](const QModelIndex& a, const QModelIndex& b) { changed.emplace_back(a, b); });
    QObject::connect(&tree, &QAbstractItemModel::layoutChanged, [&] { ++layouts; });
    doc.points[9997].checked = 1;
    tree.refresh();
    ASSERT_EQ(changed.size(), 1u);  // pile 4998 is mixed: its box stays
    EXPECT_EQ(changed[0].first, tree.index(0, 0, tree.pileIndex(4998)));
    EXPECT_EQ(changed[0].second, tree.pointIndex(9997));
    EXPECT_EQ(tree.pileIndex(4998).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    changed.clear();
    doc.points[9996].checked = 1;
    setText(doc.points[0].pileNo, "Q");  // a new number, the same piles
    setText(doc.points[1].pileNo, "Q");
    tree.refresh();
    ASSERT_EQ(changed.size(), 2u);
    EXPECT_EQ(changed[0].first, tree.pileIndex(0));
    EXPECT_EQ(changed[0].second, tree.pileIndex(4998));
    EXPECT_EQ(tree.pileIndex(0).data().toString(), "Q");
    EXPECT_EQ(tree.pileIndex(4998).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(layouts, 0);
    changed.clear();
    for (auto& p : doc.points) p.checked = 1;
    tree.refresh();
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(tree.pileIndex(0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
}

}  // namespace
}  // namespace sondara::gui
