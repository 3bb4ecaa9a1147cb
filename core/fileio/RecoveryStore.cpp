#include "core/fileio/RecoveryStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include "core/base/ByteIo.h"
#include "core/fileio/ProjectFile.h"

namespace sondara {

namespace {

namespace fs = std::filesystem;

constexpr const char* kIndexMagic = "SONDARA-RECOVERY 1";

std::string withSlash(std::string d) {
    if (!d.empty() && d.back() != '/') d += '/';
    return d;
}

// The index: the magic line, "time=", "points=", then "path=" and the path up to the
// end of the file (a path may hold any byte but NUL, newlines included).
std::uint64_t fnv1a(const std::string& bytes) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string indexText(const RecoverySnapshot& s, std::size_t size, std::uint64_t hash) {
    std::ostringstream o;
    o << kIndexMagic << "\ntime=" << s.time << "\npoints=" << s.points.size() << "\nsize=" << size
      << "\nhash=" << hash << "\npath=" << s.documentPath;
    return o.str();
}

bool parseIndex(const std::string& text, RecoveryEntry& e) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kIndexMagic) return false;
    bool haveTime = false, havePoints = false;
    while (std::getline(in, line)) {
        if (line.rfind("time=", 0) == 0) {
            try {
                e.time = std::stoll(line.substr(5));
                haveTime = true;
            } catch (...) {
                return false;
            }
        } else if (line.rfind("points=", 0) == 0) {
            try {
                e.points = std::stoi(line.substr(7));
                havePoints = true;
            } catch (...) {
                return false;
            }
        } else if (line.rfind("size=", 0) == 0 || line.rfind("hash=", 0) == 0) {
            try {
                (line[0] == 's' ? e.size : e.hash) = std::stoull(line.substr(5));
            } catch (...) {
                return false;
            }
        } else if (line.rfind("path=", 0) == 0) {
            const std::size_t at = text.find("\npath=");
            e.originalPath = text.substr(at + 6);
            return haveTime && havePoints && e.points >= 0;
        }
    }
    return false;
}

std::string readWhole(const std::string& path, std::size_t limit) {
    std::ifstream f(path, std::ios::binary);
    std::string s;
    char buf[4096];
    while (f && (limit == std::string::npos || s.size() < limit)) {
        f.read(buf, sizeof buf);
        s.append(buf, static_cast<std::size_t>(f.gcount()));
    }
    return s;
}

// "<document key>-<owner>": the document key is hex digits or "untitled", so the
// owner is everything after the first '-'.
std::string documentKeyOf(const std::string& key) {
    return key.substr(0, key.find('-'));
}

std::string fileKey(const std::string& documentPath, const std::string& owner) {
    const std::string k = RecoveryKey(documentPath);
    return owner.empty() ? k : k + "-" + owner;
}

RecoveryEntry entryOf(const std::string& dir, const std::string& key) {
    RecoveryEntry e;
    e.key = key;
    const std::size_t dash = key.find('-');
    if (dash != std::string::npos) e.owner = key.substr(dash + 1);
    e.dataPath = withSlash(dir) + key + ".qar";
    e.indexPath = withSlash(dir) + key + ".idx";
    return e;
}

}  // namespace

std::string RecoveryKey(const std::string& documentPath) {
    if (documentPath.empty()) return "untitled";
    // FNV-1a, 64 bits: short, stable across runs and machines
    char out[17];
    std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(fnv1a(documentPath)));
    return out;
}

RecoverySnapshot TakeRecoverySnapshot(const CSondaraDoc& doc, const std::string& documentPath,
                                      std::int64_t time) {
    RecoverySnapshot s;
    s.documentPath = documentPath;
    s.time = time;
    s.info = doc.info;
    s.originalInfo = doc.originalInfo;
    s.points = doc.points;
    s.originalPoints = doc.originalPoints;
    return s;
}

namespace {

// The data of a write in progress: "<key>.qar.next". The index is the point where a
// write takes effect: the new data is written whole beside the old, then the index
// that describes it, and only then does the new data take the old one's name. A
// process killed anywhere in between leaves either the old pair or a new index with
// its data under the ".next" name, which the next look finishes (completeWrite).
std::string nextPath(const RecoveryEntry& e) {
    return e.dataPath + ".next";
}

// Finishes a write that was stopped after its index: the ".next" data the index
// describes takes its place.
void completeWrite(RecoveryEntry e) {
    std::error_code ec;
    const std::string next = nextPath(e);
    if (!fs::exists(next, ec) || !parseIndex(readWhole(e.indexPath, 1 << 16), e)) return;
    const std::string data = readWhole(next, std::string::npos);
    if (data.size() == e.size && fnv1a(data) == e.hash) fs::rename(next, e.dataPath, ec);
}

}  // namespace

