#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "core/base/TextCodec.h"
#include "core/fileio/ProjectFile.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using test::cliPath;
using test::runCommand;
using test::shellQuote;

struct ImportCli : ::testing::Test {
    test::TempDir dir;
    std::string sample;
    void SetUp() override {
        sample = dir.file("s.qar");
        ASSERT_EQ(runCommand(cliPath() + " sample " + shellQuote(sample)).exitCode, 0);
    }
    test::RunResult cli(const std::string& args) { return runCommand(cliPath() + " " + args); }
    std::string q(const std::string& name) { return shellQuote(dir.file(name)); }
};

// export-text → import → export-text gives the same text: pile numbers, lengths,
// intervals and samples all come back.
TEST_F(ImportCli, OwnExportRoundTrip) {
    ASSERT_EQ(cli("export-text " + shellQuote(sample) + " " + q("a.txt") + " --source all --time 1")
                  .exitCode,
              0);
    auto r = cli("import " + q("a.txt") + " -o " + q("back.qar"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(
        cli("export-text " + q("back.qar") + " " + q("b.txt") + " --source all --time 1").exitCode,
        0);
    EXPECT_EQ(test::readFile(dir.file("b.txt")), test::readFile(dir.file("a.txt")));

    CSondaraDoc original, back;
    ASSERT_EQ(ReadProject(original, sample), "");
    ASSERT_EQ(ReadProject(back, dir.file("back.qar")), "");
    ASSERT_EQ(back.pointCount(), original.pointCount());
    for (int i = 0; i < back.pointCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(textOf(back.points[i].pileNo), textOf(original.points[i].pileNo));
        EXPECT_EQ(back.points[i].sampleInterval, original.points[i].sampleInterval);
        EXPECT_EQ(back.points[i].sampleCount(), original.points[i].sampleCount());
        EXPECT_EQ(back.points[i].steps.size(), 0u);  // the processed trace is the new record
    }
}

TEST_F(ImportCli, CsvWithTimeInMilliseconds) {
    test::writeFile(dir.file("site.csv"),
                    "time_ms,P-12,P-13\n0.00,0.0,0.0\n0.02,0.0,0.1\n0.04,5.0,4.0\n0.06,2.5,-1.0\n"
                    "0.08,0,0\n0.10,0,0\n0.12,0,0\n0.14,0,0\n");
    auto r = cli("import " + q("site.csv") + " -o " + q("site.qar") +
                 " --sensor velocity --length 0.1 --speed 5000");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2\n");
    CSondaraDoc d;
    ASSERT_EQ(ReadProject(d, dir.file("site.qar")), "");
    ASSERT_EQ(d.pointCount(), 2);
    EXPECT_EQ(textOf(d.points[1].pileNo), "P-13");
    EXPECT_EQ(d.points[0].sampleInterval, 20.0f);
    EXPECT_EQ(d.points[0].samples, (std::vector<float>{0, 0, 5, 2.5f, 0, 0, 0, 0}));
    EXPECT_EQ(d.points[0].sensorType, 1);
    EXPECT_EQ(d.points[0].headIndex, 2);
    EXPECT_EQ(d.points[0].toeIndex, 4);  // 2 x 0.1 m at 5000 m/s: 40 us, 2 samples after the head
    EXPECT_EQ(d.points[0].waveSpeed, 5000);
}

// Bad input: a message, exit 2, and the previous output file untouched.
TEST_F(ImportCli, BadInputWritesNothing) {
    test::writeFile(dir.file("out.qar"), "previous");
    test::writeFile(dir.file("ragged.csv"), "a,b\n1,2\n3\n");
    test::writeFile(dir.file("comma.txt"), "0,5 1,5\n0,25 2,5\n");
    test::writeFile(dir.file("nodt.txt"), "1 2\n3 4\n");
    const struct {
        std::string args;
        int exit;
        const char* says;
    } cases[] = {
        {q("ragged.csv"), 2, "第 3 行有 1 列"},
        {q("comma.txt"), 2, "decimal comma"},
        {q("nodt.txt"), 2, "--dt"},
        {q("missing.csv"), 2, "cannot be read"},
        {q("nodt.txt") + " --sensor sideways", 1, "sensor"},
        {q("nodt.txt") + " --dt 0", 1, "dt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        auto r = cli("import " + c.args + " -o " + q("out.qar"));
        EXPECT_EQ(r.exitCode, c.exit);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(test::readFile(dir.file("out.qar")), "previous");
    }
    EXPECT_EQ(cli("import " + q("nodt.txt") + " --dt 10 -o " + q("out.qar")).exitCode, 0);
}

// The PNG's width and height from its header.
bool pngSize(const std::string& bytes, int& w, int& h) {
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return false;
    auto be = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v = v << 8 | static_cast<unsigned char>(bytes[at + k]);
        return static_cast<int>(v);
    };
    w = be(16);
    h = be(20);
    return true;
}

TEST_F(ImportCli, ThumbnailFitsTheSizeAndRefusesDamagedFiles) {
    const struct {
        const char* size;
        int longSide;
    } sizes[] = {{"", 256}, {" 128", 128}, {" 512", 512}, {" 40", 40}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(s.size);
        std::filesystem::remove(dir.file("t.png"));
        auto r = cli("thumbnail " + shellQuote(sample) + " " + q("t.png") + s.size);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        int w = 0, h = 0;
        ASSERT_TRUE(pngSize(test::readFile(dir.file("t.png")), w, h));
        EXPECT_EQ(std::max(w, h), s.longSide);
        EXPECT_GT(std::min(w, h), 0);
    }

    std::string bytes = test::readFile(sample);
    test::writeFile(dir.file("cut.qar"), bytes.substr(0, 100));
    test::writeFile(dir.file("junk.qar"), "not a data file at all");
    for (const char* bad : {"cut.qar", "junk.qar", "missing.qar"}) {
        SCOPED_TRACE(bad);
        std::filesystem::remove(dir.file("x.png"));
        auto r = cli("thumbnail " + q(bad) + " " + q("x.png"));
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_FALSE(std::filesystem::exists(dir.file("x.png")));
    }
    EXPECT_EQ(cli("thumbnail " + shellQuote(sample) + " " + q("x.png") + " 0").exitCode, 1);
    EXPECT_EQ(cli("thumbnail " + shellQuote(sample)).exitCode, 1);
    std::filesystem::create_directory(dir.file("dir.png"));
    EXPECT_EQ(cli("thumbnail " + shellQuote(sample) + " " + q("dir.png")).exitCode, 2);
}

}  // namespace
}  // namespace sondara
