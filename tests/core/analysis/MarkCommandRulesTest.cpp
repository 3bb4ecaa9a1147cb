// The rules of the 波形分析 commands: defect kinds of the commands, enable rules, the
// 自动桩底 prompt, the defect dialog's depth text and name history, and the pile length
// text of the analysis bar.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/analysis/MarkCommandRules.h"
#include "core/analysis/PileLengthText.h"

namespace sondara {
namespace {

TEST(PileLengthText, ShortestTextThatReadsBackAsTheSameFloat) {
    struct Case {
        float v;
        const char* text;
    } cases[] = {
        {19.72f, "19.72"},  // "%f" of the widened float gives 19.719999
        {12.5f, "12.5"},   {12.0f, "12"},
        {0.0f, "0"},       {-0.0f, "0"},
        {0.1f, "0.1"},     {100.0f, "100"},
        {7.05f, "7.05"},   {-3.25f, "-3.25"},
        {1e-3f, "0.001"},  {16777216.0f, "16777216"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PileLengthText(c.v), c.text) << c.text;
        // Whatever the value, the text reads back as the very same float.
        EXPECT_EQ(std::strtof(PileLengthText(c.v).c_str(), nullptr), c.v) << c.text;
    }
    // No exponent even at the ends of the range; still exact.
    const float big = std::numeric_limits<float>::max();
    const std::string b = PileLengthText(big);
    EXPECT_EQ(b.find('e'), std::string::npos);
    EXPECT_EQ(std::strtof(b.c_str(), nullptr), big);
    const float tiny = std::numeric_limits<float>::denorm_min();
    EXPECT_EQ(std::strtof(PileLengthText(tiny).c_str(), nullptr), tiny);
    EXPECT_EQ(PileLengthText(std::numeric_limits<float>::quiet_NaN()), "nan");
}

TEST(MarkCommandRules, DefectCommandsPlaceTheirKinds) {
    EXPECT_EQ(DefectKindOfCommand(CommandId::DefectBulge), 1);         // 扩径
    EXPECT_EQ(DefectKindOfCommand(CommandId::DefectNecking), 2);       // 缩径
    EXPECT_EQ(DefectKindOfCommand(CommandId::DefectBreak), 3);         // 断桩
    EXPECT_EQ(DefectKindOfCommand(CommandId::DefectCrack), 4);         // 裂缝 -> 裂纹
    EXPECT_EQ(DefectKindOfCommand(CommandId::DefectMudInclusion), 5);  // 夹泥
    EXPECT_EQ(DefectKindOfCommand(CommandId::DefectSegregation), 6);   // 离析
    EXPECT_EQ(DefectKindOfCommand(CommandId::DefectEnlargedBase), 7);  // 扩底
    EXPECT_EQ(DefectKindOfCommand(CommandId::DefectCustom), -1);
    EXPECT_EQ(DefectKindOfCommand(CommandId::MarkHead), -1);
    EXPECT_EQ(MarkCommandIds().size(), 16u);
    for (CommandId id : MarkCommandIds()) EXPECT_TRUE(IsMarkCommand(id));
    EXPECT_FALSE(IsMarkCommand(CommandId::ProcFilter));
}

TEST(MarkCommandRules, EnableRulesFollowTheStaticCursorAndThePanes) {
    MarkCommandContext none;
    MarkCommandContext time;
    time.hasPoints = time.hasPanes = time.cursorShown = time.cursorInTimePane = true;
    MarkCommandContext spectrum = time;
    spectrum.cursorInTimePane = false;
    spectrum.cursorInMarkerPane = true;
    MarkCommandContext hidden = time;  // the cursor stands in no pane
    hidden.cursorShown = false;

    for (CommandId id : {CommandId::MarkHead, CommandId::MarkToe, CommandId::DefectBreak,
                         CommandId::DefectCustom}) {
        EXPECT_TRUE(MarkCommandEnabled(id, time)) << toInt(id);
        EXPECT_FALSE(MarkCommandEnabled(id, spectrum)) << toInt(id);
        EXPECT_FALSE(MarkCommandEnabled(id, hidden)) << toInt(id);
        EXPECT_FALSE(MarkCommandEnabled(id, none)) << toInt(id);
    }
    // 自动桩头 and 自动桩底 are never greyed; they act only where 桩头 could.
    for (const MarkCommandContext* c : {&time, &spectrum, &hidden, &none}) {
        EXPECT_TRUE(MarkCommandEnabled(CommandId::MarkAutoHead, *c));
        EXPECT_TRUE(MarkCommandEnabled(CommandId::MarkAutoToe, *c));
        EXPECT_EQ(AutoMarksApply(*c), MarkCommandEnabled(CommandId::MarkHead, *c));
    }
    EXPECT_TRUE(MarkCommandEnabled(CommandId::MarkLine, spectrum));
    EXPECT_FALSE(MarkCommandEnabled(CommandId::MarkLine, time));

    // 编辑 / 删除: panes and feature bit value 4.
    EXPECT_TRUE(MarkCommandEnabled(CommandId::MarkEdit, time));
    MarkCommandContext noEditing = time;
    noEditing.featureMask = 3;
    EXPECT_FALSE(MarkCommandEnabled(CommandId::MarkDelete, noEditing));
    EXPECT_FALSE(MarkCommandEnabled(CommandId::MarkEdit, none));

    // 清除: the active pane shows marks, or every pane counts.
    MarkCommandContext clear;
    clear.hasPoints = true;
    EXPECT_FALSE(MarkCommandEnabled(CommandId::MarkClear, clear));
    clear.activePaneMarks = 2;
    EXPECT_TRUE(MarkCommandEnabled(CommandId::MarkClear, clear));
    clear.activePaneMarks = 0;
    clear.editScopeAll = true;
    EXPECT_TRUE(MarkCommandEnabled(CommandId::MarkClear, clear));
    clear.hasPoints = false;
    EXPECT_FALSE(MarkCommandEnabled(CommandId::MarkClear, clear));
}

TEST(MarkCommandRules, AutoToeAsksLengthUnderKeepSpeedElseSpeed) {
    TestPoint p;
    p.pileLength = 19.72f;
    p.waveSpeed = 3800;
    AutoToePrompt a = MakeAutoToePrompt(&p, LengthFollowMode::KeepSpeed);
    EXPECT_TRUE(a.asksLength);
    EXPECT_EQ(a.label, "指定桩长(m)");
    EXPECT_EQ(a.text, "19.72");
    a = MakeAutoToePrompt(&p, LengthFollowMode::KeepLength);
    EXPECT_FALSE(a.asksLength);
    EXPECT_EQ(a.label, "指定波速(m/s)");
    EXPECT_EQ(a.text, "3800");
    EXPECT_EQ(MakeAutoToePrompt(nullptr, LengthFollowMode::KeepLength).text, "");
}

TEST(MarkCommandRules, DefectDepthTextIsMetresBelowTheHead) {
    TestPoint p;
    p.samples.assign(1024, 0.0f);
    p.sampleInterval = 20.0f;
    p.waveSpeed = 4000;
    p.headIndex = 100;
    EXPECT_EQ(DefectDepthText(p, 350), "10.00m");  // 250 samples * 20 us * 4000 / 2
    EXPECT_EQ(DefectDepthText(p, 100), "0.00m");
}

TEST(MarkCommandRules, NameHistoryKeepsTheNewestOwnNamesOnce) {
    std::vector<std::string> h;
    RememberDefectName(h, "  空洞 ");
    RememberDefectName(h, "缩径");  // a table name is offered anyway
    RememberDefectName(h, "   ");
    RememberDefectName(h, "蜂窝");
    RememberDefectName(h, "空洞");
    EXPECT_EQ(h, (std::vector<std::string>{"空洞", "蜂窝"}));
    for (int i = 0; i < 30; ++i) RememberDefectName(h, "名" + std::to_string(i));
    EXPECT_EQ(h.size(), static_cast<size_t>(kDefectNameHistory));
    EXPECT_EQ(h.front(), "名29");

    const std::vector<std::string> choices = DefectNameChoices({"空洞", "扩底", ""});
    const std::vector<std::string> expected = {"扩径", "缩径", "断桩", "裂纹",
                                               "夹泥", "离析", "扩底", "空洞"};
    EXPECT_EQ(choices, expected);
}

}  // namespace
}  // namespace sondara
