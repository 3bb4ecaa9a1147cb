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

// export-text → import → export-text gives the same text with every header and time
// option: pile numbers (header), intervals (times) and samples come back, and nothing
// the export does not carry is made up.
TEST_F(ImportCli, OwnExportRoundTripsWithEveryOption) {
    // nine points and more: the sample twice over
    ASSERT_EQ(cli("merge " + q("twice.qar") + " " + shellQuote(sample) + " " + shellQuote(sample))
                  .exitCode,
              0);
    sample = dir.file("twice.qar");
    CSondaraDoc original;
    ASSERT_EQ(ReadProject(original, sample), "");
    ASSERT_GE(original.pointCount(), 9);
    const struct {
        const char* options;
        const char* importOptions;
        bool header, time;
    } cases[] = {
        {"--source all --header 1 --time 1", "", true, true},
        {"--source all --header 0 --time 1", "", false, true},
        {"--source all --header 1 --time 0", " --dt 20", true, false},
        {"--point 2 --header 0 --time 0", " --dt 20", false, false},
        {"--point 2 --header 0 --time 1 --separator ,", "", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        ASSERT_EQ(
            cli("export-text " + shellQuote(sample) + " " + q("a.txt") + " " + c.options).exitCode,
            0);
        auto r = cli("import " + q("a.txt") + " -o " + q("back.qar") + c.importOptions);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const bool one = std::string(c.options).find("--point") != std::string::npos;
        ASSERT_EQ(cli("export-text " + q("back.qar") + " " + q("b.txt") + " " +
                      (one ? std::string(c.options).replace(0, 9, "--point 1") : c.options))
                      .exitCode,
                  0);
        EXPECT_EQ(test::readFile(dir.file("b.txt")), test::readFile(dir.file("a.txt")));

        CSondaraDoc back;
        ASSERT_EQ(ReadProject(back, dir.file("back.qar")), "");
        ASSERT_EQ(back.pointCount(), one ? 1 : original.pointCount());
        for (int i = 0; i < back.pointCount(); ++i) {
            SCOPED_TRACE(i);
            const TestPoint& o = original.points[one ? 1 : i];
            const TestPoint& b = back.points[i];
            EXPECT_EQ(textOf(b.pileNo), c.header ? textOf(o.pileNo) : std::to_string(i + 1));
            EXPECT_EQ(b.sampleInterval, c.time ? o.sampleInterval : 20.0f);
            ASSERT_EQ(b.sampleCount(), o.sampleCount());
            for (int k = 0; k < b.sampleCount(); ++k)
                ASSERT_NEAR(b.samples[k], o.samples[k], 0.0051) << k;
            EXPECT_EQ(b.steps.size(), 0u);  // the processed trace is the new record
            EXPECT_EQ(b.pileLength, 0.0f);  // not in the export: unset, not made up
            EXPECT_EQ(b.pileDiameter, 0);
            EXPECT_EQ(back.pileTypeText(i), "");
        }
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
    test::writeFile(dir.file("ragged.csv"), "a,b\n1,2\n3,4,5\n");
    test::writeFile(dir.file("word.csv"), "a,b\n1,2\n3,x\n");
    test::writeFile(dir.file("tiny.csv"), "time_us,v\n0,1\n0.001,2\n");
    test::writeFile(dir.file("comma.txt"), "0,5 1,5\n0,25 2,5\n");
    test::writeFile(dir.file("nodt.txt"), "1 2\n3 4\n");
    const struct {
        std::string args;
        int exit;
        const char* says;
    } cases[] = {
        {q("ragged.csv"), 2, "第 3 行有 3 列"},
        {q("word.csv"), 2, "第 3 行第 2 列“x”不是数值"},
        {q("tiny.csv"), 2, "0.1～10000"},
        {q("nodt.txt") + " --dt 1e-30", 1, "0.1..10000 us"},
        {q("nodt.txt") + " --dt 20000", 1, "0.1..10000 us"},
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

// A single row of numbers is one trace, as a single column is.
TEST_F(ImportCli, ASingleRowIsOneTrace) {
    test::writeFile(dir.file("row.txt"), "0 0 4 2 0 0\n");
    auto r = cli("import " + q("row.txt") + " --dt 10 -o " + q("row.qar"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1\n");
    CSondaraDoc d;
    ASSERT_EQ(ReadProject(d, dir.file("row.qar")), "");
    EXPECT_EQ(d.points[0].samples, (std::vector<float>{0, 0, 4, 2, 0, 0}));
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
