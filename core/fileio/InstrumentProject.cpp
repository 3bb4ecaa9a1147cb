#include "core/fileio/InstrumentProject.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>

#include "core/base/ByteIo.h"
#include "core/base/Prompter.h"
#include "core/fileio/LegacyFile.h"

namespace sondara {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxPoints = 9998;  // more could not be read back from one data file
constexpr int kFixedBytes = kLegacyRecordFixedBytes;  // point file bytes before the samples
constexpr int kRecordedLengthAt = 106;

// Point file offsets and what they become in the version-2 record.
constexpr int kCommonHeadBytes = 46;  // spare0 .. spare104, copied as they are
constexpr int kIntegrateAt = 46;
constexpr int kPassesAt = 48;
constexpr int kBlock1At = 50, kBlock1Bytes = 46;  // first 40 bytes kept, last 6 dropped
constexpr int kBlock1Kept = 40;
constexpr int kTailAt = 96, kTailBytes = kFixedBytes - kTailAt;  // pileLength .. smoothing block
constexpr int kBlock2At = 192, kBlock2Bytes = 50;
constexpr char kPreset[] = "dorvanel";

std::int16_t le16(const unsigned char* p) {
    return static_cast<std::int16_t>(p[0] | (p[1] << 8));
}
void putLe16(unsigned char* p, std::int16_t v) {
    p[0] = static_cast<unsigned char>(v & 0xff);
    p[1] = static_cast<unsigned char>((v >> 8) & 0xff);
}

std::string lowerAscii(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The files of the downloaded folder, found by name whatever the case the
// instrument's file system gave them ("QAR.PAR", "1.QAR").
class FolderIndex {
public:
    explicit FolderIndex(fs::path dir) : dir_(std::move(dir)) {
        std::error_code ec;
        for (fs::directory_iterator it(dir_, ec), end; !ec && it != end; it.increment(ec)) {
            if (!it->is_regular_file(ec)) continue;
            byLower_.emplace(lowerAscii(it->path().filename().string()), it->path());
        }
    }
    std::optional<fs::path> find(const std::string& name) const {
        std::error_code ec;
        fs::path exact = dir_ / name;
        if (fs::is_regular_file(exact, ec)) return exact;
        auto it = byLower_.find(lowerAscii(name));
        if (it != byLower_.end()) return it->second;
        return std::nullopt;
    }

private:
    fs::path dir_;
    std::map<std::string, fs::path> byLower_;
};

// Reads up to `size` bytes of a file into `dst`; -1 when it cannot be opened.
long readUpTo(const fs::path& path, unsigned char* dst, std::size_t size) {
    auto src = openFileSource(path.string());
    if (!src) return -1;
    std::size_t got = 0;
    while (got < size) {
        std::size_t n = src->read(dst + got, size - got);
        if (n == 0) break;
        got += n;
    }
    return static_cast<long>(got);
}

void presetBlock(unsigned char* p, std::size_t size) {
    std::memset(p, 0, size);
    std::memcpy(p, kPreset, std::min(size, sizeof kPreset - 1));
}

}  // namespace

InstrumentConversion ConvertInstrumentFolder(const std::string& folder,
                                             const std::string& targetPath, Prompter& prompter,
                                             const InstrumentConvertOptions& options) {
    InstrumentConversion result;
    const FolderIndex files(folder.empty() ? fs::path(".") : fs::path(folder));

    unsigned char header[kInstrumentHeaderBytes];
    std::optional<fs::path> headerPath = files.find("qar.par");
    if (!headerPath || readUpTo(*headerPath, header, sizeof header) < kInstrumentHeaderBytes) {
        prompter.info(kMsgNotInstrumentProject);
        result.error = kMsgNotInstrumentProject;
        return result;
    }
    result.declaredPoints = le16(header);

    // Every record is built first: the header must carry the number of records that
    // actually follow, and nothing is deleted before the data file is safely written.
    ByteWriter records;
    std::vector<fs::path> converted;
    std::error_code ec;
    const int last = std::min(static_cast<int>(result.declaredPoints), kMaxPoints);
    for (int i = 1; i <= last; ++i) {
        using Reason = InstrumentConversion::SkipReason;
        std::optional<fs::path> path = files.find(std::to_string(i) + ".qar");
        // Bytes a point file does not supply read as the instrument's presets.
        unsigned char src[kInstrumentPointBytes] = {};
        presetBlock(src + kBlock1At, kBlock1Bytes);
        presetBlock(src + kBlock2At, kBlock2Bytes);
        long got = path ? readUpTo(*path, src, sizeof src) : -1;
        if (got < 0) {
            result.skipped.push_back({i, Reason::Missing});
            continue;
        }
        if (got < kFixedBytes) {
            result.skipped.push_back({i, Reason::Short});
            continue;
        }
        // The record holds exactly the samples its recordedLength announces, so that
        // the reader neither runs past them nor into the next record.
        const std::int16_t recorded = le16(src + kRecordedLengthAt);
        if (recorded <= 0) {
            result.skipped.push_back({i, Reason::NoSamples});
            continue;
        }
        const int keep = std::min<int>(recorded, kInstrumentPointSamples);
        if (got < kFixedBytes + 4L * keep) {
            result.skipped.push_back({i, Reason::Short});
            continue;
        }

        records.bytes(src, kCommonHeadBytes);
        std::int16_t integrate = le16(src + kIntegrateAt);
        records.i16(integrate == 0 || integrate == 1 ? integrate : 0);
        records.i16(std::clamp<std::int16_t>(le16(src + kPassesAt), 1, 5));
        records.zeros(3 * 2);  // front-zero end, back-zero start, shift
        records.bytes(src + kBlock1At, kBlock1Kept);
        unsigned char tail[kTailBytes];
        std::memcpy(tail, src + kTailAt, sizeof tail);
        if (recorded > kInstrumentPointSamples) {
            putLe16(tail + (kRecordedLengthAt - kTailAt), kInstrumentPointSamples);
            result.truncated.push_back(i);
        }
        records.bytes(tail, sizeof tail);
        records.bytes(src + kFixedBytes, 4 * static_cast<std::size_t>(keep));
        records.i16(0);  // no spectrum marks
        ++result.convertedPoints;
        // A point file that is the target itself (a project named "1") is replaced
        // by the data file and must not be deleted afterwards.
        if (!fs::equivalent(*path, fs::path(targetPath), ec)) converted.push_back(*path);
    }

    if (result.convertedPoints == 0) {
        prompter.info(kMsgNotInstrumentProject);
        result.error = kMsgNotInstrumentProject;
        return result;
    }

    AtomicFileWriter f(targetPath);
    if (!f.isOpen()) {
        result.error = "cannot create " + targetPath + ": " + f.error();
        return result;
    }
    ByteWriter& w = f.writer();
    w.bytes("QAR02", 5);
    w.i16(static_cast<std::int16_t>(result.convertedPoints));
    w.bytes(header + 2, 50);   // testingUnit
    w.bytes(header + 52, 20);  // projectName
    w.bytes(records.buffer().data(), records.buffer().size());
    if (!f.commit()) {
        result.error = "cannot write " + targetPath + ": " + f.error();
        return result;
    }
    result.written = true;

    if (options.deleteSources) {
        fs::remove(*headerPath, ec);
        if (auto index = files.find("pindex.par")) fs::remove(*index, ec);
        for (const fs::path& p : converted) fs::remove(p, ec);
    }
    return result;
}

InstrumentConversion ConvertInstrumentProject(const std::string& targetPath, Prompter& prompter) {
    const std::size_t slash = targetPath.find_last_of("/\\");
    const std::string folder =
        slash == std::string::npos ? std::string() : targetPath.substr(0, slash + 1);
    return ConvertInstrumentFolder(folder, targetPath, prompter);
}

}  // namespace sondara
