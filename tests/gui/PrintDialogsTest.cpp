// The print setup dialogs (" 页面" page, "定制表头", "打印设置" with "默认") and a
// print of an analysis view to a PDF printer.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "core/app/AppPaths.h"
#include "core/app/RunLog.h"
#include "core/base/TextCodec.h"
#include "core/fileio/ProjectFile.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/SondaraView.h"
#include "gui/display/ViewContext.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/CommandRegistry.h"
#include "gui/frame/MainFrame.h"
#include "gui/print/HeaderTableDialog.h"
#include "gui/print/HeaderTableGrid.h"
#include "gui/print/PageSettingsPage.h"
#include "gui/print/PrintService.h"
#include "gui/print/PrintSetupDialog.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara::gui {
namespace {

PrintSettings changedSettings() {
    PrintSettings s;
    s.marginTopCm = 2.5f;
    s.marginBottomCm = 0.0f;
    s.marginLeftCm = 1.2f;
    s.marginRightCm = 10.0f;
    s.rows = 3;
    s.columns = 2;
    s.firstPage = 12;
    s.printTable = 0;
    s.printFooter = 0;
    setText(s.headerText, utf8ToGbk("某工程检测报告"));
    setText(s.footerText, utf8ToGbk("第二检测所"));
    s.pageNumberFormat = 4;
    s.pageNumberPosition = 1;
    s.perPointItems = {0, 1, 0, 0, 1};
    s.currentDisplay = 1;
    s.tableRows = 3;  // not shown on the page: kept as given
    s.font.height = 9;
    return s;
}

TEST(PrintDialogs, PageSettingsPageShowsAndTakesEveryValue) {
    PageSettingsPage page;
    const PrintSettings s = changedSettings();
    page.show(s);
    EXPECT_EQ(page.margin(0)->text(), "2.5");
    EXPECT_EQ(page.take(), s);

    // 自动 disables the grid's counts
    EXPECT_TRUE(page.rowsEdit()->isEnabled());
    page.autoBox()->setChecked(true);
    EXPECT_FALSE(page.rowsEdit()->isEnabled());
    EXPECT_FALSE(page.columnsEdit()->isEnabled());
    EXPECT_EQ(page.take().autoLayout, 1);

    // a header text of 120 GBK bytes is kept as 99 at most, never half a character
    page.headerEdit()->setText(QString(60, QChar(0x6869)));  // 桩 x 60
    EXPECT_EQ(textOf(page.take().headerText).size(), 98u);
    page.itemAction(0)->setChecked(true);
    page.itemAction(5)->setChecked(false);
    EXPECT_EQ(page.take().perPointItems[0], 1);
    EXPECT_EQ(page.take().currentDisplay, 0);

    // every edit carries its caption and has a buddy label
    for (QWidget* w :
         std::initializer_list<QWidget*>{page.margin(0), page.rowsEdit(), page.firstPageEdit(),
                                         page.headerEdit(), page.formatBox(), page.itemsButton()})
        EXPECT_FALSE(w->accessibleName().isEmpty());
    int buddies = 0;
    for (QLabel* l : page.findChildren<QLabel*>()) buddies += l->buddy() != nullptr;
    EXPECT_GE(buddies, 10);
}

TEST(PrintDialogs, HeaderTableCellsEditedInPlace) {
    PrintSettings s;
    HeaderTableDialog dlg(s);
    EXPECT_EQ(dlg.windowTitle(), "定制表头");
    dlg.resize(520, 360);
    dlg.show();
    QApplication::processEvents();
    HeaderTableGrid* grid = dlg.grid();
    dlg.columnsEdit()->setValue(3);
    dlg.rowHeightEdit()->setValue(0.8);
    dlg.gridLinesBox()->setChecked(true);

    // a click on cell (0, 2) opens the drop-down over it; choosing 文件名 makes it that item
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(0, 2).center());
    ASSERT_EQ(grid->editingCell(), 2);
    EXPECT_TRUE(grid->editor()->isVisible());
    EXPECT_EQ(grid->editor()->geometry(), grid->cellRect(0, 2));
    grid->editor()->setCurrentIndex(4);
    emit grid->editor()->activated(4);
    EXPECT_EQ(grid->editingCell(), -1);

