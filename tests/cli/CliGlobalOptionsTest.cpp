// The options every command takes, the exit statuses a script relies on, and the
// info table's layout.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "core/app/ProgramVersion.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using test::cliPath;
using test::runCommand;
using test::shellQuote;

struct CliOptions : ::testing::Test {
    test::TempDir dir;
    std::string sample, cut;
    void SetUp() override {
        sample = dir.file("s.qar");
        ASSERT_EQ(runCommand(cliPath() + " sample " + shellQuote(sample)).exitCode, 0);
        // a file whose first points read and whose tail is lost
        std::string bytes = test::readFile(sample);
        cut = dir.file("cut.qar");
        test::writeFile(cut, bytes.substr(0, bytes.size() / 4));
    }
    test::RunResult cli(const std::string& args) { return runCommand(cliPath() + " " + args); }
    static int pointCount(const std::string& infoOut) {
        auto at = infoOut.find("测点数 points: ");
        return at == std::string::npos
                   ? -1
                   : std::stoi(infoOut.substr(at + std::string("测点数 points: ").size()));
    }
};

TEST_F(CliOptions, VersionPrintsTheAboutBoxText) {
    auto r = cli("--version");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, versionText() + "\n");
    EXPECT_NE(r.out.find("4.0.1.0"), std::string::npos);
}

// Every command that writes a project refuses a partly read file with status 3 and
// writes nothing; --allow-partial writes the points that were read.
TEST_F(CliOptions, PartlyReadFilesAreNotWrittenWithoutAllowPartial) {
    const std::string out = dir.file("out.qar");
    const std::string q = shellQuote(cut), o = shellQuote(out);
    const std::vector<std::string> writers = {
        "convert " + q + " " + o,
        "process " + q + " --all --step \"Reverse\" -o " + o,
        "mark " + q + " -o " + o + " --point 1 class I类桩",
        "edit " + q + " -o " + o + " sort-asc",
        "save-checked " + q + " " + o,
        "display " + q + " --command 自动调节 -o " + o,
        "merge " + o + " " + q,
    };
    for (const std::string& w : writers) {
        auto r = cli(w);
        EXPECT_EQ(r.exitCode, 3) << w << "\n" << r.err;
        EXPECT_NE(r.err.find("测点数据不完整"), std::string::npos) << w;
        EXPECT_NE(r.err.find("--allow-partial"), std::string::npos) << w;
        EXPECT_FALSE(std::filesystem::exists(out)) << w;
    }
    // a previous file is left untouched too
    test::writeFile(out, "previous");
    EXPECT_EQ(cli("convert " + q + " " + o).exitCode, 3);
    EXPECT_EQ(test::readFile(out), "previous");

    auto allowed = cli("convert " + q + " " + o + " --allow-partial");
    ASSERT_EQ(allowed.exitCode, 0) << allowed.err;
    auto info = cli("info " + o);
    ASSERT_EQ(info.exitCode, 0);
    EXPECT_GT(pointCount(info.out), 0);
    EXPECT_LT(pointCount(info.out), 8);

    // reading commands go on with the points read
    EXPECT_EQ(cli("info " + q).exitCode, 0);
    EXPECT_EQ(cli("dump " + q + " --point 1").exitCode, 0);
}

// A file cut inside its original set reads its whole current set, but it is a
// partial read all the same: writing it would write a shortened original set.
TEST_F(CliOptions, AFileCutInsideItsOriginalSetIsPartlyRead) {
    const std::string bytes = test::readFile(sample);
    const std::string ocut = dir.file("ocut.qar");
    test::writeFile(ocut, bytes.substr(0, bytes.size() - bytes.size() / 8));
    const std::string out = dir.file("out.qar");
    const std::string q = shellQuote(ocut), o = shellQuote(out);
    auto info = cli("info " + q);
    ASSERT_EQ(info.exitCode, 0);
    EXPECT_EQ(pointCount(info.out), 8);
    EXPECT_NE(info.err.find("原始数据不完整，[8]个原始测点第["), std::string::npos) << info.err;
    for (const std::string& w : {"convert " + q + " " + o, "edit " + q + " -o " + o + " sort-asc",
                                 "process " + q + " --all --step \"Reverse\" -o " + o}) {
        auto r = cli(w);
        EXPECT_EQ(r.exitCode, 3) << w << "\n" << r.err;
        EXPECT_NE(r.err.find("--allow-partial"), std::string::npos) << w;
        EXPECT_FALSE(std::filesystem::exists(out)) << w;
    }
    // Allowed to write, 还原 still refuses: it would put fewer points in place of 8.
    auto restore = cli("edit " + q + " -o " + o + " restore --allow-partial");
    ASSERT_EQ(restore.exitCode, 0) << restore.err;
    EXPECT_NE(restore.err.find("原始数据不完整，不能还原！"), std::string::npos) << restore.err;
    EXPECT_EQ(pointCount(cli("info " + o).out), 8);
}

