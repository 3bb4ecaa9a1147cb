#pragma once
// "打印设置": the tabs " 打印" (printer, paper, orientation) and " 页面" (the page
// settings), and "默认" (A4 portrait and the default page settings). The settings and
// the printer choice go in; after OK settings() and choice() hold the result.
#include <QDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include "core/output/PrintSettings.h"

class QComboBox;
class QRadioButton;
class QTabWidget;

namespace sondara::gui {

class PageSettingsPage;

// The printer, paper and orientation chosen for printing in this run.
struct PrinterChoice {
    QString printerName;  // empty: the default printer (or the PDF file without one)
    QPageSize pageSize{QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

class PrintSetupDialog : public QDialog {
    Q_OBJECT
public:
    PrintSetupDialog(const PrintSettings& s, const PrinterChoice& choice, int tab,
                     QWidget* parent = nullptr);

    PrintSettings settings() const;
    PrinterChoice choice() const;
    int currentTab() const;

    // "默认".
    void restoreDefaults();

    QTabWidget* tabs() const { return tabs_; }
    PageSettingsPage* page() const { return page_; }
    QComboBox* paperBox() const { return paper_; }
    QRadioButton* landscapeButton() const { return landscape_; }

private:
    void fillPapers(const QPageSize& keep);

    QTabWidget* tabs_;
    QComboBox* printer_;
    QComboBox* paper_;
    QRadioButton* portrait_;
    QRadioButton* landscape_;
    PageSettingsPage* page_;
};

}  // namespace sondara::gui
