// The instrument's site list, the display names and the transfer queue.
#include <gtest/gtest.h>

#include "core/instrument/SiteList.h"
#include "core/instrument/TransferQueue.h"
#include "core/base/TextCodec.h"
#include "support/Fixtures.h"

namespace sondara {
namespace {

using test::Bytes;

TEST(SiteList, DisplayNamesAreUniqueWithCounter) {
    struct Case {
        std::vector<std::string> in, out;
    };
    const Case cases[] = {
        {{"A", "A", "A"}, {"A.qar", "A—1.qar", "A—2.qar"}},
        {{"A", "B", "A"}, {"A.qar", "B.qar", "A—1.qar"}},
        {{"", "  "}, {"[].qar", "—1.qar"}},
        {{" 桥 ", "桥"}, {"桥.qar", "桥—1.qar"}},
        {{"A", "A—1", "A"}, {"A.qar", "A—1.qar", "A—2.qar"}},  // the counter is shared
    };
    for (const Case& c : cases) EXPECT_EQ(MakeDisplayNames(c.in), c.out);
}

TEST(SiteList, ParsesRecordsAndSurvivesShortFiles) {
    Bytes b;
    b.i16(3);
    b.text("S001", 10).text("2004-05-06", 12).text("12", 5).text(utf8ToGbk("大桥"), 20);
    b.text("S002", 10).text("2004-05-07", 12).text("7x", 5).text(utf8ToGbk("大桥"), 20);
    b.text("S003", 10).text("2004", 12);  // cut short
    std::vector<SiteEntry> e = ParseSiteList(b.s);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].folderName, "S001");
    EXPECT_EQ(e[0].testDate, "2004-05-06");
    EXPECT_EQ(e[0].pointCount(), 12);
    EXPECT_EQ(e[1].pointCount(), 7);
    EXPECT_EQ(gbkToUtf8(e[1].siteProjectName), "大桥");
    EXPECT_EQ(e[1].displayName, "大桥—1.qar");

    EXPECT_TRUE(ParseSiteList(std::string("\xff\xff", 2)).empty());
    EXPECT_TRUE(ParseSiteList("").empty());
    EXPECT_EQ(TargetFileName("a/b.qar"), "a_b.qar");
    EXPECT_EQ(TargetFileName("x"), "x.qar");
}

TEST(TransferQueue, KeepsOrderWithoutDuplicates) {
    TransferQueue q;
    EXPECT_TRUE(q.add(std::vector<int>{2, 0, 2, 5}));
    EXPECT_FALSE(q.add(0));
    EXPECT_EQ(q.items(), (std::vector<int>{2, 0, 5}));
    EXPECT_EQ(q.shown(3), (std::vector<int>{2, 0}));
    q.removePositions({1, 7, 1});
    EXPECT_EQ(q.items(), (std::vector<int>{2, 5}));
    q.add(1);
    q.removeFirst();
    EXPECT_EQ(q.items(), (std::vector<int>{5, 1}));

    EXPECT_EQ(TransferProgress(3, 1), 33);
    EXPECT_EQ(TransferProgress(3, 2), 66);
    EXPECT_EQ(TransferProgress(3, 3), 99);
    EXPECT_EQ(TransferProgress(0, 0), 0);
}

}  // namespace
}  // namespace sondara
