#include "render/PanePainter.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "core/base/TrNoop.h"
#include "core/display/PaneMapping.h"
#include "core/display/PaneTexts.h"
#include "core/display/SimulatedPile.h"

namespace sondara::render {

namespace {

QRect toQRect(const PixelRect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}
QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
QColor qc(const Rgb& c) {
    return QColor(c.r, c.g, c.b);
}

QPen cosmeticPen(const QColor& c, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(c, 0, style);  // one device pixel whatever the transform
    return pen;
}

// The colour of a line or text: black on a black-and-white printer, where anything
// but white must print.
QColor ink(const PaneDrawOptions& o, const QColor& c) {
    if (!o.monochrome || c == Qt::white) return c;
    return Qt::black;
}
// The colour of a fill: on a black-and-white printer light fills stay white and dark
// ones are black.
QColor fillInk(const PaneDrawOptions& o, const QColor& c) {
    if (!o.monochrome) return c;
    return qGray(c.rgb()) >= 128 ? QColor(Qt::white) : QColor(Qt::black);
}
// A thin line: one device pixel on the screen, the options' width on paper.
QPen thinPen(const PaneDrawOptions& o, const QColor& c, Qt::PenStyle style = Qt::SolidLine) {
    if (o.lineWidth <= 0.0) return cosmeticPen(ink(o, c), style);
    QPen pen(ink(o, c), o.lineWidth, style);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}
// A text pen.
QPen textPen(const PaneDrawOptions& o, const QColor& c) {
    return QPen(ink(o, c));
}

// Spans of text already placed on one row of a pane, to keep labels apart.
struct RowSpans {
    std::vector<std::pair<int, int>> spans;
    bool free(int a, int b) const {
        for (auto [x0, x1] : spans)
            if (a < x1 && b > x0) return false;
        return true;
    }
};

}  // namespace

// ---- geometry helpers ------------------------------------------------------------------

std::vector<QPointF> FillPolygon(const std::vector<PolylinePoint>& curve, int zeroY, int fill) {
    std::vector<QPointF> out;
    if ((fill != 1 && fill != 2) || curve.empty()) return out;
    // Distance from the zero line towards the filled side (y grows downwards).
    auto side = [&](const PolylinePoint& q) {
        return fill == 1 ? static_cast<double>(zeroY - q.y) : static_cast<double>(q.y - zeroY);
    };
    out.reserve(curve.size() * 2 + 2);
    out.emplace_back(curve.front().x, zeroY);
    for (size_t i = 0; i < curve.size(); ++i) {
        const PolylinePoint& q = curve[i];
        const double d = side(q);
        if (i > 0) {
            const PolylinePoint& a = curve[i - 1];
            const double da = side(a);
            // The segment crosses the zero line: the lobe ends (or starts) right there.
            if ((da > 0 && d < 0) || (da < 0 && d > 0)) {
                const double xc = a.x + (q.x - a.x) * da / (da - d);
                out.emplace_back(xc, zeroY);
            }
        }
        out.emplace_back(q.x, d > 0 ? q.y : zeroY);
    }
    out.emplace_back(curve.back().x, zeroY);
    return out;
}

WavePane LayoutPaneInRect(const WavePane& pane, const PixelRect& rect, bool simulatedPile,
                          const TextMetrics& metrics) {
    WavePane w = pane;
    w.paneRect = rect;
    w.plotRect = ComputePlotRect(rect, pane.waveTrain, simulatedPile, metrics);
    const int screenW = pane.plotRect.width();
    const double ratio = screenW > 0 ? static_cast<double>(w.plotRect.width()) / screenW : 1.0;
    const HorizontalMapping h = MakeHorizontalMapping(w, w.plotRect, ratio);
    const VerticalMapping v = MakeVerticalMapping(w, w.plotRect);
    const TestPoint* p = w.point.get();
    const int n = p ? std::min(w.sampleCount, p->sampleCount()) : 0;
    w.polyline = BuildPolyline(p ? p->samples.data() : nullptr, n, h, v);
    w.zeroLineY = v.zeroY();
    w.overlayPolyline =
        BuildPolyline(w.overlayCurve.data(), static_cast<int>(w.overlayCurve.size()), h, v);
    w.alternativePolyline =
        BuildPolyline(w.alternativeCurve.data(), static_cast<int>(w.alternativeCurve.size()), h, v);
    if (w.head.visible) w.head.x = h.x(w.head.sample);
    if (w.toe.visible) w.toe.x = h.x(w.toe.sample);
    for (VisibleMark& m : w.marks) m.x = h.x(m.sample);
    // Texts computed later from the pane (axes) take the offset in screen pixels.
    w.state.xOffset = static_cast<int>(pane.state.xOffset * ratio);
    return w;
}

// ---- passes ------------------------------------------------------------------------------

void PanePainter::paint(QPainter& p, const WavePane& pane, const PaneDrawOptions& o) const {
    for (Pass pass : kPasses) paintPass(pass, p, pane, o);
}

void PanePainter::paintPass(Pass pass, QPainter& p, const WavePane& pane,
                            const PaneDrawOptions& o) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(m_.font());
    switch (pass) {
        case Pass::Background:
            background(p, pane, o);
            break;
        case Pass::Curves:
            curves(p, pane, o);
            break;
        case Pass::Marks:
            marks(p, pane, o);
            break;
        case Pass::Labels:
            labels(p, pane, o);
            break;
    }
    p.restore();
}

