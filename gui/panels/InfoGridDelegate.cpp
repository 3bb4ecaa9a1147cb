#include "gui/panels/InfoGridDelegate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTimeEdit>

#include "core/model/NameLists.h"
#include "gui/app/Translation.h"
#include "gui/panels/DateLineEdit.h"

namespace sondara::gui {

namespace {
const char* kInitialText = "sondaraInitialText";
}  // namespace

InfoGridDelegate::InfoGridDelegate(GridTable table, QObject* parent)
    : QStyledItemDelegate(parent), table_(table) {}

CellEditor InfoGridDelegate::editorOf(int column) const {
    const auto& cols = GridColumns(table_);
    return (column >= 0 && column < static_cast<int>(cols.size()))
               ? cols[static_cast<size_t>(column)].editor
               : CellEditor::None;
}

QWidget* InfoGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
    const auto& cols = GridColumns(table_);
    const int column = index.column();
    QWidget* w = nullptr;
    switch (editorOf(column)) {
        case CellEditor::None:
            return nullptr;
        case CellEditor::Text: {
            auto* e = new QLineEdit(parent);
            // the stored field keeps bytes; a character is at least one of them
            e->setMaxLength(cols[static_cast<size_t>(column)].maxBytes);
            w = e;
            break;
        }
        case CellEditor::Integer: {
            auto* e = new QSpinBox(parent);
            e->setRange(0, 32767);
            e->setButtonSymbols(QAbstractSpinBox::NoButtons);
            w = e;
            break;
        }
        case CellEditor::Date:
            // the date is read as typed, never section by section
            w = new DateLineEdit(parent);
            break;
        case CellEditor::Time: {
            auto* e = new QTimeEdit(parent);
            e->setDisplayFormat("HH:mm:ss");
            w = e;
            break;
        }
        case CellEditor::PileType:
        case CellEditor::Class: {
            auto* e = new QComboBox(parent);
            const bool pileType = editorOf(column) == CellEditor::PileType;
            e->setEditable(pileType);
            // the names in the window's language, each with the stored name it means
            for (const std::string& n : (pileType ? PileTypeNames() : ClassNames()).utf8)
                e->addItem(trCore(n), QString::fromStdString(n));
            if (pileType) e->lineEdit()->setMaxLength(49);
            w = e;
            break;
        }
    }
    w->setAccessibleName(trCore(std::string(cols[static_cast<size_t>(column)].title)));
    return w;
}

void InfoGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* e = qobject_cast<QLineEdit*>(editor)) {
        e->setText(text);
    } else if (auto* e = qobject_cast<QSpinBox*>(editor)) {
        e->setValue(text.toInt());
    } else if (auto* e = qobject_cast<QTimeEdit*>(editor)) {
        GridTime t;
        ParseGridTime(text.toStdString(), t);
        e->setTime(QTime(std::min(t.hour, 23), t.minute, t.second));
    } else if (auto* e = qobject_cast<QComboBox*>(editor)) {
        const int i = e->findData(text);
        if (i >= 0)
            e->setCurrentIndex(i);
        else if (e->isEditable())
            e->setEditText(text);
    }
    editor->setProperty(kInitialText, editorText(editor));
}

QString InfoGridDelegate::editorText(QWidget* editor) {
    if (auto* e = qobject_cast<QLineEdit*>(editor)) return e->text();
    if (auto* e = qobject_cast<QSpinBox*>(editor)) return QString::number(e->value());
    if (auto* e = qobject_cast<QTimeEdit*>(editor)) return e->time().toString("HH:mm:ss");
    if (auto* e = qobject_cast<QComboBox*>(editor)) {
        // a chosen (or typed) entry of the list is stored by its Chinese name
        const int i = e->findText(e->currentText());
        return i >= 0 ? e->itemData(i).toString() : e->currentText();
    }
    return {};
}

void InfoGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    const QString text = editorText(editor);
    if (text == editor->property(kInitialText).toString()) return;  // closed without a change
    if (auto* e = qobject_cast<DateLineEdit*>(editor); e && !e->typedDate()) {
        // refused, and said so: the cell keeps its date
        QMessageBox::warning(editor->window(), QString(), trCore(kMsgBadDate));
        return;
    }
    model->setData(index, text, Qt::EditRole);
}

}  // namespace sondara::gui
