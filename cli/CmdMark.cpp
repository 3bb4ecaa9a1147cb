// `sondara-cli mark FILE -o OUT --point N ACTION...`: pile head, toe, defects, the
// automatic head and toe and the integrity class of one point, through the same
// operations as the analysis menu, with their messages and questions on stderr.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "core/analysis/AutoHeadToe.h"
#include "core/analysis/PileMarks.h"
#include "core/app/SettingsFile.h"
#include "core/base/FixedText.h"
#include "core/base/TextCodec.h"
#include "core/model/NameLists.h"

namespace sondara::cli {
namespace {

enum class ArgKind { None, Int, Number, Text, IntText };

struct ActionSpec {
    const char* name;
    ArgKind args;
};

const ActionSpec kActions[] = {
    {"head", ArgKind::Int},          {"toe", ArgKind::Int},        {"drag-head", ArgKind::Int},
    {"drag-toe", ArgKind::Int},      {"defect", ArgKind::IntText}, {"defect-own", ArgKind::IntText},
    {"delete-defect", ArgKind::Int}, {"autohead", ArgKind::None},  {"autotoe", ArgKind::Number},
    {"follow", ArgKind::Text},       {"class", ArgKind::Text},
};

struct Action {
    const ActionSpec* spec = nullptr;
    long number = 0;
    double value = 0.0;
    std::string text;
    std::vector<std::string> words;  // as typed, for the report line
};

const ActionSpec* findAction(const std::string& name) {
    for (const ActionSpec& a : kActions)
        if (name == a.name) return &a;
    return nullptr;
}

const char* kUsage = "usage: sondara-cli mark FILE -o OUT --points N [--yes|--no] ACTION...\n";

int usage(const std::string& why) {
    return usageError("mark", why, kUsage);
}

bool parseLong(const std::string& s, long& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtol(s.c_str(), &end, 10);
    return !s.empty() && *end == '\0' && errno == 0;
}

bool parseDouble(const std::string& s, double& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtod(s.c_str(), &end);
    return !s.empty() && *end == '\0' && errno == 0 && std::isfinite(out);
}

// A defect kind given as 1..7 or as its name (the menu's 裂缝 included).
int defectKindOf(const std::string& s) {
    long k = 0;
    if (parseLong(s, k)) return (k >= 1 && k <= 7) ? static_cast<int>(k) : -1;
    if (s == "裂缝") return static_cast<int>(DefectKind::Crack);
    const NameList& names = DefectNames();
    for (int i = 1; i < names.count(); ++i)
        if (names.utf8[i] == s) return i;
    return -1;
}

std::string joined(const std::vector<std::string>& words) {
    std::string s;
    for (const auto& w : words) s += (s.empty() ? "" : " ") + w;
    return s;
}

void printPoint(const CSondaraDoc& doc, int point) {
    const TestPoint& p = doc.points[point];
    std::printf("point %d [%s]: head %d, toe %d, length %.2f m, speed %d m/s, class %s\n",
                point + 1, gbkToUtf8(trimBlanks(textOf(p.pileNo))).c_str(), p.headIndex, p.toeIndex,
                p.pileLength, p.waveSpeed, doc.classText(point).c_str());
    for (int j = 0; j < p.defectCount(); ++j) {
        const PileMark& m = p.defects[j];
        std::printf("defect %d: sample %d, depth %.2f m, kind %d, %s", j + 1, m.position, m.depth,
                    m.kind, gbkToUtf8(textOf(m.name)).c_str());
        std::string remark = gbkToUtf8(textOf(m.remark));
        if (!remark.empty()) std::printf(" (%s)", remark.c_str());
        std::printf("\n");
    }
}

// The class a CLASS argument names: its index 0..4 or its name (trimmed); -1 for any
// other text, which is refused rather than stored as 未得出.
int classIndexOf(const std::string& text) {
    long k = 0;
    if (parseLong(text, k)) return k >= 0 && k < ClassNames().count() ? static_cast<int>(k) : -1;
    const std::size_t a = text.find_first_not_of(' ');
    const std::size_t b = text.find_last_not_of(' ');
    const std::string name = a == std::string::npos ? "" : text.substr(a, b - a + 1);
    for (int i = 0; i < ClassNames().count(); ++i)
        if (ClassNames().utf8[static_cast<size_t>(i)] == name) return i;
    return -1;
}

int runMark(const Args& args) {
    bool answer = false;  // to the questions the operations ask
    std::string in, out;
    long pointNo = 0;
    std::vector<std::string> words;  // FILE, then the actions with their arguments
    CLI::App app{"mark"};
    app.add_option("-o,--output", out);
    app.add_option("--point,--points", pointNo)->check(CLI::Range(1L, 999999999L));
    app.add_option("FILE ACTION...", words);
    app.add_flag("--yes,!--no", answer);
    if (std::string why = parseCommandLine(app, args); !why.empty()) return usage(why);
    if (!words.empty()) {
        in = words.front();
        words.erase(words.begin());
    }
    // The actions read in order, each with the arguments its kind takes.
    std::vector<Action> actions;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& a = words[i];
        const ActionSpec* spec = findAction(a);
        if (!spec) return usage("unknown argument '" + a + "'");
        Action act;
        act.spec = spec;
        act.words.push_back(a);
        auto next = [&](std::string& v) {
            if (i + 1 >= words.size()) return false;
            v = words[++i];
            act.words.push_back(v);
            return true;
        };
        std::string v;
        switch (spec->args) {
            case ArgKind::None:
                break;
            case ArgKind::Int:
                if (!next(v) || !parseLong(v, act.number))
                    return usage(a + " needs a whole number");
                break;
            case ArgKind::Number:
                if (!next(v) || !parseDouble(v, act.value)) return usage(a + " needs a number");
                break;
            case ArgKind::Text:
                if (!next(act.text)) return usage(a + " needs a text");
                break;
            case ArgKind::IntText:
                if (!next(v) || !parseLong(v, act.number))
                    return usage(a + " needs a sample index");
                if (!next(act.text)) return usage(a + " needs a kind or name");
                break;
        }
        if (act.spec->name == std::string("follow") && act.text != "keep-length" &&
            act.text != "keep-speed")
            return usage("follow takes keep-length or keep-speed");
        if (act.spec->name == std::string("class") && classIndexOf(act.text) < 0)
            return usage("unknown class '" + act.text +
                         "' (0..4 or 未得出 I类桩 II类桩 III类桩 IV类桩)");
        if (act.spec->name == std::string("defect") && defectKindOf(act.text) < 0)
            return usage("unknown defect kind '" + act.text +
                         "' (1..7 or 扩径 缩径 断桩 裂纹 夹泥 离析 扩底)");
        actions.push_back(std::move(act));
    }
    if (in.empty()) return usage("FILE missing");
    if (out.empty()) return usage("-o OUT missing");
    if (pointNo < 1) return usage("--points N missing");
    if (actions.empty()) return usage("no action given");

