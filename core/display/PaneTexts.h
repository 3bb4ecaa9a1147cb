#pragma once
// Every text and number of a pane that does not need a painter: cursor readouts,
// axis ticks and labels, mark labels, the information lines of a point and the short
// exponent. All texts are UTF-8. Pure functions of a materialised pane.
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/Format.h"
#include "core/display/Geometry.h"
#include "core/display/WavePane.h"
#include "core/model/SondaraDoc.h"

namespace sondara {

// "%.2e" with a three-digit exponent and the two characters before its last removed,
// then "mV": 12345 -> "1.23e+4mV", 0.000123 -> "1.23e-4mV".
std::string ShortExponent(double value);

// Whether the pane's head index lies on its samples (time and average panes measure
// lengths and times from it).
bool PaneHeadValid(const WavePane& pane);
// Length below the head, truncated to 0.1 m: trunc(c (k - h) dt 1e-6 0.5 10) 0.1.
double LengthFromHead(const TestPoint& p, int sample);
// Time after the head in ms: (k - h) dt 1e-3.
double TimeFromHeadMs(const TestPoint& p, int sample);
// Lag time of index k in correlation and wavelet panes: k (r - 1) dt 0.001 / (n - 1) ms,
// r the point's recorded (raw) count, n the pane's count.
double PaneTimeMs(const WavePane& pane, int sample);
// Frequency of displayed bin k of a spectrum pane: k (500 / dt) / K kHz.
double BinFrequencyKHz(const WavePane& pane, int bin);
// The pane's value at a sample (0 outside the samples).
double PaneValue(const WavePane& pane, int sample);

// The cursor readout for a sample: amplitude, time or frequency, length. A line the
// pane does not show is empty.
struct Readout {
    std::string amplitude;  // "A=%0.2fmV" ("dB" for the log spectrum; no unit for correlation)
    std::string time;       // "t=%0.2fms" or "F=%0.2fkHZ"
    std::string length;     // "l=%0.1fm"
    std::vector<std::string> lines() const;  // the non-empty lines in this order
};
Readout ReadoutAt(const WavePane& pane, int sample);

// Mark labels.
std::string DefectLabel(const TestPoint& p,
                        const PileMark& m);  // "%s【%0.2fm】", depth from the head
std::string MarkerLabel(const WavePane& pane, MarkType type, int sample);

struct AxisLabel {
    int pos = 0;  // x for the horizontal axis, y for the vertical one
    std::string text;
};
struct XAxis {
    std::vector<AxisLabel> ticks;  // a tick whose label would run past the plot keeps ""
    std::string unit;              // "m", "ms" or "kHZ"
    bool depth = false;            // a depth axis between the head and the toe line
};
// Time and average panes with head and toe lines: a depth axis in metres whose step is
// the first of 1, 2, 5, 10 m spaced at least width("0000"); otherwise ticks every
// 2 width("0000") from the plot left in ms (kHz for spectra).
XAxis XAxisLabels(const WavePane& pane, const TextMetrics& metrics);
// The depth step the axis chooses (1, 2, 5 or 10 m) for a pile of `lengthM` metres drawn
// over `spanPx` pixels; 10 when none is wide enough.
int DepthAxisStep(double lengthM, int spanPx, int minSpacingPx);

struct YAxis {
    std::vector<AxisLabel> labels;  // five, bottom to top
    std::string unit;               // "mV" or "dB"
};
YAxis YAxisLabels(const WavePane& pane);

// The information lines of item `code` for a pane: codes 30..46 (see ParameterItems)
// and the processing kinds (their descriptions). Unknown codes give no line.
std::vector<std::string> InfoLines(const CSondaraDoc& doc, const WavePane& pane, int code);
// All chosen items in order.
std::vector<std::string> InfoText(const CSondaraDoc& doc, const WavePane& pane,
                                  const std::vector<std::int32_t>& items);

}  // namespace sondara
