#include "core/model/ListEngine.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "core/base/Prompter.h"
#include "core/model/DefectDepth.h"

namespace sondara {

namespace {

using Points = std::vector<TestPoint>;

std::string_view numberOf(const TestPoint& p) {
    return textOf(p.pileNo);
}

bool samePile(const TestPoint& a, const TestPoint& b) {
    return textEquals(a.pileNo, b.pileNo);
}

// Moves points [first, first + n) out of the list.
Points takeRange(Points& pts, int first, int n) {
    Points out(std::make_move_iterator(pts.begin() + first),
               std::make_move_iterator(pts.begin() + first + n));
    pts.erase(pts.begin() + first, pts.begin() + first + n);
    return out;
}

void insertRange(Points& pts, int index, Points&& carried) {
    pts.insert(pts.begin() + index, std::make_move_iterator(carried.begin()),
               std::make_move_iterator(carried.end()));
    carried.clear();
}

// Keeps the selection inside the list after an edit that did not choose one: the
// current point keeps its index, its pile and members follow the new list.
void refreshSelection(CSondaraDoc& d) {
    int cur = d.currentPoint;
    if (d.selectionMode == 1 && d.validPoint(cur)) {
        d.selectPoint(cur);
    } else if (d.selectionMode == 2 && d.validPoint(cur)) {
        d.currentPile = d.pileOrdinal(cur);
        d.pileMembers = d.pileMembersOf(cur);
    } else if (d.selectionMode != 0 || !d.validPoint(cur)) {
        d.selectPoint(-1);
    }
}

// ---- pile numbers ------------------------------------------------------------

char incrementChar(char c) {
    if (c >= '0' && c <= '8') return static_cast<char>(c + 1);
    if (c == '9') return 'a';
    if (c >= 'a' && c <= 'y') return static_cast<char>(c + 1);
    if (c == 'z') return 'A';
    if (c >= 'A' && c <= 'Y') return static_cast<char>(c + 1);
    return '0';
}

// The number with its last character incremented. A last character of two GBK bytes
// is replaced as a whole: changing only its trail byte would leave a broken text.
std::string incrementLast(std::string_view s) {
    std::string out(s);
    if (out.empty()) return out;
    std::size_t lastStart = gbkSafeCut(s, s.size() - 1);
    if (s.size() - lastStart == 2) {
        out.resize(lastStart);
        out += '0';
    } else {
        out.back() = incrementChar(out.back());
    }
    return out;
}

// Pile numbers longer than 10 bytes take part in the neighbour comparison with
// their first 9 (never cutting a GBK character in half).
std::string comparable(std::string_view s) {
    if (s.size() > 10) s = s.substr(0, gbkSafeCut(s, 9));
    return std::string(s);
}

// ---- natural order -----------------------------------------------------------

struct DigitRun {
    std::size_t start = 0, length = 0;
};

struct SortKey {
    std::string_view text;
    std::vector<DigitRun> runs;
};

SortKey makeKey(std::string_view s) {
    SortKey k{s, {}};
    std::size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= '0' && c <= '9') {
            std::size_t b = i;
            while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
            k.runs.push_back({b, i - b});
        } else {
            i += (c >= 0x81 && i + 1 < s.size()) ? 2 : 1;  // a GBK character is one unit
        }
    }
    return k;
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

// Compares two runs of digits as integers of any length.
int compareDigits(std::string_view a, std::string_view b) {
    while (a.size() > 1 && a.front() == '0') a.remove_prefix(1);
    while (b.size() > 1 && b.front() == '0') b.remove_prefix(1);
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return sign(a.compare(b));
}

int compareKeys(const SortKey& a, const SortKey& b) {
    if (!a.runs.empty() && !b.runs.empty()) {
        std::size_t common = std::min(a.runs.size(), b.runs.size());
        for (std::size_t k = 0; k < common; ++k) {
            const DigitRun& ra = a.runs[k];
            const DigitRun& rb = b.runs[k];
            // byte order of unsigned bytes is also the order of GBK characters
            int c = sign(a.text.substr(0, ra.start).compare(b.text.substr(0, rb.start)));
            if (c != 0) return c;
            c = compareDigits(a.text.substr(ra.start, ra.length),
                              b.text.substr(rb.start, rb.length));
            if (c != 0) return c;
            if (k + 1 == common) {
                if (a.runs.size() != b.runs.size()) return a.runs.size() > b.runs.size() ? 1 : -1;
                break;
            }
        }
    }
    return sign(a.text.compare(b.text));
}

// ---- operations --------------------------------------------------------------

bool applyPaste(CSondaraDoc& d, ListSnapshot& s) {
    if (!d.validPoint(s.position)) return false;
    if (s.mode == 1) {
        if (s.count() != 1) return false;
        std::swap(d.points[s.position], s.points[0]);
        refreshSelection(d);
        return true;
    }
    if (s.mode != 2 || s.count() == 0) return false;
    std::vector<int> members = d.pileMembersOf(s.position);
    int first = members.front();
    FixedText<22> number = d.points[first].pileNo;
    Points removed = takeRange(d.points, first, static_cast<int>(members.size()));
    for (TestPoint& p : s.points) p.pileNo = number;
    insertRange(d.points, first, std::move(s.points));
    s.points = std::move(removed);
    s.position = first;
    d.selectPile(d.pileOrdinal(first));
    return true;
}

bool applyInsert(CSondaraDoc& d, ListSnapshot& s, bool append) {
    const int n = d.pointCount();
    if (s.mode != 1 && s.mode != 2) return false;
    if (s.count() == 0 || (s.mode == 1 && s.count() != 1)) return false;
    int index = 0;
    if (n == 0) {
        if (s.position > 0) return false;
    } else {
        if (!d.validPoint(s.position)) return false;
        if (s.mode == 1 || s.exactPosition) {
            index = append ? s.position + 1 : s.position;
        } else {
            std::vector<int> m = d.pileMembersOf(s.position);
            index = append ? m.back() + 1 : m.front();
        }
    }
    if (s.mode == 2) {
        // The inserted pile must not join a neighbouring pile of the same number.
        std::string before = index > 0 ? comparable(numberOf(d.points[index - 1])) : std::string();
        std::string after = index < n ? comparable(numberOf(d.points[index])) : std::string();
        std::string number(numberOf(s.points[0]));
        std::string cut = comparable(number);
        if (cut == before || cut == after) number = NewPileNumber(before, after, cut);
        for (TestPoint& p : s.points)
            if (textOf(p.pileNo) != number) setText(p.pileNo, number);  // keep the stored bytes
    }
    insertRange(d.points, index, std::move(s.points));
    s.op = kOpDelete;
    s.position = index;
    s.exactPosition = false;
    if (s.mode == 1)
        d.selectPoint(index);
    else
        d.selectPile(d.pileOrdinal(index));
    return true;
}

bool applyDelete(CSondaraDoc& d, ListSnapshot& s) {
    if (!d.validPoint(s.position) || (s.mode != 1 && s.mode != 2)) return false;
    int first = s.position, k = 1;
    if (s.mode == 2) {
        std::vector<int> m = d.pileMembersOf(s.position);
        first = m.front();
        k = static_cast<int>(m.size());
    }
    s.points = takeRange(d.points, first, k);
    const int remaining = d.pointCount();
    if (first < remaining) {
        s.op = kOpInsert;
        s.position = first;
        s.exactPosition = s.mode == 2;
    } else {
        s.op = kOpAppend;
        s.position = remaining > 0 ? remaining - 1 : 0;
        s.exactPosition = false;
    }
    refreshSelection(d);
    return true;
}

bool applyMove(CSondaraDoc& d, ListSnapshot& s, bool up) {
    const int n = d.pointCount();
    if (!d.validPoint(s.anchor)) return false;
    if (s.mode == 1) {
        int target = up ? s.anchor - 1 : s.anchor + 1;
        if (!d.validPoint(target)) return false;
        std::swap(d.points[s.anchor], d.points[target]);
        if (d.currentPoint == s.anchor) d.currentPoint = target;
        refreshSelection(d);
        s.op = up ? kOpMoveDown : kOpMoveUp;
        s.anchor = target;
        return true;
    }
    if (s.mode != 2) return false;
    std::vector<int> pile = d.pileMembersOf(s.anchor);
    int ps = pile.front(), pe = pile.back();
    int lo, mid, hi, newStart;  // the two blocks [lo, mid) and [mid, hi) change places
    if (up) {
        if (ps == 0) return false;
        lo = d.pileMembersOf(ps - 1).front();
        mid = ps;
        hi = pe + 1;
        newStart = lo;
    } else {
        if (pe == n - 1) return false;
        lo = ps;
        mid = pe + 1;
        hi = d.pileMembersOf(pe + 1).back() + 1;
        newStart = lo + (hi - mid);
    }
    // After the exchange the block now first may join the pile before it, and the
    // block now last the pile after it. A move back by pile could not undo that, so
    // such a move keeps the previous list as its undo record instead.
    const TestPoint& firstAfter = d.points[mid];     // head of the block that goes first
    const TestPoint& lastAfter = d.points[mid - 1];  // tail of the block that goes last
    bool joins = (lo > 0 && samePile(d.points[lo - 1], firstAfter)) ||
                 (hi < n && samePile(d.points[hi], lastAfter));
    bool wasSelected = d.selectionMode == 2 && d.currentPile == d.pileOrdinal(ps);
    Points previous;
    if (joins) previous = d.points;
    std::rotate(d.points.begin() + lo, d.points.begin() + mid, d.points.begin() + hi);
    if (joins) {
        s.op = kOpExchangeList;
        s.points = std::move(previous);
    } else {
        s.op = up ? kOpMoveDown : kOpMoveUp;
    }
    s.anchor = newStart;
    if (wasSelected)
        d.selectPile(d.pileOrdinal(newStart));
    else
        refreshSelection(d);
    return true;
}

void swapFixedFields(TestPoint& a, TestPoint& b) {
    forEachFixedField(a, b, [](auto& x, auto& y) { std::swap(x, y); });
}

bool applyExchangeFields(CSondaraDoc& d, ListSnapshot& s) {
    if (s.count() == 0) return false;
    // Two carried points for the same list point would make the exchange its own
    // non-inverse; such a record does not apply.
    std::vector<char> seen(d.points.size(), 0);
    for (const TestPoint& p : s.points) {
        if (!d.validPoint(p.sourceIndex) || seen[p.sourceIndex]) return false;
        seen[p.sourceIndex] = 1;
    }
    for (TestPoint& p : s.points) {
        TestPoint& now = d.points[p.sourceIndex];
        swapFixedFields(p, now);
        // the record now holds the fields as they were: defects follow a moved head,
        // wave speed or sample interval
        if (DepthBasisDiffers(p, now)) RederiveDefectDepths(now);
    }
    refreshSelection(d);
    return true;
}

bool applySort(CSondaraDoc& d, ListSnapshot& s, bool ascending) {
    const int n = d.pointCount();
    std::vector<SortKey> keys;
    keys.reserve(n);
    for (const TestPoint& p : d.points) keys.push_back(makeKey(numberOf(p)));
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i) order[i] = i;
    auto outOfOrder = [&](int left, int right) {
        int c = compareKeys(keys[order[left]], keys[order[right]]);
        return ascending ? c > 0 : c < 0;
    };
    // Two-directional bubble sort: equal pile numbers keep their order.
    bool exchanged = false;
    int lo = 0, hi = n - 1;
    while (lo < hi) {
        int last = lo;
        for (int i = lo; i < hi; ++i) {
            if (outOfOrder(i, i + 1)) {
                std::swap(order[i], order[i + 1]);
                last = i;
                exchanged = true;
            }
        }
        hi = last;
        last = hi;
        for (int i = hi; i > lo; --i) {
            if (outOfOrder(i - 1, i)) {
                std::swap(order[i - 1], order[i]);
                last = i;
                exchanged = true;
            }
        }
        lo = last;
    }
    if (!exchanged) return false;
    Points previous = d.points;  // the undo record carries the whole previous list
    Points sorted;
    sorted.reserve(n);
    for (int i : order) sorted.push_back(std::move(d.points[i]));
    d.points = std::move(sorted);
    s.points = std::move(previous);
    s.op = kOpExchangeList;
    refreshSelection(d);
    return true;
}

