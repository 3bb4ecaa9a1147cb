#include "core/processing/ProcessKinds.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <variant>

#include "core/base/TrNoop.h"

namespace sondara {

namespace {

struct KindInfo {
    ProcessKind kind;
    std::string_view enumerator;
    std::string_view history;
    std::string_view command;
};

constexpr KindInfo kKinds[] = {
    {ProcessKind::Integrate, "Integrate", SONDARA_TR_NOOP("sondara", "积分"),
     SONDARA_TR_NOOP("sondara", "积分")},
    {ProcessKind::Differentiate, "Differentiate", SONDARA_TR_NOOP("sondara", "微分"),
     SONDARA_TR_NOOP("sondara", "微分")},
    {ProcessKind::Filter, "Filter", SONDARA_TR_NOOP("sondara", "数字滤波"),
     SONDARA_TR_NOOP("sondara", "数字滤波")},
    {ProcessKind::LinearZero, "LinearZero", SONDARA_TR_NOOP("sondara", "线性归零"),
     SONDARA_TR_NOOP("sondara", "线性归零")},
    {ProcessKind::NonlinearZero, "NonlinearZero", SONDARA_TR_NOOP("sondara", "非线性归零"),
     SONDARA_TR_NOOP("sondara", "非线性归零")},
    {ProcessKind::Reverse, "Reverse", SONDARA_TR_NOOP("sondara", "波形反向"),
     SONDARA_TR_NOOP("sondara", "波形反向")},
    {ProcessKind::Smooth, "Smooth", SONDARA_TR_NOOP("sondara", "平滑"),
     SONDARA_TR_NOOP("sondara", "平滑")},
    {ProcessKind::RemoveDc, "RemoveDc", SONDARA_TR_NOOP("sondara", "去直流"),
     SONDARA_TR_NOOP("sondara", "去直流")},
    {ProcessKind::FrontZero, "FrontZero", SONDARA_TR_NOOP("sondara", "前置零"),
     SONDARA_TR_NOOP("sondara", "前清零")},
    {ProcessKind::BackZero, "BackZero", SONDARA_TR_NOOP("sondara", "后置零"),
     SONDARA_TR_NOOP("sondara", "后清零")},
    {ProcessKind::Shift, "Shift", SONDARA_TR_NOOP("sondara", "数据平移"),
     SONDARA_TR_NOOP("sondara", "数据平移")},
    {ProcessKind::Rotate, "Rotate", SONDARA_TR_NOOP("sondara", "波形旋转"),
     SONDARA_TR_NOOP("sondara", "波形旋转")},
    {ProcessKind::Amplify, "Amplify", SONDARA_TR_NOOP("sondara", "波形放大"),
     SONDARA_TR_NOOP("sondara", "波形放大")},
    {ProcessKind::DynamicScale, "DynamicScale", SONDARA_TR_NOOP("sondara", "动态缩放"), ""},
    {ProcessKind::LocalScale, "LocalScale", SONDARA_TR_NOOP("sondara", "局部缩放"),
     SONDARA_TR_NOOP("sondara", "局部缩放")},
    {ProcessKind::SimpleIntegrate, "SimpleIntegrate", SONDARA_TR_NOOP("sondara", "简单积分"),
     SONDARA_TR_NOOP("sondara", "简单积分")},
};

const KindInfo* findKind(int code) {
    for (const KindInfo& k : kKinds)
        if (static_cast<int>(k.kind) == code) return &k;
    return nullptr;
}

using IntField = std::int32_t ProcessStep::*;
using FloatField = float ProcessStep::*;
struct FieldInfo {
    std::string_view name;
    std::variant<IntField, FloatField> member;
};

const std::vector<FieldInfo>& fieldTable() {
    static const std::vector<FieldInfo> table = {
        {"filterType", &ProcessStep::filterType},
        {"upperFreqHz", &ProcessStep::upperFreqHz},
        {"lowerFreqHz", &ProcessStep::lowerFreqHz},
        {"ampLaw", &ProcessStep::ampLaw},
        {"ampFactor", &ProcessStep::ampFactor},
        {"ampStart", &ProcessStep::ampStart},
        {"smoothPoints", &ProcessStep::smoothPoints},
        {"dcPartial", &ProcessStep::dcPartial},
        {"dcStart", &ProcessStep::dcStart},
        {"rotPartial", &ProcessStep::rotPartial},
        {"rotStart", &ProcessStep::rotStart},
        {"rotAngle", &ProcessStep::rotAngle},
        {"rotScale", &ProcessStep::rotScale},
        {"linZeroMode", &ProcessStep::linZeroMode},
        {"linZeroStart", &ProcessStep::linZeroStart},
        {"nonlinZeroMode", &ProcessStep::nonlinZeroMode},
        {"nonlinZeroStart", &ProcessStep::nonlinZeroStart},
        {"frontZeroEnd", &ProcessStep::frontZeroEnd},
        {"backZeroStart", &ProcessStep::backZeroStart},
        {"scaleStart", &ProcessStep::scaleStart},
        {"scaleEnd", &ProcessStep::scaleEnd},
        {"scaleFactor", &ProcessStep::scaleFactor},
        {"shiftSamples", &ProcessStep::shiftSamples},
        {"shiftMv", &ProcessStep::shiftMv},
        {"shiftPartial", &ProcessStep::shiftPartial},
        {"shiftStart", &ProcessStep::shiftStart},
        {"shiftEnd", &ProcessStep::shiftEnd},
    };
    return table;
}

const FieldInfo* findField(std::string_view name) {
    for (const FieldInfo& f : fieldTable())
        if (f.name == name) return &f;
    return nullptr;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

std::string_view HistoryName(int kind) {
    if (kind == 0) return SONDARA_TR_NOOP("sondara", "<不一致>");
    const KindInfo* k = findKind(kind);
    return k ? k->history : std::string_view{};
}

std::string_view CommandName(int kind) {
    const KindInfo* k = findKind(kind);
    return k ? k->command : std::string_view{};
}

std::string_view KindEnumeratorName(int kind) {
    const KindInfo* k = findKind(kind);
    return k ? k->enumerator : std::string_view{};
}

bool ParseKind(std::string_view text, ProcessKind& kind) {
    for (const KindInfo& k : kKinds) {
        if (equalsIgnoreCase(text, k.enumerator)) {
            kind = k.kind;
            return true;
        }
    }
    if (text.empty() || text.size() > 9) return false;
    int code = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        code = code * 10 + (c - '0');
    }
    if (!findKind(code)) return false;
    kind = static_cast<ProcessKind>(code);
    return true;
}

bool KindAvailable(ProcessKind kind, AnalysisDomain domain, bool timeAnalysisShowsAverage) {
    switch (kind) {
        case ProcessKind::Filter:
        case ProcessKind::Amplify:
        case ProcessKind::RemoveDc:
        case ProcessKind::Smooth:
        case ProcessKind::Integrate:
        case ProcessKind::Differentiate:
        case ProcessKind::SimpleIntegrate:
            return true;
        case ProcessKind::Rotate:
        case ProcessKind::LinearZero:
        case ProcessKind::NonlinearZero:
        case ProcessKind::FrontZero:
        case ProcessKind::BackZero:
        case ProcessKind::LocalScale:
        case ProcessKind::Shift:
        case ProcessKind::Reverse:
            return domain == AnalysisDomain::Integrity ||
                   (domain == AnalysisDomain::TimeAnalysis && timeAnalysisShowsAverage);
        default:
            return false;
    }
}

bool KindHasParameters(ProcessKind kind) {
    return !KindFields(kind).empty();
}

const std::vector<std::string_view>& KindFields(ProcessKind kind) {
    static const std::vector<std::string_view> none;
    static const std::vector<std::string_view> filter{"filterType", "upperFreqHz", "lowerFreqHz"};
    static const std::vector<std::string_view> linZero{"linZeroMode", "linZeroStart"};
    static const std::vector<std::string_view> nonlinZero{"nonlinZeroMode", "nonlinZeroStart"};
    static const std::vector<std::string_view> smooth{"smoothPoints"};
    static const std::vector<std::string_view> dc{"dcPartial", "dcStart"};
    static const std::vector<std::string_view> front{"frontZeroEnd"};
    static const std::vector<std::string_view> back{"backZeroStart"};
    static const std::vector<std::string_view> shift{"shiftSamples", "shiftMv", "shiftPartial",
                                                     "shiftStart", "shiftEnd"};
    static const std::vector<std::string_view> rotate{"rotPartial", "rotStart", "rotAngle",
                                                      "rotScale"};
    static const std::vector<std::string_view> amplify{"ampLaw", "ampFactor", "ampStart"};
    static const std::vector<std::string_view> scale{"scaleStart", "scaleEnd", "scaleFactor"};
    switch (kind) {
        case ProcessKind::Filter:
            return filter;
        case ProcessKind::LinearZero:
            return linZero;
        case ProcessKind::NonlinearZero:
            return nonlinZero;
        case ProcessKind::Smooth:
            return smooth;
        case ProcessKind::RemoveDc:
            return dc;
        case ProcessKind::FrontZero:
            return front;
        case ProcessKind::BackZero:
            return back;
        case ProcessKind::Shift:
            return shift;
        case ProcessKind::Rotate:
            return rotate;
        case ProcessKind::Amplify:
            return amplify;
        case ProcessKind::LocalScale:
            return scale;
        default:
            return none;
    }
}

const std::vector<std::string_view>& AllStepFields() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> v;
        for (const FieldInfo& f : fieldTable()) v.push_back(f.name);
        return v;
    }();
    return names;
}

