// The readings physics rules out, whatever the evidence for them.
#include <gtest/gtest.h>

#include <vector>

#include "core/interpret/Readings.h"

namespace sondara::interp {
namespace {

TEST(Readings, PhysicsRulesOut) {
    // A 12 m pile at 4000 m/s: toe 3 ms one way, its range from 2.55 ms; a 1 ms blow.
    struct Case {
        const char* name;
        std::vector<ModelChange> changes;  // top, extent (fractions of the toe time), beta
        bool possible;
    };
    const std::vector<Case> cases = {
        {"sound", {}, true},
        {"neck in the shaft", {{0.4, 0.08, 0.7}}, true},
        {"thin break in the shaft", {{0.5, 0.01, 0.1}}, true},
        {"break where the toe may lie", {{0.9, 0.02, 0.15}}, false},
        {"mild neck where the toe may lie", {{0.9, 0.05, 0.8}}, true},
        {"break metres long", {{0.3, 0.3, 0.1}}, false},
        {"neck at a bulge's lower end", {{0.3, 0.1, 1.8}, {0.42, 0.05, 0.7}}, false},
        {"neck well below a bulge", {{0.2, 0.05, 1.8}, {0.6, 0.05, 0.7}}, true},
        {"neck above a bulge", {{0.5, 0.05, 1.8}, {0.3, 0.05, 0.7}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelParams q;
        q.toeTime = 3e-3;
        q.changes = c.changes;
        EXPECT_EQ(physicallyPossible(q, 2.55e-3, 1e-3), c.possible);
    }
    ModelParams none;
    none.toeTime = 0.0;
    EXPECT_FALSE(physicallyPossible(none, 0.0, 1e-3));
}

}  // namespace
}  // namespace sondara::interp
