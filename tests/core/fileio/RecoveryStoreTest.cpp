// The recovery files of unsaved work: written whole and atomically, found again by
// the document's path, and never loaded in part.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "core/app/AppPaths.h"
#include "core/fileio/ProjectFile.h"
#include "core/fileio/RecoveryStore.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

namespace fs = std::filesystem;

// A project as the program holds it: read from its file, then changed.
CSondaraDoc changedDoc() {
    test::TempDir dir;
    CSondaraDoc src = test::makeDoc(
        {test::sinePoint("A1", 512, 30.0, 9.0), test::sinePoint("A2", 512, 20.0, 7.0)});
    EXPECT_TRUE(WriteProject(src, dir.file("p.qar")));
    CSondaraDoc d;
    EXPECT_EQ(ReadProject(d, dir.file("p.qar")), "");
    d.points[1].headIndex = 17;
    setText(d.points[0].remark, "changed");
    d.commitChange(DocChange::Marks);
    return d;
}

std::string savedBytes(CSondaraDoc& d, const test::TempDir& dir, const char* name) {
    const std::string p = dir.file(name);
    EXPECT_TRUE(WriteProject(d, p));
    return test::readFile(p);
}

TEST(RecoveryStore, WritesTheWholeDocumentAndReadsItBackUnderItsPath) {
    test::TempDir dir;
    const std::string rec = dir.file("rec");
    fs::create_directories(rec);
    CSondaraDoc d = changedDoc();
    const std::string path = "/projects/site 7/桩基.qar";
    ASSERT_TRUE(WriteRecovery(TakeRecoverySnapshot(d, path, 1700000000), rec));

    RecoveryEntry e;
    ASSERT_TRUE(FindRecovery(rec, path, &e));
    EXPECT_FALSE(FindRecovery(rec, "/projects/other.qar", nullptr));
    EXPECT_EQ(e.originalPath, path);
    EXPECT_EQ(e.time, 1700000000);
    EXPECT_EQ(e.points, 2);
    const auto all = ListRecoveries(rec);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].originalPath, path);

    CSondaraDoc back;
    ASSERT_EQ(ReadRecovery(e, back), "");
    EXPECT_TRUE(savedBytes(back, dir, "a.qar") == savedBytes(d, dir, "b.qar"));
    // nothing but the two files, no temporary left behind
    int files = 0;
    for (const auto& f : fs::directory_iterator(rec)) files += f.is_regular_file();
    EXPECT_EQ(files, 2);

    RemoveRecovery(rec, path);
    EXPECT_FALSE(FindRecovery(rec, path, nullptr));
}

// Another running program as a child process: it takes its owner lock, writes its
// recovery and tells its owner name through a pipe, then waits to be killed.
struct OwnerProcess {
    pid_t pid = -1;
    std::string name;
    OwnerProcess(const std::string& rec, const std::string& docPath) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            RecoveryOwner owner(rec);
            CSondaraDoc d = test::makeDoc({test::sinePoint("C1", 64, 10.0, 5.0)});
            WriteRecovery(TakeRecoverySnapshot(d, docPath, 30), rec, nullptr, owner.name());
            const std::string n = owner.name() + "\n";
            if (::write(fds[1], n.data(), n.size()) < 0) ::_exit(1);
            for (;;) ::pause();
        }
        ::close(fds[1]);
        char buf[64];
        ssize_t got;
        while ((got = ::read(fds[0], buf, sizeof buf)) > 0) {
            name.append(buf, static_cast<std::size_t>(got));
            if (name.back() == '\n') break;
        }
        ::close(fds[0]);
        if (!name.empty()) name.pop_back();
    }
    void kill() {
        if (pid <= 0) return;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        pid = -1;
    }
    ~OwnerProcess() { kill(); }
};

