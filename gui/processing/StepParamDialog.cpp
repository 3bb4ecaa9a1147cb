#include "gui/processing/StepParamDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/app/Translation.h"
#include "gui/processing/StepFieldControls.h"

namespace sondara::gui {

namespace {
QString qs(std::string_view s) {  // a caption of the core, in the window's language
    return trCore(std::string(s));
}
}  // namespace

StepParamDialog::StepParamDialog(ProcessKind kind, const StepFields& fields, const TestPoint& ref,
                                 bool dockDisabled, Preview preview, QWidget* parent)
    : QDialog(parent), kind_(kind), ref_(ref), previewFn_(std::move(preview)), fields_(fields) {
    const StepFormSpec& spec = StepFormSpecOf(kind);
    setWindowTitle(qs(spec.title));
    setAccessibleName(windowTitle());
    setObjectName("StepParamDialog");
    controls_ = new StepFieldControls(kind, false, this);

    auto* top = new QVBoxLayout(this);
    QGroupBox* radioBox = nullptr;
    if (!controls_->radios().empty()) {
        radioBox = new QGroupBox(qs(spec.radioGroup), this);
        auto* rl = new QVBoxLayout(radioBox);
        for (QRadioButton* r : controls_->radios()) {
            r->setParent(radioBox);
            rl->addWidget(r);
        }
    }
    // The shift window puts its range choice between the amounts and the range.
    auto* grid = new QGridLayout;
    auto* after = new QGridLayout;
    int row = 0, afterRow = 0;
    for (const StepFieldControls::Field& f : controls_->fields()) {
        const bool range = f.spec.field == FormField::Position || f.spec.field == FormField::End;
        if (spec.radiosAfterFields && range) {
            after->addWidget(f.label, afterRow, 0);
            after->addWidget(f.edit, afterRow++, 1);
        } else {
            grid->addWidget(f.label, row, 0);
            grid->addWidget(f.edit, row++, 1);
        }
    }
    if (radioBox && !spec.radiosAfterFields) top->addWidget(radioBox);
    top->addLayout(grid);
    if (radioBox && spec.radiosAfterFields) top->addWidget(radioBox);
    top->addLayout(after);

    auto* buttons = new QHBoxLayout;
    switch_ = new QToolButton(this);
    switch_->setIcon(style()->standardIcon(QStyle::SP_TitleBarShadeButton));
    switch_->setToolTip(qs(kDockTooltip));
    switch_->setAccessibleName(qs(kDockTooltip));
    switch_->setEnabled(!dockDisabled);
    switch_->setFocusPolicy(Qt::StrongFocus);
    ok_ = new QPushButton(QObject::tr("确定"), this);
    ok_->setDefault(true);
    cancel_ = new QPushButton(QObject::tr("取消"), this);
    buttons->addWidget(switch_);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    if (spec.hasPreview) {
        preview_ = new QPushButton(QObject::tr("预览"), this);
        buttons->addWidget(preview_);
        connect(preview_, &QPushButton::clicked, this, &StepParamDialog::runPreview);
    }
    top->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &StepParamDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &StepParamDialog::reject);
    connect(switch_, &QToolButton::clicked, this, &StepParamDialog::switchToDocked);

    controls_->setFields(fields_);
}

void StepParamDialog::accept() {
    StepFields f;
    if (!controls_->readChecked(f, &ref_, true)) return;
    fields_ = f;
    done(QDialog::Accepted);
}

void StepParamDialog::switchToDocked() {
    StepFields f;
    if (!controls_->readFields(f)) return;
    fields_ = f;
    done(kSwitch);
}

void StepParamDialog::runPreview() {
    StepFields f;
    if (!controls_->readChecked(f, PreviewChecksFirst(kind_) ? &ref_ : nullptr, true)) return;
    if (previewFn_) previewFn_(f);
}

}  // namespace sondara::gui