    // typing makes free text; stored when another cell is clicked
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(1, 2).center());
    ASSERT_EQ(grid->editingCell(), 12);
    grid->editor()->setEditText("审核：李工");
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(0, 0).center());
    // an item cell shows its item in the editor
    EXPECT_EQ(grid->editor()->currentText(), "工程名称");
    grid->commitEdit();
    // a row beyond the used ones is not a cell
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(5, 0).center());
    EXPECT_EQ(grid->editingCell(), -1);

    dlg.accept();
    const PrintSettings& t = dlg.settings();
    EXPECT_EQ(t.tableColumns, 3);
    EXPECT_FLOAT_EQ(t.tableRowHeightCm, 0.8f);
    EXPECT_EQ(t.tableGridLines, 1);
    EXPECT_EQ(t.cellKinds[2], 4);
    EXPECT_EQ(t.cellKinds[12], kFreeTextCell);
    EXPECT_EQ(HeaderTableCellCaption(t, 12), "审核：李工");
    EXPECT_EQ(t.cellKinds[0], 0);
    EXPECT_EQ(HeaderTableCellCaption(t, 0), "<工程名称>");
}

TEST(PrintDialogs, SetupTabsAndDefaults) {
    PrinterChoice c;
    c.pageSize = QPageSize(QPageSize::A3);
    c.orientation = QPageLayout::Landscape;
    PrintSetupDialog dlg(changedSettings(), c, 1);
    EXPECT_EQ(dlg.windowTitle(), "打印设置");
    ASSERT_EQ(dlg.tabs()->count(), 2);
    EXPECT_EQ(dlg.tabs()->tabText(0), " 打印");
    EXPECT_EQ(dlg.tabs()->tabText(1), " 页面");
    EXPECT_EQ(dlg.currentTab(), 1);  // the last tab chosen
    EXPECT_EQ(dlg.choice().orientation, QPageLayout::Landscape);
    EXPECT_TRUE(dlg.choice().pageSize.isEquivalentTo(QPageSize(QPageSize::A3)));
    EXPECT_EQ(dlg.settings(), changedSettings());

    dlg.restoreDefaults();
    EXPECT_EQ(dlg.choice().orientation, QPageLayout::Portrait);
    EXPECT_TRUE(dlg.paperBox()->currentText().contains("A4"));
    EXPECT_EQ(dlg.settings(), PrintSettings{});
}

// A view on its own, outside any frame.
class LoneViewContext : public ViewContext {
public:
    const std::vector<CSondaraView*>& views() const override { return views_; }
    void addView(CSondaraView* v) override { views_.push_back(v); }
    void removeView(CSondaraView* v) override { std::erase(views_, v); }
    void postCommand(CommandId) override {}
    bool commandEnabled(CommandId) const override { return true; }
    CommandId lastCommand() const override { return CommandId::None; }
    bool pointListBusy() const override { return false; }
    void viewSelectionChanged(CSondaraView*) override {}
    int cursorStyle() const override { return 2; }

private:
    std::vector<CSondaraView*> views_;
};

