#pragma once
// Pile head, pile toe, defects, marker lines and the integrity class of a
// measurement point, and the wave-speed / pile-length edits that tie them together.
//
// All operations are free functions over the document and a point index; they
// return 1 on success and 0 otherwise (an invalid point index returns 0 without a
// message). Refusals the user must see go through the Prompter with the program's
// own texts; drags and duplicate marks are refused silently. Mark names and remarks
// in the model are GBK bytes; the dialog helpers take UTF-8 as typed by the user.
//
// Single-threaded: called on the thread that owns the document. None of these
// functions notifies observers or marks the document modified; the caller does so
// once after a command has run over all its target points.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/TrNoop.h"
#include "core/model/SondaraDoc.h"

namespace sondara {

class Prompter;

// Texts shown by the mark operations (UTF-8).
inline constexpr const char* kMsgBadMarkPosition = SONDARA_TR_NOOP("sondara", "设置位置错误");
inline constexpr const char* kMsgHeadBeforeToe =
    SONDARA_TR_NOOP("sondara", "桩头位置应设置在桩尾之前！");
inline constexpr const char* kMsgToeAfterHead =
    SONDARA_TR_NOOP("sondara", "桩尾位置应设置在桩头之后！");
inline constexpr const char* kAskDeleteOutOfRange =
    SONDARA_TR_NOOP("sondara", "此设置产生超范围缺陷，是否让系统自动删除掉？");
inline constexpr const char* kMsgDefectDataError = SONDARA_TR_NOOP("sondara", "数据错误！");
inline constexpr const char* kMsgDefectOutsidePile =
    SONDARA_TR_NOOP("sondara", "缺陷位置不能超出桩体！");
inline constexpr const char* kMsgDefectsTooClose = SONDARA_TR_NOOP("sondara", "缺陷间距过小！");
inline constexpr const char* kAskClearAllMarks = SONDARA_TR_NOOP("sondara", "是否要清除所有标记？");
inline constexpr const char* kAskZeroPileLength =
    SONDARA_TR_NOOP("sondara", "桩长设置值为零，是否继续？");

// Which quantity is recomputed when the head or the toe moves. KeepSpeed recomputes
// the pile length; the other two recompute the wave speed.
enum class LengthFollowMode : std::int32_t {
    AutoAdjust = 0,  // 自动调整
    KeepLength = 1,  // 桩长不变
    KeepSpeed = 2,   // 波速不变
};

// The view's effective follow mode, always KeepLength or KeepSpeed. It starts as
// KeepLength; a setting of KeepLength/KeepSpeed is taken over whenever the display
// settings are applied; with AutoAdjust, the last analysis-bar edit decides (an
// edited wave speed keeps the speed, an edited pile length keeps the length).
class LengthFollowState {
public:
    LengthFollowMode setting() const { return setting_; }
    LengthFollowMode effective() const { return effective_; }

