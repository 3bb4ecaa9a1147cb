#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/app/AppPaths.h"
#include "core/app/RunLog.h"
#include "core/app/SettingsFile.h"
#include "core/base/TextCodec.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

struct LogFixture {
    test::TempDir dir;
    RunLog log{dir.file("log.txt")};
    std::time_t now = 0;
    LogFixture() {
        std::tm tm{};
        tm.tm_year = 2026 - 1900;
        tm.tm_mon = 11;
        tm.tm_mday = 10;
        tm.tm_hour = 12;
        tm.tm_min = 5;
        tm.tm_sec = 7;
        tm.tm_isdst = -1;
        now = std::mktime(&tm);
        log.setClock([this] { return now; });
    }
    std::vector<std::string> lines() {
        std::string t = gbkToUtf8(test::readFile(log.path()));
        std::vector<std::string> out;
        std::size_t b = 0, e;
        while ((e = t.find('\n', b)) != std::string::npos) {
            out.push_back(t.substr(b, e - b));
            b = e + 1;
        }
        return out;
    }
};

TEST(RunLog, LineFormat) {
    LogFixture f;
    f.log.write("打开");
    ASSERT_EQ(f.lines().size(), 1u);
    EXPECT_EQ(f.lines()[0], "时间：2026/12/10||12:5:07____打开");
    // the file holds GBK bytes
    EXPECT_EQ(test::readFile(f.log.path()).find("打开"), std::string::npos);
}

TEST(RunLog, DuplicatesWithinTwoSecondsAreDropped) {
    struct Case {
        const char* second;
        int gap;
        std::size_t lines;
    } cases[] = {{"A", 2, 1}, {"A", 3, 2}, {"B", 0, 2}};
    for (const Case& c : cases) {
        LogFixture f;
        f.log.write("A");
        f.now += c.gap;
        f.log.write(c.second);
        EXPECT_EQ(f.lines().size(), c.lines) << c.second << " after " << c.gap;
    }
}

TEST(RunLog, LongLogStartsAnew) {
    LogFixture f;
    test::writeFile(f.log.path(), std::string(98001, 'x'));
    f.log.write("new");
    ASSERT_EQ(f.lines().size(), 1u);
    EXPECT_EQ(f.lines()[0], "时间：2026/12/10||12:5:07____new");
    test::writeFile(f.log.path(), std::string(98000, 'x'));
    f.log.write("kept");
    EXPECT_GT(test::readFile(f.log.path()).size(), 98000u);
}

TEST(RunLog, UnwritableLogLosesTheEventSilently) {
    LogFixture f;
    f.log.setPath(f.dir.file("no/such/dir/log.txt"));
    f.log.write("lost");  // must not throw or crash
    SUCCEED();
}

TEST(SettingsFile, DefaultsAreWrittenWhenMissingOrForeign) {
    // every settings file goes to the test's own folder
    ASSERT_NE(settingsDir().find(test::processTempDir()), std::string::npos);
    std::filesystem::remove(cursorSettingsFile().path());
    CursorSettings c;
    c.cursorStyle = 1;
    test::ScriptedPrompter p;
    EXPECT_FALSE(loadOrWriteDefaults(c, &p));
    EXPECT_EQ(c.cursorStyle, 2);
    std::string bytes = test::readFile(cursorSettingsFile().path());
    ASSERT_EQ(bytes.size(), 34u);
    EXPECT_EQ(std::string(bytes.c_str()), "MIR_QAR4_CURS_001");
    EXPECT_EQ(bytes[30], 2);

    c.cursorStyle = 1;
    ASSERT_TRUE(saveSettings(c, &p));
    CursorSettings back;
    EXPECT_TRUE(loadOrWriteDefaults(back, &p));
    EXPECT_EQ(back.cursorStyle, 1);

    // an identity differing in its last digit is foreign: defaults, written back
    bytes = test::readFile(cursorSettingsFile().path());
    bytes[16] = '2';
    test::writeFile(cursorSettingsFile().path(), bytes);
    EXPECT_FALSE(loadOrWriteDefaults(back, &p));
    EXPECT_EQ(back.cursorStyle, 2);
    EXPECT_EQ(test::readFile(cursorSettingsFile().path())[16], '1');
    EXPECT_TRUE(p.infos.empty());
}

TEST(SettingsFile, RecordsAndDefaults) {
    test::ScriptedPrompter p;
    std::filesystem::remove(autoHeadSettingsFile().path());
    std::filesystem::remove(editSettingsFile().path());
    AutoHeadSettings a;
    EXPECT_FALSE(loadOrWriteDefaults(a, &p));
    EXPECT_EQ(a.direction, 1);
    EXPECT_EQ(a.ignorePoints, 5);
    EXPECT_EQ(a.startRatio, 15);
    EXPECT_EQ(test::readFile(autoHeadSettingsFile().path()).size(), 30u + 1 + 4 + 4);
    a.direction = 0;
    a.ignorePoints = 9;
    a.startRatio = 40;
    saveSettings(a, &p);
    AutoHeadSettings b;
    EXPECT_TRUE(loadOrWriteDefaults(b, &p));
    EXPECT_EQ(b.direction, 0);
    EXPECT_EQ(b.ignorePoints, 9);
    EXPECT_EQ(b.startRatio, 40);

    EditSettings e;
    EXPECT_FALSE(loadOrWriteDefaults(e, &p));
    EXPECT_EQ(e.pointEditScope, 0);

    // a record shorter than expected keeps the defaults for the missing fields
    std::string bytes = test::readFile(autoHeadSettingsFile().path());
    test::writeFile(autoHeadSettingsFile().path(), bytes.substr(0, 31 + 4));
    AutoHeadSettings c;
    EXPECT_TRUE(loadOrWriteDefaults(c, &p));
    EXPECT_EQ(c.ignorePoints, 9);
    EXPECT_EQ(c.startRatio, 15);
}

TEST(SettingsFile, WriteFailureIsReported) {
    test::ScriptedPrompter p;
    SettingsFile f("x.ini", "MIR_QAR4_TEST_001", "/nonexistent-dir/sub");
    EXPECT_FALSE(f.write([](ByteWriter& w) { w.i32(1); }, &p));
    ASSERT_EQ(p.infos.size(), 1u);
    EXPECT_EQ(p.infos[0], "写设置文件失败！");
}

}  // namespace
}  // namespace sondara
