#pragma once
// Registry of sondara-cli commands and of the one-trace operations of `trace`.
// Every command lives in its own file and registers itself with a static
// CliRegistrar, so that subsystems add commands without touching main.
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace sondara::cli {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFile = 2;
// A data file read only partly (its first points): commands that write refuse it
// unless --allow-partial is given.
inline constexpr int kExitPartial = 3;

// Options every command takes (removed from the arguments before the command sees
// them): --allow-partial, --log FILE.
struct GlobalOptions {
    bool allowPartial = false;
    std::string logFile;  // empty: no run log
    std::string command;  // the command running, for the messages
};
GlobalOptions& globalOptions();

using Args = std::vector<std::string>;  // the command's arguments, without its name

struct CliCommand {
    std::string name;
    std::string summary;  // one line for the overview
    std::string help;     // full text printed by `sondara-cli NAME --help`
    std::function<int(const Args&)> run;
};

std::map<std::string, CliCommand>& commandRegistry();

struct CliRegistrar {
    explicit CliRegistrar(CliCommand c) { commandRegistry()[c.name] = std::move(c); }
};

// ---- `trace OP`: one operation over samples read one per line from stdin ----
// The options are the "--name value" pairs given (a bare "--flag" maps to "1"), from
// the names the operation declares; positional arguments after OP are in `positional`.
struct TraceOptions {
    std::map<std::string, std::string> named;
    std::vector<std::string> positional;
    bool has(const std::string& k) const { return named.count(k) != 0; }
    double num(const std::string& k, double def) const;  // throws UsageError on a bad number
    long integer(const std::string& k, long def) const;  // throws UsageError on a bad number
    std::string str(const std::string& k, const std::string& def = {}) const;
};

struct UsageError {
    std::string message;
    int exitCode = kExitUsage;  // kExitFile for input that cannot be read
};

// A trace operation gets the samples and the options and returns the lines to print
// (normally one "%.9g" sample per line); it throws UsageError for bad options.
using TraceOp = std::function<std::vector<std::string>(std::vector<float>& samples,
                                                       const TraceOptions& options)>;
struct TraceOpInfo {
    std::string name;
    std::string help;  // one or more lines describing the options
    TraceOp run;
    bool readsStdin = true;            // false for ops that take their traces from files
    std::vector<std::string> options;  // the --NAME options it takes
    bool takesFiles = false;           // FILE arguments after OP
};
std::map<std::string, TraceOpInfo>& traceOpRegistry();

struct TraceOpRegistrar {
    explicit TraceOpRegistrar(TraceOpInfo i) { traceOpRegistry()[i.name] = std::move(i); }
};

// Helpers for commands.
std::string formatSample(double v);  // "%.9g"
bool readSamplesFile(const std::string& path, std::vector<float>& out, std::string& error);
// One number per line; blank lines and lines starting with '#' are skipped. Anything
// else, or no sample at all, throws UsageError (kExitFile) naming `source` and the line.
std::vector<float> readSamplesStream(std::FILE* f, const std::string& source = "stdin");

}  // namespace sondara::cli
