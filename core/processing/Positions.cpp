#include "core/processing/Positions.h"

#include <cmath>
#include <limits>

#include "core/model/DefectDepth.h"

namespace sondara {

double DepthOfSample(const TestPoint& p, int sample, bool span) {
    return DepthBelowHead(p, sample, span);
}

int SampleOfDepth(const TestPoint& p, double metres, bool span) {
    long double dtv = static_cast<long double>(p.sampleInterval) * p.waveSpeed;
    // A zero or invalid sample interval or wave speed has no sample for a depth:
    // the position stays at the head instead of an undefined division.
    if (!(dtv != 0) || !std::isfinite(static_cast<double>(dtv)) || !std::isfinite(metres))
        return span ? 0 : p.headIndex;
    long double k = std::trunc(metres * 2.0L / dtv * 1000000.0L);
    constexpr long double lim = std::numeric_limits<int>::max() / 2;
    if (k > lim) k = lim;
    if (k < -lim) k = -lim;
    return span ? static_cast<int>(k) : p.headIndex + static_cast<int>(k);
}

double DepthOfSample(const CSondaraDoc& doc, int point, int sample, bool span) {
    return doc.validPoint(point) ? DepthOfSample(doc.points[point], sample, span) : 0.0;
}

int SampleOfDepth(const CSondaraDoc& doc, int point, double metres, bool span) {
    return doc.validPoint(point) ? SampleOfDepth(doc.points[point], metres, span) : 0;
}

}  // namespace sondara
