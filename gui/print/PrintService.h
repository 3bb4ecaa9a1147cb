#pragma once
// Printing from the desktop: 打印, 打印预览 and 打印设置 on the active analysis view.
// Holds, for the whole run, the printer, paper and orientation chosen in the setup,
// its last tab, and page settings that could not be written to their file.
//
// Qt Print Support is the platform: CUPS printers through the print dialog, the
// print preview dialog; without any printer, 打印 writes a PDF file the user names
// and the preview shows the pages of that PDF.
#include <QString>
#include <optional>

#include "core/output/PrintLayout.h"
#include "gui/print/PrintSetupDialog.h"

class QPrinter;
class QWidget;

namespace sondara::gui {

class CSondaraView;

class PrintService {
public:
    static PrintService& instance();

    static bool havePrinter();
    const PrinterChoice& choice() const { return choice_; }
    void setChoice(const PrinterChoice& c) { choice_ = c; }

    // The page settings: from their file (defaults written back when it is missing or
    // foreign), or those of this run that could not be written.
    PrintSettings settings(QWidget* parent);

    // 打印设置: the dialog; on OK the settings file is written ("写设置文件失败！").
    void runSetup(QWidget* parent);
    // 打印 and 打印预览 of the view's document and display.
    void print(CSondaraView& view, QWidget* parent);
    void preview(CSondaraView& view, QWidget* parent);

    // A printer set up with the run's choice: the paper corner as origin.
    void setUpPrinter(QPrinter& printer) const;
    // Lays out and paints pages from..to (0: all) of the view on `printer`. `prompt`
    // shows the refusals; returns the number of pages of the layout (0: nothing).
    int paint(CSondaraView& view, QPrinter& printer, QWidget* parent, bool prompt, int from = 0,
              int to = 0, bool progress = false);

private:
    PrintLayoutResult layOut(CSondaraView& view, const QPrinter& printer, const PrintSettings& s,
                             QWidget* parent, bool prompt);
    // `mend`: the PDF file named by the printer is mended where it lies (false when the
    // caller mends it, as the atomic writer's file is).
    int paintWith(const PrintSettings& s, CSondaraView& view, QPrinter& printer, QWidget* parent,
                  bool prompt, int from = 0, int to = 0, bool progress = false, bool mend = true);

    PrinterChoice choice_;
    int lastTab_ = 0;
    std::optional<PrintSettings> unsaved_;
};

}  // namespace sondara::gui
