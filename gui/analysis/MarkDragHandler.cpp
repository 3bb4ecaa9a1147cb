#include "gui/analysis/MarkDragHandler.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "core/base/TextCodec.h"
#include "core/display/PaneMapping.h"
#include "gui/analysis/DefectDialog.h"
#include "gui/analysis/MarkCommands.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/QtPrompter.h"
#include "gui/display/WaveDisp.h"

namespace sondara::gui {

namespace {

MarkerDomain domainOf(MarkType t) {
    switch (t) {
        case MarkType::Correlation:
            return MarkerDomain::Correlation;
        case MarkType::Spectrum:
            return MarkerDomain::Spectrum;
        default:
            return MarkerDomain::Wavelet;
    }
}

bool isMark(const GrabTarget& g) {
    return g.type == GrabTarget::Type::Defect || g.type == GrabTarget::Type::MarkerLine;
}

bool sameMark(const GrabTarget& a, const GrabTarget& b) {
    return a.type == b.type && a.pane == b.pane && a.point == b.point && a.entry == b.entry &&
           a.markType == b.markType;
}

// Pixels the pointer must travel before a press on a line becomes a drag.
constexpr int kDragStartPx = 2;

}  // namespace

MarkDragHandler* MarkDragHandler::attach(CWaveDisp* display, DocumentHost& host) {
    if (MarkDragHandler* h = of(display)) return h;
    return new MarkDragHandler(display, host);
}

MarkDragHandler* MarkDragHandler::of(const CWaveDisp* display) {
    return display ? display->findChild<MarkDragHandler*>(QString(), Qt::FindDirectChildrenOnly)
                   : nullptr;
}

MarkDragHandler::MarkDragHandler(CWaveDisp* display, DocumentHost& host)
    : QObject(display), display_(display), host_(host) {
    setObjectName("MarkDragHandler");
    display_->installEventFilter(this);
    connect(display_, &CWaveDisp::paintingOverlay, this, &MarkDragHandler::paintOverlay);
    // A rebuilt display may no longer show the selected mark.
    connect(display_, &CWaveDisp::rebuilt, this, [this] {
        if (selected_.grabbed() && !selectionStillValid()) selected_ = {};
    });
}

MarkDragHandler::~MarkDragHandler() {
    dropShape();
}  // no pointer shape outlives the display

void MarkDragHandler::clearSelection() {
    selected_ = {};
    display_->update();
}

bool MarkDragHandler::selectionStillValid() const {
    const WaveDisplayModel& m = display_->model();
    const GrabTarget& s = selected_;
    if (s.pane < 0 || s.pane >= m.paneCount() || m.pane(s.pane).pointIndex != s.point) return false;
    const CSondaraDoc& doc = host_.doc();
    if (!doc.validPoint(s.point)) return false;
    const TestPoint& p = doc.points[s.point];
    switch (s.type) {
        case GrabTarget::Type::Head:
        case GrabTarget::Type::Toe:
            return IsTimeKind(m.pane(s.pane).kind);
        case GrabTarget::Type::Defect:
            return s.entry >= 0 && s.entry < p.defectCount();
        case GrabTarget::Type::MarkerLine:
            switch (s.markType) {
                case MarkType::Correlation:
                    return s.entry >= 0 && s.entry < int(p.correlationMarks.size());
                case MarkType::Spectrum:
                    return s.entry >= 0 && s.entry < int(p.spectrumMarks.size());
                default:
                    return s.entry >= 0 && s.entry < p.waveletMarkCount();
            }
        case GrabTarget::Type::None:
            break;
    }
    return false;
}

// ---- events ---------------------------------------------------------------------------------

bool MarkDragHandler::eventFilter(QObject* watched, QEvent* e) {
    if (watched != display_ || passThrough_) return false;
    // A docked processing form drags in the display itself: marks keep still meanwhile.
    if (display_->interaction()) {
        if (grab_.grabbed() || pick_ != Pick::None) leave();
        return false;
    }
    switch (e->type()) {
        case QEvent::MouseButtonPress:
            return press(static_cast<QMouseEvent*>(e));
        case QEvent::MouseMove:
            return move(static_cast<QMouseEvent*>(e));
        case QEvent::MouseButtonRelease:
            return release(static_cast<QMouseEvent*>(e));
        case QEvent::KeyPress:
            return key(static_cast<QKeyEvent*>(e));
        case QEvent::Leave:
            leave();
            return false;
        case QEvent::Hide:
            leave();
            return false;
        default:
            return false;
    }
}

bool MarkDragHandler::press(QMouseEvent* e) {
    WaveDisplayModel& m = display_->model();
    const QPoint pos = e->position().toPoint();
    const int cy = pos.y() + m.scrollY();
    // The display's own pane-edge grab comes first.
    if (m.hitTestEdge(pos.x(), cy).grabbed) return false;
    const GrabTarget hit = m.hitTestGrab(pos.x(), cy);
    if (e->button() == Qt::RightButton) {
        contextMark_ = isMark(hit) ? hit : GrabTarget{};
        if (hit.grabbed()) selected_ = hit;
        display_->update();
        return false;  // the display opens the pane's context menu
    }
    if (e->button() != Qt::LeftButton) return false;
    if (pick_ != Pick::None) {
        const Pick p = pick_;
        pick_ = Pick::None;
        dropShape();
        if (isMark(hit)) {
            selected_ = hit;
            if (p == Pick::Edit)
                editMark(hit);
            else
                deleteMark(hit);
            return true;
        }
        return false;  // a click beside every mark cancels the pick and acts as usual
    }
    if (!hit.grabbed()) {
        if (selected_.grabbed()) clearSelection();
        return false;
    }
    display_->setFocus(Qt::MouseFocusReason);
    grab_ = hit;
    selected_ = hit;
    dragging_ = false;
    pressPos_ = pos;
    dragX_ = pos.x();
    setShape(Qt::SizeHorCursor);
    display_->update();
    return true;
}

void MarkDragHandler::confine(QPoint& pos) const {
    const WaveDisplayModel& m = display_->model();
    if (grab_.pane < 0 || grab_.pane >= m.paneCount()) return;
    const WavePane& w = m.pane(grab_.pane);
    const int top = m.scrollY();
    const QPoint in(std::clamp(pos.x(), w.plotRect.left, w.plotRect.right - 1),
                    std::clamp(pos.y(), w.plotRect.top - top, w.plotRect.bottom - 1 - top));
    if (in != pos) {
        QCursor::setPos(display_->mapToGlobal(in));
        pos = in;
    }
}

bool MarkDragHandler::move(QMouseEvent* e) {
    QPoint pos = e->position().toPoint();
    if (!grab_.grabbed()) {
        if (pick_ != Pick::None) return false;  // the pick shape stays
        const WaveDisplayModel& m = display_->model();
        const int cy = pos.y() + m.scrollY();
        const bool onLine = !(e->buttons() & Qt::LeftButton) &&
                            !m.hitTestEdge(pos.x(), cy).grabbed &&
                            display_->model().hitTestGrab(pos.x(), cy).grabbed();
        if (onLine)
            setShape(Qt::SizeHorCursor);
        else
            dropShape();
        return false;
    }
    // The pointer stays inside the plot of the grabbed line while it is held.
    confine(pos);
    if (!dragging_ && std::abs(pos.x() - pressPos_.x()) < kDragStartPx) return true;
    dragging_ = true;
    dragX_ = pos.x();
    display_->update();
    return true;
}

void MarkDragHandler::passClickThrough(QMouseEvent* e) {
    // A press and release on a line without moving is an ordinary click: the static
    // cursor goes there.
    passThrough_ = true;
    QMouseEvent press(QEvent::MouseButtonPress, e->position(), e->globalPosition(), Qt::LeftButton,
                      Qt::LeftButton, e->modifiers());
    QApplication::sendEvent(display_, &press);
    QMouseEvent rel(QEvent::MouseButtonRelease, e->position(), e->globalPosition(), Qt::LeftButton,
                    Qt::NoButton, e->modifiers());
    QApplication::sendEvent(display_, &rel);
    passThrough_ = false;
}

bool MarkDragHandler::release(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !grab_.grabbed()) return false;
    const GrabTarget g = grab_;
    const bool dragged = dragging_;
    grab_ = {};
    dragging_ = false;
    dropShape();
    if (!dragged) {
        passClickThrough(e);
        selected_ = g;  // the click may have rebuilt the display; the line stays chosen
        if (!selectionStillValid()) selected_ = {};
        display_->update();
        return true;
    }
    // Head and toe move without questions and keep the defects; marks are moved when
    // nothing else sits at the new place. Refusals are silent.
    SilentPrompter silent;
    {
        DocChangeBatch batch(host_.doc());  // an average pane's line moves several points
        display_->model().finishGrabDrag(host_.doc(), g, dragX_, silent);
    }
    selected_ = g;
    if (!selectionStillValid()) selected_ = {};
    display_->rebuild();
    return true;
}

