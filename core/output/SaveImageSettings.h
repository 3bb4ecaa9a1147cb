#pragma once
// The remembered choices of 保存图形 and their settings file "MIR_QAR4_BMP_001.ini".
// The current layout starts with "MIR_QAR4_BMP_002"; the older "MIR_QAR4_BMP_001"
// layout (a size index instead of width and height, no column count) is still read.
#include <array>
#include <cstdint>
#include <string>

#include "core/app/SettingsFile.h"
#include "core/output/ImageExport.h"

namespace sondara {

class Prompter;

// The 12 sizes offered with one picture per row.
inline constexpr std::array<ImageSize, 12> kImageSizes{{
    {530, 145}, {530, 200}, {530, 270}, {530, 400},
    {1024, 145}, {1024, 200}, {1024, 270}, {1024, 400},
    {2048, 145}, {2048, 200}, {2048, 270}, {2048, 400},
}};
inline constexpr int kMaxImageSide = 99999;
inline constexpr int kMaxWordColumns = 30;
inline constexpr int kWordPageWidth = 530;  // the width shared by the pictures of a row

struct SaveImageSettings {
    std::int32_t dataSelection = 0;  // DataSelection; 0 = the first offered
    std::int32_t format = 0;         // ImageFormat
    std::int32_t wordColumns = 1;
    std::int32_t width = 530;
    std::int32_t height = 145;
    std::int32_t target = 1;         // ImageTarget: Word
    std::string folder;              // UTF-8; stored as 260 GBK bytes
};

SettingsFile saveImageSettingsFile();        // current layout
SettingsFile saveImageSettingsFileOld();     // the older layout, read only

// Reads either layout; false when neither header is there (the caller writes the
// defaults). Values out of range are brought back into range: a format other than
// 0 or 1 is BMP, the columns 1..30, the target 0 or 1.
bool loadSaveImageSettings(SaveImageSettings& s);
bool saveSaveImageSettings(const SaveImageSettings& s, Prompter* prompter);

}  // namespace sondara
