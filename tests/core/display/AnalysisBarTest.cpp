// The analysis selection bar (lists, resets, stored choices, run-log line), its SELT
// settings file, the display options with their DISP file and item-list rules, and
// the display command of the CLI.
#include <gtest/gtest.h>

#include <cstring>

#include "core/display/AnalysisBar.h"
#include "core/display/DisplayOptions.h"
#include "core/fileio/ProjectFile.h"
#include "support/DisplayTestSupport.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using C = AnalysisChoices;
using displaytest::docOf;

struct Bar {
    AnalysisBar bar;
    std::vector<std::string> lines;
    Bar() {
        AnalysisBar::forgetLoggedSelection();
        bar.log = [this](const std::string& s) { lines.push_back(s); };
    }
};

TEST(AnalysisBar, IntegrityListsMapToDisplaySets) {
    CSondaraDoc doc = docOf(3);
    Bar b;
    b.bar.buildLists(doc);
    const BarLayout& L = b.bar.layout();
    EXPECT_EQ(L.displaySet.items.size(), 6u);
    EXPECT_EQ(L.displaySet.tooltips[1], "测点栏中\n框选方式选中测点附近的多个测点");
    EXPECT_FALSE(L.sub.visible);
    EXPECT_FALSE(L.first.visible);
    EXPECT_EQ(L.firstCaption, "波速(m/s)");
    EXPECT_EQ(L.secondCaption, "桩长(m)");
    EXPECT_TRUE(L.speedAndLengthShown);

    const struct {
        int index;
        DisplaySet set;
    } cases[] = {{0, DisplaySet::SingleTrace}, {1, DisplaySet::MultiTrace},
                 {2, DisplaySet::SamePile},    {3, DisplaySet::CheckedPoints},
                 {4, DisplaySet::AllPoints},   {5, DisplaySet::WaveTrain}};
    for (const auto& c : cases) {
        b.bar.select(BarCombo::DisplaySet, c.index, doc);
        EXPECT_EQ(b.bar.choices[C::IntegritySet], c.index);
        EXPECT_EQ(b.bar.selection().displaySet, c.set);
        EXPECT_EQ(IntegrityIndexOfDisplaySet(c.set), c.index);
    }
}

TEST(AnalysisBar, FrequencyCrossPowerSwapsTheLists) {
    CSondaraDoc doc = docOf(4);
    Bar b;
    b.bar.choices[C::AnalysisType] = 2;
    b.bar.choices[C::FrequencySet] = 3;
    b.bar.buildLists(doc);
    EXPECT_TRUE(b.bar.layout().displaySet.visible);
    EXPECT_FALSE(b.bar.layout().first.visible);
    EXPECT_EQ(b.bar.selection().displaySet, DisplaySet::AllPoints);  // the raw index

    b.bar.select(BarCombo::SubAnalysis, 2, doc);
    const BarLayout& L = b.bar.layout();
    EXPECT_FALSE(L.displaySet.visible);
    EXPECT_TRUE(L.first.visible && L.second.visible);
    EXPECT_EQ(L.firstCaption, "测点1");
    EXPECT_EQ(L.secondCaption, "测点2");
    EXPECT_EQ(L.first.items[2], "[3] P1");
    b.bar.select(BarCombo::SecondChoice, 3, doc);
    EXPECT_EQ(b.bar.choices[C::CrossPowerSecond], 3);
    EXPECT_EQ(b.bar.choices[C::CrossCorrSecond], 0);
    EXPECT_EQ(b.bar.selection().second, 3);
    // The point list is not offered for another spectrum: the choice stays untouched.
    b.bar.select(BarCombo::SubAnalysis, 0, doc);
    EXPECT_EQ(ChoiceServedBy(BarCombo::FirstChoice, b.bar.choices), -1);
}

TEST(AnalysisBar, OutOfRangeChoicesAreReset) {
    CSondaraDoc doc = docOf(3);
    Bar b;
    b.bar.choices[C::AnalysisType] = 1;
    b.bar.choices[C::TimeSub] = 1;
    b.bar.choices[C::AutoCorrPoint] = 7;
    b.bar.choices[C::CrossCorrFirst] = 1;
    b.bar.choices[C::CrossCorrSecond] = 5;
    b.bar.choices[C::WaveletFamilyChoice] = 2;
    b.bar.choices[C::WaveletMember] = 5;  // Coiflets has 5 members
    b.bar.choices[C::WaveletLevels] = 9;
    b.bar.buildLists(doc);
    EXPECT_EQ(b.bar.choices[C::AutoCorrPoint], 0);
    EXPECT_EQ(b.bar.layout().first.selected, 0);
    EXPECT_EQ(b.bar.layout().first.text(), "[1] P0");
    EXPECT_EQ(b.bar.choices[C::CrossCorrFirst], 0);
    EXPECT_EQ(b.bar.choices[C::CrossCorrSecond], 0);
    EXPECT_EQ(b.bar.choices[C::WaveletMember], 0);
    EXPECT_EQ(b.bar.choices[C::WaveletLevels], 0);

    b.bar.choices[C::AnalysisType] = 3;
    b.bar.buildLists(doc);
    const BarLayout& L = b.bar.layout();
    EXPECT_EQ(L.subCaption, "小波基");
    EXPECT_EQ(L.sub.text(), "Coiflets");
    EXPECT_EQ(L.first.items, (std::vector<std::string>{"6", "12", "18", "24", "30"}));
    EXPECT_EQ(L.second.items.size(), 9u);
    EXPECT_EQ(L.secondCaption, "小波级数");
}

