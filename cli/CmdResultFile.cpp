// `sondara-cli result-file FILE OUT.rpc`: writes the result file of a project.
#include <cstdio>
#include <string>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "core/fileio/ResultFile.h"

namespace sondara::cli {
namespace {

const char* kUsage = "usage: sondara-cli result-file FILE OUT.rpc\n";

int runResultFile(const Args& args) {
    std::string file, out;
    CLI::App app{"result-file"};
    app.add_option("FILE", file)->required();
    app.add_option("OUT.rpc", out)->required();
    if (std::string why = parseCommandLine(app, args); !why.empty())
        return usageError("result-file", why, kUsage);
    if (int rc = checkOutputs({out})) return rc;
    CSondaraDoc doc;
    if (int rc = loadProject(doc, file, LoadFor::Writing)) return rc;
    std::string error;
    if (!WriteResultFile(doc, out, &error)) {
        printError(std::string(kMsgResultFailed) + "：" + error);
        return kExitFile;
    }
    std::fprintf(stderr, "%s\n", kMsgResultSaved);
    return kExitOk;
}

CliRegistrar reg{{"result-file", "write the result file (.rpc) of a data file",
                  std::string(kUsage) +
                      "Writes the result file of FILE: one record per pile (the parameters of its\n"
                      "first point) with the defects of every point. OUT is replaced only when it\n"
                      "was written completely; a read-only OUT is refused.\n"
                      "Exit codes: 0 done, 1 bad arguments, 2 a file cannot be read or written,\n"
                      "3 FILE read only partly and nothing written (see --allow-partial).",
                  runResultFile}};

}  // namespace
}  // namespace sondara::cli
