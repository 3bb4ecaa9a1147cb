#pragma once
// The point-list edit engine: applies a ListSnapshot to the document, turning the
// snapshot into its own inverse, and keeps the undo and redo history.
//
// Every applied edit leaves the document consistent (info.pointCount, checked list,
// selection inside the list), marks it modified and notifies the observers. An edit
// that does not apply changes nothing: not the list, not the history, not the flag.
#include <string>
#include <string_view>

#include "core/base/TrNoop.h"
#include "core/model/ListSnapshot.h"
#include "core/model/SondaraDoc.h"

namespace sondara {

class Prompter;

inline constexpr const char* kAskRestore =
    SONDARA_TR_NOOP("sondara", "是否将数据还原到原始状态？\n注：该项操作不可撤销！");
inline constexpr const char* kMsgRestoreIncomplete =
    SONDARA_TR_NOOP("sondara", "原始数据不完整，不能还原！");

// Performs the operation of `s` and rewrites `s` into its inverse. False, with the
// document and `s` unchanged, when the operation does not apply.
bool Apply(CSondaraDoc& doc, ListSnapshot& s);

// Apply; when applied, the inverted snapshot goes on the undo stack and the redo
// stack is emptied.
bool Do(CSondaraDoc& doc, ListSnapshot s);

// Undoes (redoes) the last step of the document's one history (CSondaraDoc::undo).
// A list edit applies its record and moves the inverse to the other stack. False
// when there is nothing to undo or the record no longer applies to the list (it is
// then dropped, so that a stale record cannot block the older ones).
bool Undo(CSondaraDoc& doc);
bool Redo(CSondaraDoc& doc);

namespace detail {
// The list records' own undo and redo, for the document's history.
bool ReplayListRecord(CSondaraDoc& doc, bool undo);
}  // namespace detail

// Asks kAskRestore; on Yes replaces the current list and header by the original
// ones and selects nothing. The history is left as it is. True when restored. An
// original set holding fewer points than its header declared (the file ended inside
// it), or none at all, is refused with kMsgRestoreIncomplete before anything is asked.
bool Restore(CSondaraDoc& doc, Prompter& prompter);

// A pile number that differs from both neighbours, derived from `base` or from a
// neighbour by incrementing its last character (0-9, a-z, A-Z, then 0).
std::string NewPileNumber(std::string_view before, std::string_view after, std::string_view base);

// Natural order of pile numbers: -1, 0 or 1 (P2 < P9 < P9a < P10).
int PileCompare(std::string_view a, std::string_view b);

}  // namespace sondara
