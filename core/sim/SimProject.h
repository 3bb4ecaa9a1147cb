#pragma once
// Builds whole projects of simulated measurement points, as an instrument would
// deliver them (raw traces, pile parameters, no processing), together with the
// ground truth of every point: where the blow, the toe echo and each defect are.
//
// A project comes either from a JSON description (see docs/cli-simulate.md) or
// from a seed (randomProjectSpec). Texts in the descriptions are UTF-8; the points
// get GBK bytes like every text the data file stores.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/SondaraDoc.h"
#include "core/sim/PileSimulator.h"

namespace sondara {

// One pile of a project: what the field sheet says about it and its physics.
struct SimPileEntry {
    std::string pileNo;        // UTF-8, e.g. "1-12", "A3"
    int pileTypeIndex = 1;     // 0..9 into PileTypeNames, 100 = pileTypeText
    std::string pileTypeText;  // UTF-8, used when pileTypeIndex is 100
    std::string castingDate;   // "YYYY-MM-DD"; empty: 28..45 days before the test
    std::string testDateTime;  // first point, "YYYY-MM-DD hh:mm:ss"; empty: after the previous pile
    std::string remark;        // UTF-8
    int points = 1;            // measurement points on this pile, 1..20
    int triggerLevel = 100;
    bool vary = true;  // points differ a little in blow duration and force
    PileSpec pile;
};

struct ProjectSpec {
    std::string testingUnit;                            // UTF-8
    std::string projectName;                            // UTF-8
    std::string startDateTime = "2026-11-03 08:30:00";  // first pile without a time of its own
    std::uint64_t seed = 1;  // drives noise, per-point variation and generated times
    std::vector<SimPileEntry> piles;
};

struct SimPointTruth {
    int index = 0;       // point index in the project
    std::string pileNo;  // UTF-8
    int sensorType = 0;
    double sampleInterval = 0.0;  // us
    double pileLength = 0.0;      // m
    double waveSpeed = 0.0;       // m/s of sound concrete
    SimTruth truth;
};

// Reads a project description. Unknown keys, wrong types and values out of range
// are errors; `error` names the offending entry ("piles[2].defects[0].severity: ...").
bool parseProjectSpec(std::string_view json, ProjectSpec& spec, std::string& error);

// A realistic random project: `piles` piles with `pointsPerPile` points each
// (0: 1..3 points per pile), about a third of the piles with a defect.
ProjectSpec randomProjectSpec(int piles, int pointsPerPile, std::uint64_t seed);

// The sample interval (us) an instrument operator would choose for the pile so that
// the toe echo lies within the first 60 % of the record.
double autoSampleInterval(double length, double waveSpeed, int samples, int preTrigger);

// Replaces `doc` by the simulated project: "QAR16" headers, current and original
// points (deep copies), every point checked, no processing chain (samples =
// rawSamples), display ranges computed, point 0 selected. `truth` (optional)
// receives one entry per point. False with `error` set when the description cannot
// be simulated (the document is then left empty) or holds more than 9998 points.
bool buildProject(const ProjectSpec& spec, CSondaraDoc& doc, std::vector<SimPointTruth>* truth,
                  std::string& error);

// The truth as JSON: {"points":[{"index":..,"pileNo":..,"headIndex":..,...}]}.
std::string truthToJson(const std::vector<SimPointTruth>& truth);

// Calendar helpers of the generated times ("YYYY-MM-DD hh:mm:ss", proleptic Gregorian).
bool parseDateTime(std::string_view text, std::int64_t& secondsSinceEpoch);
std::string formatDateTime(std::int64_t secondsSinceEpoch);

}  // namespace sondara
