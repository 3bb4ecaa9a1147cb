// The PC and the emulated instrument over an in-memory virtual cable: the whole
// transfer of a small instrument, and how the PC copes with each fault the
// instrument can be told to make.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "core/fileio/ProjectFile.h"
#include "core/instrument/InstrumentDrive.h"
#include "core/instrument/InstrumentServer.h"
#include "core/instrument/TransferSession.h"
#include "core/instrument/VirtualCable.h"
#include "core/model/SondaraDoc.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

namespace fs = std::filesystem;
using test::ScriptedPrompter;
using test::TempDir;

// An instrument serving a demonstration drive on its own thread, and the PC's session.
class Bench {
public:
    explicit Bench(const InstrumentFaults& faults = {},
                   std::vector<DemoProject> projects = DemoProjects())
        : cable_(VirtualCable::inMemory()),
          instrumentPort_(cable_, VirtualPortIo::Side::Instrument, 0),
          server_(instrumentPort_, drive_.path(), cable_) {
        EXPECT_TRUE(WriteDemoDrive(drive_.path(), projects));
        server_.setFaults(faults);
        server_.onCommand = [this](const std::string& c) {
            std::lock_guard<std::mutex> lock(mutex_);
            commands_.push_back(c);
        };
        thread_ = std::thread([this] { server_.run(); });
        session = std::make_unique<TransferSession>(
            std::make_unique<VirtualPortIo>(cable_, VirtualPortIo::Side::Pc, kVirtualAccessNs),
            scratch_.path());
        // Faults are waited out in fractions of a second rather than the seconds a
        // real instrument is given.
        session->protocol().setPatience({10, 10, 2});
    }
    ~Bench() {
        server_.stop();
        thread_.join();
    }
    VirtualCable& cable() { return *cable_; }
    std::string drive() const { return drive_.path(); }
    std::string scratchBase() const { return scratch_.path(); }
    std::vector<std::string> commands() {
        std::lock_guard<std::mutex> lock(mutex_);
        return commands_;
    }

    std::unique_ptr<TransferSession> session;

private:
    TempDir drive_, scratch_;
    std::shared_ptr<VirtualCable> cable_;
    VirtualPortIo instrumentPort_;
    InstrumentServer server_;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::string> commands_;
};

std::vector<std::string> filesIn(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) out.push_back(fs::relative(e.path(), dir).string());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(InstrumentLink, ProbeListsProjectsAndQueueDownloadsAndConverts) {
    std::vector<DemoProject> projects = DemoProjects();
    for (DemoProject& p : projects) p.points = 1 + (&p - projects.data());  // 1, 2, 3 points
    Bench bench({}, projects);
    TransferSession& s = *bench.session;
    ASSERT_TRUE(s.ConnectionProbe())
        << s.protocol().StatusText() << " reads " << s.protocol().statusReads();
    ASSERT_EQ(s.sites().size(), 3u);
    EXPECT_EQ(s.sites()[0].displayName, "大桥桩基.qar");
    EXPECT_EQ(s.sites()[1].displayName, "大桥桩基—1.qar");
    EXPECT_EQ(s.sites()[2].pointCount(), 3);
    EXPECT_EQ(s.sites()[1].testDate, "2024-05-07");

    TempDir target;
    TransferQueue queue;
    queue.add(std::vector<int>{0, 1, 2});
    ScriptedPrompter prompter;
    std::vector<int> progress;
    std::atomic<bool> cancel{false};
    TransferSession::Progress report;
    report.progress = [&](int p) { progress.push_back(p); };
    EXPECT_EQ(s.RunQueue(queue, target.path(), prompter, cancel, report), 0);
    EXPECT_EQ(progress, (std::vector<int>{33, 66, 99, 100, 0}));
    EXPECT_EQ(prompter.infos, std::vector<std::string>{"QAR文件传输结束!"});
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(filesIn(target.path()),
              (std::vector<std::string>{"厂房.qar", "大桥桩基.qar", "大桥桩基—1.qar"}));
    const int expected[] = {1, 2, 3};
    for (int k = 0; k < 3; ++k) {
        CSondaraDoc doc;
        EXPECT_EQ(ReadProject(doc, target.path() + "/" + s.sites()[k].displayName), "");
        EXPECT_EQ(doc.pointCount(), expected[k]);
    }
    // The instrument's drive is untouched.
    EXPECT_TRUE(fs::exists(bench.drive() + "/dat/S0001/1.qar"));
}

