#pragma once
// The rules of the 波形分析 commands that need no window: which command places which
// defect kind, when each command is enabled, what the 自动桩底 dialog asks for, the
// depth text of the defect dialog, and the history of defect names the analyst has
// typed. The desktop reads the display into a MarkCommandContext and asks here.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/PileMarks.h"
#include "core/app/CommandIds.h"
#include "core/base/TrNoop.h"

namespace sondara {

// What the enable rules of the mark commands look at.
struct MarkCommandContext {
    bool hasPoints = false;
    bool hasPanes = false;
    bool cursorShown = false;         // the static cursor (静游标) is placed
    bool cursorInTimePane = false;    // ... in a time-trace or average pane
    bool cursorInMarkerPane = false;  // ... in a correlation, spectrum or wavelet pane
    std::uint32_t featureMask = 7;
    bool editScopeAll = false;  // 全部波形
    int activePaneMarks = 0;    // marks the active pane shows
};

// The commands of the 波形分析 menu and toolbar (桩头 .. 清除, 自动桩头, 自动桩底).
const std::vector<CommandId>& MarkCommandIds();
bool IsMarkCommand(CommandId id);

// The defect kind the seven defect commands add (1..7); -1 for every other command
// (自定义 takes its kind from the name typed).
int DefectKindOfCommand(CommandId id);

bool MarkCommandEnabled(CommandId id, const MarkCommandContext& c);
// Whether 自动桩头 and 自动桩底 place anything after their dialogs: points, panes and
// the static cursor in a time-trace or average pane.
bool AutoMarksApply(const MarkCommandContext& c);

// The one number 自动桩底 asks for: a pile length under KeepSpeed, else a wave speed,
// prefilled from the first target point (empty without one).
struct AutoToePrompt {
    bool asksLength = false;
    std::string label;  // "指定桩长(m)" / "指定波速(m/s)"
    std::string text;   // the prefilled value
};
AutoToePrompt MakeAutoToePrompt(const TestPoint* first, LengthFollowMode effective);
inline constexpr const char* kAutoToeLengthLabel = SONDARA_TR_NOOP("sondara", "指定桩长(m)");
inline constexpr const char* kAutoToeSpeedLabel = SONDARA_TR_NOOP("sondara", "指定波速(m/s)");

// The read-only position of the defect dialog: the depth of `position` below the pile
// head, "%0.2fm".
std::string DefectDepthText(const TestPoint& p, int position);

// The names the defect dialog offers: the seven defect names (kinds 1..7), then the
// remembered names that are not among them.
std::vector<std::string> DefectNameChoices(const std::vector<std::string>& history);
// Remembers a name typed into the defect dialog (UTF-8): trimmed; empty names and the
// seven table names are not remembered; the newest first, without duplicates, at most
// kDefectNameHistory entries.
void RememberDefectName(std::vector<std::string>& history, std::string_view nameUtf8);
inline constexpr int kDefectNameHistory = 20;

}  // namespace sondara
