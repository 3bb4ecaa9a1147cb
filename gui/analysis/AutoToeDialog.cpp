#include "gui/analysis/AutoToeDialog.h"

#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app/Translation.h"

namespace sondara::gui {

AutoToeDialog::AutoToeDialog(const AutoToePrompt& prompt, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QObject::tr("自动桩底"));
    setObjectName("AutoToeDialog");
    auto* v = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    edit_ = new QLineEdit(QString::fromStdString(prompt.text), this);
    if (prompt.asksLength) {
        auto* val = new QDoubleValidator(0.0, 100000.0, 6, edit_);
        val->setNotation(QDoubleValidator::StandardNotation);
        val->setLocale(QLocale::c());
        edit_->setValidator(val);
    } else {
        edit_->setValidator(new QIntValidator(0, 32767, edit_));
    }
    const QString label = trCore(prompt.label);
    edit_->setAccessibleName(label);
    auto* l = new QLabel(label, this);
    l->setBuddy(edit_);
    form->addRow(l, edit_);
    v->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QObject::tr("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QObject::tr("取消"), QDialogButtonBox::RejectRole);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    edit_->selectAll();
    edit_->setFocus();
}

bool AutoToeDialog::value(double& out) const {
    bool ok = false;
    out = QLocale::c().toDouble(edit_->text().trimmed(), &ok);
    return ok;
}

}  // namespace sondara::gui
