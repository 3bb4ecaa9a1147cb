#pragma once
// Writes a folder laid out as the instrument's drive: "dat/rsite.par" with one entry
// per project and, per project, "dat/<folder>/qar.par", "pindex.par" and the point
// files "1.qar", "2.qar", ... For the emulator's demonstration drive, tests and
// measurements.
#include <string>
#include <vector>

namespace sondara {

struct DemoProject {
    std::string folderName;   // up to 10 bytes
    std::string projectName;  // UTF-8, written as GBK (up to 20 bytes)
    std::string testDate = "2024-05-06";
    int points = 3;
};

// The bytes of one instrument point file (4338 bytes) for point `number` (1-based).
std::string DemoPointFile(int number, int integrateFlag = 0, int passCount = 1);

// Writes the drive under `root`; false when a file could not be written.
bool WriteDemoDrive(const std::string& root, const std::vector<DemoProject>& projects);

// Three small projects, two of them with the same name.
std::vector<DemoProject> DemoProjects();

}  // namespace sondara
