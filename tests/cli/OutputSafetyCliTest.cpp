// Nothing lost, nothing silent: read-only targets, killed writers, failures that must
// write nothing, values the windows refuse, and input the trace reader cannot read.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <thread>

#include "core/base/ByteIo.h"
#include "core/fileio/ProjectFile.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

namespace fs = std::filesystem;
using test::cliPath;
using test::runCommand;
using test::shellQuote;

using test::modeOf;
using test::namesIn;

struct OutputSafety : ::testing::Test {
    test::TempDir dir;
    std::string sample, cut;
    void SetUp() override {
        if (!std::getenv("SONDARA_CLI")) GTEST_SKIP() << "SONDARA_CLI is not set";
        sample = dir.file("s.qar");
        ASSERT_EQ(runCommand(cliPath() + " sample " + shellQuote(sample)).exitCode, 0);
        const std::string bytes = test::readFile(sample);
        cut = dir.file("cut.qar");  // its first points read, the rest is lost
        test::writeFile(cut, bytes.substr(0, bytes.size() / 4));
    }
    test::RunResult cli(const std::string& args, const std::string& input = {}) {
        return runCommand("env -u DISPLAY " + cliPath() + " " + args, input);
    }
    std::string q(const std::string& name) const { return shellQuote(dir.file(name)); }
};

// Every command that writes a file, with {IN} and {OUT} to fill in.
struct Writer {
    const char* command;
    const char* out;  // the output's file name
};
const Writer kWriters[] = {
    {"convert {IN} {OUT}", "o.qar"},
    {"save-checked {IN} {OUT}", "o.qar"},
    {"merge {OUT} {IN}", "o.qar"},
    {"process {IN} --all --step Reverse -o {OUT}", "o.qar"},
    {"mark {IN} -o {OUT} --point 1 class 2", "o.qar"},
    {"report {IN} -o {OUT} --no-figures --check all", "o.docx"},
    {"excel {IN} -o {OUT} --check all", "o.xlsx"},
    {"print {IN} -o {OUT} --checked all", "o.pdf"},
    {"thumbnail {IN} {OUT}", "o.png"},
    {"result-file {IN} {OUT}", "o.rpc"},
    {"export-text {IN} {OUT} --source all", "o.txt"},
    {"render {IN} -o {OUT}", "o.png"},
    {"image {IN} --check all --word {OUT}", "o.docx"},
    {"simulate -o {OUT} --piles 1", "o.qar"},
};

std::string fill(std::string text, const std::string& in, const std::string& out) {
    for (const auto& [key, value] :
         {std::pair<std::string, std::string>{"{IN}", in}, {"{OUT}", out}})
        for (auto at = text.find(key); at != std::string::npos; at = text.find(key))
            text.replace(at, key.size(), value);
    return text;
}

// A target that exists and may not be written is refused by every writer, named in
// the message, kept byte for byte with its mode; nothing else appears in the folder.
TEST_F(OutputSafety, ReadOnlyTargetsAreRefusedByEveryWriter) {
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.command);
        const std::string out = dir.file(w.out);
        test::writeFile(out, "previous");
        ::chmod(out.c_str(), 0444);
        const auto before = namesIn(dir.path());
        auto r = cli(fill(w.command, shellQuote(sample), shellQuote(out)));
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_NE(r.err.find("文件" + out + "为只读，不能保存！"), std::string::npos) << r.err;
        EXPECT_EQ(test::readFile(out), "previous");
        EXPECT_EQ(modeOf(out), 0444u);
        EXPECT_EQ(namesIn(dir.path()), before);
        ::chmod(out.c_str(), 0644);
        fs::remove(out);
    }
}

// A replaced file keeps its mode, and every writer writes a whole file when it may.
TEST_F(OutputSafety, ReplacedFilesKeepTheirMode) {
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.command);
        const std::string out = dir.file(w.out);
        test::writeFile(out, "previous");
        ::chmod(out.c_str(), 0640);
        auto r = cli(fill(w.command, shellQuote(sample), shellQuote(out)));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(test::readFile(out), "previous");
        EXPECT_EQ(modeOf(out), 0640u);
        fs::remove(out);
    }
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"s.qar", "cut.qar"}));
}

