#pragma once
// The point-list commands of the menus (复制, 剪切, 粘贴, 插入, 添加, 删除, 上移, 下移,
// 升序排列, 降序排列, 全部勾选, 全部不选, 全部反选, 撤销, 重复, 还原, 复制结果): each
// builds its snapshot from the document's selection and the clipboard and hands it
// to the engine. The menus only ask isListCommandEnabled and call runListCommand.
//
// The system clipboard belongs to the user interface: it implements ClipboardPort
// for the private format "MIRQAR_COPY_PAST"; tests and the CLI use MemoryClipboard.
#include <optional>
#include <string>
#include <vector>

#include "core/model/ClipboardBlock.h"
#include "core/model/ListEngine.h"

namespace sondara {

class Prompter;

class ClipboardPort {
public:
    virtual ~ClipboardPort() = default;
    // The bytes held under the private format; nothing when the clipboard cannot be
    // opened or holds no such block.
    virtual std::optional<std::string> readBlock() = 0;
    // Empties the clipboard and places `bytes` under the private format; false when
    // the clipboard cannot be opened.
    virtual bool writeBlock(const std::string& bytes) = 0;
};

class MemoryClipboard : public ClipboardPort {
public:
    std::optional<std::string> readBlock() override { return block; }
    bool writeBlock(const std::string& bytes) override {
        block = bytes;
        return true;
    }
    std::optional<std::string> block;
};

// Command ids of the menus.
enum class ListCommand : int {
    Copy = 57634,
    Cut = 57635,
    Paste = 57637,
    Insert = 32814,
    Append = 32815,
    Delete = 32813,
    MoveUp = 32816,
    MoveDown = 32817,
    SortAscending = 32841,
    SortDescending = 32842,
    TickAll = 32875,
    UntickAll = 32876,
    InvertTicks = 32877,
    Undo = 57643,
    Redo = 57644,
    Restore = 32819,
    CopyResult = 32871,
};

// A point selected inside the list, or a pile selected with at least one member.
bool hasValidSelection(const CSondaraDoc& doc);

// 0: no block of the private format. Otherwise, with the block's point count c:
// 1 when c = 1 and a point or pile is selected, or c > 1 and a pile is selected;
// 2 in every other case.
int clipboardState(const CSondaraDoc& doc, ClipboardPort& clipboard);
// The point count of the clipboard's block; -1 when it holds no valid block.
int clipboardPointCount(ClipboardPort& clipboard);

bool isListCommandEnabled(ListCommand cmd, const CSondaraDoc& doc, ClipboardPort& clipboard);
// The same with the clipboard's point count known (clipboardPointCount), so that a
// window asking often decodes the block only when the clipboard changes.
bool isListCommandEnabled(ListCommand cmd, const CSondaraDoc& doc, int clipboardPoints);
// Runs the command if it is enabled. True when the list changed (or, for the two
// copy commands, when the clipboard was written).
bool runListCommand(ListCommand cmd, CSondaraDoc& doc, ClipboardPort& clipboard,
                    Prompter& prompter);

// ---- the builders behind the commands (each checks its own enable rule) ----

// The snapshot a copy places on the clipboard (op 0): the current point (mode 1) or
// the members of the current pile (mode 2), anchor = current point. With `result`,
// every carried point starts from its processed trace: raw samples = samples, no
// processing steps.
ListSnapshot SelectionSnapshot(const CSondaraDoc& doc, bool result = false);
bool CopySelection(const CSondaraDoc& doc, ClipboardPort& clipboard);
bool CopyResult(const CSondaraDoc& doc, ClipboardPort& clipboard);
// Copy, then delete; nothing is deleted when the clipboard could not be written.
bool CutSelection(CSondaraDoc& doc, ClipboardPort& clipboard);
// Paste (op 3), insert (op 4), append (op 5) of the clipboard block at the current point.
bool PasteFromClipboard(CSondaraDoc& doc, ClipboardPort& clipboard);
bool InsertFromClipboard(CSondaraDoc& doc, ClipboardPort& clipboard);
bool AppendFromClipboard(CSondaraDoc& doc, ClipboardPort& clipboard);
// Deletes the selected point or pile, then selects the point before the old current
// point (or point 0).
bool DeleteSelection(CSondaraDoc& doc);
bool MoveSelection(CSondaraDoc& doc, bool up);
bool SortList(CSondaraDoc& doc, bool ascending);
// op: kOpTickAll, kOpUntickAll or kOpInvertTicks.
bool SetAllTicks(CSondaraDoc& doc, std::int32_t op);
// The check box of one point (point list panel): ops 19 and 20.
bool SetPointTick(CSondaraDoc& doc, int index, bool ticked);
// Header edit of the point table (op 10): `edited` becomes the document header.
bool EditHeader(CSondaraDoc& doc, const ProjectInfo& edited);
// Parameter edit of the point table (op 11): each edited point carries the new fixed
// fields and, in sourceIndex, the list index they belong to.
bool EditPointFields(CSondaraDoc& doc, std::vector<TestPoint> edited);

}  // namespace sondara
