#include "core/display/SimulatedPile.h"

#include <algorithm>
#include <cmath>

#include "core/display/PaneMapping.h"

namespace sondara {

namespace {

PileShape polygon(std::vector<PixelPoint> pts, Rgb fill, bool outlined) {
    PileShape s;
    s.type = PileShape::Type::Polygon;
    s.points = std::move(pts);
    s.filled = true;
    s.fill = fill;
    s.outlined = outlined;
    return s;
}

PileShape line(std::vector<PixelPoint> pts) {
    PileShape s;
    s.type = PileShape::Type::Polyline;
    s.points = std::move(pts);
    s.outlined = true;
    return s;
}

PileShape ellipse(int x0, int y0, int x1, int y1, Rgb fill, bool outlined) {
    PileShape s;
    s.type = PileShape::Type::Ellipse;
    s.points = {{x0, y0}, {x1, y1}};
    s.filled = true;
    s.fill = fill;
    s.outlined = outlined;
    return s;
}

void glyph(std::vector<PileShape>& out, int kind, int x, int m, int l) {
    const int mid = m + (l - m) / 2;
    const int H = l - m;
    switch (kind) {
        case 1:  // 扩径
            out.push_back(polygon({{x - 9, m + 1}, {x + 9, m + 1}, {x + 3, m - 6}, {x - 3, m - 6}},
                                  kLightGrey, true));
            out.push_back(polygon({{x - 9, l}, {x + 9, l}, {x + 3, l + 6}, {x - 3, l + 6}},
                                  kLightGrey, true));
            break;
        case 2:  // 缩径
            out.push_back(
                polygon({{x - 9, m}, {x + 9, m}, {x + 3, m + 6}, {x - 3, m + 6}}, kWhite, true));
            out.push_back(polygon({{x - 9, l + 1}, {x + 9, l + 1}, {x + 3, l - 6}, {x - 3, l - 6}},
                                  kWhite, true));
            break;
        case 3:  // 断桩
            out.push_back(polygon({{x - 9, m},
                                   {x - 1, mid},
                                   {x - 9, l + 1},
                                   {x + 9, l + 1},
                                   {x + 1, mid},
                                   {x + 9, m}},
                                  kWhite, false));
            out.push_back(line({{x - 9, m}, {x - 1, mid}, {x - 9, l + 1}}));
            out.push_back(line({{x + 9, m}, {x + 1, mid}, {x + 9, l + 1}}));
            break;
        case 4:  // 裂纹
            out.push_back(polygon({{x - 3, m}, {x, m + H / 3}, {x + 3, m}}, kWhite, true));
            break;
        case 5:  // 夹泥
            out.push_back(ellipse(x - 9, m + H / 5, x + 9, l - H / 5, kDarkGrey, false));
            break;
        case 6:  // 离析: the body's brush and pen are still selected
            for (int cx : {x - 9, x + 3})
                for (int cy : {mid - 13, mid + 7})
                    out.push_back(ellipse(cx, cy, cx + 6, cy + 6, kLightGrey, true));
            for (int cy : {mid - 3, mid - 23, mid + 17})
                out.push_back(ellipse(x - 3, cy, x + 3, cy + 6, kLightGrey, true));
            break;
        case 7:  // 扩底
            out.push_back(
                polygon({{x - 9, m + 1}, {x + 9, m - 9}, {x + 9, m + 1}}, kLightGrey, false));
            out.push_back(line({{x - 9, m + 1}, {x + 9, m - 9}}));
            out.push_back(line({{x - 9, m + 1}, {x + 9, m + 1}}));
            out.push_back(polygon({{x - 9, l}, {x + 9, l + 9}, {x + 9, l}}, kLightGrey, false));
            out.push_back(line({{x - 9, l}, {x + 9, l + 9}}));
            out.push_back(line({{x - 9, l}, {x + 9, l}}));
            break;
        default:  // an analyst's own name
            out.push_back(polygon({{x - 9, m + 1}, {x + 9, m + 1}, {x + 9, l}, {x - 9, l}},
                                  kBandGrey, false));
            break;
    }
}

// The fitted pile of an interpretation: the body's height follows the impedance ratio
// of each segment (a narrowing thins it, a widening thickens it), placed by the
// travel time to each depth at the point's wave speed.
bool fittedProfile(SimulatedPile& sp, const WavePane& pane, int m, int l) {
    const TestPoint& p = *pane.point;
    const std::vector<ProfileSegment>& segs = pane.overlay->profile;
    if (p.waveSpeed <= 0 || !(p.sampleInterval > 0.0f)) return false;
    const HorizontalMapping h = MakeHorizontalMapping(pane, pane.plotRect);
    const double samplesPerMetre = 2.0 / p.waveSpeed / (p.sampleInterval * 1e-6);
    auto xAt = [&](double depth) {
        const double k = pane.head.sample + depth * samplesPerMetre;
        return h.x(static_cast<int>(std::lround(std::clamp(k, -1e6, 1e6))));
    };
    const int mid = m + (l - m) / 2;
    const int half = (l - m) / 2;
    std::vector<PixelPoint> top, bottom;
    for (const ProfileSegment& s : segs) {
        if (!(s.bottom > s.top)) continue;
        const double r = std::clamp(s.ratio, 0.1, 1.6);
        const int hh = std::min(half + 15, std::max(1, static_cast<int>(std::lround(half * r))));
        const int x0 = xAt(s.top), x1 = xAt(s.bottom);
        top.push_back({x0, mid - hh});
        top.push_back({x1, mid - hh});
        bottom.push_back({x0, mid + hh});
        bottom.push_back({x1, mid + hh});
    }
    if (top.empty()) return false;
    std::vector<PixelPoint> outline = top;
    outline.insert(outline.end(), bottom.rbegin(), bottom.rend());
    sp.shapes.push_back(polygon(std::move(outline), kLightGrey, true));
    return true;
}

}  // namespace

SimulatedPile BuildSimulatedPile(const WavePane& pane) {
    SimulatedPile sp;
    sp.clip = {pane.paneRect.left, pane.plotRect.bottom, pane.paneRect.right, pane.paneRect.bottom};
    if (!pane.point || !IsTimeKind(pane.kind) || !pane.head.visible) return sp;
    const int m = pane.plotRect.bottom + 35;
    const int l = pane.paneRect.bottom - 20;
    if (l - m <= 0) return sp;
    // an interpreted point shows the pile its fit found, not the marks' sketch
    if (pane.overlay && !pane.overlay->profile.empty() && fittedProfile(sp, pane, m, l)) return sp;
    if (!pane.toe.visible) return sp;
    const int hx = pane.head.x, tx = pane.toe.x;
    if (tx <= hx) return sp;

    sp.shapes.push_back(polygon({{hx, m},
                                 {tx, m},
                                 {tx + 5, m + 5},
                                 {tx + 5, l - 5},
                                 {tx, l},
                                 {hx, l},
                                 {hx - 5, l - 5},
                                 {hx - 5, m + 5}},
                                kLightGrey, true));

    const TestPoint& p = *pane.point;
    std::vector<int> order(p.defects.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return p.defects[static_cast<size_t>(a)].position <
               p.defects[static_cast<size_t>(b)].position;
    });
    const HorizontalMapping h = MakeHorizontalMapping(pane, pane.plotRect);
    int g = hx - 9;
    for (int j : order) {
        const PileMark& d = p.defects[static_cast<size_t>(j)];
        const int x = h.x(d.position);
        if (x < g + 18 || x > tx - 9) continue;
        glyph(sp.shapes, d.kind, x, m, l);
        sp.drawnDefects.push_back(j);
        g = x;
    }
    return sp;
}

}  // namespace sondara
