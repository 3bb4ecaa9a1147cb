// The desktop program at full scale: a 9,998-point project (one point per pile, as
// `sondara-cli simulate --piles 9998 --points-per-pile 1` writes it) opened on the
// offscreen platform, then the steps an engineer takes on a large site. Every figure
// is wall time until the work and the repaint it causes are done.
//
// The project is generated once into $SONDARA_BENCH_PROJECT (default
// /tmp/sondara_gui_bench_9998.qar) by a child process, so that its memory does not
// count in the peak of the program under test.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QTableView>
#include <QWheelEvent>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/app/CommandIds.h"
#include "core/app/RunLog.h"
#include "core/fileio/ProjectFile.h"
#include "core/sim/SimProject.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/AnalysisBarWidget.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"
#include "gui/panels/PointListPanel.h"
#include "gui/panels/PointListTableModel.h"

namespace {

using namespace sondara;
using namespace sondara::gui;
using Clock = std::chrono::steady_clock;

std::string projectPath() {
    const char* p = std::getenv("SONDARA_BENCH_PROJECT");
    return p && *p ? p : "/tmp/sondara_gui_bench_9998.qar";
}

bool ensureProject(const std::string& path) {
    if (std::filesystem::exists(path)) return true;
    const pid_t child = fork();
    if (child == 0) {
        CSondaraDoc doc;
        std::string error;
        const bool ok = buildProject(randomProjectSpec(9998, 1, 1), doc, nullptr, error) &&
                        WriteProject(doc, path + ".part", &error);
        if (ok) std::filesystem::rename(path + ".part", path);
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Notes every paint of a waveform display.
struct PaintWatch : QObject {
    int paints = 0;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && qobject_cast<CWaveDisp*>(o)) ++paints;
        return false;
    }
};

PaintWatch* g_watch = nullptr;
std::unique_ptr<CSondaraApp> g_app;
double g_peakMbAtOpen = 0;

double peakRssMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// Runs the event loop until a display has painted (when one is expected) and the
// queue is empty.
bool settle(bool expectPaint) {
    const int before = g_watch->paints;
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (expectPaint && g_watch->paints == before) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        if (Clock::now() > deadline) return false;
    }
    QApplication::processEvents();
    return true;
}

CSondaraView* view() {
    return g_app && g_app->frame() ? g_app->frame()->activeAnalysisView() : nullptr;
}

void choose(BarCombo which, int index) {
    QComboBox* c = view()->analysisBar()->combo(which);
    c->setCurrentIndex(index);
    emit c->activated(index);
}

void chooseDisplaySet(int index) {
    choose(BarCombo::DisplaySet, index);
}

template <class F>
void timed(benchmark::State& state, F&& step, bool expectPaint = true) {
    const auto t0 = Clock::now();
    step();
    if (!settle(expectPaint)) state.SkipWithError("no repaint within 60 s");
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
}

// Selects one row of the panel's flat list per iteration, from `firstRow` on.
void selectRows(benchmark::State& state, int firstRow, bool expectPaint) {
    if (!view()) return state.SkipWithError("not open");
    QTableView* list = g_app->frame()->pointList()->list();
    int row = firstRow;
    for (auto _ : state) {
        const int r = row++ % 9998;
        timed(
            state, [&] { list->selectRow(r); }, expectPaint);
    }
}

// Chooses the display set `index` after an untimed 单道分析.
void switchDisplaySet(benchmark::State& state, int index) {
    if (!view()) return state.SkipWithError("not open");
    for (auto _ : state) {
        state.PauseTiming();
        chooseDisplaySet(0);
        settle(true);
        state.ResumeTiming();
        timed(state, [index] { chooseDisplaySet(index); });
    }
    state.counters["panes"] = view()->display()->paneCount();
}

void BM_OpenToFirstPaint(benchmark::State& state) {
    const std::string path = projectPath();
    if (!ensureProject(path)) {
        state.SkipWithError("cannot write the project");
        return;
    }
    for (auto _ : state) {
        const auto t0 = Clock::now();
        g_app = std::make_unique<CSondaraApp>();
        if (!g_app->initInstance({"sondara", QString::fromStdString(path)}))
            state.SkipWithError("no start");
        if (!settle(true)) state.SkipWithError("no first paint");
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
    }
    g_peakMbAtOpen = peakRssMb();
    const double fileMb =
        static_cast<double>(QFileInfo(QString::fromStdString(path)).size()) / (1024.0 * 1024.0);
    state.counters["points"] = g_app->document() ? g_app->document()->doc().pointCount() : 0;
    state.counters["file_MB"] = fileMb;
    state.counters["peak_MB"] = g_peakMbAtOpen;
    state.counters["peak_target_MB"] = 1.5 * fileMb + 200;
}
BENCHMARK(BM_OpenToFirstPaint)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Selecting a point near the end of the list in the panel's flat list (单道分析).
void BM_SelectPointNearEnd(benchmark::State& state) {
    selectRows(state, 9990, true);
}
BENCHMARK(BM_SelectPointNearEnd)->Iterations(8)->UseManualTime()->Unit(benchmark::kMillisecond);

