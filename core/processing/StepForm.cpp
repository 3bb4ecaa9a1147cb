#include "core/processing/StepForm.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/base/TrNoop.h"
#include "core/processing/Positions.h"

namespace sondara {

const StepFormSpec& StepFormSpecOf(ProcessKind kind) {
    using F = FormField;
    static const StepFormSpec none{};
    static const StepFormSpec filter{
        StepFamily::Filter,
        SONDARA_TR_NOOP("sondara", "数字滤波"),
        "",
        {SONDARA_TR_NOOP("sondara", "低通滤波"), SONDARA_TR_NOOP("sondara", "高通滤波"),
         SONDARA_TR_NOOP("sondara", "带通滤波"), SONDARA_TR_NOOP("sondara", "带阻滤波")},
        {SONDARA_TR_NOOP("sondara", "低通"), SONDARA_TR_NOOP("sondara", "高通"),
         SONDARA_TR_NOOP("sondara", "带通"), SONDARA_TR_NOOP("sondara", "带阻")},
        false,
        {{F::Upper, SONDARA_TR_NOOP("sondara", "上限频率(Hz)"),
          SONDARA_TR_NOOP("sondara", "上限(Hz)")},
         {F::Lower, SONDARA_TR_NOOP("sondara", "下限频率(Hz)"),
          SONDARA_TR_NOOP("sondara", "下限(Hz)")}},
        true};
    static const StepFormSpec amplify{
        StepFamily::Amplify,
        SONDARA_TR_NOOP("sondara", "波形放大"),
        "",
        {SONDARA_TR_NOOP("sondara", "指数放大"), SONDARA_TR_NOOP("sondara", "线性放大")},
        {SONDARA_TR_NOOP("sondara", "指数"), SONDARA_TR_NOOP("sondara", "线性")},
        false,
        {{F::Factor, SONDARA_TR_NOOP("sondara", "放大系数"), SONDARA_TR_NOOP("sondara", "系数")},
         {F::Position, SONDARA_TR_NOOP("sondara", "放大延迟(m)"),
          SONDARA_TR_NOOP("sondara", "延迟(m)")}},
        true};
    static const StepFormSpec dc{
        StepFamily::RemoveDc,
        SONDARA_TR_NOOP("sondara", "去直流"),
        SONDARA_TR_NOOP("sondara", "去直流范围"),
        {SONDARA_TR_NOOP("sondara", "整个波形"), SONDARA_TR_NOOP("sondara", "部分波形")},
        {SONDARA_TR_NOOP("sondara", "整个"), SONDARA_TR_NOOP("sondara", "部分")},
        false,
        {{F::Position, SONDARA_TR_NOOP("sondara", "起始位置(m)"),
          SONDARA_TR_NOOP("sondara", "起始位置(m)")}},
        true};
    static const StepFormSpec smooth{StepFamily::Smooth,
                                     SONDARA_TR_NOOP("sondara", "波形平滑"),
                                     "",
                                     {},
                                     {},
                                     false,
                                     {{F::SmoothPoints, SONDARA_TR_NOOP("sondara", "平滑点数"),
                                       SONDARA_TR_NOOP("sondara", "平滑点数"), true}},
                                     true};
    static const StepFormSpec rotate{
        StepFamily::Rotate,
        SONDARA_TR_NOOP("sondara", "波形旋转"),
        "",
        {SONDARA_TR_NOOP("sondara", "整体波形"), SONDARA_TR_NOOP("sondara", "部分波形")},
        {SONDARA_TR_NOOP("sondara", "整体"), SONDARA_TR_NOOP("sondara", "部分")},
        false,
        {{F::Position, SONDARA_TR_NOOP("sondara", "起始位置(m)"),
          SONDARA_TR_NOOP("sondara", "起始位置(m)")},
         {F::Angle, SONDARA_TR_NOOP("sondara", "旋转角度(°)"),
          SONDARA_TR_NOOP("sondara", "角度(°)")}},
        false};
    static const std::vector<FormFieldSpec> zeroFields{{F::Position,
                                                        SONDARA_TR_NOOP("sondara", "起始位置(m)"),
                                                        SONDARA_TR_NOOP("sondara", "起始位置(m)")}};
    static const std::vector<std::string_view> zeroRadios{SONDARA_TR_NOOP("sondara", "整体波形"),
                                                          SONDARA_TR_NOOP("sondara", "部分波形"),
                                                          SONDARA_TR_NOOP("sondara", "桩尾以后")};
    static const std::vector<std::string_view> zeroDock{SONDARA_TR_NOOP("sondara", "整体"),
                                                        SONDARA_TR_NOOP("sondara", "部分"),
                                                        SONDARA_TR_NOOP("sondara", "桩尾")};
    static const StepFormSpec linZero{StepFamily::Zero,
                                      SONDARA_TR_NOOP("sondara", "线性归零"),
                                      "",
                                      zeroRadios,
                                      zeroDock,
                                      false,
                                      zeroFields,
                                      true};
    static const StepFormSpec nonlinZero{StepFamily::Zero,
                                         SONDARA_TR_NOOP("sondara", "非线性归零"),
                                         "",
                                         zeroRadios,
                                         zeroDock,
                                         false,
                                         zeroFields,
                                         true};
    static const StepFormSpec front{StepFamily::EdgeZero,
                                    SONDARA_TR_NOOP("sondara", "前清零"),
                                    "",
                                    {},
                                    {},
                                    false,
                                    zeroFields,
                                    true};
    static const StepFormSpec back{StepFamily::EdgeZero,
                                   SONDARA_TR_NOOP("sondara", "后清零"),
                                   "",
                                   {},
                                   {},
                                   false,
                                   zeroFields,
                                   true};
    static const StepFormSpec scale{
        StepFamily::LocalScale,
        SONDARA_TR_NOOP("sondara", "局部缩放"),
        "",
        {},
        {},
        false,
        {{F::Position, SONDARA_TR_NOOP("sondara", "起始点(m)"),
          SONDARA_TR_NOOP("sondara", "起始点(m)")},
         {F::End, SONDARA_TR_NOOP("sondara", "终止点(m)"), SONDARA_TR_NOOP("sondara", "终止点(m)")},
         {F::Factor, SONDARA_TR_NOOP("sondara", "缩放系数"),
          SONDARA_TR_NOOP("sondara", "缩放系数")}},
        false};
    static const StepFormSpec shift{
        StepFamily::Shift,
        SONDARA_TR_NOOP("sondara", "数据平移"),
        SONDARA_TR_NOOP("sondara", "平移范围"),
        {SONDARA_TR_NOOP("sondara", "整体波形"), SONDARA_TR_NOOP("sondara", "部分波形")},
        {SONDARA_TR_NOOP("sondara", "整体"), SONDARA_TR_NOOP("sondara", "部分")},
        true,
        {{F::ShiftMetres, SONDARA_TR_NOOP("sondara", "横向平移(m)"),
          SONDARA_TR_NOOP("sondara", "横向(m)")},
         {F::ShiftMv, SONDARA_TR_NOOP("sondara", "竖向平移(mV)"),
          SONDARA_TR_NOOP("sondara", "竖向(mV)")},
         {F::Position, SONDARA_TR_NOOP("sondara", "起始点(m)"),
          SONDARA_TR_NOOP("sondara", "起始(m)")},
         {F::End, SONDARA_TR_NOOP("sondara", "终止点(m)"), SONDARA_TR_NOOP("sondara", "终止(m)")}},
        false};
    switch (kind) {
        case ProcessKind::Filter:
            return filter;
        case ProcessKind::Amplify:
            return amplify;
        case ProcessKind::RemoveDc:
            return dc;
        case ProcessKind::Smooth:
            return smooth;
        case ProcessKind::Rotate:
            return rotate;
        case ProcessKind::LinearZero:
            return linZero;
        case ProcessKind::NonlinearZero:
            return nonlinZero;
        case ProcessKind::FrontZero:
            return front;
        case ProcessKind::BackZero:
            return back;
        case ProcessKind::LocalScale:
            return scale;
        case ProcessKind::Shift:
            return shift;
        default:
            return none;
    }
}

double StepFields::value(FormField f) const {
    switch (f) {
        case FormField::Upper:
            return upper;
        case FormField::Lower:
            return lower;
        case FormField::Factor:
            return factor;
        case FormField::Position:
            return position;
        case FormField::End:
            return end;
        case FormField::Angle:
            return angle;
        case FormField::SmoothPoints:
            return smoothPoints;
        case FormField::ShiftMetres:
            return shiftMetres;
        case FormField::ShiftMv:
            return shiftMv;
    }
    return 0;
}

void StepFields::setValue(FormField f, double v) {
    switch (f) {
        case FormField::Upper:
            upper = v;
            break;
        case FormField::Lower:
            lower = v;
            break;
        case FormField::Factor:
            factor = v;
            break;
        case FormField::Position:
            position = v;
            break;
        case FormField::End:
            end = v;
            break;
        case FormField::Angle:
            angle = v;
            break;
        case FormField::SmoothPoints:
            smoothPoints = std::isfinite(v) && std::fabs(v) < 2e9 ? static_cast<int>(v) : 0;
            break;
        case FormField::ShiftMetres:
            shiftMetres = v;
            break;
        case FormField::ShiftMv:
            shiftMv = v;
            break;
    }
}

float RadiansOfDegrees(double degrees) {
    const float pi = 4.0f * std::atan(1.0f);
    return static_cast<float>(pi * static_cast<float>(degrees) * 0.0055555557f);
}

double DegreesOfRadians(float radians) {
    const float pi = 4.0f * std::atan(1.0f);
    return static_cast<double>(radians) / pi * 180.0;
}

namespace {

double metres(const TestPoint& p, int sample) {
    return DepthOfSample(p, sample, false);
}

// The sample of a position field: the step's own sample while the field still shows
// the text that sample gave it.
int sampleOf(const TestPoint& p, double shown, int original, bool span = false) {
    if (FormatFieldValue(shown) == FormatFieldValue(DepthOfSample(p, original, span)))
        return original;
    return SampleOfDepth(p, shown, span);
}

}  // namespace

StepFields FieldsFromStep(const ProcessStep& s, const TestPoint& ref) {
    StepFields f;
    f.factor = 1;
    switch (s.processKind()) {
        case ProcessKind::Filter:
            f.choice = s.filterType - 1;
            f.upper = s.upperFreqHz;
            f.lower = s.lowerFreqHz;
            break;
        case ProcessKind::Amplify:
            f.choice = s.ampLaw;
            f.factor = s.ampFactor;
            f.position = metres(ref, s.ampStart);
            break;
        case ProcessKind::RemoveDc:
            f.choice = s.dcPartial;
            f.position = metres(ref, s.dcStart);
            break;
        case ProcessKind::Smooth:
            f.smoothPoints = s.smoothPoints;
            break;
        case ProcessKind::Rotate:
            f.choice = s.rotPartial;
            f.position = metres(ref, s.rotStart);
            f.angle = DegreesOfRadians(s.rotAngle);
            break;
        case ProcessKind::LinearZero:
            f.choice = s.linZeroMode;
            f.position = metres(ref, s.linZeroStart);
            break;
        case ProcessKind::NonlinearZero:
            f.choice = s.nonlinZeroMode;
            f.position = metres(ref, s.nonlinZeroStart);
            break;
        case ProcessKind::FrontZero:
            f.position = metres(ref, s.frontZeroEnd);
            break;
        case ProcessKind::BackZero:
            f.position = metres(ref, s.backZeroStart);
            break;
        case ProcessKind::LocalScale:
            f.position = metres(ref, s.scaleStart);
            f.end = metres(ref, s.scaleEnd);
            f.factor = s.scaleFactor;
            break;
        case ProcessKind::Shift:
            f.shiftMetres = DepthOfSample(ref, s.shiftSamples, true);
            f.shiftMv = s.shiftMv;
            f.choice = s.shiftPartial;
            f.position = metres(ref, s.shiftStart);
            f.end = metres(ref, s.shiftEnd);
            break;
        default:
            break;
    }
    return f;
}

void ApplyFields(const StepFields& f, const TestPoint& ref, FieldUse use, ProcessStep& s) {
    switch (s.processKind()) {
        case ProcessKind::Filter:
            s.filterType = f.choice + 1;
            s.upperFreqHz = static_cast<float>(f.upper);
            s.lowerFreqHz = static_cast<float>(f.lower);
            break;
        case ProcessKind::Amplify:
            s.ampLaw = f.choice;
            s.ampFactor = static_cast<float>(f.factor);
            // A delay above the head starts the amplification at the first sample.
            if (use != FieldUse::Preview && f.position < 0)
                s.ampStart = 0;
            else
                s.ampStart = sampleOf(ref, f.position, s.ampStart);
            break;
        case ProcessKind::RemoveDc:
            s.dcPartial = f.choice;
            s.dcStart = sampleOf(ref, f.position, s.dcStart);
            break;
        case ProcessKind::Smooth:
            s.smoothPoints = f.smoothPoints;
            break;
        case ProcessKind::Rotate:
            s.rotPartial = f.choice;
            s.rotStart = sampleOf(ref, f.position, s.rotStart);
            if (FormatFieldValue(f.angle) != FormatFieldValue(DegreesOfRadians(s.rotAngle)))
                s.rotAngle = RadiansOfDegrees(f.angle);
            break;
        case ProcessKind::LinearZero:
        case ProcessKind::NonlinearZero: {
            const bool linear = s.processKind() == ProcessKind::LinearZero;
            const int start =
                sampleOf(ref, f.position, linear ? s.linZeroStart : s.nonlinZeroStart);
            if (linear || use == FieldUse::Preview) {
                s.linZeroMode = f.choice;
                s.linZeroStart = start;
            }
            if (!linear || use == FieldUse::Preview) {
                s.nonlinZeroMode = f.choice;
                s.nonlinZeroStart = start;
            }
            break;
        }
        case ProcessKind::FrontZero:
        case ProcessKind::BackZero: {
            const bool front = s.processKind() == ProcessKind::FrontZero;
            const int pos = sampleOf(ref, f.position, front ? s.frontZeroEnd : s.backZeroStart);
            if (front || use == FieldUse::Preview) s.frontZeroEnd = pos;
            if (!front || use == FieldUse::Preview) s.backZeroStart = pos;
            break;
        }
        case ProcessKind::LocalScale:
            s.scaleStart = sampleOf(ref, f.position, s.scaleStart);
            s.scaleEnd = sampleOf(ref, f.end, s.scaleEnd);
            s.scaleFactor = static_cast<float>(f.factor);
            break;
        case ProcessKind::Shift:
            s.shiftSamples = sampleOf(ref, f.shiftMetres, s.shiftSamples, true);
            s.shiftMv = static_cast<float>(f.shiftMv);
            s.shiftPartial = f.choice;
            s.shiftStart = sampleOf(ref, f.position, s.shiftStart);
            s.shiftEnd = sampleOf(ref, f.end, s.shiftEnd);
            break;
        default:
            break;
    }
}

bool FieldVisible(ProcessKind kind, FormField field, int choice) {
    switch (kind) {
        case ProcessKind::Filter:
            if (field == FormField::Upper) return choice != 1;  // all but high-pass
            if (field == FormField::Lower) return choice != 0;  // all but low-pass
            return false;
        case ProcessKind::RemoveDc:
        case ProcessKind::Rotate:
        case ProcessKind::LinearZero:
        case ProcessKind::NonlinearZero:
            return field != FormField::Position || choice == 1;
        case ProcessKind::Shift:
            return (field != FormField::Position && field != FormField::End) || choice == 1;
        default:
            return true;
    }
}

std::optional<std::string> CheckStepFields(ProcessKind kind, const StepFields& f,
                                           const TestPoint& ref, bool popup) {
    // The values are held as float32 by the step, and compared as such.
    auto fl = [](double v) { return static_cast<float>(v); };
    switch (kind) {
        case ProcessKind::Filter:
            if (popup) {
                for (double v : {f.upper, f.lower})
                    if (!(v >= 0 && v <= 500000)) return RangePrompt(0, 500000);
            }
            if ((f.choice == 2 || f.choice == 3) && !(fl(f.upper) > fl(f.lower)))
                return std::string(SONDARA_TR_NOOP("sondara", "请设置为上限频率大于下限频率！"));
            return std::nullopt;
        case ProcessKind::Amplify:
            if (!(fl(f.factor) >= 1.0f && fl(f.factor) <= 1000.0f))
                return std::string(SONDARA_TR_NOOP("sondara", "放大系数应在(1~1000)之间"));
            return std::nullopt;
        case ProcessKind::Smooth:
            if (f.smoothPoints < 0 || f.smoothPoints > 32)
                return std::string(SONDARA_TR_NOOP("sondara", "平滑点数应在(0~32)之间！"));
            return std::nullopt;
        case ProcessKind::Rotate:
            if (!(fl(f.angle) > -90.0f && fl(f.angle) <= 90.0f))
                return std::string(SONDARA_TR_NOOP("sondara", "旋转角度应在(-90°~90°)之间"));
            return std::nullopt;
        case ProcessKind::FrontZero:
            if (!(fl(f.position) <= 0.0f))
                return std::string(SONDARA_TR_NOOP("sondara", "前清零位置应在桩头之前！"));
            return std::nullopt;
        case ProcessKind::BackZero:
            if (!(fl(f.position) >= ref.pileLength))
                return std::string(SONDARA_TR_NOOP("sondara", "后清零位置应在桩尾之后！"));
            return std::nullopt;
        case ProcessKind::LocalScale:
            if (!(fl(f.position) <= fl(f.end)))
                return std::string(SONDARA_TR_NOOP("sondara", "起始点应小于终止点！"));
            if (!(fl(f.factor) >= 0.0001f && fl(f.factor) <= 10000.0f))
                return std::string(
                    SONDARA_TR_NOOP("sondara", "缩放系数应在（0.0001~10000）之间！"));
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

bool PreviewChecksFirst(ProcessKind kind) {
    return kind == ProcessKind::FrontZero || kind == ProcessKind::BackZero;
}

std::string FormatFieldValue(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    std::string s = buf;
    if (s == "-0") s = "0";
    return s;
}

std::optional<std::string> ParseFieldValue(std::string_view text, bool integer, double& out) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (integer) {
        long long v = 0;
        auto [p, ec] = std::from_chars(first, last, v);
        if (text.empty() || ec != std::errc{} || p != last || v < -2147483647LL || v > 2147483647LL)
            return std::string(SONDARA_TR_NOOP("sondara", "请输入一个整数。"));
        out = static_cast<double>(v);
        return std::nullopt;
    }
    double v = 0;
    auto [p, ec] = std::from_chars(first, last, v);
    if (text.empty() || ec != std::errc{} || p != last || !std::isfinite(v))
        return std::string(SONDARA_TR_NOOP("sondara", "请输入一个数字。"));
    out = v;
    return std::nullopt;
}

std::string RangePrompt(double lo, double hi) {
    return "请输入一个介于 " + FormatFieldValue(lo) + " 和 " + FormatFieldValue(hi) + " 之间的数。";
}

}  // namespace sondara
