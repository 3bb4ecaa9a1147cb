#include "core/display/DisplayOptions.h"

#include <algorithm>

#include "core/base/TrNoop.h"

namespace sondara {

namespace {
constexpr std::int32_t kMaxStoredCount = 9999;
}

SettingsFile displayOptionsFile() {
    return {"MIR_QAR4_DISP_001.ini", "MIR_QAR4_DISP_001"};
}

bool saveSettings(const DisplayOptions& o, Prompter* p) {
    return displayOptionsFile().write(
        [&](ByteWriter& w) {
            w.i32(o.editScope);
            w.i32(o.lengthFollowMode);
            w.i32(o.showLabels);
            w.i32(o.showSimulatedPile);
            w.i32(o.traceCount);
            w.i32(static_cast<std::int32_t>(o.items.size()));
            for (std::int32_t id : o.items) w.i32(id);
        },
        p);
}

bool loadOrWriteDefaults(DisplayOptions& o, Prompter* p) {
    o = DisplayOptions{};
    const bool found = displayOptionsFile().read([&](ByteReader& r) {
        std::int32_t* fields[] = {&o.editScope, &o.lengthFollowMode, &o.showLabels,
                                  &o.showSimulatedPile, &o.traceCount};
        for (std::int32_t* f : fields) {
            const std::int32_t v = r.i32();
            if (!r.ok()) return;
            *f = v;
        }
        const std::int32_t n = r.i32();
        if (!r.ok() || n < 0 || n > kMaxStoredCount) return;
        std::vector<std::int32_t> items;
        items.reserve(static_cast<size_t>(n));
        for (std::int32_t i = 0; i < n; ++i) {
            const std::int32_t id = r.i32();
            if (!r.ok()) break;
            items.push_back(id);
        }
        o.items = std::move(items);
    });
    if (!found) saveSettings(o, p);
    return found;
}

const std::vector<ParameterItem>& ParameterItems() {
    static const std::vector<ParameterItem> items = {
        {SONDARA_TR_NOOP("sondara", "<空行>"), 30},
        {SONDARA_TR_NOOP("sondara", "桩号"), 31},
        {SONDARA_TR_NOOP("sondara", "桩径"), 32},
        {SONDARA_TR_NOOP("sondara", "桩长"), 33},
        {SONDARA_TR_NOOP("sondara", "波速"), 34},
        {SONDARA_TR_NOOP("sondara", "检测日期"), 35},
        {SONDARA_TR_NOOP("sondara", "检测时间"), 46},
        {SONDARA_TR_NOOP("sondara", "桩型"), 36},
        {SONDARA_TR_NOOP("sondara", "传感器类型"), 37},
        {SONDARA_TR_NOOP("sondara", "采样间隔"), 38},
        {SONDARA_TR_NOOP("sondara", "采样长度"), 39},
        {SONDARA_TR_NOOP("sondara", "增益"), 40},
        {SONDARA_TR_NOOP("sondara", "触发电平"), 41},
        {SONDARA_TR_NOOP("sondara", "检测单位"), 42},
        {SONDARA_TR_NOOP("sondara", "工程名称"), 43},
        {SONDARA_TR_NOOP("sondara", "缺陷/标记线"), 44},
        {SONDARA_TR_NOOP("sondara", "数字滤波"), 3},
        {SONDARA_TR_NOOP("sondara", "波形放大"), 13},
        {SONDARA_TR_NOOP("sondara", "去直流"), 8},
        {SONDARA_TR_NOOP("sondara", "平滑"), 7},
        {SONDARA_TR_NOOP("sondara", "积分"), 1},
        {SONDARA_TR_NOOP("sondara", "简单积分"), 26},
        {SONDARA_TR_NOOP("sondara", "微分"), 2},
        {SONDARA_TR_NOOP("sondara", "波形旋转"), 12},
        {SONDARA_TR_NOOP("sondara", "线性归零"), 4},
        {SONDARA_TR_NOOP("sondara", "非线性归零"), 5},
        {SONDARA_TR_NOOP("sondara", "前清零"), 9},
        {SONDARA_TR_NOOP("sondara", "后清零"), 10},
        {SONDARA_TR_NOOP("sondara", "局部缩放"), 16},
        {SONDARA_TR_NOOP("sondara", "数据平移"), 11},
        {SONDARA_TR_NOOP("sondara", "波形反向"), 6},
        {SONDARA_TR_NOOP("sondara", "频率分辨率"), 45},
    };
    return items;
}

const ParameterItem* FindParameterItem(std::int32_t id) {
    for (const ParameterItem& it : ParameterItems())
        if (it.id == id) return &it;
    return nullptr;
}

void AddChosenItems(std::vector<std::int32_t>& chosen, const std::vector<std::int32_t>& ids) {
    for (std::int32_t id : ids) {
        if (id != kBlankLineItem && std::find(chosen.begin(), chosen.end(), id) != chosen.end())
            continue;
        chosen.push_back(id);
    }
}

void AddAllItems(std::vector<std::int32_t>& chosen) {
    std::vector<std::int32_t> all;
    for (const ParameterItem& it : ParameterItems()) all.push_back(it.id);
    AddChosenItems(chosen, all);
}

void RemoveChosenItems(std::vector<std::int32_t>& chosen, std::vector<int> positions) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    for (auto it = positions.rbegin(); it != positions.rend(); ++it)
        if (*it >= 0 && *it < static_cast<int>(chosen.size())) chosen.erase(chosen.begin() + *it);
}

std::vector<std::int32_t> ChosenItemsForPage(const std::vector<std::int32_t>& recordItems) {
    std::vector<std::int32_t> out;
    for (std::int32_t id : recordItems)
        if (FindParameterItem(id)) out.push_back(id);
    return out;
}

}  // namespace sondara