// The same as a user who is not root: a file of mode 444 in a folder the user may
// write (root is no test of permissions, so this runs when we can drop to nobody).
TEST_F(OutputSafety, ReadOnlyTargetsAreRefusedForAnOrdinaryUser) {
    if (::geteuid() != 0 || ::access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "needs root and setpriv to run as another user";
    const std::string cliBin = std::getenv("SONDARA_CLI");
    const std::string asNobody =
        "setpriv --reuid=65534 --regid=65534 --clear-groups env -u DISPLAY " + shellQuote(cliBin) +
        " ";
    if (runCommand(asNobody + "--version").exitCode != 0)
        GTEST_SKIP() << "the program cannot run as nobody here (a folder on its path is private)";
    ::chmod(dir.path().c_str(), 0777);
    ::chmod(sample.c_str(), 0644);
    const std::string ro = dir.file("ro.qar"), rw = dir.file("rw.qar");
    test::writeFile(ro, "previous");
    ::chmod(ro.c_str(), 0444);
    auto r = runCommand(asNobody + "convert " + shellQuote(sample) + " " + shellQuote(ro));
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_NE(r.err.find("为只读，不能保存！"), std::string::npos) << r.err;
    EXPECT_EQ(test::readFile(ro), "previous");
    // a file of mode 666 that nobody may write is replaced, keeping its mode
    test::writeFile(rw, "previous");
    ::chmod(rw.c_str(), 0666);
    r = runCommand(asNobody + "convert " + shellQuote(sample) + " " + shellQuote(rw));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(modeOf(rw), 0666u);
}

// Killed at random moments, a writer leaves the target whole (the old file or the new
// one) and no temporary; a named temporary of a writer that is gone is removed by the
// next write to the folder.
TEST_F(OutputSafety, KilledWritersLeaveNothingBehind) {
    std::vector<TestPoint> pts;
    for (int k = 0; k < 400; ++k) pts.push_back(test::sinePoint("K1", 8000, 30, 9.0 + k % 7));
    CSondaraDoc big = test::makeDoc(pts);
    const std::string in = dir.file("big.qar"), out = dir.file("out.qar");
    ASSERT_TRUE(WriteProject(big, in));
    big = {};
    pts.clear();
    const std::string cliBin = std::getenv("SONDARA_CLI");
    auto spawn = [&] {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execl(cliBin.c_str(), cliBin.c_str(), "convert", in.c_str(), out.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return pid;
    };
    // the time a whole convert takes, to spread the kills over it
    const auto t0 = std::chrono::steady_clock::now();
    int status = 0;
    ::waitpid(spawn(), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto whole = std::chrono::steady_clock::now() - t0;
    const std::string newBytes = test::readFile(out);
    const std::string oldBytes = test::readFile(sample);

    std::mt19937 rng(20261211);
    std::uniform_int_distribution<long> delay(
        0, std::chrono::duration_cast<std::chrono::microseconds>(whole).count());
    int killedWhileWriting = 0;
    // the last kills take the way of a file system without unnamed files: a named
    // temporary, left by the kill, for the next write to remove
    for (int k = 0; k < 9; ++k) {
        if (k == 6) ::setenv("SONDARA_NO_UNNAMED_FILES", "1", 1);
        fs::copy_file(sample, out, fs::copy_options::overwrite_existing);
        const pid_t pid = spawn();
        std::this_thread::sleep_for(std::chrono::microseconds(delay(rng)));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        killedWhileWriting += WIFSIGNALED(status) ? 1 : 0;
        const std::string now = test::readFile(out);
        EXPECT_TRUE(now == oldBytes || now == newBytes) << "kill " << k << ": a cut target";
        for (const std::string& name : namesIn(dir.path())) {
            long owner = 0;
            if (name == "s.qar" || name == "cut.qar" || name == "big.qar" || name == "out.qar")
                continue;
            // only a named temporary (or the instant between naming the finished file and
            // the rename) can leave one, named so that the next write removes it
            EXPECT_TRUE(IsWriterTemporaryName(name, &owner) && owner == pid) << name;
        }
    }
    ::unsetenv("SONDARA_NO_UNNAMED_FILES");
    EXPECT_GT(killedWhileWriting, 0);

    // a temporary of a writer that is gone, as a file system without unnamed files or
    // a kill at that instant leaves it
    const pid_t gone = spawn();
    ::kill(gone, SIGKILL);
    ::waitpid(gone, &status, 0);
    test::writeFile(dir.file("out.qar.~" + std::to_string(gone) + "-Qw3rty.tmp"), "partial");
    ASSERT_EQ(cli("convert " + shellQuote(sample) + " " + shellQuote(out)).exitCode, 0);
    EXPECT_EQ(namesIn(dir.path()),
              (std::set<std::string>{"s.qar", "cut.qar", "big.qar", "out.qar"}));
}

// A partly read file is written by no output command unless --allow-partial is given.
TEST_F(OutputSafety, OutputsOfAPartlyReadFileNeedAllowPartial) {
    for (const Writer& w : kWriters) {
        const std::string command = w.command;
        if (command.find("{IN}") == std::string::npos || command.rfind("merge", 0) == 0) continue;
        SCOPED_TRACE(command);
        const std::string out = dir.file(w.out);
        auto r = cli(fill(command, shellQuote(cut), shellQuote(out)));
        if (command.rfind("render", 0) == 0 || command.rfind("image", 0) == 0) {
            EXPECT_EQ(r.exitCode, 0) << r.err;  // pictures of what was read, as the display
        } else {
            EXPECT_EQ(r.exitCode, 3) << r.err;
            EXPECT_NE(r.err.find("--allow-partial"), std::string::npos) << r.err;
            EXPECT_FALSE(fs::exists(out));
            r = cli(fill(command, shellQuote(cut), shellQuote(out)) + " --allow-partial");
            EXPECT_EQ(r.exitCode, 0) << r.err;
        }
        EXPECT_TRUE(fs::exists(out));
        fs::remove(out);
    }
}

TEST_F(OutputSafety, FailuresWriteNothing) {
    // 否 to "路径错误，是否继续" stops the merge: nothing written, exit 2
    const std::string merged = dir.file("m.qar");
    auto r = cli("merge " + shellQuote(merged) + " " + shellQuote(sample) + " " + q("missing.qar"));
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_NE(r.err.find("路径错误，是否继续打开其他文件？ [否]"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(merged));
    r = cli("merge " + shellQuote(merged) + " " + shellQuote(sample) + " " + q("missing.qar") +
            " --continue");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::exists(merged));

    // every output is checked before the first is written
    r = cli("simulate -o " + q("s2.qar") + " --piles 2 --truth " + q("nodir/t.json"));
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_NE(r.err.find("nodir/t.json"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir.file("s2.qar")));
    r = cli("simulate -o " + q("nodir/s2.qar") + " --piles 2 --truth " + q("t.json"));
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_FALSE(fs::exists(dir.file("t.json")));
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"s.qar", "cut.qar", "m.qar"}));
}

