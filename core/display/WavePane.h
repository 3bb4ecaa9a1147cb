#pragma once
// One horizontal strip of the waveform display: its rectangles, what it shows (its
// own deep copy of a point, whose samples an analysis may have replaced), its display
// state, and what the painter draws (polyline, zero line, head and toe lines, marks).
//
// Panes are built by WaveDisplayModel. For large displays a pane may be "shallow":
// its layout, title, point index, kind, slot and state are set, but the point copy,
// the range and the drawing data are materialised only when the pane is needed
// (WaveDisplayModel::ensurePane). `materialised` tells which.
#include <memory>
#include <string>
#include <vector>

#include "core/display/Geometry.h"
#include "core/display/PaneOverlay.h"
#include "core/model/TestPoint.h"

namespace sondara {

enum class PaneKind : int {
    TimeTrace = 0,
    AverageTrace = 1,
    Correlation = 2,
    Spectrum = 3,
    WaveletComponent = 4,
};

// Head, toe and defect commands work on these kinds; marker lines on the others.
inline bool IsTimeKind(PaneKind k) {
    return k == PaneKind::TimeTrace || k == PaneKind::AverageTrace;
}

// One point of the drawn curve and the sample index it shows.
struct PolylinePoint {
    int x = 0;
    int y = 0;
    int sample = 0;
    bool operator==(const PolylinePoint&) const = default;
};

// The head or the toe line of a time or average pane.
struct LineMark {
    bool visible = false;
    int sample = -1;
    int x = 0;
    std::string label;  // "桩头" / "桩底"
};

enum class MarkType : int { Defect, Correlation, Spectrum, Wavelet };

// A mark visible in a pane, for drawing and hit testing.
struct VisibleMark {
    MarkType type = MarkType::Defect;
    int x = 0;
    int sample = 0;
    int entry = -1;      // index into the point's list (defects, or the marker list)
    int pane = -1;       // the pane's ordinal
    int point = -1;      // the point the mark belongs to
    std::string label;   // e.g. "缩径【4.00m】", "1.25kHZ/3.20mV"
    std::string label2;  // a defect's remark; empty otherwise
};

struct WavePane {
    // ---- layout and identity (always set) ----
    PixelRect paneRect;
    PixelRect plotRect;
    std::string title;    // "NO.%d", "平均值", "自相关", "互相关", "互功率谱", ...
    int pointIndex = -1;  // the document point the pane shows (the first one fed)
    PaneKind kind = PaneKind::TimeTrace;
    int ordinal = 0;               // position in the display (the wavelet pane number)
    int slot = 0;                  // DisplayState slot in lastParams.viewStates
    std::vector<int> statePoints;  // points whose slot holds this pane's state
    DisplayState state;            // the state read from those points when the pane was built
    int sampleCount = 0;           // samples drawn (spectra: half the spectrum's count)
    bool fillsClient = false;
    bool waveTrain = false;  // a strip of the 波列显示
    bool logUnit = false;    // the log spectrum: values in dB

    // ---- content (materialised) ----
    bool materialised = false;
    std::shared_ptr<const TestPoint> point;  // the pane's own deep copy
    double rangeMax = 0.0;                   // before the vertical scale
    double rangeMin = 0.0;
    double vMax = 0.0;  // rangeMax * vScale
    double vMin = 0.0;
    std::vector<PolylinePoint> polyline;
    int zeroLineY = 0;
    bool zeroLineShown = false;
    LineMark head;
    LineMark toe;
    std::vector<VisibleMark> marks;
    // A time pane of a point with an overlay (WaveDisplayModel::overlayFor): the overlay,
    // its curve scaled to the shown trace, and that curve as drawn.
    std::shared_ptr<const PointOverlay> overlay;
    std::vector<float> overlayCurve;
    std::vector<PolylinePoint> overlayPolyline;
    // the overlay's competing reading, scaled by the same factor as its curve
    std::vector<float> alternativeCurve;
    std::vector<PolylinePoint> alternativePolyline;

    const char* unit() const { return logUnit ? "dB" : "mV"; }
};

}  // namespace sondara
