#pragma once
// A child window on the open document, holding one analysis view.
#include <QMdiSubWindow>

namespace sondara::gui {

class CMainFrame;
class DocumentHost;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(CMainFrame& frame, DocumentHost& host);
    void forceClose();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    CMainFrame& frame_;
    bool force_ = false;
};

// Letter shortcuts of the processing commands: a letter key released while a
// waveform display has the focus posts its command; typing into an edit field is
// left alone.
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