TEST(InstrumentLink, PullingTheCableWhileIdleDisconnectsAndReplugReadsTheListAgain) {
    Bench bench;
    TransferSession& s = *bench.session;
    ASSERT_TRUE(s.ConnectionProbe());
    ASSERT_EQ(s.sites().size(), 3u);
    bench.cable().setPlugged(false);
    EXPECT_FALSE(s.ConnectionProbe());
    EXPECT_TRUE(s.sites().empty());
    // A new project appears while unplugged: it is listed after plugging back.
    auto projects = DemoProjects();
    projects.push_back({"S0004", "新工程", "2024-06-01", 1});
    ASSERT_TRUE(WriteDemoDrive(bench.drive(), projects));
    bench.cable().setPlugged(true);
    bool connected = false;
    for (int i = 0; i < 20 && !connected; ++i) connected = s.ConnectionProbe();
    ASSERT_TRUE(connected);
    EXPECT_EQ(s.sites().size(), 4u);
}

// Ends an exchange that would otherwise never end, so that a fault that makes the PC
// wait for ever fails the test instead of hanging it.
class Watchdog {
public:
    Watchdog(TransferSession& s, std::chrono::seconds after)
        : thread_([this, &s, after] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (!cv_.wait_for(lock, after, [this] { return done_; })) {
                  fired_ = true;
                  s.abort();
              }
          }) {}
    ~Watchdog() { stop(); }
    bool fired() {
        stop();
        return fired_;
    }

private:
    void stop() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        cv_.notify_all();
        if (thread_.joinable()) thread_.join();
    }
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false, fired_ = false;
    std::thread thread_;
};

// The PC's end of a cable whose program the machine holds up once, for `hold`, after
// its `at`-th data write (in the middle of a frame of the site list).
class HeldPcPort : public PortIo {
public:
    HeldPcPort(std::shared_ptr<VirtualCable> cable, long at, std::chrono::milliseconds hold)
        : inner_(std::move(cable), VirtualPortIo::Side::Pc), at_(at), hold_(hold) {}
    std::uint8_t readStatus() override { return inner_.readStatus(); }
    void writeData(std::uint8_t v) override {
        inner_.writeData(v);
        if (++writes_ == at_) std::this_thread::sleep_for(hold_);
    }
    void writeControl(std::uint8_t v) override { inner_.writeControl(v); }
    std::string name() const override { return inner_.name(); }
    bool peerHeld() override { return inner_.peerHeld(); }
    bool wasHeld() const { return writes_ >= at_; }

private:
    VirtualPortIo inner_;
    long at_, writes_ = 0;
    std::chrono::milliseconds hold_;
};

