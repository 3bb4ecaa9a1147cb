#include "gui/display/WaveDisp.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "core/display/DisplayOptions.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/QtPrompter.h"
#include "gui/display/CursorInfoWindow.h"
#include "gui/display/DisplayInteraction.h"

namespace sondara::gui {

namespace {
constexpr int kWheelStepPx = 40;  // per notch
}

CWaveDisp::CWaveDisp(DocumentHost& host, QWidget* parent)
    : QWidget(parent), host_(host), model_(&renderer_.metrics()) {
    setObjectName("CWaveDisp");
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);

    DisplayOptions o;
    QtPrompter prompter(this);
    loadOrWriteDefaults(o, &prompter);
    model_.applyOptions(o);
    model_.onRebuilt = [this] { emit rebuilt(); };

    vbar_ = new QScrollBar(Qt::Vertical, this);
    vbar_->hide();
    vbar_->setSingleStep(20);
    connect(vbar_, &QScrollBar::valueChanged, this, [this](int v) {
        model_.setScrollY(v);
        model_.moveDynamicCursor(lastMouse_.x(), lastMouse_.y() + model_.scrollY());
        panesChanged();
    });
    info_ = new CursorInfoWindow(renderer_.metrics(), this);
}

CWaveDisp::~CWaveDisp() {
    model_.onRebuilt = nullptr;
    // Hidden now, while it is still a display: the leave event that a visible widget
    // sends as it goes reaches the event filters of the interactions (marks,
    // processing forms) here, not from QWidget's destructor after this object is gone.
    hide();
}

QSize CWaveDisp::clientSize() const {
    return QSize(std::max(1, width() - (vbar_->isVisible() ? vbar_->width() : 0)),
                 std::max(1, height()));
}

void CWaveDisp::setInteraction(DisplayInteraction* i) {
    interaction_ = i;
    update();
}

void CWaveDisp::setAmplificationCurve(std::optional<render::AmplificationCurve> curve) {
    amplification_ = std::move(curve);
    layerDirty_ = true;
    update();
}

void CWaveDisp::rebuild() {
    layoutPanes();
}

void CWaveDisp::refreshPoints(const std::vector<int>& points) {
    if (model_.refreshPoints(host_.doc(), points)) {
        // the panes cannot be read again in place: build and lay out everything
        layoutPanes();
        return;
    }
    panesChanged();
}

void CWaveDisp::setSelection(const AnalysisSelection& s) {
    model_.setSelection(s);
    layoutPanes();
}

void CWaveDisp::layoutPanes() {
    if (layingOut_) return;
    layingOut_ = true;
    const int sbw = vbar_->sizeHint().width();
    // Panes keep their height whatever the width: one build tells whether the scroll
    // bar is needed, a second one lays the panes out beside it.
    ++rebuilds_;
    model_.setClientSize(width(), height());
    model_.rebuild(host_.doc());
    const bool scrolls = model_.scrollsVertically();
    if (scrolls) {
        model_.setClientSize(std::max(1, width() - sbw), height());
        model_.rebuild(host_.doc());
    }
    vbar_->setGeometry(width() - sbw, 0, sbw, height());
    vbar_->setVisible(scrolls);
    updateScrollBar();
    layingOut_ = false;
    panesChanged();
}

void CWaveDisp::updateScrollBar() {
    const QSignalBlocker block(vbar_);
    vbar_->setRange(0, std::max(0, model_.contentHeight() - model_.clientHeight()));
    vbar_->setPageStep(std::max(1, model_.clientHeight()));
    vbar_->setValue(model_.scrollY());
}

void CWaveDisp::panesChanged() {
    layerDirty_ = true;
    cursorsChanged();
}

void CWaveDisp::cursorsChanged() {
    if (cursorInfo_) info_->setLines(model_.cursorInfoLines());
    update();
}

std::vector<int> CWaveDisp::runCommand(DisplayCommand c) {
    std::vector<int> changed = model_.runCommand(host_.doc(), c);
    panesChanged();
    return changed;
}

void CWaveDisp::saveOptions() {
    QtPrompter prompter(this);
    saveSettings(model_.options(), &prompter);
}

void CWaveDisp::setEditScope(int scope) {
    model_.options().editScope = scope == 1 ? 1 : 0;
    saveOptions();
    rebuild();
}

void CWaveDisp::setCursorStyle(int s) {
    model_.cursorStyle = s;
    update();
}

void CWaveDisp::setCursorInfoVisible(bool v) {
    cursorInfo_ = v;
    if (v) {
        info_->setLines(model_.cursorInfoLines());
        if (model_.paneCount() > 0) {
            const PixelRect r = model_.pane(0).plotRect;
            info_->openAtPlotCorner(QRect(r.left, r.top - model_.scrollY(), r.width(), r.height()));
        }
        info_->keepInside();
        info_->raise();
    }
    info_->setVisible(v);
    update();
}

// ---- painting -------------------------------------------------------------------------

int CWaveDisp::edgeFeedbackY() const {
    const PixelRect& r = model_.pane(edge_.pane).paneRect;
    const int h = model_.edgeDragHeight(edge_, edgeDragY_);
    return edge_.bottomEdge ? r.top + h : r.bottom - h;
}

