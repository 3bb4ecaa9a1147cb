// `sondara-cli history FILE [display options] [--json]`: prints the processing history
// list that the desktop's 处理过程 panel shows for the target points of that display:
// the merged entries in chain order ("<不一致>" where the targets differ) and the detail
// text of every entry, so that the panel's content can be checked without a window.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliDoc.h"
#include "cli/DisplayArgs.h"
#include "cli/JsonWriter.h"
#include "core/display/WaveDisplayModel.h"
#include "core/processing/ProcessingHistory.h"

namespace sondara::cli {
namespace {

const char* kUsage =
    "usage: sondara-cli history FILE [--domain integrity|time|frequency|wavelet]\n"
    "         [--set single|multi|pile|checked|all|train] [--sub K] [--first N] [--second M]\n"
    "         [--point N] [--active K] [--scope current|all] [--traces N]\n"
    "         [--width W] [--height H] [--json]\n";

int usage(const std::string& why) {
    return usageError("history", why, kUsage);
}

// The detail text's lines (CR LF separated), without the empty line a trailing break
// leaves.
std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t from = 0;
    while (from < text.size()) {
        size_t to = text.find("\r\n", from);
        if (to == std::string::npos) to = text.size();
        out.push_back(text.substr(from, to - from));
        from = to + 2;
    }
    return out;
}

int runHistory(const Args& args) {
    DisplayArgs d;
    if (std::string why = parseDisplayArgs(args, d, DisplayCommandLine::Display); !why.empty())
        return usage(why);
    if (!d.out.empty() || !d.commands.empty() || d.haveCursor)
        return usage("history only reads: -o, --command and --cursor belong to `display`");
    CSondaraDoc doc;
    if (int rc = loadProject(doc, d.file); rc != kExitOk) return rc;
    WaveDisplayModel model;
    if (std::string why = setUpDisplay(doc, model, d); !why.empty()) return usage(why);

    ProcessingHistory history;
    if (model.paneCount() > 0) history.rebuild(doc, model.processingTargets());

    if (d.json) {
        JsonWriter j;
        j.beginObject();
        j.key("targets").beginArray();
        for (int t : history.targets()) j.value(t);
        j.endArray();
        j.key("entries").beginArray();
        for (int i = 0; i < history.size(); ++i) {
            j.beginObject()
                .field("index", i)
                .field("kind", history.merged()[static_cast<size_t>(i)].kind)
                .field("name", history.name(i))
                .field("details", history.details(i))
                .endObject();
        }
        j.endArray();
        j.endObject();
        std::printf("%s\n", j.str().c_str());
        return kExitOk;
    }
    std::printf("targets:");
    if (!history.hasTargets()) std::printf(" none");
    for (int t : history.targets()) std::printf(" %d", t + 1);
    std::printf("\n");
    for (int i = 0; i < history.size(); ++i) {
        std::printf("%d %s\n", i + 1, history.name(i).c_str());
        for (const std::string& l : lines(history.details(i))) std::printf("    %s\n", l.c_str());
    }
    return kExitOk;
}

const CliRegistrar kRegistrar{CliCommand{
    "history", "print the processing history list of the target points of a display",
    std::string(kUsage) +
        "Builds the display as `display` does (same options) and prints the processing\n"
        "history panel's list for its processing target points: the targets (point\n"
        "numbers as the list shows them), then one line per step of the longest chain,\n"
        "\"<不一致>\" where the targets' steps differ, each followed by its detail lines.\n"
        "--json prints {targets (0-based), entries [{index, kind, name, details}]} with the\n"
        "detail text as the panel shows it (lines joined by CR LF).\n"
        "Exit codes: 0 printed, 1 bad arguments, 2 file error.\n",
    runHistory}};

}  // namespace
}  // namespace sondara::cli
