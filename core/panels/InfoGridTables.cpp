#include "core/panels/InfoGridTables.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/base/Format.h"
#include "core/base/TextCodec.h"
#include "core/base/TrNoop.h"
#include "core/display/DisplayStates.h"
#include "core/display/WaveDisplayModel.h"
#include "core/model/NameLists.h"
#include "core/processing/ProcessingChain.h"

namespace sondara {

namespace {

const std::vector<GridColumn> kProjectColumns = {
    {SONDARA_TR_NOOP("sondara", "序号"), 100, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "桩数"), 100, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "测点数"), 100, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "检测单位"), 200, CellEditor::Text, 49},
    {SONDARA_TR_NOOP("sondara", "工程名称"), 200, CellEditor::Text, 49},
};

const std::vector<GridColumn> kPointColumns = {
    {SONDARA_TR_NOOP("sondara", "序号"), 50, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "桩号"), 80, CellEditor::Text, kPileNoKeptBytes},
    {SONDARA_TR_NOOP("sondara", "桩径(mm)"), 70, CellEditor::Integer, 0},
    {SONDARA_TR_NOOP("sondara", "桩长(m)"), 65, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "波速(m/s)"), 70, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "检测日期"), 90, CellEditor::Date, 0},
    {SONDARA_TR_NOOP("sondara", "检测时间"), 80, CellEditor::Time, 0},
    {SONDARA_TR_NOOP("sondara", "浇筑日期"), 90, CellEditor::Date, 0},
    {SONDARA_TR_NOOP("sondara", "桩型"), 110, CellEditor::PileType, 0},
    {SONDARA_TR_NOOP("sondara", "传感器类型"), 110, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "采样间隔(us)"), 90, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "采样长度"), 70, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "增益"), 50, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "触发电平"), 70, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "完整性判别"), 85, CellEditor::Class, 0},
    {SONDARA_TR_NOOP("sondara", "备注"), 160, CellEditor::Text, kRemarkKeptBytes},
};

const std::vector<GridColumn> kParameterColumns = {
    {SONDARA_TR_NOOP("sondara", "序号"), 85, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "数字滤波"), 160, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "波形放大"), 110, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "去直流"), 85, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "平滑"), 110, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "积分"), 85, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "简单积分"), 85, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "微分"), 85, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "横向位置"), 85, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "横向伸缩"), 85, CellEditor::None, 0},
    {SONDARA_TR_NOOP("sondara", "竖向伸缩"), 85, CellEditor::None, 0},
};

// The kinds of the description columns 1..7 of the parameter table.
constexpr ProcessKind kParameterKinds[] = {
    ProcessKind::Filter,        ProcessKind::Amplify,   ProcessKind::RemoveDc,
    ProcessKind::Smooth,        ProcessKind::Integrate, ProcessKind::SimpleIntegrate,
    ProcessKind::Differentiate,
};

// atoi of a piece of text that is not NUL-terminated.
int leadingInt(std::string_view s) {
    std::string copy(s);
    return std::atoi(copy.c_str());
}

int clampInt(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

}  // namespace

const std::vector<GridColumn>& GridColumns(GridTable t) {
    switch (t) {
        case GridTable::Project:
            return kProjectColumns;
        case GridTable::Points:
            return kPointColumns;
        case GridTable::Parameters:
            return kParameterColumns;
    }
    return kProjectColumns;
}

std::string_view GridTitle(GridTable t) {
    switch (t) {
        case GridTable::Project:
            return SONDARA_TR_NOOP("sondara", "工程信息");
        case GridTable::Points:
            return SONDARA_TR_NOOP("sondara", "测点信息");
        case GridTable::Parameters:
            return SONDARA_TR_NOOP("sondara", "分析参数");
    }
    return {};
}

int FindGridColumn(GridTable t, std::string_view key) {
    const auto& cols = GridColumns(t);
    for (int c = 0; c < static_cast<int>(cols.size()); ++c)
        if (cols[c].title == key) return c;
    // "桩径" for "桩径(mm)": the title without its unit
    for (int c = 0; c < static_cast<int>(cols.size()); ++c)
        if (!key.empty() && cols[c].title.starts_with(key) &&
            cols[c].title.substr(key.size()).starts_with("("))
            return c;
    if (key.empty() || key.size() > 3) return -1;
    int n = 0;
    for (char ch : key) {
        if (ch < '0' || ch > '9') return -1;
        n = n * 10 + (ch - '0');
    }
    return (n >= 1 && n <= static_cast<int>(cols.size())) ? n - 1 : -1;
}

