#include "gui/display/CursorInfoWindow.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSettings>
#include <algorithm>

#include "gui/app/Translation.h"
#include "gui/app/UserSettings.h"
#include "render/PanePainter.h"

namespace sondara::gui {

namespace {
constexpr const char* kPlaceKey = "Settings/QAR_ToolTip";
}  // namespace

CursorInfoWindow::CursorInfoWindow(const render::QtTextMetrics& metrics, QWidget* display)
    : QWidget(display), metrics_(metrics) {
    setObjectName("CursorInfoWindow");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::SizeAllCursor);
    resize(render::InfoBoxSize(lines_, metrics_));
    const QPoint saved = userSettings().value(kPlaceKey, QPoint(20, 20)).toPoint();
    move(saved);
    hide();
}

bool CursorInfoWindow::placedByUser() const {
    return userSettings().contains(kPlaceKey);
}

void CursorInfoWindow::openAtPlotCorner(const QRect& plot) {
    if (placedByUser() || plot.isEmpty()) return;
    move(inside(QPoint(plot.right() + 1 - width() - 4, plot.top() + 4)));
}

void CursorInfoWindow::setLines(std::vector<std::string> lines) {
    // the headings in the window's language; the readouts are figures and units
    for (std::string& l : lines) l = trCore(l).toStdString();
    if (lines == lines_) return;
    lines_ = std::move(lines);
    resize(render::InfoBoxSize(lines_, metrics_));
    keepInside();
    update();
}

QPoint CursorInfoWindow::inside(QPoint p) const {
    const QWidget* d = parentWidget();
    if (!d) return p;
    const int maxX = std::max(kMargin, d->width() - width() - kMargin);
    const int maxY = std::max(kMargin, d->height() - height() - kMargin);
    return QPoint(std::clamp(p.x(), kMargin, maxX), std::clamp(p.y(), kMargin, maxY));
}

void CursorInfoWindow::keepInside() {
    const QPoint p = inside(pos());
    if (p != pos()) move(p);
}

void CursorInfoWindow::savePlace() const {
    userSettings().setValue(kPlaceKey, pos());
}

void CursorInfoWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    render::PaintInfoBox(p, rect(), lines_, metrics_);
}

void CursorInfoWindow::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    dragging_ = true;
    grab_ = e->position().toPoint();
}

void CursorInfoWindow::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_) return;
    move(inside(mapToParent(e->position().toPoint()) - grab_));
}

void CursorInfoWindow::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !dragging_) return;
    dragging_ = false;
    savePlace();
}

}  // namespace sondara::gui
