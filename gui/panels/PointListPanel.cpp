#include "gui/panels/PointListPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/app/RunLog.h"
#include "core/model/SondaraDoc.h"
#include "gui/panels/PointListTableModel.h"
#include "gui/panels/PointListTreeModel.h"

namespace sondara::gui {

namespace {

// Makes the selection colours the same with and without focus.
void setSelectionColours(QWidget* w, QColor back, QColor text) {
    QPalette pal = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Highlight, back);
        pal.setColor(group, QPalette::HighlightedText, text);
    }
    w->setPalette(pal);
}

// Face "宋体" at a height of 13 pixels, normal weight; where the face is missing, the
// Chinese face chosen for the interface at start-up.
QFont listFont() {
    QFont f = QApplication::font();
    f.setFamilies({"宋体", QApplication::font().family()});
    f.setPixelSize(13);
    f.setWeight(QFont::Normal);
    return f;
}

}  // namespace

PointListPanel::PointListPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("PointListPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    choice_ = new QComboBox(this);
    choice_->addItems({QObject::tr("显示桩"), QObject::tr("显示测点")});
    choice_->setAccessibleName(QObject::tr("显示"));

    treeModel_ = new PointListTreeModel(this);
    listModel_ = new PointListTableModel(this);

    tree_ = new QTreeView(this);
    tree_->setObjectName("pointTree");
    tree_->setAccessibleName(QObject::tr("测点栏"));
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setUniformRowHeights(true);  // rows are laid out without asking each for its size
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    tree_->setModel(treeModel_);

    list_ = new QTableView(this);
    list_->setObjectName("pointTable");
    list_->setAccessibleName(QObject::tr("测点栏"));
    list_->setModel(listModel_);
    list_->setColumnWidth(0, 40);
    list_->setColumnWidth(1, 70);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->setWordWrap(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->hide();
    layout->addWidget(choice_);
    layout->addWidget(tree_, 1);
    layout->addWidget(list_, 1);

    const QFont f = listFont();
    tree_->setFont(f);
    list_->setFont(f);
    list_->verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 4);
    setSelectionColours(tree_, QColor(49, 106, 197), Qt::white);
    setSelectionColours(list_, QColor(0, 0, 255), QColor(0, 255, 0));
    tree_->installEventFilter(this);

    connect(choice_, &QComboBox::currentIndexChanged, this, [this](int i) {
        tree_->setVisible(i == 0);
        list_->setVisible(i == 1);
    });
    connect(treeModel_, &PointListTreeModel::pileTickRequested, this, &PointListPanel::onPileTick);
    connect(treeModel_, &PointListTreeModel::pointTickRequested, this,
            &PointListPanel::onTreePointTick);
    connect(listModel_, &PointListTableModel::pointTickRequested, this,
            &PointListPanel::onListTick);
    connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PointListPanel::onTreeSelection);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PointListPanel::onListSelection);
    auto popup = [this](QAbstractItemView* view, const QPoint& pos) {
        if (!menuFactory_) return;
        if (view == tree_) {
            const QModelIndex at = tree_->indexAt(pos);
            if (at.isValid()) tree_->setCurrentIndex(at);  // acts like a click first
        }
        if (QMenu* m = menuFactory_()) {
            m->exec(view->viewport()->mapToGlobal(pos));
            m->deleteLater();
        }
    };
    connect(tree_, &QWidget::customContextMenuRequested, this,
            [this, popup](const QPoint& p) { popup(tree_, p); });
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this, popup](const QPoint& p) { popup(list_, p); });
}

bool PointListPanel::eventFilter(QObject* watched, QEvent* event) {
    // the space key would toggle check boxes behind the main frame's back
    if (watched == tree_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space)
        return true;
    return QWidget::eventFilter(watched, event);
}

void PointListPanel::clear() {
    refreshing_ = true;
    treeModel_->setDocument(nullptr);
    listModel_->setDocument(nullptr);
    refreshing_ = false;
}

void PointListPanel::fill(const CSondaraDoc& doc) {
    refreshing_ = true;
    treeModel_->setDocument(&doc);
    listModel_->setDocument(&doc);
    refreshing_ = false;
}

void PointListPanel::synchronise(const CSondaraDoc& doc) {
    refreshing_ = true;
    if (treeModel_->document() != &doc)
        treeModel_->setDocument(&doc);
    else
        treeModel_->refresh();
    if (listModel_->document() != &doc)
        listModel_->setDocument(&doc);
    else
        listModel_->refresh();
    refreshing_ = false;
    selectCurrent(doc);
}

void PointListPanel::selectCurrent(const CSondaraDoc& doc) {
    refreshing_ = true;
    QModelIndex current;
    if (doc.selectionMode == 1 && doc.validPoint(doc.currentPoint)) {
        current = treeModel_->pointIndex(doc.currentPoint);
        tree_->expand(current.parent());
    } else if (doc.selectionMode == 2) {
        current = treeModel_->pileIndex(doc.currentPile);
    }
    if (current.isValid())
        tree_->selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
    else
        tree_->selectionModel()->clearSelection();

    if (doc.validPoint(doc.currentPoint))
        list_->selectionModel()->setCurrentIndex(
            listModel_->index(doc.currentPoint, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        list_->selectionModel()->clearSelection();
    refreshing_ = false;
}

void PointListPanel::onPileTick(int pile, bool tick) {
    if (!allowed()) return;
    const PileRuns& runs = treeModel_->piles();
    const int first = runs.firstPoint(pile), n = runs.size(pile);
    if (first < 0) return;
    emit batchBegin();
    for (int i = first; i < first + n; ++i) emit pointTicked(i, tick);
    emit batchEnd();
}

void PointListPanel::onTreePointTick(int point, bool tick) {
    if (!allowed()) return;
    emit pointTicked(point, tick);
}

void PointListPanel::onListTick(int point, bool tick) {
    if (!allowed()) return;
    emit pointTicked(point, tick);
    // the row whose box was clicked becomes the current point
    if (refreshing_) return;
    const QModelIndex row = listModel_->index(point, 0);
    if (!row.isValid()) return;
    if (list_->selectionModel()->isRowSelected(point, {})) {
        logLine("选择测点");
        emit pointSelected(point);  // selected already: the point may still not be current
    } else {
        list_->selectionModel()->setCurrentIndex(
            row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
}

void PointListPanel::onTreeSelection() {
    if (!allowed()) return;
    const QModelIndex it = tree_->currentIndex();
    if (!it.isValid() || !tree_->selectionModel()->isSelected(it)) return;
    if (treeModel_->isPile(it)) {
        logLine("选择桩");
        emit pileSelected(treeModel_->pileOf(it));
    } else {
        logLine("选择测点");
        emit pointSelected(treeModel_->pointOf(it));
    }
}

void PointListPanel::onListSelection() {
    if (!allowed()) return;
    const auto rows = list_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return;
    logLine("选择测点");
    emit pointSelected(rows.first().row());
}

}  // namespace sondara::gui
