#pragma once
// What the two pages of the display settings dialog ("显示设置") hold, loaded from a
// display's record and read back into one, with the rules of the item chooser. The
// dialog only mirrors this form in its controls.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/TrNoop.h"
#include "core/display/DisplayOptions.h"

namespace sondara {

inline constexpr const char* kDisplaySettingsTitle = SONDARA_TR_NOOP("sondara", "显示设置");
inline constexpr const char* kOperationPageTitle = SONDARA_TR_NOOP("sondara", "  操作控制  ");
inline constexpr const char* kGraphicPageTitle = SONDARA_TR_NOOP("sondara", "  图形参数  ");

// The choices of the drop-downs of the 操作控制 page.
const std::vector<std::string_view>& LengthFollowChoices();  // 自动调整, 桩长不变, 波速不变
const std::vector<std::string_view>& TraceCountChoices();  // "1" .. "6"

struct DisplaySettingsForm {
    int editScope = 0;     // 0 当前波形, 1 全部波形
    int lengthFollow = 0;  // index into LengthFollowChoices
    bool showLabels = true;
    bool showSimulatedPile = true;
    std::string traceCountText = "3";
    std::vector<std::int32_t> chosen;  // 已选项, ids in order

    // The pages for a record: the controls set, ids absent from the item table
    // dropped from 已选项. A value outside a drop-down's choices selects the nearest.
    static DisplaySettingsForm fromRecord(const DisplayOptions& o);
    // OK: every control into the record, the item list rebuilt from 已选项. The
    // trace count is the integer value of its text.
    DisplayOptions toRecord() const;

    // ">" and a double click: the available items at the given rows of 备选项.
    void addAvailable(const std::vector<int>& availableRows);
    void addAll();                                    // ">>"
    void removeChosen(const std::vector<int>& rows);  // "<", from the last to the first
    void removeAll();                                 // "<<"
    std::vector<std::string> chosenNames() const;
};

// The names of the 32 items of 备选项 in their order.
std::vector<std::string> AvailableItemNames();

// The texts of the edit settings dialog ("编辑设置").
inline constexpr const char* kEditSettingsTitle = SONDARA_TR_NOOP("sondara", "编辑设置");
inline constexpr const char* kEditScopeGroup = SONDARA_TR_NOOP("sondara", "编辑“测点信息”影响范围");
inline constexpr const char* kEditScopeSingle = SONDARA_TR_NOOP("sondara", "单个测点");
inline constexpr const char* kEditScopeMultiple = SONDARA_TR_NOOP("sondara", "多个测点");
inline constexpr const char* kEditScopeNote =
    SONDARA_TR_NOOP("sondara", "该部分设置“测点信息”区编辑参数操作的影响范围：");
inline constexpr const char* kEditScopeSingleNote =
    SONDARA_TR_NOOP("sondara", "●单个测点→ 只改变被修改的测点；");
inline constexpr const char* kEditScopeMultipleNote =
    SONDARA_TR_NOOP("sondara", "●多个测点→ “测点信息”区列出的所有测点同时修改。");

}  // namespace sondara
