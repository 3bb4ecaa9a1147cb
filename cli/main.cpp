// sondara-cli: batch and scripting front end of the pile integrity analysis program.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/CliCommand.h"
#include "core/app/ProgramVersion.h"
#include "core/app/RunLog.h"
#ifdef SONDARA_HAVE_RENDER
#include "render/CoreTranslation.h"
#endif

namespace sondara::cli {

std::map<std::string, CliCommand>& commandRegistry() {
    static std::map<std::string, CliCommand> registry;
    return registry;
}

std::map<std::string, TraceOpInfo>& traceOpRegistry() {
    static std::map<std::string, TraceOpInfo> registry;
    return registry;
}

std::string formatSample(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    return buf;
}

}  // namespace sondara::cli

using namespace sondara::cli;

static void printOverview(std::FILE* out) {
    std::fprintf(out,
                 "用法 / usage: sondara-cli COMMAND [ARGS...]\n"
                 "       sondara-cli COMMAND --help\n"
                 "       sondara-cli --version\n\ncommands:\n");
    for (const auto& [name, c] : commandRegistry())
        std::fprintf(out, "  %-18s %s\n", name.c_str(), c.summary.c_str());
    std::fprintf(
        out,
        "\noptions of every command:\n"
        "--allow-partial      write a project even when its data file read only partly\n"
        "--log FILE           append the run log to FILE (no run log otherwise)\n"
        "\npoints are chosen by --points LIST (1-based: 1,3,5-8; all; none), or --points N\n"
        "where one point is meant; the older --point, --check and --checked are the same\n"
        "\nexit status:\n"
        "0 done, 1 usage error, 2 file unreadable or not written,\n"
        "3 data file read only partly and nothing written (see --allow-partial)\n");
}

// Takes the options every command accepts out of the arguments.
static bool takeGlobalOptions(Args& args) {
    GlobalOptions& o = globalOptions();
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] == "--allow-partial") {
            o.allowPartial = true;
            args.erase(args.begin() + static_cast<long>(i));
        } else if (args[i] == "--log") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                std::fprintf(stderr, "sondara-cli: --log needs a FILE\n");
                return false;
            }
            o.logFile = args[i + 1];
            args.erase(args.begin() + static_cast<long>(i),
                       args.begin() + static_cast<long>(i) + 2);
        } else {
            ++i;
        }
    }
    return true;
}

int main(int argc, char** argv) {
    // The command line keeps no run log unless asked: scripts and builds must not
    // write into the desktop program's log in the user's home.
    sondara::RunLog::chooseProcessLog({});
#ifdef SONDARA_HAVE_RENDER
    // SONDARA_LANGUAGE=en: what the panes and grids show is English, as in the window
    if (sondara::render::EnglishAskedByEnvironment())
        sondara::render::TranslateCoreTextsToEnglish();
#endif
    if (argc >= 2 && (!std::strcmp(argv[1], "--version") || !std::strcmp(argv[1], "-V"))) {
        std::printf("%s\n", sondara::versionText().c_str());
        return kExitOk;
    }
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") ||
        !std::strcmp(argv[1], "help")) {
        printOverview(argc < 2 ? stderr : stdout);
        return argc < 2 ? kExitUsage : kExitOk;
    }
    auto it = commandRegistry().find(argv[1]);
    if (it == commandRegistry().end()) {
        std::fprintf(stderr, "sondara-cli: unknown command '%s'\n", argv[1]);
        printOverview(stderr);
        return kExitUsage;
    }
    globalOptions().command = it->first;
    Args args(argv + 2, argv + argc);
    if (!takeGlobalOptions(args)) return kExitUsage;
    if (!globalOptions().logFile.empty())
        sondara::RunLog::chooseProcessLog(globalOptions().logFile);
    // Commands without a fixed help text answer --help themselves.
    for (const auto& a : args) {
        if ((a == "--help" || a == "-h") && !it->second.help.empty()) {
            std::fputs(it->second.help.c_str(), stdout);
            if (!it->second.help.empty() && it->second.help.back() != '\n')
                std::fputc('\n', stdout);
            return kExitOk;
        }
    }
    return it->second.run(args);
}
