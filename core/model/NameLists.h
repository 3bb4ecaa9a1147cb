#pragma once
// The application's fixed name lists. Each entry is available as UTF-8 (for the
// user interface and the CLI) and as GBK bytes (what the data file stores and what
// text fields are compared against).
#include <string>
#include <vector>

namespace sondara {

struct NameList {
    std::vector<std::string> utf8;
    std::vector<std::string> gbk;
    int count() const { return static_cast<int>(utf8.size()); }
};

const NameList& PileTypeNames();    // 10 pile types, index = pileTypeIndex
const NameList& ClassNames();       // 5 integrity classes, index = integrityClass
const NameList& SensorNames();      // 3 sensor types, index = sensorType
const NameList& DefectNames();      // 8 defect kinds, index = PileMark kind
const NameList& ReportItemNames();  // 5 page-header items of printing

}  // namespace sondara
