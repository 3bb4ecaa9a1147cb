// Outputs: the Word report of 200 checked points with one figure each (drawn, encoded
// as BMP, packed into the .docx), the image export of 1,000 checked points as JPEG
// 530 x 145 files, and the Excel table of 1,000 points. Drawing and encoding run on
// all cores.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>

#include "BenchPoint.h"
#include "core/base/FixedText.h"
#include "core/base/TextCodec.h"
#include "core/output/DocxReport.h"
#include "core/output/XlsxReport.h"
#include "render/DisplayRenderer.h"
#include "render/RenderItemToImage.h"

namespace {

using namespace sondara;

// Two checked points to a pile, every seventh with a defect.
TestPoint benchPoint(int index) {
    TestPoint p = bench::decayingSinePoint(index, "P" + std::to_string(index / 2 + 1));
    p.pileDiameter = 600;
    p.waveSpeed = 3800;
    p.toeIndex = 520;
    p.checked = 1;
    if (index % 7 == 3) {
        PileMark m;
        m.kind = 2;
        setText(m.name, utf8ToGbk("缩径"));
        m.position = 300;
        m.depth = 5.7f;
        p.defects.push_back(m);
    }
    return p;
}

CSondaraDoc benchDoc(int n) {
    CSondaraDoc doc;
    for (int i = 0; i < n; ++i) doc.points.push_back(benchPoint(i));
    doc.rebuildCheckedList();
    doc.selectPoint(0);
    return doc;
}

std::string scratch(const char* name) {
    const std::string d =
        (std::filesystem::temp_directory_path() / ("sondara-bench-" + std::string(name))).string();
    std::filesystem::create_directories(d);
    return d + "/";
}

void BM_WordReport200WithFigures(benchmark::State& state) {
    const CSondaraDoc doc = benchDoc(200);
    const std::string templ = FindReportTemplate();
    if (templ.empty()) {
        state.SkipWithError("no report template");
        return;
    }
    const std::string out = scratch("report") + "report.docx";
    for (auto _ : state) {
        const render::DisplayRenderer renderer;
        WaveDisplayModel display(&renderer.metrics());
        display.rebuild(doc);
        WordReportInput in;
        in.texts.produceFigures = true;
        in.figures = render::RenderReportFigures(doc, display);
        std::string error;
        if (!WriteWordReport(doc, in, templ, out, error)) state.SkipWithError(error.c_str());
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(out)) / 1e6;
}
BENCHMARK(BM_WordReport200WithFigures)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImageExport1000Jpeg(benchmark::State& state) {
    const CSondaraDoc doc = benchDoc(1000);
    const std::string folder = scratch("images");
    for (auto _ : state) {
        const render::DisplayRenderer renderer;
        WaveDisplayModel display(&renderer.metrics());
        display.rebuild(doc);
        const auto items = ExportItems(DataSelection::CheckedPoints, doc, display);
        const auto written =
            render::WriteItemImages(doc, display, items, folder, 530, 145, ImageFormat::Jpeg);
        if (written.size() != items.size()) state.SkipWithError("not every file was written");
    }
}
BENCHMARK(BM_ImageExport1000Jpeg)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExcelTable1000(benchmark::State& state) {
    const CSondaraDoc doc = benchDoc(1000);
    const std::string out = scratch("table") + "table.xlsx";
    for (auto _ : state) {
        std::string error;
        if (!WriteExcelReport(doc, out, error)) state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_ExcelTable1000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Drawing needs a Qt GUI application; the offscreen platform serves without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
