#include "gui/frame/ChildFrame.h"

#include <QCloseEvent>

#include "gui/app/DocumentHost.h"
#include "gui/display/SondaraView.h"
#include "gui/frame/MainFrame.h"

namespace sondara::gui {

CChildFrame::CChildFrame(CMainFrame& frame, DocumentHost& host) : frame_(frame) {
    setObjectName("CChildFrame");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* view = new CSondaraView(host, frame, this);
    setWidget(view);
    setWindowTitle(host.title());
    connect(&host, &DocumentHost::titleChanged, this,
            [this, &host] { setWindowTitle(host.title()); });
    resize(900, 600);
}

void CChildFrame::forceClose() {
    force_ = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* e) {
    auto* view = qobject_cast<CSondaraView*>(widget());
    if (!force_ && view && !view->concludePendingOperation(&frame_, CommandId::None)) {
        e->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(e);
}

}  // namespace sondara::gui