void PanePainter::background(QPainter& p, const WavePane& w, const PaneDrawOptions& o) const {
    const QRect pane = toQRect(w.paneRect);
    p.fillRect(pane, kBackgroundColour);
    p.setBrush(Qt::NoBrush);
    if (o.paneBorder && o.strongActiveCue) {
        QPen pen(ink(o, kActivePaneColour), 2);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.drawRect(pane.adjusted(1, 1, -1, -1));
    } else if (o.paneBorder) {
        p.setPen(thinPen(o, kPaneBorderColour));
        p.drawRect(pane.adjusted(0, 0, -1, -1));
    }
    // The plot border lies just outside the plot, so that the curve never covers it.
    const QRect plot = toQRect(w.plotRect);
    p.setPen(thinPen(o, kPlotBorderColour));
    p.drawRect(plot.adjusted(-1, -1, 0, 0));
}

void PanePainter::curves(QPainter& p, const WavePane& w, const PaneDrawOptions& o) const {
    if (!w.materialised) return;
    const QRect plot = toQRect(w.plotRect);
    p.setClipRect(o.curveClip.isEmpty() ? plot : o.curveClip, Qt::IntersectClip);

    if (w.zeroLineShown) {
        p.setPen(thinPen(o, kZeroLineColour, Qt::DotLine));
        p.drawLine(plot.left(), w.zeroLineY, plot.right(), w.zeroLineY);
    }
    const bool spectrumLines = w.kind == PaneKind::Spectrum && w.state.spectrumStyle == 0;
    if (!spectrumLines && (w.state.fill == 1 || w.state.fill == 2) && w.polyline.size() > 1) {
        const std::vector<QPointF> poly = FillPolygon(w.polyline, w.zeroLineY, w.state.fill);
        p.setPen(Qt::NoPen);
        p.setBrush(fillInk(o, kCurveColour));
        p.drawPolygon(poly.data(), static_cast<int>(poly.size()));
        p.setBrush(Qt::NoBrush);
    }
    p.setPen(thinPen(o, kCurveColour));
    if (spectrumLines) {
        for (const PolylinePoint& q : w.polyline) p.drawLine(q.x, q.y, q.x, w.zeroLineY);
    } else if (w.polyline.size() == 1) {
        p.drawPoint(w.polyline.front().x, w.polyline.front().y);
    } else if (!w.polyline.empty()) {
        QPolygon poly(static_cast<int>(w.polyline.size()));
        for (size_t i = 0; i < w.polyline.size(); ++i)
            poly.setPoint(static_cast<int>(i), w.polyline[i].x, w.polyline[i].y);
        p.drawPolyline(poly);
    }
    // the competing reading first, so that the chosen one stays on top where they agree
    for (const auto& [line, colour] : {std::pair{&w.alternativePolyline, kAlternativeCurveColour},
                                       std::pair{&w.overlayPolyline, kFittedCurveColour}}) {
        if (line->size() <= 1) continue;
        QPolygon fit(static_cast<int>(line->size()));
        for (size_t i = 0; i < line->size(); ++i)
            fit.setPoint(static_cast<int>(i), (*line)[i].x, (*line)[i].y);
        p.setPen(thinPen(o, colour));
        p.drawPolyline(fit);
    }
    if (o.amplification && IsTimeKind(w.kind)) amplification(p, w, *o.amplification, o);
}