bool applyExchangeList(CSondaraDoc& d, ListSnapshot& s) {
    if (s.count() == 0 || s.count() != d.pointCount()) return false;
    std::swap(d.points, s.points);
    refreshSelection(d);
    return true;
}

bool applyTicks(CSondaraDoc& d, ListSnapshot& s) {
    const int n = d.pointCount();
    if (n == 0) return false;
    if (s.op == kOpTickAll || s.op == kOpUntickAll) {
        std::int32_t target = s.op == kOpTickAll ? 1 : 0;
        bool changes = std::any_of(d.points.begin(), d.points.end(),
                                   [&](const TestPoint& p) { return p.checked != target; });
        if (!changes) return false;
    }
    // The undo record only needs the previous check flags, not the traces.
    Points previous(n);
    for (int i = 0; i < n; ++i) {
        TestPoint& p = d.points[i];
        previous[i].checked = p.checked;
        if (s.op == kOpTickAll)
            p.checked = 1;
        else if (s.op == kOpUntickAll)
            p.checked = 0;
        else
            p.checked = p.checked != 0 ? 0 : 1;
    }
    s.points = std::move(previous);
    s.op = kOpExchangeTicks;
    return true;
}

bool applyExchangeTicks(CSondaraDoc& d, ListSnapshot& s) {
    if (s.count() == 0 || s.count() != d.pointCount()) return false;
    for (int i = 0; i < s.count(); ++i) std::swap(d.points[i].checked, s.points[i].checked);
    return true;
}

