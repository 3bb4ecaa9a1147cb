#include "core/display/DisplayStates.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

namespace sondara {

namespace {

const DisplayState& slotOf(const TestPoint& p, int slot) {
    return p.lastParams.viewStates[static_cast<size_t>(slot)];
}

bool validSlot(int slot) {
    return slot >= 0 && slot < kViewStateSlots;
}

// trunc() into an int that cannot overflow: the geometry is a few thousand pixels,
// anything beyond is clamped rather than left undefined.
int truncToInt(double v) {
    if (!std::isfinite(v)) return 0;
    if (v > 1e9) return 1000000000;
    if (v < -1e9) return -1000000000;
    return static_cast<int>(v);
}

constexpr std::array<DisplayCommandInfo, 18> kCommands = {{
    {DisplayCommand::FillNone, "填充.不填充", "fill-none"},
    {DisplayCommand::FillPositive, "填充.正填充", "fill-positive"},
    {DisplayCommand::FillNegative, "填充.负填充", "fill-negative"},
    {DisplayCommand::AlignHead, "横向位置.对其桩头", "align-head"},
    {DisplayCommand::ShiftLeft, "横向位置.左移", "shift-left"},
    {DisplayCommand::ShiftRight, "横向位置.右移", "shift-right"},
    {DisplayCommand::RestorePosition, "横向位置.还原显示", "restore-position"},
    {DisplayCommand::AutoHScale, "横向比例.对齐桩尾/自动伸缩", "auto-hscale"},
    {DisplayCommand::StretchH, "横向比例.拉伸", "stretch-h"},
    {DisplayCommand::CompressH, "横向比例.压缩", "compress-h"},
    {DisplayCommand::RestoreHScale, "横向比例.还原显示", "restore-hscale"},
    {DisplayCommand::AutoVScale, "竖向比例.自动", "auto-v"},
    {DisplayCommand::StretchV, "竖向比例.拉伸", "stretch-v"},
    {DisplayCommand::CompressV, "竖向比例.压缩", "compress-v"},
    {DisplayCommand::SpectrumLines, "频谱显示.谱线", "spectrum-lines"},
    {DisplayCommand::SpectrumEnvelope, "频谱显示.包络", "spectrum-envelope"},
    {DisplayCommand::AutoAdjust, "自动调节", "auto-adjust"},
    {DisplayCommand::ShowAll, "显示全部", "show-all"},
}};

// The head-at-1/8, toe-at-7/8 fit; the caller has checked 0 <= h < t < n.
void fitHeadAndToe(DisplayState& s, const ScaleGeometry& g) {
    const double W = g.plotWidth, h = g.head, t = g.toe, n = g.sampleCount;
    if (h != 0 && t != h)
        s.xOffset = truncToInt(W * (0.875 - t * 0.125 / h) / (1.0 - t / h));
    else
        s.xOffset = truncToInt(0.125 * W);
    s.hScale = t != h ? static_cast<float>(0.75 * n / (t - h)) : 1.0f;
}

bool headAndToeFit(const ScaleGeometry& g) {
    return g.head >= 0 && g.head < g.toe && g.toe < g.sampleCount;
}

}  // namespace

DisplayState ReadSharedState(const CSondaraDoc& doc, std::span<const int> points, int slot) {
    if (!validSlot(slot)) return DisplayState{};
    const DisplayState* common = nullptr;
    for (int p : points) {
        if (!doc.validPoint(p)) continue;
        const DisplayState& s = slotOf(doc.points[static_cast<size_t>(p)], slot);
        if (!common)
            common = &s;
        else if (!(s == *common))
            return DisplayState{};
    }
    return common ? *common : DisplayState{};
}

void WriteSharedState(CSondaraDoc& doc, std::span<const int> points, int slot,
                      const DisplayState& state) {
    if (!validSlot(slot)) return;
    for (int p : points)
        if (doc.validPoint(p))
            doc.points[static_cast<size_t>(p)].lastParams.viewStates[static_cast<size_t>(slot)] =
                state;
}

std::span<const DisplayCommandInfo> DisplayCommands() {
    return kCommands;
}

const DisplayCommandInfo* FindDisplayCommand(std::string_view key) {
    for (const DisplayCommandInfo& c : kCommands) {
        if (key == c.cliName || key == c.text || key == std::to_string(static_cast<int>(c.command)))
            return &c;
    }
    return nullptr;
}

void AlignToHead(DisplayState& s, const ScaleGeometry& g) {
    if (g.head < 0 || g.head >= g.sampleCount) return;
    if (s.hScaleMode == 0 && headAndToeFit(g)) {
        fitHeadAndToe(s, g);
    } else {
        // Also taken with an automatic scale whose toe does not lie after the head:
        // the fit would divide by zero or turn the curve round.
        const double W = g.plotWidth;
        s.xOffset = truncToInt(0.125 * W - W * (static_cast<double>(g.head) / g.sampleCount) *
                                               static_cast<double>(s.hScale));
    }
    s.positionMode = 0;
}

void RestorePosition(DisplayState& s) {
    s.xOffset = 0;
    s.positionMode = 1;
}

void ShiftPosition(DisplayState& s, int dx, const ScaleGeometry& g) {
    const int w = std::abs(g.plotWidth);
    long v = static_cast<long>(s.xOffset) + dx;
    if (v < -w) v = -w;
    if (v > w) v = w;
    s.xOffset = static_cast<int>(v);
    s.positionMode = 2;
}

void AutoHorizontalScale(DisplayState& s, const ScaleGeometry& g) {
    if (g.frequencyDomain) {
        if (!(g.sampleInterval > 0.0f)) return RestoreHorizontalScale(s);
        s.hScale = static_cast<float>((1000.0 / g.sampleInterval) * 0.1);
        s.hScaleMode = 2;
        return;
    }
    if (!headAndToeFit(g) || g.plotWidth <= 0) return RestoreHorizontalScale(s);
    if (s.positionMode == 1) {
        const double W = g.plotWidth;
        s.hScale = static_cast<float>(g.sampleCount * (0.875 * W - s.xOffset) / g.toe / W);
    } else {
        fitHeadAndToe(s, g);
    }
    s.hScaleMode = 0;
}

void RestoreHorizontalScale(DisplayState& s) {
    s.hScale = 1.0f;
    s.hScaleMode = 1;
}

void StretchHorizontalScale(DisplayState& s) {
    s.hScale += 0.2f;
    s.hScaleMode = 2;
}

void CompressHorizontalScale(DisplayState& s) {
    s.hScale -= 0.2f;
    // Steps of 0.2 in float do not land exactly on 0; what is left of them is 0.
    if (s.hScale < 1e-4f) s.hScale = 0.0f;
    s.hScaleMode = 2;
}

void AutoVerticalScale(DisplayState& s) {
    s.vScale = 1.0f;
    s.vScaleMode = 0;
}

void StretchVerticalScale(DisplayState& s) {
    s.vScale = std::max(s.vScale * 0.8333333f, kMinVScale);
    s.vScaleMode = 1;
}

void CompressVerticalScale(DisplayState& s) {
    s.vScale = std::max(s.vScale * 1.2f, kMinVScale);
    s.vScaleMode = 1;
}

void ApplyDisplayCommand(DisplayState& s, DisplayCommand c, const ScaleGeometry& g) {
    switch (c) {
        case DisplayCommand::FillNone:
            s.fill = 0;
            break;
        case DisplayCommand::FillPositive:
            s.fill = 1;
            break;
        case DisplayCommand::FillNegative:
            s.fill = 2;
            break;
        case DisplayCommand::AlignHead:
            AlignToHead(s, g);
            break;
        case DisplayCommand::ShiftLeft:
            ShiftPosition(s, -kShiftStepPx, g);
            break;
        case DisplayCommand::ShiftRight:
            ShiftPosition(s, kShiftStepPx, g);
            break;
        case DisplayCommand::RestorePosition:
            RestorePosition(s);
            break;
        case DisplayCommand::AutoHScale:
            AutoHorizontalScale(s, g);
            break;
        case DisplayCommand::StretchH:
            StretchHorizontalScale(s);
            break;
        case DisplayCommand::CompressH:
            CompressHorizontalScale(s);
            break;
        case DisplayCommand::RestoreHScale:
            RestoreHorizontalScale(s);
            break;
        case DisplayCommand::AutoVScale:
            AutoVerticalScale(s);
            break;
        case DisplayCommand::StretchV:
            StretchVerticalScale(s);
            break;
        case DisplayCommand::CompressV:
            CompressVerticalScale(s);
            break;
        case DisplayCommand::SpectrumLines:
            s.spectrumStyle = 0;
            break;
        case DisplayCommand::SpectrumEnvelope:
            s.spectrumStyle = 1;
            break;
        case DisplayCommand::AutoAdjust:
            // A spectrum starts at 0 Hz: the pile head (a time sample) means nothing
            // there, and aligning to it would shift 0 Hz right and show negative
            // frequencies.
            if (g.frequencyDomain)
                RestorePosition(s);
            else
                AlignToHead(s, g);
            AutoHorizontalScale(s, g);
            AutoVerticalScale(s);
            break;
        case DisplayCommand::ShowAll:
            RestorePosition(s);
            RestoreHorizontalScale(s);
            AutoVerticalScale(s);
            break;
    }
}

}  // namespace sondara
