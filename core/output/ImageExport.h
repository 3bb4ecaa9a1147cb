#pragma once
// The rules of 保存图形 that need no window: what may be exported, the size of the
// current display, the items and their file names.
#include <string>
#include <string_view>
#include <vector>

#include "core/base/TrNoop.h"
#include "core/display/WaveDisplayModel.h"
#include "core/model/SondaraDoc.h"

namespace sondara {

inline constexpr const char* kNothingToExport =
    SONDARA_TR_NOOP("sondara",
                    "   没有用于生成位图的备选项，请确保以\n下两项中至少一项满足：\n"
                    "   1：测点列表有被“√”选中的数据；\n   2：显示区有波形显示。");
inline constexpr const char* kCreateFileFailed = SONDARA_TR_NOOP("sondara", "创建文件失败！");
inline constexpr const char* kWordServiceFailed =
    SONDARA_TR_NOOP("sondara", "创建Word2000服务失败!");
inline constexpr const char* kBuildingWordReport =
    SONDARA_TR_NOOP("sondara", "正在创建Word报告，请稍候...");

// What the export takes: the panes of the current display, or the checked points.
enum class DataSelection : int { CurrentDisplay = 1, CheckedPoints = 2 };
// BMP and JPEG are the export formats the user chooses; PNG is what documents embed
// (lossless and small, so a report of hundreds of figures stays quick to write).
enum class ImageFormat : int { Bmp = 0, Jpeg = 1, Png = 2 };
enum class ImageTarget : int { Files = 0, Word = 1 };

// The largest picture drawn, in pixels (width × height): 256 MB at four bytes a pixel.
// The dialog takes sides up to 99999, far beyond what memory holds.
inline constexpr long long kMaxImagePixels = 1LL << 26;
// Empty when a picture of width × height pixels may be drawn; otherwise the refusal,
// naming the size and the cap.
std::string ImageSizeRefusal(int width, int height);

inline const char* ImageExtension(ImageFormat f) {
    return f == ImageFormat::Jpeg ? "jpg" : f == ImageFormat::Png ? "png" : "bmp";
}

// Trims blanks at both ends and replaces \ / * ? < > | " by '_'; an empty result is
// "_". Works on UTF-8, whose multi-byte characters never hold those bytes.
std::string SanitizeFileName(std::string_view text);

// The selections offered: 当前显示 when the display has panes or nothing is checked,
// 选中波形 when points are checked. Empty when neither applies (nothing to export).
std::vector<DataSelection> OfferedSelections(int paneCount, int checkedCount);

// The size of the current display as the dialog offers it for 当前显示: the first
// pane of a single-trace display, an average or a cross power; the first pane's
// width and all strips of a wave train; otherwise 0 x 0.
struct ImageSize {
    int width = 0;
    int height = 0;
    bool operator==(const ImageSize&) const = default;
};
ImageSize CurrentDisplaySize(const WaveDisplayModel& model);

// One thing to draw: a checked point, a pane of the display, or the whole wave train.
struct ExportItem {
    enum class Kind { CheckedPoint, DisplayPane, WaveTrain };
    Kind kind = Kind::CheckedPoint;
    int index = 0;  // the point index, the pane index; unused for the wave train
};

// The items of a selection: the checked points in check-list order; for the current
// display the whole wave train as one item, otherwise every pane in order.
std::vector<ExportItem> ExportItems(DataSelection sel, const CSondaraDoc& doc,
                                    const WaveDisplayModel& model);

// "%sNO%d：%s.%s" (folder, number, sanitised pile number, extension) for a point or a
// pane, "%s波列.%s" for the wave train. `folder` ends with '/'. Texts are UTF-8.
std::string ExportFileName(const ExportItem& item, const std::string& folder,
                           const CSondaraDoc& doc, const WaveDisplayModel& model,
                           ImageFormat format);

}  // namespace sondara
