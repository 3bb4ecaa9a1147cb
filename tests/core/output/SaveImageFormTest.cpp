// The rules of the 保存图形 dialog and its settings file in both layouts.
#include <gtest/gtest.h>

#include "core/base/ByteIo.h"
#include "core/output/SaveImageForm.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

SaveImageForm form() {
    return SaveImageForm({DataSelection::CurrentDisplay, DataSelection::CheckedPoints}, {800, 450},
                         "/doc/", "/");
}

TEST(SaveImageForm, SizeListFollowsTheColumnCount) {
    SaveImageForm f = form();
    f.setSettings(SaveImageSettings{});
    ASSERT_EQ(f.sizeEntries().size(), 12u);
    EXPECT_EQ(f.sizeEntries()[0], "530×145");
    EXPECT_EQ(f.sizeEntries()[11], "2048×400");
    f.setColumnsText("3");
    EXPECT_EQ(f.sizeEntries(),
              (std::vector<std::string>{"176×145", "176×200", "176×270", "176×400"}));
    EXPECT_EQ(f.sizeText(), "176×145");
    f.setSizeText("900×300", true);  // any width typed is replaced by 530 / 3
    EXPECT_EQ(f.sizeText(), "176×300");
}

TEST(SaveImageForm, TypedSizesAndColumnCounts) {
    SaveImageForm f = form();
    f.setSettings(SaveImageSettings{});
    f.setSizeText("800×600", true);
    EXPECT_EQ(f.settings().width, 800);
    EXPECT_EQ(f.settings().height, 600);
    f.setSizeText("800", true);  // one number only: unchanged
    EXPECT_EQ(f.sizeText(), "800×600");
    f.setSizeText("1024 x 270", false);
    EXPECT_EQ(f.sizeText(), "1024×270");
    const std::pair<const char*, int> columns[] = {{"45", 30}, {"0", 1}, {"-3", 1},
                                                   {"", 1},    {"5", 5}, {"99999999999", 30}};
    for (const auto& [text, want] : columns) {
        f.setColumnsText(text);
        EXPECT_EQ(f.settings().wordColumns, want) << text;
    }
}

TEST(SaveImageForm, CurrentDisplayTakesItsSizeAndOkChecksIt) {
    SaveImageForm f = form();
    f.setSettings(SaveImageSettings{});
    f.setSelection(DataSelection::CurrentDisplay);
    EXPECT_EQ(f.sizeText(), "800×450");
    SaveImageForm g({DataSelection::CurrentDisplay}, {0, 0}, "/doc/", "/");
    g.setSettings(SaveImageSettings{});
    g.setSelection(DataSelection::CurrentDisplay);
    test::ScriptedPrompter p;
    EXPECT_FALSE(g.accept(p));
    EXPECT_EQ(p.infos, std::vector<std::string>{"图形尺寸设置不合理！"});
    g.setSizeText("100000×20", true);
    EXPECT_FALSE(g.accept(p));
    // sides in range but more pixels than a picture may have: refused by its size
    p.infos.clear();
    g.setSizeText("9000×8000", true);
    EXPECT_FALSE(g.accept(p));
    EXPECT_EQ(p.infos, std::vector<std::string>{
                           "图形尺寸9000×8000超过上限：宽×高最多67108864像素（如8192×8192）！"});
    g.setSizeText("8192×8192", true);
    EXPECT_TRUE(g.accept(p));
    g.setSizeText("99999×20", true);
    EXPECT_TRUE(g.accept(p));
    SaveImageSettings back;
    ASSERT_TRUE(loadSaveImageSettings(back));
    EXPECT_EQ(back.width, 99999);
    EXPECT_EQ(back.dataSelection, 1);
}

TEST(SaveImageForm, SelectionNotOfferedFallsBackAndDefaultsRestore) {
    SaveImageForm f({DataSelection::CheckedPoints}, {}, "/doc/", "/");
    SaveImageSettings s;
    s.dataSelection = 1;
    s.wordColumns = 4;
    s.target = 0;
    s.folder = "/no/such/folder/anywhere";
    f.setSettings(s);
    EXPECT_EQ(f.selection(), DataSelection::CheckedPoints);
    EXPECT_EQ(f.settings().folder, "/");  // a stored folder that is gone
    EXPECT_EQ(f.settings().width, 132);
    f.restoreDefaults();
    EXPECT_EQ(f.settings().folder, "/doc/");
    EXPECT_EQ(f.settings().wordColumns, 1);
    EXPECT_EQ(f.sizeText(), "530×145");
    EXPECT_EQ(f.settings().target, 1);
    EXPECT_EQ(f.settings().format, 0);
    EXPECT_EQ(f.selection(), DataSelection::CheckedPoints);
}

TEST(SaveImageSettings, CurrentLayoutRoundTripsAndTheOldOneIsRead) {
    SaveImageSettings s;
    s.dataSelection = 2;
    s.format = 1;
    s.wordColumns = 3;
    s.width = 176;
    s.height = 270;
    s.target = 0;
    s.folder = "/tmp/图形";
    ASSERT_TRUE(saveSaveImageSettings(s, nullptr));
    const std::string bytes = test::readFile(saveImageSettingsFile().path());
    ASSERT_EQ(bytes.size(), 30u + 24 + 260);
    EXPECT_EQ(bytes.substr(0, 16), "MIR_QAR4_BMP_002");
    EXPECT_EQ(bytes[38], 3);  // columns at offset 38
    SaveImageSettings r;
    ASSERT_TRUE(loadSaveImageSettings(r));
    EXPECT_EQ(r.folder, s.folder);
    EXPECT_EQ(r.width, 176);
    EXPECT_EQ(r.target, 0);

    // The older layout: selection 1 = 选中波形, a size index, no columns.
    const auto old = [](int sel, int format, int index) {
        return test::Bytes{}
            .text("MIR_QAR4_BMP_001", 30)
            .i32(sel)
            .i32(format)
            .i32(index)
            .i32(0)
            .text("/tmp", 260)
            .s;
    };
    const struct {
        int sel, format, index;
        int wantSel, wantFormat, w, h;
    } cases[] = {
        {1, 1, 6, 2, 1, 1024, 270},
        {0, 0, 11, 1, 0, 2048, 400},
        {5, 7, 12, 1, 0, 530, 145},
        {1, 0, -1, 2, 0, 530, 145},
    };
    for (const auto& c : cases) {
        test::writeFile(saveImageSettingsFile().path(), old(c.sel, c.format, c.index));
        SaveImageSettings o;
        ASSERT_TRUE(loadSaveImageSettings(o));
        EXPECT_EQ(o.dataSelection, c.wantSel);
        EXPECT_EQ(o.format, c.wantFormat);
        EXPECT_EQ(o.width, c.w);
        EXPECT_EQ(o.height, c.h);
        EXPECT_EQ(o.wordColumns, 1);
        EXPECT_EQ(o.folder, "/tmp");
    }
    // Neither header: not read; the form then writes the defaults.
    test::writeFile(saveImageSettingsFile().path(), "MIR_QAR4_BMP_003");
    SaveImageSettings none;
    EXPECT_FALSE(loadSaveImageSettings(none));
    SaveImageForm f = form();
    f.load(nullptr);
    EXPECT_EQ(test::readFile(saveImageSettingsFile().path()).substr(0, 16), "MIR_QAR4_BMP_002");
    EXPECT_EQ(f.sizeText(), "530×145");
}

}  // namespace
}  // namespace sondara
