#include "core/instrument/SiteList.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "core/base/TextCodec.h"

namespace sondara {

namespace {

std::string field(std::string_view rec, std::size_t at, std::size_t size) {
    std::string_view f = rec.substr(at, size);
    const auto nul = f.find('\0');
    return std::string(nul == std::string_view::npos ? f : f.substr(0, nul));
}

std::string trimBlanks(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

int SiteEntry::pointCount() const { return std::atoi(pointCountText.c_str()); }

std::vector<std::string> MakeDisplayNames(const std::vector<std::string>& projectNames) {
    std::vector<std::string> names;
    names.reserve(projectNames.size());
    int counter = 1;  // shared by all entries of one list
    for (const std::string& raw : projectNames) {
        const std::string base = trimBlanks(raw);
        std::string candidate = base.empty() ? std::string("[]") : base;
        for (const std::string& earlier : names) {
            if (candidate == earlier) {
                candidate = base + "—" + std::to_string(counter);
                ++counter;
            }
        }
        names.push_back(candidate);
    }
    for (std::string& n : names) n += ".qar";
    return names;
}

std::vector<SiteEntry> ParseSiteList(std::string_view bytes) {
    std::vector<SiteEntry> out;
    if (bytes.size() < 2) return out;
    const int n = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[0]) |
                                            (static_cast<unsigned char>(bytes[1]) << 8));
    if (n <= 0) return out;
    const std::size_t whole = (bytes.size() - 2) / SiteEntry::kRecordBytes;
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(n), whole);
    out.reserve(count);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i) {
        std::string_view rec = bytes.substr(2 + i * SiteEntry::kRecordBytes, SiteEntry::kRecordBytes);
        SiteEntry e;
        e.folderName = field(rec, 0, 10);
        e.testDate = field(rec, 10, 12);
        e.pointCountText = field(rec, 22, 5);
        e.siteProjectName = field(rec, 27, 20);
        names.push_back(gbkToUtf8(e.siteProjectName));
        out.push_back(std::move(e));
    }
    std::vector<std::string> display = MakeDisplayNames(names);
    for (std::size_t i = 0; i < out.size(); ++i) out[i].displayName = std::move(display[i]);
    return out;
}

bool ReadSiteList(const std::string& path, std::vector<SiteEntry>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    // 2 + 32767 records of 47 bytes bound what is worth reading.
    std::string bytes;
    bytes.resize(2 + static_cast<std::size_t>(kMaxSiteEntries) * SiteEntry::kRecordBytes);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    out = ParseSiteList(bytes);
    return true;
}

std::string TargetFileName(const std::string& displayName) {
    std::string name = displayName;
    for (char& c : name)
        if (c == '/' || c == '\\' || c == '\0') c = '_';
    if (!endsWith(name, ".qar")) name += ".qar";
    return name;
}

}  // namespace sondara