TEST(AnalysisBar, RunLogLineOnlyForChangedSelections) {
    CSondaraDoc doc = docOf(3);
    Bar b;
    b.bar.buildLists(doc);
    EXPECT_TRUE(b.bar.runLogCheck());
    ASSERT_EQ(b.lines.size(), 1u);
    EXPECT_EQ(b.lines[0], "显示设置==>[0,完整性分析][0,单道分析][-1,][-1,][-1,]");
    b.bar.select(BarCombo::DisplaySet, 0, doc);  // the same item again
    EXPECT_EQ(b.lines.size(), 1u);
    b.bar.select(BarCombo::DisplaySet, 4, doc);
    ASSERT_EQ(b.lines.size(), 2u);
    EXPECT_EQ(b.lines[1], "显示设置==>[0,完整性分析][4,所有测点][-1,][-1,][-1,]");
    // A second bar of another view does not log what was just logged.
    AnalysisBar other;
    std::vector<std::string> otherLines;
    other.log = [&](const std::string& s) { otherLines.push_back(s); };
    other.choices = b.bar.choices;
    other.buildLists(doc);
    EXPECT_TRUE(other.runLogCheck());
    EXPECT_TRUE(otherLines.empty());
}

TEST(AnalysisBar, SettingsFileWithAForeignIdentityIsReplaced) {
    const std::string path = analysisChoicesFile().path();
    AnalysisChoices c;
    for (int i = 0; i < C::Count; ++i) c.values[static_cast<size_t>(i)] = i + 1;
    ASSERT_TRUE(saveSettings(c, nullptr));
    const std::string bytes = test::readFile(path);
    ASSERT_EQ(bytes.size(), 30u + 14u * 4u);
    AnalysisChoices back;
    EXPECT_TRUE(loadOrWriteDefaults(back, nullptr));
    EXPECT_EQ(back, c);

    std::string foreign = bytes;
    foreign[16] = '2';  // MIR_QAR4_SELT_002
    ASSERT_TRUE(test::writeFile(path, foreign));
    EXPECT_FALSE(loadOrWriteDefaults(back, nullptr));
    EXPECT_EQ(back, AnalysisChoices{});
    EXPECT_TRUE(loadOrWriteDefaults(back, nullptr));  // the defaults were written back
}

TEST(DisplayOptionsFile, ReadWriteAndForeignIdentity) {
    const std::string path = displayOptionsFile().path();
    DisplayOptions o;
    ASSERT_TRUE(saveSettings(o, nullptr));
    std::string bytes = test::readFile(path);
    ASSERT_EQ(bytes.size(), 30u + 6u * 4u + 9u * 4u);
    EXPECT_EQ(std::string(bytes.data()), "MIR_QAR4_DISP_001");

    o.editScope = 1;
    o.traceCount = 5;
    o.items = {30, 30, 44, 777};
    ASSERT_TRUE(saveSettings(o, nullptr));
    DisplayOptions back;
    EXPECT_TRUE(loadOrWriteDefaults(back, nullptr));
    EXPECT_EQ(back, o);
    EXPECT_EQ(ChosenItemsForPage(back.items), (std::vector<std::int32_t>{30, 30, 44}));

    bytes = test::readFile(path);
    bytes[16] = '2';
    ASSERT_TRUE(test::writeFile(path, bytes));
    EXPECT_FALSE(loadOrWriteDefaults(back, nullptr));
    EXPECT_EQ(back, DisplayOptions{});
    EXPECT_EQ(test::readFile(path).size(), 30u + 6u * 4u + 9u * 4u);

    // An item count out of range ends the record with the default items.
    bytes = test::readFile(path);
    const std::int32_t bad = 100000;
    std::memcpy(bytes.data() + 30 + 5 * 4, &bad, 4);
    ASSERT_TRUE(test::writeFile(path, bytes));
    EXPECT_TRUE(loadOrWriteDefaults(back, nullptr));
    EXPECT_EQ(back.items, DisplayOptions{}.items);
}

TEST(DisplayOptionsFile, ChosenItemRules) {
    EXPECT_EQ(ParameterItems().size(), 32u);
    std::vector<std::int32_t> chosen;
    AddAllItems(chosen);
    AddAllItems(chosen);
    EXPECT_EQ(chosen.size(), 33u);  // every item once, the blank line once per press
    EXPECT_EQ(std::count(chosen.begin(), chosen.end(), kBlankLineItem), 2);

    chosen = {31, 32};
    AddChosenItems(chosen, {32, 30, 45, 30});
    EXPECT_EQ(chosen, (std::vector<std::int32_t>{31, 32, 30, 45, 30}));
    RemoveChosenItems(chosen, {4, 0, 2});
    EXPECT_EQ(chosen, (std::vector<std::int32_t>{32, 45}));
    DisplayOptions d;
    EXPECT_EQ(d.items, (std::vector<std::int32_t>{31, 32, 36, 35, 3, 30, 33, 34, 13}));
    d.traceCount = 9;
    EXPECT_EQ(d.multiTraceCount(), 6);
}

}  // namespace
}  // namespace sondara
