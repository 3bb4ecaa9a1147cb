#include "core/output/PrintSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/base/ByteIo.h"
#include "core/base/Prompter.h"
#include "core/base/TextCodec.h"
#include "core/base/TrNoop.h"
#include "core/model/NameLists.h"

namespace sondara {

namespace {

template <std::size_t N>
void setUtf8(FixedText<N>& f, std::string_view utf8) {
    setText(f, utf8ToGbk(utf8));
}

// A stored text always keeps its terminating NUL, and never ends in half a character.
template <std::size_t N>
void terminate(FixedText<N>& f) {
    const std::string t(textOf(f));
    setText(f, t);
}

std::int32_t clampInt(std::int32_t v, std::int32_t lo, std::int32_t hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

float clampFloat(float v, float lo, float hi, float fallback) {
    if (!std::isfinite(v)) return fallback;
    return v < lo ? lo : (v > hi ? hi : v);
}

}  // namespace

PrintSettings::PrintSettings() {
    cellKinds.fill(kFreeTextCell);
    cellKinds[0] = 0;   // 工程名称
    cellKinds[1] = 1;   // 检测单位
    cellKinds[10] = 2;  // 打印日期
    cellKinds[11] = 3;  // 波形数
    setUtf8(font.faceName, "宋体");
    setUtf8(headerText, "基桩动测法检测分析报告");
    setUtf8(footerText, "Dorvanel");
}

void PrintSettings::clampToRanges() {
    const PrintSettings d;
    tableRows = clampInt(tableRows, 1, kHeaderTableMaxRows);
    tableColumns = clampInt(tableColumns, 1, kHeaderTableMaxColumns);
    tableRowHeightCm = clampFloat(tableRowHeightCm, 0.0f, 10.0f, d.tableRowHeightCm);
    for (auto& t : cellTexts) terminate(t);
    terminate(font.faceName);
    // A height beyond a poster's letters is a damaged file, not a choice.
    font.height = clampInt(font.height, -1000, 1000);
    terminate(headerText);
    terminate(footerText);
    if (pageNumberFormat < 0 || pageNumberFormat > 4) pageNumberFormat = d.pageNumberFormat;
    if (pageNumberPosition < 0 || pageNumberPosition > 5) pageNumberPosition = d.pageNumberPosition;
    firstPage = clampInt(firstPage, 1, kFirstPageMax);
    rows = clampInt(rows, 1, kPrintGridMax);
    columns = clampInt(columns, 1, kPrintGridMax);
    marginTopCm = clampFloat(marginTopCm, 0.0f, kMarginMaxCm, d.marginTopCm);
    marginBottomCm = clampFloat(marginBottomCm, 0.0f, kMarginMaxCm, d.marginBottomCm);
    marginLeftCm = clampFloat(marginLeftCm, 0.0f, kMarginMaxCm, d.marginLeftCm);
    marginRightCm = clampFloat(marginRightCm, 0.0f, kMarginMaxCm, d.marginRightCm);
}

void writePrintSettings(ByteWriter& w, const PrintSettings& s) {
    w.i32(s.tableRows);
    w.i32(s.tableColumns);
    w.f32(s.tableRowHeightCm);
    w.i32(s.tableGridLines);
    w.bytes(s.cellKinds.data(), s.cellKinds.size());
    for (const auto& t : s.cellTexts) w.text(t);
    for (std::int32_t v : s.perPointItems) w.i32(v);
    w.i32(s.reserved);
    w.i32(s.currentDisplay);
    const PrintFont& f = s.font;
    for (std::int32_t v : {f.height, f.width, f.escapement, f.orientation, f.weight}) w.i32(v);
    for (std::uint8_t b : {f.italic, f.underline, f.strikeOut, f.charSet, f.outPrecision,
                           f.clipPrecision, f.quality, f.pitchAndFamily})
        w.u8(b);
    w.text(f.faceName);
    w.text(s.headerText);
    w.text(s.footerText);
    for (std::int32_t v :
         {s.pageNumberFormat, s.pageNumberPosition, s.firstPage, s.printTable, s.printHeader,
          s.printFooter, s.printPageNumber, s.rows, s.columns, s.autoLayout})
        w.i32(v);
    for (float v : {s.marginTopCm, s.marginBottomCm, s.marginLeftCm, s.marginRightCm}) w.f32(v);
}

void readPrintSettings(ByteReader& r, PrintSettings& s) {
    // Each field is taken only when the reader could deliver it whole.
    auto i32 = [&](std::int32_t& v) {
        const std::int32_t x = r.i32();
        if (r.ok()) v = x;
        return r.ok();
    };
    auto f32 = [&](float& v) {
        const float x = r.f32();
        if (r.ok()) v = x;
        return r.ok();
    };
    auto u8 = [&](std::uint8_t& v) {
        const std::uint8_t x = r.u8();
        if (r.ok()) v = x;
        return r.ok();
    };
    auto text = [&](auto& field) {
        auto t = field;
        if (r.text(t)) field = t;
        return r.ok();
    };
    [&] {
        if (!i32(s.tableRows) || !i32(s.tableColumns) || !f32(s.tableRowHeightCm) ||
            !i32(s.tableGridLines))
            return;
        for (auto& k : s.cellKinds)
            if (!u8(k)) return;
        for (auto& t : s.cellTexts)
            if (!text(t)) return;
        for (auto& v : s.perPointItems)
            if (!i32(v)) return;
        if (!i32(s.reserved) || !i32(s.currentDisplay)) return;
        PrintFont& f = s.font;
        for (std::int32_t* v : {&f.height, &f.width, &f.escapement, &f.orientation, &f.weight})
            if (!i32(*v)) return;
        for (std::uint8_t* b : {&f.italic, &f.underline, &f.strikeOut, &f.charSet, &f.outPrecision,
                                &f.clipPrecision, &f.quality, &f.pitchAndFamily})
            if (!u8(*b)) return;
        if (!text(f.faceName) || !text(s.headerText) || !text(s.footerText)) return;
        for (std::int32_t* v : {&s.pageNumberFormat, &s.pageNumberPosition, &s.firstPage,
                                &s.printTable, &s.printHeader, &s.printFooter, &s.printPageNumber,
                                &s.rows, &s.columns, &s.autoLayout})
            if (!i32(*v)) return;
        for (float* v : {&s.marginTopCm, &s.marginBottomCm, &s.marginLeftCm, &s.marginRightCm})
            if (!f32(*v)) return;
    }();
    s.clampToRanges();
}

SettingsFile printSettingsFile(std::string dir) {
    return {"MIR_QAR4_PRINT_001.ini", "MIR_QAR4_PRINT_001", std::move(dir)};
}

bool loadOrWriteDefaults(PrintSettings& s, Prompter* p) {
    s = PrintSettings{};
    const bool found = printSettingsFile().read([&](ByteReader& r) { readPrintSettings(r, s); });
    if (!found) saveSettings(s, p);
    return found;
}

bool saveSettings(const PrintSettings& s, Prompter* p) {
    return printSettingsFile().write([&](ByteWriter& w) { writePrintSettings(w, s); }, p);
}

std::string FormatPageNumber(int format, int page, int total) {
    char b[64];
    switch (format) {
        case 1:
            std::snprintf(b, sizeof b, ".%d.", page);
            break;
        case 2:
            std::snprintf(b, sizeof b, "--%d--", page);
            break;
        case 3:
            std::snprintf(b, sizeof b, TrFormat(SONDARA_TR_NOOP("sondara", "第%d页")).c_str(),
                          page);
            break;
        case 4:
            std::snprintf(b, sizeof b,
                          TrFormat(SONDARA_TR_NOOP("sondara", "共%d页 第%d页")).c_str(), total,
                          page);
            break;
        default:
            std::snprintf(b, sizeof b, "%d", page);
            break;
    }
    return b;
}

std::string HeaderTableCellCaption(const PrintSettings& s, int cell) {
    if (cell < 0 || cell >= static_cast<int>(s.cellKinds.size())) return {};
    const NameList& items = ReportItemNames();
    const int kind = s.cellKinds[static_cast<size_t>(cell)];
    if (kind < items.count()) return "<" + ShownName(items, kind) + ">";
    return gbkToUtf8(textOf(s.cellTexts[static_cast<size_t>(cell)]));
}

void SetHeaderTableCellFromEntry(PrintSettings& s, int cell, std::string_view utf8) {
    if (cell < 0 || cell >= static_cast<int>(s.cellKinds.size())) return;
    const NameList& items = ReportItemNames();
    for (int i = 0; i < items.count(); ++i) {
        // an entry of the list, in Chinese or as the window shows it
        if (items.utf8[static_cast<size_t>(i)] == utf8 || ShownName(items, i) == utf8) {
            s.cellKinds[static_cast<size_t>(cell)] = static_cast<std::uint8_t>(i);
            return;
        }
    }
    s.cellKinds[static_cast<size_t>(cell)] = kFreeTextCell;
    setUtf8(s.cellTexts[static_cast<size_t>(cell)], utf8);
}

int DefaultPaperEntry(const std::vector<std::string>& names) {
    if (names.empty()) return -1;
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i].find("A4") != std::string::npos || names[i].find("a4") != std::string::npos)
            return static_cast<int>(i);
    return std::min(6, static_cast<int>(names.size()) - 1);
}

}  // namespace sondara