    if (int rc = checkOutputs({out})) return rc;
    CSondaraDoc doc;
    if (int rc = loadProject(doc, in, LoadFor::Writing)) return rc;
    if (pointNo > doc.pointCount())
        return usage("point " + std::to_string(pointNo) + " does not exist (" +
                     std::to_string(doc.pointCount()) + " points)");
    const int pt = static_cast<int>(pointNo - 1);

    CliPrompter prompter(answer);
    LengthFollowMode follow = LengthFollowMode::KeepLength;  // as a new view starts
    bool haveAutoHead = false;
    std::vector<std::string> refused;
    AutoHeadSettings autoHead;
    for (const Action& act : actions) {
        const std::string name = act.spec->name;
        const int s =
            act.number < INT32_MIN || act.number > INT32_MAX ? -1 : static_cast<int>(act.number);
        int r = 0;
        if (name == "head" || name == "drag-head") {
            r = SetPileHead(doc, pt, s, follow, name == "head", prompter);
        } else if (name == "toe" || name == "drag-toe") {
            r = SetPileToe(doc, pt, s, follow, name == "toe", prompter);
        } else if (name == "defect") {
            r = AddDefect(doc, pt, s, defectKindOf(act.text), "", "", prompter);
        } else if (name == "defect-own") {
            r = AddCustomDefect(doc, {pt}, s, act.text, "", prompter);
        } else if (name == "delete-defect") {
            r = act.number >= 1 ? DeleteDefect(doc, pt, s - 1) : 0;
        } else if (name == "autohead") {
            if (!haveAutoHead) {
                loadSettings(autoHead);  // the desktop's settings, never written from here
                haveAutoHead = true;
            }
            r = AutoPileHead(doc, pt, autoHead, follow, true, prompter);
        } else if (name == "autotoe") {
            r = AutoPileToe(doc, pt, act.value, follow, true, prompter);
        } else if (name == "follow") {
            follow = act.text == "keep-speed" ? LengthFollowMode::KeepSpeed
                                              : LengthFollowMode::KeepLength;
            r = 1;
        } else if (name == "class") {
            const int cls = classIndexOf(act.text);
            r = SetIntegrityClass(doc, pt, ClassNames().utf8[static_cast<size_t>(cls)]) == cls;
        }
        std::printf("%s: %s\n", joined(act.words).c_str(), r ? "done" : "refused");
        if (!r) refused.push_back(joined(act.words));
    }
    printPoint(doc, pt);
    // A refused action (its message is above) leaves the point otherwise than asked:
    // nothing is written.
    if (!refused.empty()) {
        for (const std::string& a : refused) printError("refused: " + a);
        printError(out + ": not written, an action was refused");
        return kExitUsage;
    }
    return saveProject(doc, out);
}

CliRegistrar reg{
    {"mark", "pile head, toe, defects, automatic head/toe and integrity class of a point",
     std::string(kUsage) +
         "Applies the actions in order to point N (1-based, as 序号) and writes OUT (QAR16).\n"
         "S is a sample index of the working trace (0-based); J a defect number (1-based,\n"
         "as the report numbers them). Actions:\n"
         "  head S | toe S            place the pile head / toe (as the menu: with messages)\n"
         "  drag-head S | drag-toe S  as dragging the line: no messages, defects are kept\n"
         "  defect S KIND             KIND 1..7 or 扩径 缩径 断桩 裂纹 夹泥 离析 扩底\n"
         "  defect-own S NAME         the 自定义 dialog: trimmed NAME, kind from the name\n"
         "  delete-defect J\n"
         "  autohead                  自动桩头 with the stored settings (MIR_QAR4_AHEAD_001.ini)\n"
         "  autotoe VALUE             自动桩底: a pile length (m) under keep-speed, else a\n"
         "                            wave speed (m/s)\n"
         "  follow keep-length|keep-speed   what head and toe recompute (default keep-length)\n"
         "  class NAME                0..4 or 未得出, I类桩, II类桩, III类桩, IV类桩 (other text\n"
         "                            is refused)\n"
         "Messages are printed on stderr; questions are answered by --yes or --no (default no).\n"
         "Each action prints 'done' or 'refused', then the point's marks are listed. A refused\n"
         "action (a message such as 设置位置错误) writes nothing; 否 to a question is no refusal.\n"
         "Exit codes: 0 written, 1 bad arguments, no such point or an action refused (nothing\n"
         "written), 2 file error,\n"
         "3 the file read only partly and nothing was written (--allow-partial writes the points "
         "read).",
     runMark}};

}  // namespace
}  // namespace sondara::cli
