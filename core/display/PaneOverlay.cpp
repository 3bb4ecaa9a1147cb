#include "core/display/PaneOverlay.h"

#include <algorithm>

namespace sondara {

double LeastSquaresScale(const std::vector<float>& curve, const float* trace, int n) {
    const size_t m = trace ? std::min(curve.size(), static_cast<size_t>(std::max(n, 0))) : 0;
    double cc = 0.0, ct = 0.0;
    for (size_t i = 0; i < m; ++i) {
        cc += static_cast<double>(curve[i]) * curve[i];
        ct += static_cast<double>(curve[i]) * trace[i];
    }
    return cc > 0.0 ? ct / cc : 0.0;
}

std::vector<float> ScaledToTrace(const std::vector<float>& curve, const float* trace, int n) {
    return Scaled(curve, LeastSquaresScale(curve, trace, n), n);
}

std::vector<float> Scaled(const std::vector<float>& curve, double k, int n) {
    const size_t m = std::min(curve.size(), static_cast<size_t>(std::max(n, 0)));
    std::vector<float> out(m);
    for (size_t i = 0; i < m; ++i) out[i] = static_cast<float>(k * curve[i]);
    return out;
}

}  // namespace sondara
