#pragma once
// Paints a whole waveform display (the panes of a WaveDisplayModel and its cursors) with
// the display font: the window paints its visible rows through it, and render()
// makes an image of a display without any window (CLI, tests, documentation).
//
// The model must be laid out with metrics() (construct it with &renderer.metrics()),
// so that the margins fit the texts actually drawn. The renderer must outlive it.
#include <QImage>
#include <QSize>

#include "core/display/WaveDisplayModel.h"
#include "render/PanePainter.h"
#include "render/QtTextMetrics.h"

namespace sondara::render {

struct DisplayPaintOptions {
    const CSondaraDoc* doc = nullptr;  // the information text; none without it
    const AmplificationCurve* amplification = nullptr;
};

struct RenderOptions {
    // Make the image tall enough for every pane of a scrolling display (capped at
    // maxHeight); otherwise only the first screen.
    bool wholeContent = true;
    int maxHeight = 16000;
    bool cursors = true;      // the model's dynamic and static cursors
    int cursorStyle = 2;      // 1 cross-hair, 2 vertical line
    bool cursorInfo = false;  // the cursor-information box at (20, 20)
};

class DisplayRenderer {
public:
    explicit DisplayRenderer(const QFont& font = DisplayFont());
    DisplayRenderer(const DisplayRenderer&) = delete;
    DisplayRenderer& operator=(const DisplayRenderer&) = delete;

    const QtTextMetrics& metrics() const { return metrics_; }
    const PanePainter& panePainter() const { return painter_; }

    // Paints content rows [top, top + height) of the display with the painter's origin
    // at row `top`: white ground, then the panes that meet those rows, pass by pass.
    void paintPanes(QPainter& p, WaveDisplayModel& model, int top, int width, int height,
                    const DisplayPaintOptions& o) const;
    // Both cursors in the inverting pen, each clipped to its pane; same origin.
    void paintCursors(QPainter& p, WaveDisplayModel& model, int top, int style) const;

    // Lays the display out at `size` (rebuilding the model from `doc`) and paints it.
    QImage render(WaveDisplayModel& model, const CSondaraDoc& doc, QSize size,
                  const RenderOptions& o = {}) const;

private:
    QtTextMetrics metrics_;
    PanePainter painter_;
};

}  // namespace sondara::render
