#pragma once
// The open project: current and original point lists with their headers, the
// selection, the checked list and the list-edit history.
//
// Single-threaded: the user-interface thread owns the document. Operations of the
// other subsystems (processing chain, list edits, marks, file reading) are free
// functions in their own folders that take a CSondaraDoc&.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/model/ListSnapshot.h"
#include "core/model/ProjectInfo.h"
#include "core/model/TestPoint.h"

namespace sondara {

// What a change notification is about; observers refresh accordingly.
enum class DocChange {
    PointList,   // loaded, cleared, merged, list edited: anything may have changed
    Processing,  // processed traces and processing chains of the points
    Marks,       // head, toe, defects, marker lines, wave speed or pile length of the points
    Header,      // project header or the information texts of points
    Selection,   // current point or pile
    Checks,      // check boxes
    Display,     // stored display states of the points
};

// One announced change: its kind and the points concerned (empty: every point).
struct DocChangeEvent {
    DocChange kind = DocChange::PointList;
    std::vector<int> points;
};

// One point as a step of the undo history holds it: every field, the chain, the
// remembered parameters and the marks, and of the traces only what replaying the chain
// cannot give back. The recorded trace is held only when the step changed it; the
// processed trace only when it is not the replay of the recorded trace through the
// chain (a trace read from a file as it was stored, or a chain whose head or toe moved
// after its last replay).
struct PointState {
    TestPoint point;
    bool derived = false;  // point.samples is empty and comes back by replaying the chain
    bool raw = false;      // point.rawSamples is held
};

// Rebuilds the processed traces of the points by replaying their chains (the
// processing registers it, see CSondaraDoc::noteTracesReplayed).
using TraceReplay = void (*)(const std::vector<TestPoint*>& points);

// One step of the document's undo history. A list edit keeps its own inverse record
// (the ListSnapshot on undoStack / redoStack) and is only counted here; every other
// change keeps the points it changed as they were before and after, or the whole list
// when the number of points changed, and the project header.
struct UndoStep {
    std::string name;
    bool list = false;   // the record is the last of undoStack (redoStack)
    bool whole = false;  // wholeBefore/wholeAfter hold the whole list
    std::vector<DocChange> kinds;
    std::vector<int> indices;  // per-point steps: the points, parallel to before/after
    std::vector<PointState> before, after;
    std::vector<TestPoint> wholeBefore, wholeAfter;
    // While the step gathers: parallel to indices, whether the processing replayed the
    // point's chain in its last commit.
    std::vector<char> replayed;
    ProjectInfo infoBefore{}, infoAfter{};
    std::size_t bytes = 0;
};

// Bounds of the undo history: whichever is reached first drops the oldest steps.
inline constexpr std::size_t kUndoMaxSteps = 200;
inline constexpr std::size_t kUndoMaxBytes = std::size_t{256} << 20;

class CSondaraDoc {
public:
    CSondaraDoc();

    ProjectInfo info{};
    std::vector<TestPoint> points;
    ProjectInfo originalInfo{};
    std::vector<TestPoint> originalPoints;
    int loaded = 0;
    int selectionMode = 0;  // 0 nothing, 1 a point, 2 a pile
    int currentPoint = -1;
    int currentPile = -1;
    std::vector<int> checkedList;
    std::vector<int> pileMembers;
    std::vector<ListSnapshot> undoStack;
    std::vector<ListSnapshot> redoStack;
    int editMode = 0;  // processing preview: 0 append, 1 replace, 2 insert
    int editIndex = -1;
    std::string lastError;  // UTF-8 message of the last file read; empty on success
    bool modified = false;

    int pointCount() const { return static_cast<int>(points.size()); }
    bool validPoint(int i) const { return i >= 0 && i < pointCount(); }

    void clear();
    void selectPoint(int index);
    void selectPile(int ordinal);
    int pileOrdinal(int pointIndex) const;
    int firstPointOfPile(int ordinal) const;
    std::vector<int> pileMembersOf(int pointIndex) const;
    int pileCount() const;
    void rebuildCheckedList();
    void recomputeDisplayRanges();

    // Name lookups, UTF-8 for display; empty for an index outside the list.
    std::string pileTypeText(int index) const;
    std::string classText(int index) const;
    std::string sensorText(int index) const;
    // Texts are UTF-8 as typed by the user; returns the pile type index (100 custom).
    int setPileType(int index, std::string_view text);
    // Returns the class index, or 0 with the point unchanged when the name is unknown.
    int setClassByName(int index, std::string_view text);

    // Change notification. Every operation that changes the document ends with
    // commitChange(): it marks the document modified (a selection is no change of the
    // project) and tells every observer once. announce() tells without marking, for a
    // document that was just read or cleared.
    using Observer = std::function<void(DocChange, const std::vector<int>& points)>;
    int addObserver(Observer o);
    void removeObserver(int id);
    void commitChange(DocChange what, const std::vector<int>& pts = {});
    void announce(DocChange what, const std::vector<int>& pts = {});
    void setModified(bool m = true) { modified = m; }

