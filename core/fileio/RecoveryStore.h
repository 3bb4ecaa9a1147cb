#pragma once
// Recovery of unsaved work. While a document has unsaved changes the desktop writes
// the whole document, in the data file format, into the recovery folder
// (recoveryDir()); the next start offers it back. Each document has two files named
// from a hash of its path: "<key>.qar" (the data) and "<key>.idx" (a small text
// index: the original path, the time of writing and the point count). A document
// that was never saved uses the key "untitled".
//
// Plain file operations, no threads: the desktop calls write() from its worker and
// everything else from the interface thread, one writer at a time.
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/SondaraDoc.h"

namespace sondara {

struct RecoveryEntry {
    std::string key;
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
bool WriteRecovery(const RecoverySnapshot& s, const std::string& dir, std::string* error = nullptr);

// The recovery files in `dir`, newest first. An index that cannot be read lists the
// entry with an empty path and time 0 only when its data file exists.
std::vector<RecoveryEntry> ListRecoveries(const std::string& dir);
// The entry of one document path, if there is one.
bool FindRecovery(const std::string& dir, const std::string& documentPath, RecoveryEntry* out);

// Reads the recovered document. Only a file that reads completely (every point of
// the index, no lost records) loads: otherwise `doc` is cleared and the message is
// returned. "" on success.
std::string ReadRecovery(const RecoveryEntry& e, CSondaraDoc& doc);

// Deletes both files of the entry.
void RemoveRecovery(const RecoveryEntry& e);
void RemoveRecovery(const std::string& dir, const std::string& documentPath);
// Keeps a damaged recovery aside: both files get the suffix ".bad" and are never
// offered again.
void SetRecoveryAside(const RecoveryEntry& e);

}  // namespace sondara
