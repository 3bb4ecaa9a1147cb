#include "gui/print/PrintService.h"

#include <unistd.h>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <cstdio>

#include "core/base/ByteIo.h"
#include "core/output/PdfTextMend.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/QtPrompter.h"
#include "gui/app/Translation.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "render/DisplayRenderer.h"
#include "render/PrintPageCells.h"
#include "render/PrintPagePainter.h"

namespace sondara::gui {

PrintService& PrintService::instance() {
    static PrintService s;
    return s;
}

bool PrintService::havePrinter() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

PrintSettings PrintService::settings(QWidget* parent) {
    if (unsaved_) return *unsaved_;
    PrintSettings s;
    QtPrompter prompter(parent);
    loadOrWriteDefaults(s, &prompter);
    return s;
}

void PrintService::runSetup(QWidget* parent) {
    PrintSetupDialog dlg(settings(parent), choice_, lastTab_, parent);
    const int result = dlg.exec();
    lastTab_ = dlg.currentTab();
    if (result != QDialog::Accepted) return;
    choice_ = dlg.choice();
    const PrintSettings s = dlg.settings();
    QtPrompter prompter(parent);
    // A file that cannot be written keeps the values for this run.
    if (saveSettings(s, &prompter))
        unsaved_.reset();
    else
        unsaved_ = s;
}

void PrintService::setUpPrinter(QPrinter& printer) const {
    if (havePrinter()) {
        if (!choice_.printerName.isEmpty()) printer.setPrinterName(choice_.printerName);
    } else {
        printer.setOutputFormat(QPrinter::PdfFormat);
    }
    printer.setFullPage(true);
    printer.setPageSize(choice_.pageSize);
    printer.setPageOrientation(choice_.orientation);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

PrintLayoutResult PrintService::layOut(CSondaraView& view, const QPrinter& printer,
                                       const PrintSettings& s, QWidget* parent, bool prompt) {
    PrintLayoutInput in =
        render::PrintPageCells::describe(view.host().doc(), view.display()->model());
    const QRectF paper = printer.pageLayout().fullRect(QPageLayout::Millimeter);
    in.paperWidthMm = paper.width();
    in.paperHeightMm = paper.height();
    QtPrompter prompter(parent);
    return PrintLayout(s, in, prompt ? &prompter : nullptr);
}

int PrintService::paint(CSondaraView& view, QPrinter& printer, QWidget* parent, bool prompt,
                        int from, int to, bool progress) {
    return paintWith(settings(parent), view, printer, parent, prompt, from, to, progress);
}

int PrintService::paintWith(const PrintSettings& s, CSondaraView& view, QPrinter& printer,
                            QWidget* parent, bool prompt, int from, int to, bool progress,
                            bool mend) {
    const CSondaraDoc& doc = view.host().doc();
    WaveDisplayModel& display = view.display()->model();
    const PrintLayoutResult layout = layOut(view, printer, s, parent, prompt);
    if (layout.pages <= 0) return 0;
    const PrintTableData table = render::PrintTableFor(doc, view.host().title().toStdString());

    const render::DisplayRenderer renderer;
    render::PrintPageCells cells(doc, display, renderer);
    // A printer set to black and white gets black lines, not faint greys.
    cells.setMonochrome(printer.colorMode() == QPrinter::GrayScale);
    render::PrintPagePainter painter(s, layout, table, cells);
    std::unique_ptr<QProgressDialog> bar;
    const int first = from > 0 ? std::min(from, layout.pages) : 1;
    const int last = to > 0 ? std::clamp(to, first, layout.pages) : layout.pages;
    if (progress && last > first) {
        bar = std::make_unique<QProgressDialog>(QObject::tr("正在打印..."), QObject::tr("取消"),
                                                first - 1, last, parent);
        bar->setWindowTitle(QObject::tr("打印"));
        bar->setWindowModality(Qt::WindowModal);
        bar->setMinimumDuration(300);
    }
    const bool ok = render::PrintPages(printer, painter, layout.pages, from, to, [&](int page) {
        if (!bar) return true;
        bar->setLabelText(
            QObject::tr("正在打印第 %1 页（共 %2 页）").arg(page).arg(last - first + 1));
        bar->setValue(page - 1);
        return !bar->wasCanceled();
    });
    if (!ok && prompt)
        QMessageBox::warning(parent, QObject::tr("打印"), QObject::tr("无法在打印机上开始打印。"));
    // A PDF file (打印 without a printer, the print dialog's file, the preview's export):
    // its text is mended to read as the pages show it.
    if (ok && mend && printer.outputFormat() == QPrinter::PdfFormat &&
        !printer.outputFileName().isEmpty() && printer.paintEngine() &&
        printer.paintEngine()->type() == QPaintEngine::Pdf) {
        std::string error;
        if (!MendPdfText(QFile::encodeName(printer.outputFileName()).toStdString(), error)) {
            QMessageBox::warning(parent, QObject::tr("打印"), trCore(error));
            return 0;
        }
    }
    return ok ? layout.pages : 0;
}

void PrintService::print(CSondaraView& view, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer);
    const PrintSettings s = settings(parent);
    // The layout first: nothing to print means no print dialog.
    {
        const PrintLayoutResult layout = layOut(view, printer, s, parent, true);
        if (layout.pages <= 0) return;

        if (havePrinter()) {
            QPrintDialog dlg(&printer, parent);
            dlg.setWindowTitle(QObject::tr("打印"));
            dlg.setMinMax(1, layout.pages);
            dlg.setOption(QAbstractPrintDialog::PrintPageRange, true);
            if (dlg.exec() != QDialog::Accepted) return;
            const bool range = printer.printRange() == QPrinter::PageRange;
            paintWith(s, view, printer, parent, true, range ? printer.fromPage() : 0,
                      range ? printer.toPage() : 0, true);
            return;
        }
    }
    // No printer: the pages go to a PDF file the user names, written whole or not at all.
    const QFileInfo project(view.host().path());
    const QString dir = view.host().path().isEmpty() ? QDir::homePath() : project.absolutePath();
    const QString base = QFileInfo(view.host().title()).completeBaseName();
    QString target = QFileDialog::getSaveFileName(
        parent, QObject::tr("打印到 PDF 文件"),
        QDir(dir).filePath(base.isEmpty() ? QObject::tr("打印.pdf") : base + ".pdf"),
        QObject::tr("PDF 文件 (*.pdf)"));
    if (target.isEmpty()) return;
    if (QFileInfo(target).suffix().isEmpty()) target += ".pdf";
    // The printer writes the atomic writer's unnamed file; a kill leaves nothing behind.
    AtomicFileWriter file(QFile::encodeName(target).toStdString());
    if (!file.isOpen()) {
        QMessageBox::warning(parent, QObject::tr("打印"), trCore(file.error()));
        return;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QFile::decodeName(file.openPath().c_str()));
    printer.setDocName(view.host().title());
    const int pages = paintWith(s, view, printer, parent, true, 0, 0, true, false);
    printer.setOutputFileName(QString());  // closes the file
    if (pages <= 0) return;
    std::string bytes, error;
    const bool ok = file.readAll(bytes) &&
                    MendPdfBytes(bytes, QFile::encodeName(target).toStdString(), error) &&
                    file.replaceAll(bytes) && file.commit();
    if (!ok)
        QMessageBox::warning(parent, QObject::tr("打印"),
                             QObject::tr("无法写入文件：") + target + "\n" +
                                 trCore(error.empty() ? file.error() : error));
}

void PrintService::preview(CSondaraView& view, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer);
    if (!havePrinter()) printer.setOutputFormat(QPrinter::PdfFormat);
    const PrintSettings s = settings(parent);
    // Nothing to print: the message, and no preview.
    if (layOut(view, printer, s, parent, true).pages <= 0) return;
    QPrintPreviewDialog dlg(&printer, parent);
    dlg.setWindowTitle(QObject::tr("打印预览"));
    // The preview lays the pages out again whenever its paper or orientation changes.
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg, [&](QPrinter* p) {
        p->setFullPage(true);
        paintWith(s, view, *p, &dlg, false);
    });
    dlg.resize(900, 700);
    dlg.exec();
}

}  // namespace sondara::gui
