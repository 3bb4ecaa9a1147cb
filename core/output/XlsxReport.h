#pragma once
// The Excel table of the checked points (生成报表) as a .xlsx file: the sheet "报表1",
// the six headers, the column widths 6, 12, 7, 9, 12, 15, every cell a text.
#include <string>

#include "core/model/SondaraDoc.h"

namespace sondara {

// Writes the table to `path` (replaced only when the new file is complete). False
// with a message in `error` when the file cannot be written.
bool WriteExcelReport(const CSondaraDoc& doc, const std::string& path, std::string& error);

}  // namespace sondara
