// `sondara-cli export-text FILE OUT.txt [options]`: the waveform text export.
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "core/fileio/TextExport.h"

namespace sondara::cli {
namespace {

const char* kUsage =
    "usage: sondara-cli export-text FILE OUT.txt [--source current|checked|all]\n"
    "       [--points N] [--header 0|1] [--time 0|1] [--separator S]\n";

int usage(const std::string& why) {
    return usageError("export-text", why, kUsage);
}

int runExportText(const Args& args) {
    std::vector<std::string> positional;
    TextExportForm form = formOf(defaultTextExportSettings());
    long point = 0;
    CLI::App app{"export-text"};
    app.add_option("FILE OUT.txt", positional);
    auto* source = app.add_option("--source", form.source)
                       ->transform(CLI::CheckedTransformer(
                           std::map<std::string, int>{{"current", 0}, {"checked", 1}, {"all", 2}}));
    app.add_option("--point,--points", point)->check(CLI::Range(1L, 999999999L));
    app.add_option("--header", form.header)->check(CLI::IsMember({"0", "1"}));
    app.add_option("--time", form.timeColumn)->check(CLI::IsMember({"0", "1"}));
    app.add_option("--separator", form.separator);
    if (std::string why = parseCommandLine(app, args); !why.empty()) return usage(why);
    const bool sourceGiven = source->count() > 0;
    if (positional.size() != 2) return usage("FILE and OUT.txt expected");
    if (point > 0 && !sourceGiven) form.source = 0;
    std::error_code ec;
    std::filesystem::path out = std::filesystem::absolute(positional[1], ec);
    form.path = ec ? positional[1] : out.lexically_normal().string();

    TextExportSettings settings;
    std::string message = validateTextExportForm(form, settings);
    if (!message.empty()) return printError(message), kExitUsage;

    if (int rc = checkOutputs({form.path})) return rc;
    CSondaraDoc doc;
    if (int rc = loadProject(doc, positional[0], LoadFor::Writing)) return rc;
    if (point > 0) {
        if (point > doc.pointCount())
            return printError("point " + std::to_string(point) + " does not exist (" +
                              std::to_string(doc.pointCount()) + " points)"),
                   kExitUsage;
        doc.selectPoint(static_cast<int>(point - 1));
    }
    message = ExportWaveText(doc, settings);
    if (!message.empty()) {
        printError(message);
        return message == kMsgBadExportPath ? kExitFile : kExitUsage;
    }
    return kExitOk;
}

CliRegistrar reg{
    {"export-text", "export the processed samples of points as text",
     "usage: sondara-cli export-text FILE OUT.txt [--source current|checked|all] [--points N]\n"
     "                             [--header 0|1] [--time 0|1] [--separator S]\n"
     "Writes the processed samples (\"%0.2f\", each followed by the separator) of the current\n"
     "point, the checked points or all points to OUT.txt (GBK text).\n"
     "  --source     current, checked (default) or all\n"
     "  --points N   the current point, 1-based as 序号 (default 1); implies --source current\n"
     "               (--point N is the same)\n"
     "               when --source is not given\n"
     "  --header     1 (default): 测点数 line, and 测点桩号/数据长度 lines per point\n"
     "  --time       1: each sample is preceded by its time in us (default 0)\n"
     "  --separator  text after every value (default a single blank; must not contain %)\n"
     "Exit codes: 0 done, 1 bad options or no point to export, 2 a file cannot be read or\n"
     "written (a read-only OUT.txt is not replaced), 3 FILE read only partly and nothing\n"
     "written (see --allow-partial). The dialog's remembered settings (MirSetOutT.dat) are neither "
     "read nor written.",
     runExportText}};

}  // namespace
}  // namespace sondara::cli
