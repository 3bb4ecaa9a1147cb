#pragma once
// The page settings of printing ("打印设置" → " 页面") and their settings file
// "MIR_QAR4_PRINT_001.ini": what is printed, the grid of cells, the margins, the page
// header, footer and number, the font and the header table. Stored as one 5460-byte
// block after the 30-byte identity, field by field.
//
// Texts are GBK bytes as stored; the dialogs convert at their edge.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/SettingsFile.h"
#include "core/base/FixedText.h"

namespace sondara {

class ByteReader;
class ByteWriter;
class Prompter;

inline constexpr std::size_t kPrintSettingsBytes = 5460;
inline constexpr int kHeaderTableMaxRows = 10;
inline constexpr int kHeaderTableMaxColumns = 10;
inline constexpr std::uint8_t kFreeTextCell = 100;  // a header-table cell showing its own text
inline constexpr int kPrintGridMax = 20;
inline constexpr int kFirstPageMax = 500;
inline constexpr float kMarginMaxCm = 10.0f;

// A font as the page settings keep it (the height is read as points).
struct PrintFont {
    std::int32_t height = 12;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 90;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0x30;
    FixedText<32> faceName{};  // GBK, default "宋体"
    bool operator==(const PrintFont&) const = default;
};

// The per-point print items, in the order their cells follow each other.
enum class PrintItem : int { Trace = 0, Amplitude, Power, Cepstrum, LogSpectrum };

struct PrintSettings {
    PrintSettings();  // the defaults

    // ---- header table (表头) ----
    std::int32_t tableRows = 2;       // 1..10
    std::int32_t tableColumns = 2;    // 1..10
    float tableRowHeightCm = 1.0f;    // 0.0..10.0
    std::int32_t tableGridLines = 0;  // 表格线
    // index row * 10 + column: a value below 5 selects that report item, else free text
    std::array<std::uint8_t, 100> cellKinds{};
    std::array<FixedText<50>, 100> cellTexts{};  // at most 49 bytes each

    // ---- print items (打印项) ----
    std::array<std::int32_t, 5> perPointItems{1, 0, 0, 0, 0};  // 波形 幅值谱 功率谱 倒频谱 对数谱
    std::int32_t reserved = 0;
    std::int32_t currentDisplay = 0;  // 当前显示

    PrintFont font;
    FixedText<100> headerText{};  // 页眉, at most 99 bytes
    FixedText<100> footerText{};  // 页脚

    std::int32_t pageNumberFormat = 0;    // 0 "%d" .. 4 "共%d页 第%d页"
    std::int32_t pageNumberPosition = 5;  // 0 top left .. 5 bottom right
    std::int32_t firstPage = 1;           // 1..500
    std::int32_t printTable = 1;          // 表头
    std::int32_t printHeader = 1;         // 页眉
    std::int32_t printFooter = 1;         // 页脚
    std::int32_t printPageNumber = 1;     // 页码
    std::int32_t rows = 4;                // 1..20
    std::int32_t columns = 1;             // 1..20
    std::int32_t autoLayout = 0;          // 自动
    float marginTopCm = 2.0f;             // 0.0..10.0
    float marginBottomCm = 2.0f;
    float marginLeftCm = 1.5f;
    float marginRightCm = 1.5f;

    bool item(PrintItem i) const { return perPointItems[static_cast<size_t>(i)] != 0; }
    // Every value brought into its range (a file may hold anything): counts and
    // choices outside their range, and margins or heights that are not finite, take
    // the nearest bound or the default; every text ends with a NUL.
    void clampToRanges();

    bool operator==(const PrintSettings&) const = default;
};

// The block as stored, field by field (exactly kPrintSettingsBytes bytes).
void writePrintSettings(ByteWriter& w, const PrintSettings& s);
// Reads what the reader still holds; a short record leaves the remaining fields as
// they were. The result is clamped to the ranges.
void readPrintSettings(ByteReader& r, PrintSettings& s);

SettingsFile printSettingsFile(std::string dir = {});
// Defaults first, then the file; a missing or foreign file is replaced by one
// holding the defaults. Returns whether the file was read.
bool loadOrWriteDefaults(PrintSettings& s, Prompter* p);
// On failure shows "写设置文件失败！" through `p` and returns false.
bool saveSettings(const PrintSettings& s, Prompter* p);

// ---- texts of the page settings ----
// The page-number text of a page (UTF-8): "%d", ".%d.", "--%d--", "第%d页",
// "共%d页 第%d页" (total first); an unknown format is taken as "%d".
std::string FormatPageNumber(int format, int page, int total);
// The header-table cell as the "定制表头" preview shows it: "<工程名称>" for an item,
// the free text (UTF-8) otherwise.
std::string HeaderTableCellCaption(const PrintSettings& s, int cell);
// A cell edited in place: the name of a report item makes it that item, anything
// else makes it free text (UTF-8 in, cut to 49 bytes of GBK).
void SetHeaderTableCellFromEntry(PrintSettings& s, int cell, std::string_view utf8);
// "默认" of the paper list: the first name holding "A4" or "a4", else the seventh
// entry (the last one when there are fewer); -1 for an empty list.
int DefaultPaperEntry(const std::vector<std::string>& names);

}  // namespace sondara