bool MarkDragHandler::nudgeSelected(int delta) {
    if (!selectionStillValid()) return false;
    CSondaraDoc& doc = host_.doc();
    const GrabTarget& s = selected_;
    const WaveDisplayModel& m = display_->model();
    const WavePane& w = m.pane(s.pane);
    const TestPoint& p = doc.points[s.point];
    SilentPrompter silent;
    DocChangeBatch batch(doc);
    const LengthFollowMode mode = m.follow.effective();
    switch (s.type) {
        case GrabTarget::Type::Head:
        case GrabTarget::Type::Toe: {
            const bool head = s.type == GrabTarget::Type::Head;
            const int to = (head ? p.headIndex : p.toeIndex) + delta;
            const std::vector<int> pts =
                w.kind == PaneKind::AverageTrace ? w.statePoints : std::vector<int>{s.point};
            for (int q : pts) {
                if (head)
                    SetPileHead(doc, q, to, mode, false, silent);
                else
                    SetPileToe(doc, q, to, mode, false, silent);
            }
            break;
        }
        case GrabTarget::Type::Defect:
            MoveDefect(doc, s.point, s.entry, p.defects[s.entry].position + delta);
            break;
        case GrabTarget::Type::MarkerLine: {
            const MarkerDomain d = domainOf(s.markType);
            const int from = d == MarkerDomain::Correlation ? p.correlationMarks[s.entry]
                             : d == MarkerDomain::Spectrum  ? p.spectrumMarks[s.entry]
                                                            : p.waveletMarkPositions[s.entry];
            // The pane's own samples bound a marker line (a spectrum has half as many).
            if (from + delta < 0 || from + delta >= w.sampleCount) return true;
            MoveMarkerLine(doc, s.point, s.entry, d, from + delta);
            break;
        }
        case GrabTarget::Type::None:
            return false;
    }
    return true;
}

