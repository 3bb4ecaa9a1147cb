#include "core/output/ReportInfo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "core/base/FixedText.h"
#include "core/base/TextCodec.h"
#include "core/base/TrNoop.h"

namespace sondara {

std::string FormatReportDate(const ReportDate& d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d年%d月%d日", d.year, d.month, d.day);
    return buf;
}

ReportDate TodayLocal() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

ReportDate ClampRecordDate(ReportDate d) {
    if (d.year < 1971 || d.year > 2037) d.year = 1971;
    if (d.month < 1 || d.month > 12) d.month = 1;
    if (d.day < 1 || d.day > 31) d.day = 1;
    return d;
}

SettingsFile reportInfoSettingsFile() {
    return {"MIR_QAR4_WORD_001.ini", "MIR_QAR4_WORD_001"};
}

std::string CutGeology(const std::string& utf8) {
    const std::string gbk = utf8ToGbk(utf8);
    if (gbk.size() < kGeologyBytes) return utf8;
    return gbkToUtf8(std::string_view(gbk).substr(0, gbkSafeCut(gbk, kGeologyBytes - 1)));
}

bool loadReportInfoRecord(ReportInfoRecord& out) {
    ReportInfoRecord r;
    const auto date = [](ByteReader& in, ReportDate& d) {
        d.year = in.i32();
        d.month = in.i32();
        d.day = in.i32();
    };
    const bool found = reportInfoSettingsFile().read([&](ByteReader& in) {
        r.strengthClass = in.i32();
        date(in, r.castingDate);
        date(in, r.testDate);
        r.pileDiameter = in.i32();
        r.totalPiles = in.i32();
        r.produceFigures = in.i32();
        FixedText<kGeologyBytes> geology{};
        in.text(geology);
        r.geology = gbkToUtf8(textOf(geology));
    });
    if (!found) return false;
    r.castingDate = ClampRecordDate(r.castingDate);
    r.testDate = ClampRecordDate(r.testDate);
    if (r.strengthClass < 0 || r.strengthClass >= static_cast<int>(kStrengthClasses.size()))
        r.strengthClass = 0;
    r.produceFigures = r.produceFigures != 0 ? 1 : 0;
    out = r;
    return true;
}

bool saveReportInfoRecord(const ReportInfoRecord& r, Prompter* prompter) {
    return reportInfoSettingsFile().write(
        [&](ByteWriter& w) {
            w.i32(r.strengthClass);
            for (const ReportDate* d : {&r.castingDate, &r.testDate}) {
                w.i32(d->year);
                w.i32(d->month);
                w.i32(d->day);
            }
            w.i32(r.pileDiameter);
            w.i32(r.totalPiles);
            w.i32(r.produceFigures);
            FixedText<kGeologyBytes> geology;
            setText(geology, utf8ToGbk(r.geology));
            w.text(geology);
        },
        prompter);
}

ReportInfoRecord ReportInfo::record() const {
    ReportInfoRecord r;
    r.strengthClass = strengthClass;
    r.castingDate = castingDate;
    r.testDate = testDate;
    r.pileDiameter = pileDiameter;
    r.totalPiles = totalPiles;
    r.produceFigures = produceFigures ? 1 : 0;
    r.geology = CutGeology(geology);
    return r;
}

void ReportInfo::applyRecord(const ReportInfoRecord& r) {
    strengthClass = r.strengthClass;
    castingDate = r.castingDate;
    testDate = r.testDate;
    pileDiameter = r.pileDiameter;
    totalPiles = r.totalPiles;
    produceFigures = r.produceFigures != 0;
    geology = r.geology;
}

ReportTexts MakeReportTexts(const ReportInfo& i) {
    ReportTexts t;
    t.reportNumber = i.reportNumber;
    t.projectName = i.projectName;
    t.address = i.address;
    t.client = i.client;
    t.designer = i.designer;
    t.contractor = i.contractor;
    t.supervisor = i.supervisor;
    t.authority = i.authority;
    t.commissioner = i.commissioner;
    const int sc = std::clamp(i.strengthClass, 0, static_cast<int>(kStrengthClasses.size()) - 1);
    t.strengthClass = kStrengthClasses[static_cast<size_t>(sc)];
    t.castingDate = FormatReportDate(i.castingDate);
    t.pileType = i.pileType;
    t.pileDiameter = std::to_string(i.pileDiameter);
    t.totalPiles = std::to_string(i.totalPiles);
    t.testDate = FormatReportDate(i.testDate);
    t.testingUnit = i.testingUnit;
    t.staff = i.staff;
    t.geology = i.geology;
    t.produceFigures = i.produceFigures;
    return t;
}

const std::array<ReportTextField, 12>& ReportTextFields() {
    static const std::array<ReportTextField, 12> fields{{
        {SONDARA_TR_NOOP("sondara", "报告编号"), &ReportInfo::reportNumber},
        {SONDARA_TR_NOOP("sondara", "工程名称"), &ReportInfo::projectName},
        {SONDARA_TR_NOOP("sondara", "工程地址"), &ReportInfo::address},
        {SONDARA_TR_NOOP("sondara", "建设单位"), &ReportInfo::client},
        {SONDARA_TR_NOOP("sondara", "设计单位"), &ReportInfo::designer},
        {SONDARA_TR_NOOP("sondara", "施工单位"), &ReportInfo::contractor},
        {SONDARA_TR_NOOP("sondara", "监理单位"), &ReportInfo::supervisor},
        {SONDARA_TR_NOOP("sondara", "监督单位"), &ReportInfo::authority},
        {SONDARA_TR_NOOP("sondara", "委托单位"), &ReportInfo::commissioner},
        {SONDARA_TR_NOOP("sondara", "桩基类型"), &ReportInfo::pileType},
        {SONDARA_TR_NOOP("sondara", "检测单位"), &ReportInfo::testingUnit},
        {SONDARA_TR_NOOP("sondara", "检测人员"), &ReportInfo::staff},
    }};
    return fields;
}

}  // namespace sondara
