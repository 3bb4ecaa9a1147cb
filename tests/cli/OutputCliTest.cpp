// `sondara-cli image`, `report` and `excel` on a project file.
#include <gtest/gtest.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>

#include "core/fileio/ProjectFile.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

struct OutputCli : ::testing::Test {
    test::TempDir dir;
    std::string project;
    void SetUp() override {
        if (!std::getenv("SONDARA_CLI")) GTEST_SKIP() << "SONDARA_CLI is not set";
        std::vector<TestPoint> pts;
        for (int k = 0; k < 3; ++k)
            pts.push_back(test::sinePoint(k == 2 ? "C*3" : "A1", 300, 30, 9.0));
        CSondaraDoc d = test::makeDoc(pts);
        project = dir.file("p.qar");
        ASSERT_TRUE(WriteProject(d, project));
    }
    test::RunResult run(const std::string& cmd, const std::string& args) {
        return test::runCommand("env -u DISPLAY " + test::cliPath() + " " + cmd + " " +
                                test::shellQuote(project) + " " + args);
    }
    static int zipEntries(const std::string& path) {
        int err = 0;
        zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &err);
        if (!z) return -1;
        const int n = static_cast<int>(zip_get_num_entries(z, 0));
        zip_discard(z);
        return n;
    }
};

TEST_F(OutputCli, ImageWritesNamedFilesOrTheWordDocument) {
    const std::string out = dir.file("img");
    auto r =
        run("image", "-o " + test::shellQuote(out) + " --check all --format jpeg --size 400x120");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* name : {"NO1：A1.jpg", "NO2：A1.jpg", "NO3：C_3.jpg"})
        EXPECT_TRUE(std::filesystem::exists(out + "/" + name)) << name;
    r = run("image", "-o " + test::shellQuote(out) + " --set train --items display");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(out + "/波列.bmp"));
    r = run("image", "--word " + test::shellQuote(dir.file("p.docx")) + " --check 1,3 --columns 2");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GT(zipEntries(dir.file("p.docx")), 4);

    // Refusals: nothing checked for --items checked, a bad size, an unwritable folder.
    r = run("image", "-o " + test::shellQuote(out) + " --items checked");
    EXPECT_EQ(r.exitCode, 1);
    r = run("image", "-o " + test::shellQuote(out) + " --check all --size 800");
    EXPECT_EQ(r.exitCode, 1);
    test::writeFile(dir.file("afile"), "x");
    r = run("image", "-o " + test::shellQuote(dir.file("afile")) + " --check all");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("创建文件失败！"), std::string::npos);
}

TEST_F(OutputCli, ReportAndExcel) {
    auto r = run("report", "-o " + test::shellQuote(dir.file("r.docx")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("请选择要生成报告的测点"), std::string::npos);
    r = run("excel", "-o " + test::shellQuote(dir.file("t.xlsx")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("请选择要生成报表的测点"), std::string::npos);

    test::writeFile(dir.file("info.json"), R"({"报告编号": "R-9", "生成附图": true})");
    r = run("report", "-o " + test::shellQuote(dir.file("r.docx")) + " --check all --info " +
                          test::shellQuote(dir.file("info.json")));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const int withFigures = zipEntries(dir.file("r.docx"));
    r = run("report", "-o " + test::shellQuote(dir.file("r2.docx")) + " --check all --no-figures");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(withFigures - zipEntries(dir.file("r2.docx")), 3);  // one picture per checked point

    test::writeFile(dir.file("bad.json"), R"({"桩径": "wide"})");
    r = run("report", "-o " + test::shellQuote(dir.file("r3.docx")) + " --check all --info " +
                          test::shellQuote(dir.file("bad.json")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("桩径"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("r3.docx")));

    r = run("excel", "-o " + test::shellQuote(dir.file("t.xlsx")) + " --check 2");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GT(zipEntries(dir.file("t.xlsx")), 5);
}

}  // namespace
}  // namespace sondara
