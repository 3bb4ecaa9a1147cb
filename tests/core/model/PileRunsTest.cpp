#include <gtest/gtest.h>

#include "core/model/PileRuns.h"
#include "core/model/SondaraDoc.h"

namespace sondara {
namespace {

TEST(PileRunsTest, AdjacentEqualNumbersFormOnePileAndTheRuleKeepsMixedPiles) {
    CSondaraDoc d;
    for (const char* no : {"A", "A", "B", "A", "A", "A"}) {
        TestPoint p;
        setText(p.pileNo, no);
        d.points.push_back(std::move(p));
    }
    PileRuns r(d.points);
    ASSERT_EQ(r.pileCount(), 3);
    EXPECT_EQ(r.firstPoint(2), 3);
    EXPECT_EQ(r.size(2), 3);
    EXPECT_EQ(r.firstPoint(3), -1);
    EXPECT_EQ(r.size(-1), 0);
    for (int i = 0; i < d.pointCount(); ++i) EXPECT_EQ(r.pileOf(i), d.pileOrdinal(i)) << i;
    EXPECT_EQ(r.pileOf(6), -1);
    EXPECT_EQ(PileRuns(std::vector<TestPoint>{}).pileCount(), 0);
    // ticked points, points, previous -> pile box
    struct Case {
        int ticked, n;
        bool previous, expect;
    } cases[] = {{3, 3, false, true},
                 {0, 3, true, false},
                 {1, 3, true, true},
                 {1, 3, false, false},
                 {0, 0, true, false}};
    for (const Case& c : cases)
        EXPECT_EQ(PileTickState(c.ticked, c.n, c.previous), c.expect) << c.ticked << c.n;
}

}  // namespace
}  // namespace sondara
