#include "gui/panels/PointListTableModel.h"

#include "core/base/TextCodec.h"
#include "core/model/SondaraDoc.h"

namespace sondara::gui {

PointListTableModel::PointListTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void PointListTableModel::setDocument(const CSondaraDoc* doc) {
    beginResetModel();
    doc_ = doc;
    rows_ = doc ? doc->pointCount() : 0;
    endResetModel();
}

void PointListTableModel::refresh() {
    if (!doc_) return;
    if (doc_->pointCount() != rows_) {
        setDocument(doc_);
        return;
    }
    // one signal for all rows: a view repaints only what it shows
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, 1), {Qt::DisplayRole, Qt::CheckStateRole});
}

int PointListTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int PointListTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant PointListTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !doc_ || !doc_->validPoint(index.row())) return {};
    const TestPoint& p = doc_->points[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        if (index.column() == 0) return QString::number(index.row() + 1);
        return QString::fromStdString(gbkToUtf8(textOf(p.pileNo)));
    }
    if (role == Qt::CheckStateRole && index.column() == 0)
        return p.checked ? Qt::Checked : Qt::Unchecked;
    return {};
}

QVariant PointListTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole) {
        if (section == 0) return QObject::tr("序号");
        if (section == 1) return QObject::tr("测点编号");
    }
    return QAbstractTableModel::headerData(section, o, role);
}

Qt::ItemFlags PointListTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (index.column() == 0) f |= Qt::ItemIsUserCheckable;
    return f;
}

bool PointListTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 || !doc_)
        return false;
    emit pointTickRequested(index.row(), value.toInt() == Qt::Checked);
    if (index.row() < rows_) emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

}  // namespace sondara::gui
