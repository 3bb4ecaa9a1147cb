#pragma once
// A second curve over the trace of a time pane and the impedance profile that goes with
// it: what an automatic interpretation found for a point (the fitted model's head trace
// and the fitted pile), drawn beside what was measured. The display asks for it by
// point (WaveDisplayModel::overlayFor); nothing here depends on how it was found.
#include <vector>

#include "core/display/Geometry.h"

namespace sondara {

// One piece of the fitted pile: from `top` to `bottom` (m below the head) the
// impedance is `ratio` times the pile's own.
struct ProfileSegment {
    double top = 0.0;
    double bottom = 0.0;
    double ratio = 1.0;
};

struct PointOverlay {
    std::vector<float> curve;  // one value per sample of the point's trace, any scale
    // A competing reading's trace in the same scale as `curve`, drawn beside it so that
    // the two can be weighed; empty: none.
    std::vector<float> alternative;
    std::vector<ProfileSegment> profile;  // top to toe; empty: none
};

// The factor k that makes k * curve closest to trace over their common samples in
// the least-squares sense (0 for a curve without energy there).
double LeastSquaresScale(const std::vector<float>& curve, const float* trace, int n);

// The curve times that factor, at most n samples long.
std::vector<float> ScaledToTrace(const std::vector<float>& curve, const float* trace, int n);

// The curve times k, at most n samples long.
std::vector<float> Scaled(const std::vector<float>& curve, double k, int n);

}  // namespace sondara