bool applyTickOne(CSondaraDoc& d, ListSnapshot& s) {
    if (!d.validPoint(s.anchor)) return false;
    TestPoint& p = d.points[s.anchor];
    if (s.op == kOpTick) {
        if (p.checked != 0) return false;
        p.checked = 1;
        s.op = kOpUntick;
    } else {
        if (p.checked == 0) return false;
        p.checked = 0;
        s.op = kOpTick;
    }
    return true;
}

}  // namespace

namespace {
struct ListEditScope {
    explicit ListEditScope(CSondaraDoc& d) : doc(d) { doc.beginListEdit(); }
    ~ListEditScope() { doc.endListEdit(); }
    CSondaraDoc& doc;
};

std::size_t recordBytes(const ListSnapshot& s) {
    std::size_t n = sizeof(ListSnapshot);
    for (const TestPoint& p : s.points)
        n += sizeof(TestPoint) + 4 * (p.rawSamples.size() + p.samples.size()) +
             sizeof(ProcessStep) * p.steps.size();
    return n;
}
}  // namespace

bool Apply(CSondaraDoc& d, ListSnapshot& s) {
    ListEditScope scope(d);
    bool applied = false;
    DocChange what = DocChange::PointList;
    switch (s.op) {
        case kOpPaste:
            applied = applyPaste(d, s);
            break;
        case kOpInsert:
        case kOpAppend:
            applied = applyInsert(d, s, s.op == kOpAppend);
            break;
        case kOpDelete:
            applied = applyDelete(d, s);
            break;
        case kOpMoveUp:
        case kOpMoveDown:
            applied = applyMove(d, s, s.op == kOpMoveUp);
            break;
        case kOpExchangeHeader:
            std::swap(d.info, s.header);
            applied = true;
            what = DocChange::Header;
            break;
        case kOpExchangeFields:
            applied = applyExchangeFields(d, s);
            break;
        case kOpSortAscending:
        case kOpSortDescending:
            applied = applySort(d, s, s.op == kOpSortAscending);
            break;
        case kOpExchangeList:
            applied = applyExchangeList(d, s);
            break;
        case kOpTickAll:
        case kOpUntickAll:
        case kOpInvertTicks:
            applied = applyTicks(d, s);
            what = DocChange::Checks;
            break;
        case kOpExchangeTicks:
            applied = applyExchangeTicks(d, s);
            what = DocChange::Checks;
            break;
        case kOpTick:
        case kOpUntick:
            applied = applyTickOne(d, s);
            what = DocChange::Checks;
            break;
        default:
            break;
    }
    if (!applied) return false;
    d.info.pointCount = d.pointCount();  // also when a header edit carried another count
    d.rebuildCheckedList();
    d.commitChange(what);
    return true;
}

