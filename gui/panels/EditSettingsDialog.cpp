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
#include "gui/app/Translation.h"

namespace sondara::gui {

EditSettingsDialog::EditSettingsDialog(PointEditScope scope, QWidget* parent, int recoverySeconds)
    : QDialog(parent) {
    setObjectName("EditSettingsDialog");
    setWindowTitle(trCore(kEditSettingsTitle));
    setAccessibleName(windowTitle());
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));

    auto* box = new QGroupBox(trCore(kEditScopeGroup), this);
    single_ = new QRadioButton(trCore(kEditScopeSingle), box);
    multiple_ = new QRadioButton(trCore(kEditScopeMultiple), box);
    auto* group = new QButtonGroup(this);
    group->addButton(single_);
    group->addButton(multiple_);
    (scope == PointEditScope::Multiple ? multiple_ : single_)->setChecked(true);
    auto* note = new QLabel(trCore(kEditScopeNote), box);
    auto* singleNote = new QLabel(trCore(kEditScopeSingleNote), box);
    auto* multipleNote = new QLabel(trCore(kEditScopeMultipleNote), box);
    auto* radios = new QHBoxLayout;
    radios->addWidget(single_);
    radios->addWidget(multiple_);
    radios->addStretch(1);
    auto* inner = new QVBoxLayout(box);
    inner->addLayout(radios);
    inner->addWidget(note);
    inner->addWidget(singleNote);
    inner->addWidget(multipleNote);

    auto* recoveryLabel = new QLabel(QObject::tr("恢复文件间隔(&R)（秒）："), this);
    recovery_ = new QSpinBox(this);
    recovery_->setRange(1, 24 * 3600);
    recovery_->setValue(recoverySeconds);
    recovery_->setAccessibleName(QObject::tr("恢复文件间隔（秒）"));
    recoveryLabel->setBuddy(recovery_);
    auto* recoveryRow = new QHBoxLayout;
    recoveryRow->addWidget(recoveryLabel);
    recoveryRow->addWidget(recovery_);
    recoveryRow->addStretch(1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QObject::tr("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QObject::tr("取消"), QDialogButtonBox::RejectRole);
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
