#pragma once
// Recovery of unsaved work. While a document has unsaved changes the desktop writes
// the whole document, in the data file format, into the recovery folder
// (recoveryDir()); a later start offers it back. Each document has two files named
// from a hash of its path and the running program that owns them:
// "<key>-<owner>.qar" (the data) and "<key>-<owner>.idx" (a small text index: the
// original path, the time of writing and the point count). A document that was never
// saved uses the key "untitled".
//
// Ownership: every running program holds an exclusive lock (flock) on "<owner>.lock"
// in the folder for its whole life; the kernel drops it when the process ends in any
// way. Recovery files whose owner still holds its lock belong to a running program
// and are never offered, adopted or deleted by another one.
//
// Plain file operations, no threads: the desktop calls write() from its worker and
// everything else from the interface thread, one writer at a time.
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/SondaraDoc.h"

namespace sondara {

struct RecoveryEntry {
    std::string key;           // the file name without its suffix: "<document key>-<owner>"
    std::string owner;         // empty for files written before owners (offered as orphans)
    std::string originalPath;  // empty for a document never saved
    std::int64_t time = 0;     // seconds since the epoch
    int points = 0;
    std::uint64_t size = 0, hash = 0;  // of the data file as written
    std::string dataPath, indexPath;
};

// The key of a document path (empty path: "untitled").
std::string RecoveryKey(const std::string& documentPath);

// The copy of a document that a recovery file is written from: headers and both
// point lists, without observers or history.
struct RecoverySnapshot {
    std::string documentPath;
    std::int64_t time = 0;
    ProjectInfo info{}, originalInfo{};
    std::vector<TestPoint> points, originalPoints;
};
RecoverySnapshot TakeRecoverySnapshot(const CSondaraDoc& doc, const std::string& documentPath,
                                      std::int64_t time);

// Writes the data beside the previous data ("<key>.qar.next"), then the index, each
// atomically (temporary file, fsync, rename), and then gives the new data its name,
// into `dir`. False with `error` set on failure; the previous files stay. A process
// killed between the steps leaves the previous pair, or the new index with its data
// still named ".next": looking the recovery up (List/FindRecovery) finishes that.
bool WriteRecovery(const RecoverySnapshot& s, const std::string& dir, std::string* error = nullptr,
                   const std::string& owner = {});
// The data file a write of `documentPath` by `owner` produces.
std::string RecoveryDataPath(const std::string& dir, const std::string& documentPath,
                             const std::string& owner);

// The lock of a running program over its recovery files, held from construction until
// destruction (or the end of the process). Not copyable.
class RecoveryOwner {
public:
    explicit RecoveryOwner(std::string dir);
    ~RecoveryOwner();
    RecoveryOwner(const RecoveryOwner&) = delete;
    RecoveryOwner& operator=(const RecoveryOwner&) = delete;
    const std::string& name() const { return name_; }
    bool locked() const { return fd_ >= 0; }
    // Whether the lock is held on the lock file that is in `dir` now (it was not
    // removed or replaced meanwhile).
    bool heldIn(const std::string& dir) const;

private:
    std::string dir_, name_, lockPath_;
    int fd_ = -1;
};
// Whether the program named `owner` still runs (holds its lock). An empty name (files
// from before owners) is no running program.
bool RecoveryOwnerAlive(const std::string& dir, const std::string& owner);

// The recovery files in `dir`, newest first. An index that cannot be read lists the
// entry with an empty path and time 0 only when its data file exists.
std::vector<RecoveryEntry> ListRecoveries(const std::string& dir);
// The recovery files left by programs that no longer run (other than `self`), newest
// first: the ones a start may offer.
std::vector<RecoveryEntry> ListOrphanedRecoveries(const std::string& dir,
                                                  const std::string& self = {});
// The newest entry of one document path, of any owner, if there is one.
bool FindRecovery(const std::string& dir, const std::string& documentPath, RecoveryEntry* out);
// The same among the orphaned entries only.
bool FindOrphanedRecovery(const std::string& dir, const std::string& documentPath,
                          RecoveryEntry* out, const std::string& self = {});
// Takes an orphaned entry over: its files get the names of `owner`, so that they stay
// while this program runs, are rewritten by it and removed when it is done with them.
// False when the files are gone (another program took them first).
bool AdoptRecovery(const RecoveryEntry& e, const std::string& owner, RecoveryEntry* adopted);
// Removes the lock files of programs that ended and left no recovery files.
void PruneRecoveryLocks(const std::string& dir);

// Reads the recovered document. Only a file that reads completely (every point of
// the index, no lost records) loads: otherwise `doc` is cleared and the message is
// returned. "" on success.
std::string ReadRecovery(const RecoveryEntry& e, CSondaraDoc& doc);

// Deletes both files of the entry.
void RemoveRecovery(const RecoveryEntry& e);
void RemoveRecovery(const std::string& dir, const std::string& documentPath,
                    const std::string& owner = {});
// Keeps a damaged recovery aside: both files get the suffix ".bad" and are never
// offered again.
void SetRecoveryAside(const RecoveryEntry& e);

}  // namespace sondara
