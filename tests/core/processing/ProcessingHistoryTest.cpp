// The history list of the target points: merging chains, names, detail texts, and the
// list after chain commands.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/processing/ProcessingChain.h"
#include "core/processing/ProcessingHistory.h"

namespace sondara {
namespace {

TestPoint point(double phase) {
    TestPoint p;
    p.sampleInterval = 20.0f;  // 0.04 m a sample
    p.waveSpeed = 4000;
    p.pileLength = 10.0f;
    p.headIndex = 100;
    p.toeIndex = 350;
    for (int i = 0; i < 512; ++i) p.rawSamples.push_back(static_cast<float>(std::sin(i * 0.07 + phase)));
    p.samples = p.rawSamples;
    return p;
}

CSondaraDoc docOf(int n) {
    CSondaraDoc doc;
    for (int i = 0; i < n; ++i) doc.points.push_back(point(i));
    return doc;
}

std::vector<std::string> names(const ProcessingHistory& h) {
    std::vector<std::string> out;
    for (int i = 0; i < h.size(); ++i) out.push_back(h.name(i));
    return out;
}

CommitResult run(CSondaraDoc& doc, ChainEdit edit, std::vector<int> targets,
                 ProcessKind kind = ProcessKind::None, int index = -1) {
    CommitRequest r;
    r.edit = edit;
    r.targets = std::move(targets);
    r.kind = kind;
    r.index = index;
    return CommitProcessing(doc, r);
}

using Names = std::vector<std::string>;

TEST(ProcessingHistory, MergesTheTargetsChains) {
    CSondaraDoc doc = docOf(3);
    run(doc, ChainEdit::NewOperation, {0, 1}, ProcessKind::Filter);  // one command: identical bytes
    run(doc, ChainEdit::NewOperation, {0}, ProcessKind::Smooth);
    ProcessingHistory h;
    h.rebuild(doc, {1, 0});  // the longest chain is the reference wherever it stands
    EXPECT_EQ(names(h), (Names{"数字滤波", "<不一致>"}));
    EXPECT_EQ(h.details(1), "");
    EXPECT_TRUE(h.hasTargets());

    // Undo takes the longest chain's last step: the list is as long as the next one.
    EXPECT_EQ(run(doc, ChainEdit::Undo, {1, 0}), CommitResult::Committed);
    h.rebuild(doc, {1, 0});
    EXPECT_EQ(names(h), (Names{"数字滤波"}));
    EXPECT_EQ(doc.points[0].stepCount(), 1);
    EXPECT_EQ(doc.points[1].stepCount(), 1);

    // Equal parameters applied by separate commands carry different copies of the
    // remembered display states, so they differ.
    doc.points[2].lastParams.viewStates[0].xOffset = 17;
    run(doc, ChainEdit::NewOperation, {2}, ProcessKind::Filter);
    h.rebuild(doc, {0, 2});
    EXPECT_EQ(names(h), (Names{"<不一致>"}));

    // No target, or targets outside the document: nothing listed.
    h.rebuild(doc, {});
    EXPECT_EQ(h.size(), 0);
    EXPECT_FALSE(h.hasTargets());
    h.rebuild(doc, {7, -1});
    EXPECT_FALSE(h.hasTargets());
}

TEST(ProcessingHistory, EveryStoredCodeKeepsItsPlace) {
    CSondaraDoc doc = docOf(1);
    doc.points[0].steps = {makeStep(ProcessKind::Reverse), makeStep(ProcessKind::DynamicScale),
                           makeStep(static_cast<ProcessKind>(99)), makeStep(ProcessKind::SimpleIntegrate)};
    ProcessingHistory h;
    h.rebuild(doc, {0});
    EXPECT_EQ(names(h), (Names{"波形反向", "动态缩放", "未知处理(99)", "简单积分"}));
    // Deleting the entry at list index 2 removes the unknown step itself.
    run(doc, ChainEdit::Delete, {0}, ProcessKind::None, 2);
    h.rebuild(doc, {0});
    EXPECT_EQ(names(h), (Names{"波形反向", "动态缩放", "简单积分"}));
}

TEST(ProcessingHistory, DetailTexts) {
    const TestPoint ref = point(0);
    auto step = [](ProcessKind k, auto set) {
        ProcessStep s = makeStep(k);
        set(s);
        return s;
    };
    struct Case {
        const char* what;
        ProcessStep step;
        const char* text;
    };
    const Case cases[] = {
        {"low-pass", step(ProcessKind::Filter, [](ProcessStep& s) { s.filterType = 1; s.upperFreqHz = 800; s.lowerFreqHz = 5; }),
         "低通\r\n上限频率:800.00HZ\r\n"},
        {"high-pass", step(ProcessKind::Filter, [](ProcessStep& s) { s.filterType = 2; s.lowerFreqHz = 12.5f; }),
         "高通\r\n下限频率:12.50HZ"},
        {"band-stop", step(ProcessKind::Filter, [](ProcessStep& s) { s.filterType = 4; s.upperFreqHz = 60; s.lowerFreqHz = 40; }),
         "带阻\r\n上限频率:60.00HZ\r\n下限频率:40.00HZ"},
        {"rotation", step(ProcessKind::Rotate, [](ProcessStep& s) { s.rotAngle = 0.5236f; }),
         "整体旋转\r\n旋转角度:30.00°"},
        {"partial rotation", step(ProcessKind::Rotate, [](ProcessStep& s) { s.rotPartial = 1; s.rotStart = 150; s.rotAngle = -0.5236f; }),
         "部分旋转\r\n起始位置:2.00m\r\n旋转角度:-30.00°"},
        {"linear zero from a start", step(ProcessKind::LinearZero, [](ProcessStep& s) { s.linZeroMode = 1; s.linZeroStart = 200; }),
         "部分归零\r\n起始位置:4.00m\r\n"},
        {"nonlinear zero after the toe", step(ProcessKind::NonlinearZero, [](ProcessStep& s) { s.nonlinZeroMode = 2; }),
         "桩尾后归零\r\n"},
        {"smoothing", step(ProcessKind::Smooth, [](ProcessStep& s) { s.smoothPoints = 5; }), "平滑点数:5"},
        {"whole DC", step(ProcessKind::RemoveDc, [](ProcessStep&) {}), "整体去直流\r\n"},
        {"partial DC", step(ProcessKind::RemoveDc, [](ProcessStep& s) { s.dcPartial = 1; s.dcStart = 50; }),
         "部分去直流\r\n起始位置:-2.00m"},
        {"front zero", step(ProcessKind::FrontZero, [](ProcessStep& s) { s.frontZeroEnd = 90; }), "前清零位置:-0.40m"},
        {"back zero", step(ProcessKind::BackZero, [](ProcessStep& s) { s.backZeroStart = 400; }), "后清零位置:12.00m"},
        {"partial shift", step(ProcessKind::Shift, [](ProcessStep& s) { s.shiftPartial = 1; s.shiftStart = 100; s.shiftEnd = 200; s.shiftSamples = 10; s.shiftMv = 1.5f; }),
         "部分平移\r\n起始位置:0.00m\r\n终止位置:4.00m\r\n横向平移:0.40m\r\n竖向平移:1.50mV"},
        {"whole shift", step(ProcessKind::Shift, [](ProcessStep& s) { s.shiftSamples = -5; }),
         "整体平移\r\n横向平移:-0.20m\r\n竖向平移:0.00mV"},
        {"amplify with delay", step(ProcessKind::Amplify, [](ProcessStep& s) { s.ampFactor = 10; s.ampStart = 125; }),
         "指数放大\r\n放大系数:10.00\r\n放大延迟:1.00m"},
        {"linear amplify at sample 0", step(ProcessKind::Amplify, [](ProcessStep& s) { s.ampLaw = 1; s.ampFactor = 2; }),
         "线性放大\r\n放大系数:2.00"},
        {"local scale", step(ProcessKind::LocalScale, [](ProcessStep& s) { s.scaleFactor = 0.5f; s.scaleStart = 100; s.scaleEnd = 150; }),
         "缩放系数:0.50\r\n起始点:0.00m\r\n终止点:2.00m"},
        {"integration", makeStep(ProcessKind::Integrate), ""},
        {"differs", makeStep(ProcessKind::None), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(StepDetails(c.step, ref), c.text);
    }
    EXPECT_EQ(HistoryEntryName(0), "<不一致>");
    EXPECT_EQ(HistoryEntryName(9), "前置零");
}

}  // namespace
}  // namespace sondara
