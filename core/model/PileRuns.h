#pragma once
// The piles of a point list worked out once: a pile is a run of adjacent points with
// the same pile number, and its ordinal counts these runs from 0. Windows that show
// piles keep one of these instead of walking the list for every item they draw.
#include <vector>

#include "core/model/TestPoint.h"

namespace sondara {

class PileRuns {
public:
    PileRuns() = default;
    explicit PileRuns(const std::vector<TestPoint>& points);

    int pileCount() const { return static_cast<int>(first_.size()); }
    int pointCount() const { return points_; }
    // First point of pile k and its number of points; -1 / 0 for a pile outside the list.
    int firstPoint(int pile) const;
    int size(int pile) const;
    // Pile ordinal of a point (-1 outside the list), by binary search.
    int pileOf(int point) const;
    bool operator==(const PileRuns& o) const = default;

private:
    std::vector<int> first_;  // ascending, first_[0] == 0 when there are points
    int points_ = 0;
};

// The check box of a pile: ticked when every point of the pile is ticked, unticked
// when none is, and as it was (`previous`) for a mixed pile.
bool PileTickState(int tickedPoints, int points, bool previous);

}  // namespace sondara
