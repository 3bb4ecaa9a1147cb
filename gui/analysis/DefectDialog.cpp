#include "gui/analysis/DefectDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "core/analysis/MarkCommandRules.h"
#include "core/model/NameLists.h"
#include "gui/app/UserSettings.h"

namespace sondara::gui {

namespace {
constexpr const char* kHistoryKey = "DefectDialog/names";

QLabel* buddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    QString plain = text;
    buddy->setAccessibleName(plain.remove('&'));
    return l;
}
}  // namespace

DefectDialog::DefectDialog(const QStringList& choices, const QString& depthText, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QObject::tr("缺陷设置"));
    setObjectName("DefectDialog");
    auto* v = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    name_ = new QComboBox(this);
    name_->setEditable(true);
    name_->setInsertPolicy(QComboBox::NoInsert);
    // a standard name in the window's language, the stored name as its data; a name
    // the user typed once (the history) as typed
    for (const QString& c : choices)
        name_->addItem(QString::fromStdString(ShownName(DefectNames(), c.toStdString())), c);
    name_->setCurrentIndex(-1);
    name_->setEditText(QString());
    name_->setMinimumContentsLength(16);
    position_ = new QLineEdit(depthText, this);
    position_->setReadOnly(true);
    // Looks read-only, as the dialog's other fixed texts do: the window's grey behind
    // the text, so that nobody types into it in vain.
    QPalette grey = position_->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
        grey.setColor(g, QPalette::Base, grey.color(g, QPalette::Window));
    position_->setPalette(grey);
    position_->setFocusPolicy(Qt::TabFocus);  // read by keyboard, not typed into
    remark_ = new QPlainTextEdit(this);
    remark_->setTabChangesFocus(true);
    remark_->setMinimumHeight(60);
    form->addRow(buddyLabel(QObject::tr("缺陷名称(&N)"), name_, this), name_);
    form->addRow(buddyLabel(QObject::tr("位置(&P)"), position_, this), position_);
    form->addRow(buddyLabel(QObject::tr("备注信息(&R)"), remark_, this), remark_);
    v->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QObject::tr("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QObject::tr("取消"), QDialogButtonBox::RejectRole);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    name_->setFocus();
}

void DefectDialog::setName(const QString& name) {
    name_->setEditText(QString::fromStdString(ShownName(DefectNames(), name.toStdString())));
}
void DefectDialog::setRemark(const QString& remark) {
    remark_->setPlainText(remark);
}
QString DefectDialog::name() const {
    // what is stored: a standard name in Chinese whichever language shows it
    const QString shown = name_->currentText();
    const int i = name_->findText(shown);
    if (i >= 0) return name_->itemData(i).toString();
    return QString::fromStdString(SourceName(DefectNames(), shown.toStdString()));
}
QString DefectDialog::remark() const {
    return remark_->toPlainText();
}

std::vector<std::string> DefectDialog::loadNameHistory() {
    std::vector<std::string> out;
    // The settings file is outside bytes: take at most the list's own bound.
    const QStringList names = userSettings().value(kHistoryKey).toStringList();
    for (const QString& n : names) {
        if (static_cast<int>(out.size()) >= kDefectNameHistory) break;
        out.push_back(n.left(100).toStdString());
    }
    return out;
}

QStringList DefectDialog::nameChoices() {
    QStringList out;
    for (const std::string& s : DefectNameChoices(loadNameHistory()))
        out << QString::fromStdString(s);
    return out;
}

void DefectDialog::rememberName(const QString& name) {
    std::vector<std::string> h = loadNameHistory();
    RememberDefectName(h, name.toStdString());
    QStringList list;
    for (const std::string& s : h) list << QString::fromStdString(s);
    QSettings s = userSettings();
    s.setValue(kHistoryKey, list);
}

}  // namespace sondara::gui