// One click on a point's check box in the flat list (untick, then tick again).
void BM_TickOnePoint(benchmark::State& state) {
    if (!view()) return state.SkipWithError("not open");
    PointListTableModel* m = g_app->frame()->pointList()->listModel();
    int n = 0;
    for (auto _ : state) {
        const QModelIndex box = m->index(9995, 0);
        const Qt::CheckState next = n++ % 2 ? Qt::Checked : Qt::Unchecked;
        timed(
            state, [&] { m->setData(box, next, Qt::CheckStateRole); }, false);
    }
}
BENCHMARK(BM_TickOnePoint)->Iterations(8)->UseManualTime()->Unit(benchmark::kMillisecond);

// A processing change of the current point announced and drawn, as a docked rotation
// or shift announces on every mouse move of its drag (单道分析).
void BM_ProcessingChangeOfOnePoint(benchmark::State& state) {
    if (!view()) return state.SkipWithError("not open");
    CSondaraDoc& doc = g_app->document()->doc();
    for (auto _ : state) {
        timed(state, [&] { doc.announce(DocChange::Processing, {doc.currentPoint}); });
    }
}
BENCHMARK(BM_ProcessingChangeOfOnePoint)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// 全部勾选 on every point (after an untimed 全部不选).
void BM_TickAll(benchmark::State& state) {
    if (!view()) return state.SkipWithError("not open");
    CMainFrame* f = g_app->frame();
    for (auto _ : state) {
        state.PauseTiming();
        f->runCommand(CommandId::EditCheckNone);
        settle(false);
        state.ResumeTiming();
        timed(
            state, [&] { f->runCommand(CommandId::EditCheckAll); }, false);
    }
    state.counters["checked"] = static_cast<double>(g_app->document()->doc().checkedList.size());
}
BENCHMARK(BM_TickAll)->Iterations(4)->UseManualTime()->Unit(benchmark::kMillisecond);

// 单道分析 -> 所有测点 (index 4 of the integrity display sets).
void BM_SwitchToAllPoints(benchmark::State& state) {
    switchDisplaySet(state, 4);
}
BENCHMARK(BM_SwitchToAllPoints)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// One wheel notch down in 所有测点.
void BM_ScrollStepAllPoints(benchmark::State& state) {
    if (!view()) return state.SkipWithError("not open");
    CWaveDisp* d = view()->display();
    for (auto _ : state) {
        timed(state, [d] {
            const QPointF at(d->width() / 2.0, d->height() / 2.0);
            QWheelEvent wheel(at, d->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(d, &wheel);
        });
    }
    state.counters["scrollY"] = d->scrollY();
}
BENCHMARK(BM_ScrollStepAllPoints)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

// Selecting a point near the end of the list while 所有测点 shows every point.
void BM_SelectPointInAllPoints(benchmark::State& state) {
    selectRows(state, 9980, false);  // the panes stay as they are
}
BENCHMARK(BM_SelectPointInAllPoints)->Iterations(8)->UseManualTime()->Unit(benchmark::kMillisecond);

// 单道分析 -> 波列显示 (index 5).
void BM_SwitchToWaveTrain(benchmark::State& state) {
    switchDisplaySet(state, 5);
}
BENCHMARK(BM_SwitchToWaveTrain)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// 完整性分析 -> 时域分析 / 互相关: two lists of every point in the analysis bar.
void BM_SwitchToCrossCorrelation(benchmark::State& state) {
    if (!view()) return state.SkipWithError("not open");
    for (auto _ : state) {
        state.PauseTiming();
        choose(BarCombo::AnalysisType, 0);
        settle(true);
        state.ResumeTiming();
        timed(state, [] {
            choose(BarCombo::AnalysisType, 1);
            choose(BarCombo::SubAnalysis, 2);
        });
    }
    state.counters["items"] = view()->analysisBar()->combo(BarCombo::FirstChoice)->count();
}
BENCHMARK(BM_SwitchToCrossCorrelation)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Selecting a point in the list while the bar shows the two point lists of 互相关.
void BM_SelectPointInCrossCorrelation(benchmark::State& state) {
    selectRows(state, 9970, false);
}
BENCHMARK(BM_SelectPointInCrossCorrelation)
    ->Iterations(8)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const std::string home = "/tmp/sondara-gui-bench-home";
    std::filesystem::remove_all(
        home);  // settings of an earlier run (the display chosen) start over
    std::filesystem::create_directories(home);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_STATE_HOME", (home + "/state").c_str(), 1);
    setenv("SONDARA_SETTINGS_DIR", (home + "/settings").c_str(), 1);
    QApplication app(argc, argv);
    chooseInterfaceFont();
    RunLog::instance().setPath(home + "/log.txt");
    PaintWatch watch;
    g_watch = &watch;
    app.installEventFilter(&watch);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_app && g_app->document()) g_app->document()->doc().modified = false;
    g_app.reset();
    return 0;
}
