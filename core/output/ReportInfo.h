#pragma once
// The project information of the Word report (the 工程信息 dialog): the remembered
// record "MIR_QAR4_WORD_001.ini", the dialog's choice lists, and the texts the
// dialog returns for the report.
#include <array>
#include <cstdint>
#include <string>

#include "core/app/SettingsFile.h"

namespace sondara {

class Prompter;

inline constexpr std::array<const char*, 9> kStrengthClasses{"C10", "C15", "C20", "C25", "C30",
                                                             "C35", "C40", "C45", "C50"};
inline constexpr std::array<const char*, 9> kReportPileTypes{
    "沉管灌注桩",   "钻孔灌注桩", "人工挖孔灌注桩", "扩底桩", "夯扩桩",
    "混凝土预制桩", "预应力管桩", "钢桩",           "粉喷桩"};
inline constexpr std::size_t kGeologyBytes = 260;  // GBK bytes kept, NUL included

struct ReportDate {
    std::int32_t year = 1971;
    std::int32_t month = 1;
    std::int32_t day = 1;
    bool operator==(const ReportDate&) const = default;
};
// "%04d年%d月%d日"
std::string FormatReportDate(const ReportDate& d);
// Today by the local clock.
ReportDate TodayLocal();
// The date brought into the range the dialog's pickers take: a year outside
// 1971..2037 becomes 1971, a month outside 1..12 becomes 1, a day outside 1..31 1.
ReportDate ClampRecordDate(ReportDate d);

// The record as stored, field by field.
struct ReportInfoRecord {
    std::int32_t strengthClass = 0;  // index into kStrengthClasses
    ReportDate castingDate;
    ReportDate testDate;
    std::int32_t pileDiameter = 0;
    std::int32_t totalPiles = 0;
    std::int32_t produceFigures = 1;
    std::string geology;  // UTF-8; stored as 260 GBK bytes (NUL-terminated)
};

SettingsFile reportInfoSettingsFile();
// Reads the record and brings it into range (the dates as ClampRecordDate, the
// strength class 0..8, the flag 0/1). False when the file is missing or foreign.
bool loadReportInfoRecord(ReportInfoRecord& r);
bool saveReportInfoRecord(const ReportInfoRecord& r, Prompter* prompter);
// The geology text cut so that its GBK form fits the record (259 bytes, never half
// a character).
std::string CutGeology(const std::string& utf8);

// Every field of the dialog as a value (UTF-8 texts).
struct ReportInfo {
    std::string reportNumber;    // 报告编号
    std::string projectName;     // 工程名称
    std::string address;         // 工程地址
    std::string client;          // 建设单位
    std::string designer;        // 设计单位
    std::string contractor;      // 施工单位
    std::string supervisor;      // 监理单位
    std::string authority;       // 监督单位
    std::string commissioner;    // 委托单位
    int strengthClass = 0;       // 强度等级 index
    ReportDate castingDate;      // 浇筑日期
    std::string pileType;        // 桩基类型
    int pileDiameter = 0;        // 桩径
    int totalPiles = 0;          // 总桩数
    ReportDate testDate;         // 检测日期
    std::string testingUnit;     // 检测单位
    std::string staff;           // 检测人员
    std::string geology;         // 地质概况
    bool produceFigures = true;  // 生成附图

    // The part that the settings record keeps.
    ReportInfoRecord record() const;
    void applyRecord(const ReportInfoRecord& r);
};

// The texts the dialog hands to the report, ready for typing.
struct ReportTexts {
    std::string reportNumber, projectName, address, client, designer, contractor, supervisor,
        authority, commissioner;
    std::string strengthClass;  // "C10" ... "C50"
    std::string castingDate;    // "%04d年%d月%d日"
    std::string pileType;
    std::string pileDiameter;  // "%d"
    std::string totalPiles;    // "%d"
    std::string testDate;      // "%04d年%d月%d日"
    std::string testingUnit, staff, geology;
    bool produceFigures = true;
};
ReportTexts MakeReportTexts(const ReportInfo& info);

// The history texts of the combo boxes by their field names, in the dialog's order
// (for the histories and for reading the fields by their Chinese names).
struct ReportTextField {
    const char* name;  // "报告编号", ...
    std::string ReportInfo::*member;
};
const std::array<ReportTextField, 12>& ReportTextFields();

}  // namespace sondara
