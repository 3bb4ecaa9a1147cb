// `sondara-cli import FILE... -o OUT.qar`: traces from other instruments' text files
// (or the waveform text export) as a new project.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "core/fileio/TraceImport.h"

namespace sondara::cli {
namespace {

const char* kUsage =
    "usage: sondara-cli import FILE... -o OUT.qar [--dt US] [--sensor velocity|acceleration]\n"
    "       [--length M] [--speed M/S]\n";

int runImport(const Args& args) {
    std::vector<std::string> files;
    std::string out;
    TraceImportOptions options;
    CLI::App app{"import"};
    app.add_option("FILE", files);
    app.add_option("-o,--output", out);
    auto* dt = app.add_option("--dt", options.intervalUs);
    app.add_option("--sensor", options.sensorType)
        ->transform(CLI::CheckedTransformer(
            std::map<std::string, int>{{"acceleration", 0}, {"velocity", 1}}));
    app.add_option("--length", options.pileLength)->check(CLI::PositiveNumber);
    app.add_option("--speed", options.waveSpeed)->check(CLI::Range(1.0, 32767.0));
    if (std::string why = parseCommandLine(app, args); !why.empty())
        return usageError("import", why, kUsage);
    if (files.empty()) return usageError("import", "FILE expected", kUsage);
    if (out.empty()) return usageError("import", "-o OUT.qar expected", kUsage);
    if (dt->count() > 0 && !plausibleSampleInterval(options.intervalUs))
        return usageError("import", implausibleIntervalMessage(options.intervalUs), kUsage);

    CSondaraDoc doc;
    std::string message = ImportTraceFiles(doc, files, options);
    if (!message.empty()) {
        std::fprintf(stderr, "import: %s\n", message.c_str());
        return kExitFile;
    }
    if (int rc = saveProject(doc, out)) return rc;
    std::printf("%d\n", doc.pointCount());
    return kExitOk;
}

CliRegistrar reg{
    {"import", "make a project of traces from text files (CSV, tab, blanks, export-text)",
     "usage: sondara-cli import FILE... -o OUT.qar [--dt US] [--sensor velocity|acceleration]\n"
     "                             [--length M] [--speed M/S]\n"
     "Reads traces from text files and writes them as the points of a new project; prints\n"
     "the number of points.\n"
     "Files read:\n"
     "  - the waveform text export (export-text), with or without its header and time\n"
     "    column, any separator and source: pile numbers, data lengths, intervals (from\n"
     "    the times) and samples. Without header and times the points of one export\n"
     "    cannot be told apart: the line is one trace;\n"
     "  - delimited text (comma, semicolon, tab or blanks; UTF-8 or GBK): key: value\n"
     "    lines above the table (sample interval, sample rate, pile, pile length, wave\n"
     "    speed, sensor, and their Chinese names; other keys are passed over); an optional\n"
     "    header row names the columns, an optional units row may follow it; a first\n"
     "    column named time, t or 时间 with a unit in its name (time_ms, t(s), 时间/us)\n"
     "    or in the units row gives the sample interval; every other column is one\n"
     "    trace, named by its header (else 1, 2, ...). A column may end before the others\n"
     "    (a shorter trace); a trailing separator is allowed; a single row of numbers is\n"
     "    one trace. Lines starting with # are skipped. Decimal commas are refused;\n"
     "    anything else is refused naming its line and column.\n"
     "  -o OUT.qar   the project written (replaced only when everything was read)\n"
     "  --dt US      sample interval in microseconds when a file does not give it\n"
     "               (0.1 to 10000, as instruments record; a file's own interval outside\n"
     "               that range is refused too)\n"
     "  --sensor     velocity or acceleration (default: acceleration, as a new point)\n"
     "  --length M   pile length; --speed M/S wave speed; with both the toe is placed\n"
     "What a file gives wins over the options. Fields nobody gives stay unset (pile type\n"
     "unknown, diameter 0). The head is placed at the first sample above the noise. At\n"
     "most 8192 samples per trace and 9998 points.\n"
     "Exit codes: 0 done, 1 bad options, 2 a file cannot be read or imported (nothing\n"
     "written) or OUT.qar cannot be written.",
     runImport}};

}  // namespace
}  // namespace sondara::cli
