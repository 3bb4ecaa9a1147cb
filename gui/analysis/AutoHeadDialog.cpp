#include "gui/analysis/AutoHeadDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace sondara::gui {

AutoHeadDialog::AutoHeadDialog(const AutoHeadSettings& s, QWidget* parent)
    : QDialog(parent), in_(s) {
    setWindowTitle(QObject::tr("自动桩头设置"));
    setObjectName("AutoHeadDialog");
    auto* v = new QVBoxLayout(this);
    auto* group = new QGroupBox(QObject::tr("桩头取值"), this);
    auto* gl = new QHBoxLayout(group);
    // The captions are the dialog's own words, without mnemonics: the keyboard
    // reaches every control by the tab order set below.
    positive_ = new QRadioButton(QObject::tr("正向"), group);
    negative_ = new QRadioButton(QObject::tr("负向"), group);
    positive_->setAccessibleName(QObject::tr("正向"));
    negative_->setAccessibleName(QObject::tr("负向"));
    gl->addWidget(positive_);
    gl->addWidget(negative_);
    v->addWidget(group);

    auto* form = new QFormLayout;
    ignore_ = new QSpinBox(this);
    ignore_->setRange(0, 100);
    ignore_->setAccessibleName(QObject::tr("忽略点数"));
    ratio_ = new QSpinBox(this);
    ratio_->setRange(0, 100);
    ratio_->setAccessibleName(QObject::tr("起始比例"));
    auto* ignoreLabel = new QLabel(QObject::tr("忽略点数"), this);
    ignoreLabel->setBuddy(ignore_);
    auto* ratioLabel = new QLabel(QObject::tr("起始比例"), this);
    ratioLabel->setBuddy(ratio_);
    auto* ratioRow = new QHBoxLayout;
    ratioRow->addWidget(ratio_, 1);
    ratioRow->addWidget(new QLabel(QObject::tr("（0~100）"), this));
    form->addRow(ignoreLabel, ignore_);
    form->addRow(ratioLabel, ratioRow);
    v->addLayout(form);

    auto* buttons = new QDialogButtonBox(this);
    defaults_ = buttons->addButton(QObject::tr("缺省"), QDialogButtonBox::ResetRole);
    defaults_->setAccessibleName(QObject::tr("缺省"));
    QPushButton* ok = buttons->addButton(QObject::tr("确定"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QObject::tr("取消"), QDialogButtonBox::RejectRole);
    for (QPushButton* b : {ok, cancel}) b->setAccessibleName(b->text());
    setTabOrder(positive_, negative_);
    setTabOrder(negative_, ignore_);
    setTabOrder(ignore_, ratio_);
    setTabOrder(ratio_, defaults_);
    setTabOrder(defaults_, ok);
    setTabOrder(ok, cancel);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(defaults_, &QPushButton::clicked, this, [this] { show(AutoHeadSettings{}); });
    show(s);
}

void AutoHeadDialog::show(const AutoHeadSettings& s) {
    // A stored direction other than 0 and 1 checks neither button and is kept.
    positive_->setAutoExclusive(false);
    negative_->setAutoExclusive(false);
    positive_->setChecked(s.direction == 1);
    negative_->setChecked(s.direction == 0);
    positive_->setAutoExclusive(true);
    negative_->setAutoExclusive(true);
    in_.direction = s.direction;
    ignore_->setValue(s.ignorePoints);  // the spins hold the value to 0..100
    ratio_->setValue(s.startRatio);
}

AutoHeadSettings AutoHeadDialog::settings() const {
    AutoHeadSettings s;
    s.direction = positive_->isChecked() ? 1 : negative_->isChecked() ? 0 : in_.direction;
    s.ignorePoints = ignore_->value();
    s.startRatio = ratio_->value();
    return s;
}

}  // namespace sondara::gui
