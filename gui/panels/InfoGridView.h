#pragma once
// One grid of the information bar: a table view over an InfoGridModel with the
// column widths of its table and the cell editors of InfoGridDelegate. Rows have a
// fixed height and are painted on demand, so the grid stays quick with thousands of
// points.
#include <QTableView>

#include "core/panels/InfoGridTables.h"

namespace sondara::gui {

class InfoGridModel;
class InfoGridDelegate;

class InfoGridView : public QTableView {
    Q_OBJECT
public:
    explicit InfoGridView(GridTable table, QWidget* parent = nullptr);
    InfoGridModel* gridModel() const { return model_; }
    GridTable table() const { return table_; }

private:
    GridTable table_;
    InfoGridModel* model_ = nullptr;
    InfoGridDelegate* delegate_ = nullptr;
};

}  // namespace sondara::gui