// One name chooses points everywhere: --points, with the older names kept.
TEST_F(CliOptions, PointsChoosesPointsUnderEveryOldName) {
    const std::string q = shellQuote(sample);
    const struct {
        std::string withPoints, withOldName;
    } cases[] = {
        {"dump " + q + " --points 3 --raw", "dump " + q + " --point 3 --raw"},
        {"excel " + q + " --points 2,4-5 -o " + shellQuote(dir.file("a.xlsx")),
         "excel " + q + " --check 2,4-5 -o " + shellQuote(dir.file("b.xlsx"))},
        {"print " + q + " --points 1,2 --layout-json",
         "print " + q + " --checked 1,2 --layout-json"},
        {"export-text " + q + " " + shellQuote(dir.file("a.txt")) + " --points 2",
         "export-text " + q + " " + shellQuote(dir.file("b.txt")) + " --point 2"},
        {"mark " + q + " -o " + shellQuote(dir.file("a.qar")) + " --points 2 class 3",
         "mark " + q + " -o " + shellQuote(dir.file("b.qar")) + " --point 2 class 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.withPoints);
        auto a = cli(c.withPoints), b = cli(c.withOldName);
        EXPECT_EQ(a.exitCode, 0) << a.err;
        EXPECT_EQ(b.exitCode, 0) << b.err;
        EXPECT_EQ(a.out, b.out);
    }
    EXPECT_EQ(test::readFile(dir.file("a.txt")), test::readFile(dir.file("b.txt")));
    EXPECT_EQ(test::readFile(dir.file("a.qar")), test::readFile(dir.file("b.qar")));
    // the table of the chosen points, not of the file's own check boxes
    EXPECT_NE(cli("print " + q + " --points 1 --layout-json").out,
              cli("print " + q + " --points 1,2 --layout-json").out);
}

TEST_F(CliOptions, NoRunLogUnlessAsked) {
    const char* envLog = std::getenv("SONDARA_LOG");
    ASSERT_TRUE(envLog);
    std::filesystem::remove(envLog);
    const std::string q = shellQuote(sample);
    ASSERT_EQ(cli("convert " + q + " " + shellQuote(dir.file("a.qar"))).exitCode, 0);
    ASSERT_EQ(
        cli("mark " + q + " -o " + shellQuote(dir.file("b.qar")) + " --point 1 autohead").exitCode,
        0);
    EXPECT_FALSE(std::filesystem::exists(envLog));
    // nor the settings of the desktop program
    EXPECT_FALSE(std::filesystem::exists(std::string(std::getenv("SONDARA_SETTINGS_DIR")) +
                                         "/MIR_QAR4_AHEAD_001.ini"));

    const std::string log = dir.file("run.log");
    ASSERT_EQ(
        cli("convert " + q + " " + shellQuote(dir.file("c.qar")) + " --log " + shellQuote(log))
            .exitCode,
        0);
    EXPECT_NE(test::readFile(log).find("\xB4\xF2\xBF\xAA\xCE\xC4\xBC\xFE"),
              std::string::npos);  // "打开文件" in GBK
    EXPECT_EQ(cli("info " + q + " --log").exitCode, 1);
}

// Terminal columns of a UTF-8 text: CJK characters take two.
int columns(const std::string& s) {
    int w = 0;
    for (std::size_t i = 0; i < s.size();) {
        auto b = static_cast<unsigned char>(s[i]);
        int len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        w += len >= 3 ? 2 : 1;
        i += len;
    }
    return w;
}

TEST_F(CliOptions, InfoTableColumnsLineUpByDisplayWidth) {
    auto r = cli("info " + shellQuote(sample));
    ASSERT_EQ(r.exitCode, 0);
    std::istringstream in(r.out);
    std::string line;
    int headerClassAt = -1, rows = 0;
    while (std::getline(in, line)) {
        if (line.rfind("序号", 0) == 0) {
            headerClassAt = columns(line.substr(0, line.find("类别")));
            continue;
        }
        if (headerClassAt < 0) continue;
        // the class column ("I类桩", "III类桩", ...) starts at the header's column
        auto k = line.find("类桩");
        ASSERT_NE(k, std::string::npos) << line;
        while (k > 0 && (line[k - 1] == 'I' || line[k - 1] == 'V')) --k;
        EXPECT_EQ(columns(line.substr(0, k)), headerClassAt) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 8);
}

}  // namespace
}  // namespace sondara
