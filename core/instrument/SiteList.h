#pragma once
// The instrument's site list "c:\dat\rsite.par": an int16 entry count, then one
// 47-byte record per project (folder name, test date, point count as text, project
// name; NUL-padded GBK texts). Each entry also gets the name its data file will have
// on the PC: the trimmed project name, "[]" when empty, made unique with "%s—%d".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sondara {

struct SiteEntry {
    static constexpr int kRecordBytes = 47;
    std::string folderName;       // GBK, up to 10 bytes: the folder "C:\DAT\<name>\"
    std::string testDate;         // GBK, up to 12 bytes
    std::string pointCountText;   // up to 5 bytes of decimal text
    std::string siteProjectName;  // GBK, up to 20 bytes, as stored
    std::string displayName;      // UTF-8, ends with ".qar"

    int pointCount() const;       // the integer value of pointCountText (atoi-like)
};

// The most entries read from a site list (the count is a signed 16-bit value).
inline constexpr int kMaxSiteEntries = 32767;

// Reads the entries of a site list; a count of 0 or less gives none, and a file that
// ends early gives the entries it holds whole.
std::vector<SiteEntry> ParseSiteList(std::string_view bytes);
// The same from a file; false when it cannot be opened.
bool ReadSiteList(const std::string& path, std::vector<SiteEntry>& out);

// The display names for a list of project names (UTF-8), in order, with ".qar".
std::vector<std::string> MakeDisplayNames(const std::vector<std::string>& projectNames);

// The file name of a project's data file on the PC: the display name with ".qar"
// added when it lacks it, and path separators replaced so it stays one file name.
std::string TargetFileName(const std::string& displayName);

}  // namespace sondara
