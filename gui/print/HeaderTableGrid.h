#pragma once
// The preview of the header table in "定制表头", which doubles as its cell editor: 10
// equal rows of which the first `rows` are used, the columns in equal parts, each
// cell showing "<item>" or its free text. A click places an editable drop-down of the
// five items over the cell; choosing an entry makes the cell that item, typing makes
// it free text. The cell is stored when the drop-down loses the focus or another cell
// is clicked.
#include <QWidget>

#include "core/output/PrintSettings.h"

class QComboBox;

namespace sondara::gui {

class HeaderTableGrid : public QWidget {
    Q_OBJECT
public:
    explicit HeaderTableGrid(PrintSettings& settings, QWidget* parent = nullptr);

    // Shows rows x columns with or without grid lines (the edits' current values).
    void setShape(int rows, int columns, bool gridLines);
    // Starts editing cell (row, column) as a click on it does.
    void editCell(int row, int column);
    // Stores the cell being edited, if any.
    void commitEdit();
    int editingCell() const { return editing_; }
    QComboBox* editor() const { return combo_; }
    QRect cellRect(int row, int column) const;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    PrintSettings& s_;
    int rows_ = 2;
    int columns_ = 2;
    bool gridLines_ = false;
    int editing_ = -1;
    QComboBox* combo_ = nullptr;
};

}  // namespace sondara::gui
