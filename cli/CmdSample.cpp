// `sondara-cli sample OUT`: a small project so that a fresh machine has something to
// show: simulated piles (one intact, one necked, one bulged, one on rock), one point
// already filtered and the defects marked at their true depths.
#include <cstdio>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "core/base/TextCodec.h"
#include "core/model/NameLists.h"
#include "core/processing/ProcessingChain.h"
#include "core/sim/SimProject.h"

namespace sondara::cli {
namespace {

constexpr const char* kSampleSpec = R"({
  "testingUnit": "示例检测有限公司",
  "projectName": "示例工程 低应变检测",
  "seed": 7,
  "startDateTime": "2026-11-03 09:10:00",
  "defaults": { "pileType": "钻孔灌注桩", "diameter": 800, "sensor": "velocity", "samples": 1024,
                "preTrigger": 40, "hammerMs": 1.0, "noise": 0.004, "castingDate": "2026-09-20" },
  "piles": [
    { "pileNo": "1-1", "length": 12.0, "waveSpeed": 3800, "points": 2 },
    { "pileNo": "1-2", "length": 14.5, "waveSpeed": 3900, "points": 3,
      "defects": [ { "kind": "necking", "depth": 6.0, "length": 1.0, "severity": 0.4 } ] },
    { "pileNo": "1-3", "length": 11.0, "waveSpeed": 3700, "points": 1,
      "defects": [ { "kind": "bulging", "depth": 4.5, "length": 1.2, "severity": 0.35 } ] },
    { "pileNo": "2-1", "length": 16.0, "waveSpeed": 4000, "points": 2,
      "soil": { "shaft": "soft", "toe": "rock" } }
  ]
})";

const char* kUsage = "usage: sondara-cli sample OUT\n";

int runSample(const Args& args) {
    std::string out;
    CLI::App app{"sample"};
    app.add_option("OUT", out)->required();
    if (std::string why = parseCommandLine(app, args); !why.empty())
        return usageError("sample", why, kUsage);
    ProjectSpec spec;
    std::string error;
    CSondaraDoc doc;
    std::vector<SimPointTruth> truth;
    if (!parseProjectSpec(kSampleSpec, spec, error) || !buildProject(spec, doc, &truth, error)) {
        printError(error);
        return kExitFile;
    }
    // the defects where the simulation put them, and a class for every point
    for (const SimPointTruth& t : truth) {
        TestPoint& p = doc.points[t.index];
        for (const auto& d : t.truth.defects) {
            PileMark m;
            m.kind = static_cast<int>(d.kind);
            setText(m.name, DefectNames().gbk[m.kind]);
            m.depth = static_cast<float>(d.depth);
            m.position = d.index;
            p.defects.push_back(m);
        }
        p.integrityClass = p.defects.empty() ? 1 : (p.defects[0].kind == 2 ? 3 : 1);
    }
    doc.points[1].checked = 0;
    // one point conditioned as an analyst would leave it
    ProcessStep f = makeStep(ProcessKind::Filter);
    f.upperFreqHz = 1000.0f;
    AppendStep(doc, {0}, f);
    RememberParameters(doc.points[0], f);
    UpdateDisplayRange(doc, {0});
    doc.rebuildCheckedList();
    return saveProject(doc, out);
}

CliRegistrar reg{
    {"sample", "write a small sample project",
     std::string(kUsage) +
         "Writes a small \"QAR16\" project of four simulated piles (eight points) with\n"
         "defects marked at their true depths and one filtered point.\n"
         "Exit codes: 0 written, 1 bad arguments, 2 the file cannot be written (a read-only\n"
         "file is refused).",
     runSample}};

}  // namespace
}  // namespace sondara::cli
