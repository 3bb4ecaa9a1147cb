#pragma once
// One processing step of a point's chain, and the same record shape used as the
// point's remembered parameters (`lastParams`). The stored image is 1112 bytes,
// little-endian, field by field in declaration order.
#include <array>
#include <cstdint>

namespace sondara {

enum class ProcessKind : std::int32_t {
    None = 0,
    Integrate = 1,
    Differentiate = 2,
    Filter = 3,
    LinearZero = 4,
    NonlinearZero = 5,
    Reverse = 6,
    Smooth = 7,
    RemoveDc = 8,
    FrontZero = 9,
    BackZero = 10,
    Shift = 11,
    Rotate = 12,
    Amplify = 13,
    DynamicScale = 15,
    LocalScale = 16,
    SimpleIntegrate = 26,
};

// Per-point, per-view display state (26 slots inside `lastParams`).
struct DisplayState {
    std::int32_t fill = 0;           // 0 none, 1 positive half, 2 negative half
    std::int32_t spectrumStyle = 0;  // 0 lines, 1 envelope
    std::int32_t reserved = 0;
    std::int32_t positionMode = 1;  // 0 aligned to head, 1 restored, 2 shifted by hand
    std::int32_t xOffset = 0;       // pixels
    std::int32_t hScaleMode = 1;    // 0 automatic, 1 restored, 2 by hand
    float hScale = 1.0f;
    std::int32_t vScaleMode = 0;  // 0 automatic, 1 by hand
    float vScale = 1.0f;

    bool operator==(const DisplayState&) const = default;
};
static_assert(sizeof(DisplayState) == 36, "DisplayState is stored as 36 bytes");

inline constexpr int kViewStateSlots = 26;

struct ProcessStep {
    std::int32_t kind = 0;  // a ProcessKind code; set by whoever creates the step
    std::int32_t reserved0 = 0;
    std::int32_t filterType = 1;  // 1 low-pass, 2 high-pass, 3 band-pass, 4 band-stop
    float upperFreqHz = 300.0f;
    float lowerFreqHz = 0.0f;
    std::int32_t ampLaw = 0;  // 0 exponential, 1 linear
    float ampFactor = 1.0f;
    std::int32_t ampStart = 0;
    std::int32_t smoothPoints = 1;
    std::int32_t dcPartial = 0;
    std::int32_t dcStart = 0;
    std::int32_t rotPartial = 0;
    std::int32_t rotStart = 0;
    float rotAngle = 0.0f;
    float rotScale = 1.0f;
    std::int32_t linZeroMode = 0;  // 0 whole trace, 1 from start, 2 after the toe
    std::int32_t linZeroStart = 0;
    std::int32_t nonlinZeroMode = 0;
    std::int32_t nonlinZeroStart = 0;
    std::int32_t frontZeroEnd = 0;
    std::int32_t backZeroStart = 0;
    std::int32_t scaleStart = 0;
    std::int32_t scaleEnd = 0;
    float scaleFactor = 1.0f;
    std::int32_t shiftSamples = 0;
    float shiftMv = 0.0f;
    std::int32_t shiftPartial = 0;
    std::int32_t shiftStart = 0;
    std::int32_t shiftEnd = 0;
    std::array<DisplayState, kViewStateSlots> viewStates{};
    float rangeMax = 0.0f;
    float rangeMin = 0.0f;
    // Not used; stored with whatever it holds. New steps start zeroed.
    std::array<std::uint8_t, 52> reserved1{};

    ProcessKind processKind() const { return static_cast<ProcessKind>(kind); }
    bool operator==(const ProcessStep&) const = default;
};
static_assert(sizeof(ProcessStep) == 1112, "ProcessStep is stored as 1112 bytes");

inline constexpr int kProcessStepBytes = 1112;

// A freshly initialised step of the given kind.
inline ProcessStep makeStep(ProcessKind k) {
    ProcessStep s;
    s.kind = static_cast<std::int32_t>(k);
    return s;
}

}  // namespace sondara