std::string RecoveryDataPath(const std::string& dir, const std::string& documentPath,
                             const std::string& owner) {
    return entryOf(dir, fileKey(documentPath, owner)).dataPath;
}

bool WriteRecovery(const RecoverySnapshot& s, const std::string& dir, std::string* error,
                   const std::string& owner) {
    const RecoveryEntry e = entryOf(dir, fileKey(s.documentPath, owner));
    CSondaraDoc doc;
    doc.info = s.info;
    doc.originalInfo = s.originalInfo;
    doc.points = s.points;
    doc.originalPoints = s.originalPoints;
    const std::string next = nextPath(e);
    if (!WriteProject(doc, next, error)) return false;
    AtomicFileWriter idx(e.indexPath);
    if (!idx.isOpen()) {
        if (error) *error = idx.error();
        return false;
    }
    // the index carries the size and a hash of the data, so that a data file that was
    // cut or changed later is recognised before it is read
    const std::string data = readWhole(next, std::string::npos);
    const std::string text = indexText(s, data.size(), fnv1a(data));
    idx.writer().bytes(text.data(), text.size());
    if (!idx.commit()) {
        if (error) *error = idx.error();
        return false;
    }
    std::error_code ec;
    fs::rename(next, e.dataPath, ec);
    if (ec) {
        if (error) *error = ec.message();
        return false;
    }
    return true;
}

std::vector<RecoveryEntry> ListRecoveries(const std::string& dir) {
    std::vector<RecoveryEntry> out;
    std::error_code ec;
    for (const fs::directory_entry& d : fs::directory_iterator(dir, ec))
        if (d.path().extension() == ".idx") {
            // a running owner finishes its own writes
            RecoveryEntry e = entryOf(dir, d.path().stem().string());
            if (!RecoveryOwnerAlive(dir, e.owner)) completeWrite(std::move(e));
        }
    for (const fs::directory_entry& d : fs::directory_iterator(dir, ec)) {
        const fs::path p = d.path();
        if (p.extension() != ".qar" || !d.is_regular_file(ec)) continue;
        RecoveryEntry e = entryOf(dir, p.stem().string());
        if (!parseIndex(readWhole(e.indexPath, 1 << 16), e)) {
            e.originalPath.clear();
            e.time = 0;
            e.points = -1;  // unknown: the data file alone cannot be trusted
        }
        out.push_back(std::move(e));
    }
    std::sort(out.begin(), out.end(),
              [](const RecoveryEntry& a, const RecoveryEntry& b) { return a.time > b.time; });
    return out;
}

namespace {

bool findIn(const std::vector<RecoveryEntry>& entries, const std::string& documentPath,
            RecoveryEntry* out) {
    const std::string key = RecoveryKey(documentPath);
    // newest first: the first entry of the path is the one to offer
    for (const RecoveryEntry& e : entries) {
        if (documentKeyOf(e.key) != key) continue;
        if (e.points >= 0 && e.originalPath != documentPath) continue;  // same hash, other path
        if (out) {
            *out = e;
            if (e.points < 0) out->originalPath = documentPath;
        }
        return true;
    }
    return false;
}

}  // namespace

bool FindRecovery(const std::string& dir, const std::string& documentPath, RecoveryEntry* out) {
    return findIn(ListRecoveries(dir), documentPath, out);
}

bool FindOrphanedRecovery(const std::string& dir, const std::string& documentPath,
                          RecoveryEntry* out, const std::string& self) {
    return findIn(ListOrphanedRecoveries(dir, self), documentPath, out);
}

std::vector<RecoveryEntry> ListOrphanedRecoveries(const std::string& dir, const std::string& self) {
    std::vector<RecoveryEntry> out;
    for (RecoveryEntry& e : ListRecoveries(dir))
        if (e.owner != self && !RecoveryOwnerAlive(dir, e.owner)) out.push_back(std::move(e));
    return out;
}

bool AdoptRecovery(const RecoveryEntry& e, const std::string& owner, RecoveryEntry* adopted) {
    const std::string dir = fs::path(e.dataPath).parent_path().string();
    RecoveryEntry to = entryOf(dir, fileKey(e.originalPath, owner));
    if (e.points < 0) to = entryOf(dir, documentKeyOf(e.key) + (owner.empty() ? "" : "-" + owner));
    to.originalPath = e.originalPath;
    to.time = e.time;
    to.points = e.points;
    to.size = e.size;
    to.hash = e.hash;
    if (to.dataPath != e.dataPath) {
        // the data first: a rename that fails because another program took the files
        // leaves them whole where they were
        std::error_code ec;
        fs::rename(e.dataPath, to.dataPath, ec);
        if (ec) return false;
        fs::rename(e.indexPath, to.indexPath, ec);
        fs::remove(nextPath(e), ec);
    }
    if (adopted) *adopted = std::move(to);
    return true;
}