// Two programs on a busy machine are held up now and then for longer than either
// end's wait for a handshake; that time is not theirs and must not fail the link. An
// end that is gone still ends the other's waits.
TEST(InstrumentLink, AnEndHeldUpByTheMachineIsWaitedForAndAGoneOneIsNot) {
    TempDir drive, scratch;
    ASSERT_TRUE(WriteDemoDrive(drive.path(), DemoProjects()));
    {
        SCOPED_TRACE("instrument held up before it answers");
        auto cable = VirtualCable::inMemory();
        VirtualPortIo instrumentPort(cable, VirtualPortIo::Side::Instrument, 0);
        InstrumentServer server(instrumentPort, drive.path(), cable);
        instrumentPort.readStatus();  // it ran once, then the machine held it
        std::thread late([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(600));
            server.run();
        });
        TransferSession s(std::make_unique<VirtualPortIo>(cable, VirtualPortIo::Side::Pc),
                          scratch.path());
        s.protocol().setPatience({1, 1, 1});  // one wait of each kind, far below 600 ms
        EXPECT_TRUE(s.ConnectionProbe()) << s.protocol().StatusText();
        server.stop();
        late.join();
    }
    {
        SCOPED_TRACE("PC held up in the middle of a frame");
        auto cable = VirtualCable::inMemory();
        VirtualPortIo instrumentPort(cable, VirtualPortIo::Side::Instrument, 0);
        InstrumentServer server(instrumentPort, drive.path(), cable);
        std::thread serving([&] { server.run(); });
        // Longer than the instrument's byte wait (half a second), in the site list's data.
        auto port = std::make_unique<HeldPcPort>(cable, 250, std::chrono::milliseconds(900));
        const HeldPcPort& held = *port;
        TransferSession s(std::move(port), scratch.path());
        EXPECT_TRUE(s.ConnectionProbe()) << s.protocol().StatusText();
        EXPECT_TRUE(held.wasHeld());
        EXPECT_EQ(s.sites().size(), 3u);
        server.stop();
        serving.join();
    }
    {
        SCOPED_TRACE("nobody at the other end");
        auto cable = VirtualCable::inMemory();
        TransferSession s(std::make_unique<VirtualPortIo>(cable, VirtualPortIo::Side::Pc),
                          scratch.path());
        s.protocol().setPatience({1, 1, 1});
        Watchdog dog(s, std::chrono::seconds(30));
        EXPECT_FALSE(s.ConnectionProbe());
        EXPECT_FALSE(dog.fired());
    }
}

struct FaultCase {
    const char* what;
    InstrumentFaults faults;
    int projectsFailed;
    std::vector<std::string> messages;
};

TEST(InstrumentLink, FaultsFailTheProjectAndKeepWhatArrivedWhole) {
    const std::string failed = "获取文件%s失败！";
    std::vector<FaultCase> cases;
    {
        InstrumentFaults f;
        f.pullAfterBytes = 4338 + 500;  // in the second point file (after the probe's list)
        cases.push_back({"cable pulled", f, 1, {}});
    }
    {
        InstrumentFaults f;
        f.badHeaderFrame = 8;  // a frame of the project download
        cases.push_back({"corrupt frame header", f, 1, {}});
    }
    {
        InstrumentFaults f;
        f.wrongKeywordFor = "DOWND";
        cases.push_back({"wrong keyword", f, 1, {}});
    }
    {
        InstrumentFaults f;
        f.slowAnswerMs = 20;  // slow, but within what the PC waits
        cases.push_back({"slow answers", f, 0, {"QAR文件传输结束!"}});
    }
    {
        // Never a byte: each file comes as empty data frames only.
        InstrumentFaults f;
        f.emptyFramesFor = "DOWND";
        cases.push_back({"empty data frames", f, 1, {}});
    }
    {
        InstrumentFaults f;
        f.wrongKeywordFor = "DOWND";
        f.babble = true;  // "WHAT?" and again "WHAT?" instead of announcements
        cases.push_back({"endless unreadable replies", f, 1, {}});
    }
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.what);
        Bench bench(c.faults, {{"S0001", "P", "2024-05-06", 3}});
        TransferSession& s = *bench.session;
        ASSERT_TRUE(s.ConnectionProbe());
        TempDir target;
        TransferQueue queue;
        queue.add(0);
        ScriptedPrompter prompter;
        std::atomic<bool> cancel{false};
        Watchdog dog(s, std::chrono::seconds(60));
        EXPECT_EQ(s.RunQueue(queue, target.path(), prompter, cancel), c.projectsFailed);
        EXPECT_FALSE(dog.fired()) << "the transfer ended only when stopped";
        if (c.projectsFailed) {
            std::string m = failed;
            m.replace(m.find("%s"), 2, target.path() + "/");
            ASSERT_FALSE(prompter.infos.empty());
            EXPECT_EQ(prompter.infos.front(), m);
            EXPECT_FALSE(fs::exists(target.path() + "/P.qar"));
            // A staging folder is kept only for files that arrived.
            if (s.protocol().ReceivedFiles().empty() && s.protocol().FailedFiles().empty()) {
                EXPECT_TRUE(fs::is_empty(target.path())) << filesIn(target.path()).size();
            }
            // Files that arrived whole are kept, each as the instrument sent it.
            for (const std::string& f : s.protocol().ReceivedFiles()) {
                ASSERT_TRUE(fs::exists(f)) << f;
                const std::string name = fs::path(f).filename().string();
                EXPECT_EQ(test::readFile(f), test::readFile(bench.drive() + "/dat/S0001/" + name))
                    << name;
            }
        } else {
            EXPECT_EQ(prompter.infos, c.messages);
            EXPECT_TRUE(fs::exists(target.path() + "/P.qar"));
        }
    }
}

