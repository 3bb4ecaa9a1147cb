#include "core/panels/DisplaySettingsForm.h"

#include <cstdlib>

#include "core/base/TrNoop.h"

namespace sondara {

const std::vector<std::string_view>& LengthFollowChoices() {
    static const std::vector<std::string_view> c = {SONDARA_TR_NOOP("sondara", "自动调整"),
                                                    SONDARA_TR_NOOP("sondara", "桩长不变"),
                                                    SONDARA_TR_NOOP("sondara", "波速不变")};
    return c;
}

const std::vector<std::string_view>& TraceCountChoices() {
    static const std::vector<std::string_view> c = {"1", "2", "3", "4", "5", "6"};
    return c;
}

DisplaySettingsForm DisplaySettingsForm::fromRecord(const DisplayOptions& o) {
    DisplaySettingsForm f;
    f.editScope = o.editScope == 1 ? 1 : 0;
    f.lengthFollow = (o.lengthFollowMode >= 0 && o.lengthFollowMode <= 2) ? o.lengthFollowMode : 0;
    f.showLabels = o.showLabels != 0;
    f.showSimulatedPile = o.showSimulatedPile != 0;
    f.traceCountText = std::to_string(o.multiTraceCount());
    f.chosen = ChosenItemsForPage(o.items);
    return f;
}

DisplayOptions DisplaySettingsForm::toRecord() const {
    DisplayOptions o;
    o.editScope = editScope;
    o.lengthFollowMode = lengthFollow;
    o.showLabels = showLabels ? 1 : 0;
    o.showSimulatedPile = showSimulatedPile ? 1 : 0;
    o.traceCount = std::atoi(traceCountText.c_str());
    o.items = chosen;
    return o;
}

void DisplaySettingsForm::addAvailable(const std::vector<int>& availableRows) {
    const auto& items = ParameterItems();
    std::vector<std::int32_t> ids;
    for (int r : availableRows)
        if (r >= 0 && r < static_cast<int>(items.size())) ids.push_back(items[r].id);
    AddChosenItems(chosen, ids);
}

void DisplaySettingsForm::addAll() {
    AddAllItems(chosen);
}

void DisplaySettingsForm::removeChosen(const std::vector<int>& rows) {
    RemoveChosenItems(chosen, rows);
}

void DisplaySettingsForm::removeAll() {
    chosen.clear();
}

std::vector<std::string> DisplaySettingsForm::chosenNames() const {
    std::vector<std::string> out;
    for (std::int32_t id : chosen)
        if (const ParameterItem* it = FindParameterItem(id)) out.emplace_back(it->name);
    return out;
}

std::vector<std::string> AvailableItemNames() {
    std::vector<std::string> out;
    for (const ParameterItem& it : ParameterItems()) out.emplace_back(it.name);
    return out;
}

}  // namespace sondara
