// The information tables on a 9,998-point project shown in the 所有测点 display: the
// rows of a refresh, the cells of one screenful of the point and parameter grids (what
// the grids ask for when they paint), and one 多个测点 edit of every row with its undo.
#include <benchmark/benchmark.h>

#include <string>

#include "core/display/WaveDisplayModel.h"
#include "core/model/ListEngine.h"
#include "core/panels/InfoGridEdit.h"
#include "core/panels/InfoGridTables.h"

namespace {

using namespace sondara;

constexpr int kPoints = 9998;
constexpr int kVisibleRows = 30;

CSondaraDoc& bigDoc() {
    static CSondaraDoc doc = [] {
        CSondaraDoc d;
        d.loaded = 1;
        for (int i = 0; i < kPoints; ++i) {
            TestPoint p;
            setText(p.pileNo, std::to_string(i / 3));
            setText(p.testDateTime, "2024-05-06 07:08:09");
            p.sampleInterval = 20.0f;
            p.waveSpeed = 4000;
            p.recordedLength = 256;
            p.rawSamples.assign(256, 1.0f);
            p.samples = p.rawSamples;
            ProcessStep f;
            f.kind = static_cast<int>(ProcessKind::Filter);
            p.steps.push_back(f);
            p.lastParams.kind = f.kind;
            d.points.push_back(std::move(p));
        }
        d.info.pointCount = kPoints;
        d.selectPoint(0);
        return d;
    }();
    return doc;
}

const WaveDisplayModel& allPointsView() {
    static WaveDisplayModel m = [] {
        WaveDisplayModel v;
        v.setSelection({AnalysisDomain::Integrity, DisplaySet::AllPoints, 0, 0, 0});
        v.setClientSize(1200, 600);
        v.rebuild(bigDoc());
        return v;
    }();
    return m;
}

void BM_GridRowsOfAllPoints(benchmark::State& state) {
    const WaveDisplayModel& v = allPointsView();
    for (auto _ : state) {
        std::vector<int> rows = GridRowPoints(bigDoc(), &v);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_GridRowsOfAllPoints)->Unit(benchmark::kMicrosecond);

void BM_GridScreenfulOfCells(benchmark::State& state) {
    const std::vector<int> rows = GridRowPoints(bigDoc(), &allPointsView());
    const int first = kPoints / 2;
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (int r = first; r < first + kVisibleRows; ++r) {
            for (int c = 0; c < kPointColumnCount; ++c)
                bytes += GridCellText(GridTable::Points, bigDoc(), rows, r, c).size();
            for (int c = 0; c < 11; ++c)
                bytes += GridCellText(GridTable::Parameters, bigDoc(), rows, r, c).size();
        }
    }
    benchmark::DoNotOptimize(bytes);
}
BENCHMARK(BM_GridScreenfulOfCells)->Unit(benchmark::kMicrosecond);

void BM_GridEditEveryRowAndUndo(benchmark::State& state) {
    const std::vector<int> rows = GridRowPoints(bigDoc(), &allPointsView());
    CSondaraDoc& d = bigDoc();
    for (auto _ : state) {
        EditPointCell(d, rows, 0, kPointColDiameter, "800", PointEditScope::Multiple);
        Undo(d);
        d.redoStack.clear();
    }
}
BENCHMARK(BM_GridEditEveryRowAndUndo)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
