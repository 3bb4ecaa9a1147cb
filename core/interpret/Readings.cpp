#include "core/interpret/Readings.h"

namespace sondara::interp {

bool physicallyPossible(const ModelParams& q, double toeRangeStart, double blowTime) {
    if (!(q.toeTime > 0.0)) return false;
    const double slack = 0.75 * blowTime / q.toeTime;  // as a fraction of the toe time
    for (const ModelChange& a : q.changes) {
        if (a.ratio >= 1.0) continue;
        if (a.ratio < kBreakBeta && a.top * q.toeTime >= toeRangeStart) return false;
        if (a.ratio < kNearTotalBreak && 2.0 * a.extent * q.toeTime > blowTime) return false;
        for (const ModelChange& w : q.changes)
            if (w.ratio > 1.0 && a.top > w.top && a.top <= w.top + w.extent + slack) return false;
    }
    return true;
}

}  // namespace sondara::interp
