// The page settings of printing: the stored block, its settings file and the texts
// of the page-settings dialogs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "core/app/AppPaths.h"
#include "core/base/ByteIo.h"
#include "core/base/TextCodec.h"
#include "core/output/PrintSettings.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

std::string blockOf(const PrintSettings& s) {
    ByteWriter w;
    writePrintSettings(w, s);
    return w.take();
}

std::int32_t i32At(const std::string& b, size_t off) {
    std::int32_t v;
    std::memcpy(&v, b.data() + off, 4);
    return v;
}
float f32At(const std::string& b, size_t off) {
    float v;
    std::memcpy(&v, b.data() + off, 4);
    return v;
}
std::string textAt(const std::string& b, size_t off, size_t n) {
    return gbkToUtf8(std::string(b.data() + off, strnlen(b.data() + off, n)));
}

// Points the settings folder at a fresh directory and back at the test process's
// folder afterwards.
struct SettingsDirScope {
    test::TempDir dir;
    std::string before =
        std::getenv("SONDARA_SETTINGS_DIR") ? std::getenv("SONDARA_SETTINGS_DIR") : "";
    SettingsDirScope() { setenv("SONDARA_SETTINGS_DIR", dir.path().c_str(), 1); }
    ~SettingsDirScope() {
        if (before.empty())
            unsetenv("SONDARA_SETTINGS_DIR");
        else
            setenv("SONDARA_SETTINGS_DIR", before.c_str(), 1);
    }
};

PrintSettings readBlock(const std::string& bytes) {
    PrintSettings s;
    ByteReader r(memorySource(bytes));
    readPrintSettings(r, s);
    return s;
}

TEST(PrintSettings, DefaultBlockHasEveryFieldAtItsOffset) {
    const std::string b = blockOf(PrintSettings{});
    ASSERT_EQ(b.size(), kPrintSettingsBytes);
    EXPECT_EQ(i32At(b, 0), 2);
    EXPECT_EQ(i32At(b, 4), 2);
    EXPECT_EQ(f32At(b, 8), 1.0f);
    EXPECT_EQ(i32At(b, 12), 0);
    for (int cell = 0; cell < 100; ++cell) {
        const int want = cell == 0 ? 0 : cell == 1 ? 1 : cell == 10 ? 2 : cell == 11 ? 3 : 100;
        EXPECT_EQ(static_cast<unsigned char>(b[16 + static_cast<size_t>(cell)]), want) << cell;
    }
    EXPECT_EQ(b.substr(116, 5000), std::string(5000, '\0'));
    const std::int32_t items[] = {1, 0, 0, 0, 0, 0, 0};  // 波形 .. 对数谱, reserved, 当前显示
    for (int k = 0; k < 7; ++k) EXPECT_EQ(i32At(b, 5116 + 4 * static_cast<size_t>(k)), items[k]);
    EXPECT_EQ(i32At(b, 5144), 12);                         // font height
    EXPECT_EQ(i32At(b, 5160), 90);                         // weight
    EXPECT_EQ(static_cast<unsigned char>(b[5171]), 0x30);  // family
    EXPECT_EQ(textAt(b, 5172, 32), "宋体");
    EXPECT_EQ(textAt(b, 5204, 100), "基桩动测法检测分析报告");
    EXPECT_EQ(textAt(b, 5304, 100), "Dorvanel");
    const std::int32_t ints[] = {0, 5, 1, 1, 1, 1, 1, 4, 1, 0};
    for (int k = 0; k < 10; ++k) EXPECT_EQ(i32At(b, 5404 + 4 * static_cast<size_t>(k)), ints[k]);
    EXPECT_EQ(f32At(b, 5444), 2.0f);
    EXPECT_EQ(f32At(b, 5448), 2.0f);
    EXPECT_EQ(f32At(b, 5452), 1.5f);
    EXPECT_EQ(f32At(b, 5456), 1.5f);
}

TEST(PrintSettings, FileMissingOrForeignIsReplacedByTheDefaults) {
    SettingsDirScope scope;
    const test::TempDir& dir = scope.dir;
    const std::string path = printSettingsFile().path();
    EXPECT_EQ(path, dir.file("MIR_QAR4_PRINT_001.ini"));

    for (const std::string& before :
         {std::string(), std::string("MIR_QAR4_PRINT_002") + std::string(5472, 'x')}) {
        if (!before.empty())
            ASSERT_TRUE(test::writeFile(path, before));
        else
            std::remove(path.c_str());
        PrintSettings s;
        s.rows = 7;
        test::ScriptedPrompter p;
        EXPECT_FALSE(loadOrWriteDefaults(s, &p));
        EXPECT_EQ(s, PrintSettings{});
        const std::string file = test::readFile(path);
        ASSERT_EQ(file.size(), 30 + kPrintSettingsBytes);
        EXPECT_EQ(std::string(file.c_str()), "MIR_QAR4_PRINT_001");
        EXPECT_EQ(file.substr(30), blockOf(PrintSettings{}));
        EXPECT_TRUE(p.infos.empty());
    }
}

