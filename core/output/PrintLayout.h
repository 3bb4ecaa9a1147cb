#pragma once
// The page layout of printing: from the paper size, the page settings, the checked
// points and the current display, the printable area, the header and footer bands,
// the header table, the grid of cells and every cell with its rectangle and page.
//
// All geometry is in printer units: 0.1 mm, y pointing up, the paper's top-left
// corner at (0, 0) (points below the top edge are negative). A pure function: no
// printer, no window; the refusals are shown through the prompter.
#include <string>
#include <vector>

#include "core/base/TrNoop.h"
#include "core/output/PrintSettings.h"

namespace sondara {

class Prompter;

inline constexpr const char* kNothingToPrintMessage =
    SONDARA_TR_NOOP("sondara",
                    "   没有用于打印的备选项，请确保以下信息\n和“打印设置”中的相关设置相符：\n"
                    "   1：测点列表有被“√”选中的数据；\n   2：显示区有波形显示。");
inline constexpr const char* kNoPrintItemsMessage =
    SONDARA_TR_NOOP("sondara", "无可打印数据，请在“打印设置”→“页面”中设置打印项。");
// Margins, bands and the header table that leave no room for a cell.
inline constexpr const char* kNoPrintAreaMessage =
    SONDARA_TR_NOOP("sondara", "页边距过大，页面上没有打印区域！");

// What is printed in a cell.
enum class PrintItemKind : int {
    DisplayPane = 0,  // a pane of the current display (or the whole wave train)
    Trace = 1,        // a checked point's time trace
    Amplitude = 2,    // its amplitude spectrum
    Power = 3,        // auto power spectrum
    Cepstrum = 4,
    LogSpectrum = 5,
};

struct PrintCellRecord {
    int left = 0, top = 0, right = 0, bottom = 0;  // printer units, y up (top > bottom)
    PrintItemKind kind = PrintItemKind::DisplayPane;
    int index = 0;  // pane index (kind 0) or ordinal in the check list
    int page = 1;   // from 1
    int width() const { return right - left; }
    bool operator==(const PrintCellRecord&) const = default;
};

// What the layout needs to know about the printer, the document and the display.
struct PrintLayoutInput {
    bool havePrinter = true;
    double paperWidthMm = 210.0;
    double paperHeightMm = 297.0;
    int pointCount = 0;    // of the document
    int checkedCount = 0;  // points in the check list
    // The current display.
    int paneCount = 0;
    bool integrityWaveTrain = false;  // Integrity with the 波列显示
    int clientWidth = 0;              // pixels
    int paneHeight = 150;             // the display settings, pixels
    int waveTrainHeight = 30;
};

struct PrintLayoutResult {
    int pages = 0;        // 0: nothing is printed
    std::string message;  // the refusal shown, if any
    // The page frame (margin edges) and the font height in units.
    int paperWidth = 0, paperHeight = 0;  // units
    int marginTop = 0;                    // T0: the top margin edge
    int marginBottom = 0;                 // B0: the bottom margin edge
    int left = 0, right = 0;              // L, R
    int top = 0, bottom = 0;              // T, B: the cell area after the bands and the table
    int fontHeight = 0;                   // F
    bool headerBand = false, footerBand = false;
    int itemCount = 0;          // n, the number of cells
    int perPointItems = 0;      // p
    int rows = 0, columns = 0;  // of the grid on a page
    double cellHeight = 0.0;    // U (negative: downwards)
    double cellWidth = 0.0;     // V
    std::vector<PrintCellRecord> cells;
    std::vector<PrintItemKind> perPointKinds;  // the kinds switched on, in cell order
};

// The font height of the page settings in units (the stored height read as points).
int PrintFontUnits(const PrintFont& font);

PrintLayoutResult PrintLayout(const PrintSettings& s, const PrintLayoutInput& in,
                              Prompter* prompter);

// The texts of a page band: the header (top) or the footer (bottom).
struct PrintBandTexts {
    std::string text;        // UTF-8
    std::string pageNumber;  // UTF-8
    int align = 0;           // of the page number: 0 left, 1 centre, 2 right
};
// `page` is the printing page (from 1), `lastPage` the number of pages.
PrintBandTexts PrintBandText(const PrintSettings& s, bool top, int page, int lastPage);

// The header-table box and its cells, in units.
struct PrintTableBox {
    int left = 0, top = 0, right = 0, bottom = 0;
};
PrintTableBox PrintHeaderTableBox(const PrintSettings& s, const PrintLayoutResult& l);
// Cell (row, column) of the table box: equal strips, the last reaching the box edge.
PrintTableBox PrintHeaderTableCell(const PrintSettings& s, const PrintTableBox& box, int row,
                                   int column);

// What the header table's items show.
struct PrintTableData {
    std::string projectName;  // UTF-8
    std::string testingUnit;
    int year = 0, month = 0, day = 0;  // the print date (local)
    int cellCount = 0;                 // n
    std::string title;                 // the document's title
};
// The text of cell (row, column): "工程名称：%s", "检测单位：%s", "打印日期：%04d.%d.%d",
// "波形数：%d", "文件名：%s" or the free text (UTF-8).
std::string PrintHeaderTableText(const PrintSettings& s, int row, int column,
                                 const PrintTableData& d);

}  // namespace sondara