std::vector<int> GridRowPoints(const CSondaraDoc& doc, const WaveDisplayModel* view) {
    std::vector<int> rows;
    if (!view || doc.pointCount() == 0) return rows;
    if (view->selection().domain == AnalysisDomain::Wavelet) {
        if (doc.validPoint(doc.currentPoint)) rows.push_back(doc.currentPoint);
        return rows;
    }
    std::vector<char> seen(doc.points.size(), 0);
    auto add = [&](int p) {
        if (doc.validPoint(p) && !seen[p]) {
            seen[p] = 1;
            rows.push_back(p);
        }
    };
    for (int i = 0; i < view->paneCount(); ++i) {
        const WavePane& pane = view->pane(i);
        // an average or correlation pane shows every point that feeds it
        if (pane.statePoints.empty())
            add(pane.pointIndex);
        else
            for (int p : pane.statePoints) add(p);
    }
    return rows;
}

int GridRowCount(GridTable t, const CSondaraDoc& doc, const std::vector<int>& rowPoints) {
    if (t == GridTable::Project) return doc.loaded ? 1 : 0;
    return static_cast<int>(rowPoints.size());
}

std::string ProjectCellText(const CSondaraDoc& doc, int column) {
    switch (column) {
        case 0:
            return "1";
        case 1:
            return Format("%d", doc.pileCount());
        case 2:
            return Format("%d", doc.pointCount());
        case kProjectColTestingUnit:
            return gbkToUtf8(textOf(doc.info.testingUnit));
        case kProjectColProjectName:
            return gbkToUtf8(textOf(doc.info.projectName));
        default:
            return {};
    }
}

std::string PointCellText(const CSondaraDoc& doc, int point, int row, int column) {
    if (!doc.validPoint(point)) return {};
    const TestPoint& p = doc.points[point];
    switch (column) {
        case kPointColNo:
            return Format("%d", row + 1);
        case kPointColPileNo:
            return gbkToUtf8(textOf(p.pileNo));
        case kPointColDiameter:
            return Format("%d", p.pileDiameter);
        case kPointColLength:
            return Format("%0.2f", static_cast<double>(p.pileLength));
        case kPointColSpeed:
            return Format("%d", p.waveSpeed);
        case kPointColTestDate:
            return StoredDate(textOf(p.testDateTime));
        case kPointColTestTime:
            return FormatGridTime(StoredTime(textOf(p.testDateTime)));
        case kPointColCastingDate:
            return StoredDate(textOf(p.castingDate));
        case kPointColPileType:
            // a standard type in the user's language, a typed one as stored
            return p.pileTypeIndex >= 0 && p.pileTypeIndex < PileTypeNames().count()
                       ? ShownName(PileTypeNames(), p.pileTypeIndex)
                       : doc.pileTypeText(point);
        case kPointColSensor:
            return ShownName(SensorNames(), doc.sensorText(point));
        case kPointColInterval:
            return Format("%0.2f", static_cast<double>(p.sampleInterval));
        case kPointColRecordedLength:
            return Format("%d", p.recordedLength);
        case kPointColGain:
            return Format("%d", p.gain);
        case kPointColTrigger:
            return Format("%d", p.triggerLevel);
        case kPointColClass:
            return ShownName(ClassNames(), doc.classText(point));
        case kPointColRemark:
            return gbkToUtf8(textOf(p.remark));
        default:
            return {};
    }
}

std::string ParameterCellText(const CSondaraDoc& doc, int point, int row, int column) {
    if (!doc.validPoint(point)) return {};
    if (column == 0) return Format("%d", row + 1);
    if (column >= 1 && column <= 7) return KindSummary(doc, point, kParameterKinds[column - 1]);
    const DisplayState& s = doc.points[point].lastParams.viewStates[kSlotTime];
    switch (column) {
        case 8:
            return Format("%d", s.xOffset);
        case 9:
            return Format("%0.2f", static_cast<double>(s.hScale));
        case 10:
            // a damaged file may hold a zero scale; the display never stores one
            return s.vScale == 0.0f ? std::string("0.00")
                                    : Format("%0.2f", 1.0 / static_cast<double>(s.vScale));
        default:
            return {};
    }
}

std::string GridCellText(GridTable t, const CSondaraDoc& doc, const std::vector<int>& rowPoints,
                         int row, int column) {
    if (row < 0 || row >= GridRowCount(t, doc, rowPoints)) return {};
    switch (t) {
        case GridTable::Project:
            return ProjectCellText(doc, column);
        case GridTable::Points:
            return PointCellText(doc, rowPoints[row], row, column);
        case GridTable::Parameters:
            return ParameterCellText(doc, rowPoints[row], row, column);
    }
    return {};
}

