#include "gui/processing/StepDockForm.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

#include "gui/app/Translation.h"
#include "gui/processing/StepFieldControls.h"

namespace sondara::gui {

namespace {
QString qs(std::string_view s) {  // a caption of the core, in the window's language
    return trCore(std::string(s));
}
}  // namespace

StepDockForm::StepDockForm(ProcessKind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    const StepFormSpec& spec = StepFormSpecOf(kind);
    setObjectName("StepDockForm");
    setAccessibleName(qs(spec.title));
    controls_ = new StepFieldControls(kind, true, this);
    // Stretch factors instead of fixed widths: every control keeps its share of the
    // bar whatever its width.
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    // Captions never shrink below their text; the edits take a share of what is left.
    auto fixed = [](QWidget* w) { w->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed); };
    auto addRadios = [&] {
        for (QRadioButton* r : controls_->radios()) {
            fixed(r);
            row->addWidget(r, 2);
        }
    };
    if (!spec.radiosAfterFields) addRadios();
    for (const StepFieldControls::Field& f : controls_->fields()) {
        const bool range = f.spec.field == FormField::Position || f.spec.field == FormField::End;
        if (spec.radiosAfterFields && range && f.spec.field == FormField::Position) addRadios();
        fixed(f.label);
        f.edit->setMinimumWidth(f.edit->fontMetrics().horizontalAdvance("-00.000") + 8);
        row->addWidget(f.label, 2);
        row->addWidget(f.edit, 3);
        f.edit->installEventFilter(this);
        // Enter in a field applies the form, as 确定 does.
        connect(f.edit, &QLineEdit::returnPressed, this, [this] { ok_->click(); });
    }
    ok_ = new QPushButton(QObject::tr("确定"), this);
    cancel_ = new QPushButton(QObject::tr("取消"), this);
    row->addWidget(ok_, 2);
    row->addWidget(cancel_, 2);
    if (spec.hasPreview) {
        preview_ = new QPushButton(QObject::tr("预览"), this);
        row->addWidget(preview_, 2);
        connect(preview_, &QPushButton::clicked, this, [this] {
            StepFields f;
            if (controls_->readChecked(f, PreviewChecksFirst(kind_) ? ref_ : nullptr, false))
                emit previewRequested(f);
        });
    }
    switch_ = new QToolButton(this);
    switch_->setIcon(style()->standardIcon(QStyle::SP_TitleBarUnshadeButton));
    switch_->setToolTip(qs(kPopupTooltip));
    switch_->setAccessibleName(qs(kPopupTooltip));
    switch_->setFocusPolicy(Qt::StrongFocus);
    row->addWidget(switch_, 1);
    row->addStretch(1);
    setFixedHeight(sizeHint().height());

    connect(controls_, &StepFieldControls::choiceChanged, this, &StepDockForm::choiceChanged);
    connect(ok_, &QPushButton::clicked, this, [this] {
        StepFields f;
        if (controls_->readChecked(f, ref_, false)) emit finished(Accepted);
    });
    connect(cancel_, &QPushButton::clicked, this, [this] { emit finished(Cancelled); });
    // Esc anywhere in the form cancels it, as 取消 does.
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esc->setContext(Qt::WidgetWithChildrenShortcut);
    connect(esc, &QShortcut::activated, cancel_, &QPushButton::click);
    connect(switch_, &QToolButton::clicked, this, [this] {
        StepFields f;
        if (readFields(f)) emit finished(Switch);
    });
}

void StepDockForm::setFields(const StepFields& f) {
    controls_->setFields(f);
}

void StepDockForm::setSwitchEnabled(bool on) {
    switch_->setEnabled(on);
}

bool StepDockForm::readFields(StepFields& out) {
    return controls_->readFields(out);
}

bool StepDockForm::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::FocusOut) emit fieldLeft();
    // Esc typed into a field, should the shortcut not have taken it (another window
    // active): cancel all the same.
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        cancel_->click();
        return true;
    }
    return QWidget::eventFilter(o, e);
}

}  // namespace sondara::gui
