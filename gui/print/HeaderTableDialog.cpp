#include "gui/print/HeaderTableDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/print/HeaderTableGrid.h"

namespace sondara::gui {

namespace {
template <typename Edit>
void labelled(QGridLayout* g, int row, int col, const QString& caption, Edit* edit) {
    auto* label = new QLabel(caption);
    label->setBuddy(edit);
    edit->setAccessibleName(QString(caption).remove("&").remove(QObject::tr("：")));
    g->addWidget(label, row, col);
    g->addWidget(edit, row, col + 1);
}
}  // namespace

HeaderTableDialog::HeaderTableDialog(const PrintSettings& s, QWidget* parent)
    : QDialog(parent), s_(s) {
    setWindowTitle(QObject::tr("定制表头"));
    auto* top = new QGridLayout;
    rows_ = new QSpinBox;
    rows_->setRange(1, kHeaderTableMaxRows);
    rows_->setValue(s.tableRows);
    columns_ = new QSpinBox;
    columns_->setRange(1, kHeaderTableMaxColumns);
    columns_->setValue(s.tableColumns);
    height_ = new QDoubleSpinBox;
    height_->setRange(0.0, 10.0);
    height_->setSingleStep(0.1);
    height_->setDecimals(1);
    height_->setValue(s.tableRowHeightCm);
    lines_ = new QCheckBox(QObject::tr("表格线(&L)"));
    lines_->setChecked(s.tableGridLines != 0);
    labelled(top, 0, 0, QObject::tr("行数(&R)："), rows_);
    labelled(top, 0, 2, QObject::tr("列数(&C)："), columns_);
    labelled(top, 1, 0, QObject::tr("每行高度（厘米）(&H)："), height_);
    top->addWidget(lines_, 1, 2, 1, 2);

    grid_ = new HeaderTableGrid(s_, this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QObject::tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QObject::tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addWidget(buttons);

    connect(rows_, &QSpinBox::valueChanged, this, &HeaderTableDialog::reshape);
    connect(columns_, &QSpinBox::valueChanged, this, &HeaderTableDialog::reshape);
    connect(lines_, &QCheckBox::toggled, this, &HeaderTableDialog::reshape);
    reshape();
    resize(520, 360);
}

void HeaderTableDialog::reshape() {
    grid_->setShape(rows_->value(), columns_->value(), lines_->isChecked());
}

void HeaderTableDialog::accept() {
    grid_->commitEdit();
    s_.tableRows = rows_->value();
    s_.tableColumns = columns_->value();
    s_.tableRowHeightCm = static_cast<float>(height_->value());
    s_.tableGridLines = lines_->isChecked() ? 1 : 0;
    s_.clampToRanges();
    QDialog::accept();
}

}  // namespace sondara::gui
