#pragma once
// The three tables of the information bar (工程信息, 测点信息, 分析参数): their
// columns, the rows a view shows, and the text of every cell, as pure functions of
// the document. The desktop grids ask for cells on demand, so a table of thousands
// of points costs only the visible cells.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/TrNoop.h"
#include "core/model/SondaraDoc.h"

namespace sondara {

class WaveDisplayModel;

enum class GridTable : int {
    Project = 0,     // 工程信息
    Points = 1,      // 测点信息
    Parameters = 2,  // 分析参数
};

// How a cell is edited in place.
enum class CellEditor {
    None,      // read-only
    Text,      // free text, at most `maxBytes` GBK bytes kept
    Integer,   // a whole number
    Date,      // a date picker, "yyyy-MM-dd"
    Time,      // a time editor, "HH:mm:ss"
    PileType,  // a choice of PileTypeNames or free text
    Class,     // a choice of ClassNames only
};

struct GridColumn {
    std::string_view title;
    int width = 85;  // pixels
    CellEditor editor = CellEditor::None;
    int maxBytes = 0;  // Text: bytes kept
};

// The columns of the point table, by position.
enum PointColumn : int {
    kPointColNo = 0,
    kPointColPileNo,
    kPointColDiameter,
    kPointColLength,
    kPointColSpeed,
    kPointColTestDate,
    kPointColTestTime,
    kPointColCastingDate,
    kPointColPileType,
    kPointColSensor,
    kPointColInterval,
    kPointColRecordedLength,
    kPointColGain,
    kPointColTrigger,
    kPointColClass,
    kPointColRemark,
    kPointColumnCount
};
inline constexpr int kProjectColTestingUnit = 3;
inline constexpr int kProjectColProjectName = 4;

inline constexpr int kPileNoKeptBytes = 20;
inline constexpr int kRemarkKeptBytes = 49;

const std::vector<GridColumn>& GridColumns(GridTable t);
// The table's title as its tab shows it ("工程信息", ...).
std::string_view GridTitle(GridTable t);
// The column with the given title (its unit may be left out: "桩径"), or the 1-based number
// "1".."N"; -1 for neither.
int FindGridColumn(GridTable t, std::string_view titleOrNumber);

// The points of the point and parameter tables: the points the view shows, in the
// order of its panes, each once; only the current point while the view shows a
// wavelet analysis. Without a view: none.
std::vector<int> GridRowPoints(const CSondaraDoc& doc, const WaveDisplayModel* view);

// Rows of a table: the project table has one row when a file is loaded, the others
// one per listed point.
int GridRowCount(GridTable t, const CSondaraDoc& doc, const std::vector<int>& rowPoints);

// The UTF-8 text of a cell; empty outside the table. `rowPoints` as above.
std::string GridCellText(GridTable t, const CSondaraDoc& doc, const std::vector<int>& rowPoints,
                         int row, int column);
// The same for a point that is known (no row lookup): row is the shown row number.
std::string PointCellText(const CSondaraDoc& doc, int point, int row, int column);
std::string ParameterCellText(const CSondaraDoc& doc, int point, int row, int column);
std::string ProjectCellText(const CSondaraDoc& doc, int column);

// ---- dates and times of the date and time cells ----
struct GridDate {
    int year = 1971, month = 1, day = 1;
    bool operator==(const GridDate&) const = default;
};
struct GridTime {
    int hour = 0, minute = 0, second = 0;
    bool operator==(const GridTime&) const = default;
};

// Fewer than 10 characters give 1971-01-01; otherwise year, month and day are read
// at their fixed places and kept inside 1971..2038, 1..12 and 1..31.
GridDate ParseGridDate(std::string_view text);
std::string FormatGridDate(const GridDate& d);  // "%04d-%02d-%02d"
// A date as it is typed into a date cell or a date field: "2026-11-05", "2026/11/05"
// or "2026.11.05" (month and day of one or two digits), "20261105" or "2026年11月5日",
// each with or without a time after a blank ("8:30" or "08:30:15"). Nothing when the
// text is no such date, names no day of the calendar or lies outside the years
// minYear..maxYear: a typed date is stored as typed or refused, never changed.
struct TypedDate {
    GridDate date;
    std::optional<GridTime> time;
};
std::optional<TypedDate> ParseTypedDate(std::string_view text, int minYear = 1971,
                                        int maxYear = 2038);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12
// The refusal of a date that ParseTypedDate does not take.
inline constexpr const char* kMsgBadDate =
    SONDARA_TR_NOOP("sondara", "请输入一个有效日期，如2026-11-05。");

// Fewer than 5 characters: false. Otherwise hours, minutes and seconds split at ':'
// (missing ones 0) and kept inside 0..24, 0..59, 0..59.
bool ParseGridTime(std::string_view text, GridTime& out);
std::string FormatGridTime(const GridTime& t);  // "%02d:%02d:%02d"
// The time part of a stored date-and-time text (after its 10th character); a text
// of 10 characters or fewer has the time 00:00:00.
GridTime StoredTime(std::string_view dateTime);
// The date part as the date column shows it: the first 10 characters.
std::string StoredDate(std::string_view dateTime);

}  // namespace sondara
