#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "core/app/AppPaths.h"
#include "core/base/TextCodec.h"
#include "core/fileio/TextExport.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

TestPoint point(const char* pileNo, std::vector<float> samples, int checked) {
    TestPoint p = test::simplePoint(pileNo, 0);
    p.samples = std::move(samples);
    p.rawSamples = p.samples;
    p.sampleInterval = 20.0f;
    p.checked = checked;
    return p;
}

CSondaraDoc threePoints() {
    return test::makeDoc({point("P1", {0.0f, 1.25f, -2.5f}, 1), point("P2", {3.0f}, 0),
                          point(utf8ToGbk("桩3").c_str(), {0.004f, -0.004f}, 1)});
}

std::string exportText(const CSondaraDoc& d, const TextExportSettings& s) {
    std::string msg;
    std::vector<int> pts = textExportPoints(d, s.source, &msg);
    ByteWriter w;
    writeWaveText(w, d, s, pts);
    return gbkToUtf8(w.buffer());
}

TEST(TextExport, Formats) {
    CSondaraDoc d = threePoints();
    struct Case {
        const char* name;
        TextExportSettings s;
        const char* expected;
    };
    auto with = [](bool header, bool time, const char* sep, TextSource src) {
        TextExportSettings s;
        s.header = header;
        s.timeColumn = time;
        s.separator = sep;
        s.source = src;
        return s;
    };
    const Case cases[] = {
        {"ticked with header", with(true, false, " ", TextSource::Checked),
         "测点数：2\n测点桩号：P1\n数据长度：3\n0.00 1.25 -2.50 \n测点桩号：桩3\n数据长度：2\n0.00 "
         "-0.00 \n"},
        {"ticked without header runs on one line", with(false, false, " ", TextSource::Checked),
         "0.00 1.25 -2.50 0.00 -0.00 "},
        {"time column and bar", with(false, true, "|", TextSource::Checked),
         "0.00|0.00|20.00|1.25|40.00|-2.50|0.00|0.00|20.00|-0.00|"},
        {"current point: no line break after it", with(true, false, ",", TextSource::Current),
         "测点数：1\n测点桩号：P1\n数据长度：3\n0.00,1.25,-2.50,"},
        {"all points", with(true, false, "；", TextSource::All),
         "测点数：3\n测点桩号：P1\n数据长度：3\n0.00；1.25；-2.50；\n测点桩号：P2\n数据长度：1\n3."
         "00；\n"
         "测点桩号：桩3\n数据长度：2\n0.00；-0.00；\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(exportText(d, c.s), c.expected);
    }
}

TEST(TextExport, AllPointsAreCountedWhateverIsTicked) {
    std::vector<TestPoint> pts;
    for (int i = 0; i < 10; ++i) pts.push_back(point("P", {1.0f}, i < 2));
    CSondaraDoc d = test::makeDoc(std::move(pts));
    TextExportSettings s;
    s.source = TextSource::All;
    EXPECT_EQ(exportText(d, s).substr(0, std::string("测点数：10\n").size()), "测点数：10\n");
}

TEST(TextExport, ValuesAreRoundedLikePrintfInTheCLocale) {
    std::vector<float> v = {1.005f, 2.675f, -0.005f, 0.125f, 123456.789f,
                            -1e-9f, 1e10f,  0.375f,  -7.995f};
    CSondaraDoc d = test::makeDoc({point("P", v, 1)});
    TextExportSettings s;
    s.header = false;
    std::string expected;
    for (float x : v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%0.2f ", static_cast<double>(x));
        expected += buf;
    }
    EXPECT_EQ(exportText(d, s), expected);
}

TEST(TextExport, WritesTheFileOrSaysWhyNot) {
    CSondaraDoc d = threePoints();
    test::TempDir dir;
    TextExportSettings s;
    s.path = dir.file("out.txt");
    s.separator = "|";
    ASSERT_EQ(ExportWaveText(d, s), "");
    EXPECT_TRUE(test::readFile(s.path).starts_with(utf8ToGbk("测点数：2\n")));

    s.path = dir.file("missing/out.txt");
    EXPECT_EQ(ExportWaveText(d, s), "文件路径设置错误！");

    CSondaraDoc none = test::makeDoc({point("P", {1.0f}, 0)});
    none.selectPoint(-1);
    s.path = dir.file("never.txt");
    s.source = TextSource::Current;
    EXPECT_EQ(ExportWaveText(none, s), "无当前测点数据！");
    s.source = TextSource::Checked;
    EXPECT_EQ(ExportWaveText(none, s), "无勾选测点数据！");
    CSondaraDoc empty = test::makeDoc({});
    s.source = TextSource::All;
    EXPECT_EQ(ExportWaveText(empty, s), "无有效测点数据！");
    EXPECT_FALSE(std::filesystem::exists(s.path));
}

TEST(TextExportDialog, ValidationInTheDialogsOrder) {
    auto form = [](bool readable, int source, const char* sep, const char* path) {
        TextExportForm f;
        f.readable = readable;
        f.source = source;
        f.separator = sep;
        f.path = path;
        return f;
    };
    struct Case {
        TextExportForm f;
        const char* message;
    };
    const Case cases[] = {
        {form(false, 1, ",", "/tmp/a.txt"), "参数填写有误！"},
        {form(true, -1, ",", "/tmp/a.txt"), "参数填写有误！"},
        {form(true, 3, ",", "/tmp/a.txt"), "参数填写有误！"},
        {form(true, 1, "", ""), "分隔符不能为空！"},
        {form(true, 1, "%d", ""), "分隔符不能包含特殊字符（%）！"},
        {form(true, 1, ",", ""), "保存路径设置错误！"},
        {form(true, 1, ",", "outData.txt"), "保存路径设置错误！"},
        {form(true, 1, ",", "c:\\outData.txt"), "保存路径设置错误！"},
        {form(true, 1, ",", "/"), "保存路径设置错误！"},
        {form(true, 1, ",", "/tmp/dir/"), "保存路径设置错误！"},
        {form(true, 2, ",", "/tmp/a.txt"), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.f.separator + " " + c.f.path);
        TextExportSettings out;
        EXPECT_EQ(validateTextExportForm(c.f, out), c.message);
    }

    TextExportSettings out;
    out.valueKind = 1;
    TextExportForm f = form(true, 0, " (空格)", "/home/u/导出.txt");
    f.header = false;
    f.timeColumn = true;
    ASSERT_EQ(validateTextExportForm(f, out), "");
    EXPECT_EQ(out.separator, " ");
    EXPECT_EQ(out.source, TextSource::Current);
    EXPECT_FALSE(out.header);
    EXPECT_TRUE(out.timeColumn);
    EXPECT_EQ(out.valueKind, 1);
    EXPECT_EQ(out.path, "/home/u/导出.txt");
    EXPECT_EQ(formOf(out).separator, " (空格)");
}

TEST(TextExportSettingsFile, DefaultsAreWrittenWhenTheFileIsMissingOrForeign) {
    test::TempDir dir;
    const std::string path = textExportSettingsPath(dir.path());
    EXPECT_EQ(path, dir.file("MirSetOutT.dat"));
    EXPECT_EQ(textExportSettingsPath().rfind(settingsDir(), 0), 0u);

    TextExportSettings s;
    s.separator = "x";
    EXPECT_FALSE(loadTextExportSettings(s, dir.path()));
    const TextExportSettings def = defaultTextExportSettings();
    EXPECT_EQ(s.separator, " ");
    EXPECT_EQ(s.source, TextSource::Checked);
    EXPECT_TRUE(s.header);
    EXPECT_FALSE(s.timeColumn);
    EXPECT_EQ(s.path, def.path);
    EXPECT_EQ(def.path.front(), '/');
    EXPECT_TRUE(def.path.ends_with("/outData.txt"));

    std::string id("OUTT_SET_V01\0\0\0\0\0\0\0\0", 20);
    std::string expected = id + std::string("\1\0\0", 3) + std::string("\2\0\0\0 \0", 6) + '\1';
    std::string p = def.path;
    expected += std::string(1, static_cast<char>(p.size() + 1)) + std::string(3, '\0') + p + '\0';
    EXPECT_EQ(test::readFile(path), expected);

    TextExportSettings custom;
    custom.header = false;
    custom.timeColumn = true;
    custom.valueKind = 1;
    custom.separator = "|";
    custom.source = TextSource::All;
    custom.path = "/数据/导出.txt";
    ASSERT_TRUE(saveTextExportSettings(custom, dir.path()));
    TextExportSettings back;
    ASSERT_TRUE(loadTextExportSettings(back, dir.path()));
    EXPECT_EQ(back.separator, "|");
    EXPECT_EQ(back.source, TextSource::All);
    EXPECT_FALSE(back.header);
    EXPECT_TRUE(back.timeColumn);
    EXPECT_EQ(back.valueKind, 1);
    EXPECT_EQ(back.path, "/数据/导出.txt");
    EXPECT_NE(test::readFile(path).find(utf8ToGbk("/数据/导出.txt")),
              std::string::npos);  // stored as GBK

    const std::string good = test::readFile(path);
    struct Bad {
        const char* name;
        std::string bytes;
    };
    std::string foreign = good;
    foreign[11] = '2';
    std::string hugeBlob = good;
    hugeBlob[23] = '\x10';  // separator blob of 0x00000410 bytes (> 1024)
    hugeBlob[24] = '\x04';
    std::string badSource = good;
    badSource[23 + 4 + 2] = 3;
    const Bad bads[] = {
        {"foreign identity", foreign},
        {"truncated", good.substr(0, good.size() - 3)},
        {"blob too long", hugeBlob},
        {"source out of range", badSource},
    };
    for (const Bad& b : bads) {
        SCOPED_TRACE(b.name);
        ASSERT_TRUE(test::writeFile(path, b.bytes));
        TextExportSettings t = custom;
        EXPECT_FALSE(loadTextExportSettings(t, dir.path()));
        EXPECT_EQ(t.separator, " ");
        EXPECT_EQ(t.source, TextSource::Checked);
        EXPECT_EQ(test::readFile(path), expected);  // the defaults were written back
    }
}

}  // namespace
}  // namespace sondara
