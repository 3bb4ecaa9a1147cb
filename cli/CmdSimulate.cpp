// `sondara-cli simulate`: writes a project of simulated pile tests, as an instrument
// delivers it (raw traces, no processing), and optionally its ground truth.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "core/base/ByteIo.h"
#include "core/sim/SimProject.h"

namespace sondara::cli {
namespace {

const char* kHelp =
    "usage: sondara-cli simulate -o OUT.qar [--piles N] [--points-per-pile K] [--seed S]\n"
    "                            [--spec FILE.json] [--truth FILE.json]\n"
    "Simulates low-strain tests of piles with a one-dimensional wave model (hammer blow,\n"
    "pile with defects, shaft and toe soil, head sensor) and writes them as a \"QAR16\"\n"
    "project: pile parameters and raw traces as the instrument records them, every point\n"
    "checked, no processing.\n"
    "  -o, --output OUT.qar    the project to write\n"
    "  --piles N               piles of a random project (1..9998, default 12)\n"
    "  --points-per-pile K     points on each pile (1..20; default 1 to 3 at random)\n"
    "  --seed S                seed of the random project, the noise and the small\n"
    "                          differences between blows (default 1; overrides the description's)\n"
    "  --spec FILE.json        describe the piles instead (see docs/cli-simulate.md)\n"
    "  --truth FILE.json       also write where the blow, the toe echo and each defect\n"
    "                          lie on every point\n"
    "Both outputs are checked before anything is written; on any failure neither is written.\n"
    "Exit codes: 0 ok, 1 bad arguments, 2 a file cannot be read or written or the description\n"
    "is invalid.\n";

bool readWholeFile(const std::string& path, std::string& out) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buf[65536];
    std::size_t n;
    out.clear();
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        out.append(buf, n);
        if (out.size() > (8u << 20)) break;  // the JSON reader refuses it with a clear message
    }
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

int usage(const std::string& message) {
    std::fprintf(stderr, "sondara-cli simulate: %s\n", message.c_str());
    std::fputs(kHelp, stderr);
    return kExitUsage;
}

int runSimulate(const Args& args) {
    std::string out, specPath, truthPath;
    long piles = -1, perPile = -1;
    unsigned long long seed = 1;
    bool seedGiven = false;
    CLI::App app{"simulate"};
    app.add_option("-o,--output", out);
    app.add_option("--piles", piles)->check(CLI::Range(1L, 9998L));
    app.add_option("--points-per-pile", perPile)->check(CLI::Range(1L, 20L));
    auto* seedOption = app.add_option("--seed", seed);
    app.add_option("--spec", specPath);
    app.add_option("--truth", truthPath);
    if (std::string why = parseCommandLine(app, args); !why.empty()) return usage(why);
    seedGiven = seedOption->count() > 0;
    if (out.empty()) return usage("no output file (-o OUT.qar)");
    if (!specPath.empty() && (piles > 0 || perPile > 0))
        return usage(
            "--piles and --points-per-pile describe a random project; --spec describes its own "
            "piles");

    // Every output is checked before anything is simulated or written.
    if (int rc = checkOutputs({out, truthPath})) return rc;
    ProjectSpec spec;
    if (!specPath.empty()) {
        std::string text, error;
        if (!readWholeFile(specPath, text)) {
            printError("cannot read '" + specPath + "': " + std::strerror(errno));
            return kExitFile;
        }
        if (!parseProjectSpec(text, spec, error)) {
            printError(specPath + ": " + error);
            return kExitFile;
        }
        if (seedGiven) spec.seed = seed;
    } else {
        if (piles < 0) piles = 12;
        if (perPile > 0 && piles * perPile > 9998)
            return usage("a project holds at most 9998 points (" + std::to_string(piles) + " x " +
                         std::to_string(perPile) + " asked)");
        spec = randomProjectSpec(static_cast<int>(piles),
                                 perPile > 0 ? static_cast<int>(perPile) : 0, seed);
    }

    CSondaraDoc doc;
    std::vector<SimPointTruth> truth;
    std::string error;
    if (!buildProject(spec, doc, truthPath.empty() ? nullptr : &truth, error)) {
        printError(error);
        return specPath.empty() ? kExitUsage : kExitFile;
    }
    // The ground truth is made whole before the project is written and given its name
    // after it: a failure of either writes neither, as far as the file system allows.
    std::unique_ptr<AtomicFileWriter> truthFile;
    if (!truthPath.empty()) {
        truthFile = std::make_unique<AtomicFileWriter>(truthPath);
        if (truthFile->isOpen()) {
            const std::string json = truthToJson(truth);
            truthFile->writer().bytes(json.data(), json.size());
            truthFile->writer().flush();
        }
        if (!truthFile->isOpen() || !truthFile->writer().ok()) {
            printError(truthFile->error());
            return kExitFile;
        }
    }
    if (int rc = saveProject(doc, out); rc != kExitOk) return rc;
    if (truthFile && !truthFile->commit()) {
        printError(truthFile->error());
        return kExitFile;
    }
    std::printf("%s: %d piles, %d points\n", out.c_str(), doc.pileCount(), doc.pointCount());
    return kExitOk;
}

CliRegistrar reg{{"simulate", "write a project of simulated pile tests (and their ground truth)",
                  kHelp, runSimulate}};

}  // namespace
}  // namespace sondara::cli
