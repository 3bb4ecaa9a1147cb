// `sondara-cli report FILE -o OUT.docx`: the Word report of the checked points
// (生成报告) from the shipped template, with the project information of a JSON file.
#include <cstdio>
#include <ctime>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "cli/OutputArgs.h"
#include "core/base/ByteIo.h"
#include "core/output/DocxReport.h"
#include "core/output/ReportInfoJson.h"
#include "core/output/ReportTable.h"

#ifdef SONDARA_HAVE_RENDER
#include <QGuiApplication>

#include "render/DisplayRenderer.h"
#include "render/RenderItemToImage.h"
#endif

namespace sondara::cli {
namespace {

const char* kUsage =
    "usage: sondara-cli report FILE -o OUT.docx [--info INFO.json] [--no-figures]\n"
    "         [--points all|none|LIST] [--template T.docx]\n";

int usage(const std::string& why) {
    return usageError("report", why, kUsage);
}

bool readText(const std::string& path, std::string& out) {
    std::string error;
    auto src = openFileSource(path, &error);
    if (!src || src->size() > (8u << 20)) return false;
    out.resize(static_cast<size_t>(src->size()));
    return src->read(out.data(), out.size()) == out.size();
}

int runReport(const Args& args) {
    std::string file, out, infoPath, check, templ;
    bool noFigures = false;
    CLI::App app{"report"};
    app.add_option("FILE", file)->required();
    app.add_option("-o,--output", out)->required();
    app.add_option("--info", infoPath);
    app.add_option("--points,--check", check);
    app.add_option("--template", templ);
    app.add_flag("--no-figures", noFigures);
    if (std::string why = parseCommandLine(app, args); !why.empty()) return usage(why);

    if (int rc = checkOutputs({out})) return rc;
    CSondaraDoc doc;
    if (int rc = loadProject(doc, file, LoadFor::Writing); rc != kExitOk) return rc;
    if (!check.empty())
        if (std::string why = applyCheckOption(doc, check); !why.empty()) return usage(why);
    if (doc.pointCount() == 0) return kExitOk;
    if (doc.checkedList.empty()) {
        printError(kNoPointsForReport);
        return kExitUsage;
    }
    ReportInfo info;
    ApplyProjectValues(doc, info);
    if (!infoPath.empty()) {
        std::string text, error;
        if (!readText(infoPath, text)) {
            printError("cannot read " + infoPath);
            return kExitFile;
        }
        if (!ApplyReportInfoJson(text, info, error)) {
            printError(infoPath + ": " + error);
            return kExitUsage;
        }
    }
    if (noFigures) info.produceFigures = false;

    WordReportInput in;
    in.texts = MakeReportTexts(info);
    in.today = TodayLocal();
#ifdef SONDARA_HAVE_RENDER
    std::unique_ptr<QGuiApplication> guiApp;
    if (info.produceFigures) {
        guiApp = makeOutputGuiApplication();
        const render::DisplayRenderer renderer;
        WaveDisplayModel display(&renderer.metrics());
        in.figures = render::RenderReportFigures(doc, display);
    }
#endif
    if (templ.empty()) templ = FindReportTemplate();
    std::string error;
    if (!WriteWordReport(doc, in, templ, out, error)) {
        printError(error);
        return kExitFile;
    }
    return kExitOk;
}

const CliRegistrar kRegistrar{CliCommand{
    "report", "write the Word report of the checked points as a .docx (生成报告)",
    std::string(
        "sondara-cli report FILE -o OUT.docx [options]\n"
        "Fills the report template that ships with the program: cover, project overview,\n"
        "the result table of the checked points with their evaluation from the defects,\n"
        "the summary per class, the closing block and, unless --no-figures, one figure\n"
        "per checked point. The project name and testing unit come from FILE; every field\n"
        "of the 工程信息 dialog can be given in INFO.json by its Chinese name, e.g.\n"
        "  {\"报告编号\": \"JC-2026-017\", \"工程名称\": \"滨江花园二期\", \"工程地址\": \"...\",\n"
        "   \"建设单位\": \"...\", \"设计单位\": \"...\", \"施工单位\": \"...\", \"监理单位\": "
        "\"...\",\n"
        "   \"监督单位\": \"...\", \"委托单位\": \"...\", \"强度等级\": \"C30\",\n"
        "   \"浇筑日期\": \"2026-03-09\", \"桩基类型\": \"钻孔灌注桩\", \"桩径\": 600,\n"
        "   \"总桩数\": 120, \"检测日期\": \"2026-04-21\", \"检测单位\": \"...\",\n"
        "   \"检测人员\": \"...\", \"地质概况\": \"...\", \"生成附图\": true}\n") +
        kUsage +
        "  --points      check these points first, e.g. 1,3,5-8 (the file is not changed;\n"
        "                --check is the same)\n"
        "  --template    another template with the same named places\n"
        "Exit codes: 0 ok, 1 bad arguments or no checked point, 2 a file cannot be read or\n"
        "written (a read-only OUT is not replaced), 3 FILE read only partly and nothing\n"
        "written (see --allow-partial).\n",
    runReport}};

}  // namespace
}  // namespace sondara::cli
