// `sondara-cli trace OP` for the processing operations: the samples become the raw
// trace of a one-point project and are replayed through a chain of one step, so the
// command runs exactly the code the program runs.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "core/processing/ProcessKinds.h"
#include "core/processing/ProcessingChain.h"

namespace sondara::cli {
namespace {

const char* const kPointOptions[] = {"dt", "head", "toe", "length", "speed"};

std::int16_t int16Option(const TraceOptions& o, const std::string& name, long lo) {
    const long v = o.integer(name, 0);
    if (v < lo || v > INT16_MAX)
        throw UsageError{"--" + name + " must lie in " + std::to_string(lo) + ".." +
                         std::to_string(INT16_MAX)};
    return static_cast<std::int16_t>(v);
}

std::vector<std::string> runKind(ProcessKind kind, std::vector<float>& samples,
                                 const TraceOptions& o) {
    TestPoint p;
    p.sampleInterval = static_cast<float>(o.num("dt", 20.0));
    p.headIndex = int16Option(o, "head", INT16_MIN);
    p.toeIndex = int16Option(o, "toe", INT16_MIN);
    p.pileLength = static_cast<float>(o.num("length", 0.0));
    p.waveSpeed = int16Option(o, "speed", 0);
    p.rawSamples = samples;

    ProcessStep step = makeStep(kind);
    for (std::string_view name : KindFields(kind)) {
        const std::string key(name);
        if (!o.has(key)) continue;
        std::string error;
        if (!SetStepField(step, key, o.str(key), &error)) throw UsageError{error};
    }
    ReplayChain(p, 1, &step);

    std::vector<std::string> lines;
    lines.reserve(p.samples.size());
    for (float v : p.samples) lines.push_back(formatSample(v));
    return lines;
}

struct OpName {
    const char* name;
    ProcessKind kind;
    const char* help;
};

const OpName kOps[] = {
    {"amplify", ProcessKind::Amplify,
     "[--ampLaw 0|1 (exponential|linear)] [--ampFactor F] [--ampStart S]: gain from sample S"},
    {"removedc", ProcessKind::RemoveDc, "[--dcPartial 0|1] [--dcStart S]: removes the mean"},
    {"smooth", ProcessKind::Smooth, "[--smoothPoints M]: moving average from sample 20"},
    {"integrate", ProcessKind::Integrate,
     "--head H --toe T (toe 0: from --length M and --speed V, with --dt): integration with gain"},
    {"simpleintegrate", ProcessKind::SimpleIntegrate, "normalised cumulative integration"},
    {"differentiate", ProcessKind::Differentiate, "first difference"},
    {"rotate", ProcessKind::Rotate,
     "[--rotPartial 0|1] [--rotStart S] [--rotAngle RAD] [--rotScale C]: adds a ramp"},
    {"linearzero", ProcessKind::LinearZero,
     "[--linZeroMode 0|1|2 (whole|from start|after the toe)] [--linZeroStart S] [--toe T]"},
    {"nonlinearzero", ProcessKind::NonlinearZero,
     "[--nonlinZeroMode 0|1|2] [--nonlinZeroStart S] [--toe T]: quadratic zeroing"},
    {"frontzero", ProcessKind::FrontZero, "--frontZeroEnd S: samples before S become 0"},
    {"backzero", ProcessKind::BackZero, "--backZeroStart S: samples from S on become 0"},
    {"localscale", ProcessKind::LocalScale,
     "--scaleStart S --scaleEnd E --scaleFactor F: scales samples S..E"},
    {"shift", ProcessKind::Shift,
     "[--shiftSamples D] [--shiftMv V] [--shiftPartial 0|1 --shiftStart S --shiftEnd E]"},
    {"reverse", ProcessKind::Reverse, "sign reversal"},
    {"filter", ProcessKind::Filter,
     "[--filterType 1|2|3|4 (low|high|band-pass|band-stop)] [--upperFreqHz F] [--lowerFreqHz F] "
     "[--dt US]"},
};

struct RegisterAll {
    RegisterAll() {
        for (const OpName& op : kOps) {
            const ProcessKind kind = op.kind;
            // the point's parameters and the step's fields
            std::vector<std::string> options(std::begin(kPointOptions), std::end(kPointOptions));
            for (std::string_view field : KindFields(kind)) options.emplace_back(field);
            TraceOpRegistrar{{op.name, op.help,
                              [kind](std::vector<float>& s, const TraceOptions& o) {
                                  return runKind(kind, s, o);
                              },
                              true, std::move(options)}};
        }
    }
} registerAll;

}  // namespace
}  // namespace sondara::cli
