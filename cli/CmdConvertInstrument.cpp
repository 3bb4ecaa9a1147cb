// convert-instrument: turns a project folder downloaded from the instrument into a
// "QAR02" data file, as the transfer does after each download.
#include <cstdio>
#include <string>

#include "cli/CliDoc.h"
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

int runConvertInstrument(const Args& argsIn) {
    Args args;
    InstrumentConvertOptions options;
    for (const std::string& a : argsIn) {
        if (a == "--keep")
            options.deleteSources = false;
        else if (a.size() > 1 && a[0] == '-')
            return std::fprintf(stderr, "convert-instrument: unknown option '%s'\n", a.c_str()),
                   kExitUsage;
        else
            args.push_back(a);
    }
    if (args.size() != 2)
        return std::fprintf(stderr,
                            "usage: sondara-cli convert-instrument FOLDER OUT.qar [--keep]\n"),
               kExitUsage;

    CliPrompter prompter(false);
    InstrumentConversion r = ConvertInstrumentFolder(args[0], args[1], prompter, options);
    for (const auto& s : r.skipped)
        std::fprintf(stderr, "%s: point file %d.qar skipped (%s)\n", args[0].c_str(), s.number,
                     reasonText(s.reason));
    for (int n : r.truncated)
        std::fprintf(stderr,
                     "%s: point file %d.qar records more than 1024 samples; the 1024 stored "
                     "were written\n",
                     args[0].c_str(), n);
    if (!r.written) {
        // the "not an instrument project" message was already shown by the prompter
        if (r.error != kMsgNotInstrumentProject)
            std::fprintf(stderr, "convert-instrument: %s\n", r.error.c_str());
        return kExitFile;
    }
    std::printf("%s: %d of %d points written\n", args[1].c_str(), r.convertedPoints,
                r.declaredPoints);
    return kExitOk;
}

CliRegistrar reg{
    {"convert-instrument", "convert a project folder downloaded from the instrument",
     "usage: sondara-cli convert-instrument FOLDER OUT.qar [--keep]\n"
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
