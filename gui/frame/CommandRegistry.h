#pragma once
// The desktop program's commands: every command id of the menus, toolbars,
// accelerators and context menus gets a handler, an enable rule and (for the ones
// shown with a check mark) a check rule. Subsystems add their commands from their own
// files through a CommandModuleRegistrar; the main frame asks the enable rule before
// it runs a command, whatever the route it came by.
#include <functional>
#include <map>
#include <vector>

#include "core/app/CommandIds.h"

namespace sondara::gui {

class CMainFrame;

struct CommandHandler {
    CommandId id = CommandId::None;
    std::function<void()> run;
    std::function<bool()> enabled;  // empty: always enabled
    std::function<bool()> checked;  // empty: the command shows no check mark
};

class CommandRegistry {
public:
    // A second handler for the same id replaces the first.
    void add(CommandHandler h);
    const CommandHandler* find(CommandId id) const;
    // False for a command without a handler.
    bool isEnabled(CommandId id) const;
    bool isChecked(CommandId id) const;
    bool isCheckable(CommandId id) const;
    // Runs the handler when the enable rule allows it; returns whether it ran.
    bool run(CommandId id) const;

private:
    std::map<CommandId, CommandHandler> handlers_;
};

// A subsystem's commands, added when the main frame is created.
using CommandModule = std::function<void(CommandRegistry&, CMainFrame&)>;
const std::vector<CommandModule>& commandModules();

struct CommandModuleRegistrar {
    explicit CommandModuleRegistrar(CommandModule m);
};

}  // namespace sondara::gui
