#pragma once
// F6 / Shift+F6 (下一窗格 / 前一窗格): the keyboard focus moves round the areas of the
// main window — the visible panels and the active analysis window — in order.
#include <vector>

class QWidget;

namespace sondara::gui {

class PaneFocus {
public:
    // The area after (forward) or before the one holding `focus` (a widget inside it
    // counts), wrapping round; the first (last) area when none holds it; null when
    // there is no area.
    static QWidget* next(const std::vector<QWidget*>& areas, const QWidget* focus, bool forward);
    // Moves the focus there; returns the area.
    static QWidget* move(const std::vector<QWidget*>& areas, bool forward);
};

}  // namespace sondara::gui
