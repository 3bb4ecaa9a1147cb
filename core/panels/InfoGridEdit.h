#pragma once
// Edits typed into the cells of the information tables. Every edit goes through the
// list-edit history, so the Edit menu's undo and redo restore it: the project header
// as one header exchange, point parameters as one exchange of the fixed fields of
// the points concerned.
#include <string_view>
#include <vector>

#include "core/model/SondaraDoc.h"
#include "core/panels/InfoGridTables.h"

namespace sondara {

// Which points an edit in the point table changes (the edit settings).
enum class PointEditScope : int {
    Single = 0,    // 单个测点: only the edited row's point
    Multiple = 1,  // 多个测点: every point listed in the table
};

enum class GridEditResult {
    Applied,      // one undo step added
    Unchanged,    // the cell already held that value: no undo step
    NotEditable,  // no such row, a read-only column, or no file loaded
    Invalid,      // the text is not a value of the column (a time of under 5 characters)
};

// 检测单位 (column 3) or 工程名称 (column 4) of the project table; `text` is UTF-8.
GridEditResult EditProjectCell(CSondaraDoc& doc, int column, std::string_view text);

// A cell of the point table: `rowPoints` lists the point of every row, `row` is the
// edited one. The text is UTF-8 as typed: dates in the forms ParseTypedDate takes
// (a time typed with the test date replaces the test time as well; anything else is
// Invalid), times "HH:mm:ss".
GridEditResult EditPointCell(CSondaraDoc& doc, const std::vector<int>& rowPoints, int row,
                             int column, std::string_view text, PointEditScope scope);

// The rules of single fields, applied to one point (a carried copy).
// 桩号: the first 20 bytes are kept (never half a character).
void SetPileNumber(TestPoint& p, std::string_view utf8);
// 备注: the first 49 bytes are kept.
void SetRemark(TestPoint& p, std::string_view utf8);
// 桩径: the leading whole number of the text, kept inside 0..32767.
void SetPileDiameter(TestPoint& p, std::string_view text);
// The date part of a stored date-and-time text: the first 10 characters when the
// text is longer, otherwise the whole text becomes the date.
void SetDatePart(FixedText<20>& field, const GridDate& d);
// The time components that differ between `oldTime` (the edited row's) and `newTime`
// are written into the field; the others stay as each point has them. A field
// without a date first gets 1971-01-01, one without a time 00:00:00.
void SetTimePart(FixedText<20>& field, const GridTime& oldTime, const GridTime& newTime);

}  // namespace sondara
