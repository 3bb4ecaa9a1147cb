#include "core/output/XlsxReport.h"

#include <xlsxwriter.h>

#include <cstdio>

#include "core/base/ByteIo.h"
#include "core/output/ReportTable.h"

namespace sondara {

namespace {
// A cell holds at most 32767 bytes; a longer defect list is cut at a character.
std::string fitCell(const std::string& s) {
    constexpr size_t kMax = 32767;
    if (s.size() <= kMax) return s;
    size_t n = kMax;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return s.substr(0, n);
}
}  // namespace

bool WriteExcelReport(const CSondaraDoc& doc, const std::string& path, std::string& error) {
    const std::vector<ReportRow> rows = ReportRows(doc, ReportFlavour::Excel);
    // The spreadsheet library writes by file name: it writes the writer's unnamed file.
    AtomicFileWriter file(path);
    if (!file.isOpen()) {
        error = file.error();
        return false;
    }
    lxw_workbook* wb = workbook_new(file.openPath().c_str());
    if (!wb) {
        error = "无法创建文件：" + path;
        return false;
    }
    lxw_worksheet* ws = workbook_add_worksheet(wb, "报表1");
    bool ok = ws != nullptr;
    // Texts only; the defect column wraps when its text is longer than the column.
    lxw_format* text = workbook_add_format(wb);
    format_set_num_format(text, "@");
    for (int c = 0; ok && c < 6; ++c)
        ok = worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                  kExcelColumnWidths[c], text) == LXW_NO_ERROR;
    const std::vector<std::string>& headers = ExcelTableHeaders();
    for (int c = 0; ok && c < 6; ++c)
        ok = worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c),
                                    headers[static_cast<size_t>(c)].c_str(), text) == LXW_NO_ERROR;
    lxw_row_t r = 1;
    for (const ReportRow& row : rows) {
        const std::string* cells[6] = {&row.pileNo,    &row.diameter,   &row.length,
                                       &row.waveSpeed, &row.evaluation, &row.defects};
        for (int c = 0; ok && c < 6; ++c) {
            if (cells[c]->empty()) continue;
            ok = worksheet_write_string(ws, r, static_cast<lxw_col_t>(c),
                                        fitCell(*cells[c]).c_str(), text) == LXW_NO_ERROR;
        }
        ++r;
    }
    const lxw_error closed = workbook_close(wb);
    if (!ok || closed != LXW_NO_ERROR || !file.commit()) {
        error = file.error().empty() ? "写文件失败：" + path : file.error();
        return false;
    }
    return true;
}

}  // namespace sondara
