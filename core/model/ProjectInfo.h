#pragma once
#include <cstdint>

#include "core/base/FixedText.h"

namespace sondara {

// The file header of a project.
struct ProjectInfo {
    FixedText<5> versionTag{};  // exactly 5 bytes, no terminator
    std::int32_t pointCount = 0;
    FixedText<50> testingUnit{};
    FixedText<50> projectName{};
    FixedText<100> extraInfo{};  // carried unchanged

    // Empties the tag and the two names and sets the count to 0; extraInfo stays.
    void clear() {
        versionTag.fill(0);
        testingUnit.fill(0);
        projectName.fill(0);
        pointCount = 0;
    }
    bool operator==(const ProjectInfo&) const = default;
};

}  // namespace sondara
