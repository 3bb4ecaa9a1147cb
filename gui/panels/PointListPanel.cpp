#include "gui/panels/PointListPanel.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app/RunLog.h"
#include "core/model/SondaraDoc.h"
#include "core/base/TextCodec.h"

namespace sondara::gui {

namespace {
constexpr int kRoleIsPile = Qt::UserRole;      // true for pile items (image 0)
constexpr int kRoleIndex = Qt::UserRole + 1;   // pile ordinal or point index

QString pileText(const TestPoint& p) { return QString::fromStdString(gbkToUtf8(textOf(p.pileNo))); }

// Makes the selection colours the same with and without focus.
void setSelectionColours(QWidget* w, QColor back, QColor text) {
    QPalette pal = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Highlight, back);
        pal.setColor(group, QPalette::HighlightedText, text);
    }
    w->setPalette(pal);
}
}  // namespace

PointListPanel::PointListPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("PointListPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    choice_ = new QComboBox(this);
    choice_->addItems({"显示桩", "显示测点"});
    tree_ = new QTreeWidget(this);
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_ = new QTableWidget(0, 2, this);
    list_->setHorizontalHeaderLabels({"序号", "测点编号"});
    list_->setColumnWidth(0, 40);
    list_->setColumnWidth(1, 70);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->hide();
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->hide();
    layout->addWidget(choice_);
    layout->addWidget(tree_, 1);
    layout->addWidget(list_, 1);

    QFont f = font();
    f.setPixelSize(13);
    f.setWeight(QFont::Normal);
    tree_->setFont(f);
    list_->setFont(f);
    setSelectionColours(tree_, QColor(49, 106, 197), Qt::white);
    setSelectionColours(list_, QColor(0, 0, 255), QColor(0, 255, 0));
    tree_->installEventFilter(this);

    connect(choice_, &QComboBox::currentIndexChanged, this, [this](int i) {
        tree_->setVisible(i == 0);
        list_->setVisible(i == 1);
    });
    connect(tree_, &QTreeWidget::itemChanged, this, &PointListPanel::onTreeItemChanged);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &PointListPanel::onTreeSelection);
    connect(list_, &QTableWidget::cellChanged, this, &PointListPanel::onListCellChanged);
    connect(list_, &QTableWidget::itemSelectionChanged, this, &PointListPanel::onListSelection);
    auto popup = [this](QWidget* w, const QPoint& pos) {
        if (!menuFactory_) return;
        if (w == tree_) {
            if (QTreeWidgetItem* it = tree_->itemAt(pos)) tree_->setCurrentItem(it);  // acts like a click first
        }
        if (QMenu* m = menuFactory_()) {
            m->exec(w->mapToGlobal(pos));
            m->deleteLater();
        }
    };
    connect(tree_, &QWidget::customContextMenuRequested, this, [this, popup](const QPoint& p) { popup(tree_, p); });
    connect(list_, &QWidget::customContextMenuRequested, this, [this, popup](const QPoint& p) { popup(list_->viewport(), p); });
}

bool PointListPanel::eventFilter(QObject* watched, QEvent* event) {
    // the space key would toggle check boxes behind the main frame's back
    if (watched == tree_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space)
        return true;
    return QWidget::eventFilter(watched, event);
}

void PointListPanel::clear() {
    refreshing_ = true;
    tree_->clear();
    list_->setRowCount(0);
    refreshing_ = false;
}

void PointListPanel::fill(const CSondaraDoc& doc) {
    refreshing_ = true;
    setUpdatesEnabled(false);
    list_->setRowCount(0);
    list_->setRowCount(doc.pointCount());
    for (int i = 0; i < doc.pointCount(); ++i) {
        auto* no = new QTableWidgetItem(QString::number(i + 1));
        no->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        no->setCheckState(doc.points[i].checked ? Qt::Checked : Qt::Unchecked);
        list_->setItem(i, 0, no);
        auto* pile = new QTableWidgetItem(pileText(doc.points[i]));
        pile->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        list_->setItem(i, 1, pile);
    }
    tree_->clear();
    QTreeWidgetItem* pileItem = nullptr;
    int ordinal = -1, place = 0;
    std::string_view current;
    bool first = true;
    for (int i = 0; i < doc.pointCount(); ++i) {
        std::string_view no = textOf(doc.points[i].pileNo);
        if (first || no != current) {
            first = false;
            current = no;
            ++ordinal;
            place = 0;
            pileItem = new QTreeWidgetItem(tree_, {pileText(doc.points[i])});
            pileItem->setData(0, kRoleIsPile, true);
            pileItem->setData(0, kRoleIndex, ordinal);
            pileItem->setFlags(pileItem->flags() | Qt::ItemIsUserCheckable);
            pileItem->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
        }
        auto* child = new QTreeWidgetItem(pileItem, {QString("#%1").arg(++place)});
        child->setData(0, kRoleIsPile, false);
        child->setData(0, kRoleIndex, i);
        child->setFlags(child->flags() | Qt::ItemIsUserCheckable);
        child->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
        child->setCheckState(0, doc.points[i].checked ? Qt::Checked : Qt::Unchecked);
    }
    for (int k = 0; k < tree_->topLevelItemCount(); ++k) {
        QTreeWidgetItem* p = tree_->topLevelItem(k);
        p->setCheckState(0, Qt::Unchecked);
        updatePileCheck(p);
    }
    setUpdatesEnabled(true);
    refreshing_ = false;
}

