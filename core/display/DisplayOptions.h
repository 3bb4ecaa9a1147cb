#pragma once
// The display settings of a waveform display ("显示设置"), their settings file
// "MIR_QAR4_DISP_001.ini" and the rules of the parameter-item lists of the dialog.
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/app/SettingsFile.h"

namespace sondara {

class Prompter;

// 操作影响范围: which points an edit changes.
enum class EditScope : std::int32_t {
    CurrentTrace = 0,  // 当前波形: the active pane's point
    AllTraces = 1,     // 全部波形: every pane's point
};

inline constexpr std::int32_t kBlankLineItem = 30;

// The record of the settings file, one copy per waveform display.
struct DisplayOptions {
    std::int32_t editScope = 0;         // EditScope
    std::int32_t lengthFollowMode = 0;  // LengthFollowMode: 0 自动调整, 1 桩长不变, 2 波速不变
    std::int32_t showLabels = 1;                                            // 显示标号
    std::int32_t showSimulatedPile = 1;                                     // 显示模拟桩
    std::int32_t traceCount = 3;                                            // 多道波形数, 1..6
    std::vector<std::int32_t> items = {31, 32, 36, 35, 3, 30, 33, 34, 13};  // 已选项

    EditScope scope() const {
        return editScope == 1 ? EditScope::AllTraces : EditScope::CurrentTrace;
    }
    // The multi-trace count as the display uses it: clamped to 1..6.
    int multiTraceCount() const { return traceCount < 1 ? 1 : (traceCount > 6 ? 6 : traceCount); }
    bool operator==(const DisplayOptions&) const = default;
};

SettingsFile displayOptionsFile();
// Defaults first, then the file; a missing or foreign file gets the defaults written
// back. A short file leaves the fields it does not hold at their defaults; an item
// count outside 0..9999 ends the reading with the default item list. Returns whether
// the file was read.
bool loadOrWriteDefaults(DisplayOptions& o, Prompter* p);
bool saveSettings(const DisplayOptions& o, Prompter* p);

// ---- the parameter items of the information text ----
struct ParameterItem {
    std::string_view name;  // as the lists show it, e.g. "桩号"
    std::int32_t id;
};
// The 32 items of the "备选项" list in their order.
const std::vector<ParameterItem>& ParameterItems();
// Null for an id that is not in the table.
const ParameterItem* FindParameterItem(std::int32_t id);

// "已选项" editing. An id already chosen is not added again, except the blank line,
// which may appear any number of times; added ids go to the end, in the given order.
void AddChosenItems(std::vector<std::int32_t>& chosen, const std::vector<std::int32_t>& ids);
// ">>": every available item, in table order.
void AddAllItems(std::vector<std::int32_t>& chosen);
// "<": removes the entries at the given positions (from the last to the first).
void RemoveChosenItems(std::vector<std::int32_t>& chosen, std::vector<int> positions);
// The list the page shows for a record: its ids in order, those absent from the
// table dropped.
std::vector<std::int32_t> ChosenItemsForPage(const std::vector<std::int32_t>& recordItems);

}  // namespace sondara
