#pragma once
// Paints printed pages: the page header (line, text, page number), the page footer,
// the header table and the cells of a page, in printer units of 0.1 mm with the y
// axis up from the paper's top-left corner, on any paged device (a printer, the
// print preview, a PDF file).
//
// Contracts: single-threaded; settings, layout and cells must outlive the painter.
#include <QFont>
#include <QPagedPaintDevice>
#include <QString>
#include <functional>

#include "core/output/PrintLayout.h"
#include "render/PrintPageCells.h"

class QPainter;

namespace sondara::render {

class PrintPagePainter {
public:
    PrintPagePainter(const PrintSettings& settings, const PrintLayoutResult& layout,
                     PrintTableData table, PrintPageCells& cells);

    // Makes the painter draw in units of 0.1 mm with y up: the device's origin must be
    // the paper's corner (a full-page printer, a PDF writer without margins).
    static void setUpUnits(QPainter& p, double dpiX, double dpiY);

    // Page `page` (from 1) on a painter set up with setUpUnits.
    void paintPage(QPainter& p, int page);

    // The font of the page settings at its height in units.
    QFont font() const { return font_; }

private:
    void band(QPainter& p, bool top, int page);
    void table(QPainter& p);
    void cell(QPainter& p, const PrintCellRecord& c);

    const PrintSettings& s_;
    const PrintLayoutResult& l_;
    PrintTableData data_;
    PrintPageCells& cells_;
    QFont font_;
};

// The header table's values of a document: its project name and testing unit, today
// by the local clock and the title the document goes by.
PrintTableData PrintTableFor(const CSondaraDoc& doc, std::string title);

// Prints pages from..to (from 1; 0 for all) to a paged device whose page size and
// zero margins the caller has set. `progress` (may be empty) gets each page before
// it is painted and stops the printing by returning false. Returns false when the
// device could not be painted on.
bool PrintPages(QPagedPaintDevice& device, PrintPagePainter& painter, int pages, int from = 0,
                int to = 0, const std::function<bool(int page)>& progress = {});

// The page font of the settings: the stored face ("宋体" and a CJK serif after it)
// at F units, bold from a weight of 550, italic, underline and strike-out as stored.
QFont PrintPageFont(const PrintFont& f);

}  // namespace sondara::render