    // Between beginChanges() and the matching endChanges() announcements are gathered
    // and sent at the end, one per kind with the points merged: ticking every point of
    // a pile or marking fifty points refreshes the windows once.
    // A batch also forms one undo step.
    void beginChanges() {
        ++batchDepth_;
        beginUndoGroup({});
    }
    void endChanges();

    // The one undo history. Every commitChange records the previous state of the points
    // it changes (from a copy of the points as of the last commit), so any change of
    // the project can be undone and redone; list edits join with their own records.
    // Opening or clearing the document empties it.
    bool canUndo() const { return !undoSteps_.empty() || open_.has_value(); }
    bool canRedo() const { return !redoSteps_.empty(); }
    bool undo();
    bool redo();
    const std::vector<UndoStep>& undoSteps() const { return undoSteps_; }
    const std::vector<UndoStep>& redoSteps() const { return redoSteps_; }
    // Commits between begin and end form one step (a drag, a batch over many points).
    void beginUndoGroup(std::string name);
    void endUndoGroup();
    class UndoGroup {
    public:
        UndoGroup(CSondaraDoc& doc, std::string name) : doc_(doc) {
            doc_.beginUndoGroup(std::move(name));
        }
        ~UndoGroup() { doc_.endUndoGroup(); }
        UndoGroup(const UndoGroup&) = delete;
        UndoGroup& operator=(const UndoGroup&) = delete;

    private:
        CSondaraDoc& doc_;
    };

    // For the list engine: commits between begin and end are not recorded (the engine
    // keeps its own record); the copy of the points follows the new list at the end.
    void beginListEdit();
    void endListEdit();
    // The engine pushed a record on undoStack: it joins the history as one step.
    void recordListEdit(std::size_t bytes);
    // After restoring the original list the recorded point states no longer fit the
    // list: they are dropped, the list records stay.
    void dropPointSteps();

    // The processing tells, just before it commits, which points it has replayed: their
    // processed traces are the replay of their chains, so the history keeps no copy of
    // them and replays with `replay` on undo and redo.
    void noteTracesReplayed(const std::vector<int>& pts, TraceReplay replay);

private:
    void deliver(DocChange what, const std::vector<int>& pts);
    void post(DocChange what, const std::vector<int>& pts);
    void recordChange(DocChange what, const std::vector<int>& pts);
    void closeOpenStep();
    void pushStep(UndoStep s);
    void trimHistory();
    void resyncShadow();
    bool replayPointStep(UndoStep& s, bool undo);
    void rebuildTraces(const std::vector<TestPoint*>& pts) const;
    PointState recordOf(int i);
    std::vector<TestPoint> shadowPoints() const;
    void syncShadow(int i, bool derived, bool rawChanged);

    // The points and header as of the last commit (stale after clear()). Each holds
    // its recorded trace, and its processed trace only when that is not derived.
    std::vector<PointState> shadow_;
    ProjectInfo shadowInfo_{};
    bool shadowStale_ = true;
    std::vector<UndoStep> undoSteps_, redoSteps_;
    std::optional<UndoStep> open_;  // the step a group is gathering
    int groupDepth_ = 0;
    std::string groupName_;
    int listEditDepth_ = 0;
    bool replaying_ = false;
    TraceReplay replay_ = nullptr;
    std::vector<int> noted_;  // points replayed by the processing, for the next commit

    std::vector<std::pair<int, Observer>> observers_;
    int nextObserverId_ = 1;
    int batchDepth_ = 0;
    struct PendingChange {
        DocChangeEvent event;
        bool merged = false;  // points gathered from several announcements
    };
    std::vector<PendingChange> pending_;
};

// Gathers the announcements of a scope (see CSondaraDoc::beginChanges).
class DocChangeBatch {
public:
    explicit DocChangeBatch(CSondaraDoc& doc) : doc_(doc) { doc_.beginChanges(); }
    ~DocChangeBatch() { doc_.endChanges(); }
    DocChangeBatch(const DocChangeBatch&) = delete;
    DocChangeBatch& operator=(const DocChangeBatch&) = delete;

private:
    CSondaraDoc& doc_;
};

// Version tag helpers.
void setVersionTag(ProjectInfo& info, std::string_view tag);  // exactly 5 bytes
std::string versionTagOf(const ProjectInfo& info);            // without padding

// Trims blanks (space, tab, CR, LF) at both ends.
std::string_view trimBlanks(std::string_view s);

// 桩型 by text (a name of the list or a custom type); returns the type index.
int SetPileTypeByText(TestPoint& p, std::string_view utf8);
// 完整性判别 by name; an unknown name leaves the point unchanged and returns false.
bool SetClassByName(TestPoint& p, std::string_view utf8);

}  // namespace sondara
