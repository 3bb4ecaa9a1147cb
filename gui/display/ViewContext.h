#pragma once
// What an analysis view needs from the window it lives in, handed to it when it is
// made: the views never reach up into the main frame or the application object.
#include <vector>

#include "core/app/CommandIds.h"

namespace sondara::gui {

class CSondaraView;

class ViewContext {
public:
    virtual ~ViewContext() = default;

    // Every live analysis view, in the order they were made; views add and remove
    // themselves.
    virtual const std::vector<CSondaraView*>& views() const = 0;
    virtual void addView(CSondaraView* v) = 0;
    virtual void removeView(CSondaraView* v) = 0;

    // Runs a command after the current event, through the frame's generic steps.
    virtual void postCommand(CommandId id) = 0;
    // Whether a command may run now (the frame's enable rule).
    virtual bool commandEnabled(CommandId id) const = 0;
    // The last command that ran with a short name, for the quick repeat of the
    // display's context menu; None when there is none.
    virtual CommandId lastCommand() const = 0;

    // The point list was used a moment ago: the bar's edits wait.
    virtual bool pointListBusy() const = 0;
    // The view shows another set of traces: the panels that follow it refresh.
    virtual void viewSelectionChanged(CSondaraView* v) = 0;
    // 1 cross-hair, 2 vertical line.
    virtual int cursorStyle() const = 0;
};

}  // namespace sondara::gui
