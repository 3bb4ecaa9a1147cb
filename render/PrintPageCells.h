#pragma once
// The items of the print cells, painted with the display's pane painter straight onto
// the page: lines and texts stay vectors at the device's resolution (a printer, the
// print preview, a PDF), no picture in between.
//
// A cell shows its item laid out as the display shows it: as wide as the display's
// window, and as high as the cell's shape asks at that width (a cell of the automatic
// grid is exactly a pane high), scaled alike in both directions so that texts keep
// their shape.
//
// Traces and spectra of the checked points come from a display of the checked points
// laid out like the given one (same window width, pane height and options) but with
// the analysis switched for the kind; the given display itself keeps its selection
// and panes. Panes of the current display (kind 0) come from the given display.
//
// Contracts: single-threaded; the document, the display and the renderer must
// outlive this object; the display must be built from the same document.
#include <QRect>
#include <map>
#include <memory>

#include "core/display/WaveDisplayModel.h"
#include "core/output/PrintLayout.h"
#include "render/DisplayRenderer.h"

class QPainter;

namespace sondara::render {

class PrintPageCells {
public:
    PrintPageCells(const CSondaraDoc& doc, WaveDisplayModel& display,
                   const DisplayRenderer& renderer);

    // A printer of black and white only (lines and texts black, see PaneDrawOptions).
    void setMonochrome(bool on) { monochrome_ = on; }

    // The rectangle, in the display's pixels, that the cell's item is laid out in and
    // that fills the cell; empty for a cell without width or height, or an item that
    // no longer exists.
    QRect itemRect(const PrintCellRecord& cell);

    // Paints the cell's item into the cell on a painter in printer units (0.1 mm, y
    // up: PrintPagePainter::setUpUnits). Nothing for an empty itemRect.
    void paint(QPainter& p, const PrintCellRecord& cell);

    // The layout input that describes this display and document (paper and printer
    // are the caller's).
    static PrintLayoutInput describe(const CSondaraDoc& doc, const WaveDisplayModel& display);

private:
    WaveDisplayModel& modelFor(PrintItemKind kind);

    const CSondaraDoc& doc_;
    WaveDisplayModel& display_;
    const DisplayRenderer& renderer_;
    bool monochrome_ = false;
    std::map<PrintItemKind, std::unique_ptr<WaveDisplayModel>> scratch_;
};

// The width of the printed thin lines: 0.15 mm.
inline constexpr double kPrintLineUnits = 1.5;

}  // namespace sondara::render
