#pragma once
// Sample <-> pixel mappings of a pane and the thinned polyline. Pure functions; the
// painter uses the same ones to draw into a rectangle of another size (printing,
// images), passing the ratio of that plot width to the screen plot width.
#include <vector>

#include "core/display/Geometry.h"
#include "core/display/WavePane.h"

namespace sondara {

// x = L + trunc(k / (n - 1) * W * hScale) + trunc(xOffset * ratio), W = R - L.
struct HorizontalMapping {
    PixelRect plot;
    int sampleCount = 0;  // n
    float hScale = 1.0f;
    int xOffset = 0;     // screen pixels
    double ratio = 1.0;  // target plot width / screen plot width

    // The column of sample k relative to L + offset.
    int column(int k) const;
    int x(int k) const;
    // The sample shown nearest to pixel x, clamped to 0..n-1 (0 for n <= 1 or a zero
    // scale). -1 when the pane has no samples.
    int sampleAt(int x) const;
};

// y(v) = (B - 1) - trunc(H * (v - vMin) / (vMax - vMin)), H = (B - 1) - T.
struct VerticalMapping {
    PixelRect plot;
    double vMax = 0.0;
    double vMin = 0.0;

    // A flat range (vMax == vMin) puts every value and the zero line on the middle row.
    int y(double v) const;
    int zeroY() const;
};

HorizontalMapping MakeHorizontalMapping(const WavePane& pane, const PixelRect& plot,
                                        double ratio = 1.0);
VerticalMapping MakeVerticalMapping(const WavePane& pane, const PixelRect& plot);

// The polyline of n samples: with n >= W one candidate per pixel column (sample
// trunc(n i / W)), otherwise one per sample; a candidate whose scaled column repeats
// the previous kept one is dropped, so at most one point per column remains.
std::vector<PolylinePoint> BuildPolyline(const float* samples, int n, const HorizontalMapping& h,
                                         const VerticalMapping& v);

}  // namespace sondara