// ---- dates and times ----

GridDate ParseGridDate(std::string_view text) {
    GridDate d;
    if (text.size() < 10) return d;
    d.year = leadingInt(text.substr(0, 4));
    if (d.year <= 1970) d.year = 1971;
    if (d.year > 2038) d.year = 2038;
    d.month = clampInt(leadingInt(text.substr(5, 2)), 1, 12);
    d.day = clampInt(leadingInt(text.substr(8, 2)), 1, 31);
    return d;
}

std::string FormatGridDate(const GridDate& d) {
    return Format("%04d-%02d-%02d", d.year, d.month, d.day);
}

namespace {
// Hours, minutes and seconds of "h:m:s" (missing parts 0).
GridTime splitTime(std::string_view s) {
    int parts[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k) {
        std::size_t colon = s.find(':');
        parts[k] = leadingInt(s.substr(0, colon));
        if (colon == std::string_view::npos) break;
        s.remove_prefix(colon + 1);
    }
    return {parts[0], parts[1], parts[2]};
}
}  // namespace

bool ParseGridTime(std::string_view text, GridTime& out) {
    if (text.size() < 5) return false;
    GridTime t = splitTime(text.substr(0, 10));
    out.hour = clampInt(t.hour, 0, 24);
    out.minute = clampInt(t.minute, 0, 59);
    out.second = clampInt(t.second, 0, 59);
    return true;
}

std::string FormatGridTime(const GridTime& t) {
    return Format("%02d:%02d:%02d", t.hour, t.minute, t.second);
}

GridTime StoredTime(std::string_view dateTime) {
    if (dateTime.size() <= 10) return {};
    return splitTime(dateTime.substr(10));
}

std::string StoredDate(std::string_view dateTime) {
    return gbkToUtf8(dateTime.substr(0, gbkSafeCut(dateTime, 10)));
}

namespace {
// Reads 1..maxDigits digits at the front of s into v.
bool digits(std::string_view& s, int minDigits, int maxDigits, int& v) {
    int n = 0;
    v = 0;
    while (n < maxDigits && n < static_cast<int>(s.size()) && s[n] >= '0' && s[n] <= '9')
        v = v * 10 + (s[n++] - '0');
    if (n < minDigits) return false;
    s.remove_prefix(static_cast<std::size_t>(n));
    return true;
}
bool take(std::string_view& s, std::string_view what) {
    if (s.substr(0, what.size()) != what) return false;
    s.remove_prefix(what.size());
    return true;
}
bool leapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
}  // namespace

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

std::optional<TypedDate> ParseTypedDate(std::string_view text, int minYear, int maxYear) {
    std::string_view s = trimBlanks(text);
    TypedDate t;
    GridDate& d = t.date;
    if (s.size() >= 8 &&
        std::all_of(s.begin(), s.begin() + 8, [](char c) { return c >= '0' && c <= '9'; })) {
        // 20261105
        if (!digits(s, 4, 4, d.year) || !digits(s, 2, 2, d.month) || !digits(s, 2, 2, d.day))
            return std::nullopt;
    } else {
        if (!digits(s, 4, 4, d.year)) return std::nullopt;
        if (take(s, "年")) {
            // 2026年11月5日
            if (!digits(s, 1, 2, d.month) || !take(s, "月") || !digits(s, 1, 2, d.day))
                return std::nullopt;
            take(s, "日");
        } else {
            // 2026-11-05, 2026/11/05, 2026.11.05 (one separator throughout)
            if (s.empty() || (s[0] != '-' && s[0] != '/' && s[0] != '.')) return std::nullopt;
            const std::string_view sep = s.substr(0, 1);
            s.remove_prefix(1);
            if (!digits(s, 1, 2, d.month) || !take(s, sep) || !digits(s, 1, 2, d.day))
                return std::nullopt;
        }
    }
    if (d.year < minYear || d.year > maxYear || d.day < 1 || d.day > DaysInMonth(d.year, d.month))
        return std::nullopt;
    if (s.empty()) return t;
    // the time after at least one blank: 8:30 or 08:30:15
    if (s[0] != ' ' && s[0] != '\t') return std::nullopt;
    s = trimBlanks(s);
    GridTime tm;
    if (!digits(s, 1, 2, tm.hour) || !take(s, ":") || !digits(s, 2, 2, tm.minute))
        return std::nullopt;
    if (take(s, ":") && !digits(s, 2, 2, tm.second)) return std::nullopt;
    if (!s.empty() || tm.hour > 23 || tm.minute > 59 || tm.second > 59) return std::nullopt;
    t.time = tm;
    return t;
}

}  // namespace sondara