bool SetStepField(ProcessStep& step, std::string_view name, std::string_view value,
                  std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    const FieldInfo* f = findField(name);
    if (!f) return fail("unknown step field '" + std::string(name) + "'");
    const std::string text(value);
    const char* s = text.c_str();
    char* end = nullptr;
    errno = 0;
    if (std::holds_alternative<IntField>(f->member)) {
        const long long v = std::strtoll(s, &end, 10);
        if (end == s || *end != '\0' || errno == ERANGE ||
            v < std::numeric_limits<std::int32_t>::min() ||
            v > std::numeric_limits<std::int32_t>::max())
            return fail(std::string(name) + ": not a whole number: '" + text + "'");
        step.*std::get<IntField>(f->member) = static_cast<std::int32_t>(v);
    } else {
        const double v = std::strtod(s, &end);
        if (end == s || *end != '\0' || !std::isfinite(v) ||
            std::fabs(v) > std::numeric_limits<float>::max())
            return fail(std::string(name) + ": not a number: '" + text + "'");
        step.*std::get<FloatField>(f->member) = static_cast<float>(v);
    }
    return true;
}

std::string StepFieldText(const ProcessStep& step, std::string_view name) {
    const FieldInfo* f = findField(name);
    if (!f) return {};
    char buf[48];
    if (std::holds_alternative<IntField>(f->member))
        std::snprintf(buf, sizeof buf, "%d", static_cast<int>(step.*std::get<IntField>(f->member)));
    else
        std::snprintf(buf, sizeof buf, "%.9g",
                      static_cast<double>(step.*std::get<FloatField>(f->member)));
    return buf;
}

}  // namespace sondara
