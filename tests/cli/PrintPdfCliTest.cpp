// `sondara-cli print` on the sample project, read back with poppler: the text of the
// pages extracts exactly as drawn, the traces are vectors (no pictures), the print
// date is the local one, and a page without room is refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "core/app/SettingsFile.h"
#include "core/base/ByteIo.h"
#include "core/base/TextCodec.h"
#include "core/output/PrintLayout.h"
#include "core/output/PrintSettings.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

struct PrintPdfCli : ::testing::Test {
    test::TempDir dir;
    std::string sample;
    void SetUp() override {
        if (!std::getenv("SONDARA_CLI")) GTEST_SKIP() << "SONDARA_CLI is not set";
        if (test::runCommand("pdftotext -v").exitCode != 0)
            GTEST_SKIP() << "poppler-utils (pdftotext, pdfimages) missing";
        sample = dir.file("sample.qar");
        ASSERT_EQ(
            test::runCommand(test::cliPath() + " sample " + test::shellQuote(sample)).exitCode, 0);
    }
    test::RunResult print(const std::string& env, const std::string& args) {
        return test::runCommand("env -u QT_QPA_PLATFORM -u DISPLAY " + env + " " + test::cliPath() +
                                " print " + test::shellQuote(sample) + " " + args);
    }
    std::string settingsFile(const PrintSettings& s) {
        const SettingsFile f("print.ini", "MIR_QAR4_PRINT_001", dir.path());
        EXPECT_TRUE(f.write([&](ByteWriter& w) { writePrintSettings(w, s); }, nullptr));
        return f.path();
    }
    std::string text(const std::string& pdf) {
        const test::RunResult r = test::runCommand("pdftotext " + test::shellQuote(pdf) + " -");
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.out;
    }
    int images(const std::string& pdf) {
        const test::RunResult r = test::runCommand("pdfimages -list " + test::shellQuote(pdf));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        int lines = 0;
        for (char c : r.out) lines += c == '\n';
        return lines - 2;  // two heading lines
    }
    // "打印日期：%04d.%d.%d" of now on a clock `hours` ahead of UTC.
    static std::string printDate(int hours) {
        const std::time_t t = std::time(nullptr) + hours * 3600;
        std::tm g{};
        gmtime_r(&t, &g);
        char b[64];
        std::snprintf(b, sizeof b, "打印日期：%04d.%d.%d", g.tm_year + 1900, g.tm_mon + 1,
                      g.tm_mday);
        return b;
    }
};

TEST_F(PrintPdfCli, TextExtractsAsDrawnAndTracesAreVectors) {
    PrintSettings s;
    s.pageNumberFormat = 3;  // "第%d页"
    s.pageNumberPosition = 4;
    setText(s.footerText, utf8ToGbk("工程检测中心"));
    const std::string pdf = dir.file("sample.pdf");
    const test::RunResult r =
        print("", "--checked 1-3 --settings " + test::shellQuote(settingsFile(s)) + " -o " +
                      test::shellQuote(pdf));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string t = text(pdf);
    // the ideographs themselves, no radicals standing in for them; the cells' texts too
    for (const char* want :
         {"基桩动测法检测分析报告", "工程名称：", "检测单位：", "打印日期：", "波形数：3",
          "工程检测中心 第1页", "NO.", "桩头", "桩底", "桩号:1-1", "12m"})
        EXPECT_NE(t.find(want), std::string::npos) << want << "\n" << t;
    for (const char* radical : {"⼯", "⽇", "⻚"})
        EXPECT_EQ(t.find(radical), std::string::npos) << t;
    // the cells are painted as lines and texts: no picture in the file
    EXPECT_EQ(images(pdf), 0);
}

TEST_F(PrintPdfCli, PrintDateIsTheLocalDate) {
    // Clocks 26 hours apart never share a date: a date of Greenwich shows on one at most.
    for (const auto& [tz, hours] : {std::pair{"TZ=AAA-14", 14}, std::pair{"TZ=BBB+12", -12}}) {
        const std::string pdf = dir.file("date.pdf");
        const std::string before = printDate(hours);
        const test::RunResult r = print(tz, "--checked 1 -o " + test::shellQuote(pdf));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::string t = text(pdf);
        EXPECT_TRUE(t.find(before) != std::string::npos ||
                    t.find(printDate(hours)) != std::string::npos)
            << tz << ": " << before << "\n"
            << t;
    }
}

TEST_F(PrintPdfCli, NoRoomOnThePageIsRefusedAndWritesNothing) {
    PrintSettings table;
    table.tableRows = 10;
    table.tableRowHeightCm = 10.0f;
    const std::string pdf = dir.file("none.pdf");
    for (const std::string& args :
         {std::string("--paper 30x297"), "--settings " + test::shellQuote(settingsFile(table))}) {
        const test::RunResult r =
            print("", "--checked all " + args + " -o " + test::shellQuote(pdf));
        EXPECT_EQ(r.exitCode, 1) << args;
        EXPECT_NE(r.err.find(kNoPrintAreaMessage), std::string::npos) << args << "\n" << r.err;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_FALSE(std::filesystem::exists(pdf)) << args;
    }
}

}  // namespace
}  // namespace sondara
