#include "core/output/SaveImageSettings.h"

#include <algorithm>
#include <cstring>

#include "core/base/FixedText.h"
#include "core/base/TextCodec.h"

namespace sondara {

namespace {
constexpr std::size_t kFolderBytes = 260;
constexpr const char* kFileName = "MIR_QAR4_BMP_001.ini";

std::string readFolder(ByteReader& r) {
    FixedText<kFolderBytes> folder{};
    if (!r.text(folder)) return {};
    return gbkToUtf8(textOf(folder));
}

void normalise(SaveImageSettings& s) {
    if (s.format != 0 && s.format != 1) s.format = 0;
    if (s.target != 0 && s.target != 1) s.target = 1;
    s.wordColumns = std::clamp(s.wordColumns, 1, kMaxWordColumns);
    if (s.dataSelection != 1 && s.dataSelection != 2) s.dataSelection = 0;
}
}  // namespace

SettingsFile saveImageSettingsFile() {
    return {kFileName, "MIR_QAR4_BMP_002"};
}
SettingsFile saveImageSettingsFileOld() {
    return {kFileName, "MIR_QAR4_BMP_001"};
}

bool loadSaveImageSettings(SaveImageSettings& s) {
    SaveImageSettings v;
    bool found = saveImageSettingsFile().read([&](ByteReader& r) {
        v.dataSelection = r.i32();
        v.format = r.i32();
        v.wordColumns = r.i32();
        v.width = r.i32();
        v.height = r.i32();
        v.target = r.i32();
        v.folder = readFolder(r);
    });
    if (!found) {
        found = saveImageSettingsFileOld().read([&](ByteReader& r) {
            const std::int32_t oldSelection = r.i32();
            v.dataSelection = oldSelection == 1 ? 2 : 1;
            v.format = r.i32();
            const std::int32_t sizeIndex = r.i32();
            const ImageSize size =
                sizeIndex >= 0 && sizeIndex < static_cast<int>(kImageSizes.size())
                    ? kImageSizes[static_cast<size_t>(sizeIndex)]
                    : kImageSizes[0];
            v.width = size.width;
            v.height = size.height;
            v.target = r.i32();
            v.folder = readFolder(r);
        });
    }
    if (!found) return false;
    normalise(v);
    s = v;
    return true;
}

bool saveSaveImageSettings(const SaveImageSettings& s, Prompter* prompter) {
    return saveImageSettingsFile().write(
        [&](ByteWriter& w) {
            w.i32(s.dataSelection);
            w.i32(s.format);
            w.i32(s.wordColumns);
            w.i32(s.width);
            w.i32(s.height);
            w.i32(s.target);
            FixedText<kFolderBytes> folder;
            setText(folder, utf8ToGbk(s.folder));
            w.text(folder);
        },
        prompter);
}

}  // namespace sondara
