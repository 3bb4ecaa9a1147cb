#pragma once
// The per-point display states (scale, offset, fill) that a pane shows, the slot each
// kind of pane keeps its state in, and the display commands of the "显示调整" menu as
// pure operations on one state.
#include <span>
#include <string_view>

#include "core/model/SondaraDoc.h"

namespace sondara {

// Slots of the 26 display states kept in every point's lastParams.viewStates.
enum ViewSlot : int {
    kSlotTime = 0,
    kSlotAverage = 1,
    kSlotAutoCorrelation = 2,
    kSlotCrossCorrelation = 3,
    kSlotSpectrum = 4,
    kSlotCrossPower = 5,
    kSlotWaveletReconstruction = 6,
};
// Level k (1..9) of the wavelet display: the smooth and the detail signal.
inline constexpr int WaveletSmoothSlot(int level) {
    return 7 + 2 * (level - 1);
}
inline constexpr int WaveletDetailSlot(int level) {
    return 8 + 2 * (level - 1);
}
// The slot of wavelet pane number `pane` (0 = the signal itself, slot 0).
inline constexpr int WaveletPaneSlot(int pane) {
    return pane <= 0 ? kSlotTime : pane + 5;
}

// The state of a pane fed by several points (average, cross-correlation, cross power):
// the common state when every listed point holds the same slot contents, else the
// default state. Points outside the document are ignored; none at all gives the
// default.
DisplayState ReadSharedState(const CSondaraDoc& doc, std::span<const int> points, int slot);
// Stores `state` into the slot of every listed point (outside the document: skipped).
void WriteSharedState(CSondaraDoc& doc, std::span<const int> points, int slot,
                      const DisplayState& state);

// The display commands (menu ids).
enum class DisplayCommand : int {
    FillNone = 32796,          // 填充.不填充
    FillPositive = 32797,      // 填充.正填充
    FillNegative = 32798,      // 填充.负填充
    AlignHead = 32800,         // 横向位置.对其桩头
    ShiftLeft = 32801,         // 横向位置.左移
    ShiftRight = 32802,        // 横向位置.右移
    RestorePosition = 32810,   // 横向位置.还原显示
    AutoHScale = 32803,        // 横向比例.对齐桩尾/自动伸缩
    StretchH = 32804,          // 横向比例.拉伸
    CompressH = 32805,         // 横向比例.压缩
    RestoreHScale = 32811,     // 横向比例.还原显示
    AutoVScale = 32806,        // 竖向比例.自动
    StretchV = 32807,          // 竖向比例.拉伸
    CompressV = 32808,         // 竖向比例.压缩
    SpectrumLines = 32834,     // 频谱显示.谱线
    SpectrumEnvelope = 32835,  // 频谱显示.包络
    AutoAdjust = 32795,        // 自动调节
    ShowAll = 32809,           // 显示全部
};

struct DisplayCommandInfo {
    DisplayCommand command;
    std::string_view text;     // the menu text, e.g. "填充.正填充"
    std::string_view cliName;  // e.g. "fill-positive"
};
std::span<const DisplayCommandInfo> DisplayCommands();
// By CLI name, menu text or numeric id; null when unknown.
const DisplayCommandInfo* FindDisplayCommand(std::string_view nameTextOrId);

// What a state change needs to know about the pane it is applied to.
struct ScaleGeometry {
    int plotWidth = 0;             // W, screen pixels
    int sampleCount = 0;           // n, the pane's samples (spectra: the halved count)
    int head = -1;                 // h, head index of the pane's point
    int toe = -1;                  // t, toe index
    float sampleInterval = 0.0f;   // dt, us
    bool frequencyDomain = false;  // the automatic horizontal scale of the spectra
};

inline constexpr int kShiftStepPx = 50;
inline constexpr float kMinVScale = 0.00001f;

// Horizontal position: align the head at 1/8 of the width (needs 0 <= h < n); with an
// automatic horizontal scale (hScaleMode 0) the automatic fit is redone.
void AlignToHead(DisplayState& s, const ScaleGeometry& g);
void RestorePosition(DisplayState& s);
// Moves the curve by `dx` pixels, keeping the offset within -W .. W.
void ShiftPosition(DisplayState& s, int dx, const ScaleGeometry& g);
// Automatic horizontal scale: head at 1/8 and toe at 7/8 of the width (or only the toe
// at 7/8 when the position is restored); needs 0 <= h < t < n, else restores. In the
// frequency domain: 0 .. fs/10 across the plot.
void AutoHorizontalScale(DisplayState& s, const ScaleGeometry& g);
void RestoreHorizontalScale(DisplayState& s);
void StretchHorizontalScale(DisplayState& s);
void CompressHorizontalScale(DisplayState& s);  // never below 0
void AutoVerticalScale(DisplayState& s);
void StretchVerticalScale(DisplayState& s);
void CompressVerticalScale(DisplayState& s);
// Any command of the menu.
void ApplyDisplayCommand(DisplayState& s, DisplayCommand c, const ScaleGeometry& g);

}  // namespace sondara
