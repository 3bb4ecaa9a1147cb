#pragma once
// Image export: draws one item (a checked point, a pane of the display, or the whole
// wave train) into a white picture of the chosen size with the display's painter, and
// writes it as BMP or JPEG. Checked points are independent of the window's display and
// are drawn on all cores; panes of the display are drawn on the calling thread.
//
// Needs a QGuiApplication (fonts). `display` is the view's model: its options (labels,
// simulated pile, information items) apply to every item; its panes are materialised
// as needed, so call from the thread that owns it and the document.
#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "core/display/WaveDisplayModel.h"
#include "core/output/DibImage.h"
#include "core/output/ImageExport.h"

namespace sondara::render {

// 32 bits per pixel, rows bottom-up, (blue, green, red, 0).
DibImage ToDib(const QImage& image);

QImage RenderItem(const CSondaraDoc& doc, WaveDisplayModel& display, const ExportItem& item,
                  int width, int height);

// Draws the item and writes the file (format BMP or JPEG at quality 100). False when
// the size is not above 0 or the file cannot be written.
bool RenderItemToImage(const CSondaraDoc& doc, WaveDisplayModel& display, const ExportItem& item,
                       const std::string& path, int width, int height, ImageFormat format,
                       std::string* error = nullptr);

// Draws and encodes many items; `sink(index, bytes)` gets each encoded file (empty when
// it could not be encoded) and may be called from several threads at once, for
// different indexes. `progress(done, total)` is called on the calling thread.
using ItemSink = std::function<void(int index, std::string bytes)>;
void RenderItems(const CSondaraDoc& doc, WaveDisplayModel& display,
                 const std::vector<ExportItem>& items, int width, int height, ImageFormat format,
                 const ItemSink& sink, const std::function<void(int, int)>& progress = {});

// The encoded files of many items, in their order (an empty string for an item that
// could not be encoded). `progress(done, total)` is called on the calling thread.
std::vector<std::string> RenderItemsEncoded(const CSondaraDoc& doc, WaveDisplayModel& display,
                                            const std::vector<ExportItem>& items, int width,
                                            int height, ImageFormat format,
                                            const std::function<void(int, int)>& progress = {});

// The report's figures: one PNG of every checked point at the report's figure size.
std::vector<std::string> RenderReportFigures(const CSondaraDoc& doc, WaveDisplayModel& display,
                                             const std::function<void(int, int)>& progress = {});

// Writes every item as a file named by ExportFileName into `folder` (ending with '/').
// Returns the paths written; a file that cannot be written does not stop the others.
// `failures`, when given, gets "<path>: <reason>" for each file not written.
std::vector<std::string> WriteItemImages(const CSondaraDoc& doc, WaveDisplayModel& display,
                                         const std::vector<ExportItem>& items,
                                         const std::string& folder, int width, int height,
                                         ImageFormat format,
                                         const std::function<void(int, int)>& progress = {},
                                         std::vector<std::string>* failures = nullptr);

}  // namespace sondara::render
