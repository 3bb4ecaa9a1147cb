#include "gui/panels/InfoGridView.h"

#include <QHeaderView>

#include "gui/app/Translation.h"
#include "gui/panels/InfoGridDelegate.h"
#include "gui/panels/InfoGridModel.h"

namespace sondara::gui {

InfoGridView::InfoGridView(GridTable table, QWidget* parent) : QTableView(parent), table_(table) {
    const std::string_view title = GridTitle(table);
    setObjectName(QStringLiteral("InfoGrid%1").arg(static_cast<int>(table)));
    setAccessibleName(trCore(std::string(title)));
    model_ = new InfoGridModel(table, this);
    delegate_ = new InfoGridDelegate(table, this);
    setModel(model_);
    setItemDelegate(delegate_);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    setTabKeyNavigation(false);  // Tab leaves the grid; the arrows move between cells
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    const auto& cols = GridColumns(table);
    for (int c = 0; c < static_cast<int>(cols.size()); ++c)
        setColumnWidth(c, cols[static_cast<size_t>(c)].width);
}

}  // namespace sondara::gui
