// The one writer of every output: whole or nothing, no temporary left behind, the mode
// of a replaced file kept, read-only targets refused.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <thread>

#include "core/base/ByteIo.h"
#include "core/base/Format.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

namespace fs = std::filesystem;

using test::modeOf;
using test::namesIn;

// A process id that no process has: a child that has exited and been reaped.
long deadPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(AtomicFileWriter, ReplacesWholeKeepsTheModeAndLeavesNothingBeside) {
    test::TempDir dir;
    const std::string target = dir.file("out.qar");
    ASSERT_TRUE(test::writeFile(target, "old"));
    ::chmod(target.c_str(), 0640);
    {
        AtomicFileWriter f(target);
        ASSERT_TRUE(f.isOpen()) << f.error();
        f.writer().bytes("new bytes", 9);
        f.writer().flush();
        // not there before the commit, and nothing named beside it meanwhile
        EXPECT_EQ(test::readFile(target), "old");
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"out.qar"});
        ASSERT_TRUE(f.commit()) << f.error();
    }
    EXPECT_EQ(test::readFile(target), "new bytes");
    EXPECT_EQ(modeOf(target), 0640u);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"out.qar"});

    // an abandoned writer leaves the old file and nothing else
    {
        AtomicFileWriter f(target);
        ASSERT_TRUE(f.isOpen());
        f.writer().bytes("half", 4);
    }
    EXPECT_EQ(test::readFile(target), "new bytes");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"out.qar"});
}

// A target that may not be written is refused, with the file's name, and kept as it
// is. Root may write anything: for root a mode without any write bit counts.
TEST(AtomicFileWriter, ReadOnlyTargetsAreRefused) {
    test::TempDir dir;
    const std::string target = dir.file("ro.qar");
    ASSERT_TRUE(test::writeFile(target, "keep"));
    ::chmod(target.c_str(), 0444);
    EXPECT_TRUE(IsReadOnlyTarget(target));
    EXPECT_EQ(CheckOutputTarget(target), Format(kMsgReadOnlyTarget, target.c_str()));
    AtomicFileWriter f(target);
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(f.error(), "文件" + target + "为只读，不能保存！");
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(target, "new", error));
    EXPECT_EQ(test::readFile(target), "keep");
    EXPECT_EQ(modeOf(target), 0444u);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"ro.qar"});

    // the other reasons name the path and the system's reason
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {{dir.path(), "Is a directory"},
                 {dir.file("nodir/x.qar"), "No such file or directory"},
                 {target + "/x", "Not a directory"}};
    for (const auto& c : cases) {
        const std::string why = CheckOutputTarget(c.path);
        EXPECT_NE(why.find(c.path), std::string::npos) << why;
        EXPECT_NE(why.find(c.reason), std::string::npos) << why;
        EXPECT_FALSE(WriteFileAtomically(c.path, "x", error));
    }
}

TEST(AtomicFileWriter, ASymbolicLinkKeepsPointingAtTheReplacedFile) {
    test::TempDir dir;
    const std::string real = dir.file("real.qar"), link = dir.file("link.qar");
    ASSERT_TRUE(test::writeFile(real, "old"));
    fs::create_symlink(real, link);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(link, "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::readFile(real), "new");
}

// A pipe (as /dev/stdout often is) is written where it is, never replaced.
TEST(AtomicFileWriter, APipeIsWrittenNotReplaced) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string path = "/proc/self/fd/" + std::to_string(fds[1]);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "through the pipe", error)) << error;
    ::close(fds[1]);
    char buf[64] = {};
    EXPECT_EQ(::read(fds[0], buf, sizeof buf - 1), 16);
    EXPECT_STREQ(buf, "through the pipe");
    ::close(fds[0]);
}

