#include "cli/CommandLine.h"

#include <cstdio>
#include <sstream>

namespace sondara::cli {

std::string parseCommandLine(CLI::App& app, const Args& args) {
    app.set_help_flag();  // --help is answered before a command runs
    // CLI11 takes the arguments last first
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const std::string what = e.what();
        return what.empty() ? std::string("bad arguments") : what;
    }
    return {};
}

int usageError(const char* command, const std::string& why, const char* usage) {
    std::fprintf(stderr, "sondara-cli %s: %s\n%s", command, why.c_str(), usage);
    return kExitUsage;
}

namespace {
bool parseNumber(const std::string& s, long& out) {
    if (s.empty() || s.size() > 9) return false;
    long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}
}  // namespace

bool parsePointList(const std::string& text, std::vector<long>& out) {
    std::stringstream ss(text);
    std::string item;
    bool any = false;
    while (std::getline(ss, item, ',')) {
        if (item.empty()) return false;
        const auto dash = item.find('-');
        long a = 0, b = 0;
        if (dash == std::string::npos) {
            if (!parseNumber(item, a)) return false;
            b = a;
        } else if (!parseNumber(item.substr(0, dash), a) ||
                   !parseNumber(item.substr(dash + 1), b)) {
            return false;
        }
        // a project holds at most 9,998 points: a list far longer is a mistake, and
        // "1-999999999" must not fill the memory
        if (a < 1 || b < a || b - a >= kMaxListedPoints - static_cast<long>(out.size()))
            return false;
        for (long i = a; i <= b; ++i) out.push_back(i);
        any = true;
    }
    return any;
}

}  // namespace sondara::cli
