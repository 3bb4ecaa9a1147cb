#include "gui/panels/EditSettingsDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/panels/DisplaySettingsForm.h"

namespace sondara::gui {

EditSettingsDialog::EditSettingsDialog(PointEditScope scope, QWidget* parent, int recoverySeconds)
    : QDialog(parent) {
    setObjectName("EditSettingsDialog");
    setWindowTitle(QString::fromUtf8(kEditSettingsTitle));
    setAccessibleName(windowTitle());
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));

    auto* box = new QGroupBox(QString::fromUtf8(kEditScopeGroup), this);
    single_ = new QRadioButton(QString::fromUtf8(kEditScopeSingle), box);
    multiple_ = new QRadioButton(QString::fromUtf8(kEditScopeMultiple), box);
    auto* group = new QButtonGroup(this);
    group->addButton(single_);
    group->addButton(multiple_);
    (scope == PointEditScope::Multiple ? multiple_ : single_)->setChecked(true);
    auto* note = new QLabel(QString::fromUtf8(kEditScopeNote), box);
    auto* singleNote = new QLabel(QString::fromUtf8(kEditScopeSingleNote), box);
    auto* multipleNote = new QLabel(QString::fromUtf8(kEditScopeMultipleNote), box);
    auto* radios = new QHBoxLayout;
    radios->addWidget(single_);
    radios->addWidget(multiple_);
    radios->addStretch(1);
    auto* inner = new QVBoxLayout(box);
    inner->addLayout(radios);
    inner->addWidget(note);
    inner->addWidget(singleNote);
    inner->addWidget(multipleNote);

    auto* recoveryLabel = new QLabel("恢复文件间隔(&R)（秒）：", this);
    recovery_ = new QSpinBox(this);
    recovery_->setRange(1, 24 * 3600);
    recovery_->setValue(recoverySeconds);
    recovery_->setAccessibleName("恢复文件间隔（秒）");
    recoveryLabel->setBuddy(recovery_);
    auto* recoveryRow = new QHBoxLayout;
    recoveryRow->addWidget(recoveryLabel);
    recoveryRow->addWidget(recovery_);
    recoveryRow->addStretch(1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("确定", QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton("取消", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* root = new QVBoxLayout(this);
    root->addWidget(box);
    root->addLayout(recoveryRow);
    root->addWidget(buttons);
}

int EditSettingsDialog::recoverySeconds() const {
    return recovery_->value();
}

PointEditScope EditSettingsDialog::scope() const {
    return multiple_->isChecked() ? PointEditScope::Multiple : PointEditScope::Single;
}

}  // namespace sondara::gui
