// `sondara-cli interpret FILE [--points LIST] [--json] [-o OUT.qar]`: the automatic
// interpretation of the points (toe, impedance changes, proposed class, confidence),
// printed as a table or as JSON; with -o the proposals are written as marks and class
// into a copy of the project.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "cli/JsonWriter.h"
#include "core/base/FixedText.h"
#include "core/base/TextCodec.h"
#include "core/interpret/Interpretation.h"

namespace sondara::cli {
namespace {

const char* kUsage =
    "usage: sondara-cli interpret FILE [--points LIST] [--json] [-o OUT.qar [--all]]\n";

int usage(const std::string& why) {
    return usageError("interpret", why, kUsage);
}

const char* romanClass(int c) {
    static const char* kRoman[] = {"-", "Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ"};
    return kRoman[c >= 1 && c <= 4 ? c : 0];
}

void writeDefects(JsonWriter& w, const std::vector<ProposedDefect>& defects) {
    w.key("defects").beginArray();
    for (const ProposedDefect& d : defects) {
        w.beginObject();
        w.field("depth", d.depth).field("extent", d.extent);
        w.field("kind", changeKindKey(d.kind)).field("beta", d.beta);
        w.field("index", d.index);
        w.endObject();
    }
    w.endArray();
}

void printJson(const CSondaraDoc& doc, const std::vector<PointInterpretation>& rows,
               const SiteWaveSpeed& site) {
    JsonWriter w;
    w.beginObject().key("points").beginArray();
    for (const PointInterpretation& r : rows) {
        w.beginObject();
        w.field("index", r.point);
        w.field("pileNo", gbkToUtf8(textOf(doc.points[r.point].pileNo)));
        if (!r.error.empty()) {
            w.field("error", r.error);
            w.endObject();
            continue;
        }
        w.key("toe").beginObject();
        w.field("time", r.toeTime).field("index", r.toeIndex).field("depth", r.toeDepth);
        w.field("found", r.toeFound);
        w.endObject();
        writeDefects(w, r.defects);
        w.field("class", r.integrityClass);
        w.field("confidence", confidenceKey(r.confidence));
        if (!r.reason.empty()) w.field("reason", r.reason);
        w.field("residual", r.residual);
        w.field("evidenceGap", r.evidenceGap);
        w.field("lengthRemark", r.lengthRemark);
        w.key("alternatives").beginArray();
        for (const InterpretationAlternative& a : r.alternatives) {
            w.beginObject();
            w.field("class", a.integrityClass);
            w.key("toe").beginObject();
            w.field("time", a.toeTime).field("index", a.toeIndex).field("depth", a.toeDepth);
            w.field("found", a.toeFound);
            w.endObject();
            writeDefects(w, a.defects);
            w.field("evidenceGap", a.evidenceGap);
            w.field("label", a.label);
            w.endObject();
        }
        w.endArray();
        w.endObject();
    }
    w.endArray();
    w.key("siteWaveSpeed");
    if (site.found) {
        w.beginObject().field("speed", site.speed).key("piles").beginArray();
        for (int p : site.points) w.value(p);
        w.endArray().endObject();
    } else {
        w.beginObject()
            .key("speed")
            .value(std::nan(""))
            .key("piles")
            .beginArray()
            .endArray()
            .endObject();
    }
    w.endObject();
    std::printf("%s\n", w.str().c_str());
}

void printTable(const CSondaraDoc& doc, const std::vector<PointInterpretation>& rows,
                const SiteWaveSpeed& site) {
    std::printf("%-6s %-10s %9s %8s %-5s %-10s %8s  %s\n", "point", "pile", "toe ms", "toe m",
                "class", "confidence", "residual", "changes (depth m, kind, beta)");
    for (const PointInterpretation& r : rows) {
        std::string pile = gbkToUtf8(textOf(doc.points[r.point].pileNo));
        if (!r.error.empty()) {
            std::printf("%-6d %-10s %s\n", r.point + 1, pile.c_str(), r.error.c_str());
            continue;
        }
        std::string changes;
        for (const ProposedDefect& d : r.defects) {
            char b[96];
            std::snprintf(b, sizeof b, "%s%.2f %s %.2f", changes.empty() ? "" : "; ", d.depth,
                          changeKindKey(d.kind), d.beta);
            changes += b;
        }
        std::string conf = confidenceKey(r.confidence);
        if (!r.reason.empty()) conf += " (" + r.reason + ")";
        if (!r.lengthRemark.empty()) changes += (changes.empty() ? "" : "; ") + r.lengthRemark;
        if (!r.alternatives.empty()) {
            changes += changes.empty() ? "" : "; ";
            changes += "or " + std::string(romanClass(r.alternatives.front().integrityClass)) +
                       " (" + r.alternatives.front().label + ")";
        }
        std::printf("%-6d %-10s %9.3f %8.2f %-5s %-10s %8.3f  %s\n", r.point + 1, pile.c_str(),
                    r.toeTime * 1e3, r.toeDepth, romanClass(r.integrityClass), conf.c_str(),
                    r.residual, changes.empty() ? "-" : changes.c_str());
    }
    if (site.found)
        std::printf("site wave speed: %.0f m/s from %zu points\n", site.speed, site.points.size());
    else
        std::printf(
            "site wave speed: not found (fewer than five clear class I piles with a length)\n");
}

int runInterpret(const Args& args) {
    std::string in, out, pointsText;
    bool json = false, all = false;
    CLI::App app{"interpret"};
    app.add_option("FILE", in);
    app.add_option("-o,--output", out);
    app.add_option("--points", pointsText);
    app.add_flag("--json", json);
    app.add_flag("--all", all);
    if (std::string why = parseCommandLine(app, args); !why.empty()) return usage(why);
    if (in.empty()) return usage("FILE missing");
    if (all && out.empty()) return usage("--all needs -o");
    std::vector<long> numbers;
    if (!pointsText.empty() && !parsePointList(pointsText, numbers))
        return usage("bad point list '" + pointsText + "' (e.g. 1,3,5-8)");

    CSondaraDoc doc;
    if (int rc = loadProject(doc, in, out.empty() ? LoadFor::Reading : LoadFor::Writing)) return rc;
    std::vector<int> targets;
    if (std::string why = pointIndices(doc, numbers, targets); !why.empty()) return usage(why);
    std::vector<PointInterpretation> rows = interpretPoints(doc, targets);
    SiteWaveSpeed site = siteWaveSpeed(doc, rows);
    if (json)
        printJson(doc, rows, site);
    else
        printTable(doc, rows, site);
    if (out.empty()) return kExitOk;
    // As 全部采用: only the clear proposals become marks unless all are asked for.
    std::vector<PointInterpretation> taken;
    for (const PointInterpretation& r : rows)
        if (all || r.confidence == Confidence::Clear) taken.push_back(r);
    int changed = applyInterpretation(doc, taken);
    if (!json) std::printf("%d point(s) marked\n", changed);
    return saveProject(doc, out);
}

CliRegistrar reg{
    {"interpret", "fit the pile model to the traces and propose toe, defects and class",
     "usage: sondara-cli interpret FILE [--points LIST] [--json] [-o OUT.qar [--all]]\n"
     "Fits the one-dimensional pile model to every chosen point (all when --points is not\n"
     "given) and prints per point the toe echo (time after the blow, sample, depth at the\n"
     "point's wave speed), each impedance change (top depth, extent, narrowing or widening,\n"
     "beta = Z(change)/Z(pile)), the proposed integrity class (I..IV), the confidence\n"
     "(clear / uncertain with its reason) and the residual of the fit, a remark when the\n"
     "toe lies beyond what the entered length allows, the competing readings that the\n"
     "evidence does not rule out, then the site wave speed from the clear class I piles.\n"
     "LIST holds point numbers as the list shows them (1-based): 1,3,5-8. --json prints\n"
     "{\"points\":[...],\"siteWaveSpeed\":{...}} with 0-based indices; each point has\n"
     "\"alternatives\" (class, toe, defects, evidenceGap, label; best first), \"evidenceGap\"\n"
     "(to the nearest reading of another class, null when there is none) and \"lengthRemark\".\n"
     "Depths are null when the point's wave speed is not one a pile can have.\n"
     "-o writes a copy of the project with the clear proposals as marks (--all: every\n"
     "proposal): head at the blow, toe at its echo, 断桩 for narrowings with beta < 0.6,\n"
     "缩径 for other narrowings below 0.9, 扩径 for widenings, and the proposed class.\n"
     "Exit codes: 0 done, 1 bad arguments or no such point, 2 file error, 3 the file read\n"
     "only partly and nothing was written (--allow-partial writes the points read).",
     runInterpret}};

}  // namespace
}  // namespace sondara::cli
