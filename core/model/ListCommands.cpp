#include "core/model/ListCommands.h"

#include <algorithm>

#include "core/base/Prompter.h"

namespace sondara {

namespace {

int stateFor(const CSondaraDoc& doc, int count) {
    bool selected = hasValidSelection(doc);
    if (count == 1 && selected) return 1;
    if (count > 1 && selected && doc.selectionMode == 2) return 1;
    return 2;
}

// The clipboard's snapshot with its state; nothing when it holds no valid block.
std::optional<ListSnapshot> readClipboard(const CSondaraDoc& doc, ClipboardPort& clipboard,
                                          int& state) {
    state = 0;
    std::optional<std::string> bytes = clipboard.readBlock();
    if (!bytes) return std::nullopt;
    std::optional<ListSnapshot> s = DecodeClipboardBlock(*bytes);
    if (s) state = stateFor(doc, s->count());
    return s;
}

bool fromClipboard(CSondaraDoc& doc, ClipboardPort& clipboard, std::int32_t op) {
    int state = 0;
    std::optional<ListSnapshot> s = readClipboard(doc, clipboard, state);
    if (!s) return false;
    bool intoEmpty = op == kOpAppend && state == 2 && doc.points.empty();
    if (state != 1 && !intoEmpty) return false;
    s->op = op;
    s->anchor = -1;
    s->position = intoEmpty ? 0 : doc.currentPoint;
    s->exactPosition = false;
    return Do(doc, std::move(*s));
}

bool writeSnapshot(const CSondaraDoc& doc, ClipboardPort& clipboard, bool result) {
    if (!hasValidSelection(doc)) return false;
    return clipboard.writeBlock(EncodeClipboardBlock(SelectionSnapshot(doc, result)));
}

}  // namespace

bool hasValidSelection(const CSondaraDoc& doc) {
    if (doc.selectionMode == 1) return doc.validPoint(doc.currentPoint);
    if (doc.selectionMode == 2)
        return !doc.pileMembers.empty() &&
               std::all_of(doc.pileMembers.begin(), doc.pileMembers.end(),
                           [&](int i) { return doc.validPoint(i); });
    return false;
}

int clipboardPointCount(ClipboardPort& clipboard) {
    std::optional<std::string> bytes = clipboard.readBlock();
    if (!bytes) return -1;
    const int count = ClipboardBlockPointCount(*bytes);
    return count < 0 ? -1 : count;
}

int clipboardState(const CSondaraDoc& doc, ClipboardPort& clipboard) {
    const int count = clipboardPointCount(clipboard);
    return count < 0 ? 0 : stateFor(doc, count);
}

ListSnapshot SelectionSnapshot(const CSondaraDoc& doc, bool result) {
    ListSnapshot s;
    if (!hasValidSelection(doc)) return s;
    s.op = 0;
    s.mode = doc.selectionMode;
    s.anchor = doc.currentPoint;
    std::vector<int> indices =
        doc.selectionMode == 1 ? std::vector<int>{doc.currentPoint} : doc.pileMembers;
    for (int i : indices) {
        TestPoint p;
        copyPoint(doc.points[i], p);
        if (result) {
            p.rawSamples = p.samples;
            p.steps.clear();
        }
        s.points.push_back(std::move(p));
    }
    return s;
}

bool CopySelection(const CSondaraDoc& doc, ClipboardPort& clipboard) {
    return writeSnapshot(doc, clipboard, false);
}

bool CopyResult(const CSondaraDoc& doc, ClipboardPort& clipboard) {
    return writeSnapshot(doc, clipboard, true);
}

bool CutSelection(CSondaraDoc& doc, ClipboardPort& clipboard) {
    return CopySelection(doc, clipboard) && DeleteSelection(doc);
}

bool PasteFromClipboard(CSondaraDoc& doc, ClipboardPort& clipboard) {
    return fromClipboard(doc, clipboard, kOpPaste);
}

bool InsertFromClipboard(CSondaraDoc& doc, ClipboardPort& clipboard) {
    return fromClipboard(doc, clipboard, kOpInsert);
}

bool AppendFromClipboard(CSondaraDoc& doc, ClipboardPort& clipboard) {
    return fromClipboard(doc, clipboard, kOpAppend);
}

bool DeleteSelection(CSondaraDoc& doc) {
    if (!hasValidSelection(doc)) return false;
    DocChangeBatch batch(doc);  // the new list and the new selection: one change
    const int old = doc.currentPoint;
    ListSnapshot s;
    s.op = kOpDelete;
    s.mode = doc.selectionMode;
    s.position = old;
    if (!Do(doc, std::move(s))) return false;
    doc.selectPoint(old > 0 ? old - 1 : 0);
    doc.commitChange(DocChange::Selection);
    return true;
}

bool MoveSelection(CSondaraDoc& doc, bool up) {
    if (!hasValidSelection(doc)) return false;
    ListSnapshot s;
    s.op = up ? kOpMoveUp : kOpMoveDown;
    s.mode = doc.selectionMode;
    s.anchor = doc.currentPoint;
    return Do(doc, std::move(s));
}

bool SortList(CSondaraDoc& doc, bool ascending) {
    if (doc.points.empty()) return false;
    ListSnapshot s;
    s.op = ascending ? kOpSortAscending : kOpSortDescending;
    return Do(doc, std::move(s));
}

bool SetAllTicks(CSondaraDoc& doc, std::int32_t op) {
    if (doc.points.empty()) return false;
    if (op != kOpTickAll && op != kOpUntickAll && op != kOpInvertTicks) return false;
    ListSnapshot s;
    s.op = op;
    return Do(doc, std::move(s));
}

bool SetPointTick(CSondaraDoc& doc, int index, bool ticked) {
    ListSnapshot s;
    s.op = ticked ? kOpTick : kOpUntick;
    s.anchor = index;
    return Do(doc, std::move(s));
}

bool EditHeader(CSondaraDoc& doc, const ProjectInfo& edited) {
    ListSnapshot s;
    s.op = kOpExchangeHeader;
    s.header = edited;
    return Do(doc, std::move(s));
}

bool EditPointFields(CSondaraDoc& doc, std::vector<TestPoint> edited) {
    ListSnapshot s;
    s.op = kOpExchangeFields;
    s.points = std::move(edited);
    return Do(doc, std::move(s));
}

bool isListCommandEnabled(ListCommand cmd, const CSondaraDoc& doc, ClipboardPort& clipboard) {
    const bool readsClipboard =
        cmd == ListCommand::Paste || cmd == ListCommand::Insert || cmd == ListCommand::Append;
    return isListCommandEnabled(cmd, doc, readsClipboard ? clipboardPointCount(clipboard) : -1);
}

bool isListCommandEnabled(ListCommand cmd, const CSondaraDoc& doc, int clipboardPoints) {
    const int state = clipboardPoints < 0 ? 0 : stateFor(doc, clipboardPoints);
    switch (cmd) {
        case ListCommand::Copy:
        case ListCommand::Cut:
        case ListCommand::Delete:
        case ListCommand::MoveUp:
        case ListCommand::MoveDown:
        case ListCommand::CopyResult:
            return hasValidSelection(doc);
        case ListCommand::Paste:
        case ListCommand::Insert:
            return state == 1;
        case ListCommand::Append:
            return state == 1 || (state == 2 && doc.points.empty());
        case ListCommand::SortAscending:
        case ListCommand::SortDescending:
        case ListCommand::TickAll:
        case ListCommand::UntickAll:
        case ListCommand::InvertTicks:
            return !doc.points.empty();
        case ListCommand::Undo:
            return doc.canUndo();
        case ListCommand::Redo:
            return doc.canRedo();
        case ListCommand::Restore:
            return doc.loaded != 0;
    }
    return false;
}

bool runListCommand(ListCommand cmd, CSondaraDoc& doc, ClipboardPort& clipboard,
                    Prompter& prompter) {
    switch (cmd) {
        case ListCommand::Copy:
            return CopySelection(doc, clipboard);
        case ListCommand::Cut:
            return CutSelection(doc, clipboard);
        case ListCommand::Paste:
            return PasteFromClipboard(doc, clipboard);
        case ListCommand::Insert:
            return InsertFromClipboard(doc, clipboard);
        case ListCommand::Append:
            return AppendFromClipboard(doc, clipboard);
        case ListCommand::Delete:
            return DeleteSelection(doc);
        case ListCommand::MoveUp:
            return MoveSelection(doc, true);
        case ListCommand::MoveDown:
            return MoveSelection(doc, false);
        case ListCommand::SortAscending:
            return SortList(doc, true);
        case ListCommand::SortDescending:
            return SortList(doc, false);
        case ListCommand::TickAll:
            return SetAllTicks(doc, kOpTickAll);
        case ListCommand::UntickAll:
            return SetAllTicks(doc, kOpUntickAll);
        case ListCommand::InvertTicks:
            return SetAllTicks(doc, kOpInvertTicks);
        case ListCommand::Undo:
            return Undo(doc);
        case ListCommand::Redo:
            return Redo(doc);
        case ListCommand::Restore:
            return Restore(doc, prompter);
        case ListCommand::CopyResult:
            return CopyResult(doc, clipboard);
    }
    return false;
}

}  // namespace sondara
