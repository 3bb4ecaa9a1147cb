#pragma once
// The in-place editors of the information tables, chosen by the column: a text line
// with its length limit, a whole number, a date picker, a time editor, a pile-type
// choice that takes free text, and the class choice. An editor that is closed without
// a change writes nothing, so opening a cell never adds an undo step.
#include <QStyledItemDelegate>

#include "core/panels/InfoGridTables.h"

namespace sondara::gui {

class InfoGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit InfoGridDelegate(GridTable table, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

    // The text an editor holds, as the cell edit rules read it.
    static QString editorText(QWidget* editor);

private:
    CellEditor editorOf(int column) const;
    GridTable table_;
};

}  // namespace sondara::gui
