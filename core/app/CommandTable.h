#pragma once
// The program's commands: ids, menu texts, short names (what the run log records),
// and the menus and toolbars they appear in. The desktop program builds its menus
// from these tables; the tests check them without a window.
#include <string>
#include <vector>

namespace sondara {

struct CommandInfo {
    int id;
    const char* menuText;   // with "&X" mnemonics, as in the menus; "" for toolbar-only
    const char* shortName;  // "" when the command is not logged
    const char* accel;      // Qt key sequence text or ""
};

// Every command of the program; lookup by id.
const std::vector<CommandInfo>& allCommands();
const CommandInfo* findCommand(int id);

// A menu is a title and entries: a command id, 0 for a separator, or a submenu.
struct MenuEntry {
    int id = 0;                     // command id; 0 separator (when no submenu)
    std::string submenuTitle;       // non-empty: a submenu with `children`
    std::vector<MenuEntry> children;
    std::string textOverride;       // a different text for this placement
};
struct MenuDef {
    std::string title;
    std::vector<MenuEntry> entries;
};

// The menu bar with a document open, and the one without.
const std::vector<MenuDef>& mainMenus();
const std::vector<MenuDef>& noDocumentMenus();
// Context menus: 165 point list, 166 waveform display, 164 insert, 214 point table.
const MenuDef& contextMenu(int resource);

struct ToolbarDef {
    int resource;
    const char* name;       // the 查看 menu name
    std::vector<int> ids;   // 0 = separator
};
const std::vector<ToolbarDef>& toolbars();

// The letter shortcuts of the processing commands, in search order.
struct LetterShortcut {
    char key;
    int command;
};
const std::vector<LetterShortcut>& letterShortcuts();
int letterShortcutCommand(char key);  // 0 when the key has none

// Status bar texts.
inline constexpr const char* kIdleStatusText = "--Dorvanel仪器 服务于中国建设";
inline constexpr const char* kStatusPaneText = "Dorvanel";
inline constexpr const char* kProgramName = "Dorvanel低应变法基桩完整性检测分析软件V1.0";

}  // namespace sondara