// ---- owners -----------------------------------------------------------------------------

namespace {

std::string lockPathOf(const std::string& dir, const std::string& owner) {
    return withSlash(dir) + owner + ".lock";
}

std::string newOwnerName() {
    std::random_device rd;
    char out[48];
    std::snprintf(out, sizeof out, "p%ld_%08x", static_cast<long>(::getpid()),
                  static_cast<unsigned>(rd()));
    return out;
}

}  // namespace

RecoveryOwner::RecoveryOwner(std::string dir) : dir_(std::move(dir)) {
    std::error_code ec;
    fs::create_directories(dir_, ec);
    // A lock file found unheld is removed by a start that prunes: if that happens
    // between our open and our lock, the lock is on a file nobody else can see, so
    // it is taken again on a file that is still there.
    for (int attempt = 0; attempt < 8 && fd_ < 0; ++attempt) {
        name_ = newOwnerName();
        lockPath_ = lockPathOf(dir_, name_);
        // O_CLOEXEC: a program started from this one must not inherit (and keep) the lock
        const int fd = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) return;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            continue;
        }
        fd_ = fd;
        if (heldIn(dir_)) return;
        fd_ = -1;
        ::close(fd);
    }
}

bool RecoveryOwner::heldIn(const std::string& dir) const {
    if (fd_ < 0 || withSlash(dir) != withSlash(dir_)) return false;
    struct stat held {
    }, named{};
    return ::fstat(fd_, &held) == 0 && ::stat(lockPath_.c_str(), &named) == 0 &&
           held.st_ino == named.st_ino && held.st_dev == named.st_dev;
}

RecoveryOwner::~RecoveryOwner() {
    if (fd_ < 0) return;
    if (heldIn(dir_)) ::unlink(lockPath_.c_str());  // never another program's file
    ::close(fd_);
}

bool RecoveryOwnerAlive(const std::string& dir, const std::string& owner) {
    if (owner.empty()) return false;
    const int fd = ::open(lockPathOf(dir, owner).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;  // no lock file: the program ended
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);  // also drops a probe lock we took
    return held;
}

void PruneRecoveryLocks(const std::string& dir) {
    std::vector<std::string> owners;
    std::error_code ec;
    for (const fs::directory_entry& d : fs::directory_iterator(dir, ec))
        if (d.path().extension() == ".lock") owners.push_back(d.path().stem().string());
    if (owners.empty()) return;
    const std::vector<RecoveryEntry> entries = ListRecoveries(dir);
    for (const std::string& o : owners) {
        const bool hasFiles = std::any_of(entries.begin(), entries.end(),
                                          [&](const RecoveryEntry& e) { return e.owner == o; });
        if (hasFiles || RecoveryOwnerAlive(dir, o)) continue;
        fs::remove(lockPathOf(dir, o), ec);
    }
}

std::string ReadRecovery(const RecoveryEntry& e, CSondaraDoc& doc) {
    std::string error;
    std::string warning;
    const std::string data = readWhole(e.dataPath, std::string::npos);
    if (e.points < 0)
        error = "恢复文件的索引已损坏";
    else if (data.size() != e.size || fnv1a(data) != e.hash)
        error = "恢复文件不完整";
    else
        error = ReadProject(doc, e.dataPath, &warning);
    if (error.empty() && !warning.empty()) error = warning;
    if (error.empty() && doc.pointCount() != e.points) error = "恢复文件不完整";
    if (!error.empty()) {
        doc.clear();
        doc.announce(DocChange::PointList);
    }
    return error;
}

void RemoveRecovery(const RecoveryEntry& e) {
    std::error_code ec;
    fs::remove(nextPath(e), ec);
    fs::remove(e.dataPath, ec);
    fs::remove(e.indexPath, ec);
}

void RemoveRecovery(const std::string& dir, const std::string& documentPath,
                    const std::string& owner) {
    RemoveRecovery(entryOf(dir, fileKey(documentPath, owner)));
}

void SetRecoveryAside(const RecoveryEntry& e) {
    std::error_code ec;
    fs::rename(e.dataPath, e.dataPath + ".bad", ec);
    fs::rename(e.indexPath, e.indexPath + ".bad", ec);
}

}  // namespace sondara
