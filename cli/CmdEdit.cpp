// `sondara-cli edit FILE -o OUT OP...`: point-list edits through the same commands
// and engine as the menus, so that undo and redo can be scripted.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "core/model/ListCommands.h"

namespace sondara::cli {
namespace {

enum class Target { None, Point, Pile, Index };

struct OpSpec {
    const char* name;
    Target target;
};

// Ops taking no number, a point number, a pile number, or a point number that is
// not selected (ticks).
const OpSpec kOps[] = {
    {"sort-asc", Target::None},
    {"sort-desc", Target::None},
    {"tick-all", Target::None},
    {"untick-all", Target::None},
    {"invert-ticks", Target::None},
    {"undo", Target::None},
    {"redo", Target::None},
    {"restore", Target::None},
    {"tick", Target::Index},
    {"untick", Target::Index},
    {"delete-point", Target::Point},
    {"delete-pile", Target::Pile},
    {"move-up", Target::Point},
    {"move-down", Target::Point},
    {"move-pile-up", Target::Pile},
    {"move-pile-down", Target::Pile},
    {"copy-point", Target::Point},
    {"copy-pile", Target::Pile},
    {"copy-result-point", Target::Point},
    {"copy-result-pile", Target::Pile},
    {"cut-point", Target::Point},
    {"cut-pile", Target::Pile},
    {"paste-point", Target::Point},
    {"paste-pile", Target::Pile},
    {"insert-point", Target::Point},
    {"insert-pile", Target::Pile},
    {"append-point", Target::Point},
    {"append-pile", Target::Pile},
};

struct Step {
    const OpSpec* spec = nullptr;
    long number = 0;  // 1-based
    std::string text() const {
        return spec->target == Target::None
                   ? spec->name
                   : std::string(spec->name) + " " + std::to_string(number);
    }
};

const OpSpec* findOp(const std::string& name) {
    for (const OpSpec& o : kOps)
        if (name == o.name) return &o;
    return nullptr;
}

bool startsWith(const char* s, const char* prefix) {
    return std::string_view(s).starts_with(prefix);
}

// Runs one step; returns whether the list changed, or sets `error`.
bool runStep(CSondaraDoc& doc, MemoryClipboard& clipboard, const Step& st, std::string& error) {
    const std::string name = st.spec->name;
    const int n = static_cast<int>(st.number);
    switch (st.spec->target) {
        case Target::Point:
        case Target::Index:
            // appending into an emptied list needs no point
            if (n < 1 || n > doc.pointCount()) {
                if (startsWith(st.spec->name, "append-") && doc.points.empty()) {
                    doc.selectPoint(-1);
                    break;
                }
                error = "point " + std::to_string(st.number) + " does not exist (" +
                        std::to_string(doc.pointCount()) + " points)";
                return false;
            }
            if (st.spec->target == Target::Point) doc.selectPoint(n - 1);
            break;
        case Target::Pile:
            if (n < 1 || n > doc.pileCount()) {
                if (startsWith(st.spec->name, "append-") && doc.points.empty()) {
                    doc.selectPoint(-1);
                    break;
                }
                error = "pile " + std::to_string(st.number) + " does not exist (" +
                        std::to_string(doc.pileCount()) + " piles)";
                return false;
            }
            doc.selectPile(n - 1);
            break;
        case Target::None:
            break;
    }
    if (name == "sort-asc") return SortList(doc, true);
    if (name == "sort-desc") return SortList(doc, false);
    if (name == "tick-all") return SetAllTicks(doc, kOpTickAll);
    if (name == "untick-all") return SetAllTicks(doc, kOpUntickAll);
    if (name == "invert-ticks") return SetAllTicks(doc, kOpInvertTicks);
    if (name == "undo") return Undo(doc);
    if (name == "redo") return Redo(doc);
    if (name == "restore") {
        CliPrompter yes(true);  // asked for explicitly
        return Restore(doc, yes);
    }
    if (name == "tick") return SetPointTick(doc, n - 1, true);
    if (name == "untick") return SetPointTick(doc, n - 1, false);
    if (startsWith(st.spec->name, "delete-")) return DeleteSelection(doc);
    if (name == "move-up" || name == "move-pile-up") return MoveSelection(doc, true);
    if (name == "move-down" || name == "move-pile-down") return MoveSelection(doc, false);
    if (startsWith(st.spec->name, "copy-result-")) return CopyResult(doc, clipboard);
    if (startsWith(st.spec->name, "copy-")) return CopySelection(doc, clipboard);
    if (startsWith(st.spec->name, "cut-")) return CutSelection(doc, clipboard);
    if (startsWith(st.spec->name, "paste-")) return PasteFromClipboard(doc, clipboard);
    if (startsWith(st.spec->name, "insert-")) return InsertFromClipboard(doc, clipboard);
    if (startsWith(st.spec->name, "append-")) return AppendFromClipboard(doc, clipboard);
    return false;
}

const char* kUsage = "usage: sondara-cli edit FILE -o OUT OP...\n";

int usage(const std::string& why) {
    return usageError("edit", why, kUsage);
}

// The operations in order, each with the number its target takes.
std::string parseSteps(const std::vector<std::string>& words, std::vector<Step>& steps) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& a = words[i];
        const OpSpec* spec = findOp(a);
        if (!spec) return "unknown operation '" + a + "'";
        Step st{spec, 0};
        if (spec->target != Target::None) {
            if (i + 1 >= words.size()) return a + " needs a number";
            const std::string& v = words[++i];
            char* end = nullptr;
            errno = 0;
            st.number = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || errno != 0 || st.number < 1)
                return a + ": not a number from 1: '" + v + "'";
        }
        steps.push_back(st);
    }
    return steps.empty() ? "no operation given" : "";
}