TEST(InstrumentLink, DataFileThatCannotBeWrittenIsSaidAndNotFollowedBySuccess) {
    Bench bench({}, {{"S0001", "P", "2024-05-06", 2}});
    TransferSession& s = *bench.session;
    ASSERT_TRUE(s.ConnectionProbe());
    TempDir target;
    // A folder stands where the data file goes.
    fs::create_directories(target.path() + "/P.qar/inside");
    TransferQueue queue;
    queue.add(0);
    ScriptedPrompter prompter;
    std::vector<int> progress;
    std::atomic<bool> cancel{false};
    TransferSession::Progress report;
    report.progress = [&](int p) { progress.push_back(p); };
    EXPECT_EQ(s.RunQueue(queue, target.path(), prompter, cancel, report), 1);
    ASSERT_EQ(prompter.infos.size(), 1u);
    EXPECT_EQ(prompter.infos[0].rfind("写入文件" + target.path() + "/P.qar失败！", 0), 0u)
        << prompter.infos[0];
    EXPECT_EQ(progress.back(), 0);
    // What was received stays, to be converted again once the way is clear.
    EXPECT_EQ(filesIn(target.path() + "/S0001.download"),
              (std::vector<std::string>{"1.qar", "2.qar", "pindex.par", "qar.par"}));
}

TEST(InstrumentLink, EmptyFramesForTheSiteListLeaveTheProbeNotConnected) {
    InstrumentFaults f;
    f.emptyFramesFor = "DOWNF";
    Bench bench(f);
    Watchdog dog(*bench.session, std::chrono::seconds(60));
    EXPECT_FALSE(bench.session->ConnectionProbe());
    EXPECT_FALSE(dog.fired());
    EXPECT_EQ(bench.session->protocol().StatusText(), "接收文件失败！");
}

TEST(InstrumentLink, NeverAnsweringInstrumentIsNotConnected) {
    InstrumentFaults f;
    f.neverAnswer = true;
    Bench bench(f);
    EXPECT_FALSE(bench.session->ConnectionProbe());
    EXPECT_EQ(bench.session->protocol().StatusText(), "数据接收失败 -1！");
    EXPECT_FALSE(bench.commands().empty());  // the request went out
}

TEST(InstrumentLink, AbortStopsADownloadAtOnce) {
    InstrumentFaults f;
    f.slowAnswerMs = 200;
    Bench bench(f, {{"S0001", "P", "2024-05-06", 30}});
    TransferSession& s = *bench.session;
    s.protocol().setPatience({});  // the real waits: only the abort can end them early
    ASSERT_TRUE(s.ConnectionProbe());
    TempDir target;
    TransferQueue queue;
    queue.add(0);
    ScriptedPrompter prompter;
    std::atomic<bool> cancel{false};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        s.abort();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(s.RunQueue(queue, target.path(), prompter, cancel), 1);
    stopper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

bool isLink(const std::string& p) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(p, ec));
}