TEST(RecoveryStore, ARunningProgramsFilesAreNeverOfferedAndAreOnceItIsKilled) {
    test::TempDir dir;
    const std::string rec = dir.file("rec");
    const std::string path = "/projects/a.qar";
    OwnerProcess first(rec, path);
    ASSERT_GT(first.pid, 0);
    ASSERT_FALSE(first.name.empty());

    // a second program starts: it sees the file, but it belongs to a running owner
    RecoveryOwner second(rec);
    ASSERT_TRUE(second.locked());
    ASSERT_NE(second.name(), first.name);
    EXPECT_TRUE(RecoveryOwnerAlive(rec, first.name));
    EXPECT_TRUE(RecoveryOwnerAlive(rec, second.name()));  // its own lock, in this process
    ASSERT_EQ(ListRecoveries(rec).size(), 1u);
    EXPECT_TRUE(ListOrphanedRecoveries(rec, second.name()).empty());
    EXPECT_FALSE(FindOrphanedRecovery(rec, path, nullptr, second.name()));
    PruneRecoveryLocks(rec);  // a running owner's lock stays
    EXPECT_TRUE(RecoveryOwnerAlive(rec, first.name));

    // the same program's files after a kill: the kernel dropped the lock
    first.kill();
    EXPECT_FALSE(RecoveryOwnerAlive(rec, first.name));
    const auto orphans = ListOrphanedRecoveries(rec, second.name());
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].owner, first.name);
    EXPECT_EQ(orphans[0].originalPath, path);

    // taken over: the files carry the new owner's name and are no orphans any more
    RecoveryEntry adopted;
    ASSERT_TRUE(AdoptRecovery(orphans[0], second.name(), &adopted));
    EXPECT_EQ(adopted.owner, second.name());
    EXPECT_TRUE(ListOrphanedRecoveries(rec).empty());
    EXPECT_FALSE(AdoptRecovery(orphans[0], "p1_other", nullptr));  // gone from its old name
    CSondaraDoc back;
    ASSERT_TRUE(FindRecovery(rec, path, &adopted));
    EXPECT_EQ(ReadRecovery(adopted, back), "");
    EXPECT_EQ(back.pointCount(), 1);
    // the dead owner's lock file went with its last file; the living one's stays
    PruneRecoveryLocks(rec);
    EXPECT_FALSE(fs::exists(rec + "/" + first.name + ".lock"));
    EXPECT_TRUE(fs::exists(rec + "/" + second.name() + ".lock"));
}

TEST(RecoveryStore, FilesFromBeforeOwnersAreOfferedAndTwoOwnersKeepTheirOwnFiles) {
    test::TempDir dir;
    const std::string rec = dir.file("rec");
    fs::create_directories(rec);
    CSondaraDoc d = changedDoc();
    ASSERT_TRUE(WriteRecovery(TakeRecoverySnapshot(d, "/p/old.qar", 5), rec));
    RecoveryOwner a(rec), b(rec);
    // both programs have the same file open: each keeps its own recovery of it
    ASSERT_TRUE(WriteRecovery(TakeRecoverySnapshot(d, "/p/same.qar", 6), rec, nullptr, a.name()));
    ASSERT_TRUE(WriteRecovery(TakeRecoverySnapshot(d, "/p/same.qar", 7), rec, nullptr, b.name()));
    EXPECT_EQ(ListRecoveries(rec).size(), 3u);
    const auto orphans = ListOrphanedRecoveries(rec, a.name());
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].originalPath, "/p/old.qar");
    EXPECT_TRUE(orphans[0].owner.empty());
    RemoveRecovery(rec, "/p/same.qar", a.name());
    RecoveryEntry e;
    ASSERT_TRUE(FindRecovery(rec, "/p/same.qar", &e));
    EXPECT_EQ(e.owner, b.name());
}

