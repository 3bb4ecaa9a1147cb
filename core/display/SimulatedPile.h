#pragma once
// The simulated pile (显示模拟桩): a sketch of the pile body with its defects below the
// plot of a time pane, as a list of shapes in window pixels. The painter draws them
// in order, clipped to `clip`.
#include <cstdint>
#include <vector>

#include "core/display/Geometry.h"
#include "core/display/WavePane.h"

namespace sondara {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
inline constexpr Rgb kLightGrey{192, 192, 192};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kDarkGrey{80, 80, 80};
inline constexpr Rgb kBandGrey{220, 220, 220};

struct PileShape {
    enum class Type { Polygon, Ellipse, Polyline };
    Type type = Type::Polygon;
    // Polygon and Polyline: the vertices; Ellipse: two corners of the bounding box.
    std::vector<PixelPoint> points;
    bool filled = false;
    Rgb fill{};
    bool outlined = false;  // drawn with the current pen (polylines always are)
};

struct SimulatedPile {
    PixelRect clip;                 // plot bottom .. pane bottom
    std::vector<PileShape> shapes;  // body first, then each drawn defect's glyph
    std::vector<int> drawnDefects;  // entries of the point's defect list that got a glyph
};

// The sketch of a materialised time or average pane with visible head and toe lines;
// a pane whose overlay holds a fitted profile shows that profile instead (the head line
// is enough then).
// Empty (no shapes) when there is no room (pane bottom - 20 <= plot bottom + 35) or the
// toe line is not right of the head line. Whether the sketch is wanted at all (the
// setting and the display) is the caller's decision.
SimulatedPile BuildSimulatedPile(const WavePane& pane);

}  // namespace sondara
