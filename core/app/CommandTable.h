#pragma once
// The program's commands: ids, menu texts, short names (what the run log records),
// and the menus and toolbars they appear in. The desktop program builds its menus
// from these tables; the tests check them without a window.
#include <string>
#include <vector>

#include "core/app/CommandIds.h"
#include "core/base/TrNoop.h"

namespace sondara {

struct CommandInfo {
    CommandId id;
    const char* menuText;   // with "&X" mnemonics, as in the menus; "" for toolbar-only
    const char* shortName;  // "" when the command is not logged
    const char* accel;      // Qt key sequence text or ""
};

// Every command of the program; lookup by id.
const std::vector<CommandInfo>& allCommands();
const CommandInfo* findCommand(CommandId id);
// The status bar's prompt of a command: its long prompt where the string table has
// one (数字滤波, 波形放大), else its short name, else its menu text without mnemonic.
std::string commandPrompt(CommandId id);

// A menu is a title and entries: a command, a separator (CommandId::None) or a submenu.
struct MenuEntry {
    CommandId id = CommandId::None;  // None: a separator (when no submenu)
    std::string submenuTitle;        // non-empty: a submenu with `children`
    std::vector<MenuEntry> children;
    std::string textOverride;  // a different text for this placement
};
struct MenuDef {
    std::string title;
    std::vector<MenuEntry> entries;
};

// The menu bar with a document open, and the one without.
const std::vector<MenuDef>& mainMenus();
const std::vector<MenuDef>& noDocumentMenus();
// Context menus by their resource numbers.
inline constexpr int kMenuInsertStep = 164;  // 插入 of the processing history
inline constexpr int kMenuPointList = 165;   // 测点操作
inline constexpr int kMenuDisplay = 166;     // 显示区操作
inline constexpr int kMenuPointTable = 214;  // the point table's 编辑
const MenuDef& contextMenu(int resource);

// Toolbars by their resource numbers.
inline constexpr int kToolbarMain = 128;
inline constexpr int kToolbarAnalysis = 137;
inline constexpr int kToolbarProcessing = 181;
inline constexpr int kToolbarDisplay = 188;

struct ToolbarDef {
    int resource;
    const char* name;            // the 查看 menu name
    std::vector<CommandId> ids;  // None = separator
};
const std::vector<ToolbarDef>& toolbars();

// The letter shortcuts of the processing commands, in search order.
struct LetterShortcut {
    char key;
    CommandId command;
};
const std::vector<LetterShortcut>& letterShortcuts();
CommandId letterShortcutCommand(char key);  // None when the key has none

// Status bar texts.
inline constexpr const char* kIdleStatusText =
    SONDARA_TR_NOOP("sondara", "--Dorvanel仪器 服务于中国建设");
inline constexpr const char* kStatusPaneText = "Dorvanel";
inline constexpr const char* kProgramName =
    SONDARA_TR_NOOP("sondara", "Dorvanel低应变法基桩完整性检测分析软件V1.0");

}  // namespace sondara