void CWaveDisp::paintEvent(QPaintEvent*) {
    ++repaints_;
    const QSize cs = clientSize();
    const int top = model_.scrollY();
    if (layerDirty_ || layer_.size() != cs) {
        layer_ = QImage(cs, QImage::Format_RGB32);
        QPainter lp(&layer_);
        render::DisplayPaintOptions o;
        o.doc = &host_.doc();
        if (amplification_) o.amplification = &*amplification_;
        renderer_.paintPanes(lp, model_, top, cs.width(), cs.height(), o);
        layerDirty_ = false;
    }
    // The cursors go on a copy, so that moving them never repaints the panes.
    QImage frame = layer_;
    {
        QPainter fp(&frame);
        renderer_.paintCursors(fp, model_, top, model_.cursorStyle);
        if (edge_.grabbed && edge_.pane >= 0 && edge_.pane < model_.paneCount()) {
            fp.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            fp.setPen(QPen(Qt::white, 0, Qt::SolidLine));
            const int y = edgeFeedbackY() - top;
            fp.drawLine(0, y, cs.width() - 1, y);
        }
        fp.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (interaction_) interaction_->paintOverlay(fp, top);
        emit paintingOverlay(fp, top);
    }
    QPainter p(this);
    p.drawImage(0, 0, frame);
}

void CWaveDisp::resizeEvent(QResizeEvent*) {
    layoutPanes();
    info_->keepInside();
}

// ---- mouse and keyboard -------------------------------------------------------------------

void CWaveDisp::moveDynamicCursorTo(QPoint p) {
    lastMouse_ = p;
    model_.moveDynamicCursor(p.x(), p.y() + model_.scrollY());
    cursorsChanged();
}

void CWaveDisp::mouseMoveEvent(QMouseEvent* e) {
    if (interaction_ && interaction_->mouseMove(e)) return;
    const QPoint pos = e->position().toPoint();
    if (edge_.grabbed) {
        lastMouse_ = pos;
        edgeDragY_ = pos.y() + model_.scrollY() - edgeGrabOffset_;
        update();
        return;
    }
    moveDynamicCursorTo(pos);
    const bool onEdge = model_.hitTestEdge(pos.x(), pos.y() + model_.scrollY()).grabbed;
    setCursor(onEdge ? Qt::SizeVerCursor : Qt::ArrowCursor);
}

void CWaveDisp::mousePressEvent(QMouseEvent* e) {
    setFocus(Qt::MouseFocusReason);
    if (interaction_ && interaction_->mousePress(e)) return;
    const QPoint pos = e->position().toPoint();
    const int cy = pos.y() + model_.scrollY();
    const bool right = e->button() == Qt::RightButton;
    if (e->button() != Qt::LeftButton && !right) return;
    if (!right) {
        const EdgeGrab g = model_.hitTestEdge(pos.x(), cy);
        if (g.grabbed) {
            // The edge keeps its distance to the pointer: grabbing never makes it jump.
            const PixelRect& r = model_.pane(g.pane).paneRect;
            edge_ = g;
            edgeGrabOffset_ = cy - (g.bottomEdge ? r.bottom : r.top);
            edgeDragY_ = cy - edgeGrabOffset_;
            update();
            return;
        }
    }
    const ClickResult r = model_.click(pos.x(), cy, right);
    if (r.pane < 0) return;
    if (r.activeChanged) layerDirty_ = true;
    cursorsChanged();
    if (r.staticCursorPlaced) emit staticCursorPlaced();
    if (r.activeChanged) emit activePaneChanged();
    // Selecting the point may rebuild the display at once: nothing of the model is
    // read after it.
    if (r.selectPoint >= 0) emit pointClicked(r.selectPoint);
    if (r.openContextMenu) emit contextMenuRequested(e->globalPosition().toPoint());
}

void CWaveDisp::mouseReleaseEvent(QMouseEvent* e) {
    if (interaction_ && interaction_->mouseRelease(e)) return;
    if (e->button() != Qt::LeftButton || !edge_.grabbed) return;
    const EdgeGrab g = edge_;
    edge_ = {};
    model_.finishEdgeDrag(g, edgeDragY_);
    layoutPanes();
}

void CWaveDisp::wheelEvent(QWheelEvent* e) {
    if (!vbar_->isVisible()) return;
    vbar_->setValue(vbar_->value() - e->angleDelta().y() * kWheelStepPx / 120);
    e->accept();
}

void CWaveDisp::scrollToPane(int pane) {
    if (pane < 0 || pane >= model_.paneCount() || !vbar_->isVisible()) return;
    const PixelRect& r = model_.pane(pane).paneRect;
    const int top = model_.scrollY(), h = model_.clientHeight();
    if (r.top < top)
        vbar_->setValue(r.top);
    else if (r.bottom > top + h)
        vbar_->setValue(std::min(r.top, r.bottom - h));
}

void CWaveDisp::keyPressEvent(QKeyEvent* e) {
    if (interaction_ && interaction_->keyPress(e)) return;
    if (!(model_.featureMask & kFeatureKeyboard)) {
        QWidget::keyPressEvent(e);
        return;
    }
    switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right: {
            // The pointer moves by one pixel; the dynamic cursor follows it.
            QPoint p = lastMouse_.x() >= 0 ? lastMouse_ : mapFromGlobal(QCursor::pos());
            p.rx() += e->key() == Qt::Key_Left ? -1 : 1;
            QCursor::setPos(mapToGlobal(p));
            moveDynamicCursorTo(p);
            break;
        }
        case Qt::Key_Up:
        case Qt::Key_Down: {
            const KeyResult r = model_.moveActivePane(e->key() == Qt::Key_Up ? -1 : 1);
            if (!r.changed) break;
            scrollToPane(r.activePane);
            panesChanged();
            emit activePaneChanged();
            if (r.selectPoint >= 0) emit pointClicked(r.selectPoint);
            break;
        }
        default:
            QWidget::keyPressEvent(e);
            return;
    }
    e->accept();
}

void CWaveDisp::leaveEvent(QEvent*) {
    edge_ = {};
    lastMouse_ = {-1, -1};
    model_.hideDynamicCursor();
    cursorsChanged();
}

}  // namespace sondara::gui
