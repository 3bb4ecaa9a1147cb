#include "core/processing/ProcessingHistory.h"

#include <cstdio>
#include <cstring>

#include "core/base/Format.h"
#include "core/base/TrNoop.h"
#include "core/processing/Positions.h"
#include "core/processing/ProcessKinds.h"
#include "core/processing/StepForm.h"

namespace sondara {

namespace {

// The record holds only 4-byte fields without padding, so its memory is its stored
// little-endian image: two steps are the same when all 1112 bytes are. (A field-wise
// comparison would call a NaN different from itself and -0 equal to +0.)
bool sameBytes(const ProcessStep& a, const ProcessStep& b) {
    return std::memcmp(&a, &b, sizeof(ProcessStep)) == 0;
}

}  // namespace

void ProcessingHistory::clear() {
    merged_.clear();
    targets_.clear();
    reference_ = TestPoint{};
}

void ProcessingHistory::rebuild(const CSondaraDoc& doc, const std::vector<int>& targets) {
    clear();
    for (int t : targets)
        if (doc.validPoint(t)) targets_.push_back(t);
    if (targets_.empty()) return;
    const TestPoint& first = doc.points[static_cast<size_t>(targets_.front())];
    reference_.headIndex = first.headIndex;
    reference_.sampleInterval = first.sampleInterval;
    reference_.waveSpeed = first.waveSpeed;
    reference_.pileLength = first.pileLength;

    // The reference is the first of the longest chains.
    int ref = targets_.front();
    for (int t : targets_)
        if (doc.points[static_cast<size_t>(t)].stepCount() >
            doc.points[static_cast<size_t>(ref)].stepCount())
            ref = t;
    merged_ = doc.points[static_cast<size_t>(ref)].steps;
    for (int t : targets_) {
        const std::vector<ProcessStep>& chain = doc.points[static_cast<size_t>(t)].steps;
        for (size_t i = 0; i < merged_.size(); ++i) {
            if (merged_[i].kind == 0) continue;
            if (i >= chain.size() || !sameBytes(chain[i], merged_[i])) merged_[i].kind = 0;
        }
    }
}

std::string ProcessingHistory::name(int i) const {
    if (i < 0 || i >= size()) return {};
    return HistoryEntryName(merged_[static_cast<size_t>(i)].kind);
}

std::string ProcessingHistory::details(int i) const {
    if (i < 0 || i >= size()) return {};
    return StepDetails(merged_[static_cast<size_t>(i)], reference_);
}

std::string HistoryEntryName(int kind) {
    const std::string_view n = HistoryName(kind);
    if (!n.empty()) return std::string(n);
    return Format("未知处理(%d)", kind);
}

std::string StepDetails(const ProcessStep& s, const TestPoint& ref) {
    const char* br = "\r\n";
    auto m = [&](int sample) { return DepthOfSample(ref, sample, false); };
    std::string t;
    switch (s.processKind()) {
        case ProcessKind::Filter: {
            static const char* names[] = {
                SONDARA_TR_NOOP("sondara", "低通"), SONDARA_TR_NOOP("sondara", "高通"),
                SONDARA_TR_NOOP("sondara", "带通"), SONDARA_TR_NOOP("sondara", "带阻")};
            if (s.filterType >= 1 && s.filterType <= 4) t += names[s.filterType - 1];
            t += br;
            if (s.filterType != 2)
                t += Format("%s:%0.2fHZ", SONDARA_TR_NOOP("sondara", "上限频率"), s.upperFreqHz) +
                     br;
            if (s.filterType != 1)
                t += Format("%s:%0.2fHZ", SONDARA_TR_NOOP("sondara", "下限频率"), s.lowerFreqHz);
            break;
        }
        case ProcessKind::LinearZero:
        case ProcessKind::NonlinearZero: {
            const bool lin = s.processKind() == ProcessKind::LinearZero;
            const int mode = lin ? s.linZeroMode : s.nonlinZeroMode;
            const int start = lin ? s.linZeroStart : s.nonlinZeroStart;
            static const char* names[] = {SONDARA_TR_NOOP("sondara", "整体归零"),
                                          SONDARA_TR_NOOP("sondara", "部分归零"),
                                          SONDARA_TR_NOOP("sondara", "桩尾后归零")};
            if (mode >= 0 && mode <= 2) t += names[mode];
            t += br;
            if (mode == 1)
                t += Format("%s:%0.2fm", SONDARA_TR_NOOP("sondara", "起始位置"), m(start)) + br;
            break;
        }
        case ProcessKind::Smooth:
            t = Format("%s:%d", SONDARA_TR_NOOP("sondara", "平滑点数"), s.smoothPoints);
            break;
        case ProcessKind::RemoveDc:
            t = s.dcPartial != 0 ? SONDARA_TR_NOOP("sondara", "部分去直流")
                                 : SONDARA_TR_NOOP("sondara", "整体去直流");
            t += br;
            if (s.dcPartial != 0)
                t += Format("%s:%0.2fm", SONDARA_TR_NOOP("sondara", "起始位置"), m(s.dcStart));
            break;
        case ProcessKind::FrontZero:
            t = Format("%s:%0.2fm", SONDARA_TR_NOOP("sondara", "前清零位置"), m(s.frontZeroEnd));
            break;
        case ProcessKind::BackZero:
            t = Format("%s:%0.2fm", SONDARA_TR_NOOP("sondara", "后清零位置"), m(s.backZeroStart));
            break;
        case ProcessKind::Shift:
            t = s.shiftPartial != 0 ? SONDARA_TR_NOOP("sondara", "部分平移")
                                    : SONDARA_TR_NOOP("sondara", "整体平移");
            t += br;
            if (s.shiftPartial != 0) {
                t += Format("%s:%0.2fm", SONDARA_TR_NOOP("sondara", "起始位置"), m(s.shiftStart)) +
                     br;
                t +=
                    Format("%s:%0.2fm", SONDARA_TR_NOOP("sondara", "终止位置"), m(s.shiftEnd)) + br;
            }
            t += Format("%s:%0.2fm", SONDARA_TR_NOOP("sondara", "横向平移"),
                        DepthOfSample(ref, s.shiftSamples, true)) +
                 br;
            t += Format("%s:%0.2fmV", SONDARA_TR_NOOP("sondara", "竖向平移"), s.shiftMv);
            break;
        case ProcessKind::Rotate:
            t = s.rotPartial != 0 ? SONDARA_TR_NOOP("sondara", "部分旋转")
                                  : SONDARA_TR_NOOP("sondara", "整体旋转");
            t += br;
            if (s.rotPartial != 0)
                t +=
                    Format("%s:%0.2fm", SONDARA_TR_NOOP("sondara", "起始位置"), m(s.rotStart)) + br;
            t += Format("%s:%0.2f°", SONDARA_TR_NOOP("sondara", "旋转角度"),
                        DegreesOfRadians(s.rotAngle));
            break;
        case ProcessKind::Amplify:
            t = s.ampLaw == 0 ? SONDARA_TR_NOOP("sondara", "指数放大")
                              : SONDARA_TR_NOOP("sondara", "线性放大");
            t += br;
            t += Format("%s:%0.2f", SONDARA_TR_NOOP("sondara", "放大系数"), s.ampFactor);
            if (s.ampStart > 0)
                t +=
                    br + Format("%s:%0.2fm", SONDARA_TR_NOOP("sondara", "放大延迟"), m(s.ampStart));
            break;
        case ProcessKind::LocalScale:
            t = Format("%s:%0.2f", SONDARA_TR_NOOP("sondara", "缩放系数"), s.scaleFactor) + br;
            t += Format("%s:%0.2fm", SONDARA_TR_NOOP("sondara", "起始点"), m(s.scaleStart)) + br;
            t += Format("%s:%0.2fm", SONDARA_TR_NOOP("sondara", "终止点"), m(s.scaleEnd));
            break;
        default:
            break;  // no parameters, or "<不一致>"
    }
    return t;
}

}  // namespace sondara
