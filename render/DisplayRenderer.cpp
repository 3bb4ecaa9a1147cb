#include "render/DisplayRenderer.h"

#include <QPainter>
#include <algorithm>

namespace sondara::render {

DisplayRenderer::DisplayRenderer(const QFont& font) : metrics_(font), painter_(metrics_) {}

void DisplayRenderer::paintPanes(QPainter& p, WaveDisplayModel& model, int top, int width,
                                 int height, const DisplayPaintOptions& o) const {
    p.save();
    p.fillRect(QRect(0, 0, width, height), kBackgroundColour);
    p.translate(0, -top);
    model.materialiseRows(top, top + height);
    std::vector<int> visible;
    for (int i = 0; i < model.paneCount(); ++i)
        if (model.pane(i).paneRect.intersectsRows(top, top + height)) visible.push_back(i);

    std::vector<PaneDrawOptions> opts(visible.size());
    for (size_t k = 0; k < visible.size(); ++k) {
        const WavePane& w = model.ensurePane(visible[k]);
        PaneDrawOptions& d = opts[k];
        d.paneBorder = visible[k] == model.activePane();
        d.strongActiveCue = model.paneCount() > 1;
        d.showLabels = model.options().showLabels != 0;
        d.simulatedPile = model.showsSimulatedPile(w);
        d.doc = o.doc;
        d.infoItems = model.options().items;
        d.amplification = o.amplification;
        // A strip of the 波列显示 may swing over its neighbours: its curve is clipped
        // to the visible height only.
        if (w.waveTrain) d.curveClip = QRect(w.plotRect.left, top, w.plotRect.width(), height);
    }
    for (PanePainter::Pass pass : PanePainter::kPasses)
        for (size_t k = 0; k < visible.size(); ++k)
            painter_.paintPass(pass, p, model.pane(visible[k]), opts[k]);
    p.restore();
}

void DisplayRenderer::paintCursors(QPainter& p, WaveDisplayModel& model, int top, int style) const {
    p.save();
    p.translate(0, -top);
    const CursorState& d = model.dynamicCursor();
    const CursorState& s = model.staticCursor();
    // Two inverting cursors on the same spot would cancel out: right after a click
    // the dynamic one stands where the static one was fixed, so only one is drawn.
    const bool same =
        d.shown && s.shown && d.pane == s.pane && d.x == s.x && (style != 1 || d.y == s.y);
    for (const CursorState* c : {&d, &s}) {
        if (c == &d && same) continue;
        if (c->shown && c->pane >= 0 && c->pane < model.paneCount())
            DrawCursor(p, model.ensurePane(c->pane), *c, style);
    }
    p.restore();
}

QImage DisplayRenderer::render(WaveDisplayModel& model, const CSondaraDoc& doc, QSize size,
                               const RenderOptions& o) const {
    const int w = std::max(1, size.width());
    const int h = std::max(1, size.height());
    model.setClientSize(w, h);
    model.rebuild(doc);
    const int total =
        o.wholeContent ? std::clamp(model.contentHeight(), h, std::max(h, o.maxHeight)) : h;
    QImage img(w, total, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    DisplayPaintOptions d;
    d.doc = &doc;
    // Screen by screen, so that a long display never holds every pane at once.
    for (int top = 0; top < total; top += h) {
        const int rows = std::min(h, total - top);
        p.save();
        p.translate(0, top);
        p.setClipRect(QRect(0, 0, w, rows));
        paintPanes(p, model, top, w, rows, d);
        if (o.cursors) paintCursors(p, model, top, o.cursorStyle);
        p.restore();
    }
    if (o.cursorInfo) {
        const std::vector<std::string> lines = model.cursorInfoLines();
        if (!lines.empty())
            PaintInfoBox(p, QRect(QPoint(20, 20), InfoBoxSize(lines, metrics_)), lines, metrics_);
    }
    p.end();
    return img;
}

}  // namespace sondara::render
