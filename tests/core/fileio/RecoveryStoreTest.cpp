// The recovery files of unsaved work: written whole and atomically, found again by
// the document's path, and never loaded in part.
#include <gtest/gtest.h>
#include <sys/stat.h>

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
