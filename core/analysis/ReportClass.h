#pragma once
// The reports' evaluation of a point from its defect kinds alone (the analyst's
// stored integrity class is not consulted): 0 "Ⅰ" without a lowering defect,
// 1 "Ⅱ/Ⅲ" with a 缩径, 裂纹, 夹泥, 离析 or own-named defect, 2 "Ⅳ" with a 断桩.
// 扩径 and 扩底 (and 无缺陷) do not lower the class.
#include <span>

#include "core/model/TestPoint.h"

namespace sondara {

enum class ReportGrade : int { Intact = 0, Defective = 1, Severe = 2 };

int ReportClass(std::span<const PileMark> defects);
inline int ReportClass(const TestPoint& p) {
    return ReportClass(p.defects);
}

// "Ⅰ", "Ⅱ/Ⅲ" or "Ⅳ" (UTF-8); empty for any other value.
const char* ReportClassText(int value);

}  // namespace sondara