TEST(PrintSettings, RoundTripKeepsEveryChangedField) {
    SettingsDirScope scope;
    PrintSettings s;
    s.tableRows = 3;
    s.tableColumns = 4;
    s.tableRowHeightCm = 0.8f;
    s.tableGridLines = 1;
    SetHeaderTableCellFromEntry(s, 23, "监理：张工");
    SetHeaderTableCellFromEntry(s, 12, "文件名");
    s.perPointItems = {1, 1, 0, 1, 0};
    s.currentDisplay = 1;
    s.font.height = 10;
    s.font.weight = 700;
    s.font.italic = 1;
    setText(s.font.faceName, utf8ToGbk("黑体"));
    setText(s.headerText, utf8ToGbk("某大桥桩基检测"));
    setText(s.footerText, "");
    s.pageNumberFormat = 4;
    s.pageNumberPosition = 1;
    s.firstPage = 5;
    s.printTable = 0;
    s.rows = 3;
    s.columns = 2;
    s.autoLayout = 1;
    s.marginTopCm = 2.5f;
    s.marginBottomCm = 0.0f;
    s.marginLeftCm = 1.0f;
    s.marginRightCm = 10.0f;
    test::ScriptedPrompter p;
    ASSERT_TRUE(saveSettings(s, &p));
    PrintSettings back;
    EXPECT_TRUE(loadOrWriteDefaults(back, &p));
    EXPECT_EQ(back, s);
    EXPECT_EQ(HeaderTableCellCaption(back, 23), "监理：张工");
    EXPECT_EQ(HeaderTableCellCaption(back, 12), "<文件名>");

    // A folder that cannot hold the file: the message, the values stay in memory.
    setenv("SONDARA_SETTINGS_DIR", "/proc/sondara-no-such-dir", 1);
    EXPECT_FALSE(saveSettings(s, &p));
    EXPECT_EQ(p.infos, std::vector<std::string>{"写设置文件失败！"});
}

TEST(PrintSettings, ShortOrDamagedBlocksStayInRange) {
    // A block cut inside the print items keeps the defaults from there on.
    PrintSettings s;
    s.tableRows = 5;
    s.perPointItems = {0, 1, 1, 1, 1};
    s.rows = 9;
    const std::string full = blockOf(s);
    const PrintSettings cut = readBlock(full.substr(0, 5122));
    EXPECT_EQ(cut.tableRows, 5);
    EXPECT_EQ(cut.perPointItems[0], 0);  // whole field read
    EXPECT_EQ(cut.perPointItems[1], 0);  // half a field: the default
    EXPECT_EQ(cut.rows, 4);

    // Values no dialog could give are brought into range; texts end with a NUL.
    PrintSettings bad;
    bad.tableRows = 1000;
    bad.tableColumns = -3;
    bad.tableRowHeightCm = std::numeric_limits<float>::quiet_NaN();
    bad.pageNumberFormat = 9;
    bad.pageNumberPosition = -1;
    bad.firstPage = 0;
    bad.rows = 21;
    bad.columns = 0;
    bad.marginTopCm = std::numeric_limits<float>::infinity();
    bad.marginLeftCm = -2.0f;
    bad.marginRightCm = 11.0f;
    bad.font.height = 2000000000;
    std::string bytes = blockOf(bad);
    std::memset(bytes.data() + 5204, 'A', 100);  // header text without a NUL
    std::memset(bytes.data() + 116, 'B', 50);    // cell 0's text without a NUL
    const PrintSettings got = readBlock(bytes);
    EXPECT_EQ(got.tableRows, 10);
    EXPECT_EQ(got.tableColumns, 1);
    EXPECT_EQ(got.tableRowHeightCm, 1.0f);
    EXPECT_EQ(got.pageNumberFormat, 0);
    EXPECT_EQ(got.pageNumberPosition, 5);
    EXPECT_EQ(got.firstPage, 1);
    EXPECT_EQ(got.rows, 20);
    EXPECT_EQ(got.columns, 1);
    EXPECT_EQ(got.marginTopCm, 2.0f);
    EXPECT_EQ(got.marginLeftCm, 0.0f);
    EXPECT_EQ(got.marginRightCm, 10.0f);
    EXPECT_EQ(got.font.height, 1000);
    EXPECT_EQ(textOf(got.headerText), std::string(99, 'A'));
    EXPECT_EQ(textOf(got.cellTexts[0]), std::string(49, 'B'));
}

TEST(PrintSettings, TextsAreCutWithoutSplittingACharacter) {
    PrintSettings s;
    // 60 Chinese characters are 120 GBK bytes: 49 whole characters fit in 99 bytes.
    std::string long60;
    for (int i = 0; i < 60; ++i) long60 += "桩";
    setText(s.headerText, utf8ToGbk(long60));
    EXPECT_EQ(textOf(s.headerText).size(), 98u);
    SetHeaderTableCellFromEntry(s, 5, long60);
    EXPECT_EQ(s.cellKinds[5], kFreeTextCell);
    EXPECT_EQ(textOf(s.cellTexts[5]).size(), 48u);
    SetHeaderTableCellFromEntry(s, 5, std::string(80, 'x'));
    EXPECT_EQ(HeaderTableCellCaption(s, 5), std::string(49, 'x'));
}

TEST(PrintSettings, PageNumberFormats) {
    const struct {
        int format, page, total;
        const char* text;
    } cases[] = {{0, 6, 9, "6"},     {1, 6, 9, ".6."},         {2, 6, 9, "--6--"},
                 {3, 6, 9, "第6页"}, {4, 2, 3, "共3页 第2页"}, {7, 2, 3, "2"}};
    for (const auto& c : cases) EXPECT_EQ(FormatPageNumber(c.format, c.page, c.total), c.text);
}

TEST(PrintSettings, DefaultPaperEntry) {
    EXPECT_EQ(DefaultPaperEntry({"Letter", "Legal", "a4 small", "A4"}), 2);
    EXPECT_EQ(DefaultPaperEntry({"1", "2", "3", "4", "5", "6", "7", "8"}), 6);
    EXPECT_EQ(DefaultPaperEntry({"Letter", "B5"}), 1);
    EXPECT_EQ(DefaultPaperEntry({}), -1);
}

}  // namespace
}  // namespace sondara
