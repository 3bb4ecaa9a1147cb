#pragma once
// The Word report (生成报告) as a .docx: the shipped template filled at its named
// places ({{报告编号}}, {{结果表}}, ...), the result table of the checked points, the
// summary, the number of report pages as a field that the word processor updates,
// and, when asked for, one figure per checked point.
#include <string>
#include <vector>

#include "core/model/SondaraDoc.h"
#include "core/output/ReportInfo.h"

namespace sondara {

struct WordReportInput {
    ReportTexts texts;
    ReportDate today;
    // One encoded picture per checked point in check-list order (empty: no figures).
    std::vector<std::string> figures;
    std::string figureExtension = "png";
    int figureWidth = 530;  // px at 96 dpi
    int figureHeight = 185;
};

inline constexpr int kReportFigureWidth = 530;
inline constexpr int kReportFigureHeight = 185;

// Fills the template at `templatePath` and writes `outPath` (replaced only when the
// new file is complete). False with a message in `error`.
bool WriteWordReport(const CSondaraDoc& doc, const WordReportInput& in,
                     const std::string& templatePath, const std::string& outPath,
                     std::string& error);

// A document of pictures (the Word target of 保存图形): centred, `columns` per row,
// rows separated by an empty line. Each picture takes its pixel size at 96 dpi; one
// wider than its share of the text width (the width / `columns`) or taller than the
// text height is scaled down to fit, keeping its aspect.
bool WritePictureDocument(const std::vector<std::string>& pictures, const std::string& extension,
                          int width, int height, int columns, const std::string& outPath,
                          std::string& error);

// The report template shipped with the program: $SONDARA_RESOURCE_DIR, then
// <exe dir>/../share/sondara/, <exe dir>/share/sondara/, then the source tree's
// resources/report/. Empty when none exists.
std::string FindReportTemplate();
inline constexpr const char* kReportTemplateName = "report-template.docx";

}  // namespace sondara
