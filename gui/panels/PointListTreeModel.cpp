#include "gui/panels/PointListTreeModel.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>

#include "core/base/TextCodec.h"
#include "core/model/SondaraDoc.h"

namespace sondara::gui {

namespace {
// Piles with changed points beyond which one layout change is cheaper for a view
// than a change signal per pile.
constexpr int kSeparateAnnouncements = 16;
}  // namespace

PointListTreeModel::PointListTreeModel(QObject* parent) : QAbstractItemModel(parent) {
    // The two item images, made once for every row of every project.
    pileIcon_ = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    pointIcon_ = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

void PointListTreeModel::setDocument(const CSondaraDoc* doc) {
    beginResetModel();
    doc_ = doc;
    runs_ = doc ? PileRuns(doc->points) : PileRuns();
    pileTicked_.assign(static_cast<size_t>(runs_.pileCount()), 0);
    pileNames_.resize(static_cast<size_t>(runs_.pileCount()));
    seen_.assign(static_cast<size_t>(runs_.pointCount()), 0);
    for (int i = 0; i < runs_.pointCount(); ++i) seen_[static_cast<size_t>(i)] = pointTicked(i);
    for (int k = 0; k < runs_.pileCount(); ++k) {
        recomputePile(k, false);
        pileNames_[static_cast<size_t>(k)] =
            doc_->points[static_cast<size_t>(runs_.firstPoint(k))].pileNo;
    }
    endResetModel();
}

void PointListTreeModel::refresh() {
    if (!doc_) return;
    if (doc_->pointCount() != runs_.pointCount() || PileRuns(doc_->points) != runs_) {
        setDocument(doc_);
        return;
    }
    // Which points show another state now, and which piles they belong to.
    std::vector<int> changedPiles;
    for (int i = 0; i < runs_.pointCount(); ++i) {
        const char now = pointTicked(i);
        if (seen_[static_cast<size_t>(i)] == now) continue;
        seen_[static_cast<size_t>(i)] = now;
        const int k = runs_.pileOf(i);
        if (changedPiles.empty() || changedPiles.back() != k) changedPiles.push_back(k);
    }
    // Piles whose number or check box changed: one signal for their span.
    int low = runs_.pileCount(), high = -1;
    for (int k = 0; k < runs_.pileCount(); ++k) {
        const char before = pileTicked_[static_cast<size_t>(k)];
        recomputePile(k, false);
        FixedText<22>& name = pileNames_[static_cast<size_t>(k)];
        const FixedText<22>& now = doc_->points[static_cast<size_t>(runs_.firstPoint(k))].pileNo;
        if (before != pileTicked_[static_cast<size_t>(k)] || !textEquals(name, now)) {
            name = now;
            low = std::min(low, k);
            high = std::max(high, k);
        }
    }
    if (static_cast<int>(changedPiles.size()) > kSeparateAnnouncements) {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::NoLayoutChangeHint);
        emit layoutChanged({}, QAbstractItemModel::NoLayoutChangeHint);
        return;
    }
    if (high >= low)
        emit dataChanged(index(low, 0), index(high, 0), {Qt::DisplayRole, Qt::CheckStateRole});
    for (int k : changedPiles) {
        const QModelIndex p = pileIndex(k);
        emit dataChanged(index(0, 0, p), index(runs_.size(k) - 1, 0, p), {Qt::CheckStateRole});
    }
}

bool PointListTreeModel::pointTicked(int point) const {
    return doc_ && doc_->validPoint(point) && doc_->points[static_cast<size_t>(point)].checked != 0;
}

void PointListTreeModel::recomputePile(int pile, bool announce) {
    const int first = runs_.firstPoint(pile), n = runs_.size(pile);
    int ticked = 0;
    for (int i = first; i < first + n; ++i) ticked += pointTicked(i);
    const char before = pileTicked_[static_cast<size_t>(pile)];
    const char now = PileTickState(ticked, n, before != 0);
    pileTicked_[static_cast<size_t>(pile)] = now;
    if (announce && now != before) {
        const QModelIndex p = pileIndex(pile);
        emit dataChanged(p, p, {Qt::CheckStateRole});
    }
}

QModelIndex PointListTreeModel::pileIndex(int pile) const {
    return pile >= 0 && pile < runs_.pileCount() ? createIndex(pile, 0, quintptr(0))
                                                 : QModelIndex();
}

QModelIndex PointListTreeModel::pointIndex(int point) const {
    const int k = runs_.pileOf(point);
    if (k < 0) return {};
    return createIndex(point - runs_.firstPoint(k), 0, quintptr(k) + 1);
}

int PointListTreeModel::pointOf(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() == 0) return -1;
    return runs_.firstPoint(static_cast<int>(index.internalId() - 1)) + index.row();
}

int PointListTreeModel::pileOf(const QModelIndex& index) const {
    if (!index.isValid()) return -1;
    return index.internalId() == 0 ? index.row() : static_cast<int>(index.internalId() - 1);
}

QModelIndex PointListTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    if (!parent.isValid())
        return row < runs_.pileCount() ? createIndex(row, 0, quintptr(0)) : QModelIndex();
    if (parent.internalId() != 0 || row >= runs_.size(parent.row())) return {};
    return createIndex(row, 0, quintptr(parent.row()) + 1);
}

QModelIndex PointListTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == 0) return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, quintptr(0));
}

int PointListTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return runs_.pileCount();
    if (parent.column() != 0 || parent.internalId() != 0) return 0;
    return runs_.size(parent.row());
}

int PointListTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool PointListTreeModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant PointListTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !doc_) return {};
    const bool pile = index.internalId() == 0;
    const int point = pile ? runs_.firstPoint(index.row()) : pointOf(index);
    if (!doc_->validPoint(point)) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            if (pile)
                return QString::fromStdString(
                    gbkToUtf8(textOf(doc_->points[static_cast<size_t>(point)].pileNo)));
            return QStringLiteral("#%1").arg(index.row() + 1);
        case Qt::DecorationRole:
            return pile ? pileIcon_ : pointIcon_;
        case Qt::CheckStateRole:
            if (pile)
                return pileTicked_[static_cast<size_t>(index.row())] ? Qt::Checked : Qt::Unchecked;
            return pointTicked(point) ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
    }
}

Qt::ItemFlags PointListTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable;
}

bool PointListTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || !doc_) return false;
    const bool tick = value.toInt() == Qt::Checked;
    if (isPile(index)) {
        // Once the points are ticked the pile's box follows them; when the request is
        // refused (a pending operation), a mixed pile keeps its box as it was.
        const int k = index.row();
        emit pileTickRequested(k, tick);
        // the document's answer (a frame may already have refreshed us)
        const int first = runs_.firstPoint(k);
        if (first < 0) return true;
        for (int i = first; i < first + runs_.size(k); ++i)
            seen_[static_cast<size_t>(i)] = pointTicked(i);
        recomputePile(k, true);
        const QModelIndex p = pileIndex(k);
        emit dataChanged(this->index(0, 0, p), this->index(runs_.size(k) - 1, 0, p),
                         {Qt::CheckStateRole});
    } else {
        const int point = pointOf(index);
        emit pointTickRequested(point, tick);
        if (!doc_->validPoint(point) || point >= static_cast<int>(seen_.size())) return true;
        seen_[static_cast<size_t>(point)] = pointTicked(point);
        emit dataChanged(index, index, {Qt::CheckStateRole});
        recomputePile(runs_.pileOf(point), true);
    }
    return true;
}

}  // namespace sondara::gui
