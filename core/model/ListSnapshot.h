#pragma once
// One undoable edit of the point list. Applying a snapshot performs its operation
// and rewrites it into its own inverse, so the same record serves undo and redo.
#include <cstdint>
#include <vector>

#include "core/model/ProjectInfo.h"
#include "core/model/TestPoint.h"

namespace sondara {

// Operation codes of a snapshot (the inverse the engine writes back in brackets).
inline constexpr std::int32_t kOpPaste = 3;            // replace point / pile (3)
inline constexpr std::int32_t kOpInsert = 4;           // before point / pile (6)
inline constexpr std::int32_t kOpAppend = 5;           // after point / pile (6)
inline constexpr std::int32_t kOpDelete = 6;           // point / pile (4 or 5)
inline constexpr std::int32_t kOpMoveUp = 7;           // (8)
inline constexpr std::int32_t kOpMoveDown = 8;         // (7)
inline constexpr std::int32_t kOpExchangeHeader = 10;  // (10)
inline constexpr std::int32_t kOpExchangeFields = 11;  // fixed fields by sourceIndex (11)
inline constexpr std::int32_t kOpSortAscending = 12;   // (14)
inline constexpr std::int32_t kOpSortDescending = 13;  // (14)
inline constexpr std::int32_t kOpExchangeList = 14;    // whole list, same length (14)
inline constexpr std::int32_t kOpTickAll = 15;         // (18)
inline constexpr std::int32_t kOpUntickAll = 16;       // (18)
inline constexpr std::int32_t kOpInvertTicks = 17;     // (18)
inline constexpr std::int32_t kOpExchangeTicks = 18;   // check flags, same length (18)
inline constexpr std::int32_t kOpTick = 19;            // one point (20)
inline constexpr std::int32_t kOpUntick = 20;          // one point (19)

struct ListSnapshot {
    std::int32_t op = 0;            // operation code 3..20 (0 in a copied block)
    std::vector<TestPoint> points;  // carried points (deep copies)
    std::int32_t mode = 0;          // 1 one point, 2 a whole pile
    std::int32_t anchor = -1;       // point the operation refers to (move, single tick)
    std::int32_t position = -1;     // where the operation happens (paste, insert, delete)
    ProjectInfo header{};           // header edit

    // In memory only, never in the clipboard block: set by the engine on the undo
    // record of a pile delete, so that the pile goes back exactly at `position` even
    // when the delete joined the two piles around it into one (A, B, A -> A, A).
    bool exactPosition = false;

    int count() const { return static_cast<int>(points.size()); }
};

}  // namespace sondara