// Libraries that write by file name write the writer's file through openPath().
TEST(AtomicFileWriter, ALibraryWritesThroughTheOpenPath) {
    test::TempDir dir;
    const std::string target = dir.file("t.xlsx");
    AtomicFileWriter f(target);
    ASSERT_TRUE(f.isOpen());
    std::FILE* lib = std::fopen(f.openPath().c_str(), "wb");
    ASSERT_TRUE(lib) << f.openPath();
    std::fputs("written by name", lib);
    std::fclose(lib);
    std::string back;
    ASSERT_TRUE(f.readAll(back));
    EXPECT_EQ(back, "written by name");
    ASSERT_TRUE(f.replaceAll("mended"));
    ASSERT_TRUE(f.commit()) << f.error();
    EXPECT_EQ(test::readFile(target), "mended");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"t.xlsx"});
}

// Without unnamed files a named temporary stands in, named so that a later writer
// recognises it; it goes on commit and when the writer is abandoned.
TEST(AtomicFileWriter, ANamedTemporaryStandsInWithoutUnnamedFiles) {
    test::TempDir dir;
    ::setenv("SONDARA_NO_UNNAMED_FILES", "1", 1);
    const std::string target = dir.file("n.qar");
    for (bool commit : {false, true}) {
        AtomicFileWriter f(target);
        ASSERT_TRUE(f.isOpen()) << f.error();
        f.writer().bytes("data", 4);
        f.writer().flush();
        const auto names = namesIn(dir.path());
        ASSERT_EQ(names.size(), 1u);
        long pid = 0;
        EXPECT_TRUE(IsWriterTemporaryName(*names.begin(), &pid)) << *names.begin();
        EXPECT_EQ(pid, ::getpid());
        EXPECT_EQ(f.openPath(), dir.file(*names.begin()));
        if (commit) {
            ASSERT_TRUE(f.commit()) << f.error();
        }
    }
    ::unsetenv("SONDARA_NO_UNNAMED_FILES");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"n.qar"});
    EXPECT_EQ(test::readFile(target), "data");
}

TEST(AtomicFileWriter, TemporariesOfWritersThatAreGoneAreRemoved) {
    test::TempDir dir;
    const long dead = deadPid();
    const std::string stale = "a.qar.~" + std::to_string(dead) + "-Ab3xYz.tmp";
    const std::string live = "a.qar.~1-Ab3xYz.tmp";  // pid 1 runs
    const std::string own = "a.qar.~" + std::to_string(::getpid()) + "-Ab3xYz.tmp";
    const std::string user = "a.qar.~notes.tmp";  // not a writer's name: never touched
    for (const std::string& n : {stale, live, own, user}) test::writeFile(dir.file(n), "x");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(dir.file("b.qar"), "b", error)) << error;
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"b.qar", live, own, user}));

    long pid = 0;
    EXPECT_TRUE(IsWriterTemporaryName(stale, &pid));
    EXPECT_EQ(pid, dead);
    for (const char* name : {"a.qar.~12-abcdef.tmp", "x.~9-ZZZZZZ.tmp"})
        EXPECT_TRUE(IsWriterTemporaryName(name)) << name;
    for (const char* name :
         {"a.qar", "a.qar.~12-abcde.tmp", "a.qar.~12-abcdef.tmpx", "a.qar.~-abcdef.tmp",
          "a.qar.~1x-abcdef.tmp", ".~12-abcdef.tmp", "a.qar.tmpXXXXXX", "a.qar.~12_abcdef.tmp"})
        EXPECT_FALSE(IsWriterTemporaryName(name)) << name;
}

// Writers of one target on several threads at once: the target is always one of the
// whole files, never a mixture, and nothing is left beside it.
TEST(AtomicFileWriter, ConcurrentWritersLeaveOneWholeFile) {
    test::TempDir dir;
    const std::string target = dir.file("same.png");
    std::vector<std::string> versions;
    for (int t = 0; t < 4; ++t) versions.push_back(std::string(200000, static_cast<char>('a' + t)));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int k = 0; k < 5; ++k) {
                std::string error;
                EXPECT_TRUE(WriteFileAtomically(target, versions[static_cast<size_t>(t)], error))
                    << error;
            }
        });
    for (auto& th : threads) th.join();
    const std::string got = test::readFile(target);
    EXPECT_NE(std::find(versions.begin(), versions.end(), got), versions.end());
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"same.png"});
}

}  // namespace
}  // namespace sondara
