#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "core/fileio/ProjectFile.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using test::cliPath;
using test::runCommand;
using test::shellQuote;

struct CliFixture : ::testing::Test {
    test::TempDir dir;
    std::string sample;
    void SetUp() override {
        sample = dir.file("s.qar");
        ASSERT_EQ(runCommand(cliPath() + " sample " + shellQuote(sample)).exitCode, 0);
    }
    test::RunResult cli(const std::string& args, const std::string& in = {}) {
        return runCommand(cliPath() + " " + args, in);
    }
};

TEST_F(CliFixture, EveryCommandAnswersHelp) {
    auto overview = cli("--help");
    ASSERT_EQ(overview.exitCode, 0);
    std::istringstream lines(overview.out);
    std::string line;
    int commands = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("  ", 0) != 0) continue;
        std::string name = line.substr(2, line.find(' ', 2) - 2);
        auto r = cli(name + " --help");
        EXPECT_EQ(r.exitCode, 0) << name;
        EXPECT_NE(r.out.find("usage"), std::string::npos) << name;
        ++commands;
    }
    EXPECT_GE(commands, 6);
    EXPECT_EQ(cli("no-such-command").exitCode, 1);
}

// Every command takes its arguments apart the same way: a usage error names the
// command, shows its usage line, exits with 1 and writes nothing.
TEST_F(CliFixture, UsageErrorsExitWithOneAndWriteNothing) {
    const std::string in = shellQuote(sample);
    const std::string out = dir.file("out");
    const std::string o = shellQuote(out);
    const struct {
        const char* command;
        std::string args;
    } cases[] = {
        {"info", in + " extra"},
        {"dump", in},
        {"dump", in + " --point 0"},
        {"dump", in + " --point x"},
        {"convert", in},
        {"convert", in + " " + o + " --bogus"},
        {"merge", o},
        {"save-checked", in},
        {"edit", in + " -o " + o},
        {"edit", in + " -o " + o + " tick 0"},
        {"edit", in + " -o " + o + " tick"},
        {"edit", in + " -o " + o + " bogus"},
        {"edit", in + " tick 1"},
        {"sample", ""},
        {"sample", o + " " + o},
        {"result-file", in},
        {"convert-instrument", shellQuote(dir.path()) + " " + o + " --delete"},
        {"excel", in},
        {"excel", in + " -o"},
        {"report", in + " --bogus -o " + o},
        {"process", in + " -o " + o},
        {"mark", in + " -o " + o + " --point"},
        {"transfer", "--list --port"},
        {"transfer", "--attempts 0 --list"},
    };
    for (const auto& c : cases) {
        const std::string line = std::string(c.command) + " " + c.args;
        auto r = cli(line);
        EXPECT_EQ(r.exitCode, 1) << line << ": " << r.err;
        EXPECT_EQ(r.err.rfind("sondara-cli " + std::string(c.command) + ": ", 0), 0u)
            << line << ": " << r.err;
        EXPECT_NE(r.err.find("usage: sondara-cli " + std::string(c.command)), std::string::npos)
            << line << ": " << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << line;
    }
}

TEST_F(CliFixture, InfoJsonCarriesTheFields) {
    auto r = cli("info " + shellQuote(sample) + " --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* key :
         {"\"version\":\"QAR16\"", "\"versionCode\":7", "\"pointCount\":8",
          "\"testingUnit\":\"示例检测有限公司\"", "\"pileTypeText\":\"钻孔灌注桩\"",
          "\"steps\":[{\"kind\":3", "\"defects\":[{\"position\"", "\"name\":\"缩径\"",
          "\"waveletMarks\":[]", "\"headSetFlag\":1", "\"original\":{"})
        EXPECT_NE(r.out.find(key), std::string::npos) << key;
}

TEST_F(CliFixture, BadFilesExitWithTwoAndTheMessage) {
    std::string junk = dir.file("junk.qar");
    test::writeFile(junk, "not a data file at all");
    auto r = cli("info " + shellQuote(junk));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("文件内容记录错误，空文件或非低应变数据文件！"), std::string::npos);
    EXPECT_EQ(cli("info " + shellQuote(dir.file("missing.qar"))).exitCode, 2);
    EXPECT_EQ(cli("info").exitCode, 1);
    EXPECT_EQ(
        cli("convert " + shellQuote(sample) + " " + shellQuote(dir.file("no/dir/x.qar"))).exitCode,
        2);
}

TEST_F(CliFixture, PartialLoadWarnsOnStderr) {
    std::string bytes = test::readFile(sample);
    std::string cut = dir.file("cut.qar");
    test::writeFile(cut, bytes.substr(0, bytes.size() / 4));
    auto r = cli("info " + shellQuote(cut));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("测点数据不完整，[8]个测点第["), std::string::npos) << r.err;
}

TEST_F(CliFixture, DumpConvertMergeSaveChecked) {
    auto raw = cli("dump " + shellQuote(sample) + " --point 3 --raw");
    ASSERT_EQ(raw.exitCode, 0);
    EXPECT_EQ(std::count(raw.out.begin(), raw.out.end(), '\n'), 1024);
    EXPECT_EQ(cli("dump " + shellQuote(sample) + " --point 99").exitCode, 1);

    std::string conv = dir.file("c.qar");
    ASSERT_EQ(cli("convert " + shellQuote(sample) + " " + shellQuote(conv)).exitCode, 0);
    EXPECT_EQ(cli("dump " + shellQuote(conv) + " --point 3 --raw").out, raw.out);

    std::string merged = dir.file("m.qar");
    std::string missing = dir.file("missing.qar");
    auto stop = cli("merge " + shellQuote(merged) + " " + shellQuote(sample) + " " +
                    shellQuote(missing) + " " + shellQuote(conv));
    // 否 stops the merge, and a stopped merge writes nothing
    EXPECT_EQ(stop.exitCode, 2);
    EXPECT_NE(stop.err.find("路径错误，是否继续打开其他文件？ [否]"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(merged));
    CSondaraDoc d;
    ASSERT_EQ(cli("merge " + shellQuote(merged) + " " + shellQuote(sample) + " " +
                  shellQuote(missing) + " " + shellQuote(conv) + " --continue")
                  .exitCode,
              0);
    ASSERT_EQ(ReadProject(d, merged), "");
    EXPECT_EQ(d.pointCount(), 16);

    std::string checked = dir.file("k.qar");
    auto sc = cli("save-checked " + shellQuote(sample) + " " + shellQuote(checked));
    ASSERT_EQ(sc.exitCode, 0) << sc.err;
    ASSERT_EQ(ReadProject(d, checked), "");
    EXPECT_EQ(d.pointCount(), 7);  // the sample leaves one point unchecked
}

}  // namespace
}  // namespace sondara
