#pragma once
// The application's fixed name lists. Each entry is available as UTF-8 (for the
// user interface and the CLI) and as GBK bytes (what the data file stores and what
// text fields are compared against).
#include <string>
#include <string_view>
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

// A name as the user reads it: an entry of the list in the language the program
// speaks (SONDARA_TR), any other text (a custom pile type or defect name) as stored.
std::string ShownName(const NameList& list, std::string_view utf8);
std::string ShownName(const NameList& list, int index);  // "" outside the list
// The list's entry of a shown name (its Chinese text); any other text as it is.
std::string SourceName(const NameList& list, std::string_view shown);

}  // namespace sondara