void PanePainter::overlayLegend(QPainter& p, const WavePane& w) const {
    if (w.overlayPolyline.size() <= 1) return;
    // A row per curve: a short line in each colour and its name; the third only while a
    // competing reading is shown.
    const QString names[] = {QString::fromStdString(SONDARA_TR("sondara", "实测")),
                             QString::fromStdString(SONDARA_TR("sondara", "拟合")),
                             QString::fromStdString(SONDARA_TR("sondara", "备选"))};
    const QColor colours[] = {kCurveColour, kFittedCurveColour, kAlternativeCurveColour};
    const int rows = w.alternativePolyline.size() > 1 ? 3 : 2;
    const int lh = m_.lineHeight();
    int textW = 0;
    for (const QString& n : names) textW = std::max(textW, m_.textWidth(n.toStdString()));
    const int lineW = 16, pad = 3;
    const QRect plot = toQRect(w.plotRect);
    // the lower right corner: the information text holds the upper one, and a trace
    // has mostly died away by then
    const int boxW = pad * 3 + lineW + textW, boxH = pad * 2 + lh * rows;
    const QRect box(plot.right() - pad - boxW, plot.bottom() - pad - boxH, boxW, boxH);
    if (box.left() <= plot.left() || box.top() <= plot.top()) return;
    p.save();
    p.fillRect(box, kLabelHaloColour);
    p.setPen(cosmeticPen(kPlotBorderColour));
    p.drawRect(box.adjusted(0, 0, -1, -1));
    for (int i = 0; i < rows; ++i) {
        const int y = box.top() + pad + i * lh;
        p.setPen(QPen(colours[i], 2));
        p.drawLine(box.left() + pad, y + lh / 2, box.left() + pad + lineW, y + lh / 2);
        p.setPen(kTextColour);
        p.drawText(QRect(box.left() + pad * 2 + lineW, y, textW + pad, lh),
                   Qt::AlignLeft | Qt::AlignVCenter, names[i]);
    }
    p.restore();
}

void PanePainter::amplification(QPainter& p, const WavePane& w, const AmplificationCurve& a,
                                const PaneDrawOptions& o) const {
    if (a.gain.empty()) return;
    const auto [lo, hi] = std::minmax_element(a.gain.begin(), a.gain.end());
    const double span = *hi - *lo;
    const HorizontalMapping h = MakeHorizontalMapping(w, w.plotRect);
    const int base = w.plotRect.bottom - 1 - 5;
    QPolygon poly;
    for (size_t i = 0; i < a.gain.size(); ++i) {
        const int k = a.from + static_cast<int>(i);
        if (k < 0 || k >= w.sampleCount) continue;
        const double f = span > 0 ? (a.gain[i] - *lo) / span : 0.0;
        poly << QPoint(h.x(k), base - static_cast<int>(std::lround(20 * f)));
    }
    p.setPen(thinPen(o, kAmplificationColour));
    p.drawPolyline(poly);
}