// A program killed in the middle of a recovery write (found by killing the desktop
// program in a test: the data had its name, the index was not yet written, and the
// work was reported damaged). Whatever step the kill stops, the recovery reads whole:
// the earlier write, or the new one when its index was written.
TEST(RecoveryStore, AWriteStoppedBetweenItsStepsLeavesARecoveryThatReads) {
    const std::string path = "/x/p.qar";
    CSondaraDoc older = changedDoc();
    CSondaraDoc newer = changedDoc();
    setText(newer.points[1].remark, "newer");
    for (const bool indexWritten : {false, true}) {
        for (const bool firstWrite : {false, true}) {
            SCOPED_TRACE(std::string(indexWritten ? "index written" : "index not written") +
                         (firstWrite ? ", first write" : ", a later write"));
            test::TempDir dir;
            const std::string rec = dir.file("rec"), done = dir.file("done");
            fs::create_directories(rec);
            fs::create_directories(done);
            // the files a whole newer write leaves, taken apart
            ASSERT_TRUE(WriteRecovery(TakeRecoverySnapshot(newer, path, 20), done));
            RecoveryEntry n;
            ASSERT_TRUE(FindRecovery(done, path, &n));
            RecoveryEntry e;
            if (!firstWrite) {
                ASSERT_TRUE(WriteRecovery(TakeRecoverySnapshot(older, path, 10), rec));
                ASSERT_TRUE(FindRecovery(rec, path, &e));
            } else {
                e.dataPath = rec + "/" + RecoveryKey(path) + ".qar";
                e.indexPath = rec + "/" + RecoveryKey(path) + ".idx";
            }
            fs::copy_file(n.dataPath, e.dataPath + ".next");
            if (indexWritten)
                fs::copy_file(n.indexPath, e.indexPath, fs::copy_options::overwrite_existing);

            const bool expectNone = firstWrite && !indexWritten;
            const auto listed = ListRecoveries(rec);
            ASSERT_EQ(listed.size(), expectNone ? 0u : 1u);
            RecoveryEntry found;
            ASSERT_EQ(FindRecovery(rec, path, &found), !expectNone);
            if (expectNone) continue;
            CSondaraDoc back;
            ASSERT_EQ(ReadRecovery(found, back), "");
            EXPECT_EQ(savedBytes(back, dir, "back.qar"),
                      savedBytes(indexWritten ? newer : older, dir, "want.qar"));
            EXPECT_EQ(found.time, indexWritten ? 20 : 10);
        }
    }
}

TEST(RecoveryStore, AnUntitledDocumentHasItsOwnEntry) {
    test::TempDir dir;
    CSondaraDoc d = changedDoc();
    ASSERT_TRUE(WriteRecovery(TakeRecoverySnapshot(d, "", 5), dir.path()));
    const auto all = ListRecoveries(dir.path());
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].key, "untitled");
    EXPECT_EQ(all[0].originalPath, "");
}

TEST(RecoveryStore, ADamagedRecoveryIsRefusedWholeAndSetAside) {
    struct Damage {
        const char* name;
        std::function<void(const RecoveryEntry&)> apply;
    };
    const Damage damages[] = {
        {"data cut short",
         [](const RecoveryEntry& e) {
             fs::resize_file(e.dataPath, fs::file_size(e.dataPath) - 700);
         }},
        {"data overwritten",
         [](const RecoveryEntry& e) { test::writeFile(e.dataPath, "garbage"); }},
        {"index lost", [](const RecoveryEntry& e) { fs::remove(e.indexPath); }},
        {"index says more points",
         [](const RecoveryEntry& e) {
             std::string t = test::readFile(e.indexPath);
             t.replace(t.find("points=2"), 8, "points=3");
             test::writeFile(e.indexPath, t);
         }},
    };
    for (const Damage& dmg : damages) {
        SCOPED_TRACE(dmg.name);
        test::TempDir dir;
        CSondaraDoc d = changedDoc();
        ASSERT_TRUE(WriteRecovery(TakeRecoverySnapshot(d, "/x/p.qar", 9), dir.path()));
        RecoveryEntry e;
        ASSERT_TRUE(FindRecovery(dir.path(), "/x/p.qar", &e));
        dmg.apply(e);
        ASSERT_TRUE(FindRecovery(dir.path(), "/x/p.qar", &e));
        CSondaraDoc back;
        EXPECT_NE(ReadRecovery(e, back), "");
        EXPECT_TRUE(back.points.empty()) << "never loaded in part";
        SetRecoveryAside(e);
        EXPECT_FALSE(FindRecovery(dir.path(), "/x/p.qar", nullptr));
        EXPECT_TRUE(fs::exists(e.dataPath + ".bad"));
        EXPECT_TRUE(ListRecoveries(dir.path()).empty());
    }
}

TEST(RecoveryStore, TheFolderIsTheUsersDataFolderAndPrivate) {
    const std::string d = recoveryDir();
    const char* xdg = std::getenv("XDG_DATA_HOME");
    ASSERT_NE(xdg, nullptr);  // the tests redirect it
    EXPECT_EQ(d, std::string(xdg) + "/sondara/recovery/");
    struct stat st {};
    ASSERT_EQ(::stat(d.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

}  // namespace
}  // namespace sondara
