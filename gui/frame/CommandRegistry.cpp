#include "gui/frame/CommandRegistry.h"

namespace sondara::gui {

namespace {
std::vector<CommandModule>& modules() {
    static std::vector<CommandModule> m;
    return m;
}
}  // namespace

const std::vector<CommandModule>& commandModules() {
    return modules();
}

CommandModuleRegistrar::CommandModuleRegistrar(CommandModule m) {
    modules().push_back(std::move(m));
}

void CommandRegistry::add(CommandHandler h) {
    handlers_[h.id] = std::move(h);
}

const CommandHandler* CommandRegistry::find(CommandId id) const {
    auto it = handlers_.find(id);
    return it == handlers_.end() ? nullptr : &it->second;
}

bool CommandRegistry::isEnabled(CommandId id) const {
    const CommandHandler* h = find(id);
    return h && h->run && (!h->enabled || h->enabled());
}

bool CommandRegistry::isChecked(CommandId id) const {
    const CommandHandler* h = find(id);
    return h && h->checked && h->checked();
}

bool CommandRegistry::isCheckable(CommandId id) const {
    const CommandHandler* h = find(id);
    return h && h->checked;
}

bool CommandRegistry::run(CommandId id) const {
    if (!isEnabled(id)) return false;
    // a copy: the handler may replace the document and with it whatever it captured
    const std::function<void()> fn = find(id)->run;
    fn();
    return true;
}

}  // namespace sondara::gui