bool MarkDragHandler::key(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Escape:
            if (pick_ == Pick::None && !selected_.grabbed() && !grab_.grabbed()) return false;
            pick_ = Pick::None;
            grab_ = {};
            dragging_ = false;
            dropShape();
            clearSelection();
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (!selected_.grabbed() || grab_.grabbed()) return false;
            if (!(display_->model().featureMask & kFeatureDragMarks)) return false;
            return nudgeSelected(e->key() == Qt::Key_Left ? -1 : 1);
        case Qt::Key_Delete:
            if (!isMark(selected_) || !selectionStillValid()) return false;
            return deleteMark(selected_);
        default:
            return false;
    }
}

void MarkDragHandler::leave() {
    // Leaving the window cancels a pending grab and a pending pick.
    if (grab_.grabbed() || pick_ != Pick::None) {
        grab_ = {};
        dragging_ = false;
        pick_ = Pick::None;
        display_->update();
    }
    dropShape();
}

void MarkDragHandler::setShape(Qt::CursorShape s) {
    // The display sets its own pointer shape on every move; an override shape wins.
    if (shapeSet_)
        QApplication::changeOverrideCursor(QCursor(s));
    else
        QApplication::setOverrideCursor(QCursor(s));
    shapeSet_ = true;
}

void MarkDragHandler::dropShape() {
    if (!shapeSet_) return;
    QApplication::restoreOverrideCursor();
    shapeSet_ = false;
}

// ---- picking, editing, deleting ----------------------------------------------------------

