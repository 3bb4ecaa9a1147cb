// `sondara-cli print`: a PDF whose page count and texts are read back with poppler's
// pdfinfo and pdftotext (no pictures in it), the layout as JSON, and the refusals.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/base/ByteIo.h"
#include "core/base/TextCodec.h"
#include "core/fileio/ProjectFile.h"
#include "core/output/PrintSettings.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

struct PrintCli : ::testing::Test {
    test::TempDir dir;
    std::string project;
    void SetUp() override {
        if (!std::getenv("SONDARA_CLI")) GTEST_SKIP() << "SONDARA_CLI is not set";
        std::vector<TestPoint> pts;
        for (int k = 0; k < 4; ++k) {
            TestPoint p = test::sinePoint("A", 400, 50, 7.0 + k);
            p.checked = k < 3 ? 1 : 0;
            pts.push_back(std::move(p));
        }
        CSondaraDoc d = test::makeDoc(pts);
        setText(d.info.projectName, utf8ToGbk("滨江大桥"));
        project = dir.file("bridge.qar");
        ASSERT_TRUE(WriteProject(d, project));
    }
    test::RunResult print(const std::string& args) {
        return test::runCommand("env -u QT_QPA_PLATFORM -u DISPLAY " + test::cliPath() + " print " +
                                test::shellQuote(project) + " " + args);
    }
    // pdftotext's text, as it is: the ideographs drawn, never radicals for them.
    std::string pdfText(const std::string& pdf) {
        const test::RunResult r =
            test::runCommand("pdftotext -layout " + test::shellQuote(pdf) + " -");
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.out;
    }
    // The pictures in the file (the cells are painted as lines and texts: none).
    int pdfImages(const std::string& pdf) {
        const test::RunResult r = test::runCommand("pdfimages -list " + test::shellQuote(pdf));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        int lines = 0;
        for (char c : r.out) lines += c == '\n';
        return lines - 2;  // two heading lines
    }
    int pdfPages(const std::string& pdf) {
        const test::RunResult r = test::runCommand("pdfinfo " + test::shellQuote(pdf));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        const std::size_t at = r.out.find("Pages:");
        return at == std::string::npos ? -1 : std::atoi(r.out.c_str() + at + 6);
    }
    bool havePoppler() { return test::runCommand("pdfinfo -v").exitCode == 0; }
};

TEST_F(PrintCli, PdfHasThePagesAndTextsOfTheLayout) {
    if (!havePoppler()) GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) missing";
    const std::string pdf = dir.file("out.pdf");
    // three checked points, trace and amplitude spectrum: six cells, 4 x 1 per page
    test::RunResult r = print("--items trace,amplitude --grid 4x1 -o " + test::shellQuote(pdf));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2\n");
    EXPECT_EQ(pdfPages(pdf), 2);
    std::string text = pdfText(pdf);
    for (const char* want :
         {"基桩动测法检测分析报告", "工程名称：滨江大桥", "波形数：6", "打印日期：", "Dorvanel"})
        EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
    EXPECT_EQ(pdfImages(pdf), 0);

    // Page settings from a file: "共%d页 第%d页" at the top centre, first page 5 and a
    // free-text cell; a 3 x 2 grid on A5 landscape.
    PrintSettings s;
    s.pageNumberFormat = 4;
    s.pageNumberPosition = 1;
    s.firstPage = 5;
    s.printFooter = 0;
    SetHeaderTableCellFromEntry(s, 11, "审核：王工");
    const SettingsFile f("print.ini", "MIR_QAR4_PRINT_001", dir.path());
    ASSERT_TRUE(f.write([&](ByteWriter& w) { writePrintSettings(w, s); }, nullptr));
    r = print("--settings " + test::shellQuote(f.path()) +
              " --items trace,amplitude,power,cepstrum,log --grid 3x2 --paper A5 --landscape -o " +
              test::shellQuote(pdf));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "3\n");  // 15 cells, 6 per page
    const test::RunResult info = test::runCommand("pdfinfo " + test::shellQuote(pdf));
    EXPECT_NE(info.out.find("595 x 420 pts"), std::string::npos) << info.out;
    text = pdfText(pdf);
    for (const char* want : {"基桩动测法检测分析报告 共7页 第5页", "共7页 第7页", "审核：王工"})
        EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
    EXPECT_EQ(pdfImages(pdf), 0);
    EXPECT_EQ(text.find("Dorvanel"), std::string::npos);
}

TEST_F(PrintCli, LayoutJsonAndRefusals) {
    test::RunResult r = print("--layout-json --items trace,amplitude");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* want :
         {"\"pages\":2", "\"area\":{\"left\":150,\"top\":-494,\"right\":1950,\"bottom\":-2693}",
          "{\"kind\":\"amplitude\",\"kindCode\":2,\"index\":0,\"page\":1,",
          "{\"kind\":\"trace\",\"kindCode\":1,\"index\":2,\"page\":2,"})
        EXPECT_NE(r.out.find(want), std::string::npos) << want << "\n" << r.out;
    // the wave train of the display as one cell
    r = print("--layout-json --items display --set train");
    EXPECT_NE(r.out.find("\"cellCount\":1,"), std::string::npos) << r.out;

    const std::string pdf = dir.file("none.pdf");
    r = print("--checked none -o " + test::shellQuote(pdf));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("没有用于打印的备选项"), std::string::npos) << r.err;
    r = print("--items none -o " + test::shellQuote(pdf));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("无可打印数据，请在“打印设置”→“页面”中设置打印项。"), std::string::npos)
        << r.err;
    EXPECT_FALSE(test::runCommand("test -e " + test::shellQuote(pdf)).exitCode == 0);

    ASSERT_TRUE(test::writeFile(dir.file("foreign.ini"),
                                std::string("MIR_QAR4_DISP_001") + std::string(100, '\0')));
    EXPECT_EQ(
        print("--settings " + test::shellQuote(dir.file("foreign.ini")) + " -o x.pdf").exitCode, 2);
    EXPECT_EQ(print("--grid 0x3 -o x.pdf").exitCode, 1);
    EXPECT_EQ(print("--paper B9 -o x.pdf").exitCode, 1);
    EXPECT_EQ(print("--items trace,sound -o x.pdf").exitCode, 1);
    EXPECT_EQ(print("").exitCode, 1);  // no -o
    EXPECT_EQ(print("-o " + test::shellQuote(dir.file("no/such/dir/x.pdf"))).exitCode, 2);
}

}  // namespace
}  // namespace sondara
