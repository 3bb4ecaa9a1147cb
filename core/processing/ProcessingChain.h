#pragma once
// The processing chain of the points: replay of the processed trace from the
// recorded trace, the document operations on lists of target points, the remembered
// parameters, the display amplitude range, the description texts, and the commit
// sequence that every processing command (dialogs, CLI, tests) runs through.
//
// A processed trace is never edited: every change rewrites the chains of the target
// points and replays them from the raw trace. Target lists hold point indices in the
// order the display computed them (the first target is the reference point); indices
// outside the document are skipped and an index listed twice counts once.
//
// Call from the thread that owns the document. Operations on many points replay them
// on several threads internally (see ParallelFor.h) with the same result as a serial
// run.
#include <functional>
#include <string>
#include <vector>

#include "core/model/SondaraDoc.h"
#include "core/processing/AnalysisDomain.h"
#include "core/processing/ProcessKinds.h"

namespace sondara {

// ---- replay ---------------------------------------------------------------------------

// Rebuilds the processed trace of `point` from its raw trace through `steps` (which
// need not be the stored chain). Codes without an operation are skipped.
void ReplayChain(TestPoint& point, int stepCount, const ProcessStep* steps);
// The same with the point's stored chain.
void ReplayChain(TestPoint& point);
// Document form; nothing for a point index outside the document.
void ReplayChain(CSondaraDoc& doc, int point, int stepCount, const ProcessStep* steps);

// Runs one step over `samples` in place with the point parameters of `point` (head,
// toe, pile length, wave speed, sample interval), exactly as the replay does.
void ApplyStep(const TestPoint& point, const ProcessStep& step, std::vector<float>& samples);

// ---- document operations on target points --------------------------------------------

using PointList = std::vector<int>;

// Replays each point's stored chain (undoes any preview).
void RestoreChains(CSondaraDoc& doc, const PointList& points);
// Replays, per point, the stored chain with `step` appended (doc.editMode 0), put in
// place of step doc.editIndex (1) or inserted before it (2). The stored chains are not
// changed; a point whose chain has no step editIndex keeps its processed trace.
void PreviewStep(CSondaraDoc& doc, const PointList& points, const ProcessStep& step);
// Appends a copy of `step` to each chain and replays.
void AppendStep(CSondaraDoc& doc, const PointList& points, const ProcessStep& step);
// Overwrites step `index` of each chain longer than `index`, replays and refreshes the
// remembered parameters of step.kind. Shorter chains are left alone.
void ReplaceStep(CSondaraDoc& doc, const PointList& points, const ProcessStep& step, int index);
// Inserts a copy of `step` before step `index` of each chain longer than `index`,
// replays and refreshes the remembered parameters of step.kind.
void InsertStep(CSondaraDoc& doc, const PointList& points, const ProcessStep& step, int index);
// Removes step `index` of each chain longer than `index` and replays; when steps
// remain, refreshes the remembered parameters of the removed step's kind.
void DeleteStep(CSondaraDoc& doc, const PointList& points, int index);
// Empties each chain and replays (the processed trace becomes the raw trace); the
// remembered parameters stay.
void ClearSteps(CSondaraDoc& doc, const PointList& points);

// rangeMax/rangeMin of lastParams: +-(M + 0.1 M) with M the largest absolute processed
// sample; 0 for an empty processed trace.
void UpdateDisplayRange(TestPoint& point);
void UpdateDisplayRange(CSondaraDoc& doc, const PointList& points);

// Copies the fields of step.kind into lastParams and sets lastParams.kind.
void RememberParameters(TestPoint& point, const ProcessStep& step);
void RememberParameters(CSondaraDoc& doc, int point, const ProcessStep& step);
// Empty chain: lastParams.kind = 0. Otherwise remembers the last step of `kind` in
// the chain, if there is one.
void RefreshRememberedParameters(TestPoint& point, int kind);
void RefreshRememberedParameters(CSondaraDoc& doc, int point, int kind);

// ---- descriptions ---------------------------------------------------------------------

// The lines (UTF-8) that describe what the chain of `point` does of `kind`, with the
// parameters of `record` (normally the point's lastParams) and positions in metres
// below the point's pile head. Empty for a point index outside the document.
std::vector<std::string> DescribeKind(const CSondaraDoc& doc, int point, const ProcessStep& record,
                                      ProcessKind kind);
// DescribeKind(point, lastParams, kind), each line trimmed, joined without separator.
std::string KindSummary(const CSondaraDoc& doc, int point, ProcessKind kind);

// ---- the commit sequence ----------------------------------------------------------------

enum class ChainEdit {
    NewOperation,  // append a step of request.kind built from the first target's lastParams
    Edit,          // replace step request.index by request.step (the history list's copy)
    Insert,        // insert a freshly initialised step of request.kind before request.index
    Delete,        // delete step request.index
    Clear,         // empty the chains
    Undo,          // delete the last entry of the history list (the longest chain's last step)
};

enum class DialogResult { Accepted, Cancelled };

// Shows a candidate step on the target points without committing it: PreviewStep,
// UpdateDisplayRange and a change notification.
using PreviewFn = std::function<void(const ProcessStep& candidate)>;
// Stands for the parameter dialog: gets the step to edit (the dialog's copy) and the
// preview; returns Accepted with the step updated, or Cancelled. Not called for kinds
// without parameters, which count as accepted.
using StepDialog = std::function<DialogResult(ProcessStep& step, const PreviewFn& preview)>;

struct CommitRequest {
    ChainEdit edit = ChainEdit::NewOperation;
    PointList targets;                     // computed by the display
    ProcessKind kind = ProcessKind::None;  // NewOperation, Insert
    ProcessStep step{};                    // Edit
    int index = -1;                        // Edit, Insert, Delete
    AnalysisDomain domain = AnalysisDomain::Integrity;
    bool showsAverage = false;  // TimeAnalysis shows the average of several traces
    // NewOperation: sets the fields the command pre-fills (the static cursor's sample,
    // the pile head as amplification start) after the step was built.
    std::function<void(ProcessStep&)> prefill;
};

enum class CommitResult {
    Committed,  // the chains changed; the document is marked modified
    Cancelled,  // the dialog was cancelled; the traces are restored
    Ignored,    // no target, kind not available here, kind 0 or nothing to delete
};

// Runs one processing command from its parameters to the refreshed document. An empty
// `dialog` accepts the step as built (batch use). Announces DocChange::Processing with the
// targets after every preview (announced, not marked) and at the end (committed).
CommitResult CommitProcessing(CSondaraDoc& doc, const CommitRequest& request,
                              const StepDialog& dialog = {});

}  // namespace sondara
