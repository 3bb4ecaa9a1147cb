// End to end: the instrument emulator program on one end of a virtual cable and
// `sondara-cli transfer` on the other, each a process of its own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "core/fileio/ProjectFile.h"
#include "core/instrument/InstrumentDrive.h"
#include "core/instrument/VirtualCable.h"
#include "core/model/SondaraDoc.h"
#include "support/TestSupport.h"

extern char** environ;

namespace sondara {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::string emulatorPath() {
    if (const char* e = std::getenv("SONDARA_EMULATOR")) return e;
    const char* cli = std::getenv("SONDARA_CLI");
    return (fs::path(cli ? cli : "./sondara-cli").parent_path() / "sondara-instrument-emulator")
        .string();
}

// The emulator serving a drive of its own, stopped (by its id) when the test ends.
// It also stops by itself after a minute, so that it never outlives a broken test.
class Emulator {
public:
    explicit Emulator(std::vector<std::string> faults = {},
                      std::vector<DemoProject> projects = {{"S0001", "P", "2024-05-06", 2}}) {
        EXPECT_TRUE(WriteDemoDrive(drive_.path(), projects));
        cable_ = drive_.file("cable");
        std::vector<std::string> args = {emulatorPath(), "--cable",       cable_, "--root",
                                         drive_.path(),  "--max-seconds", "60"};
        args.insert(args.end(), faults.begin(), faults.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(rc, 0) << "cannot start " << argv[0];
        // Ready once the instrument raised its handshake line.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < until) {
            if (auto c = VirtualCable::open(cable_);
                c && c->load(VirtualCable::InstrumentData) == 0x10)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "the emulator did not come up";
    }
    ~Emulator() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
    }
    std::string port() const { return "virtual:" + cable_; }
    std::string drive() const { return drive_.path(); }

private:
    TempDir drive_;
    std::string cable_;
    pid_t pid_ = -1;
};

test::RunResult transfer(const Emulator& e, const std::string& args) {
    return test::runCommand(test::cliPath() + " transfer --port " + test::shellQuote(e.port()) +
                            " " + args);
}

TEST(EmulatorEndToEnd, ListsDownloadsAndConvertsThreeProjects) {
    Emulator emu({}, DemoProjects());
    test::RunResult list = transfer(emu, "--list --json");
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find(
                  "\"displayName\":\"大桥桩基—1.qar\",\"projectName\":\"大桥桩基\",\"points\":2"),
              std::string::npos)
        << list.out;

    TempDir out;
    test::RunResult r = transfer(emu, "--download 3,1,2 -o " + test::shellQuote(out.path()));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("进度 33%\n进度 66%\n进度 99%\n进度 100%\nQAR文件传输结束!\n进度 0%"),
              std::string::npos)
        << r.err;
    const std::pair<const char*, int> files[] = {
        {"大桥桩基.qar", 3}, {"大桥桩基—1.qar", 2}, {"厂房.qar", 4}};
    for (const auto& [name, points] : files) {
        CSondaraDoc doc;
        EXPECT_EQ(ReadProject(doc, out.file(name)), "") << name;
        EXPECT_EQ(doc.pointCount(), points) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 3);

    test::RunResult hello = transfer(emu, "--raw hello");
    EXPECT_EQ(hello.exitCode, 0);
    EXPECT_EQ(hello.out, "sondara-instrument-emulator\n");
    EXPECT_EQ(hello.err, "Server is alive and well\n");
}

