#include "gui/panels/InfoGridModel.h"

#include <optional>

#include "core/base/TrNoop.h"
#include "core/model/NameLists.h"
#include "gui/app/Translation.h"

namespace sondara::gui {

InfoGridModel::InfoGridModel(GridTable table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {}

void InfoGridModel::setSource(DocumentHost* host, std::vector<int> rowPoints) {
    const int before = rowCount();
    if (host && host == host_ && rowPoints == rows_ &&
        before == GridRowCount(table_, host->doc(), rows_)) {
        // the same rows: the cells are asked again, the scroll position and the
        // current cell stay where the user left them
        if (before > 0) emit dataChanged(index(0, 0), index(before - 1, columnCount() - 1));
        return;
    }
    beginResetModel();
    host_ = host;
    rows_ = std::move(rowPoints);
    endResetModel();
}

int InfoGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !host_) return 0;
    return GridRowCount(table_, host_->doc(), rows_);
}

int InfoGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(GridColumns(table_).size());
}

QVariant InfoGridModel::data(const QModelIndex& index, int role) const {
    if (!host_ || !index.isValid()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::ToolTipRole) {
        // the editor starts from the stored text (a pile type's Chinese name), which
        // it shows in the window's language
        std::optional<SourceTextsScope> stored;
        if (role == Qt::EditRole) stored.emplace();
        const std::string t =
            GridCellText(table_, host_->doc(), rows_, index.row(), index.column());
        return QString::fromStdString(t);
    }
    if (role == PointIndexRole && index.column() == 0 && table_ != GridTable::Project &&
        index.row() < static_cast<int>(rows_.size()))
        return rows_[static_cast<size_t>(index.row())];
    return {};
}

QVariant InfoGridModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const auto& cols = GridColumns(table_);
    if (section < 0 || section >= static_cast<int>(cols.size())) return {};
    return trCore(std::string(cols[static_cast<size_t>(section)].title));
}

Qt::ItemFlags InfoGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!index.isValid() || !host_) return f;
    const auto& cols = GridColumns(table_);
    if (index.column() < static_cast<int>(cols.size()) &&
        cols[static_cast<size_t>(index.column())].editor != CellEditor::None)
        f |= Qt::ItemIsEditable;
    return f;
}

bool InfoGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !host_ || !index.isValid()) return false;
    std::string text = value.toString().toStdString();
    // a standard pile type or class given as the window shows it (pasted, typed) is
    // stored by its Chinese name, as when chosen from the list
    if (table_ == GridTable::Points && index.column() == kPointColPileType)
        text = SourceName(PileTypeNames(), text);
    else if (table_ == GridTable::Points && index.column() == kPointColClass)
        text = SourceName(ClassNames(), text);
    CSondaraDoc& doc = host_->doc();
    if (table_ == GridTable::Project)
        lastResult_ = EditProjectCell(doc, index.column(), text);
    else if (table_ == GridTable::Points)
        lastResult_ = EditPointCell(doc, rows_, index.row(), index.column(), text,
                                    scope_ ? scope_() : PointEditScope::Single);
    else
        lastResult_ = GridEditResult::NotEditable;
    if (lastResult_ != GridEditResult::Applied) return false;
    // the rows stay; every cell may have changed (多个测点)
    emit dataChanged(this->index(0, 0), this->index(rowCount() - 1, columnCount() - 1));
    return true;
}

}  // namespace sondara::gui
