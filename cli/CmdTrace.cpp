// `sondara-cli trace OP ...`: applies one operation to a trace read from stdin.
// The operations themselves register in the files of their subsystem
// (TraceOps*.cpp); this file only parses and dispatches.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/CliCommand.h"
#include "cli/CommandLine.h"

namespace sondara::cli {

double TraceOptions::num(const std::string& k, double def) const {
    auto it = named.find(k);
    if (it == named.end()) return def;
    const char* s = it->second.c_str();
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(s, &end);
    if (end == s || *end != '\0' || errno == ERANGE || !std::isfinite(v))
        throw UsageError{"--" + k + ": not a number: '" + it->second + "'"};
    return v;
}

long TraceOptions::integer(const std::string& k, long def) const {
    auto it = named.find(k);
    if (it == named.end()) return def;
    const char* s = it->second.c_str();
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(s, &end, 10);
    if (end == s || *end != '\0' || errno == ERANGE)
        throw UsageError{"--" + k + ": not a whole number: '" + it->second + "'"};
    return v;
}

std::string TraceOptions::str(const std::string& k, const std::string& def) const {
    auto it = named.find(k);
    return it == named.end() ? def : it->second;
}

std::vector<float> readSamplesStream(std::FILE* f, const std::string& source) {
    // A line that is not one number is refused, never skipped: skipping it would shift
    // every later sample in time, and "1,5" read as far as it goes would be a wrong 1.
    std::vector<float> out;
    std::string line;
    long number = 0;
    auto refuse = [&](const std::string& why) {
        throw UsageError{source + ":" + std::to_string(number) + ": " + why, kExitFile};
    };
    for (int c = 0; c != EOF;) {
        line.clear();
        while ((c = std::fgetc(f)) != EOF && c != '\n') line += static_cast<char>(c);
        if (c == EOF && line.empty()) break;
        ++number;
        std::size_t a = line.find_first_not_of(" \t\r");
        if (a == std::string::npos || line[a] == '#') continue;
        std::size_t b = line.find_last_not_of(" \t\r");
        const std::string text = line.substr(a, b - a + 1);
        char* end = nullptr;
        errno = 0;
        const double v = std::strtod(text.c_str(), &end);
        if (end == text.c_str() || *end != '\0')
            refuse("not one number: '" + text + "' (one sample per line)");
        if (errno == ERANGE || !std::isfinite(v) || std::fabs(v) > 3.4e38)
            refuse("not a finite sample: '" + text + "'");
        out.push_back(static_cast<float>(v));
    }
    if (std::ferror(f)) throw UsageError{source + ": cannot be read", kExitFile};
    if (out.empty()) throw UsageError{source + ": no samples (one number per line)", kExitFile};
    return out;
}

bool readSamplesFile(const std::string& path, std::vector<float>& out, std::string& error) {
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (!f) {
        error = "cannot open '" + path + "': " + std::strerror(errno);
        return false;
    }
    try {
        out = readSamplesStream(f, path);
    } catch (const UsageError& e) {
        std::fclose(f);
        error = e.message;
        return false;
    }
    std::fclose(f);
    return true;
}

namespace {

std::string traceHelp() {
    std::string h =
        "usage: sondara-cli trace OP [--param value ...] < samples > result\n"
        "Reads one sample per line from standard input, applies OP and prints the\n"
        "result one value per line (\"%.9g\"). Point parameters: --dt US (sample\n"
        "interval, default 20), --head H, --toe T, --length M, --speed V.\n"
        "A line that is not one number (blank lines and '#' lines are skipped) is refused\n"
        "with its line number, and so is an input without samples.\n"
        "Exit codes: 0 done, 1 bad arguments or options, 2 the input (or a FILE) cannot be\n"
        "read or holds a line that is not one number.\n\nOPs:\n";
    for (const auto& [name, op] : traceOpRegistry()) {
        h += "  " + name + "\n";
        if (!op.help.empty()) h += "      " + op.help + "\n";
    }
    return h;
}

int runTrace(const Args& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") {
            std::fputs(traceHelp().c_str(), stdout);
            return kExitOk;
        }
    if (args.empty()) {
        std::fputs(traceHelp().c_str(), stderr);
        return kExitUsage;
    }
    auto it = traceOpRegistry().find(args[0]);
    if (it == traceOpRegistry().end()) {
        std::fprintf(stderr, "sondara-cli trace: unknown operation '%s'\n", args[0].c_str());
        return kExitUsage;
    }
    const TraceOpInfo& op = it->second;
    TraceOptions opt;
    CLI::App app{"trace " + op.name};
    // Every option takes one value or none (then it means "1"); negative numbers are
    // values, and the last of repeated options counts.
    std::vector<CLI::Option*> declared;
    for (const std::string& name : op.options)
        declared.push_back(app.add_option("--" + name)
                               ->expected(0, 1)
                               ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast));
    if (op.takesFiles) app.add_option("FILE", opt.positional);
    if (std::string why = parseCommandLine(app, Args(args.begin() + 1, args.end())); !why.empty()) {
        std::fprintf(stderr, "sondara-cli trace %s: %s\n", op.name.c_str(), why.c_str());
        return kExitUsage;
    }
    for (std::size_t i = 0; i < declared.size(); ++i) {
        if (declared[i]->count() == 0) continue;
        const std::vector<std::string>& given = declared[i]->results();
        opt.named[op.options[i]] = given.empty() || given.back().empty() ? "1" : given.back();
    }
    try {
        std::vector<float> samples;
        if (op.readsStdin) samples = readSamplesStream(stdin);
        std::vector<std::string> lines = op.run(samples, opt);
        for (const auto& l : lines) {
            std::fputs(l.c_str(), stdout);
            std::fputc('\n', stdout);
        }
    } catch (const UsageError& e) {
        std::fprintf(stderr, "sondara-cli trace %s: %s\n", args[0].c_str(), e.message.c_str());
        return e.message.rfind("cannot open", 0) == 0 ? kExitFile : e.exitCode;
    }
    return kExitOk;
}

CliRegistrar reg{
    {"trace", "apply one processing or analysis operation to a trace on stdin", "", runTrace}};

}  // namespace

}  // namespace sondara::cli
