#pragma once
// The waveform text export (导出波形文本): the processed samples of the current, the
// ticked or all points as plain GBK text, its remembered options in the settings
// file "MirSetOutT.dat" and the checks of its dialog.
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/ByteIo.h"
#include "core/base/TrNoop.h"
#include "core/model/SondaraDoc.h"

namespace sondara {

// Data sources of the export (数据来源).
enum class TextSource : int { Current = 0, Checked = 1, All = 2 };

// The export options. Texts are UTF-8 here; the settings file and the export file
// hold them as GBK.
struct TextExportSettings {
    bool header = true;          // 数据头(测点数、波形长度)
    bool timeColumn = false;     // 每点声时(us)
    std::uint8_t valueKind = 0;  // 量化值 0 / 毫伏值 1: kept, not offered
    std::string separator = " ";
    TextSource source = TextSource::Checked;
    std::string path;  // absolute path of the export file
};

// The defaults; the export path is "outData.txt" in the user's home folder.
TextExportSettings defaultTextExportSettings();

inline constexpr const char* kTextExportSettingsFile = "MirSetOutT.dat";
inline constexpr const char* kTextExportSettingsId = "OUTT_SET_V01";
// The settings file in the settings folder (or in `dir` when given).
std::string textExportSettingsPath(const std::string& dir = {});

// Reads the settings file. When it is missing, unreadable, shorter than its record,
// foreign or holds a source outside 0..2, `s` gets the defaults, which are written
// back, and the result is false.
bool loadTextExportSettings(TextExportSettings& s, const std::string& dir = {});
bool saveTextExportSettings(const TextExportSettings& s, const std::string& dir = {});

// ---- the export dialog ----
inline constexpr const char* kSpaceSeparatorLabel = SONDARA_TR_NOOP("sondara", " (空格)");
inline constexpr const char* kMsgBadParameters = SONDARA_TR_NOOP("sondara", "参数填写有误！");
inline constexpr const char* kMsgEmptySeparator = SONDARA_TR_NOOP("sondara", "分隔符不能为空！");
inline constexpr const char* kMsgPercentSeparator =
    SONDARA_TR_NOOP("sondara", "分隔符不能包含特殊字符（%）！");
inline constexpr const char* kMsgBadSavePath = SONDARA_TR_NOOP("sondara", "保存路径设置错误！");

// What the dialog's controls hold when 确定 is pressed. `readable` is false when a
// control value could not be read; `source` is the drop-down index (-1 none).
struct TextExportForm {
    bool readable = true;
    bool header = true;
    bool timeColumn = false;
    std::string separator;  // as shown: " (空格)" stands for a single blank
    int source = 1;
    std::string path;
};

// The separator as the drop-down shows it (a single blank as " (空格)").
std::string separatorForDisplay(const std::string& separator);
// The form of `s` as the dialog shows it.
TextExportForm formOf(const TextExportSettings& s);
// Checks the form in the dialog's order; returns "" and fills `out` (keeping its
// valueKind) when valid, otherwise the message to show. The path must be absolute.
std::string validateTextExportForm(const TextExportForm& form, TextExportSettings& out);

// ---- exporting ----
inline constexpr const char* kMsgNoCurrentPoint = SONDARA_TR_NOOP("sondara", "无当前测点数据！");
inline constexpr const char* kMsgNoCheckedPoint = SONDARA_TR_NOOP("sondara", "无勾选测点数据！");
inline constexpr const char* kMsgNoPoint = SONDARA_TR_NOOP("sondara", "无有效测点数据！");
inline constexpr const char* kMsgBadExportPath = SONDARA_TR_NOOP("sondara", "文件路径设置错误！");
inline constexpr const char* kAskOpenExport = SONDARA_TR_NOOP("sondara", "是否打开已导出文件？");
inline constexpr const char* kExportDoneCaption = SONDARA_TR_NOOP("sondara", "导出完成");

// The points the source designates, in list order; empty with the message in
// `message` when there is none.
std::vector<int> textExportPoints(const CSondaraDoc& doc, TextSource source, std::string* message);
// The export text of `points` (GBK).
void writeWaveText(ByteWriter& out, const CSondaraDoc& doc, const TextExportSettings& s,
                   const std::vector<int>& points);
// Exports to s.path (replaced atomically). Returns "" or the message to show.
std::string ExportWaveText(const CSondaraDoc& doc, const TextExportSettings& s);

}  // namespace sondara
