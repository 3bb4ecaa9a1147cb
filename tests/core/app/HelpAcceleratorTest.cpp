// The accelerators of the help and pane commands sit on the commands of the
// accelerator table, and no key is given to two commands.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/app/CommandIds.h"
#include "core/app/CommandTable.h"

namespace sondara {
namespace {

TEST(CommandTable, HelpAndPaneAcceleratorsOnTheirCommands) {
    const struct {
        CommandId id;
        const char* accel;
    } cases[] = {{CommandId::Help, "F1"},
                 {CommandId::HelpContext, "Shift+F1"},
                 {CommandId::NextPane, "F6"},
                 {CommandId::PrevPane, "Shift+F6"},
                 {CommandId::HelpTopics, ""}};
    for (const auto& c : cases) {
        const CommandInfo* info = findCommand(c.id);
        ASSERT_NE(info, nullptr) << toInt(c.id);
        EXPECT_STREQ(info->accel, c.accel) << toInt(c.id);
    }
    std::map<std::string, CommandId> owner;
    for (const CommandInfo& c : allCommands()) {
        if (!*c.accel) continue;
        EXPECT_TRUE(owner.emplace(c.accel, c.id).second) << c.accel << " on " << toInt(c.id);
    }
}

}  // namespace
}  // namespace sondara
