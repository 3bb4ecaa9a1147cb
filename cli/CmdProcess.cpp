// `sondara-cli process FILE --points LIST|--all --step "KIND field=value ..." -o OUT`:
// appends processing steps to the chains of the chosen points through the same
// commit sequence as the processing commands, and saves the project.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliDoc.h"
#include "core/processing/ProcessKinds.h"
#include "core/processing/ProcessingChain.h"

namespace sondara::cli {
namespace {

struct StepArg {
    ProcessKind kind = ProcessKind::None;
    std::vector<std::pair<std::string, std::string>> fields;
    std::string text;
};

int usage(const std::string& why) {
    std::fprintf(stderr,
                 "process: %s\nusage: sondara-cli process FILE (--points LIST|--all) "
                 "--step \"KIND field=value ...\" [--step ...] -o OUT\n",
                 why.c_str());
    return kExitUsage;
}

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

// "1,3,5-8": point numbers as the list shows them (1-based).
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
        } else if (!parseNumber(item.substr(0, dash), a) || !parseNumber(item.substr(dash + 1), b)) {
            return false;
        }
        if (a < 1 || b < a) return false;
        for (long i = a; i <= b; ++i) out.push_back(i);
        any = true;
    }
    return any;
}

bool parseStep(const std::string& text, StepArg& arg, std::string& error) {
    std::stringstream ss(text);
    std::string word;
    if (!(ss >> word) || !ParseKind(word, arg.kind)) {
        error = "unknown step kind in '" + text + "'";
        return false;
    }
    if (CommandName(static_cast<int>(arg.kind)).empty()) {
        error = "no command applies a " + word + " step";
        return false;
    }
    const auto& allowed = KindFields(arg.kind);
    ProcessStep probe = makeStep(arg.kind);
    while (ss >> word) {
        const auto eq = word.find('=');
        if (eq == std::string::npos) {
            error = "expected field=value, got '" + word + "'";
            return false;
        }
        std::string name = word.substr(0, eq), value = word.substr(eq + 1);
        bool known = false;
        for (std::string_view f : allowed) known = known || f == name;
        if (!known) {
            error = "a " + std::string(KindEnumeratorName(static_cast<int>(arg.kind))) +
                    " step has no field '" + name + "'";
            return false;
        }
        if (!SetStepField(probe, name, value, &error)) return false;
        arg.fields.emplace_back(std::move(name), std::move(value));
    }
    arg.text = text;
    return true;
}

int runProcess(const Args& args) {
    std::string in, out, pointsText;
    bool all = false;
    std::vector<StepArg> steps;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& dst) {
            if (i + 1 >= args.size()) return false;
            dst = args[++i];
            return true;
        };
        if (a == "-o" || a == "--output") {
            if (!value(out)) return usage("-o needs a file name");
        } else if (a == "--points") {
            if (!value(pointsText)) return usage("--points needs a list");
        } else if (a == "--all") {
            all = true;
        } else if (a == "--step") {
            std::string text, error;
            if (!value(text)) return usage("--step needs \"KIND field=value ...\"");
            StepArg arg;
            if (!parseStep(text, arg, error)) return usage(error);
            steps.push_back(std::move(arg));
        } else if (in.empty() && !a.starts_with("-")) {
            in = a;
        } else {
            return usage("unknown argument '" + a + "'");
        }
    }
    if (in.empty()) return usage("FILE missing");
    if (out.empty()) return usage("-o OUT missing");
    if (all == !pointsText.empty()) return usage("give either --points LIST or --all");
    if (steps.empty()) return usage("no --step given");
    std::vector<long> numbers;
    if (!all && !parsePointList(pointsText, numbers))
        return usage("bad point list '" + pointsText + "' (e.g. 1,3,5-8)");

    CSondaraDoc doc;
    if (int rc = loadProject(doc, in, LoadFor::Writing)) return rc;
    PointList targets;
    if (all) {
        for (int i = 0; i < doc.pointCount(); ++i) targets.push_back(i);
    } else {
        for (long n : numbers) {
            if (n > doc.pointCount())
                return usage("point " + std::to_string(n) + " does not exist (" +
                             std::to_string(doc.pointCount()) + " points)");
            targets.push_back(static_cast<int>(n - 1));
        }
    }

    for (const StepArg& arg : steps) {
        CommitRequest request;
        request.edit = ChainEdit::NewOperation;
        request.targets = targets;
        request.kind = arg.kind;
        // The dialog's part: the given fields over the remembered parameters of the
        // first point, then OK.
        const StepDialog dialog = [&arg](ProcessStep& step, const PreviewFn&) {
            for (const auto& [name, value] : arg.fields) SetStepField(step, name, value);
            return DialogResult::Accepted;
        };
        const CommitResult r = CommitProcessing(doc, request, dialog);
        std::printf("%s: %s\n", arg.text.c_str(),
                    r == CommitResult::Committed ? "appended" : "not applied");
    }
    std::printf("%zu point(s) processed\n", targets.size());
    return saveProject(doc, out);
}

CliRegistrar reg{
    {"process", "append processing steps to the chains of points and save",
     "usage: sondara-cli process FILE (--points LIST|--all) --step \"KIND field=value ...\"\n"
     "                           [--step ...] -o OUT\n"
     "Appends each step, in order, to the processing chain of the chosen points, replays\n"
     "their processed traces from the recorded ones and writes OUT (QAR16).\n"
     "LIST holds point numbers as the list shows them (1-based): 1,3,5-8.\n"
     "KIND is a kind name or code: Integrate 1, Differentiate 2, Filter 3, LinearZero 4,\n"
     "NonlinearZero 5, Reverse 6, Smooth 7, RemoveDc 8, FrontZero 9, BackZero 10, Shift 11,\n"
     "Rotate 12, Amplify 13, LocalScale 16, SimpleIntegrate 26. Fields not given take the\n"
     "first point's remembered parameters, as the dialogs open with them. Positions are\n"
     "sample indices, angles radians. Example:\n"
     "  sondara-cli process in.qar --all --step \"Filter filterType=1 upperFreqHz=800\" \\\n"
     "      --step \"Amplify ampLaw=0 ampFactor=10\" -o out.qar\n"
     "Exit codes: 0 written, 1 bad arguments or no such point, 2 file error,\n"
     "3 the file read only partly and nothing was written (--allow-partial writes the points read).",
     runProcess}};

}  // namespace
}  // namespace sondara::cli
