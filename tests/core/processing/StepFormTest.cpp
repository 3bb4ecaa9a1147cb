// The rules of the parameter windows without a window: OK checks with their messages,
// conversions between steps and user units (also across repeated switches), the
// show/hide rule, the new step's pre-fill and the command table.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "core/processing/InteractiveDrag.h"
#include "core/processing/Positions.h"
#include "core/processing/ProcessingCommands.h"
#include "core/processing/StepForm.h"
#include "core/processing/TraceOps.h"

namespace sondara {
namespace {

// One sample is 20 us * 4000 m/s / 2 = 0.04 m; the head is sample 100.
TestPoint refPoint() {
    TestPoint p;
    p.sampleInterval = 20.0f;
    p.waveSpeed = 4000;
    p.pileLength = 10.0f;
    p.headIndex = 100;
    p.toeIndex = 350;
    return p;
}

struct CheckCase {
    const char* what;
    ProcessKind kind;
    StepFields fields;
    bool popup;
    const char* message;  // nullptr: accepted
};

StepFields with(void (*set)(StepFields&)) {
    StepFields f;
    set(f);
    return f;
}

TEST(StepForm, OkChecksAndTheirMessages) {
    const TestPoint ref = refPoint();
    const std::string range = RangePrompt(0, 500000);
    const CheckCase cases[] = {
        {"band-pass upper = lower", ProcessKind::Filter,
         with([](StepFields& f) { f.choice = 2; f.upper = 100; f.lower = 100; }), true,
         "请设置为上限频率大于下限频率！"},
        {"band-stop upper < lower, docked", ProcessKind::Filter,
         with([](StepFields& f) { f.choice = 3; f.upper = 50; f.lower = 100; }), false,
         "请设置为上限频率大于下限频率！"},
        {"low-pass upper < lower", ProcessKind::Filter,
         with([](StepFields& f) { f.choice = 0; f.upper = 50; f.lower = 100; }), true, nullptr},
        {"pop-up range", ProcessKind::Filter,
         with([](StepFields& f) { f.choice = 0; f.upper = 500001; }), true, range.c_str()},
        {"pop-up range, negative lower", ProcessKind::Filter,
         with([](StepFields& f) { f.choice = 0; f.upper = 5; f.lower = -1; }), true, range.c_str()},
        {"docked has no range check", ProcessKind::Filter,
         with([](StepFields& f) { f.choice = 0; f.upper = 600000; }), false, nullptr},
        {"amplify 1", ProcessKind::Amplify, with([](StepFields& f) { f.factor = 1; }), true, nullptr},
        {"amplify 1000", ProcessKind::Amplify, with([](StepFields& f) { f.factor = 1000; }), true, nullptr},
        {"amplify 0.9", ProcessKind::Amplify, with([](StepFields& f) { f.factor = 0.9; }), true,
         "放大系数应在(1~1000)之间"},
        {"amplify 1000.1", ProcessKind::Amplify, with([](StepFields& f) { f.factor = 1000.1; }), false,
         "放大系数应在(1~1000)之间"},
        {"back zero at the pile length", ProcessKind::BackZero,
         with([](StepFields& f) { f.position = 10; }), true, nullptr},
        {"back zero before the toe", ProcessKind::BackZero,
         with([](StepFields& f) { f.position = 9.99; }), true, "后清零位置应在桩尾之后！"},
        {"front zero at 0 m", ProcessKind::FrontZero, with([](StepFields& f) { f.position = 0; }), true,
         nullptr},
        {"front zero below the head", ProcessKind::FrontZero,
         with([](StepFields& f) { f.position = 0.01; }), true, "前清零位置应在桩头之前！"},
        {"local scale start = end", ProcessKind::LocalScale,
         with([](StepFields& f) { f.position = 2; f.end = 2; f.factor = 2; }), true, nullptr},
        {"local scale start > end (checked before the factor)", ProcessKind::LocalScale,
         with([](StepFields& f) { f.position = 3; f.end = 2; f.factor = 0; }), true,
         "起始点应小于终止点！"},
        {"local scale factor", ProcessKind::LocalScale,
         with([](StepFields& f) { f.position = 1; f.end = 2; f.factor = 10001; }), false,
         "缩放系数应在（0.0001~10000）之间！"},
        {"local scale factor 0.0001", ProcessKind::LocalScale,
         with([](StepFields& f) { f.position = 1; f.end = 2; f.factor = 0.0001; }), true, nullptr},
        {"rotation 90", ProcessKind::Rotate, with([](StepFields& f) { f.angle = 90; }), true, nullptr},
        {"rotation -90", ProcessKind::Rotate, with([](StepFields& f) { f.angle = -90; }), true,
         "旋转角度应在(-90°~90°)之间"},
        {"rotation 90.01", ProcessKind::Rotate, with([](StepFields& f) { f.angle = 90.01; }), false,
         "旋转角度应在(-90°~90°)之间"},
        {"smoothing 0", ProcessKind::Smooth, with([](StepFields& f) { f.smoothPoints = 0; }), false,
         nullptr},
        {"smoothing 32", ProcessKind::Smooth, with([](StepFields& f) { f.smoothPoints = 32; }), true,
         nullptr},
        {"smoothing 33", ProcessKind::Smooth, with([](StepFields& f) { f.smoothPoints = 33; }), true,
         "平滑点数应在(0~32)之间！"},
        {"DC removal has no check", ProcessKind::RemoveDc,
         with([](StepFields& f) { f.position = -100; }), true, nullptr},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto msg = CheckStepFields(c.kind, c.fields, ref, c.popup);
        if (c.message)
            EXPECT_EQ(msg.value_or("(accepted)"), c.message);
        else
            EXPECT_FALSE(msg.has_value()) << *msg;
    }
    // The pile length is a float32: a length of 10.3 m accepts 10.3 typed exactly.
    TestPoint odd = ref;
    odd.pileLength = 10.3f;
    StepFields f;
    f.position = 10.3;
    EXPECT_FALSE(CheckStepFields(ProcessKind::BackZero, f, odd, true).has_value());
    EXPECT_TRUE(PreviewChecksFirst(ProcessKind::BackZero));
    EXPECT_FALSE(PreviewChecksFirst(ProcessKind::Amplify));
}

TEST(StepForm, ConversionsToUserUnitsAndBack) {
    const TestPoint ref = refPoint();
    ProcessStep s = makeStep(ProcessKind::Amplify);
    s.ampStart = 150;
    s.ampFactor = 12.5f;
    s.ampLaw = 1;
    StepFields f = FieldsFromStep(s, ref);
    EXPECT_EQ(f.choice, 1);
    EXPECT_DOUBLE_EQ(f.factor, 12.5);
    EXPECT_NEAR(f.position, 2.0, 1e-9);
    // A delay above the head starts at the first sample on OK and on the switch, but a
    // preview shows it where it was typed.
    f.position = -1;
    ProcessStep ok = s, preview = s;
    ApplyFields(f, ref, FieldUse::Accept, ok);
    EXPECT_EQ(ok.ampStart, 0);
    ApplyFields(f, ref, FieldUse::Preview, preview);
    EXPECT_EQ(preview.ampStart, 75);

    // Degrees: pi (float32 4 atan 1) * degrees * 0.0055555557.
    ProcessStep r = makeStep(ProcessKind::Rotate);
    StepFields rf = FieldsFromStep(r, ref);
    rf.angle = 30;
    rf.choice = 1;
    rf.position = 2;
    ApplyFields(rf, ref, FieldUse::Accept, r);
    const float pi = 4.0f * std::atan(1.0f);
    EXPECT_EQ(r.rotAngle, static_cast<float>(pi * 30.0f * 0.0055555557f));
    EXPECT_EQ(r.rotPartial, 1);
    EXPECT_EQ(r.rotStart, 150);
    EXPECT_EQ(FormatFieldValue(FieldsFromStep(r, ref).angle), "30");

    // The shift amount is a length (span form); its range positions are plain.
    ProcessStep sh = makeStep(ProcessKind::Shift);
    StepFields sf = FieldsFromStep(sh, ref);
    sf.shiftMetres = 0.4;
    sf.shiftMv = -3;
    sf.choice = 1;
    sf.position = 0;
    sf.end = 4;
    ApplyFields(sf, ref, FieldUse::Accept, sh);
    EXPECT_EQ(sh.shiftSamples, 10);
    EXPECT_EQ(sh.shiftMv, -3.0f);
    EXPECT_EQ(sh.shiftStart, 100);
    EXPECT_EQ(sh.shiftEnd, 200);

    // The zero windows' preview writes the fields of both kinds; OK only its own.
    ProcessStep z = makeStep(ProcessKind::LinearZero);
    StepFields zf;
    zf.choice = 1;
    zf.position = 1;
    ProcessStep zp = z;
    ApplyFields(zf, ref, FieldUse::Preview, zp);
    EXPECT_EQ(zp.linZeroStart, 125);
    EXPECT_EQ(zp.nonlinZeroStart, 125);
    EXPECT_EQ(zp.nonlinZeroMode, 1);
    ApplyFields(zf, ref, FieldUse::Accept, z);
    EXPECT_EQ(z.linZeroStart, 125);
    EXPECT_EQ(z.nonlinZeroStart, 0);
    ProcessStep fz = makeStep(ProcessKind::FrontZero);
    StepFields ff;
    ff.position = -0.4;
    ApplyFields(ff, ref, FieldUse::Preview, fz);
    EXPECT_EQ(fz.frontZeroEnd, 90);
    EXPECT_EQ(fz.backZeroStart, 90);
}

TEST(StepForm, ValuesSurviveAnyNumberOfSwitches) {
    // A sample interval and speed whose metres do not print exactly: every switch reads
    // the shown text back, and the samples must not creep.
    TestPoint ref = refPoint();
    ref.sampleInterval = 19.53f;
    ref.waveSpeed = 3817;
    for (ProcessKind kind : {ProcessKind::Shift, ProcessKind::Rotate, ProcessKind::LocalScale,
                             ProcessKind::Amplify, ProcessKind::RemoveDc}) {
        SCOPED_TRACE(static_cast<int>(kind));
        ProcessStep s = makeStep(kind);
        s.shiftSamples = 37; s.shiftStart = 211; s.shiftEnd = 613; s.shiftPartial = 1;
        s.rotStart = 433; s.rotAngle = 0.3f; s.rotPartial = 1;
        s.scaleStart = 157; s.scaleEnd = 901; s.scaleFactor = 1.7f;
        s.ampStart = 333; s.ampFactor = 3.3f;
        s.dcStart = 251; s.dcPartial = 1;
        const ProcessStep original = s;
        for (int round = 0; round < 50; ++round) {
            const StepFields shown = FieldsFromStep(s, ref);
            StepFields typed;  // what the other window reads from its edits
            for (const FormFieldSpec& fs : StepFormSpecOf(kind).fields) {
                double v = 0;
                ASSERT_FALSE(ParseFieldValue(FormatFieldValue(shown.value(fs.field)), fs.integer, v));
                typed.setValue(fs.field, v);
            }
            typed.choice = shown.choice;
            ApplyFields(typed, ref, FieldUse::Switch, s);
        }
        EXPECT_EQ(s, original);
    }
}

TEST(StepForm, ShownFieldsFollowTheChoice) {
    using F = FormField;
    EXPECT_TRUE(FieldVisible(ProcessKind::Filter, F::Upper, 0));
    EXPECT_FALSE(FieldVisible(ProcessKind::Filter, F::Lower, 0));
    EXPECT_FALSE(FieldVisible(ProcessKind::Filter, F::Upper, 1));
    EXPECT_TRUE(FieldVisible(ProcessKind::Filter, F::Lower, 1));
    for (int band : {2, 3}) {
        EXPECT_TRUE(FieldVisible(ProcessKind::Filter, F::Upper, band));
        EXPECT_TRUE(FieldVisible(ProcessKind::Filter, F::Lower, band));
    }
    for (ProcessKind k : {ProcessKind::RemoveDc, ProcessKind::Rotate, ProcessKind::LinearZero}) {
        EXPECT_FALSE(FieldVisible(k, F::Position, 0));
        EXPECT_TRUE(FieldVisible(k, F::Position, 1));
    }
    EXPECT_FALSE(FieldVisible(ProcessKind::NonlinearZero, F::Position, 2));
    EXPECT_TRUE(FieldVisible(ProcessKind::Rotate, F::Angle, 0));
    EXPECT_FALSE(FieldVisible(ProcessKind::Shift, F::End, 0));
    EXPECT_TRUE(FieldVisible(ProcessKind::Shift, F::ShiftMv, 0));
    EXPECT_TRUE(FieldVisible(ProcessKind::Shift, F::End, 1));
    EXPECT_TRUE(FieldVisible(ProcessKind::Amplify, F::Position, 0));

    EXPECT_EQ(StepFormSpecOf(ProcessKind::Smooth).title, "波形平滑");
    EXPECT_EQ(StepFormSpecOf(ProcessKind::NonlinearZero).title, "非线性归零");
    EXPECT_EQ(StepFormSpecOf(ProcessKind::Filter).dockRadios.size(), 4u);
    EXPECT_FALSE(StepFormSpecOf(ProcessKind::Rotate).hasPreview);
    EXPECT_TRUE(StepFormSpecOf(ProcessKind::BackZero).hasPreview);
    EXPECT_EQ(StepFormSpecOf(ProcessKind::Integrate).family, StepFamily::None);
}

TEST(StepForm, EditTexts) {
    double v = 0;
    EXPECT_FALSE(ParseFieldValue(" 2.5 ", false, v));
    EXPECT_EQ(v, 2.5);
    EXPECT_EQ(ParseFieldValue("abc", false, v).value_or(""), "请输入一个数字。");
    EXPECT_EQ(ParseFieldValue("", false, v).value_or(""), "请输入一个数字。");
    EXPECT_EQ(ParseFieldValue("1.5", true, v).value_or(""), "请输入一个整数。");
    EXPECT_FALSE(ParseFieldValue("-3", true, v));
    EXPECT_EQ(v, -3);
    EXPECT_EQ(FormatFieldValue(0.04 * 3), "0.12");
    EXPECT_EQ(FormatFieldValue(-0.0), "0");
}

TEST(ProcessingCommandRules, PrefillDockingAndButtons) {
    const TestPoint ref = refPoint();
    for (auto [kind, field] : std::initializer_list<std::pair<ProcessKind, int ProcessStep::*>>{
             {ProcessKind::RemoveDc, &ProcessStep::dcStart},
             {ProcessKind::Rotate, &ProcessStep::rotStart},
             {ProcessKind::LinearZero, &ProcessStep::linZeroStart},
             {ProcessKind::NonlinearZero, &ProcessStep::nonlinZeroStart},
             {ProcessKind::FrontZero, &ProcessStep::frontZeroEnd},
             {ProcessKind::BackZero, &ProcessStep::backZeroStart}}) {
        ProcessStep s = makeStep(kind);
        s.*field = 7;
        PrefillNewStep(s, -1, ref);  // no static cursor: the remembered value stays
        EXPECT_EQ(s.*field, 7);
        PrefillNewStep(s, 240, ref);
        EXPECT_EQ(s.*field, 240);
    }
    ProcessStep a = makeStep(ProcessKind::Amplify);
    a.ampStart = 300;
    PrefillNewStep(a, 240, ref);
    EXPECT_EQ(a.ampStart, 100);  // always the pile head

    EXPECT_TRUE(DockAllowed(AnalysisDomain::Integrity, false));
    EXPECT_TRUE(DockAllowed(AnalysisDomain::TimeAnalysis, true));
    EXPECT_FALSE(DockAllowed(AnalysisDomain::TimeAnalysis, false));
    EXPECT_FALSE(DockAllowed(AnalysisDomain::Frequency, false));
    for (ProcessKind k : {ProcessKind::Filter, ProcessKind::Amplify, ProcessKind::RemoveDc,
                          ProcessKind::Smooth}) {
        EXPECT_TRUE(ForcesPopup(k, AnalysisDomain::Frequency, false));
        EXPECT_TRUE(ForcesPopup(k, AnalysisDomain::Wavelet, false));
        EXPECT_FALSE(ForcesPopup(k, AnalysisDomain::Integrity, false));
    }

    const auto inserts = InsertCommands();
    ASSERT_EQ(inserts.size(), 14u);
    EXPECT_EQ(inserts.front().id, CommandId::ProcInsertFilter);
    EXPECT_EQ(inserts.back().kind, ProcessKind::Reverse);
    for (size_t i = 1; i < inserts.size(); ++i)
        EXPECT_EQ(static_cast<int>(inserts[i].id), static_cast<int>(inserts[i - 1].id) + 1);
    EXPECT_EQ(ProcessingCommandOf(CommandId::ProcSimpleIntegrate)->kind, ProcessKind::SimpleIntegrate);
    EXPECT_EQ(ProcessingCommandOf(CommandId::ProcUndo)->edit, ChainEdit::Undo);
    EXPECT_FALSE(ProcessingCommandOf(CommandId::MarkHead).has_value());

    EXPECT_FALSE(HistoryButtonStates(0, true, 0).clearUndo);
    EXPECT_FALSE(HistoryButtonStates(3, false, 0).clearUndo);
    const HistoryButtons b = HistoryButtonStates(3, true, 3);
    EXPECT_TRUE(b.clearUndo);
    EXPECT_FALSE(b.editInsertDelete);
    EXPECT_TRUE(HistoryButtonStates(3, true, 2).editInsertDelete);
}

TEST(InteractiveDrag, TheDraggedSampleFollowsThePointer) {
    // A rotation from sample 40 dragged at sample 240 by 30 rows up, at 0.5 mV a row,
    // lifts sample 240 by 15 mV.
    const float scale = MillivoltsPerRow(50, -50, 201);
    EXPECT_FLOAT_EQ(scale, 0.5f);
    const float angle = RotationDragAngle(200, 30);
    std::vector<float> x(300, 0.0f);
    RotateTrace(x.data(), 300, x.data(), 1, 40, angle, scale);
    EXPECT_NEAR(x[240], 15.0f, 1e-3);
    EXPECT_EQ(x[39], 0.0f);
    EXPECT_EQ(RotationDragAngle(0, 30), 0.0f);
    EXPECT_LT(RotationDragAngle(1, -1e9), 0.0f);
    EXPECT_GT(RotationDragAngle(1, -1e9), -1.5708f);
    EXPECT_EQ(MillivoltsPerRow(1, 1, 100), 1.0f);
}

}  // namespace
}  // namespace sondara
