// `sondara-cli excel FILE -o OUT.xlsx`: the table of the checked points (生成报表).
#include <cstdio>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "cli/OutputArgs.h"
#include "core/output/ReportTable.h"
#include "core/output/XlsxReport.h"

namespace sondara::cli {
namespace {

const char* kUsage = "usage: sondara-cli excel FILE -o OUT.xlsx [--points all|none|LIST]\n";

int usage(const std::string& why) {
    return usageError("excel", why, kUsage);
}

int runExcel(const Args& args) {
    std::string file, out, check;
    CLI::App app{"excel"};
    app.add_option("FILE", file)->required();
    app.add_option("-o,--output", out)->required();
    app.add_option("--points,--check", check);
    if (std::string why = parseCommandLine(app, args); !why.empty()) return usage(why);
    if (int rc = checkOutputs({out})) return rc;
    CSondaraDoc doc;
    if (int rc = loadProject(doc, file, LoadFor::Writing); rc != kExitOk) return rc;
    if (!check.empty())
        if (std::string why = applyCheckOption(doc, check); !why.empty()) return usage(why);
    if (doc.checkedList.empty()) {
        printError(kNoPointsForTable);
        return kExitUsage;
    }
    std::string error;
    if (!WriteExcelReport(doc, out, error)) {
        printError(error);
        return kExitFile;
    }
    return kExitOk;
}

const CliRegistrar kRegistrar{CliCommand{
    "excel", "write the table of the checked points as a .xlsx workbook (生成报表)",
    std::string(
        "sondara-cli excel FILE -o OUT.xlsx\n"
        "Writes the sheet \"报表1\": 桩号, 设计桩径(mm), 桩长(m), 声速(m/s), 桩身质量评价 and\n"
        "缺陷位置及类型 of every checked point, as texts. --points (or --check) checks points "
        "first\n"
        "(the file is not changed).\n") +
        kUsage +
        "Exit codes: 0 ok, 1 bad arguments or no checked point, 2 a file cannot be read or\n"
        "written (a read-only OUT is not replaced), 3 FILE read only partly and nothing\n"
        "written (see --allow-partial).\n",
    runExcel}};

}  // namespace
}  // namespace sondara::cli