TEST(InstrumentLink, ProbeWorksInAPrivateFolderAndNeverThroughAPlantedLink) {
    Bench bench;
    TempDir elsewhere;
    // The fixed names an earlier version used, planted as links.
    fs::create_directory_symlink(elsewhere.path(), bench.scratchBase() + "/sondara-transfer");
    TransferSession& s = *bench.session;
    ASSERT_TRUE(s.ConnectionProbe());
    const std::string scratch = s.scratchFolder();
    EXPECT_EQ(scratch.rfind(bench.scratchBase() + "/sondara-transfer-", 0), 0u) << scratch;
    struct stat st {};
    ASSERT_EQ(::lstat(scratch.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(filesIn(elsewhere.path()).empty());

    // A link put into the private folder itself (by a process of the same user) is
    // replaced by the received file, not written through.
    const std::string victim = elsewhere.file("victim");
    ASSERT_TRUE(test::writeFile(victim, "keep"));
    const std::string local = scratch + "rsite.par";
    fs::remove(local);
    fs::create_symlink(victim, local);
    std::string path = kInstrumentSiteList;
    EXPECT_EQ(s.protocol().Execute(TransferOp::DownloadFile, path, scratch), 1);
    EXPECT_FALSE(isLink(local));
    EXPECT_EQ(test::readFile(local), test::readFile(bench.drive() + "/dat/rsite.par"));
    EXPECT_EQ(test::readFile(victim), "keep");
    // Same for a link that points nowhere yet: nothing is made at its target.
    fs::remove(local);
    fs::create_symlink(elsewhere.file("made"), local);
    EXPECT_EQ(s.protocol().Execute(TransferOp::DownloadFile, path, scratch), 1);
    EXPECT_FALSE(fs::exists(elsewhere.file("made")));

    bench.session.reset();
    EXPECT_FALSE(fs::exists(scratch));
    EXPECT_TRUE(isLink(bench.scratchBase() + "/sondara-transfer"));
}

TEST(InstrumentLink, CableFileIsNeverOpenedThroughALink) {
    TempDir dir, elsewhere;
    const std::string existing = elsewhere.file("existing");
    ASSERT_TRUE(test::writeFile(existing, std::string(16, '\x07')));
    const std::pair<const char*, std::string> links[] = {{"to an existing file", existing},
                                                         {"to nothing yet", elsewhere.file("new")}};
    for (const auto& [what, target] : links) {
        SCOPED_TRACE(what);
        const std::string path = dir.file(std::string("cable-") + (target == existing ? "a" : "b"));
        fs::create_symlink(target, path);
        std::string error;
        EXPECT_EQ(VirtualCable::open(path, &error), nullptr);
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
    EXPECT_EQ(test::readFile(existing), std::string(16, '\x07'));
    EXPECT_FALSE(fs::exists(elsewhere.file("new")));
}

TEST(InstrumentLink, CableFileCutShortUnderBothEndsIsALinkFailure) {
    TempDir drive, scratch;
    ASSERT_TRUE(WriteDemoDrive(drive.path(), DemoProjects()));
    const std::string file = drive.file("cable");
    auto pcCable = VirtualCable::open(file);
    auto instrumentCable = VirtualCable::open(file);
    ASSERT_TRUE(pcCable && instrumentCable);
    VirtualPortIo instrumentPort(instrumentCable, VirtualPortIo::Side::Instrument, 0);
    InstrumentServer server(instrumentPort, drive.path(), instrumentCable);
    std::thread serve([&] { server.run(); });
    struct Join {
        InstrumentServer& server;
        std::thread& thread;
        ~Join() {
            server.stop();
            thread.join();
        }
    } join{server, serve};
    TransferSession s(std::make_unique<VirtualPortIo>(pcCable, VirtualPortIo::Side::Pc),
                      scratch.path());
    s.protocol().setPatience({10, 10, 2});
    ASSERT_TRUE(s.ConnectionProbe());
    EXPECT_EQ(s.portError(), "");

    // Touching a mapping past the end of its file would kill the process.
    ASSERT_EQ(::truncate(file.c_str(), 0), 0);
    EXPECT_FALSE(s.ConnectionProbe());
    EXPECT_FALSE(s.ConnectionProbe());
    EXPECT_NE(s.portError().find("截短"), std::string::npos) << s.portError();
    EXPECT_FALSE(pcCable->plugged());
    EXPECT_EQ(fs::file_size(file), 0u);  // nothing written into the cut file
}

}  // namespace
}  // namespace sondara
