#include "core/output/PrintLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/base/Prompter.h"
#include "core/base/TextCodec.h"
#include "core/base/TrNoop.h"

namespace sondara {

namespace {

// Centimetres and millimetres to units. The stored values are float32: a margin of
// 4.1 cm is 4.0999999 as float, which must still give 410 units, not 409.
int cmToUnits(double cm) {
    return static_cast<int>(std::trunc(cm * 100.0 + 1e-3));
}
int mmToUnits(double mm) {
    return static_cast<int>(std::trunc(mm * 10.0 + 1e-6));
}

int tableHeightUnits(const PrintSettings& s) {
    return cmToUnits(static_cast<double>(s.tableRows) * static_cast<double>(s.tableRowHeightCm));
}

bool topPosition(int position) {
    return position >= 0 && position <= 2;
}

PrintLayoutResult refuse(PrintLayoutResult r, const char* message, Prompter* prompter) {
    r.pages = 0;
    r.cells.clear();
    if (message) {
        r.message = message;
        if (prompter) prompter->info(message);
    }
    return r;
}

}  // namespace

int PrintFontUnits(const PrintFont& font) {
    return std::abs(static_cast<int>(static_cast<double>(font.height) * 3.5277777));
}

PrintLayoutResult PrintLayout(const PrintSettings& settings, const PrintLayoutInput& in,
                              Prompter* prompter) {
    PrintSettings s = settings;
    s.clampToRanges();
    PrintLayoutResult r;
    if (!in.havePrinter || !(in.paperWidthMm > 0.0) || !(in.paperHeightMm > 0.0) ||
        in.paperWidthMm > 10000.0 || in.paperHeightMm > 10000.0)
        return refuse(r, nullptr, nullptr);
    if (in.pointCount <= 0) return refuse(r, nullptr, nullptr);

    bool anyPerPoint = false;
    for (size_t k = 0; k < s.perPointItems.size(); ++k) {
        if (s.perPointItems[k]) {
            anyPerPoint = true;
            r.perPointKinds.push_back(static_cast<PrintItemKind>(k + 1));
        }
    }
    if ((s.currentDisplay && in.paneCount <= 0) || (anyPerPoint && in.checkedCount <= 0))
        return refuse(r, kNothingToPrintMessage, prompter);

    // The printable area inside the margins.
    r.paperWidth = mmToUnits(in.paperWidthMm);
    r.paperHeight = mmToUnits(in.paperHeightMm);
    r.left = cmToUnits(s.marginLeftCm);
    r.right = r.paperWidth - cmToUnits(s.marginRightCm);
    r.top = -cmToUnits(s.marginTopCm);
    r.bottom = cmToUnits(s.marginBottomCm) - r.paperHeight;
    r.marginTop = r.top;
    r.marginBottom = r.bottom;
    if (r.right - r.left <= 0 || r.bottom - r.top >= 0)
        return refuse(r, kNoPrintAreaMessage, prompter);

    const int F = PrintFontUnits(s.font);
    r.fontHeight = F;
    r.headerBand = (s.printHeader && !textOf(s.headerText).empty()) ||
                   (s.printPageNumber && topPosition(s.pageNumberPosition));
    r.footerBand = (s.printFooter && !textOf(s.footerText).empty()) ||
                   (s.printPageNumber && !topPosition(s.pageNumberPosition));
    if (r.headerBand) r.top -= F + 52;
    if (r.footerBand) r.bottom += F + 35;
    if (r.top <= r.bottom) return refuse(r, kNoPrintAreaMessage, prompter);
    if (s.printTable) r.top -= tableHeightUnits(s);
    const int A = r.bottom - r.top;
    // Bands and table filling the page leave no room for a single cell: nothing is
    // printed (a page of cells reaching above the table would be no print at all),
    // and the user is told why.
    if (A >= 0) return refuse(r, kNoPrintAreaMessage, prompter);

    const int p = static_cast<int>(r.perPointKinds.size());
    r.perPointItems = p;
    const long long perPointCells = static_cast<long long>(p) * in.checkedCount;
    long long n = perPointCells;
    const bool wholeTrain = in.integrityWaveTrain && in.paneCount > 0;
    if (s.currentDisplay) n += wholeTrain ? 1 : in.paneCount;
    if (n <= 0) return refuse(r, kNoPrintItemsMessage, prompter);
    r.itemCount = static_cast<int>(n);

    const int width = r.right - r.left;
    if (s.autoLayout) {
        r.columns = 1;
        r.cellWidth = width;
        double U;
        if (in.clientWidth <= 0) {
            U = -width / 3.0;
        } else {
            const double scale = static_cast<double>(width) / in.clientWidth;
            U = -(in.paneHeight * scale);
            if (wholeTrain && n == 1)
                U = -(static_cast<double>(in.waveTrainHeight) * in.paneCount * scale);
        }
        if (U < A) U = A;                    // a cell taller than the area gets the whole area
        if (std::trunc(U) > -1.0) U = -1.0;  // a pane height of nothing still gives a row
        r.cellHeight = U;
        r.rows = static_cast<int>(A / static_cast<long long>(std::trunc(U)));
        if (r.rows < 1) r.rows = 1;
    } else {
        r.rows = s.rows;
        r.columns = s.columns;
        r.cellHeight = static_cast<double>(A) / r.rows;
        r.cellWidth = static_cast<double>(width) / r.columns;
    }
    const long long perPage = static_cast<long long>(r.rows) * r.columns;
    r.pages = static_cast<int>((n + perPage - 1) / perPage);

    r.cells.reserve(static_cast<size_t>(n));
    for (long long i = 0; i < n; ++i) {
        PrintCellRecord c;
        if (i < perPointCells) {
            c.index = static_cast<int>(i / p);
            c.kind = r.perPointKinds[static_cast<size_t>(i % p)];
        } else {
            c.index = static_cast<int>(i - perPointCells);
            c.kind = PrintItemKind::DisplayPane;
        }
        const int col = static_cast<int>(i % r.columns);
        const int row = static_cast<int>((i / r.columns) % r.rows);
        c.page = static_cast<int>(i / perPage + 1);
        c.left = r.left + static_cast<int>(std::trunc(r.cellWidth * col));
        c.right = r.left + static_cast<int>(std::trunc(r.cellWidth * (col + 1)));
        c.top = r.top + static_cast<int>(std::trunc(r.cellHeight * row));
        c.bottom = r.top + static_cast<int>(std::trunc(r.cellHeight * (row + 1)));
        if (col == r.columns - 1) c.right = r.right;
        if (!s.autoLayout && row == r.rows - 1) c.bottom = r.bottom;
        r.cells.push_back(c);
    }
    return r;
}

PrintBandTexts PrintBandText(const PrintSettings& s, bool top, int page, int lastPage) {
    PrintBandTexts t;
    const bool on = top ? s.printHeader : s.printFooter;
    if (on) t.text = gbkToUtf8(textOf(top ? s.headerText : s.footerText));
    const int pos = s.pageNumberPosition;
    if (s.printPageNumber && topPosition(pos) == top && pos >= 0 && pos <= 5) {
        t.pageNumber = FormatPageNumber(s.pageNumberFormat, page + s.firstPage - 1,
                                        lastPage + s.firstPage - 1);
        t.align = pos % 3;
    }
    if ((pos == 1 || pos == 4) && !t.text.empty() && !t.pageNumber.empty()) {
        t.text += " " + t.pageNumber;
        t.pageNumber.clear();
    }
    return t;
}

PrintTableBox PrintHeaderTableBox(const PrintSettings& s, const PrintLayoutResult& l) {
    PrintTableBox b;
    b.left = l.left + 1;
    b.right = l.right - 1;
    b.top = l.marginTop;
    if (l.headerBand) b.top -= l.fontHeight + 52;
    b.bottom = b.top - tableHeightUnits(s);
    const int lowest = l.marginBottom + l.fontHeight + 35;
    if (b.bottom < lowest) b.bottom = lowest;
    return b;
}

PrintTableBox PrintHeaderTableCell(const PrintSettings& s, const PrintTableBox& box, int row,
                                   int column) {
    const int rows = std::max(1, std::min(s.tableRows, kHeaderTableMaxRows));
    const int cols = std::max(1, std::min(s.tableColumns, kHeaderTableMaxColumns));
    const double h = static_cast<double>(box.bottom - box.top) / rows;
    const double w = static_cast<double>(box.right - box.left) / cols;
    PrintTableBox c;
    c.top = box.top + static_cast<int>(std::trunc(h * row));
    c.bottom = row >= rows - 1 ? box.bottom : box.top + static_cast<int>(std::trunc(h * (row + 1)));
    c.left = box.left + static_cast<int>(std::trunc(w * column));
    c.right =
        column >= cols - 1 ? box.right : box.left + static_cast<int>(std::trunc(w * (column + 1)));
    return c;
}

std::string PrintHeaderTableText(const PrintSettings& s, int row, int column,
                                 const PrintTableData& d) {
    if (row < 0 || row >= kHeaderTableMaxRows || column < 0 || column >= kHeaderTableMaxColumns)
        return {};
    const size_t cell = static_cast<size_t>(row * 10 + column);
    char b[64];
    switch (s.cellKinds[cell]) {
        case 0:
            return SONDARA_TR("sondara", "工程名称：") + d.projectName;
        case 1:
            return SONDARA_TR("sondara", "检测单位：") + d.testingUnit;
        case 2:
            std::snprintf(b, sizeof b, "%04d.%d.%d", d.year, d.month, d.day);
            return SONDARA_TR("sondara", "打印日期：") + b;
        case 3:
            std::snprintf(b, sizeof b, "%d", d.cellCount);
            return SONDARA_TR("sondara", "波形数：") + b;
        case 4:
            return SONDARA_TR("sondara", "文件名：") + d.title;
        default:
            return gbkToUtf8(textOf(s.cellTexts[cell]));
    }
}

}  // namespace sondara
