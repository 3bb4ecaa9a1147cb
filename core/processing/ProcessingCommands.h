#pragma once
// The rules of the processing commands of the analysis view that need no window: which
// command does what, when the docked forms may be used, the fields a new step takes
// from the display's static cursor, and the enable rules of the history panel.
#include <optional>
#include <vector>

#include "core/app/CommandIds.h"
#include "core/model/ProcessStep.h"
#include "core/model/TestPoint.h"
#include "core/processing/AnalysisDomain.h"
#include "core/processing/ProcessingChain.h"

namespace sondara {

struct ProcessingCommand {
    CommandId id;
    ChainEdit edit;
    ProcessKind kind;  // NewOperation and Insert; None for the others
};

// The new-operation (数字滤波 … 简单积分), insert (32820–32833, in id order), edit, delete,
// clear and undo commands.
const std::vector<ProcessingCommand>& ProcessingCommands();
std::optional<ProcessingCommand> ProcessingCommandOf(CommandId id);
// The 14 insert commands in menu order.
std::vector<ProcessingCommand> InsertCommands();

// The docked forms can be used in integrity analysis and in the time-domain average.
bool DockAllowed(AnalysisDomain domain, bool timeAnalysisShowsAverage);
// Whether a command of this kind keeps its window a pop-up (grey switch button) for
// its run: the filter, amplify, DC and smoothing windows outside the two cases above.
bool ForcesPopup(ProcessKind kind, AnalysisDomain domain, bool timeAnalysisShowsAverage);

// Fields a new step takes before its window opens: the static cursor's sample
// (staticCursorSample >= 0) as the position of DC removal, rotation, the zeroings and
// the front/back zero; an amplification always starts at the pile head of `first`.
void PrefillNewStep(ProcessStep& step, int staticCursorSample, const TestPoint& first);

// Enable rules of the history panel's buttons.
struct HistoryButtons {
    bool editInsertDelete = false;  // 编辑, 插入, 删除
    bool clearUndo = false;         // 清除, 撤销
};
HistoryButtons HistoryButtonStates(int entries, bool hasTargets, int selected);

}  // namespace sondara
