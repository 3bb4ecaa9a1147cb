#include "gui/print/PrintSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/print/PageSettingsPage.h"

namespace sondara::gui {

namespace {
const QPageSize::PageSizeId kStandardPapers[] = {
    QPageSize::A3,     QPageSize::A4,    QPageSize::A5,        QPageSize::B4,     QPageSize::B5,
    QPageSize::Letter, QPageSize::Legal, QPageSize::Executive, QPageSize::Tabloid};
}

PrintSetupDialog::PrintSetupDialog(const PrintSettings& s, const PrinterChoice& choice, int tab,
                                   QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QObject::tr("打印设置"));
    tabs_ = new QTabWidget;

    auto* printTab = new QWidget;
    auto* printerBox = new QGroupBox(QObject::tr("打印机"));
    auto* pf = new QFormLayout(printerBox);
    printer_ = new QComboBox;
    printer_->setAccessibleName(QObject::tr("名称"));
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    if (printers.isEmpty()) {
        printer_->addItem(QObject::tr("PDF 文件（未安装打印机）"), QString());
    } else {
        for (const QString& name : printers) printer_->addItem(name, name);
        const int at = printer_->findData(
            choice.printerName.isEmpty() ? QPrinterInfo::defaultPrinterName() : choice.printerName);
        printer_->setCurrentIndex(std::max(0, at));
    }
    auto* printerLabel = new QLabel(QObject::tr("名称(&N)："));
    printerLabel->setBuddy(printer_);
    pf->addRow(printerLabel, printer_);

    auto* paperBox = new QGroupBox(QObject::tr("纸张"));
    auto* paf = new QFormLayout(paperBox);
    paper_ = new QComboBox;
    paper_->setAccessibleName(QObject::tr("大小"));
    auto* paperLabel = new QLabel(QObject::tr("大小(&Z)："));
    paperLabel->setBuddy(paper_);
    paf->addRow(paperLabel, paper_);

    auto* orientationBox = new QGroupBox(QObject::tr("方向"));
    auto* ol = new QVBoxLayout(orientationBox);
    portrait_ = new QRadioButton(QObject::tr("纵向(&O)"));
    landscape_ = new QRadioButton(QObject::tr("横向(&A)"));
    ol->addWidget(portrait_);
    ol->addWidget(landscape_);
    (choice.orientation == QPageLayout::Landscape ? landscape_ : portrait_)->setChecked(true);

    auto* pl = new QVBoxLayout(printTab);
    pl->addWidget(printerBox);
    pl->addWidget(paperBox);
    pl->addWidget(orientationBox);
    pl->addStretch();

    page_ = new PageSettingsPage;
    page_->show(s);
    page_->setLandscape(landscape_->isChecked());
    tabs_->addTab(printTab, QObject::tr(" 打印"));
    tabs_->addTab(page_, QObject::tr(" 页面"));
    tabs_->setCurrentIndex(tab == 1 ? 1 : 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QObject::tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QObject::tr("取消"));
    QPushButton* defaults =
        buttons->addButton(QObject::tr("默认(&D)"), QDialogButtonBox::ResetRole);
    connect(defaults, &QPushButton::clicked, this, &PrintSetupDialog::restoreDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(landscape_, &QRadioButton::toggled, page_, &PageSettingsPage::setLandscape);
    connect(printer_, &QComboBox::currentIndexChanged, this,
            [this] { fillPapers(paper_->currentData().value<QPageSize>()); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    fillPapers(choice.pageSize);
}

void PrintSetupDialog::fillPapers(const QPageSize& keep) {
    paper_->clear();
    QList<QPageSize> sizes;
    const QString name = printer_->currentData().toString();
    if (!name.isEmpty()) sizes = QPrinterInfo::printerInfo(name).supportedPageSizes();
    if (sizes.isEmpty())
        for (QPageSize::PageSizeId id : kStandardPapers) sizes << QPageSize(id);
    for (const QPageSize& size : sizes) paper_->addItem(size.name(), QVariant::fromValue(size));
    int at = -1;
    for (int i = 0; i < paper_->count() && keep.isValid(); ++i)
        if (paper_->itemData(i).value<QPageSize>().isEquivalentTo(keep)) at = i;
    if (at < 0) {
        std::vector<std::string> names;
        for (int i = 0; i < paper_->count(); ++i)
            names.push_back(paper_->itemText(i).toStdString());
        at = DefaultPaperEntry(names);
    }
    paper_->setCurrentIndex(at);
}

void PrintSetupDialog::restoreDefaults() {
    std::vector<std::string> names;
    for (int i = 0; i < paper_->count(); ++i) names.push_back(paper_->itemText(i).toStdString());
    paper_->setCurrentIndex(DefaultPaperEntry(names));
    portrait_->setChecked(true);
    page_->show(PrintSettings{});
}

PrintSettings PrintSetupDialog::settings() const {
    return page_->take();
}

PrinterChoice PrintSetupDialog::choice() const {
    PrinterChoice c;
    c.printerName = printer_->currentData().toString();
    const QPageSize size = paper_->currentData().value<QPageSize>();
    if (size.isValid()) c.pageSize = size;
    c.orientation = landscape_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    return c;
}

int PrintSetupDialog::currentTab() const {
    return tabs_->currentIndex();
}

}  // namespace sondara::gui
