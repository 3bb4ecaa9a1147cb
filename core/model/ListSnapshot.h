#pragma once
// One undoable edit of the point list. Applying a snapshot performs its operation
// and rewrites it into its own inverse, so the same record serves undo and redo.
#include <cstdint>
#include <vector>

#include "core/model/ProjectInfo.h"
#include "core/model/TestPoint.h"

namespace sondara {

struct ListSnapshot {
    std::int32_t op = 0;               // operation code 3..20
    std::vector<TestPoint> points;     // carried points (deep copies)
    std::int32_t mode = 0;             // 1 one point, 2 a whole pile
    std::int32_t anchor = -1;          // point the operation refers to (move, single tick)
    std::int32_t position = -1;        // where the operation happens (paste, insert, delete)
    ProjectInfo header{};              // header edit

    int count() const { return static_cast<int>(points.size()); }
};

}  // namespace sondara
