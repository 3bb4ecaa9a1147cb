#include "gui/frame/PaneFocus.h"

#include <QApplication>
#include <QWidget>

namespace sondara::gui {

QWidget* PaneFocus::next(const std::vector<QWidget*>& areas, const QWidget* focus, bool forward) {
    const int n = static_cast<int>(areas.size());
    if (n == 0) return nullptr;
    int at = -1;
    for (int i = 0; i < n && at < 0; ++i)
        if (focus && areas[i] && (areas[i] == focus || areas[i]->isAncestorOf(focus))) at = i;
    if (at < 0) return areas[forward ? 0 : n - 1];
    return areas[(at + (forward ? 1 : n - 1)) % n];
}

QWidget* PaneFocus::move(const std::vector<QWidget*>& areas, bool forward) {
    QWidget* to = next(areas, QApplication::focusWidget(), forward);
    if (!to) return nullptr;
    // The first control of the area in its focus chain that takes the keyboard focus.
    QWidget* w = to;
    for (int guard = 0; w && guard < 10000; ++guard) {
        if ((w == to || to->isAncestorOf(w)) && w->isVisible() && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return to;
        }
        w = w->nextInFocusChain();
        if (w == to) break;
    }
    to->setFocus(Qt::TabFocusReason);
    return to;
}

}  // namespace sondara::gui
