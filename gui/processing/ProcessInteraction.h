#pragma once
// The interactive modes of the waveform display while a docked rotation, shift or local
// scaling form is open: dragging turns the trace (whole, or from the pressed sample on),
// shifts it, or selects the range to scale. Every change of the drag is reported
// (changed), Esc cancels and Enter accepts the form. Other presses (outside a time
// trace's plot, the right button) go on to the display.
#include <QObject>

#include "gui/display/DisplayInteraction.h"

namespace sondara::gui {

class CWaveDisp;

enum class InteractiveMode { None, RotateWhole, RotateFromStart, Shift, SelectRange };

struct DragState {
    bool valid = false;  // a drag has been made since the mode was set
    int pane = -1;
    int point = -1;         // the document point of the dragged pane
    float mvPerRow = 1.0f;  // millivolts of one pixel row of that pane
    // rotation
    int rotStart = 0;
    float rotAngle = 0.0f;
    // shift
    int shiftSamples = 0;
    float shiftMv = 0.0f;
    // range
    int rangeFirst = -1;
    int rangeLast = -1;
};

class ProcessInteraction : public QObject, public DisplayInteraction {
    Q_OBJECT
public:
    explicit ProcessInteraction(CWaveDisp& display, QObject* parent = nullptr);

    // Installs itself on the display for a mode other than None; None removes it.
    void setMode(InteractiveMode m);
    InteractiveMode mode() const { return mode_; }
    const DragState& drag() const { return drag_; }

    bool mousePress(QMouseEvent* e) override;
    bool mouseMove(QMouseEvent* e) override;
    bool mouseRelease(QMouseEvent* e) override;
    bool keyPress(QKeyEvent* e) override;
    void paintOverlay(QPainter& p, int scrollY) override;

signals:
    void changed();
    void cancelRequested();
    void acceptRequested();

private:
    void follow(QPoint pos);

    CWaveDisp& display_;
    InteractiveMode mode_ = InteractiveMode::None;
    DragState drag_;
    bool pressed_ = false;
    QPoint pressPos_;
    int pressSample_ = 0;
    int baseShiftSamples_ = 0;
    float baseShiftMv_ = 0.0f;
};

}  // namespace sondara::gui