TEST(EmulatorEndToEnd, EveryFaultIsSurvivedWithItsMessage) {
    struct Case {
        std::vector<std::string> faults;
        const char* args;  // after --port
        int exitCode;
        const char* message;
        bool someArrive = true;  // a failed download still received files whole
    };
    const Case cases[] = {
        {{"--pull-after", "6000"}, "--download 1", 3, "获取文件"},
        {{"--bad-header", "6"}, "--download 1", 3, "获取文件"},
        {{"--wrong-keyword", "DOWNF"}, "--list", 3, "尚未连接。"},
        {{"--wrong-keyword", "HI"}, "--raw hello", 3, "Bad response from server"},
        {{"--never-answer"}, "--raw hello", 3, "Bad response from server"},
        {{"--slow", "30"}, "--download 1", 0, "QAR文件传输结束!"},
        // Instruments that never make progress end in the usual failure.
        {{"--empty-frames", "DOWNF"}, "--list", 3, "尚未连接。"},
        {{"--empty-frames", "DOWND"}, "--download 1", 3, "获取文件", false},
        {{"--babble", "DOWND"}, "--download 1", 3, "获取文件", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.faults[0]);
        Emulator emu(c.faults);
        TempDir out;
        // Replies are waited for 40 frame attempts (about 3 s) instead of 100: room for an
        // emulator slow to start on a loaded machine, still quick for the faults.
        const bool download = std::string(c.args) == "--download 1";
        test::RunResult r =
            transfer(emu, "--attempts 40 " + std::string(c.args) +
                              (download ? " -o " + test::shellQuote(out.path()) : std::string()));
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        if (c.exitCode != 0 && download) {
            EXPECT_FALSE(fs::exists(out.file("P.qar")));
            EXPECT_NE(r.err.find("获取文件" + out.path() + "/失败！"), std::string::npos) << r.err;
            // What arrived whole is kept as the instrument sent it; a partial file only as .part.
            int whole = 0;
            for (const auto& e : fs::recursive_directory_iterator(out.path())) {
                if (!e.is_regular_file()) continue;
                const std::string name = e.path().filename().string();
                if (name.size() > 5 && name.substr(name.size() - 5) == ".part") continue;
                ++whole;
                EXPECT_EQ(test::readFile(e.path().string()),
                          test::readFile(emu.drive() + "/dat/S0001/" + name))
                    << name;
            }
            if (c.someArrive)
                EXPECT_GT(whole, 0);
            else  // not even an empty staging folder is left
                EXPECT_TRUE(fs::is_empty(out.path()));
        }
    }
}

TEST(EmulatorEndToEnd, PlantedLinksInTheTempFolderAreNotFollowed) {
    Emulator emu;
    TempDir tmp, elsewhere;
    // The fixed scratch name an earlier version used, planted as a link.
    fs::create_directory_symlink(elsewhere.path(), tmp.file("sondara-transfer"));
    const std::string env =
        "env -u XDG_RUNTIME_DIR -u SONDARA_TEMP_DIR TMPDIR=" + test::shellQuote(tmp.path()) + " ";
    test::RunResult r = test::runCommand(env + test::cliPath() + " transfer --port " +
                                         test::shellQuote(emu.port()) + " --list");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\tP.qar\t2\t"), std::string::npos) << r.out;
    EXPECT_TRUE(fs::is_empty(elsewhere.path()));
    // The private folder of the run is gone; only the planted link is left.
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(tmp.path()))
        left.push_back(e.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"sondara-transfer"});

    // The cable itself: a link in its place is refused, and its target left alone.
    const std::string cableLink = tmp.file("cable");
    fs::create_symlink(elsewhere.file("made"), cableLink);
    test::RunResult c = test::runCommand(
        test::cliPath() + " transfer --port virtual:" + test::shellQuote(cableLink) + " --list");
    EXPECT_EQ(c.exitCode, 2) << c.err;
    EXPECT_NE(c.err.find(cableLink), std::string::npos) << c.err;
    EXPECT_FALSE(fs::exists(elsewhere.file("made")));
}

TEST(EmulatorEndToEnd, MissingPortIsNamedAndBadUsageRefused) {
    test::RunResult r =
        test::runCommand(test::cliPath() + " transfer --port /dev/parport-none --list");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("/dev/parport-none"), std::string::npos) << r.err;
    for (const char* args :
         {"--list --download 1 -o x", "--download 0 -o x", "--download 1,,2 -o x", "--download 1",
          "--raw nonsense", "--raw dir", "--attempts 0 --list"}) {
        test::RunResult u =
            test::runCommand(test::cliPath() + " transfer --port /dev/parport-none " + args);
        EXPECT_EQ(u.exitCode, 1) << args << ": " << u.err;
    }
}

}  // namespace
}  // namespace sondara