TEST(PrintDialogs, ViewPrintsToAPdfPrinter) {
    test::TempDir dir;
    DocumentHost host;
    std::vector<TestPoint> pts;
    for (int k = 0; k < 5; ++k) {
        TestPoint p = test::sinePoint("A", 400, 30, 9.0);
        p.checked = 1;
        pts.push_back(std::move(p));
    }
    host.doc() = test::makeDoc(pts);
    host.doc().recomputeDisplayRanges();
    host.doc().selectPoint(0);
    LoneViewContext context;
    CSondaraView view(host, context);
    view.resize(900, 600);
    view.show();
    QApplication::processEvents();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("view.pdf")));
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    // the settings file of this test process: the defaults, 波形 4 x 1
    std::remove(printSettingsFile().path().c_str());
    EXPECT_EQ(PrintService::instance().paint(view, printer, nullptr, false), 2);
    printer.setOutputFileName(QString());
    const test::RunResult info =
        test::runCommand("pdfinfo " + test::shellQuote(dir.file("view.pdf")));
    if (info.exitCode == 0) {
        const std::size_t at = info.out.find("Pages:");
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(std::atoi(info.out.c_str() + at + 6), 2) << info.out;
    }
    EXPECT_GT(test::readFile(dir.file("view.pdf")).size(), 1000u);
}

TEST(PrintDialogs, NoRoomOnThePageIsSaidAndNothingPrints) {
    DocumentHost host;
    std::vector<TestPoint> pts;
    for (int k = 0; k < 2; ++k) {
        TestPoint p = test::sinePoint("A", 400, 30, 9.0);
        p.checked = 1;
        pts.push_back(std::move(p));
    }
    host.doc() = test::makeDoc(pts);
    host.doc().recomputeDisplayRanges();
    host.doc().selectPoint(0);
    LoneViewContext context;
    CSondaraView view(host, context);
    view.resize(900, 600);
    view.show();
    QApplication::processEvents();

    // a header table of 10 rows of 10 cm: no room for a cell on the paper
    PrintSettings s;
    s.tableRows = 10;
    s.tableRowHeightCm = 10.0f;
    ASSERT_TRUE(saveSettings(s, nullptr));
    // Every window that comes up: a message box is read and closed, anything else (a
    // print or file dialog) is noted and refused.
    std::vector<std::string> shown;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            shown.push_back(box->text().toStdString());
            box->done(QMessageBox::Ok);
        } else if (auto* d = qobject_cast<QDialog*>(w)) {
            shown.push_back("dialog: " + d->windowTitle().toStdString());
            d->reject();
        }
    });
    watch.start(20);
    PrintService::instance().print(view, &view);
    PrintService::instance().preview(view, &view);
    watch.stop();
    EXPECT_EQ(shown, (std::vector<std::string>{kNoPrintAreaMessage, kNoPrintAreaMessage}));
    std::remove(printSettingsFile().path().c_str());
}

TEST(PrintDialogs, CommandsNeedPointsAndAViewButNoPrinter) {
    test::TempDir dir;
    RunLog::instance().setPath(dir.file("log.txt"));
    {
        CSondaraApp app;
        ASSERT_TRUE(app.initInstance({"sondara"}));  // an empty document
        QApplication::processEvents();
        const CommandRegistry& r = app.frame()->commands();
        EXPECT_FALSE(r.isEnabled(CommandId::FilePrint));
        EXPECT_FALSE(r.isEnabled(CommandId::FilePrintPreview));
        EXPECT_TRUE(r.isEnabled(CommandId::FilePrintSetup));
        EXPECT_TRUE(r.isEnabled(CommandId::FilePrintSetupNoDoc));
    }
    {
        const std::string path = dir.file("p.qar");
        CSondaraDoc d = test::makeDoc({test::simplePoint("A", 64), test::simplePoint("B", 64)});
        ASSERT_TRUE(WriteProject(d, path));
        CSondaraApp app;
        ASSERT_TRUE(app.initInstance({"sondara", QString::fromStdString(path)}));
        QApplication::processEvents();
        const CommandRegistry& r = app.frame()->commands();
        EXPECT_TRUE(r.isEnabled(CommandId::FilePrint));
        EXPECT_TRUE(r.isEnabled(CommandId::FilePrintPreview));
        EXPECT_TRUE(r.isEnabled(CommandId::FilePrintSetup));
        app.document()->doc().modified = false;
    }
    RunLog::instance().setPath(logFilePath());
}

}  // namespace
}  // namespace sondara::gui