bool Do(CSondaraDoc& doc, ListSnapshot s) {
    if (!Apply(doc, s)) return false;
    const std::size_t bytes = recordBytes(s);
    doc.undoStack.push_back(std::move(s));
    doc.redoStack.clear();
    doc.recordListEdit(bytes);
    return true;
}

namespace {
bool replay(CSondaraDoc& doc, std::vector<ListSnapshot>& from, std::vector<ListSnapshot>& to) {
    if (from.empty()) return false;
    ListSnapshot s = std::move(from.back());
    from.pop_back();
    if (!Apply(doc, s)) return false;
    to.push_back(std::move(s));
    return true;
}
}  // namespace

namespace detail {
bool ReplayListRecord(CSondaraDoc& doc, bool undo) {
    return undo ? replay(doc, doc.undoStack, doc.redoStack)
                : replay(doc, doc.redoStack, doc.undoStack);
}
}  // namespace detail

bool Undo(CSondaraDoc& doc) {
    return doc.undo();
}
bool Redo(CSondaraDoc& doc) {
    return doc.redo();
}

bool Restore(CSondaraDoc& doc, Prompter& prompter) {
    if (!doc.loaded) return false;
    // Going back to an original set that was read only partly (or not at all) would
    // replace the current points by fewer: the data would be lost for good.
    if (doc.originalPoints.empty() ||
        static_cast<int>(doc.originalPoints.size()) < doc.originalInfo.pointCount) {
        prompter.info(kMsgRestoreIncomplete);
        return false;
    }
    if (!prompter.askYesNo(kAskRestore)) return false;
    // not undoable, as the question says; the list records stay
    ListEditScope scope(doc);
    doc.dropPointSteps();
    // A whole copy, so that the carried record text comes back with the points.
    doc.points = doc.originalPoints;
    doc.info = doc.originalInfo;
    doc.info.pointCount = doc.pointCount();
    doc.recomputeDisplayRanges();
    doc.selectPoint(-1);
    doc.rebuildCheckedList();
    doc.commitChange(DocChange::PointList);
    return true;
}

std::string NewPileNumber(std::string_view before, std::string_view after, std::string_view base) {
    if (before != after && !base.empty()) {
        std::string c = incrementLast(base);
        if (c != before && c != after) return c;
    }
    std::string candidate;
    for (int round = 0; round < 2; ++round) {
        if (before.empty() && after.empty()) return "1";
        std::string_view from;
        if (before.empty())
            from = after;
        else if (after.empty())
            from = before;
        else
            from = static_cast<signed char>(after.back()) > static_cast<signed char>(before.back())
                       ? after
                       : before;
        std::string c = incrementLast(from);
        if (round == 1 || (c != before && c != after)) return c;
        candidate = std::move(c);
        before = after = candidate;
    }
    return candidate;  // not reached
}

int PileCompare(std::string_view a, std::string_view b) {
    return compareKeys(makeKey(a), makeKey(b));
}

}  // namespace sondara
