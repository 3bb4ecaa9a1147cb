#include "render/PrintPagePainter.h"

#include <QPainter>
#include <QPen>
#include <QStringList>
#include <algorithm>

#include "core/base/TextCodec.h"
#include "core/output/ReportInfo.h"

namespace sondara::render {

namespace {

QString qs(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A rectangle in units with y up (top above bottom) as a y-down rectangle for the
// flipped painter of drawTextUp.
QRectF downRect(double left, double top, double right, double bottom) {
    return QRectF(left, -top, right - left, top - bottom);
}

void drawTextUp(QPainter& p, double left, double top, double right, double bottom, int flags,
                const QString& text) {
    if (text.isEmpty()) return;
    p.save();
    p.scale(1.0, -1.0);
    p.drawText(downRect(left, top, right, bottom), flags, text);
    p.restore();
}

void lineUp(QPainter& p, int width, double x0, double y0, double x1, double y1) {
    p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x0, y0), QPointF(x1, y1));
}

void rectUp(QPainter& p, int width, const PrintTableBox& b) {
    p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(b.left, b.bottom, b.right - b.left, b.top - b.bottom));
}

}  // namespace

QFont PrintPageFont(const PrintFont& f) {
    QFont font;
    QStringList families;
    const std::string face = gbkToUtf8(textOf(f.faceName));
    if (!face.empty()) families << qs(face);
    families << "SimSun"
             << "Noto Serif CJK SC"
             << "Noto Sans CJK SC"
             << "WenQuanYi Micro Hei"
             << "Droid Sans Fallback";
    font.setFamilies(families);
    font.setPixelSize(std::max(1, PrintFontUnits(f)));
    // Faces come as regular and bold: a stored weight below 550 is regular.
    font.setWeight(f.weight >= 550 ? QFont::Bold : QFont::Normal);
    font.setItalic(f.italic != 0);
    font.setUnderline(f.underline != 0);
    font.setStrikeOut(f.strikeOut != 0);
    return font;
}

PrintPagePainter::PrintPagePainter(const PrintSettings& settings, const PrintLayoutResult& layout,
                                   PrintTableData table, PrintPageCells& cells)
    : s_(settings),
      l_(layout),
      data_(std::move(table)),
      cells_(cells),
      font_(PrintPageFont(settings.font)) {
    data_.cellCount = layout.itemCount;
}

void PrintPagePainter::setUpUnits(QPainter& p, double dpiX, double dpiY) {
    p.resetTransform();
    p.scale(dpiX / 254.0, -dpiY / 254.0);
}

void PrintPagePainter::paintPage(QPainter& p, int page) {
    p.save();
    p.setFont(font_);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    // The cells first: their ground is white and the first row starts right on the
    // table's lower border, which must stay visible.
    for (const PrintCellRecord& c : l_.cells)
        if (c.page == page) cell(p, c);
    if (l_.headerBand) band(p, true, page);
    if (l_.footerBand) band(p, false, page);
    if (s_.printTable) table(p);
    p.restore();
}

void PrintPagePainter::band(QPainter& p, bool top, int page) {
    const int F = l_.fontHeight;
    const PrintBandTexts t = PrintBandText(s_, top, page, l_.pages);
    double upper, lower;
    if (top) {
        const int T0 = l_.marginTop;
        lineUp(p, 1, l_.left, T0 - F - 17, l_.right, T0 - F - 17);
        upper = T0;
        lower = T0 - F;
    } else {
        const int B0 = l_.marginBottom;
        upper = B0 + F;
        lower = B0;
    }
    p.setPen(Qt::black);
    const int single = Qt::TextSingleLine | Qt::AlignVCenter;
    drawTextUp(p, l_.left, upper, l_.right, lower, single | Qt::AlignHCenter, qs(t.text));
    const int aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    drawTextUp(p, l_.left, upper, l_.right, lower, single | aligns[std::clamp(t.align, 0, 2)],
               qs(t.pageNumber));
}

void PrintPagePainter::table(QPainter& p) {
    const PrintTableBox box = PrintHeaderTableBox(s_, l_);
    if (box.top <= box.bottom || box.right <= box.left) return;
    rectUp(p, 2, box);
    const int rows = std::clamp(s_.tableRows, 1, kHeaderTableMaxRows);
    const int cols = std::clamp(s_.tableColumns, 1, kHeaderTableMaxColumns);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const PrintTableBox cell = PrintHeaderTableCell(s_, box, r, c);
            if (s_.tableGridLines) rectUp(p, 1, cell);
            p.setPen(Qt::black);
            drawTextUp(p, cell.left + l_.fontHeight, cell.top, cell.right, cell.bottom,
                       Qt::TextSingleLine | Qt::AlignVCenter | Qt::AlignLeft,
                       qs(PrintHeaderTableText(s_, r, c, data_)));
        }
    }
}

void PrintPagePainter::cell(QPainter& p, const PrintCellRecord& c) {
    cells_.paint(p, c);
}

PrintTableData PrintTableFor(const CSondaraDoc& doc, std::string title) {
    PrintTableData table;
    table.projectName = gbkToUtf8(textOf(doc.info.projectName));
    table.testingUnit = gbkToUtf8(textOf(doc.info.testingUnit));
    // The local date, as on the Word report: a page printed in the morning in China
    // shows that day, not yesterday's date of Greenwich.
    const ReportDate today = TodayLocal();
    table.year = today.year;
    table.month = today.month;
    table.day = today.day;
    table.title = std::move(title);
    return table;
}

bool PrintPages(QPagedPaintDevice& device, PrintPagePainter& painter, int pages, int from, int to,
                const std::function<bool(int page)>& progress) {
    if (pages <= 0) return true;
    const int first = from > 0 ? std::min(from, pages) : 1;
    const int last = to > 0 ? std::clamp(to, first, pages) : pages;
    QPainter p;
    if (!p.begin(&device)) return false;
    for (int page = first; page <= last; ++page) {
        if (progress && !progress(page)) break;
        if (page > first) device.newPage();
        PrintPagePainter::setUpUnits(p, device.logicalDpiX(), device.logicalDpiY());
        painter.paintPage(p, page);
    }
    return p.end();
}

}  // namespace sondara::render
