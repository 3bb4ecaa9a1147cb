// `sondara-cli result-file FILE OUT.rpc`: writes the result file of a project.
#include <cstdio>
#include <string>

#include "cli/CliDoc.h"
#include "core/fileio/ResultFile.h"

namespace sondara::cli {
namespace {

int runResultFile(const Args& args) {
    if (args.size() != 2)
        return std::fprintf(stderr, "usage: sondara-cli result-file FILE OUT.rpc\n"), kExitUsage;
    CSondaraDoc doc;
    if (int rc = loadProject(doc, args[0])) return rc;
    std::string error;
    if (!WriteResultFile(doc, args[1], &error)) {
        std::fprintf(stderr, "%s：%s: %s\n", kMsgResultFailed, args[1].c_str(), error.c_str());
        return kExitFile;
    }
    std::fprintf(stderr, "%s\n", kMsgResultSaved);
    return kExitOk;
}

CliRegistrar reg{{"result-file", "write the result file (.rpc) of a data file",
                  "usage: sondara-cli result-file FILE OUT.rpc\n"
                  "Writes the result file of FILE: one record per pile (the parameters of its\n"
                  "first point) with the defects of every point. OUT is replaced only when it\n"
                  "was written completely.",
                  runResultFile}};

}  // namespace
}  // namespace sondara::cli
