#pragma once
// An optional handler that a window (a docked processing form, a mark being placed)
// installs on the waveform display while it runs: the display offers it mouse and key
// events first and lets it draw over the panes. Owned by whoever installs it, which
// removes it before it goes.
class QMouseEvent;
class QKeyEvent;
class QPainter;

namespace sondara::gui {

class DisplayInteraction {
public:
    virtual ~DisplayInteraction() = default;
    // Each returns true when it took the event (the display then ignores it).
    virtual bool mousePress(QMouseEvent*) { return false; }
    virtual bool mouseMove(QMouseEvent*) { return false; }
    virtual bool mouseRelease(QMouseEvent*) { return false; }
    virtual bool keyPress(QKeyEvent*) { return false; }
    // Draws over the panes; the painter's origin is the visible client's top left,
    // `scrollY` the content row shown there.
    virtual void paintOverlay(QPainter&, int /*scrollY*/) {}
};

}  // namespace sondara::gui
