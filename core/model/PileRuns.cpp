#include "core/model/PileRuns.h"

#include <algorithm>

namespace sondara {

PileRuns::PileRuns(const std::vector<TestPoint>& points)
    : points_(static_cast<int>(points.size())) {
    for (int i = 0; i < points_; ++i)
        if (i == 0 || !textEquals(points[i].pileNo, points[i - 1].pileNo)) first_.push_back(i);
}

int PileRuns::firstPoint(int pile) const {
    return pile >= 0 && pile < pileCount() ? first_[pile] : -1;
}

int PileRuns::size(int pile) const {
    if (pile < 0 || pile >= pileCount()) return 0;
    return (pile + 1 < pileCount() ? first_[pile + 1] : points_) - first_[pile];
}

int PileRuns::pileOf(int point) const {
    if (point < 0 || point >= points_) return -1;
    return static_cast<int>(std::upper_bound(first_.begin(), first_.end(), point) -
                            first_.begin()) -
           1;
}

bool PileTickState(int tickedPoints, int points, bool previous) {
    if (points > 0 && tickedPoints == points) return true;
    if (tickedPoints == 0) return false;
    return previous;
}

}  // namespace sondara
