// sondara-cli: batch and scripting front end of the pile integrity analysis program.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/CliCommand.h"

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
                 "       sondara-cli COMMAND --help\n\ncommands:\n");
    for (const auto& [name, c] : commandRegistry())
        std::fprintf(out, "  %-18s %s\n", name.c_str(), c.summary.c_str());
}

int main(int argc, char** argv) {
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
    Args args(argv + 2, argv + argc);
    // Commands without a fixed help text answer --help themselves.
    for (const auto& a : args) {
        if ((a == "--help" || a == "-h") && !it->second.help.empty()) {
            std::fputs(it->second.help.c_str(), stdout);
            if (!it->second.help.empty() && it->second.help.back() != '\n') std::fputc('\n', stdout);
            return kExitOk;
        }
    }
    return it->second.run(args);
}
