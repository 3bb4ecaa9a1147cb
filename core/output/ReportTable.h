#pragma once
// The texts of the reports' result table, built from the checked points: one row per
// checked point in check-list order, the evaluation from the defect kinds, and the
// Word report's paragraphs and summary. Texts are UTF-8.
#include <string>
#include <vector>

#include "core/base/TrNoop.h"
#include "core/model/SondaraDoc.h"
#include "core/output/ReportInfo.h"

namespace sondara {

inline constexpr const char* kNoPointsForReport =
    SONDARA_TR_NOOP("sondara", "请选择要生成报告的测点");
inline constexpr const char* kNoPointsForTable =
    SONDARA_TR_NOOP("sondara", "请选择要生成报表的测点");

struct ReportRow {
    int point = -1;
    std::string pileNo;      // trimmed in the Word report, as stored in the table
    std::string diameter;    // "%d"
    std::string length;      // "%0.2f"
    std::string waveSpeed;   // "%d"
    int grade = 0;           // ReportClass value
    std::string evaluation;  // "Ⅰ", "Ⅱ/Ⅲ", "Ⅳ"
    std::string defects;     // the defect lines
};

enum class ReportFlavour {
    Word,   // pile number trimmed, defects "(%d) 深度%0.1fm  %s\n"
    Excel,  // pile number as stored, defects "(%d)深度%0.1fm %s  "
};

std::string DefectCellText(const TestPoint& p, ReportFlavour f);
std::vector<ReportRow> ReportRows(const CSondaraDoc& doc, ReportFlavour f);

// The table headers: the Word report breaks some of them into two lines.
const std::vector<std::string>& WordTableHeaders();
const std::vector<std::string>& ExcelTableHeaders();
// Column widths: the Word table in points, the sheet in column-width units.
inline constexpr int kWordColumnWidths[6] = {45, 75, 45, 50, 60, 150};
inline constexpr int kExcelColumnWidths[6] = {6, 12, 7, 9, 12, 15};

struct ReportCounts {
    int total = 0;
    int intact = 0;     // Ⅰ
    int defective = 0;  // Ⅱ/Ⅲ
    int severe = 0;     // Ⅳ
};
ReportCounts CountGrades(const std::vector<ReportRow>& rows);

// The Word report's three paragraphs (the second and third begin with four blanks).
std::string ProjectParagraph(const ReportTexts& t);
std::string CommissionParagraph(const ReportTexts& t, const std::vector<ReportRow>& rows);
std::string GeologyParagraph(const ReportTexts& t);
// "该工程%d根桩基质量测试结果综合如下：" and the three class lines.
std::vector<std::string> SummaryLines(const ReportCounts& c);

// Blanks (space, tab) trimmed at both ends.
std::string TrimBlanks(std::string_view s);

}  // namespace sondara
