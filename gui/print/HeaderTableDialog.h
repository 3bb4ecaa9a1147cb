#pragma once
// "定制表头": the rows, columns, row height and grid lines of the header table, and
// its cells edited in place on the preview. The settings go in; settings() holds
// the result after OK.
#include <QDialog>

#include "core/output/PrintSettings.h"

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;

namespace sondara::gui {

class HeaderTableGrid;

class HeaderTableDialog : public QDialog {
    Q_OBJECT
public:
    explicit HeaderTableDialog(const PrintSettings& s, QWidget* parent = nullptr);
    const PrintSettings& settings() const { return s_; }
    HeaderTableGrid* grid() const { return grid_; }
    QSpinBox* rowsEdit() const { return rows_; }
    QSpinBox* columnsEdit() const { return columns_; }
    QDoubleSpinBox* rowHeightEdit() const { return height_; }
    QCheckBox* gridLinesBox() const { return lines_; }

    void accept() override;

private:
    void reshape();

    PrintSettings s_;
    QSpinBox* rows_;
    QSpinBox* columns_;
    QDoubleSpinBox* height_;
    QCheckBox* lines_;
    HeaderTableGrid* grid_;
};

}  // namespace sondara::gui
