#include "gui/frame/ChildFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

#include "core/app/CommandTable.h"
#include "gui/app/DocumentHost.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"

namespace sondara::gui {

CChildFrame::CChildFrame(CMainFrame& frame, DocumentHost& host) : frame_(frame) {
    setObjectName("CChildFrame");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* view = new CSondaraView(host, this);
    setWidget(view);
    setWindowTitle(host.title());
    connect(&host, &DocumentHost::titleChanged, this, [this, &host] { setWindowTitle(host.title()); });
    connect(view, &CSondaraView::commandRequested, &frame_, &CMainFrame::postCommand);
    resize(900, 600);
}

void CChildFrame::forceClose() {
    force_ = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* e) {
    auto* view = qobject_cast<CSondaraView*>(widget());
    if (!force_ && view && !view->concludePendingOperation(&frame_, 0)) {
        e->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(e);
}

LetterShortcutFilter::LetterShortcutFilter(CMainFrame& frame) : QObject(&frame), frame_(frame) {
    qApp->installEventFilter(this);
}

bool LetterShortcutFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyRelease && event->type() != QEvent::KeyPress) return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    if (ke->key() < Qt::Key_A || ke->key() > Qt::Key_Z || ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    auto* disp = qobject_cast<CWaveDisp*>(QApplication::focusWidget());
    if (!disp || watched != disp || !disp->window()->isEnabled()) return false;
    if (event->type() == QEvent::KeyPress) return false;  // only the release counts
    if (ke->isAutoRepeat() || guard_) return true;
    guard_ = true;
    int cmd = letterShortcutCommand(static_cast<char>('A' + (ke->key() - Qt::Key_A)));
    if (cmd) frame_.postCommand(cmd);
    guard_ = false;
    return true;
}

}  // namespace sondara::gui
