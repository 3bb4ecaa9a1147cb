#include <gtest/gtest.h>

#include <algorithm>

#include "core/app/SettingsFile.h"
#include "core/panels/DisplaySettingsForm.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

TEST(DisplaySettingsForm, AddingAllTwiceKeepsEachItemOnceAndABlankLinePerPress) {
    DisplaySettingsForm f;
    f.addAll();
    f.addAll();
    EXPECT_EQ(f.chosen.size(), ParameterItems().size() + 1);
    EXPECT_EQ(std::count(f.chosen.begin(), f.chosen.end(), kBlankLineItem), 2);
    for (const ParameterItem& it : ParameterItems()) {
        if (it.id != kBlankLineItem) {
            EXPECT_EQ(std::count(f.chosen.begin(), f.chosen.end(), it.id), 1) << it.name;
        }
    }
}

TEST(DisplaySettingsForm, ChooserAddsSelectedRowsAndRemovesFromTheLast) {
    DisplaySettingsForm f;
    f.addAvailable({1, 0, 1, 99, -1});  // 桩号, the blank line, 桩号 again, rows outside
    EXPECT_EQ(f.chosenNames(), (std::vector<std::string>{"桩号", "<空行>"}));
    f.addAvailable({0, 2});  // a double click on the blank line, then 桩径
    EXPECT_EQ(f.chosenNames(), (std::vector<std::string>{"桩号", "<空行>", "<空行>", "桩径"}));
    f.removeChosen({0, 3, 3});
    EXPECT_EQ(f.chosenNames(), (std::vector<std::string>{"<空行>", "<空行>"}));
    f.removeAll();
    EXPECT_TRUE(f.chosen.empty());
    EXPECT_EQ(AvailableItemNames().size(), 32u);
}

TEST(DisplaySettingsForm, RecordRoundTripAndForeignValues) {
    DisplayOptions o;
    o.editScope = 1;
    o.lengthFollowMode = 2;
    o.showLabels = 0;
    o.traceCount = 5;
    o.items = {13, 999, 30, 31};  // an id the table does not know is dropped
    DisplaySettingsForm f = DisplaySettingsForm::fromRecord(o);
    EXPECT_EQ(f.editScope, 1);
    EXPECT_EQ(f.lengthFollow, 2);
    EXPECT_FALSE(f.showLabels);
    EXPECT_TRUE(f.showSimulatedPile);
    EXPECT_EQ(f.traceCountText, "5");
    DisplayOptions back = f.toRecord();
    o.items = {13, 30, 31};
    EXPECT_EQ(back, o);

    o.lengthFollowMode = 7;
    o.traceCount = 40;
    f = DisplaySettingsForm::fromRecord(o);
    EXPECT_EQ(f.lengthFollow, 0);
    EXPECT_EQ(f.traceCountText, "6");
}

TEST(DisplaySettingsForm, DefaultsThenOkWriteTheDefaultRecord) {
    DisplayOptions o;
    o.editScope = 1;
    o.items = {31};
    ASSERT_TRUE(saveSettings(o, nullptr));
    DisplaySettingsForm f = DisplaySettingsForm::fromRecord(o);
    f = DisplaySettingsForm::fromRecord(DisplayOptions{});  // 默认
    ASSERT_TRUE(saveSettings(f.toRecord(), nullptr));       // 确定
    DisplayOptions read;
    read.traceCount = 1;
    ASSERT_TRUE(loadOrWriteDefaults(read, nullptr));
    EXPECT_EQ(read, DisplayOptions{});
    EXPECT_EQ(read.items, (std::vector<std::int32_t>{31, 32, 36, 35, 3, 30, 33, 34, 13}));
}

TEST(EditSettings, TheScopeIsStoredAndReadBack) {
    EditSettings s;
    s.pointEditScope = 1;
    ASSERT_TRUE(saveSettings(s, nullptr));
    EditSettings r;
    ASSERT_TRUE(loadOrWriteDefaults(r, nullptr));
    EXPECT_EQ(r.pointEditScope, 1);
}

}  // namespace
}  // namespace sondara
