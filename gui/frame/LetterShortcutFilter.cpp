#include "gui/frame/LetterShortcutFilter.h"

#include <QApplication>
#include <QKeyEvent>

#include "core/app/CommandTable.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"

namespace sondara::gui {

LetterShortcutFilter::LetterShortcutFilter(CMainFrame& frame) : QObject(&frame), frame_(frame) {
    qApp->installEventFilter(this);
}

bool LetterShortcutFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyRelease && event->type() != QEvent::KeyPress) return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    if (ke->key() < Qt::Key_A || ke->key() > Qt::Key_Z ||
        ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    auto* disp = qobject_cast<CWaveDisp*>(QApplication::focusWidget());
    if (!disp || watched != disp || !disp->window()->isEnabled()) return false;
    if (event->type() == QEvent::KeyPress) return false;  // only the release counts
    if (ke->isAutoRepeat() || guard_) return true;
    guard_ = true;
    const CommandId cmd = letterShortcutCommand(static_cast<char>('A' + (ke->key() - Qt::Key_A)));
    if (cmd != CommandId::None) frame_.postCommand(cmd);
    guard_ = false;
    return true;
}

}  // namespace sondara::gui
