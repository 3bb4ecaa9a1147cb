#pragma once
// Letter shortcuts of the processing commands: a letter key released while a
// waveform display has the focus posts its command; typing into an edit field is
// left alone. The posted command takes the frame's generic steps, so a command
// whose menu entry is disabled does not run.
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
};

}  // namespace sondara::gui
