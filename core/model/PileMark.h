#pragma once
// A defect mark on the time trace.
#include <cstdint>

#include "core/base/FixedText.h"

namespace sondara {

// Defect kinds 0..7 index DefectNames; 100 is an analyst's own name.
enum class DefectKind : std::int32_t {
    None = 0,
    Bulging = 1,        // 扩径
    Necking = 2,        // 缩径
    Break = 3,          // 断桩
    Crack = 4,          // 裂纹
    SoilInclusion = 5,  // 夹泥
    Segregation = 6,    // 离析
    EnlargedBase = 7,   // 扩底
    OwnName = 100,
};

struct PileMark {
    std::int32_t position = 0;  // sample index in the working trace
    std::int32_t kind = 0;      // DefectKind code
    FixedText<50> name{};
    FixedText<50> remark{};
    float depth = 0.0f;         // m below the pile head
    FixedText<50> thirdText{};  // carried unchanged
    std::array<std::uint8_t, 2> padding{};

    bool operator==(const PileMark&) const = default;
};

inline constexpr int kPileMarkBytes = 164;

}  // namespace sondara
