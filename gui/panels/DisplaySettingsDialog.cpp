#include "gui/panels/DisplaySettingsDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/app/Translation.h"

namespace sondara::gui {

namespace {
int lastTab = 0;  // the tab shown last, for the whole run

QString qs(std::string_view s) {  // a caption of the core, in the window's language
    return trCore(std::string(s));
}
}  // namespace

DisplaySettingsDialog::DisplaySettingsDialog(const DisplayOptions& options, QWidget* parent)
    : QDialog(parent) {
    setObjectName("DisplaySettingsDialog");
    setWindowTitle(trCore(kDisplaySettingsTitle));
    setAccessibleName(windowTitle());
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));

    tabs_ = new QTabWidget(this);
    tabs_->addTab(buildOperationPage(), trCore(kOperationPageTitle));
    tabs_->addTab(buildGraphicPage(), trCore(kGraphicPageTitle));
    tabs_->setCurrentIndex(lastTab);

    defaults_ = new QPushButton(QObject::tr("默认"), this);
    auto* ok = new QPushButton(QObject::tr("确定"), this);
    auto* cancel = new QPushButton(QObject::tr("取消"), this);
    ok->setDefault(true);
    connect(defaults_, &QPushButton::clicked, this, &DisplaySettingsDialog::loadDefaults);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaults_);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* root = new QVBoxLayout(this);
    root->addWidget(tabs_);
    root->addLayout(buttons);

    load(DisplaySettingsForm::fromRecord(options));
}

DisplaySettingsDialog::~DisplaySettingsDialog() {
    lastTab = tabs_->currentIndex();
}

QWidget* DisplaySettingsDialog::buildOperationPage() {
    auto* page = new QWidget;
    page->setObjectName("page165");
    auto* scopeBox = new QGroupBox(QObject::tr("操作影响范围"), page);
    current_ = new QRadioButton(QObject::tr("当前波形"), scopeBox);
    all_ = new QRadioButton(QObject::tr("全部波形"), scopeBox);
    auto* group = new QButtonGroup(page);
    group->addButton(current_, 0);
    group->addButton(all_, 1);
    auto* scopeLayout = new QHBoxLayout(scopeBox);
    scopeLayout->addWidget(current_);
    scopeLayout->addWidget(all_);

    follow_ = new QComboBox(page);
    for (std::string_view c : LengthFollowChoices()) follow_->addItem(qs(c));
    follow_->setAccessibleName(QObject::tr("桩长/波速："));
    traces_ = new QComboBox(page);
    for (std::string_view c : TraceCountChoices()) traces_->addItem(qs(c));
    traces_->setAccessibleName(QObject::tr("多道波形数："));
    labels_ = new QCheckBox(QObject::tr("显示标号"), page);
    pile_ = new QCheckBox(QObject::tr("显示模拟桩"), page);

    auto* form = new QFormLayout;
    auto* followLabel = new QLabel(QObject::tr("桩长/波速："), page);
    followLabel->setBuddy(follow_);
    auto* tracesLabel = new QLabel(QObject::tr("多道波形数："), page);
    tracesLabel->setBuddy(traces_);
    form->addRow(followLabel, follow_);
    form->addRow(tracesLabel, traces_);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(scopeBox);
    layout->addLayout(form);
    layout->addWidget(labels_);
    layout->addWidget(pile_);
    layout->addStretch(1);
    return page;
}

QWidget* DisplaySettingsDialog::buildGraphicPage() {
    auto* page = new QWidget;
    page->setObjectName("page166");
    auto* box = new QGroupBox(QObject::tr("选择参数项"), page);
    available_ = new QListWidget(box);
    available_->setObjectName("availableItems");
    available_->setAccessibleName(QObject::tr("备选项"));
    available_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const std::string& n : AvailableItemNames()) available_->addItem(trCore(n));
    chosen_ = new QListWidget(box);
    chosen_->setObjectName("chosenItems");
    chosen_->setAccessibleName(QObject::tr("已选项"));
    chosen_->setSelectionMode(QAbstractItemView::ExtendedSelection);

    add_ = new QPushButton(">", box);
    addAll_ = new QPushButton(">>", box);
    remove_ = new QPushButton("<", box);
    removeAll_ = new QPushButton("<<", box);
    connect(add_, &QPushButton::clicked, this, [this] {
        form_.addAvailable(selectedRows(available_));
        fillChosen();
    });
    connect(available_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* it) {
        form_.addAvailable({available_->row(it)});
        fillChosen();
    });
    connect(addAll_, &QPushButton::clicked, this, [this] {
        form_.addAll();
        fillChosen();
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        form_.removeChosen(selectedRows(chosen_));
        fillChosen();
    });
    connect(removeAll_, &QPushButton::clicked, this, [this] {
        form_.removeAll();
        fillChosen();
    });

    auto* availableLabel = new QLabel(QObject::tr("备选项"), box);
    availableLabel->setBuddy(available_);
    auto* chosenLabel = new QLabel(QObject::tr("已选项"), box);
    chosenLabel->setBuddy(chosen_);
    auto* left = new QVBoxLayout;
    left->addWidget(availableLabel);
    left->addWidget(available_);
    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    for (QPushButton* b : {add_, addAll_, remove_, removeAll_}) middle->addWidget(b);
    middle->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(chosenLabel);
    right->addWidget(chosen_);
    auto* row = new QHBoxLayout(box);
    row->addLayout(left);
    row->addLayout(middle);
    row->addLayout(right);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(box);
    return page;
}

std::vector<int> DisplaySettingsDialog::selectedRows(QListWidget* list) const {
    std::vector<int> rows;
    for (QListWidgetItem* it : list->selectedItems()) rows.push_back(list->row(it));
    std::sort(rows.begin(), rows.end());  // added in the order of the list
    return rows;
}

void DisplaySettingsDialog::load(const DisplaySettingsForm& f) {
    form_ = f;
    (f.editScope == 1 ? all_ : current_)->setChecked(true);
    follow_->setCurrentIndex(f.lengthFollow);
    labels_->setChecked(f.showLabels);
    pile_->setChecked(f.showSimulatedPile);
    const int t = traces_->findText(QString::fromStdString(f.traceCountText));
    traces_->setCurrentIndex(t >= 0 ? t : 2);
    fillChosen();
}

void DisplaySettingsDialog::fillChosen() {
    chosen_->clear();
    for (const std::string& n : form_.chosenNames()) chosen_->addItem(trCore(n));
}

DisplaySettingsForm DisplaySettingsDialog::readControls() const {
    DisplaySettingsForm f = form_;  // 已选项 is kept in the form as it is edited
    f.editScope = all_->isChecked() ? 1 : 0;
    f.lengthFollow = follow_->currentIndex();
    f.showLabels = labels_->isChecked();
    f.showSimulatedPile = pile_->isChecked();
    f.traceCountText = traces_->currentText().toStdString();
    return f;
}

void DisplaySettingsDialog::loadDefaults() {
    load(DisplaySettingsForm::fromRecord(DisplayOptions{}));
}

DisplayOptions DisplaySettingsDialog::options() const {
    return readControls().toRecord();
}

}  // namespace sondara::gui
