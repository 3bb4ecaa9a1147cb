#pragma once
// The project information of the report from a JSON object keyed by the dialog's
// field names, for the command line:
//   {"报告编号": "JC-2026-017", "工程名称": "...", "强度等级": "C30",
//    "浇筑日期": "2026-03-09", "桩径": 600, "总桩数": 120, "生成附图": true, ...}
// Text fields take strings; 强度等级 one of "C10".."C50"; dates "YYYY-MM-DD" or
// "YYYY年M月D日"; 桩径 and 总桩数 whole numbers; 生成附图 true or false. Fields not
// given keep their values; an unknown name is an error (a typo would go unnoticed).
#include <string>
#include <string_view>

#include "core/model/SondaraDoc.h"
#include "core/output/ReportInfo.h"

namespace sondara {

bool ApplyReportInfoJson(std::string_view text, ReportInfo& info, std::string& error);

// The values the report command hands to the dialog: the project name and the testing
// unit of the file (when not empty) and the number of piles.
void ApplyProjectValues(const CSondaraDoc& doc, ReportInfo& info);

}  // namespace sondara
