#include "gui/display/WaveDisp.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "core/model/TextCodec.h"
#include "gui/app/DocumentHost.h"

namespace sondara::gui {

CWaveDisp::CWaveDisp(DocumentHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    setObjectName("CWaveDisp");
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setMinimumSize(200, 150);
}

void CWaveDisp::rebuild() { update(); }

int CWaveDisp::paneCount() const { return host_.doc().validPoint(host_.doc().currentPoint) ? 1 : 0; }

void CWaveDisp::setCursorStyle(int s) {
    cursorStyle_ = s;
    update();
}

void CWaveDisp::setCursorInfoVisible(bool v) {
    cursorInfo_ = v;
    update();
}

void CWaveDisp::paintEvent(QPaintEvent*) {
    ++repaints_;
    QPainter p(this);
    const CSondaraDoc& doc = host_.doc();
    if (!doc.validPoint(doc.currentPoint)) return;
    const TestPoint& pt = doc.points[doc.currentPoint];
    QRect plot = rect().adjusted(60, 24, -16, -28);
    p.setPen(Qt::black);
    p.drawRect(plot);
    p.drawText(QRect(plot.left(), 2, plot.width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
               QString("%1  %2").arg(QString::fromStdString(gbkToUtf8(textOf(pt.pileNo))))
                   .arg(QString::fromStdString(doc.classText(doc.currentPoint))));
    const auto& s = pt.samples;
    if (s.size() < 2) return;
    float m = 0;
    for (float v : s) m = std::max(m, std::fabs(v));
    if (m <= 0) m = 1;
    double yMid = plot.center().y(), half = plot.height() / 2.0 * 0.9;
    p.setPen(QColor(160, 160, 160));
    p.drawLine(plot.left(), int(yMid), plot.right(), int(yMid));
    QPainterPath path;
    for (std::size_t i = 0; i < s.size(); ++i) {
        double x = plot.left() + double(i) * plot.width() / double(s.size() - 1);
        double y = yMid - s[i] / m * half;
        if (i == 0) path.moveTo(x, y);
        else path.lineTo(x, y);
    }
    p.setPen(QPen(Qt::blue, 1));
    p.drawPath(path);
    auto markX = [&](int idx) { return plot.left() + double(idx) * plot.width() / double(s.size() - 1); };
    p.setPen(QPen(Qt::red, 1, Qt::DashLine));
    if (pt.headIndex >= 0 && pt.headIndex < int(s.size())) p.drawLine(QPointF(markX(pt.headIndex), plot.top()), QPointF(markX(pt.headIndex), plot.bottom()));
    if (pt.toeIndex > 0 && pt.toeIndex < int(s.size())) p.drawLine(QPointF(markX(pt.toeIndex), plot.top()), QPointF(markX(pt.toeIndex), plot.bottom()));
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(Qt::white);
    if (cursorX_ >= plot.left() && cursorX_ <= plot.right()) p.drawLine(cursorX_, plot.top(), cursorX_, plot.bottom());
}

void CWaveDisp::mouseMoveEvent(QMouseEvent* e) {
    cursorX_ = int(e->position().x());
    update();
}

void CWaveDisp::mousePressEvent(QMouseEvent* e) {
    staticX_ = int(e->position().x());
    setFocus();
    update();
}

}  // namespace sondara::gui
