#include "gui/processing/ProcessInteraction.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "core/display/PaneMapping.h"
#include "core/processing/InteractiveDrag.h"
#include "gui/display/WaveDisp.h"

namespace sondara::gui {

ProcessInteraction::ProcessInteraction(CWaveDisp& display, QObject* parent)
    : QObject(parent), display_(display) {}

void ProcessInteraction::setMode(InteractiveMode m) {
    mode_ = m;
    drag_ = {};
    pressed_ = false;
    display_.setInteraction(m == InteractiveMode::None ? nullptr : this);
}

bool ProcessInteraction::mousePress(QMouseEvent* e) {
    if (mode_ == InteractiveMode::None || e->button() != Qt::LeftButton) return false;
    WaveDisplayModel& m = display_.model();
    const QPoint pos = e->position().toPoint();
    const int cy = pos.y() + m.scrollY();
    const int pane = m.paneAt(pos.x(), cy);
    if (pane < 0) return false;
    const WavePane& w = m.ensurePane(pane);
    if (!IsTimeKind(w.kind) || !w.plotRect.contains(pos.x(), cy)) return false;
    if (m.activePane() != pane) {
        // Dragging on another trace makes it the active one, as a click would.
        m.setActivePane(pane);
    }
    const HorizontalMapping h = MakeHorizontalMapping(w, w.plotRect);
    pressed_ = true;
    pressPos_ = pos;
    pressSample_ = std::max(0, h.sampleAt(pos.x()));
    const bool sameTrace = drag_.valid && drag_.pane == pane;
    drag_.pane = pane;
    drag_.point = w.pointIndex;
    drag_.mvPerRow = MillivoltsPerRow(w.vMax, w.vMin, w.plotRect.height());
    switch (mode_) {
        case InteractiveMode::RotateWhole: drag_.rotStart = 0; break;
        case InteractiveMode::RotateFromStart: drag_.rotStart = pressSample_; break;
        case InteractiveMode::Shift:
            // A second drag on the same trace adds to the first.
            baseShiftSamples_ = sameTrace ? drag_.shiftSamples : 0;
            baseShiftMv_ = sameTrace ? drag_.shiftMv : 0.0f;
            break;
        case InteractiveMode::SelectRange: drag_.rangeFirst = drag_.rangeLast = pressSample_; break;
        default: break;
    }
    display_.updateOverlay();
    return true;
}

void ProcessInteraction::follow(QPoint pos) {
    WaveDisplayModel& m = display_.model();
    if (drag_.pane < 0 || drag_.pane >= m.paneCount()) return;
    const WavePane& w = m.ensurePane(drag_.pane);
    const HorizontalMapping h = MakeHorizontalMapping(w, w.plotRect);
    const int sample = std::max(0, h.sampleAt(pos.x()));
    const double rowsUp = pressPos_.y() - pos.y();
    switch (mode_) {
        case InteractiveMode::RotateWhole:
        case InteractiveMode::RotateFromStart:
            drag_.rotAngle = RotationDragAngle(sample - drag_.rotStart, rowsUp);
            break;
        case InteractiveMode::Shift:
            drag_.shiftSamples = baseShiftSamples_ + (sample - pressSample_);
            drag_.shiftMv = static_cast<float>(baseShiftMv_ + rowsUp * drag_.mvPerRow);
            break;
        case InteractiveMode::SelectRange:
            drag_.rangeFirst = std::min(pressSample_, sample);
            drag_.rangeLast = std::max(pressSample_, sample);
            break;
        default: return;
    }
    drag_.valid = true;
    emit changed();
    display_.updateOverlay();
}

bool ProcessInteraction::mouseMove(QMouseEvent* e) {
    if (!pressed_) return false;
    follow(e->position().toPoint());
    return true;
}

bool ProcessInteraction::mouseRelease(QMouseEvent* e) {
    if (!pressed_ || e->button() != Qt::LeftButton) return false;
    pressed_ = false;
    follow(e->position().toPoint());
    return true;
}

bool ProcessInteraction::keyPress(QKeyEvent* e) {
    if (mode_ == InteractiveMode::None) return false;
    if (e->key() == Qt::Key_Escape) {
        emit cancelRequested();
        return true;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit acceptRequested();
        return true;
    }
    return false;
}

void ProcessInteraction::paintOverlay(QPainter& p, int scrollY) {
    WaveDisplayModel& m = display_.model();
    if (drag_.pane < 0 || drag_.pane >= m.paneCount()) return;
    const WavePane& w = m.pane(drag_.pane);
    if (!w.materialised) return;
    const HorizontalMapping h = MakeHorizontalMapping(w, w.plotRect);
    const int top = w.plotRect.top - scrollY, bottom = w.plotRect.bottom - scrollY;
    if (mode_ == InteractiveMode::SelectRange && drag_.rangeFirst >= 0) {
        const int x0 = h.x(drag_.rangeFirst), x1 = h.x(drag_.rangeLast);
        p.fillRect(QRect(QPoint(std::min(x0, x1), top), QPoint(std::max(x0, x1), bottom - 1)),
                   QColor(0, 120, 215, 50));
    } else if ((mode_ == InteractiveMode::RotateFromStart || mode_ == InteractiveMode::RotateWhole) &&
               drag_.valid) {
        // The pivot of the rotation.
        const int x = h.x(drag_.rotStart);
        p.setPen(QPen(QColor(0, 160, 0), 0, Qt::DashLine));
        p.drawLine(x, top, x, bottom - 1);
    }
}

}  // namespace sondara::gui