// "文件路径错误" says which mistake it is.
TEST_F(OutputSafety, UnreadableInputsSayWhy) {
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {{dir.file("missing.qar"), "（No such file or directory）"},
                 {dir.path(), "（Is a directory）"}};
    for (const auto& c : cases) {
        auto r = cli("info " + shellQuote(c.path));
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find("sondara-cli info: " + c.path + ": 文件路径错误" + c.reason),
                  std::string::npos)
            << r.err;
    }
}

// Every step value is checked as the step's window checks it on OK.
TEST_F(OutputSafety, ProcessRefusesValuesTheWindowsRefuse) {
    const struct {
        const char* step;
        const char* message;  // "" for an accepted step
    } cases[] = {
        {"Filter filterType=1 upperFreqHz=-5", "请输入一个介于 0 和 500000 之间的数。"},
        {"Filter filterType=1 upperFreqHz=600000", "请输入一个介于 0 和 500000 之间的数。"},
        {"Filter filterType=3 upperFreqHz=100 lowerFreqHz=800", "请设置为上限频率大于下限频率！"},
        {"Filter filterType=9", "choices"},
        {"Amplify ampLaw=0 ampFactor=0.5", "放大系数应在(1~1000)之间"},
        {"Smooth smoothPoints=40", "平滑点数应在(0~32)之间！"},
        {"Rotate rotAngle=2", "旋转角度应在(-90°~90°)之间"},
        {"LocalScale scaleStart=10 scaleEnd=50 scaleFactor=20000", "缩放系数应在"},
        {"Filter filterType=1 upperFreqHz=800", ""},
        {"Amplify ampLaw=0 ampFactor=10", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        const std::string out = dir.file("p.qar");
        auto r = cli("process " + shellQuote(sample) + " --all --step \"" + c.step + "\" -o " +
                     shellQuote(out));
        if (*c.message) {
            EXPECT_EQ(r.exitCode, 1) << r.err;
            EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
            EXPECT_FALSE(fs::exists(out));
        } else {
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_TRUE(fs::exists(out));
        }
        fs::remove(out);
    }
}

// A line that is not one number is refused with its number, never skipped or read in
// part; no input at all is refused too.
TEST_F(OutputSafety, TraceRefusesLinesItCannotRead) {
    const struct {
        const char* input;
        int exitCode;
        const char* where;
    } cases[] = {
        {"1\nx\n3\n", 2, "stdin:2:"},
        {"1\n1,5\n", 2, "stdin:2:"},
        {"", 2, "no samples"},
        {"# only a comment\n\n", 2, "no samples"},
        {"1\n2 3\n", 2, "stdin:2:"},
        {"1\ninf\n", 2, "stdin:2:"},
        {"# head\n1\n -2.5 \r\n\n3", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        auto r = cli("trace differentiate", c.input);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        if (c.exitCode) {
            EXPECT_NE(r.err.find(c.where), std::string::npos) << r.err;
            EXPECT_EQ(r.out, "");
        } else {
            EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 3) << r.out;
        }
    }
}

TEST_F(OutputSafety, MarkSetsTheClassAndFailsOnARefusal) {
    const std::string out = dir.file("m.qar");
    auto classOf = [&](const std::string& path) {
        CSondaraDoc d;
        EXPECT_EQ(ReadProject(d, path), "");
        return d.points.empty() ? -1 : static_cast<int>(d.points[0].integrityClass);
    };
    for (const auto& [arg, expected] :
         {std::pair<const char*, int>{"3", 3}, {"III类桩", 3}, {"0", 0}, {"' IV类桩 '", 4}}) {
        SCOPED_TRACE(arg);
        auto r = cli("mark " + shellQuote(sample) + " -o " + shellQuote(out) + " --point 1 class " +
                     arg);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(classOf(out), expected);
        fs::remove(out);
    }
    for (const char* arg : {"5", "7", "-1", "good", "III"}) {
        SCOPED_TRACE(arg);
        auto r = cli("mark " + shellQuote(sample) + " -o " + shellQuote(out) + " --point 1 class " +
                     arg);
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_FALSE(fs::exists(out));
    }
    auto r = cli("mark " + shellQuote(sample) + " -o " + shellQuote(out) +
                 " --point 1 class 2 head 99999");
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("设置位置错误"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("head 99999: refused"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(out));
}

// A set of pictures that can be written only in part says on stderr which pictures
// are there and which are not, and why.
TEST_F(OutputSafety, ImageSaysWhichPicturesWereWritten) {
    const std::string folder = dir.file("pics");
    auto r = cli("image " + shellQuote(sample) + " --check 1,2 -o " + shellQuote(folder));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> pictures;
    for (const auto& e : fs::directory_iterator(folder)) pictures.push_back(e.path().string());
    ASSERT_EQ(pictures.size(), 2u);
    std::sort(pictures.begin(), pictures.end());
    ::chmod(pictures[1].c_str(), 0444);
    r = cli("image " + shellQuote(sample) + " --check 1,2 -o " + shellQuote(folder));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("1 of 2 pictures written"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("written: " + pictures[0]), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("not written: 文件" + pictures[1] + "为只读，不能保存！"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.rfind("sondara-cli image: ", 0), 0u) << r.err;
}

}  // namespace
}  // namespace sondara
