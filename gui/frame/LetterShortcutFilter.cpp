#include "gui/frame/LetterShortcutFilter.h"

#include <QApplication>
#include <QKeyEvent>

#include "core/app/CommandTable.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"

namespace sondara::gui {

namespace {
constexpr Qt::KeyboardModifiers kChordModifiers =
    Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
}  // namespace

LetterShortcutFilter::LetterShortcutFilter(CMainFrame& frame) : QObject(&frame), frame_(frame) {
    qApp->installEventFilter(this);
}

bool LetterShortcutFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyRelease && type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    const int key = ke->key();
    if (key < Qt::Key_A || key > Qt::Key_Z) return false;
    auto* disp = qobject_cast<CWaveDisp*>(QApplication::focusWidget());
    if (!disp || watched != disp) return false;
    const int bit = key - Qt::Key_A;
    if (type != QEvent::KeyRelease) {
        // A letter counts only when its press came plain. Ctrl+S, Alt+F, Meta+Z belong
        // to the menus' accelerators: their press never reaches the display as a key
        // press (the accelerator takes it), and their release, often after Ctrl has
        // been let go, must not run a letter command.
        if (type == QEvent::KeyPress && !(ke->modifiers() & kChordModifiers) && !ke->isAutoRepeat())
            armed_ |= 1u << bit;
        else if (ke->modifiers() & kChordModifiers)
            armed_ &= ~(1u << bit);
        return false;
    }
    const bool armed = armed_ & (1u << bit);
    if (ke->isAutoRepeat()) return armed;
    armed_ &= ~(1u << bit);
    if (!armed || (ke->modifiers() & kChordModifiers) || !disp->window()->isEnabled()) return false;
    if (guard_) return true;
    guard_ = true;
    const CommandId cmd = letterShortcutCommand(static_cast<char>('A' + bit));
    if (cmd != CommandId::None) frame_.postCommand(cmd);
    guard_ = false;
    return true;
}

}  // namespace sondara::gui
