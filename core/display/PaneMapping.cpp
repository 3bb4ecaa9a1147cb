#include "core/display/PaneMapping.h"

#include <cmath>

namespace sondara {

namespace {
int truncToInt(double v) {
    if (!std::isfinite(v)) return 0;
    if (v > 1e9) return 1000000000;
    if (v < -1e9) return -1000000000;
    return static_cast<int>(v);
}
}  // namespace

int HorizontalMapping::column(int k) const {
    if (sampleCount <= 1) return 0;
    return truncToInt(static_cast<double>(k) / (sampleCount - 1) * plot.width() *
                      static_cast<double>(hScale));
}

int HorizontalMapping::x(int k) const {
    return plot.left + column(k) + truncToInt(xOffset * ratio);
}

int HorizontalMapping::sampleAt(int px) const {
    if (sampleCount <= 0) return -1;
    const double span = static_cast<double>(plot.width()) * hScale;
    if (sampleCount == 1 || !(span > 0.0)) return 0;
    const double rel = px - plot.left - truncToInt(xOffset * ratio);
    const double k = std::round(rel * (sampleCount - 1) / span);
    if (!(k > 0.0)) return 0;
    if (k > sampleCount - 1) return sampleCount - 1;
    return static_cast<int>(k);
}

int VerticalMapping::y(double v) const {
    const int b1 = plot.bottom - 1;
    const int H = b1 - plot.top;
    const double range = vMax - vMin;
    if (!(std::fabs(range) > 0.0) || !std::isfinite(range)) return b1 - H / 2;
    return b1 - truncToInt(H * (v - vMin) / range);
}

int VerticalMapping::zeroY() const {
    const int b1 = plot.bottom - 1;
    const int H = b1 - plot.top;
    const double range = vMax - vMin;
    if (!(std::fabs(range) > 0.0) || !std::isfinite(range)) return b1 - H / 2;
    return b1 - truncToInt(-vMin / range * H);
}

HorizontalMapping MakeHorizontalMapping(const WavePane& pane, const PixelRect& plot, double ratio) {
    HorizontalMapping h;
    h.plot = plot;
    h.sampleCount = pane.sampleCount;
    h.hScale = pane.state.hScale;
    h.xOffset = pane.state.xOffset;
    h.ratio = ratio;
    return h;
}

VerticalMapping MakeVerticalMapping(const WavePane& pane, const PixelRect& plot) {
    return VerticalMapping{plot, pane.vMax, pane.vMin};
}

std::vector<PolylinePoint> BuildPolyline(const float* samples, int n, const HorizontalMapping& h,
                                         const VerticalMapping& v) {
    std::vector<PolylinePoint> out;
    if (n <= 0 || !samples) return out;
    const int W = h.plot.width();
    const int offset = truncToInt(h.xOffset * h.ratio);
    const bool perColumn = W > 0 && n >= W;
    const int candidates = perColumn ? W : n;
    out.reserve(static_cast<size_t>(candidates));
    // Thinning works on the candidates' unscaled columns (i, or the sample's share of
    // the width), scaled: at most one point per column of the magnified curve.
    const double unitsPerSample = n > 1 ? static_cast<double>(W) / (n - 1) : 0.0;
    long long lastColumn = 0;
    for (int i = 0; i < candidates; ++i) {
        const int k = perColumn ? static_cast<int>(static_cast<long long>(n) * i / W) : i;
        const double unscaled = perColumn ? static_cast<double>(i) : k * unitsPerSample;
        const long long col = static_cast<long long>(unscaled * static_cast<double>(h.hScale));
        if (!out.empty() && col == lastColumn) continue;
        lastColumn = col;
        out.push_back({h.plot.left + h.column(k) + offset, v.y(samples[k]), k});
    }
    return out;
}

}  // namespace sondara
