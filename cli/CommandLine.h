#pragma once
// The one way commands take their arguments apart: CLI11 options declared by each
// command, parsed here. A usage error comes back as text for the command's usage
// message (exit code kExitUsage); `--help` is answered before a command runs.
#include <CLI/CLI.hpp>
#include <string>

#include "cli/CliCommand.h"

namespace sondara::cli {

// Parses `args` (the command's arguments without its name) with the options declared
// on `app` (CLI::App app{"name"}); "" or what is wrong.
std::string parseCommandLine(CLI::App& app, const Args& args);

// Prints "sondara-cli COMMAND: why" and the command's usage lines on stderr; returns kExitUsage.
int usageError(const char* command, const std::string& why, const char* usage);

// "1,3,5-8": point numbers as the list shows them (1-based), in the given order; at
// most kMaxListedPoints of them.
inline constexpr long kMaxListedPoints = 100000;
bool parsePointList(const std::string& text, std::vector<long>& out);

}  // namespace sondara::cli
