#pragma once
// Letter shortcuts of the processing commands: a plain letter key released while a
// waveform display has the focus posts its command; typing into an edit field is
// left alone, and a letter pressed with Ctrl, Alt or Meta is the menus' accelerator
// and never a letter command. The posted command takes the frame's generic steps, so
// a command whose menu entry is disabled does not run.
#include <QObject>

namespace sondara::gui {

class CMainFrame;

class LetterShortcutFilter : public QObject {
    Q_OBJECT
public:
    explicit LetterShortcutFilter(CMainFrame& frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CMainFrame& frame_;
    bool guard_ = false;
    // One bit per letter A..Z: pressed plain on the display and not yet released.
    quint32 armed_ = 0;
};

}  // namespace sondara::gui
