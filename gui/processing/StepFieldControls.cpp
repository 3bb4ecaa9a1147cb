#include "gui/processing/StepFieldControls.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>

#include "gui/app/Translation.h"

namespace sondara::gui {

namespace {
QString qs(std::string_view s) {  // a caption of the core, in the window's language
    return trCore(std::string(s));
}
}  // namespace

void ShowProcessingMessage(QWidget* parent, const std::string& text) {
    QMessageBox::warning(parent, QString(), trCore(text));
}

StepFieldControls::StepFieldControls(ProcessKind kind, bool docked, QWidget* parent)
    : QObject(parent), kind_(kind), parent_(parent) {
    const StepFormSpec& spec = StepFormSpecOf(kind);
    group_ = new QButtonGroup(this);
    const auto& captions = docked ? spec.dockRadios : spec.popupRadios;
    for (size_t i = 0; i < captions.size(); ++i) {
        auto* r = new QRadioButton(qs(captions[i]), parent);
        r->setAccessibleName(r->text());
        group_->addButton(r, static_cast<int>(i));
        radios_.push_back(r);
    }
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
        updateVisibility();
        emit choiceChanged(id);
    });
    for (const FormFieldSpec& fs : spec.fields) {
        Field f{fs, new QLabel(qs(docked ? fs.dockCaption : fs.popupCaption), parent),
                new QLineEdit(parent)};
        f.label->setBuddy(f.edit);
        f.edit->setAccessibleName(f.label->text());
        f.edit->setObjectName(QString("field_%1").arg(static_cast<int>(fs.field)));
        fields_.push_back(f);
    }
}

QLineEdit* StepFieldControls::edit(FormField f) const {
    for (const Field& x : fields_)
        if (x.spec.field == f) return x.edit;
    return nullptr;
}

void StepFieldControls::setFields(const StepFields& f) {
    shown_ = f;
    if (f.choice >= 0 && f.choice < static_cast<int>(radios_.size()))
        radios_[static_cast<size_t>(f.choice)]->setChecked(true);
    for (const Field& x : fields_)
        x.edit->setText(QString::fromStdString(FormatFieldValue(f.value(x.spec.field))));
    updateVisibility();
}

int StepFieldControls::choice() const {
    const int id = group_->checkedId();
    return id >= 0 ? id : shown_.choice;
}

int StepFieldControls::parse(StepFields& out, std::string* why) const {
    out = shown_;
    out.choice = choice();
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const Field& x = fields_[i];
        double v = 0;
        if (auto msg = ParseFieldValue(x.edit->text().toStdString(), x.spec.integer, v)) {
            if (why) *why = *msg;
            return static_cast<int>(i);
        }
        out.setValue(x.spec.field, v);
    }
    return -1;
}

bool StepFieldControls::readFields(StepFields& out) {
    std::string why;
    const int bad = parse(out, &why);
    if (bad < 0) return true;
    ShowProcessingMessage(parent_, why);
    QLineEdit* e = fields_[static_cast<std::size_t>(bad)].edit;
    e->setFocus();
    e->selectAll();
    return false;
}

bool StepFieldControls::tryReadFields(StepFields& out) const {
    return parse(out, nullptr) < 0;
}

StepFields StepFieldControls::readSilently() const {
    StepFields out = shown_;
    out.choice = choice();
    for (const Field& x : fields_) {
        double v = 0;
        if (!ParseFieldValue(x.edit->text().toStdString(), x.spec.integer, v))
            out.setValue(x.spec.field, v);
    }
    return out;
}

bool StepFieldControls::readChecked(StepFields& out, const TestPoint* ref, bool popup) {
    if (!readFields(out)) return false;
    if (ref) {
        if (auto msg = CheckStepFields(kind_, out, *ref, popup)) {
            ShowProcessingMessage(parent_, *msg);
            return false;
        }
    }
    return true;
}

void StepFieldControls::updateVisibility() {
    const int c = choice();
    for (const Field& x : fields_) {
        const bool show = FieldVisible(kind_, x.spec.field, c);
        x.label->setVisible(show);
        x.edit->setVisible(show);
    }
}

}  // namespace sondara::gui
