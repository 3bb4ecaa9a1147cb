// `sondara-cli image`, `report` and `excel` on a project file.
#include <gtest/gtest.h>
#include <zip.h>

#include <cmath>
#include <cstdio>
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
    static std::string zipPart(const std::string& path, const char* name) {
        int err = 0;
        zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &err);
        if (!z) return {};
        std::string out;
        zip_stat_t st;
        if (zip_stat(z, name, 0, &st) == 0) {
            if (zip_file_t* f = zip_fopen(z, name, 0)) {
                out.resize(st.size);
                if (zip_fread(f, out.data(), st.size) != static_cast<zip_int64_t>(st.size))
                    out.clear();
                zip_fclose(f);
            }
        }
        zip_discard(z);
        return out;
    }
    // The (cx, cy) of every picture of a Word document, in EMU.
    static std::vector<std::pair<long, long>> extents(const std::string& docx) {
        const std::string xml = zipPart(docx, "word/document.xml");
        std::vector<std::pair<long, long>> out;
        for (size_t at = xml.find("<wp:extent "); at != std::string::npos;
             at = xml.find("<wp:extent ", at + 1)) {
            long cx = 0, cy = 0;
            if (std::sscanf(xml.c_str() + at, "<wp:extent cx=\"%ld\" cy=\"%ld\"", &cx, &cy) == 2)
                out.emplace_back(cx, cy);
        }
        return out;
    }
};

TEST_F(OutputCli, WordPicturesFitTheTextAndTheSizeCapIsNamed) {
    // A4 with 2 cm margins each side: 17 cm (9638 twips) of text width, 24.6 cm high.
    const long textWidth = 9638L * 635, textHeight = 13958L * 635;
    const struct {
        const char* size;
        int columns;
        long cx, cy;
    } cases[] = {
        {"530x145", 1, 530L * 9525, 145L * 9525},  // fits: its own size
        {"2048x700", 1, textWidth, std::lround(700.0 * textWidth / 2048)},
        {"600x4000", 1, std::lround(600.0 * textHeight / 4000), textHeight},
        {"2048x700", 3, 176L * 9525, 700L * 9525},  // three a row: 530 / 3 wide
    };
    for (const auto& c : cases) {
        const std::string docx = dir.file("fit.docx");
        const auto r = run("image", "--check all --word " + test::shellQuote(docx) + " --size " +
                                        c.size + " --columns " + std::to_string(c.columns));
        ASSERT_EQ(r.exitCode, 0) << c.size << r.err;
        const auto e = extents(docx);
        ASSERT_EQ(e.size(), 3u) << c.size;
        for (const auto& [cx, cy] : e) {
            EXPECT_NEAR(cx, c.cx, 1) << c.size;
            EXPECT_NEAR(cy, c.cy, 1) << c.size;
            EXPECT_LE(cx * c.columns, textWidth) << c.size;
            EXPECT_LE(cy, textHeight) << c.size;
        }
    }

    // Above the pixel cap: refused by name before anything is drawn or written.
    const std::string out = dir.file("huge");
    for (const std::string& target :
         {"-o " + test::shellQuote(out), "--word " + test::shellQuote(dir.file("huge.docx"))}) {
        const auto r = run("image", target + " --check all --size 99999x99999");
        EXPECT_EQ(r.exitCode, 1) << target;
        EXPECT_NE(r.err.find("图形尺寸99999×99999超过上限"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("创建文件失败"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_FALSE(std::filesystem::exists(dir.file("huge.docx")));
}

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
