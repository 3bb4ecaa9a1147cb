// The texts that describe what a point's chain does of one kind (waveform information
// text and the processing summary grid).
#include <cstdio>

#include "core/base/Format.h"
#include "core/base/TrNoop.h"
#include "core/processing/Positions.h"
#include "core/processing/ProcessingChain.h"

namespace sondara {

std::vector<std::string> DescribeKind(const CSondaraDoc& doc, int point, const ProcessStep& r,
                                      ProcessKind kind) {
    std::vector<std::string> lines;
    if (!doc.validPoint(point)) return lines;
    const TestPoint& p = doc.points[point];
    int k = 0;
    for (const ProcessStep& s : p.steps)
        if (s.kind == static_cast<int>(kind)) ++k;
    auto m = [&](int sample) { return DepthOfSample(doc, point, sample, false); };

    switch (kind) {
        case ProcessKind::Reverse:
            lines.push_back(k % 2 == 1 ? SONDARA_TR("sondara", "反向:是")
                                       : SONDARA_TR("sondara", "反向:否"));
            return lines;
        case ProcessKind::RemoveDc:
            lines.push_back(k > 0 ? SONDARA_TR("sondara", "去直流:是")
                                  : SONDARA_TR("sondara", "去直流:否"));
            if (k > 0 && r.dcPartial == 1 && r.dcStart > 0)
                lines.push_back("  " + SONDARA_TR("sondara", "起始点:") +
                                Format("%0.2fm", m(r.dcStart)));
            return lines;
        default:
            break;
    }
    if (k == 0) return lines;

    switch (kind) {
        case ProcessKind::Integrate:
        case ProcessKind::SimpleIntegrate:
            lines.push_back(SONDARA_TR("sondara", "积分次数:") + Format("%d", k));
            break;
        case ProcessKind::Differentiate:
            lines.push_back(SONDARA_TR("sondara", "微分次数:") + Format("%d", k));
            break;
        case ProcessKind::Filter:
            switch (r.filterType) {
                case 1:
                    lines.push_back(SONDARA_TR("sondara", "低通:") +
                                    Format("%0.2fHz", static_cast<double>(r.upperFreqHz)));
                    break;
                case 2:
                    lines.push_back(SONDARA_TR("sondara", "高通:") +
                                    Format("%0.2fHz", static_cast<double>(r.lowerFreqHz)));
                    break;
                case 3:
                case 4:
                    lines.push_back(r.filterType == 3 ? SONDARA_TR("sondara", "带通:")
                                                      : SONDARA_TR("sondara", "带阻:"));
                    lines.push_back(Format("  (%0.2f,%0.2f)Hz", static_cast<double>(r.lowerFreqHz),
                                           static_cast<double>(r.upperFreqHz)));
                    break;
                default:
                    break;
            }
            break;
        case ProcessKind::LinearZero:
            lines.push_back(SONDARA_TR("sondara", "线性归零:是"));
            if (r.linZeroMode != 0 && r.linZeroStart > 0)
                lines.push_back("  " + SONDARA_TR("sondara", "起始点:") +
                                Format("%0.2fm", m(r.linZeroStart)));
            break;
        case ProcessKind::NonlinearZero:
            lines.push_back(SONDARA_TR("sondara", "非线性归零:是"));
            if (r.nonlinZeroMode != 0 && r.nonlinZeroStart > 0)
                lines.push_back("  " + SONDARA_TR("sondara", "起始点:") +
                                Format("%0.2fm", m(r.nonlinZeroStart)));
            break;
        case ProcessKind::Smooth:
            lines.push_back(SONDARA_TR("sondara", "平滑点数:") + Format("%d", r.smoothPoints));
            break;
        case ProcessKind::FrontZero:
            lines.push_back(SONDARA_TR("sondara", "前清零:") + Format("%0.2fm", m(r.frontZeroEnd)));
            break;
        case ProcessKind::BackZero:
            lines.push_back(SONDARA_TR("sondara", "后清零:") +
                            Format("%0.2fm", m(r.backZeroStart)));
            break;
        case ProcessKind::Shift:
            lines.push_back(SONDARA_TR("sondara", "数据平移:"));
            lines.push_back("  " + SONDARA_TR("sondara", "横向:") +
                            Format("%0.2fm", DepthOfSample(doc, point, r.shiftSamples, true)));
            lines.push_back("  " + SONDARA_TR("sondara", "纵向:") +
                            Format("%0.2fmV", static_cast<double>(r.shiftMv)));
            if (r.shiftPartial == 1)
                lines.push_back("  " + SONDARA_TR("sondara", "范围") +
                                Format("(%0.2f,%0.2f)m", m(r.shiftStart), m(r.shiftEnd)));
            break;
        case ProcessKind::Rotate:
            lines.push_back(SONDARA_TR("sondara", "波形旋转:") +
                            Format("%0.2frad", static_cast<double>(r.rotAngle)));
            if (r.rotPartial == 1 && r.rotStart > 0)
                lines.push_back("  " + SONDARA_TR("sondara", "起始点:") +
                                Format("%0.2fm", m(r.rotStart)));
            break;
        case ProcessKind::Amplify:
            // Another law has no name: its first line stays empty.
            if (r.ampLaw == 0)
                lines.push_back(SONDARA_TR("sondara", "指数放大:") +
                                Format("%0.2f", static_cast<double>(r.ampFactor)));
            else if (r.ampLaw == 1)
                lines.push_back(SONDARA_TR("sondara", "线性放大:") +
                                Format("%0.2f", static_cast<double>(r.ampFactor)));
            else
                lines.emplace_back();
            if (r.ampStart > 0)
                lines.push_back("  " + SONDARA_TR("sondara", "延迟:") +
                                Format("%0.2fm", m(r.ampStart)));
            break;
        case ProcessKind::LocalScale:
            lines.push_back(SONDARA_TR("sondara", "局部缩放:") +
                            Format("%0.2f", static_cast<double>(r.scaleFactor)));
            lines.push_back("  " + SONDARA_TR("sondara", "范围") +
                            Format("(%0.2f,%0.2f)m", m(r.scaleStart), m(r.scaleEnd)));
            break;
        default:
            break;
    }
    return lines;
}

std::string KindSummary(const CSondaraDoc& doc, int point, ProcessKind kind) {
    if (!doc.validPoint(point)) return {};
    std::string text;
    for (const std::string& line : DescribeKind(doc, point, doc.points[point].lastParams, kind))
        text += trimBlanks(line);
    return text;
}

}  // namespace sondara
