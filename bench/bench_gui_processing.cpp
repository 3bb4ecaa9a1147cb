// A processing command over every point of a 9,998-point project as the window runs
// it, without painting: the commit sequence on the document, the undo history that
// records it, and the notification to what the window keeps up to date (the display
// model of a 所有测点 display reading the points again, and the processing history
// panel merging the chains of the targets). One benchmark per new-operation kind;
// the step is undone outside the timing, so every run appends to the same chains.
//
// Counters: "recordKB", what the history keeps for the step; "historyMB", all it holds
// after the step. The traces of the project are about 78 MB (raw and processed).
#include <benchmark/benchmark.h>

#include <memory>
#include <numeric>
#include <string>

#include "BenchPoint.h"
#include "core/display/WaveDisplayModel.h"
#include "core/processing/ProcessingChain.h"
#include "core/processing/ProcessingCommands.h"
#include "core/processing/ProcessingHistory.h"

namespace {

using namespace sondara;

constexpr int kPoints = 9998;

// The document as the window holds it after opening the project, with the observers
// that a processing change reaches.
struct Window {
    CSondaraDoc doc;
    WaveDisplayModel display;
    ProcessingHistory history;
    std::vector<int> targets;
    int notified = 0;

    Window() {
        doc.points.reserve(kPoints);
        for (int i = 0; i < kPoints; ++i)
            doc.points.push_back(bench::decayingSinePoint(i, std::to_string(i)));
        doc.info.pointCount = kPoints;
        doc.selectPoint(0);
        display.setSelection({AnalysisDomain::Integrity, DisplaySet::AllPoints, 0, 0, 0});
        display.setClientSize(1400, 900);
        display.rebuild(doc);
        targets.resize(kPoints);
        std::iota(targets.begin(), targets.end(), 0);
        doc.addObserver([this](DocChange what, const std::vector<int>& pts) {
            ++notified;
            if (what == DocChange::Processing || what == DocChange::Marks) {
                if (display.refreshPoints(doc, pts)) display.rebuild(doc);
            } else {
                display.rebuild(doc);
            }
            history.rebuild(doc, targets);
        });
        // as after a read: the history starts here
        doc.announce(DocChange::PointList);
    }

    CommitResult run(ProcessKind kind) {
        CommitRequest r;
        r.edit = ChainEdit::NewOperation;
        r.kind = kind;
        r.targets = targets;
        // the window accepted as it opened
        return CommitProcessing(
            doc, r, [](ProcessStep&, const PreviewFn&) { return DialogResult::Accepted; });
    }

    double historyMb() const {
        std::size_t n = 0;
        for (const UndoStep& s : doc.undoSteps()) n += s.bytes;
        for (const UndoStep& s : doc.redoSteps()) n += s.bytes;
        return static_cast<double>(n) / (1024.0 * 1024.0);
    }
};

Window& window() {
    static std::unique_ptr<Window> w = std::make_unique<Window>();
    return *w;
}

void BM_ProcessAllPoints9998(benchmark::State& state) {
    const auto kind = static_cast<ProcessKind>(state.range(0));
    Window& w = window();
    double recordKb = 0, historyMb = 0;
    for (auto _ : state) {
        if (w.run(kind) != CommitResult::Committed) {
            state.SkipWithError("not committed");
            break;
        }
        state.PauseTiming();
        recordKb = static_cast<double>(w.doc.undoSteps().back().bytes) / 1024.0;
        historyMb = w.historyMb();
        w.doc.undo();
        state.ResumeTiming();
    }
    state.counters["recordKB"] = recordKb;
    state.counters["historyMB"] = historyMb;
}

void kinds(benchmark::internal::Benchmark* b) {
    for (const ProcessingCommand& c : ProcessingCommands())
        if (c.edit == ChainEdit::NewOperation) b->Arg(static_cast<int>(c.kind));
}
BENCHMARK(BM_ProcessAllPoints9998)->Apply(kinds)->Unit(benchmark::kMillisecond)->UseRealTime();

// Undo and redo of a filter step over every point: the chains come back and the
// traces are replayed.
void BM_UndoRedoAllPoints9998(benchmark::State& state) {
    Window& w = window();
    w.run(ProcessKind::Filter);
    for (auto _ : state) {
        w.doc.undo();
        w.doc.redo();
    }
    state.counters["historyMB"] = w.historyMb();
    w.doc.undo();
}
BENCHMARK(BM_UndoRedoAllPoints9998)->Unit(benchmark::kMillisecond)->UseRealTime();

// Ten steps one after the other, then all undone: the history grows by the chains.
void BM_TenStepsHistory9998(benchmark::State& state) {
    Window& w = window();
    double historyMb = 0;
    for (auto _ : state) {
        for (int k = 0; k < 10; ++k) w.run(k % 2 ? ProcessKind::Smooth : ProcessKind::Amplify);
        state.PauseTiming();
        historyMb = w.historyMb();
        for (int k = 0; k < 10; ++k) w.doc.undo();
        state.ResumeTiming();
    }
    state.counters["historyMB"] = historyMb;
}
BENCHMARK(BM_TenStepsHistory9998)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
