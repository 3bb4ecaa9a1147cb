// `sondara-cli excel FILE -o OUT.xlsx`: the table of the checked points (生成报表).
#include <cstdio>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "cli/OutputArgs.h"
#include "core/output/ReportTable.h"
#include "core/output/XlsxReport.h"

namespace sondara::cli {
namespace {

const char* kUsage = "usage: sondara-cli excel FILE -o OUT.xlsx [--check all|N,M,...]\n";

int usage(const std::string& why) {
    return usageError("excel", why, kUsage);
}

int runExcel(const Args& args) {
    std::string file, out, check;
    CLI::App app{"excel"};
    app.add_option("FILE", file)->required();
    app.add_option("-o,--output", out)->required();
    app.add_option("--check", check);
    if (std::string why = parseCommandLine(app, args); !why.empty()) return usage(why);
    CSondaraDoc doc;
    if (int rc = loadProject(doc, file); rc != kExitOk) return rc;
    if (!check.empty())
        if (std::string why = applyCheckOption(doc, check); !why.empty()) return usage(why);
    if (doc.checkedList.empty()) {
        std::fprintf(stderr, "%s\n", kNoPointsForTable);
        return kExitUsage;
    }
    std::string error;
    if (!WriteExcelReport(doc, out, error)) {
        std::fprintf(stderr, "excel: %s\n", error.c_str());
        return kExitFile;
    }
    return kExitOk;
}

const CliRegistrar kRegistrar{CliCommand{
    "excel", "write the table of the checked points as a .xlsx workbook (生成报表)",
    std::string(
        "sondara-cli excel FILE -o OUT.xlsx\n"
        "Writes the sheet \"报表1\": 桩号, 设计桩径(mm), 桩长(m), 声速(m/s), 桩身质量评价 and\n"
        "缺陷位置及类型 of every checked point, as texts. --check checks points first\n"
        "(the file is not changed).\n") +
        kUsage +
        "Exit codes: 0 ok, 1 bad arguments or no checked point, 2 a file cannot be read or "
        "written.\n",
    runExcel}};

}  // namespace
}  // namespace sondara::cli
