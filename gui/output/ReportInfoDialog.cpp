#include "gui/output/ReportInfoDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/app/QtPrompter.h"
#include "gui/app/Translation.h"
#include "gui/output/HistoryComboBox.h"
#include "gui/panels/DateLineEdit.h"

namespace sondara::gui {

namespace {

ReportDate fromQDate(const QDate& d) {
    return {d.year(), d.month(), d.day()};
}

// The years the dialog's record keeps.
DateLineEdit* dateEdit(QWidget* parent) {
    return new DateLineEdit(parent, 1971, 2037);
}
GridDate gridDate(const ReportDate& d) {
    // a remembered day beyond its month (the record keeps 1..31) shows as the month's last
    const int last = DaysInMonth(d.year, d.month);
    return {d.year, d.month, last > 0 ? std::min(d.day, last) : d.day};
}
ReportDate reportDate(const DateLineEdit* e, const ReportDate& otherwise) {
    const std::optional<TypedDate> t = e->typedDate();
    return t ? ReportDate{t->date.year, t->date.month, t->date.day} : otherwise;
}

}  // namespace

ReportInfoDialog::ReportInfoDialog(const QString& projectName, const QString& testingUnit,
                                   int pileCount, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QObject::tr("工程信息"));
    auto* v = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    v->addLayout(grid);
    int row = 0, col = 0;
    // Two columns of label + field, in the order of the form.
    const auto place = [&](const QString& caption, QWidget* w) {
        auto* label = new QLabel(QObject::tr("%1：").arg(caption), this);
        label->setBuddy(w);
        w->setAccessibleName(caption);
        grid->addWidget(label, row, col * 2);
        grid->addWidget(w, row, col * 2 + 1);
        if (++col == 2) {
            col = 0;
            ++row;
        }
    };
    const auto& fields = ReportTextFields();
    QStringList pileTypes;
    for (const char* t : kReportPileTypes) pileTypes << QString::fromUtf8(t);
    const auto combo = [&](int index) {
        const QString name = QString::fromUtf8(fields[static_cast<size_t>(index)].name);
        auto* c = new HistoryComboBox("Report/" + name,
                                      name == "桩基类型" ? pileTypes : QStringList{}, this);
        c->setMinimumWidth(220);
        combos_.push_back(c);
        place(trCore(name.toStdString()), c);
    };
    for (int i = 0; i < 9; ++i) combo(i);  // 报告编号 .. 委托单位
    strength_ = new QComboBox(this);
    for (const char* s : kStrengthClasses) strength_->addItem(s);
    place(QObject::tr("强度等级"), strength_);
    casting_ = dateEdit(this);
    place(QObject::tr("浇筑日期"), casting_);
    combo(9);  // 桩基类型
    diameter_ = new QSpinBox(this);
    diameter_->setRange(0, 99999);
    diameter_->setSuffix(" mm");
    place(QObject::tr("桩径"), diameter_);
    piles_ = new QSpinBox(this);
    piles_->setRange(0, 999999);
    place(QObject::tr("总桩数"), piles_);
    testDate_ = dateEdit(this);
    place(QObject::tr("检测日期"), testDate_);
    combo(10);  // 检测单位
    combo(11);  // 检测人员
    if (col != 0) ++row;
    geology_ = new QPlainTextEdit(this);
    geology_->setTabChangesFocus(true);
    geology_->setFixedHeight(90);
    auto* gl = new QLabel(QObject::tr("地质概况："), this);
    gl->setBuddy(geology_);
    geology_->setAccessibleName(QObject::tr("地质概况"));
    grid->addWidget(gl, row, 0, Qt::AlignTop);
    grid->addWidget(geology_, row, 1, 1, 3);
    ++row;
    figures_ = new QCheckBox(QObject::tr("生成附图"), this);
    grid->addWidget(figures_, row, 1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QObject::tr("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QObject::tr("取消"), QDialogButtonBox::RejectRole);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ReportInfoDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Opening: the remembered record (or the controls' values, written as the record),
    // then what the caller passes.
    ReportInfoRecord record;
    if (loadReportInfoRecord(record)) {
        info_.applyRecord(record);
    } else {
        info_.castingDate = fromQDate(QDate::currentDate());
        info_.testDate = info_.castingDate;
        info_.castingDate = ClampRecordDate(info_.castingDate);
        info_.testDate = ClampRecordDate(info_.testDate);
        QtPrompter prompter(this);
        saveReportInfoRecord(info_.record(), &prompter);
    }
    show(info_);
    if (!projectName.isEmpty()) combos_[1]->setTextRemembered(projectName);
    if (!testingUnit.isEmpty()) combos_[10]->setTextRemembered(testingUnit);
    piles_->setValue(pileCount);
}

void ReportInfoDialog::show(const ReportInfo& i) {
    // The texts are the combo boxes' own (their histories); the record holds the rest.
    strength_->setCurrentIndex(i.strengthClass);
    casting_->setDate(gridDate(i.castingDate));
    diameter_->setValue(i.pileDiameter);
    piles_->setValue(i.totalPiles);
    testDate_->setDate(gridDate(i.testDate));
    geology_->setPlainText(QString::fromStdString(i.geology));
    figures_->setChecked(i.produceFigures);
}

ReportInfo ReportInfoDialog::collect() const {
    ReportInfo i;
    const auto& fields = ReportTextFields();
    for (size_t k = 0; k < fields.size(); ++k)
        i.*fields[k].member = combos_[k]->currentText().trimmed().toStdString();
    i.strengthClass = strength_->currentIndex();
    i.castingDate = reportDate(casting_, info_.castingDate);
    i.pileDiameter = diameter_->value();
    i.totalPiles = piles_->value();
    i.testDate = reportDate(testDate_, info_.testDate);
    // The record keeps 260 bytes of it; the report gets what is kept.
    i.geology = CutGeology(geology_->toPlainText().toStdString());
    i.produceFigures = figures_->isChecked();
    return i;
}

void ReportInfoDialog::accept() {
    // A date typed in any common form is taken as typed; anything else is refused and
    // the dialog stays open.
    for (DateLineEdit* e : {casting_, testDate_})
        if (!e->readOrComplain()) return;
    info_ = collect();
    QtPrompter prompter(this);
    saveReportInfoRecord(info_.record(), &prompter);
    for (HistoryComboBox* c : combos_) c->remember();
    QDialog::accept();
}

}  // namespace sondara::gui
