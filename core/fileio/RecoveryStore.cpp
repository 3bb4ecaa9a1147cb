#include "core/fileio/RecoveryStore.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
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

RecoveryEntry entryOf(const std::string& dir, const std::string& key) {
    RecoveryEntry e;
    e.key = key;
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

bool WriteRecovery(const RecoverySnapshot& s, const std::string& dir, std::string* error) {
    const RecoveryEntry e = entryOf(dir, RecoveryKey(s.documentPath));
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
        if (d.path().extension() == ".idx") completeWrite(entryOf(dir, d.path().stem().string()));
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

bool FindRecovery(const std::string& dir, const std::string& documentPath, RecoveryEntry* out) {
    RecoveryEntry e = entryOf(dir, RecoveryKey(documentPath));
    completeWrite(e);
    std::error_code ec;
    if (!fs::exists(e.dataPath, ec)) return false;
    if (!parseIndex(readWhole(e.indexPath, 1 << 16), e)) {
        e.time = 0;
        e.points = -1;
    }
    if (e.points >= 0 && e.originalPath != documentPath) return false;  // another path, same hash
    if (e.points < 0) e.originalPath = documentPath;
    if (out) *out = std::move(e);
    return true;
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

void RemoveRecovery(const std::string& dir, const std::string& documentPath) {
    RemoveRecovery(entryOf(dir, RecoveryKey(documentPath)));
}

void SetRecoveryAside(const RecoveryEntry& e) {
    std::error_code ec;
    fs::rename(e.dataPath, e.dataPath + ".bad", ec);
    fs::rename(e.indexPath, e.indexPath + ".bad", ec);
}

}  // namespace sondara
