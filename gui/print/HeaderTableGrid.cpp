#include "gui/print/HeaderTableGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "core/model/NameLists.h"

namespace sondara::gui {

HeaderTableGrid::HeaderTableGrid(PrintSettings& settings, QWidget* parent)
    : QWidget(parent), s_(settings) {
    setMinimumSize(360, 200);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QObject::tr("表头预览"));
    combo_ = new QComboBox(this);
    combo_->setEditable(true);
    combo_->setAccessibleName(QObject::tr("表头项"));
    // the printed table's captions, in the window's language as the pages print them
    for (int i = 0; i < ReportItemNames().count(); ++i)
        combo_->addItem(QString::fromStdString(ShownName(ReportItemNames(), i)));
    combo_->hide();
    combo_->installEventFilter(this);
    combo_->lineEdit()->installEventFilter(this);
    connect(combo_, &QComboBox::activated, this, [this](int) { commitEdit(); });
}

void HeaderTableGrid::setShape(int rows, int columns, bool gridLines) {
    rows_ = std::clamp(rows, 1, kHeaderTableMaxRows);
    columns_ = std::clamp(columns, 1, kHeaderTableMaxColumns);
    gridLines_ = gridLines;
    if (editing_ >= 0 && (editing_ / 10 >= rows_ || editing_ % 10 >= columns_)) commitEdit();
    update();
}

QRect HeaderTableGrid::cellRect(int row, int column) const {
    const double h = height() / 10.0;
    const double w = static_cast<double>(width()) / columns_;
    return QRect(
        QPoint(static_cast<int>(w * column), static_cast<int>(h * row)),
        QPoint(static_cast<int>(w * (column + 1)) - 1, static_cast<int>(h * (row + 1)) - 1));
}

void HeaderTableGrid::editCell(int row, int column) {
    commitEdit();
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return;
    editing_ = row * 10 + column;
    const int kind = s_.cellKinds[static_cast<size_t>(editing_)];
    if (kind < ReportItemNames().count()) {
        combo_->setCurrentIndex(kind);
    } else {
        combo_->setCurrentIndex(-1);
        combo_->setEditText(QString::fromStdString(HeaderTableCellCaption(s_, editing_)));
    }
    combo_->setGeometry(cellRect(row, column));
    combo_->show();
    combo_->setFocus();
    update();
}

void HeaderTableGrid::commitEdit() {
    if (editing_ < 0) return;
    const int cell = editing_;
    editing_ = -1;
    SetHeaderTableCellFromEntry(s_, cell, combo_->currentText().toStdString());
    combo_->hide();
    update();
}

void HeaderTableGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    for (int r = 0; r < rows_; ++r) {
        for (int c = 0; c < columns_; ++c) {
            const QRect cell = cellRect(r, c);
            if (gridLines_) {
                p.setPen(Qt::black);
                p.drawRect(cell);
            }
            p.setPen(Qt::black);
            p.drawText(cell.adjusted(4, 0, -2, 0),
                       Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                       QString::fromStdString(HeaderTableCellCaption(s_, r * 10 + c)));
        }
    }
    // the outline of the used rows
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(QRect(cellRect(0, 0).topLeft(), cellRect(rows_ - 1, columns_ - 1).bottomRight()));
}

void HeaderTableGrid::mousePressEvent(QMouseEvent* e) {
    const int row = static_cast<int>(e->position().y() * 10 / std::max(1, height()));
    const int column = static_cast<int>(e->position().x() * columns_ / std::max(1, width()));
    if (row < rows_ && column < columns_)
        editCell(row, column);
    else
        commitEdit();
}

bool HeaderTableGrid::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusOut && editing_ >= 0 &&
        static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason) {
        // Decided once the focus has landed: moving between the drop-down's own parts
        // is not leaving the editor.
        QTimer::singleShot(0, this, [this] {
            QWidget* now = QApplication::focusWidget();
            if (editing_ >= 0 && (!now || (now != combo_ && !combo_->isAncestorOf(now))))
                commitEdit();
        });
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace sondara::gui