void MarkDragHandler::startPick(Pick p) {
    pick_ = p;
    if (p != Pick::None)
        setShape(Qt::PointingHandCursor);
    else
        dropShape();
}

bool MarkDragHandler::editMark(GrabTarget g) {
    if (g.type != GrabTarget::Type::Defect) return false;  // only defects carry texts
    CSondaraDoc& doc = host_.doc();
    if (!doc.validPoint(g.point) || g.entry < 0 || g.entry >= doc.points[g.point].defectCount())
        return false;
    const PileMark mark = doc.points[g.point].defects[g.entry];
    DefectDialog dlg(DefectDialog::nameChoices(),
                     QString::fromStdString(DefectDepthText(doc.points[g.point], mark.position)),
                     display_);
    dlg.setName(QString::fromStdString(gbkToUtf8(textOf(mark.name))));
    dlg.setRemark(QString::fromStdString(gbkToUtf8(textOf(mark.remark))));
    if (dlg.exec() != QDialog::Accepted) return true;
    DefectDialog::rememberName(dlg.name());
    EditDefect(doc, g.point, g.entry, dlg.name().toStdString(), dlg.remark().toStdString());
    return true;
}

bool MarkDragHandler::deleteMark(GrabTarget g) {
    if (!isMark(g)) return false;
    // The entries after it move up: the selection goes before the display is rebuilt.
    if (sameMark(selected_, g)) selected_ = {};
    CSondaraDoc& doc = host_.doc();
    if (g.type == GrabTarget::Type::Defect)
        DeleteDefect(doc, g.point, g.entry);
    else
        DeleteMarkerLine(doc, g.point, g.entry, domainOf(g.markType));
    display_->update();
    return true;
}

bool MarkDragHandler::hasContextMark() const {
    return isMark(contextMark_) && sameMark(contextMark_, selected_) && selectionStillValid();
}

// ---- feedback ---------------------------------------------------------------------------------

void MarkDragHandler::paintOverlay(QPainter& p, int top) {
    const WaveDisplayModel& m = display_->model();
    auto lineX = [&](const GrabTarget& g) -> int {
        if (g.pane < 0 || g.pane >= m.paneCount()) return -1;
        const WavePane& w = m.pane(g.pane);
        if (g.type == GrabTarget::Type::Head) return w.head.visible ? w.head.x : -1;
        if (g.type == GrabTarget::Type::Toe) return w.toe.visible ? w.toe.x : -1;
        for (const VisibleMark& vm : w.marks)
            if (vm.entry == g.entry && vm.type == g.markType) return vm.x;
        return -1;
    };
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (selected_.grabbed() && !dragging_ && selected_.pane < m.paneCount()) {
        // The selected line: a light band behind where it is drawn.
        const int x = lineX(selected_);
        if (x >= 0) {
            const PixelRect& r = m.pane(selected_.pane).plotRect;
            p.fillRect(QRect(x - 2, r.top - top, 5, r.height()), QColor(255, 128, 0, 70));
        }
    }
    if (dragging_ && grab_.pane >= 0 && grab_.pane < m.paneCount()) {
        // The line being dragged, in an inverting pen, with the place it would land.
        const WavePane& w = m.pane(grab_.pane);
        const PixelRect& r = w.plotRect;
        const int x = std::clamp(dragX_, r.left, r.right - 1);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 0, Qt::DashLine));
        p.drawLine(x, r.top - top, x, r.bottom - 1 - top);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        const HorizontalMapping h = MakeHorizontalMapping(w, w.plotRect);
        const int k = h.sampleAt(x);
        QString label;
        if (grab_.type == GrabTarget::Type::Head)
            label = "桩头";
        else if (grab_.type == GrabTarget::Type::Toe)
            label = "桩底";
        if (IsTimeKind(w.kind) && w.point && k >= 0 && grab_.type == GrabTarget::Type::Defect)
            label = QString::fromStdString(DefectDepthText(*w.point, k));
        if (!label.isEmpty()) {
            p.setPen(QColor(255, 0, 0));
            p.drawText(x + 3, r.top - top + p.fontMetrics().ascent() + 2, label);
        }
    }
    p.restore();
}

}  // namespace sondara::gui