QRect PanePainter::infoBlock(const WavePane& w, const PaneDrawOptions& o,
                             std::vector<std::string>* lines) const {
    if (!o.doc || o.infoItems.empty() || w.waveTrain || !w.materialised) return {};
    std::vector<std::string> all = InfoText(*o.doc, w, o.infoItems);
    while (!all.empty() && all.back().empty()) all.pop_back();
    const int lh = m_.lineHeight();
    // The block stays above the zero line, where a trace that has died away leaves room.
    int bottom = w.plotRect.bottom - 2;
    if (w.zeroLineShown && w.zeroLineY > w.plotRect.top && w.zeroLineY < w.plotRect.bottom)
        bottom = w.zeroLineY - 2;
    const int room = std::max(0, (bottom - w.plotRect.top - 2) / lh);
    if (static_cast<int>(all.size()) > room) all.resize(static_cast<size_t>(room));
    int width = 0;
    for (const std::string& s : all) width = std::max(width, m_.textWidth(s));
    if (all.empty() || width == 0 || width > w.plotRect.width() / 2) return {};
    if (lines) *lines = std::move(all);
    const int n = lines ? static_cast<int>(lines->size()) : 0;
    return QRect(w.plotRect.right - 4 - width, w.plotRect.top + 2, width, n * lh);
}

void PanePainter::marks(QPainter& p, const WavePane& w, const PaneDrawOptions& o) const {
    if (!w.materialised) return;
    const QRect plot = toQRect(w.plotRect);
    p.setClipRect(plot, Qt::IntersectClip);
    const int lh = m_.lineHeight();
    const int rows = std::max(1, (plot.height() - 2) / lh);
    std::vector<RowSpans> used(static_cast<size_t>(rows));
    std::vector<std::string> infoLines;
    const QRect info = infoBlock(w, o, &infoLines);
    if (!info.isEmpty())
        for (int r = 0; r < rows; ++r)
            if (plot.top() + 1 + r * lh < info.bottom())
                used[static_cast<size_t>(r)].spans.push_back({info.left() - 4, info.right() + 4});

    // A label goes beside its line, right of it or else left of it, on the first row
    // where it crosses neither another label nor another line.
    std::vector<int> lineXs;
    if (w.head.visible) lineXs.push_back(w.head.x);
    if (w.toe.visible) lineXs.push_back(w.toe.x);
    for (const VisibleMark& m : w.marks) lineXs.push_back(m.x);
    auto place = [&](int x, const std::string& text, const std::string& text2, const QColor& c) {
        const int wd = std::max(m_.textWidth(text), m_.textWidth(text2));
        const int need = text2.empty() ? 1 : 2;
        auto clear = [&](int r, int x0) {
            if (x0 < plot.left() || x0 + wd > plot.right()) return false;
            for (int lx : lineXs)
                if (lx != x && lx >= x0 - 1 && lx <= x0 + wd) return false;
            for (int k = 0; k < need; ++k)
                if (!used[static_cast<size_t>(r + k)].free(x0, x0 + wd)) return false;
            return true;
        };
        for (int pass = 0; pass < 2; ++pass) {
            for (int r = 0; r + need <= rows; ++r) {
                for (int x0 : {x + 3, x - 3 - wd}) {
                    // Second pass: crossing another line is better than no label at all.
                    if (!(pass == 0 ? clear(r, x0)
                                    : (x0 >= plot.left() && x0 + wd <= plot.right() &&
                                       used[static_cast<size_t>(r)].free(x0, x0 + wd) &&
                                       (need == 1 ||
                                        used[static_cast<size_t>(r + 1)].free(x0, x0 + wd)))))
                        continue;
                    for (int k = 0; k < need; ++k)
                        used[static_cast<size_t>(r + k)].spans.push_back({x0, x0 + wd});
                    const int y = plot.top() + 1 + r * lh + m_.ascent();
                    // a white box behind the label keeps it legible over the traces
                    p.fillRect(QRect(x0 - 1, y - m_.ascent(), wd + 2, need * lh),
                               fillInk(o, kLabelHaloColour));
                    p.setPen(textPen(o, c));
                    p.drawText(x0, y, qs(text));
                    if (!text2.empty()) p.drawText(x0, y + lh, qs(text2));
                    return;
                }
            }
        }
    };
    auto vline = [&](int x, const QColor& c, Qt::PenStyle style) {
        p.setPen(thinPen(o, c, style));
        p.drawLine(x, plot.top(), x, plot.bottom());
    };
    if (w.head.visible) vline(w.head.x, kHeadToeColour, Qt::SolidLine);
    if (w.toe.visible) vline(w.toe.x, kHeadToeColour, Qt::SolidLine);
    for (const VisibleMark& m : w.marks)
        vline(m.x, m.type == MarkType::Defect ? kDefectColour : kMarkerColour, Qt::DashLine);
    if (w.head.visible) place(w.head.x, w.head.label, {}, kHeadToeColour);
    if (w.toe.visible) place(w.toe.x, w.toe.label, {}, kHeadToeColour);
    for (const VisibleMark& m : w.marks)
        place(m.x, m.label, m.label2, m.type == MarkType::Defect ? kDefectColour : kMarkerColour);
}

