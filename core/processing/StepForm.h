#pragma once
// The parameter windows of the processing kinds, without a window: which family a kind
// belongs to, the captions of its controls (pop-up dialog and docked form), the fields
// in user units (metres from the pile head, degrees, Hz, mV, factors, counts), the
// conversions between a step and those fields, the show/hide rule and the OK checks
// with their messages. The desktop's dialogs are built from these tables and only move
// text in and out of their controls.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/TrNoop.h"
#include "core/model/ProcessStep.h"
#include "core/model/TestPoint.h"

namespace sondara {

// Kinds that share one pair of windows.
enum class StepFamily {
    None,  // no parameters (Integrate, Differentiate, Reverse, SimpleIntegrate, ...)
    Filter,
    Amplify,
    RemoveDc,
    Smooth,
    Rotate,
    Zero,      // LinearZero, NonlinearZero
    EdgeZero,  // FrontZero, BackZero
    LocalScale,
    Shift,
};

// The edits a window can hold.
enum class FormField {
    Upper,         // Hz
    Lower,         // Hz
    Factor,        // amplification or scaling factor
    Position,      // m: delay, start, front/back zero position
    End,           // m: end of the local scaling or shift range
    Angle,         // degrees
    SmoothPoints,  // count
    ShiftMetres,   // m, a length
    ShiftMv,       // mV
};

struct FormFieldSpec {
    FormField field;
    std::string_view popupCaption;
    std::string_view dockCaption;
    bool integer = false;
};

// What a window of a kind shows, in the order it shows it.
struct StepFormSpec {
    StepFamily family = StepFamily::None;
    std::string_view title;                     // caption of the pop-up dialog
    std::string_view radioGroup;                // caption of the radio group ("" none)
    std::vector<std::string_view> popupRadios;  // choice 0, 1, ...
    std::vector<std::string_view> dockRadios;
    bool radiosAfterFields = false;  // the shift window puts its range choice last
    std::vector<FormFieldSpec> fields;
    bool hasPreview = false;
};
// Empty spec (family None) for a kind without parameters.
const StepFormSpec& StepFormSpecOf(ProcessKind kind);

// Switch-button tooltips, which are also their accessible names.
inline constexpr std::string_view kDockTooltip =
    SONDARA_TR_NOOP("sondara", "窗体停靠");  // on the pop-up: dock it
inline constexpr std::string_view kPopupTooltip =
    SONDARA_TR_NOOP("sondara", "窗体弹出");  // on the docked form: pop it up

// The values of a window, in user units.
struct StepFields {
    int choice = 0;  // the radio choice (filter type - 1, law, partial, zero mode)
    double upper = 0, lower = 0;
    double factor = 1;
    double position = 0;
    double end = 0;
    double angle = 0;
    int smoothPoints = 1;
    double shiftMetres = 0;
    double shiftMv = 0;

    double value(FormField f) const;
    void setValue(FormField f, double v);
};

// Fills the fields from `step`, converting positions with the head and scale of `ref`
// (the first target) and radians to degrees.
StepFields FieldsFromStep(const ProcessStep& step, const TestPoint& ref);

enum class FieldUse {
    Accept,   // OK: the delay of an amplification is not above the head's first sample
    Switch,   // as OK
    Preview,  // preview: no limit on the delay; the zero windows write both kinds' fields
};
// Writes the fields into `step` (metres to samples of `ref`, degrees to radians). A
// position whose value still shows as the text the step gave it keeps the step's sample,
// so switching between the windows any number of times never moves it by rounding.
void ApplyFields(const StepFields& fields, const TestPoint& ref, FieldUse use, ProcessStep& step);

// Whether a field is shown for the current choice (the start only for a partial range,
// the filter's frequencies by type).
bool FieldVisible(ProcessKind kind, FormField field, int choice);

// The OK check: the message to show, or nullopt when the values are accepted. The
// pop-up filter dialog also checks both frequencies against 0..500000 with the standard
// range prompt. `ref` gives the pile length of the back zero check.
std::optional<std::string> CheckStepFields(ProcessKind kind, const StepFields& fields,
                                           const TestPoint& ref, bool popup);
// Whether the preview of a kind runs its OK check first (only the zero windows do).
bool PreviewChecksFirst(ProcessKind kind);

// Text of a number in an edit (six significant digits, like a float edit field).
std::string FormatFieldValue(double v);
// Parses an edit's text; the standard prompt ("请输入一个数字。" or "请输入一个整数。")
// when it is not a number.
std::optional<std::string> ParseFieldValue(std::string_view text, bool integer, double& out);
// The standard range prompt of a numeric field.
std::string RangePrompt(double lo, double hi);

// Degrees to the stored angle and back: pi as float32 4*atan(1), degrees * 0.0055555557.
float RadiansOfDegrees(double degrees);
double DegreesOfRadians(float radians);

}  // namespace sondara