    // The display settings were applied with this follow setting.
    void applySettings(LengthFollowMode setting);
    // The analysis bar changed the wave speed / the pile length.
    void speedEdited();
    void lengthEdited();

private:
    LengthFollowMode setting_ = LengthFollowMode::AutoAdjust;
    LengthFollowMode effective_ = LengthFollowMode::KeepLength;
};

// ---- head and toe -----------------------------------------------------------------
// Places the pile head (toe) at sample `index`. With `interactive` the refusals are
// shown and the deletion of defects that fall outside the pile is asked; without it
// (dragging a line in the display) nothing is shown and such defects are kept.
// A head at or beyond the toe is refused while the toe-set flag is 1; otherwise the
// toe is pushed along to three samples after the (clamped) head, and the mirror rule
// holds for the toe. Afterwards the pile length (KeepSpeed) or the wave speed (the
// other modes) is recomputed from the travel time between head and toe.
int SetPileHead(CSondaraDoc& doc, int point, int index, LengthFollowMode mode, bool interactive,
                Prompter& prompter);
int SetPileToe(CSondaraDoc& doc, int point, int index, LengthFollowMode mode, bool interactive,
               Prompter& prompter);

// Recomputes the pile length (KeepSpeed) or the wave speed (other modes) of `p` from
// its head and toe. Nothing changes when the toe does not lie after the head, when
// the sample interval is not a positive number, or when the result cannot be stored
// (a wave speed outside the int16 range, a length that is not finite): there is no
// travel time to derive it from, and a garbage value would be worse than the old one.
// Returns whether a value was stored.
bool RecomputeLengthOrSpeed(TestPoint& p, LengthFollowMode mode);

// ---- defects ------------------------------------------------------------------------
// Adds a defect at sample `position`; refusals in this order: outside the trace
// "数据错误！", not strictly between head and toe "缺陷位置不能超出桩体！", closer than
// 3 samples to another defect "缺陷间距过小！". Kinds 0..7 take the table name; any
// other kind takes `ownNameGbk`. Name and remark are cut to 49 bytes.
int AddDefect(CSondaraDoc& doc, int point, int position, int kind, std::string_view ownNameGbk,
              std::string_view remarkGbk, Prompter& prompter);
// Overwrites the j-th defect; refused silently when j is out of range, when the
// mark's position lies outside the trace or another defect sits exactly there.
int ReplaceDefect(CSondaraDoc& doc, int point, int j, const PileMark& mark);
// A dragged defect: the old record with the new position and its new depth.
int MoveDefect(CSondaraDoc& doc, int point, int j, int position);
int DeleteDefect(CSondaraDoc& doc, int point, int j);

// Kind of a defect name (GBK): the index of the equal table name 0..7, else 100.
int DefectKindOfName(std::string_view nameGbk);

// What the custom-defect and edit-defect dialogs produce from their texts: both
// trimmed of blanks at both ends, converted to GBK and cut to 49 bytes; the kind is
// derived from the name.
struct DefectEntry {
    int kind = 100;
    std::string nameGbk;
    std::string remarkGbk;
};
DefectEntry MakeDefectEntry(std::string_view nameUtf8, std::string_view remarkUtf8);

// 自定义: AddDefect of the entered name at `position` for every target point. An
// empty (or blank) name does nothing. Returns the number of points that got it.
int AddCustomDefect(CSondaraDoc& doc, const std::vector<int>& points, int position,
                    std::string_view nameUtf8, std::string_view remarkUtf8, Prompter& prompter);
// 编辑: stores the entered name and remark in the j-th defect, re-derives its kind and
// its depth; the position stays. Goes through ReplaceDefect.
int EditDefect(CSondaraDoc& doc, int point, int j, std::string_view nameUtf8,
               std::string_view remarkUtf8);

// ---- marker lines -------------------------------------------------------------------
enum class MarkerDomain : int {
    Correlation = 1,  // correlationMarks, lag index
    Spectrum = 2,     // spectrumMarks, bin index
    Wavelet = 3,      // (pane number, sample index) pairs
};

// Correlation and spectrum: `points` are the target points; a point that already has
// a mark within 2 positions is skipped. Wavelet: `points` is the point followed by
// the pane numbers; a negative pane number or an exact duplicate is skipped.
// Returns 1 when at least one mark was added.
int AddMarkerLine(CSondaraDoc& doc, const std::vector<int>& points, MarkerDomain domain,
                  int position);
// Correlation and spectrum: the position must lie on the trace and differ from every
// other mark of the list. Wavelet (the caller passes the current point): refused when
// another mark of the same pane has that position.
int MoveMarkerLine(CSondaraDoc& doc, int point, int j, MarkerDomain domain, int position);
int DeleteMarkerLine(CSondaraDoc& doc, int point, int j, MarkerDomain domain);

// ---- clearing all marks -------------------------------------------------------------
// What one display pane shows marks of: defects on time-trace and average panes, a
// marker-line list on correlation, spectrum and wavelet panes.
enum class MarkSet { None, Defects, Correlation, Spectrum, Wavelet };
struct MarkPane {
    int point = -1;
    MarkSet set = MarkSet::None;
    int waveletPane = -1;  // Wavelet: the pane number whose marks it shows; -1 = all
};
int MarksShown(const CSondaraDoc& doc, const MarkPane& pane);
// 清除: `activePaneOnly` (edit scope 当前波形) takes panes[0] as the active pane,
// which must exist and show at least one mark; otherwise every listed pane counts.
// Asks "是否要清除所有标记？"; on Yes deletes every mark those panes show.
int ClearAllMarks(CSondaraDoc& doc, const std::vector<MarkPane>& panes, bool activePaneOnly,
                  Prompter& prompter);

// ---- wave speed and pile length from the analysis bar -------------------------------
// `points`: the active pane's point (single pane: only points[0] counts) or every
// pane's point (`allPanes`, edit scope 全部波形). A zero length in the all-panes case
// asks first; No abandons. In the single-pane case an unchanged value does nothing.
// The other quantity is recomputed from head and toe where they span a travel time
// (toe after head, positive sample interval); elsewhere only the edited value is
// stored. A wave speed outside 1..32767 is refused (0 would set the lengths to 0 and
// lose them). Returns 1 when the edit was applied.
int EditWaveSpeed(CSondaraDoc& doc, const std::vector<int>& points, int speed, bool allPanes,
                  LengthFollowState& follow);
int EditPileLength(CSondaraDoc& doc, const std::vector<int>& points, double length, bool allPanes,
                   LengthFollowState& follow, Prompter& prompter);

// ---- integrity class ----------------------------------------------------------------
// The class typed or chosen in the point grid: the text (UTF-8) is trimmed and
// compared exactly with the class names; the matching index is stored, any other
// text stores 0 (未得出). Returns the stored class (0 for an invalid point).
int SetIntegrityClass(CSondaraDoc& doc, int point, std::string_view textUtf8);

}  // namespace sondara