int runEdit(const Args& args) {
    std::string in, out;
    std::vector<std::string> words;  // FILE, then the operations with their numbers
    CLI::App app{"edit"};
    app.add_option("-o,--output", out)->required();
    app.add_option("FILE OP...", words)->required();
    if (std::string why = parseCommandLine(app, args); !why.empty()) return usage(why);
    in = words.front();
    words.erase(words.begin());
    std::vector<Step> steps;
    if (std::string why = parseSteps(words, steps); !why.empty()) return usage(why);

    CSondaraDoc doc;
    if (int rc = loadProject(doc, in, LoadFor::Writing)) return rc;
    MemoryClipboard clipboard;
    for (const Step& st : steps) {
        std::string error;
        bool changed = runStep(doc, clipboard, st, error);
        if (!error.empty()) return printError(st.text() + ": " + error), kExitUsage;
        bool copied = startsWith(st.spec->name, "copy-");
        std::printf(
            "%s: %s\n", st.text().c_str(),
            changed ? (copied ? "copied" : "changed") : (copied ? "nothing copied" : "no change"));
    }
    return saveProject(doc, out);
}

CliRegistrar reg{
    {"edit", "edit the point list (sort, ticks, delete, move, copy/paste, undo/redo)",
     std::string(kUsage) +
         "Applies the operations in order through the list-edit engine and writes OUT (QAR16).\n"
         "N is a point number (1-based, as 序号) or, for the -pile operations, a pile number\n"
         "(1-based ordinal of the pile in the list). Operations:\n"
         "  sort-asc | sort-desc | tick-all | untick-all | invert-ticks | undo | redo | restore\n"
         "  tick N | untick N\n"
         "  delete-point N | delete-pile N\n"
         "  move-up N | move-down N | move-pile-up N | move-pile-down N\n"
         "  copy-point N | copy-pile N | copy-result-point N | copy-result-pile N\n"
         "  cut-point N | cut-pile N\n"
         "  paste-point N | paste-pile N | insert-point N | insert-pile N\n"
         "  append-point N | append-pile N   (into an emptied list N is ignored)\n"
         "The clipboard is private to the run. Every operation prints 'changed' or 'no change'\n"
         "(an operation that does not apply changes nothing and is not recorded for undo).\n"
         "Exit codes: 0 written, 1 bad arguments or a number outside the list, 2 file error,\n"
         "3 the file read only partly and nothing was written (--allow-partial writes the points "
         "read).",
     runEdit}};

}  // namespace
}  // namespace sondara::cli
