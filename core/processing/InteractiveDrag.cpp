#include "core/processing/InteractiveDrag.h"

#include <cmath>

namespace sondara {

float RotationDragAngle(int samplesFromStart, double rowsUp) {
    if (samplesFromStart <= 0 || !std::isfinite(rowsUp)) return 0.0f;
    // The ramp adds tan(angle) * k * scale * 0.55 at the k-th sample after its start.
    return static_cast<float>(std::atan(rowsUp / (samplesFromStart * 0.55)));
}

float MillivoltsPerRow(double vMax, double vMin, int plotHeight) {
    if (plotHeight <= 1 || !(vMax > vMin)) return 1.0f;
    return static_cast<float>((vMax - vMin) / (plotHeight - 1));
}

}  // namespace sondara
