#include "core/output/ReportInfoJson.h"

#include <cmath>
#include <cstdio>

#include "core/base/Json.h"
#include "core/base/TextCodec.h"

namespace sondara {

namespace {

bool parseDate(const std::string& s, ReportDate& d) {
    int y = 0, m = 0, day = 0;
    char tail = 0;
    if (std::sscanf(s.c_str(), "%d-%d-%d%c", &y, &m, &day, &tail) == 3 ||
        std::sscanf(s.c_str(), "%d年%d月%d日%c", &y, &m, &day, &tail) == 3) {
        if (y < 1 || y > 9999 || m < 1 || m > 12 || day < 1 || day > 31) return false;
        d = {y, m, day};
        return true;
    }
    return false;
}

}  // namespace

bool ApplyReportInfoJson(std::string_view text, ReportInfo& info, std::string& error) {
    json::Value root;
    if (!json::parse(text, root, error)) return false;
    if (!root.isObject()) {
        error = "the project information must be a JSON object";
        return false;
    }
    ReportInfo out = info;
    for (const json::Value::Member& member : root.members()) {
        const std::string& key = member.first;  // named, so that the lambda below can take it
        const json::Value& v = member.second;
        const auto bad = [&](const char* what) {
            error = "\"" + key + "\": " + what;
            return false;
        };
        bool known = false;
        for (const ReportTextField& f : ReportTextFields()) {
            if (key != f.name) continue;
            if (!v.isString()) return bad("a text is expected");
            out.*f.member = v.string();
            known = true;
        }
        if (known) continue;
        if (key == "强度等级") {
            bool found = false;
            for (size_t i = 0; i < kStrengthClasses.size(); ++i)
                if (v.isString() && v.string() == kStrengthClasses[i]) {
                    out.strengthClass = static_cast<int>(i);
                    found = true;
                }
            if (!found) return bad("one of C10, C15, ... C50 is expected");
        } else if (key == "浇筑日期" || key == "检测日期") {
            ReportDate& d = key == "浇筑日期" ? out.castingDate : out.testDate;
            if (!v.isString() || !parseDate(v.string(), d))
                return bad("a date such as \"2026-04-21\" is expected");
        } else if (key == "桩径" || key == "总桩数") {
            const double n = v.number();
            if (!v.isNumber() || n != std::floor(n) || n < 0 || n > 1e9)
                return bad("a whole number is expected");
            (key == "桩径" ? out.pileDiameter : out.totalPiles) = static_cast<int>(n);
        } else if (key == "地质概况") {
            if (!v.isString()) return bad("a text is expected");
            out.geology = CutGeology(v.string());
        } else if (key == "生成附图") {
            if (!v.isBool()) return bad("true or false is expected");
            out.produceFigures = v.boolean();
        } else {
            return bad("not a field of the project information");
        }
    }
    info = out;
    return true;
}

void ApplyProjectValues(const CSondaraDoc& doc, ReportInfo& info) {
    const std::string name = gbkToUtf8(textOf(doc.info.projectName));
    const std::string unit = gbkToUtf8(textOf(doc.info.testingUnit));
    if (!name.empty()) info.projectName = name;
    if (!unit.empty()) info.testingUnit = unit;
    info.totalPiles = doc.pileCount();
}

}  // namespace sondara
