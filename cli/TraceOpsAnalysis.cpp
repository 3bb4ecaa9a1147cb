// `sondara-cli trace OP` for the analyses: FFT, the five spectra, the pulse
// correlation, the wavelet decomposition and the average of several traces. Each op
// calls the same routine the analysis panes call.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "core/analysis/Correlation.h"
#include "core/analysis/Fft.h"
#include "core/analysis/Spectra.h"
#include "core/analysis/Wavelet.h"
#include "core/analysis/WaveletTables.h"

namespace sondara::cli {
namespace {

std::vector<float> readFileOrThrow(const std::string& path) {
    std::vector<float> v;
    std::string error;
    if (!readSamplesFile(path, v, error)) throw UsageError{error, kExitFile};
    return v;
}

void requireSamples(const std::vector<float>& s) {
    if (s.empty()) throw UsageError{"no samples on standard input"};
    if (s.size() > static_cast<size_t>(INT32_MAX / 4)) throw UsageError{"too many samples"};
}

std::string pair(double a, double b) {
    return formatSample(a) + " " + formatSample(b);
}

// ---- fft ------------------------------------------------------------------------

// Lines of "re [im]" from standard input (im defaults to 0).
void readComplexStdin(std::vector<float>& re, std::vector<float>& im) {
    char line[256];
    while (std::fgets(line, sizeof line, stdin)) {
        char* p = line;
        while (*p == ' ' || *p == '\t') ++p;
        if (*p == '\0' || *p == '\n' || *p == '\r' || *p == '#') continue;
        char* end = nullptr;
        const double r = std::strtod(p, &end);
        if (end == p) continue;
        char* end2 = nullptr;
        const double i = std::strtod(end, &end2);
        re.push_back(static_cast<float>(r));
        im.push_back(end2 == end ? 0.0f : static_cast<float>(i));
    }
}

std::vector<std::string> runFft(std::vector<float>&, const TraceOptions& o) {
    std::vector<float> re, im;
    readComplexStdin(re, im);
    requireSamples(re);
    if (re.size() > static_cast<size_t>(kMaxTransformLength))
        throw UsageError{"more than 131072 values"};
    int m = 0;
    const int n = TransformLength(static_cast<int>(re.size()), &m);
    re.resize(n, 0.0f);
    im.resize(n, 0.0f);
    std::vector<float> ore(n), oim(n);
    const bool polar = o.has("polar");
    Fft(re.data(), im.data(), n, m, ore.data(), oim.data(), o.has("inverse") ? 1 : 0,
        polar ? 1 : 0);
    std::vector<std::string> lines;
    lines.reserve(n);
    // With --polar the input arrays hold magnitude and phase.
    for (int k = 0; k < n; ++k) lines.push_back(polar ? pair(re[k], im[k]) : pair(ore[k], oim[k]));
    return lines;
}

// ---- spectra --------------------------------------------------------------------

// The values as they are, or with --display the bins the display draws (count / 2)
// as "kHz value", f = k * (500 / dt) / K.
std::vector<std::string> spectrumLines(const std::vector<float>& v, const TraceOptions& o) {
    std::vector<std::string> lines;
    if (!o.has("display")) {
        for (float x : v) lines.push_back(formatSample(x));
        return lines;
    }
    const double dt = o.num("dt", 20.0);
    if (dt <= 0) throw UsageError{"--dt must be positive"};
    const int K = static_cast<int>(v.size()) / 2;
    for (int k = 0; k < K; ++k) lines.push_back(pair(k * (500.0 / dt) / K, v[k]));
    return lines;
}

const char* kSpectrumHelp =
    "[--display [--dt US]]: count values, one per line; --display prints the count/2 "
    "displayed bins as \"kHz value\"";

void registerSpectrum(const std::string& name, SpectrumKind kind) {
    TraceOpRegistrar{{name,
                      kSpectrumHelp,
                      [kind](std::vector<float>& s, const TraceOptions& o) {
                          requireSamples(s);
                          std::vector<float> out(s.size());
                          ComputeSpectrum(kind, s.data(), out.data(), static_cast<int>(s.size()));
                          return spectrumLines(out, o);
                      },
                      true,
                      {"display", "dt"}}};
}

std::vector<std::string> runCrossPower(std::vector<float>& s, const TraceOptions& o) {
    requireSamples(s);
    if (!o.has("second")) throw UsageError{"--second FILE is required"};
    const std::vector<float> b = readFileOrThrow(o.str("second"));
    std::vector<float> out(s.size());
    CrossPowerSpectrum(s.data(), b.data(), out.data(), static_cast<int>(s.size()),
                       static_cast<int>(b.size()));
    return spectrumLines(out, o);
}

// ---- correlation ------------------------------------------------------------------

std::vector<std::string> runCorrelate(std::vector<float>& s, const TraceOptions& o) {
    requireSamples(s);
    const int n = static_cast<int>(s.size());
    std::vector<float> second = o.has("second") ? readFileOrThrow(o.str("second")) : s;
    std::vector<float> out(n);
    CorrelateWithPulse(s.data(), second.data(), out.data(), n, static_cast<int>(second.size()));
    std::vector<std::string> lines;
    if (o.has("template")) {
        const PulseTemplate t = FindPulseTemplate(s.data(), n);
        lines.push_back("# template " + std::to_string(t.start) + " " + std::to_string(t.end));
    }
    for (float v : out) lines.push_back(formatSample(v));
    return lines;
}

// ---- wavelet ------------------------------------------------------------------------

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool isIndex(const std::string& s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int findFamily(const std::string& f) {
    const auto& t = WaveletFamilies();
    if (isIndex(f) && f.size() < 3 && std::stoi(f) < static_cast<int>(t.size()))
        return std::stoi(f);
    for (size_t i = 0; i < t.size(); ++i)
        if (lower(t[i].name) == lower(f)) return static_cast<int>(i);
    throw UsageError{"unknown wavelet family '" + f + "'"};
}

// A member by its name ("20", "3/5"; the first of equal names) or by "#index".
int findMember(int family, const std::string& m) {
    const auto& members = WaveletFamilies()[static_cast<size_t>(family)].members;
    if (m.size() > 1 && m[0] == '#' && isIndex(m.substr(1)) && m.size() < 6) {
        const int i = std::stoi(m.substr(1));
        if (i < static_cast<int>(members.size())) return i;
    }
    for (size_t i = 0; i < members.size(); ++i)
        if (m == members[i].name) return static_cast<int>(i);
    throw UsageError{"unknown member '" + m + "' of " + WaveletFamilies()[family].name};
}

std::vector<std::string> runWavelet(std::vector<float>& s, const TraceOptions& o) {
    requireSamples(s);
    if (s.size() > static_cast<size_t>(kMaxTransformLength))
        throw UsageError{"more than 131072 samples"};
    const int family = findFamily(o.str("family", "Daubechies"));
    const int member = findMember(
        family, o.str("member", family == 0 ? "2" : WaveletFamilies()[family].members[0].name));
    const long levels = o.integer("levels", 3);
    if (levels < 1 || levels > kMaxWaveletLevels) throw UsageError{"--levels must lie in 1..9"};
    const int M = static_cast<int>(s.size());
    const int L = static_cast<int>(levels);
    std::vector<float> rec(M), app(std::max(1, WaveletCoefficientCount(M, L))), det(app.size());
    if (!WaveletTransform(s.data(), M, rec.data(), app.data(), det.data(), family, member, L))
        throw UsageError{"the wavelet transform refused the trace"};
    std::vector<std::string> lines;
    lines.push_back("# 重构信号");
    for (float v : rec) lines.push_back(formatSample(v));
    char title[64];
    for (int k = 1; k <= L; ++k) {
        const int off = WaveletLevelOffset(M, k), len = WaveletLevelLength(M, k);
        std::snprintf(title, sizeof title, "# 第%d级 平滑信号", k);
        lines.push_back(title);
        for (int i = 0; i < len; ++i) lines.push_back(formatSample(app[off + i]));
        std::snprintf(title, sizeof title, "# 第%d级 细节信号", k);
        lines.push_back(title);
        for (int i = 0; i < len; ++i) lines.push_back(formatSample(det[off + i]));
    }
    return lines;
}

// ---- average ------------------------------------------------------------------------

std::vector<std::string> runAverage(std::vector<float>&, const TraceOptions& o) {
    if (o.positional.empty()) throw UsageError{"give the trace files to average"};
    std::vector<std::vector<float>> traces;
    for (const auto& path : o.positional) traces.push_back(readFileOrThrow(path));
    std::vector<AverageSource> sources;
    for (const auto& t : traces) {
        float hi = 0, lo = 0;
        GetValueRange(t.data(), static_cast<int>(t.size()), &hi, &lo, 0);
        sources.push_back({t.data(), static_cast<int>(t.size()), hi, lo});
    }
    std::vector<float> out(traces[0].size());
    float hi = 0, lo = 0;
    if (!AverageTraces(sources, out.data(), static_cast<int>(out.size()), &hi, &lo))
        std::fprintf(
            stderr,
            "sondara-cli trace average: the traces differ in length; the average is zero\n");
    std::vector<std::string> lines;
    for (float v : out) lines.push_back(formatSample(v));
    return lines;
}

struct RegisterAll {
    RegisterAll() {
        TraceOpRegistrar{{"fft",
                          "[--inverse] [--polar]: reads \"re [im]\" per line (im defaults to 0), "
                          "zero-pads to the transform length (power of two, at most 131072) and "
                          "prints \"re im\" per line; --polar prints \"magnitude phase\" (degrees)",
                          runFft,
                          false,
                          {"inverse", "polar"}}};
        registerSpectrum("amplitude", SpectrumKind::Amplitude);
        registerSpectrum("autopower", SpectrumKind::AutoPower);
        registerSpectrum("cepstrum", SpectrumKind::Cepstrum);
        registerSpectrum("logspectrum", SpectrumKind::LogSpectrum);
        TraceOpRegistrar{
            {"crosspower",
             "--second FILE [--display [--dt US]]: cross power of stdin with the trace "
             "in FILE (missing samples of FILE count as zero)",
             runCrossPower,
             true,
             {"second", "display", "dt"}}};
        TraceOpRegistrar{{"correlate",
                          "[--second FILE] [--template]: pulse correlation of stdin with FILE "
                          "(autocorrelation without FILE); --template first prints "
                          "\"# template START END\"",
                          runCorrelate,
                          true,
                          {"second", "template"}}};
        TraceOpRegistrar{
            {"wavelet",
             "--family F --member M --levels L: F a family name or index 0..6, M a "
             "member name (\"20\", \"3/5\") or #index; prints the blocks "
             "\"# 重构信号\", then \"# 第k级 平滑信号\" and \"# 第k级 细节信号\" per level",
             runWavelet,
             true,
             {"family", "member", "levels"}}};
        TraceOpRegistrar{{"average",
                          "FILE...: sample-by-sample average of the traces in the files (all "
                          "zero when their lengths differ)",
                          runAverage,
                          false,
                          {},
                          true}};
    }
} registerAll;

}  // namespace
}  // namespace sondara::cli
