// convert-instrument: turns a project folder downloaded from the instrument into a
// "QAR02" data file, as the transfer does after each download.
#include <cstdio>
#include <string>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "core/fileio/InstrumentProject.h"

namespace sondara::cli {
namespace {

const char* reasonText(InstrumentConversion::SkipReason r) {
    switch (r) {
        case InstrumentConversion::SkipReason::Missing:
            return "missing";
        case InstrumentConversion::SkipReason::Short:
            return "too short";
        case InstrumentConversion::SkipReason::NoSamples:
            return "no recorded samples";
    }
    return "";
}

const char* kUsage = "usage: sondara-cli convert-instrument FOLDER OUT.qar [--keep]\n";

int runConvertInstrument(const Args& args) {
    std::string folder, out;
    bool keep = false;
    CLI::App app{"convert-instrument"};
    app.add_option("FOLDER", folder)->required();
    app.add_option("OUT.qar", out)->required();
    app.add_flag("--keep", keep);
    if (std::string why = parseCommandLine(app, args); !why.empty())
        return usageError("convert-instrument", why, kUsage);
    InstrumentConvertOptions options;
    options.deleteSources = !keep;

    CliPrompter prompter(false);
    InstrumentConversion r = ConvertInstrumentFolder(folder, out, prompter, options);
    for (const auto& s : r.skipped)
        printError(folder + ": point file " + std::to_string(s.number) + ".qar skipped (" +
                   reasonText(s.reason) + ")");
    for (int n : r.truncated)
        printError(folder + ": point file " + std::to_string(n) +
                   ".qar records more than 1024 samples; the 1024 stored were written");
    if (!r.written) {
        // the "not an instrument project" message was already shown by the prompter
        if (r.error != kMsgNotInstrumentProject) printError(r.error);
        return kExitFile;
    }
    std::printf("%s: %d of %d points written\n", out.c_str(), r.convertedPoints, r.declaredPoints);
    return kExitOk;
}

CliRegistrar reg{
    {"convert-instrument", "convert a project folder downloaded from the instrument",
     std::string(kUsage) +
         "Reads \"qar.par\" and the point files 1.qar, 2.qar, ... of FOLDER and writes OUT.qar\n"
         "as a \"QAR02\" data file (open it or run `convert` to get \"QAR16\"). Missing, short\n"
         "or empty point files are skipped and reported on stderr. Once OUT.qar is written,\n"
         "\"qar.par\", \"pindex.par\" and the converted point files are deleted from FOLDER,\n"
         "as the transfer does; --keep deletes nothing.\n"
         "Exit codes: 0 written, 1 usage, 2 not an instrument project, no convertible\n"
         "point or OUT cannot be written.",
     runConvertInstrument}};

}  // namespace
}  // namespace sondara::cli
