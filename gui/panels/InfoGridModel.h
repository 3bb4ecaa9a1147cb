#pragma once
// One table of the information bar as a Qt item model over the document: cells are
// produced on demand by the core table functions, so thousands of rows cost only
// what is visible. Edits go through the core edit rules into the list-edit history;
// the document's change notification then refreshes the grids.
//
// The model keeps the document host through a QPointer: a document that goes away
// leaves an empty table, never a dangling pointer.
#include <QAbstractTableModel>
#include <QPointer>
#include <functional>
#include <vector>

#include "core/panels/InfoGridEdit.h"
#include "core/panels/InfoGridTables.h"
#include "gui/app/DocumentHost.h"

namespace sondara::gui {

class InfoGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit InfoGridModel(GridTable table, QObject* parent = nullptr);

    GridTable table() const { return table_; }
    // Shows the document (null: nothing) with the given points as rows.
    void setSource(DocumentHost* host, std::vector<int> rowPoints);
    const std::vector<int>& rowPoints() const { return rows_; }
    // Which points an edit of the point table changes (the edit settings).
    void setScopeProvider(std::function<PointEditScope()> f) { scope_ = std::move(f); }
    // The result of the last edit (for tests and the status bar).
    GridEditResult lastEditResult() const { return lastResult_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Item data of column 0: the row's point index.
    static constexpr int PointIndexRole = Qt::UserRole + 1;

private:
    GridTable table_;
    QPointer<DocumentHost> host_;
    std::vector<int> rows_;
    std::function<PointEditScope()> scope_;
    GridEditResult lastResult_ = GridEditResult::Unchanged;
};

}  // namespace sondara::gui