void PanePainter::labels(QPainter& p, const WavePane& w, const PaneDrawOptions& o) const {
    const QRect pane = toQRect(w.paneRect);
    const QRect plot = toQRect(w.plotRect);
    const int lh = m_.lineHeight();
    p.setClipRect(pane, Qt::IntersectClip);
    p.setPen(textPen(o, kTextColour));

    if (o.showLabels) {
        const QString title = qs(w.title);
        p.save();
        if (o.paneBorder && o.strongActiveCue) {
            QFont bold = p.font();
            bold.setBold(true);
            p.setFont(bold);
            p.setPen(textPen(o, kActivePaneColour));
        }
        if (w.waveTrain) {
            p.drawText(
                QRect(pane.left() + 2, pane.top(), plot.left() - pane.left() - 8, pane.height()),
                Qt::AlignRight | Qt::AlignVCenter, title);
        } else {
            const int top = std::max(pane.top(), plot.top() - 2 - lh);
            p.drawText(QRect(plot.left(), top, plot.width(), lh),
                       Qt::AlignHCenter | Qt::AlignVCenter, title);
        }
        p.restore();
    }
    if (!w.materialised || w.waveTrain) return;

    // The information text in the plot's upper right corner.
    std::vector<std::string> infoLines;
    const QRect info = infoBlock(w, o, &infoLines);
    for (size_t i = 0; i < infoLines.size(); ++i)
        p.drawText(info.left(), info.top() + static_cast<int>(i) * lh + m_.ascent(),
                   qs(infoLines[i]));
    overlayLegend(p, w);

    // Vertical axis: the five labels right-aligned left of the plot; a label that
    // would overlap one already drawn gives way (the ends and the zero go first).
    const YAxis ya = YAxisLabels(w);
    std::vector<QRect> drawn;
    for (int idx : {0, 4, 2, 1, 3}) {
        if (idx >= static_cast<int>(ya.labels.size())) continue;
        const AxisLabel& a = ya.labels[static_cast<size_t>(idx)];
        const QRect r(pane.left(), a.pos - lh / 2, plot.left() - 4 - pane.left(), lh);
        if (std::any_of(drawn.begin(), drawn.end(),
                        [&](const QRect& d) { return d.intersects(r); }))
            continue;
        drawn.push_back(r);
        p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, qs(a.text));
        p.drawLine(plot.left() - 3, a.pos, plot.left() - 2, a.pos);
    }
    if (plot.top() - pane.top() >= lh) {
        const QRect unit(pane.left(), plot.top() - 2 - lh, plot.left() - 4 - pane.left(), lh);
        if (std::none_of(drawn.begin(), drawn.end(),
                         [&](const QRect& d) { return d.intersects(unit); }))
            p.drawText(unit, Qt::AlignRight | Qt::AlignVCenter, qs(ya.unit));
    }

    // Horizontal axis below the plot; the unit follows the last label.
    if (pane.bottom() + 1 - plot.bottom() > lh) {
        const XAxis xa = XAxisLabels(w, m_);
        const int y = plot.bottom() + 3;
        int unitX = -1;
        for (const AxisLabel& t : xa.ticks) {
            if (t.pos < plot.left() || t.pos > plot.right() + 1) continue;
            p.setPen(textPen(o, kPlotBorderColour));
            p.drawLine(t.pos, plot.bottom() + 1, t.pos, plot.bottom() + 2);
            if (t.text.empty()) continue;
            p.setPen(textPen(o, kTextColour));
            const int x = t.pos == plot.left() ? t.pos : t.pos - m_.textWidth("0") / 2;
            p.drawText(x, y + m_.ascent(), qs(t.text));
            unitX = x + m_.textWidth(t.text);
        }
        if (unitX >= 0) {
            p.setPen(textPen(o, kTextColour));
            p.drawText(unitX + 1, y + m_.ascent(), qs(xa.unit));
        }
    }

    if (o.simulatedPile) simulatedPile(p, w, o);
}

