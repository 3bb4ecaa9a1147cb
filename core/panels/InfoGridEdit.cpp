#include "core/panels/InfoGridEdit.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/base/TextCodec.h"
#include "core/model/ListEngine.h"
#include "core/model/NameLists.h"

namespace sondara {

namespace {

bool fixedFieldsEqual(const TestPoint& a, const TestPoint& b) {
    return a.pileNo == b.pileNo && a.pileTypeIndex == b.pileTypeIndex &&
           a.pileTypeText == b.pileTypeText && a.pileDiameter == b.pileDiameter &&
           a.testDateTime == b.testDateTime && a.integrityClass == b.integrityClass &&
           a.castingDate == b.castingDate && a.remark == b.remark;
}

// A copy of the fixed fields only: the exchange never touches traces or chains, so
// carrying them would only cost memory in every undo record.
TestPoint fixedFieldsOf(const TestPoint& p, int index) {
    TestPoint c;
    forEachFixedField(c, p, [](auto& to, const auto& from) { to = from; });
    c.sourceIndex = index;
    return c;
}

template <std::size_t N>
void setCut(FixedText<N>& f, std::string_view utf8, std::size_t keep) {
    std::string gbk = utf8ToGbk(utf8);
    gbk.resize(gbkSafeCut(gbk, keep));
    setText(f, gbk);
}

void put2(FixedText<20>& f, std::size_t at, int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    f[at] = buf[0];
    f[at + 1] = buf[1];
}

}  // namespace

void SetPileNumber(TestPoint& p, std::string_view utf8) {
    setCut(p.pileNo, utf8, kPileNoKeptBytes);
}

void SetRemark(TestPoint& p, std::string_view utf8) {
    setCut(p.remark, utf8, kRemarkKeptBytes);
}

void SetPileDiameter(TestPoint& p, std::string_view text) {
    std::string s(text);
    errno = 0;
    long v = std::strtol(s.c_str(), nullptr, 10);
    // the field is 16 bits: a larger number would come back negative
    if (v < 0) v = 0;
    if (v > 32767 || errno == ERANGE) v = v < 0 ? 0 : 32767;
    p.pileDiameter = static_cast<std::int16_t>(v);
}

void SetDatePart(FixedText<20>& field, const GridDate& d) {
    const std::string date = FormatGridDate(d);
    if (textOf(field).size() > 10)
        std::memcpy(field.data(), date.data(), 10);
    else
        setText(field, date);
}

void SetTimePart(FixedText<20>& field, const GridTime& oldTime, const GridTime& newTime) {
    std::string s(textOf(field));
    if (s.size() < 10) s = "1971-01-01 ";
    if (s.size() < 19) s = s.substr(0, 10) + " 00:00:00";
    setText(field, s);
    if (oldTime.hour != newTime.hour) put2(field, 11, newTime.hour);
    if (oldTime.minute != newTime.minute) put2(field, 14, newTime.minute);
    if (oldTime.second != newTime.second) put2(field, 17, newTime.second);
}

GridEditResult EditProjectCell(CSondaraDoc& doc, int column, std::string_view text) {
    if (!doc.loaded) return GridEditResult::NotEditable;
    if (column != kProjectColTestingUnit && column != kProjectColProjectName)
        return GridEditResult::NotEditable;
    ListSnapshot s;
    s.op = kOpExchangeHeader;
    s.header = doc.info;
    setText(column == kProjectColTestingUnit ? s.header.testingUnit : s.header.projectName,
            utf8ToGbk(text));
    if (s.header == doc.info) return GridEditResult::Unchanged;
    return Do(doc, std::move(s)) ? GridEditResult::Applied : GridEditResult::NotEditable;
}

GridEditResult EditPointCell(CSondaraDoc& doc, const std::vector<int>& rowPoints, int row,
                             int column, std::string_view text, PointEditScope scope) {
    if (row < 0 || row >= static_cast<int>(rowPoints.size())) return GridEditResult::NotEditable;
    const int edited = rowPoints[row];
    if (!doc.validPoint(edited)) return GridEditResult::NotEditable;
    if (column < 0 || column >= kPointColumnCount ||
        GridColumns(GridTable::Points)[column].editor == CellEditor::None)
        return GridEditResult::NotEditable;

    GridTime oldTime, newTime;
    std::optional<TypedDate> date;
    if (column == kPointColTestTime) {
        if (!ParseGridTime(text, newTime)) return GridEditResult::Invalid;
        oldTime = StoredTime(textOf(doc.points[edited].testDateTime));
    } else if (column == kPointColTestDate || column == kPointColCastingDate) {
        // stored exactly as typed, or refused: never another date
        date = ParseTypedDate(text);
        if (!date) return GridEditResult::Invalid;
    } else if (column == kPointColClass) {
        TestPoint probe;
        if (!SetClassByName(probe, text)) return GridEditResult::Invalid;
    }

    ListSnapshot s;
    s.op = kOpExchangeFields;
    std::vector<int> targets;
    if (scope == PointEditScope::Multiple) {
        std::vector<char> seen(doc.points.size(), 0);
        for (int p : rowPoints)
            if (doc.validPoint(p) && !seen[p]) {
                seen[p] = 1;
                targets.push_back(p);
            }
    } else {
        targets.push_back(edited);
    }
    bool changes = false;
    s.points.reserve(targets.size());
    for (int index : targets) {
        TestPoint c = fixedFieldsOf(doc.points[index], index);
        switch (column) {
            case kPointColPileNo:
                SetPileNumber(c, text);
                break;
            case kPointColDiameter:
                SetPileDiameter(c, text);
                break;
            case kPointColTestDate:
                if (date->time)
                    // a time typed with the date is the time of the test
                    setText(c.testDateTime,
                            FormatGridDate(date->date) + " " + FormatGridTime(*date->time));
                else
                    SetDatePart(c.testDateTime, date->date);
                break;
            case kPointColTestTime:
                SetTimePart(c.testDateTime, oldTime, newTime);
                break;
            case kPointColCastingDate:
                SetDatePart(c.castingDate, date->date);  // a casting date has no time
                break;
            case kPointColPileType:
                SetPileTypeByText(c, text);
                break;
            case kPointColClass:
                SetClassByName(c, text);
                break;
            case kPointColRemark:
                SetRemark(c, text);
                break;
            default:
                break;
        }
        if (!fixedFieldsEqual(c, doc.points[index])) changes = true;
        s.points.push_back(std::move(c));
    }
    if (!changes) return GridEditResult::Unchanged;
    return Do(doc, std::move(s)) ? GridEditResult::Applied : GridEditResult::NotEditable;
}

}  // namespace sondara
