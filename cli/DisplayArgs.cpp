#include "cli/DisplayArgs.h"

#include <map>

#include "cli/CommandLine.h"

namespace sondara::cli {

namespace {

const std::map<std::string, AnalysisDomain> kDomains = {{"integrity", AnalysisDomain::Integrity},
                                                        {"time", AnalysisDomain::TimeAnalysis},
                                                        {"frequency", AnalysisDomain::Frequency},
                                                        {"wavelet", AnalysisDomain::Wavelet}};

const std::map<std::string, DisplaySet> kSets = {
    {"single", DisplaySet::SingleTrace}, {"multi", DisplaySet::MultiTrace},
    {"pile", DisplaySet::SamePile},      {"checked", DisplaySet::CheckedPoints},
    {"all", DisplaySet::AllPoints},      {"train", DisplaySet::WaveTrain}};

template <class Map, class Value>
std::string keyOf(const Map& map, Value v) {
    for (const auto& [key, value] : map)
        if (value == v) return key;
    return {};
}

}  // namespace

std::string domainName(AnalysisDomain d) {
    return keyOf(kDomains, d);
}

std::string displaySetName(DisplaySet s) {
    return keyOf(kSets, s);
}

void addDisplayOptions(CLI::App& app, DisplayArgs& d, DisplayCommandLine which) {
    const bool render = which == DisplayCommandLine::Render;
    app.add_option("FILE", d.file, "the data file")->required();
    app.add_option("--domain", d.sel.domain)->transform(CLI::CheckedTransformer(kDomains));
    app.add_option("--set", d.sel.displaySet)
        ->transform(CLI::CheckedTransformer(kSets))
        ->each([&d](const std::string&) { d.haveSet = true; });
    app.add_option("--sub", d.sel.sub);
    app.add_option("--first", d.sel.first);
    app.add_option("--second", d.sel.second);
    app.add_option("--point", d.point)->check(CLI::Range(1L, 999999999L));
    app.add_option("--active", d.active)->check(CLI::Range(0L, 999999999L));
    app.add_option("--scope", d.scope)
        ->transform(
            CLI::CheckedTransformer(std::map<std::string, int>{{"current", 0}, {"all", 1}}));
    app.add_option("--traces", d.traces)->check(CLI::Range(1L, 6L));
    // an image is kept to a size it can be painted and written at
    app.add_option("--width", d.width)
        ->check(CLI::Range(render ? 100L : 1L, render ? 8000L : 100000L));
    app.add_option("--height", d.height)
        ->check(CLI::Range(render ? 60L : 1L, render ? 8000L : 100000L));
    app.add_option("--cursor", d.cursorX)->each([&d](const std::string&) { d.haveCursor = true; });
    app.add_option("-o,--output", d.out);
    app.add_option("--command", d.commandNames)->expected(1, -1);
    if (render) {
        app.add_flag("--cross", d.cross);
        app.add_flag("--no-labels", d.noLabels);
        app.add_flag("--no-pile", d.noPile);
        app.add_flag("--screen", d.screenOnly);
    } else {
        app.add_flag("--json", d.json);
    }
}

std::string finishDisplayArgs(DisplayArgs& d) {
    for (const std::string& name : d.commandNames) {
        const DisplayCommandInfo* c = FindDisplayCommand(name);
        if (!c) return "unknown display command '" + name + "'";
        d.commands.push_back(c);
    }
    if (!d.haveSet && d.sel.domain != AnalysisDomain::Integrity &&
        d.sel.domain != AnalysisDomain::Frequency)
        d.sel.displaySet = DisplaySet::SingleTrace;
    return {};
}

std::string parseDisplayArgs(const Args& args, DisplayArgs& d, DisplayCommandLine which) {
    CLI::App app{which == DisplayCommandLine::Render ? "render" : "display"};
    addDisplayOptions(app, d, which);
    if (std::string why = parseCommandLine(app, args); !why.empty()) return why;
    return finishDisplayArgs(d);
}

std::string setUpDisplay(CSondaraDoc& doc, WaveDisplayModel& model, const DisplayArgs& d) {
    DisplayOptions opts;
    if (d.noLabels) opts.showLabels = 0;
    if (d.noPile) opts.showSimulatedPile = 0;
    if (d.point > 0) {
        if (d.point > doc.pointCount()) return "--point beyond the last point";
        doc.selectPoint(static_cast<int>(d.point - 1));
    } else if (doc.currentPoint < 0 && doc.pointCount() > 0) {
        doc.selectPoint(0);
    }
    if (d.scope >= 0) opts.editScope = d.scope;
    if (d.traces > 0) opts.traceCount = static_cast<int>(d.traces);
    model.applyOptions(opts);
    model.setSelection(d.sel);
    model.setClientSize(static_cast<int>(d.width), static_cast<int>(d.height));
    if (d.active >= 0) model.setActivePane(static_cast<int>(d.active));
    model.rebuild(doc);
    // A pane chosen before the build (it fixes the 多道分析 layout) stays the active one.
    if (d.active >= 0) {
        model.setActivePane(static_cast<int>(d.active));
        model.rebuild(doc);
    }
    return {};
}

std::vector<int> runDisplayCommands(CSondaraDoc& doc, WaveDisplayModel& model,
                                    const DisplayArgs& d) {
    std::vector<int> changed;
    for (const DisplayCommandInfo* c : d.commands) {
        const std::vector<int> pts = model.runCommand(doc, c->command);
        changed.insert(changed.end(), pts.begin(), pts.end());
    }
    return changed;
}

}  // namespace sondara::cli