void PanePainter::simulatedPile(QPainter& p, const WavePane& w, const PaneDrawOptions& o) const {
    const SimulatedPile sp = BuildSimulatedPile(w);
    if (sp.shapes.empty()) return;
    p.save();
    p.setClipRect(toQRect(sp.clip), Qt::IntersectClip);
    const QPen pen = thinPen(o, kTextColour);
    for (const PileShape& s : sp.shapes) {
        p.setPen(s.outlined ? pen : QPen(Qt::NoPen));
        p.setBrush(s.filled ? QBrush(fillInk(o, qc(s.fill))) : QBrush(Qt::NoBrush));
        QPolygon poly;
        for (const PixelPoint& q : s.points) poly << QPoint(q.x, q.y);
        switch (s.type) {
            case PileShape::Type::Polygon:
                p.drawPolygon(poly);
                break;
            case PileShape::Type::Polyline:
                p.drawPolyline(poly);
                break;
            case PileShape::Type::Ellipse:
                if (s.points.size() == 2)
                    p.drawEllipse(QRect(QPoint(s.points[0].x, s.points[0].y),
                                        QPoint(s.points[1].x - 1, s.points[1].y - 1)));
                break;
        }
    }
    p.restore();
}

// ---- cursors and the information box -------------------------------------------------------

void DrawCursor(QPainter& p, const WavePane& pane, const CursorState& c, int style) {
    if (!c.shown) return;
    const QRect plot = toQRect(pane.plotRect);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRect(toQRect(pane.paneRect), Qt::IntersectClip);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(cosmeticPen(Qt::white));
    if (c.x >= plot.left() && c.x <= plot.right()) p.drawLine(c.x, plot.top(), c.x, plot.bottom());
    if (style == 1 && c.y >= plot.top() && c.y <= plot.bottom()) {
        // Two halves, so that the crossing pixel is not inverted twice.
        if (c.x - 1 >= plot.left()) p.drawLine(plot.left(), c.y, c.x - 1, c.y);
        if (c.x + 1 <= plot.right()) p.drawLine(c.x + 1, c.y, plot.right(), c.y);
    }
    p.restore();
}

QSize InfoBoxSize(const std::vector<std::string>& lines, const QtTextMetrics& m) {
    int w = 0;
    for (const std::string& s : lines) w = std::max(w, m.textWidth(s));
    const int h = static_cast<int>(lines.size()) * m.lineHeight();
    return QSize(std::max(40, w + 8), std::max(40, h + 6));
}

void PaintInfoBox(QPainter& p, const QRect& box, const std::vector<std::string>& lines,
                  const QtTextMetrics& m) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.fillRect(box, QColor(255, 255, 0));
    p.setFont(m.font());
    p.setPen(QColor(0, 0, 255));
    int y = box.top() + 3 + m.ascent();
    for (const std::string& s : lines) {
        p.drawText(box.left() + 4, y, qs(s));
        y += m.lineHeight();
    }
    p.restore();
}

}  // namespace sondara::render
