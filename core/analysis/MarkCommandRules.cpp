#include "core/analysis/MarkCommandRules.h"

#include <algorithm>
#include <cstdio>

#include "core/analysis/PileLengthText.h"
#include "core/base/TextCodec.h"
#include "core/model/NameLists.h"
#include "core/processing/Positions.h"

namespace sondara {

const std::vector<CommandId>& MarkCommandIds() {
    static const std::vector<CommandId> k = {
        CommandId::MarkHead,           CommandId::MarkToe,
        CommandId::MarkAutoHead,       CommandId::MarkAutoToe,
        CommandId::DefectEnlargedBase, CommandId::DefectBulge,
        CommandId::DefectNecking,      CommandId::DefectMudInclusion,
        CommandId::DefectSegregation,  CommandId::DefectCrack,
        CommandId::DefectBreak,        CommandId::DefectCustom,
        CommandId::MarkLine,           CommandId::MarkEdit,
        CommandId::MarkDelete,         CommandId::MarkClear,
    };
    return k;
}

bool IsMarkCommand(CommandId id) {
    const auto& k = MarkCommandIds();
    return std::find(k.begin(), k.end(), id) != k.end();
}

int DefectKindOfCommand(CommandId id) {
    switch (id) {
        case CommandId::DefectBulge:
            return static_cast<int>(DefectKind::Bulging);
        case CommandId::DefectNecking:
            return static_cast<int>(DefectKind::Necking);
        case CommandId::DefectBreak:
            return static_cast<int>(DefectKind::Break);
        case CommandId::DefectCrack:
            return static_cast<int>(DefectKind::Crack);
        case CommandId::DefectMudInclusion:
            return static_cast<int>(DefectKind::SoilInclusion);
        case CommandId::DefectSegregation:
            return static_cast<int>(DefectKind::Segregation);
        case CommandId::DefectEnlargedBase:
            return static_cast<int>(DefectKind::EnlargedBase);
        default:
            return -1;
    }
}

bool MarkCommandEnabled(CommandId id, const MarkCommandContext& c) {
    switch (id) {
        case CommandId::MarkAutoHead:
        case CommandId::MarkAutoToe:
            // Their dialogs always open (自动桩头 stores its settings even where there
            // is nothing to act on); what they then place is AutoMarksApply's rule.
            return true;
        case CommandId::MarkHead:
        case CommandId::MarkToe:
        case CommandId::DefectEnlargedBase:
        case CommandId::DefectBulge:
        case CommandId::DefectNecking:
        case CommandId::DefectMudInclusion:
        case CommandId::DefectSegregation:
        case CommandId::DefectCrack:
        case CommandId::DefectBreak:
        case CommandId::DefectCustom:
            return c.hasPoints && c.cursorShown && c.cursorInTimePane;
        case CommandId::MarkLine:
            return c.hasPoints && c.cursorShown && c.cursorInMarkerPane;
        case CommandId::MarkEdit:
        case CommandId::MarkDelete:
            return c.hasPanes && (c.featureMask & 4u) != 0;
        case CommandId::MarkClear:
            return c.hasPoints && (c.editScopeAll || c.activePaneMarks > 0);
        default:
            return false;
    }
}

bool AutoMarksApply(const MarkCommandContext& c) {
    return c.hasPoints && c.hasPanes && c.cursorShown && c.cursorInTimePane;
}

AutoToePrompt MakeAutoToePrompt(const TestPoint* first, LengthFollowMode effective) {
    AutoToePrompt a;
    a.asksLength = effective == LengthFollowMode::KeepSpeed;
    a.label = a.asksLength ? kAutoToeLengthLabel : kAutoToeSpeedLabel;
    if (first)
        a.text =
            a.asksLength ? PileLengthText(first->pileLength) : std::to_string(first->waveSpeed);
    return a;
}

std::string DefectDepthText(const TestPoint& p, int position) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%0.2fm", DepthOfSample(p, position, false));
    return buf;
}

namespace {
bool isTableName(std::string_view nameUtf8) {
    const NameList& names = DefectNames();
    for (int i = 1; i < names.count(); ++i)
        if (names.utf8[i] == nameUtf8) return true;
    return false;
}
}  // namespace

std::vector<std::string> DefectNameChoices(const std::vector<std::string>& history) {
    std::vector<std::string> out;
    const NameList& names = DefectNames();
    for (int i = 1; i < names.count(); ++i) out.emplace_back(names.utf8[i]);
    for (const std::string& h : history)
        if (!h.empty() && !isTableName(h) && std::find(out.begin(), out.end(), h) == out.end())
            out.push_back(h);
    return out;
}

void RememberDefectName(std::vector<std::string>& history, std::string_view nameUtf8) {
    const std::string name(trimBlanks(nameUtf8));
    if (name.empty() || isTableName(name)) return;
    history.erase(std::remove(history.begin(), history.end(), name), history.end());
    history.insert(history.begin(), name);
    if (history.size() > static_cast<size_t>(kDefectNameHistory))
        history.resize(kDefectNameHistory);
}

}  // namespace sondara
