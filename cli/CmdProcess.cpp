// `sondara-cli process FILE --points LIST|--all --step "KIND field=value ..." -o OUT`:
// appends processing steps to the chains of the chosen points through the same
// commit sequence as the processing commands, and saves the project.
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "core/processing/ProcessKinds.h"
#include "core/processing/ProcessingChain.h"
#include "core/processing/StepForm.h"

namespace sondara::cli {
namespace {

struct StepArg {
    ProcessKind kind = ProcessKind::None;
    std::vector<std::pair<std::string, std::string>> fields;
    std::string text;
};

const char* kUsage =
    "usage: sondara-cli process FILE (--points LIST|--all) "
    "--step \"KIND field=value ...\" [--step ...] -o OUT\n";

int usage(const std::string& why) {
    return usageError("process", why, kUsage);
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

// What the step's parameter window says to these values on OK ("" when it accepts
// them): the ranges of its fields and the choices its radio buttons offer.
std::string dialogRefusal(ProcessKind kind, const ProcessStep& step, const TestPoint& ref) {
    const StepFormSpec& spec = StepFormSpecOf(kind);
    if (spec.family == StepFamily::None) return {};
    const StepFields fields = FieldsFromStep(step, ref);
    if (!spec.popupRadios.empty() &&
        (fields.choice < 0 || fields.choice >= static_cast<int>(spec.popupRadios.size())))
        return "the window offers choices 0.." + std::to_string(spec.popupRadios.size() - 1) +
               " (got " + std::to_string(fields.choice) + ")";
    for (const FormFieldSpec& f : spec.fields)
        if (!std::isfinite(fields.value(f.field))) return "a value is not a number";
    if (std::optional<std::string> message = CheckStepFields(kind, fields, ref, true))
        return *message;
    return {};
}

int runProcess(const Args& args) {
    std::string in, out, pointsText;
    bool all = false;
    std::vector<std::string> stepTexts;
    CLI::App app{"process"};
    app.add_option("FILE", in);
    app.add_option("-o,--output", out);
    app.add_option("--points", pointsText);
    app.add_flag("--all", all);
    app.add_option("--step", stepTexts)->allow_extra_args(false);
    if (std::string why = parseCommandLine(app, args); !why.empty()) return usage(why);
    std::vector<StepArg> steps;
    for (const std::string& text : stepTexts) {
        StepArg arg;
        std::string error;
        if (!parseStep(text, arg, error)) return usage(error);
        steps.push_back(std::move(arg));
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
    // with --all no numbers were read: every point
    if (std::string why = pointIndices(doc, numbers, targets); !why.empty()) return usage(why);

    if (targets.empty()) return printError(in + ": no point to process"), kExitUsage;
    for (const StepArg& arg : steps) {
        CommitRequest request;
        request.edit = ChainEdit::NewOperation;
        request.targets = targets;
        request.kind = arg.kind;
        // The dialog's part: the given fields over the remembered parameters of the
        // first point, then OK.
        // and the checks of the dialog's OK: a value the dialog refuses is refused here
        std::string refusal;
        const TestPoint& ref = doc.points[static_cast<size_t>(targets.front())];
        const StepDialog dialog = [&](ProcessStep& step, const PreviewFn&) {
            for (const auto& [name, value] : arg.fields) SetStepField(step, name, value);
            refusal = dialogRefusal(arg.kind, step, ref);
            return refusal.empty() ? DialogResult::Accepted : DialogResult::Cancelled;
        };
        const CommitResult r = CommitProcessing(doc, request, dialog);
        if (!refusal.empty()) {
            printError("--step \"" + arg.text + "\": " + refusal + " (nothing written)");
            return kExitUsage;
        }
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
     "Every step's values are checked as its parameter window checks them on OK (e.g.\n"
     "the filter's frequencies 0..500000 Hz, an amplification 1..1000); a refused value\n"
     "stops the command with the window's message and nothing written (exit 1).\n"
     "Exit codes: 0 written, 1 bad arguments or no such point, 2 file error,\n"
     "3 the file read only partly and nothing was written (--allow-partial writes the points "
     "read).",
     runProcess}};

}  // namespace
}  // namespace sondara::cli
