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

}  // namespace sondara::gui
