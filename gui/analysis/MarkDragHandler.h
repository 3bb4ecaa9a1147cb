#pragma once
// Mark interactions of a waveform display: grabbing the head line, the toe line, a
// defect or a marker line and dragging it to a new place, selecting a mark, moving
// the selected mark with ← and →, and picking a mark for 编辑 or 删除.
//
// The handler watches the display's mouse and key events before the display does
// (an event filter) and draws its feedback over the panes (the display's overlay
// signal). Where the press is not on a line, the display handles the event as usual.
// It belongs to the display (a child object) and talks to the document through the
// mark operations; every change is committed as a change of marks.
#include <QObject>
#include <QPoint>

#include "core/display/WaveDisplayModel.h"

class QPainter;

namespace sondara::gui {

class CWaveDisp;
class DocumentHost;

class MarkDragHandler : public QObject {
    Q_OBJECT
public:
    enum class Pick { None, Edit, Delete };

    // Attaches a handler to the display (once); returns it.
    static MarkDragHandler* attach(CWaveDisp* display, DocumentHost& host);
    static MarkDragHandler* of(const CWaveDisp* display);
    ~MarkDragHandler() override;

    // The selected mark (head, toe, defect or marker line); none when !grabbed().
    const GrabTarget& selected() const { return selected_; }
    void clearSelection();
    // A line held by the mouse (pressed, possibly being dragged).
    bool grabbing() const { return grab_.grabbed(); }
    Pick pendingPick() const { return pick_; }

    // 编辑 / 删除 act on the selected mark; without one the next click on a mark
    // is taken (a pending pick, cancelled by a click elsewhere, Esc or leaving).
    void startPick(Pick p);
    // Edits (defect dialog) or deletes a defect or marker line; false for other marks.
    // Taken by value: the target may be the selection, which they change.
    bool editMark(GrabTarget g);
    bool deleteMark(GrabTarget g);
    // The last right click was on a defect or marker line, which it selected (the
    // pane's context menu then offers 编辑 and 删除 for it).
    bool hasContextMark() const;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    MarkDragHandler(CWaveDisp* display, DocumentHost& host);
    bool press(QMouseEvent* e);
    bool move(QMouseEvent* e);
    bool release(QMouseEvent* e);
    bool key(QKeyEvent* e);
    void leave();
    void paintOverlay(QPainter& p, int top);
    void setShape(Qt::CursorShape s);
    void dropShape();
    void confine(QPoint& pos) const;
    // Moves the selected mark by `delta` samples (← / →).
    bool nudgeSelected(int delta);
    bool selectionStillValid() const;
    void passClickThrough(QMouseEvent* e);

    CWaveDisp* display_;
    DocumentHost& host_;
    GrabTarget grab_;
    GrabTarget selected_;
    GrabTarget contextMark_;
    bool dragging_ = false;
    QPoint pressPos_;
    int dragX_ = 0;
    Pick pick_ = Pick::None;
    bool passThrough_ = false;
    bool shapeSet_ = false;
};

}  // namespace sondara::gui