void PointListPanel::updatePileCheck(QTreeWidgetItem* pile) {
    int ticked = 0, n = pile->childCount();
    for (int c = 0; c < n; ++c) ticked += pile->child(c)->checkState(0) == Qt::Checked;
    // all ticked: ticked; none: unticked; a mixed pile keeps its state
    if (n > 0 && ticked == n) pile->setCheckState(0, Qt::Checked);
    else if (ticked == 0) pile->setCheckState(0, Qt::Unchecked);
}

void PointListPanel::synchronise(const CSondaraDoc& doc) {
    refreshing_ = true;
    tree_->clearSelection();
    for (int k = 0; k < tree_->topLevelItemCount(); ++k) {
        QTreeWidgetItem* pile = tree_->topLevelItem(k);
        for (int c = 0; c < pile->childCount(); ++c) {
            QTreeWidgetItem* child = pile->child(c);
            int idx = child->data(0, kRoleIndex).toInt();
            if (doc.validPoint(idx)) child->setCheckState(0, doc.points[idx].checked ? Qt::Checked : Qt::Unchecked);
            if (doc.selectionMode == 1 && idx == doc.currentPoint) {
                pile->setExpanded(true);
                tree_->setCurrentItem(child);
                child->setSelected(true);
            }
        }
        updatePileCheck(pile);
        if (doc.selectionMode == 2 && pile->data(0, kRoleIndex).toInt() == doc.currentPile) {
            tree_->setCurrentItem(pile);
            pile->setSelected(true);
        }
    }
    for (int r = 0; r < list_->rowCount() && r < doc.pointCount(); ++r)
        if (QTableWidgetItem* it = list_->item(r, 0))
            it->setCheckState(doc.points[r].checked ? Qt::Checked : Qt::Unchecked);
    if (doc.validPoint(doc.currentPoint)) {
        list_->setCurrentCell(doc.currentPoint, 0);
        list_->selectRow(doc.currentPoint);
    } else {
        list_->clearSelection();
    }
    refreshing_ = false;
}

void PointListPanel::onTreeItemChanged(QTreeWidgetItem* item, int) {
    if (!allowed()) return;
    bool tick = item->checkState(0) == Qt::Checked;
    refreshing_ = true;  // our own check-box updates below are not user actions
    if (item->data(0, kRoleIsPile).toBool()) {
        emit notify(BatchBegin, 0);
        for (int c = 0; c < item->childCount(); ++c) {
            QTreeWidgetItem* child = item->child(c);
            child->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
            emit notify(tick ? TickPoint : UntickPoint, child->data(0, kRoleIndex).toInt());
        }
        emit notify(BatchEnd, 0);
    } else {
        emit notify(tick ? TickPoint : UntickPoint, item->data(0, kRoleIndex).toInt());
        if (item->parent()) updatePileCheck(item->parent());
    }
    refreshing_ = false;
}

void PointListPanel::onTreeSelection() {
    if (!allowed()) return;
    QTreeWidgetItem* it = tree_->currentItem();
    if (!it || !it->isSelected()) return;
    if (it->data(0, kRoleIsPile).toBool()) {
        logLine("选择桩");
        emit notify(SelectPile, it->data(0, kRoleIndex).toInt());
    } else {
        logLine("选择测点");
        emit notify(SelectPoint, it->data(0, kRoleIndex).toInt());
    }
}

void PointListPanel::onListCellChanged(int row, int column) {
    if (!allowed() || column != 0) return;
    QTableWidgetItem* it = list_->item(row, 0);
    if (!it) return;
    emit notify(it->checkState() == Qt::Checked ? TickPoint : UntickPoint, row);
}

void PointListPanel::onListSelection() {
    if (!allowed()) return;
    auto rows = list_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return;
    logLine("选择测点");
    emit notify(SelectPoint, rows.first().row());
}

}  // namespace sondara::gui
