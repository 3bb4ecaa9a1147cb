#include "cli/DisplayArgs.h"

#include <cerrno>
#include <cstdlib>

namespace sondara::cli {

namespace {
bool parseInt(const std::string& s, long& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtol(s.c_str(), &end, 10);
    return !s.empty() && *end == '\0' && errno == 0 && out > -1000000000L && out < 1000000000L;
}
}  // namespace

std::string parseDisplayArgs(const Args& args, DisplayArgs& d, DisplayCommandLine which) {
    const bool render = which == DisplayCommandLine::Render;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto next = [&](std::string& v) {
            if (i + 1 >= args.size()) return false;
            v = args[++i];
            return true;
        };
        auto nextInt = [&](long& v) {
            std::string s;
            return next(s) && parseInt(s, v);
        };
        std::string v;
        long n = 0;
        if (a == "--json" && !render) {
            d.json = true;
        } else if (a == "--domain") {
            if (!next(v)) return "--domain needs a value";
            if (v == "integrity") d.sel.domain = AnalysisDomain::Integrity;
            else if (v == "time") d.sel.domain = AnalysisDomain::TimeAnalysis;
            else if (v == "frequency") d.sel.domain = AnalysisDomain::Frequency;
            else if (v == "wavelet") d.sel.domain = AnalysisDomain::Wavelet;
            else return "unknown domain '" + v + "'";
        } else if (a == "--set") {
            if (!next(v)) return "--set needs a value";
            static const std::pair<const char*, DisplaySet> kSets[] = {
                {"single", DisplaySet::SingleTrace}, {"multi", DisplaySet::MultiTrace},
                {"pile", DisplaySet::SamePile},      {"checked", DisplaySet::CheckedPoints},
                {"all", DisplaySet::AllPoints},      {"train", DisplaySet::WaveTrain}};
            bool found = false;
            for (const auto& [key, set] : kSets) {
                if (v == key) {
                    d.sel.displaySet = set;
                    found = true;
                }
            }
            if (!found) return "unknown display set '" + v + "'";
            d.haveSet = true;
        } else if (a == "--sub") {
            if (!nextInt(n)) return "--sub needs a whole number";
            d.sel.sub = static_cast<int>(n);
        } else if (a == "--first") {
            if (!nextInt(n)) return "--first needs a whole number";
            d.sel.first = static_cast<int>(n);
        } else if (a == "--second") {
            if (!nextInt(n)) return "--second needs a whole number";
            d.sel.second = static_cast<int>(n);
        } else if (a == "--point") {
            if (!nextInt(d.point) || d.point < 1) return "--point needs a point number from 1";
        } else if (a == "--active") {
            if (!nextInt(d.active) || d.active < 0) return "--active needs a pane index from 0";
        } else if (a == "--scope") {
            if (!next(v) || (v != "current" && v != "all")) return "--scope is current or all";
            d.scope = v == "all" ? 1 : 0;
        } else if (a == "--traces") {
            if (!nextInt(d.traces) || d.traces < 1 || d.traces > 6) return "--traces needs 1..6";
        } else if (a == "--width") {
            // an image is kept to a size it can be painted and written at
            const long lo = render ? 100 : 1, hi = render ? 8000 : 100000;
            if (!nextInt(d.width) || d.width < lo || d.width > hi)
                return "--width needs a size of " + std::to_string(lo) + ".." + std::to_string(hi) + " pixels";
        } else if (a == "--height") {
            const long lo = render ? 60 : 1, hi = render ? 8000 : 100000;
            if (!nextInt(d.height) || d.height < lo || d.height > hi)
                return "--height needs a size of " + std::to_string(lo) + ".." + std::to_string(hi) + " pixels";
        } else if (a == "--cursor") {
            if (!nextInt(d.cursorX)) return "--cursor needs a pixel column";
            d.haveCursor = true;
        } else if (a == "-o" || a == "--output") {
            if (!next(d.out)) return "-o needs a file";
        } else if (a == "--command") {
            if (i + 1 >= args.size()) return "--command needs a name";
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0 && args[i + 1] != "-o") {
                const DisplayCommandInfo* c = FindDisplayCommand(args[++i]);
                if (!c) return "unknown display command '" + args[i] + "'";
                d.commands.push_back(c);
            }
        } else if (render && a == "--cross") {
            d.cross = true;
        } else if (render && a == "--no-labels") {
            d.noLabels = true;
        } else if (render && a == "--no-pile") {
            d.noPile = true;
        } else if (render && a == "--screen") {
            d.screenOnly = true;
        } else if (!a.empty() && a[0] == '-') {
            return "unknown option " + a;
        } else if (d.file.empty()) {
            d.file = a;
        } else {
            return "only one FILE";
        }
    }
    if (d.file.empty()) return "FILE is missing";
    if (!d.haveSet && d.sel.domain != AnalysisDomain::Integrity &&
        d.sel.domain != AnalysisDomain::Frequency)
        d.sel.displaySet = DisplaySet::SingleTrace;
    return {};
}

std::string setUpDisplay(CSondaraDoc& doc, WaveDisplayModel& model, const DisplayArgs& d,
                         DisplayOptions opts) {
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

}  // namespace sondara::cli
