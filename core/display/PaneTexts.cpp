#include "core/display/PaneTexts.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "core/base/TextCodec.h"
#include "core/base/TrNoop.h"
#include "core/display/PaneMapping.h"
#include "core/model/NameLists.h"
#include "core/processing/Positions.h"
#include "core/processing/ProcessingChain.h"

namespace sondara {

namespace {

// trunc() of a value that is meant to be a whole number but may come out of the
// floating-point products a hair below it (99.99999999 for 100).
double truncNearInteger(double v) {
    const double r = std::round(v);
    if (std::fabs(v - r) < 1e-9 * std::max(1.0, std::fabs(v))) return r;
    return std::trunc(v);
}

const char* kMarkHeadings[] = {
    SONDARA_TR_NOOP("sondara", "缺陷:"), SONDARA_TR_NOOP("sondara", "相关标记:"),
    SONDARA_TR_NOOP("sondara", "频谱标记:"), SONDARA_TR_NOOP("sondara", "小波标记:")};

}  // namespace

std::string ShortExponent(double value) {
    if (!std::isfinite(value)) return Format("%.2e", value) + "mV";
    std::string s = Format("%.2e", value);  // mantissa "e" sign digits
    const size_t e = s.find('e');
    if (e == std::string::npos || e + 2 > s.size()) return s + "mV";
    const int exponent = std::atoi(s.c_str() + e + 1);
    s = s.substr(0, e + 1) + Format("%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    s.erase(s.size() - 3, 2);
    return s + "mV";
}

bool PaneHeadValid(const WavePane& pane) {
    return pane.point && pane.point->headIndex >= 0 && pane.point->headIndex < pane.sampleCount;
}

double LengthFromHead(const TestPoint& p, int sample) {
    const double tenths = static_cast<double>(p.waveSpeed) * (sample - p.headIndex) *
                          static_cast<double>(p.sampleInterval) * 1e-6 * 0.5 * 10.0;
    return truncNearInteger(tenths) * 0.1;
}

double TimeFromHeadMs(const TestPoint& p, int sample) {
    return (sample - p.headIndex) * static_cast<double>(p.sampleInterval) * 1e-3;
}

double PaneTimeMs(const WavePane& pane, int sample) {
    if (!pane.point || pane.sampleCount <= 1) return 0.0;
    return sample * (pane.point->rawCount() - 1.0) *
           static_cast<double>(pane.point->sampleInterval) * 0.001 / (pane.sampleCount - 1);
}

double BinFrequencyKHz(const WavePane& pane, int bin) {
    if (!pane.point || pane.sampleCount <= 0 || !(pane.point->sampleInterval != 0.0f)) return 0.0;
    return bin * (500.0 / pane.point->sampleInterval) / pane.sampleCount;
}

double PaneValue(const WavePane& pane, int sample) {
    if (!pane.point || sample < 0 || sample >= pane.point->sampleCount()) return 0.0;
    return pane.point->samples[static_cast<size_t>(sample)];
}

std::vector<std::string> Readout::lines() const {
    std::vector<std::string> out;
    for (const std::string* s : {&amplitude, &time, &length})
        if (!s->empty()) out.push_back(*s);
    return out;
}

Readout ReadoutAt(const WavePane& pane, int sample) {
    Readout r;
    if (!pane.point || sample < 0 || sample >= pane.sampleCount) return r;
    const double v = PaneValue(pane, sample);
    switch (pane.kind) {
        case PaneKind::TimeTrace:
        case PaneKind::AverageTrace:
            r.amplitude = Format("A=%0.2f%s", v, pane.unit());
            if (PaneHeadValid(pane)) {
                r.time = Format("t=%0.2fms", TimeFromHeadMs(*pane.point, sample));
                r.length = Format("l=%0.1fm", LengthFromHead(*pane.point, sample));
            }
            break;
        case PaneKind::Correlation:
            r.amplitude = Format("A=%0.2f", v);
            r.time = Format("t=%0.2fms", PaneTimeMs(pane, sample));
            break;
        case PaneKind::Spectrum:
            r.amplitude = Format("A=%0.2f%s", v, pane.unit());
            if (pane.point->sampleInterval != 0.0f)
                r.time = Format("F=%0.2fkHZ", BinFrequencyKHz(pane, sample));
            break;
        case PaneKind::WaveletComponent:
            r.amplitude = Format("A=%0.2f%s", v, pane.unit());
            r.time = Format("t=%0.2fms", PaneTimeMs(pane, sample));
            break;
    }
    return r;
}

std::string DefectLabel(const TestPoint& p, const PileMark& m) {
    return Format("%s【%0.2fm】", ShownName(DefectNames(), gbkToUtf8(textOf(m.name))).c_str(),
                  DepthOfSample(p, m.position, false));
}

std::string MarkerLabel(const WavePane& pane, MarkType type, int sample) {
    const double v = PaneValue(pane, sample);
    switch (type) {
        case MarkType::Correlation:
            return Format("%0.1fms", PaneTimeMs(pane, sample)) + "/" + ShortExponent(v);
        case MarkType::Spectrum:
            return Format("%0.2fkHZ/", BinFrequencyKHz(pane, sample)) + Format("%0.2fmV", v);
        case MarkType::Wavelet:
            return Format("%0.2fms/", PaneTimeMs(pane, sample)) + Format("%0.2fmV", v);
        case MarkType::Defect:
            break;
    }
    return {};
}

int DepthAxisStep(double lengthM, int spanPx, int minSpacingPx) {
    for (int step : {1, 2, 5, 10})
        if (lengthM > 0.0 && spanPx * step / lengthM >= minSpacingPx) return step;
    return 10;
}

XAxis XAxisLabels(const WavePane& pane, const TextMetrics& metrics) {
    XAxis axis;
    if (!pane.point) return axis;
    const PixelRect& plot = pane.plotRect;
    const int w0000 = metrics.textWidth("0000");
    auto fits = [&](int x, const std::string& text, const std::string& unit) {
        return x + metrics.textWidth(text + unit) <= plot.right;
    };

    const TestPoint& p = *pane.point;
    if (IsTimeKind(pane.kind) && pane.head.visible && pane.toe.visible &&
        pane.toe.x > pane.head.x && p.pileLength > 0.0f) {
        axis.depth = true;
        axis.unit = "m";
        const double length = p.pileLength;
        const int span = pane.toe.x - pane.head.x;
        const int step = DepthAxisStep(length, span, w0000);
        for (int i = 0; i * step <= length + 1e-6; ++i) {
            const double d = i * step;
            const int x = pane.head.x + static_cast<int>(d / length * span);
            std::string text = Format("%0.0f", d);
            axis.ticks.push_back({x, fits(x, text, axis.unit) ? text : std::string()});
        }
        return axis;
    }

    const bool spectrum = pane.kind == PaneKind::Spectrum;
    axis.unit = spectrum ? "kHZ" : "ms";
    const int spacing = 2 * w0000;
    if (spacing <= 0 || plot.width() <= 0) return axis;
    const double hScale = pane.state.hScale;
    const double dt = p.sampleInterval;
    for (int x = plot.left; x <= plot.right; x += spacing) {
        std::string text;
        if (hScale != 0.0) {
            // The fraction of the curve's span at this pixel, offset included, so
            // that a shifted curve keeps truthful labels.
            const double frac =
                static_cast<double>(x - plot.left - pane.state.xOffset) / plot.width();
            double value = 0.0;
            if (spectrum)
                value = dt != 0.0 ? frac * 500.0 / dt / hScale : 0.0;
            else
                value = frac * p.rawCount() * dt * 0.001 / hScale;
            text = Format("%0.2f", value);
            if (!fits(x, text, axis.unit)) text.clear();
        }
        axis.ticks.push_back({x, text});
    }
    return axis;
}

YAxis YAxisLabels(const WavePane& pane) {
    YAxis axis;
    axis.unit = pane.unit();
    const VerticalMapping v = MakeVerticalMapping(pane, pane.plotRect);
    double values[5];
    if (IsTimeKind(pane.kind)) {
        const double t[5] = {pane.vMin, pane.vMin / 2, 0.0, pane.vMax / 2, pane.vMax};
        std::copy(t, t + 5, values);
    } else {
        for (int i = 0; i < 5; ++i) values[i] = pane.vMin + (pane.vMax - pane.vMin) * i * 0.25;
    }
    for (double val : values) axis.labels.push_back({v.y(val), Format("%0.2f", val)});
    if (IsTimeKind(pane.kind)) axis.labels[2].text = "0.00";
    return axis;
}

namespace {

std::string timePart(std::string_view dateTime) {
    int h = 0, m = 0, s = 0;
    if (dateTime.size() > 10) {
        const std::string rest(dateTime.substr(10));
        std::sscanf(rest.c_str(), " %d:%d:%d", &h, &m, &s);
    }
    return Format("%02d:%02d:%02d", h, m, s);
}

void markLines(const WavePane& pane, std::vector<std::string>& out) {
    int heading = 0;
    switch (pane.kind) {
        case PaneKind::TimeTrace:
        case PaneKind::AverageTrace:
            heading = 0;
            break;
        case PaneKind::Correlation:
            heading = 1;
            break;
        case PaneKind::Spectrum:
            heading = 2;
            break;
        case PaneKind::WaveletComponent:
            heading = 3;
            break;
    }
    out.push_back(TrText(kMarkHeadings[heading]));
    int no = 0;
    for (const VisibleMark& m : pane.marks) {
        ++no;
        const double v = PaneValue(pane, m.sample);
        switch (m.type) {
            case MarkType::Defect: {
                const PileMark& d = pane.point->defects[static_cast<size_t>(m.entry)];
                out.push_back(Format("  %d:%s,%0.2fm", no,
                                     ShownName(DefectNames(), gbkToUtf8(textOf(d.name))).c_str(),
                                     d.depth));
                break;
            }
            case MarkType::Correlation:
                out.push_back(Format("  %d:%s,%s", no,
                                     Format("%0.2fms", PaneTimeMs(pane, m.sample)).c_str(),
                                     ShortExponent(v).c_str()));
                break;
            case MarkType::Spectrum:
                out.push_back(Format("  %d:%s%s", no,
                                     Format("%0.2fkHZ,", BinFrequencyKHz(pane, m.sample)).c_str(),
                                     Format("%0.2fmV", v).c_str()));
                break;
            case MarkType::Wavelet:
                out.push_back(Format("  %d:%s%s", no,
                                     Format("%0.2fms,", PaneTimeMs(pane, m.sample)).c_str(),
                                     Format("%0.2fmV", v).c_str()));
                break;
        }
    }
}

}  // namespace

std::vector<std::string> InfoLines(const CSondaraDoc& doc, const WavePane& pane, int code) {
    std::vector<std::string> out;
    if (!pane.point) return out;
    const TestPoint& p = *pane.point;
    switch (code) {
        case 30:
            out.emplace_back();
            break;
        case 31:
            out.push_back(SONDARA_TR("sondara", "桩号:") + gbkToUtf8(textOf(p.pileNo)));
            break;
        case 32:
            out.push_back(SONDARA_TR("sondara", "桩径=") + Format("%dmm", p.pileDiameter));
            break;
        case 33:
            out.push_back(SONDARA_TR("sondara", "桩长=") + Format("%0.2fm", p.pileLength));
            break;
        case 34:
            out.push_back(SONDARA_TR("sondara", "波速=") + Format("%dm/s", p.waveSpeed));
            break;
        case 35:
            out.push_back(gbkToUtf8(textOf(p.testDateTime).substr(0, 10)));
            break;
        case 36:
            if (p.pileTypeIndex >= 0 && p.pileTypeIndex < PileTypeNames().count())
                out.push_back(ShownName(PileTypeNames(), p.pileTypeIndex));
            else
                out.push_back(gbkToUtf8(textOf(p.pileTypeText)));
            break;
        case 37:
            out.push_back(p.sensorType >= 0 && p.sensorType < SensorNames().count()
                              ? ShownName(SensorNames(), p.sensorType)
                              : std::string());
            break;
        case 38:
            out.push_back(SONDARA_TR("sondara", "采样间隔=") + Format("%0.2fus", p.sampleInterval));
            break;
        case 39:
            out.push_back(SONDARA_TR("sondara", "采样长度=") + Format("%d", p.recordedLength));
            break;
        case 40:
            out.push_back(SONDARA_TR("sondara", "增益=") + Format("%d", p.gain));
            break;
        case 41:
            out.push_back(SONDARA_TR("sondara", "触发电平=") + Format("%d", p.triggerLevel));
            break;
        case 42:
            out.push_back(SONDARA_TR("sondara", "检测单位:") +
                          gbkToUtf8(textOf(doc.info.testingUnit)));
            break;
        case 43:
            out.push_back(SONDARA_TR("sondara", "工程名称:") +
                          gbkToUtf8(textOf(doc.info.projectName)));
            break;
        case 44:
            markLines(pane, out);
            break;
        case 45:
            if (p.recordedLength > 0 && p.sampleInterval > 0.0f) {
                out.push_back(SONDARA_TR("sondara", "频率分辨率:"));
                out.push_back(
                    Format("  df=%0.0fHz", 1.0 / (p.sampleInterval * 1e-6) / p.recordedLength));
            }
            break;
        case 46:
            out.push_back(timePart(textOf(p.testDateTime)));
            break;
        default:
            if (code > 0 && code < 30 && !KindEnumeratorName(code).empty() &&
                code != static_cast<int>(ProcessKind::DynamicScale))
                out = DescribeKind(doc, pane.pointIndex, p.lastParams,
                                   static_cast<ProcessKind>(code));
            break;
    }
    return out;
}

std::vector<std::string> InfoText(const CSondaraDoc& doc, const WavePane& pane,
                                  const std::vector<std::int32_t>& items) {
    std::vector<std::string> out;
    for (std::int32_t code : items) {
        auto lines = InfoLines(doc, pane, code);
        out.insert(out.end(), lines.begin(), lines.end());
    }
    return out;
}

}  // namespace sondara
