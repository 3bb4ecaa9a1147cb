#pragma once
// The pictures of the print cells: each item drawn with the display's pane painter
// into an image as wide as the display's window and as high as a pane, which the
// page painter stretches into the cell.
//
// Traces and spectra of the checked points come from a display of the checked points
// laid out like the given one (same window width, pane height and options) but with
// the analysis switched for the kind; the given display itself keeps its selection
// and panes. Panes of the current display (kind 0) come from the given display.
//
// Contracts: single-threaded; the document, the display and the renderer must
// outlive this object; the display must be built from the same document.
#include <QImage>
#include <map>
#include <memory>

#include "core/display/WaveDisplayModel.h"
#include "core/output/PrintLayout.h"
#include "render/DisplayRenderer.h"

namespace sondara::render {

class PrintPageCells {
public:
    // `pixelRatio` > 1 paints the same layout with finer pixels: sharper on paper, at
    // the cost of larger print jobs (a PDF keeps the pictures as JPEG).
    PrintPageCells(const CSondaraDoc& doc, WaveDisplayModel& display,
                   const DisplayRenderer& renderer, double pixelRatio = 2.0);

    // The picture of a cell (device pixel ratio 1; `sourceWidth` x `sourceHeight`
    // pixels of it go into the cell). A null image for a cell without width or an item
    // that no longer exists.
    struct Picture {
        QImage image;
        QRectF source;
    };
    Picture picture(const PrintCellRecord& cell);

    // The layout input that describes this display and document (paper and printer
    // are the caller's).
    static PrintLayoutInput describe(const CSondaraDoc& doc, const WaveDisplayModel& display);

private:
    WaveDisplayModel& modelFor(PrintItemKind kind);

    const CSondaraDoc& doc_;
    WaveDisplayModel& display_;
    const DisplayRenderer& renderer_;
    double ratio_;
    std::map<PrintItemKind, std::unique_ptr<WaveDisplayModel>> scratch_;
};

}  // namespace sondara::render
