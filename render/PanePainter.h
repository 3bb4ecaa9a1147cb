#pragma once
// Draws one pane of the waveform display (a WavePane built by the display model)
// with a QPainter: the screen, an image or a printed page. Everything the pane shows
// (polyline, zero line, head and toe, marks, axis texts, readouts, the pile sketch)
// comes from the model; this class only puts it on the device.
//
// Painting goes in fixed passes so that the stacking never depends on the order of
// calls: background and borders, then curves and fills, then marks, then labels.
// A display paints each pass over all its visible panes before the next one; a single
// pane can be painted with paint().
//
// Coordinates are the pane's own (content pixels): the caller translates the painter
// for scrolling. The painter's state is restored after every call.
#include <QColor>
#include <QRect>
#include <cstdint>
#include <string>
#include <vector>

#include "core/display/WaveDisplayModel.h"
#include "core/display/WavePane.h"
#include "render/QtTextMetrics.h"

class QPainter;

namespace sondara::render {

inline const QColor kBackgroundColour{255, 255, 255};
inline const QColor kPaneBorderColour{192, 192, 192};
// The active pane of a display with several panes: a 2-px frame in this colour and a
// bold title, so that it can be told at a glance.
inline const QColor kActivePaneColour{28, 109, 208};
// Behind mark labels, so that traces running under them do not strike them through.
inline const QColor kLabelHaloColour{255, 255, 255, 225};
inline const QColor kPlotBorderColour{128, 128, 128};
inline const QColor kCurveColour{0, 0, 255};
inline const QColor kZeroLineColour{0, 0, 0};
inline const QColor kAmplificationColour{128, 128, 128};
inline const QColor kTextColour{0, 0, 0};
inline const QColor kHeadToeColour{220, 0, 0};
inline const QColor kDefectColour{200, 0, 200};
inline const QColor kMarkerColour{0, 128, 0};
// The fitted model's trace drawn over the measured one (automatic interpretation).
inline const QColor kFittedCurveColour{230, 110, 0};
// A competing reading's fitted trace, drawn beside the chosen one to weigh them.
inline const QColor kAlternativeCurveColour{0, 150, 150};

// The gain of an amplification step, for the grey curve under a trace: gain[i]
// belongs to sample `from + i`.
struct AmplificationCurve {
    int from = 0;
    std::vector<float> gain;
};

struct PaneDrawOptions {
    bool paneBorder = false;       // the frame of the pane (the active one)
    bool strongActiveCue = false;  // several panes: the active one gets a 2-px frame, bold title
    bool showLabels = true;        // 显示标号: the pane title
    bool simulatedPile = false;    // draw the pile sketch below the plot
    // Where the curve may go when it is not the plot rectangle (a strip of the 波列显示
    // may spill over the whole visible height); content pixels. Empty: the plot.
    QRect curveClip;
    // The information text: the chosen item codes, read from the document.
    const CSondaraDoc* doc = nullptr;
    std::vector<std::int32_t> infoItems;
    const AmplificationCurve* amplification = nullptr;
    // The width of the thin lines (borders, curve, zero line, head, toe, marks) in the
    // pane's pixels, growing with the painter's scale: a printed page wants lines of a
    // width on paper. 0: one device pixel whatever the scale (the screen, images).
    double lineWidth = 0.0;
    // A printer of black and white only: every line and text black, light fills white
    // and dark ones black, so that nothing comes out as a faint dither or not at all.
    bool monochrome = false;
};

class PanePainter {
public:
    enum class Pass { Background, Curves, Marks, Labels };
    static constexpr Pass kPasses[] = {Pass::Background, Pass::Curves, Pass::Marks, Pass::Labels};

    // `metrics` (and its font) must outlive the painter.
    explicit PanePainter(const QtTextMetrics& metrics) : m_(metrics) {}

    void paint(QPainter& p, const WavePane& pane, const PaneDrawOptions& o) const;
    void paintPass(Pass pass, QPainter& p, const WavePane& pane, const PaneDrawOptions& o) const;

    const QtTextMetrics& metrics() const { return m_; }

private:
    void background(QPainter& p, const WavePane& w, const PaneDrawOptions& o) const;
    void curves(QPainter& p, const WavePane& w, const PaneDrawOptions& o) const;
    void marks(QPainter& p, const WavePane& w, const PaneDrawOptions& o) const;
    void labels(QPainter& p, const WavePane& w, const PaneDrawOptions& o) const;
    void amplification(QPainter& p, const WavePane& w, const AmplificationCurve& a,
                       const PaneDrawOptions& o) const;
    void simulatedPile(QPainter& p, const WavePane& w, const PaneDrawOptions& o) const;
    void overlayLegend(QPainter& p, const WavePane& w) const;
    QRect infoBlock(const WavePane& w, const PaneDrawOptions& o,
                    std::vector<std::string>* lines) const;

    const QtTextMetrics& m_;
};

// The polygon between the curve and the zero line on one side (fill 1: above the zero
// line, fill 2: below), with the ends of every lobe placed exactly where the curve
// crosses the zero line. Empty for another fill value.
std::vector<QPointF> FillPolygon(const std::vector<PolylinePoint>& curve, int zeroY, int fill);

// A copy of a materialised pane laid out in another rectangle (image export, printing):
// plot margins for that rectangle, the curve, head, toe and marks at the new width,
// the horizontal offset scaled by the ratio of the plot widths.
WavePane LayoutPaneInRect(const WavePane& pane, const PixelRect& rect, bool simulatedPile,
                          const TextMetrics& metrics);

// A cursor in an inverting pen (drawn twice it disappears): a vertical line over the
// pane's plot, and for the cross-hair style (1) a horizontal line at the cursor's row.
void DrawCursor(QPainter& p, const WavePane& pane, const CursorState& c, int style);

// The cursor-information box: blue text on yellow, sized to its lines (at least 40 x 40).
QSize InfoBoxSize(const std::vector<std::string>& lines, const QtTextMetrics& metrics);
void PaintInfoBox(QPainter& p, const QRect& box, const std::vector<std::string>& lines,
                  const QtTextMetrics& metrics);

}  // namespace sondara::render
