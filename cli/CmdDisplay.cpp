// `sondara-cli display FILE ...`: builds the waveform display of a project for an
// analysis selection and prints what every pane shows (rectangles, ranges, polyline,
// marks, axis labels, readouts, information lines) and the target points of an edit,
// so that the display can be checked without a window. Display commands can be run
// first; with -o the project is saved with the display states they wrote.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliDoc.h"
#include "cli/JsonWriter.h"
#include "core/display/PaneTexts.h"
#include "core/display/SimulatedPile.h"
#include "core/display/WaveDisplayModel.h"

namespace sondara::cli {
namespace {

const char* kUsage =
    "usage: sondara-cli display FILE [--domain integrity|time|frequency|wavelet]\n"
    "         [--set single|multi|pile|checked|all|train] [--sub K] [--first N] [--second M]\n"
    "         [--point N] [--active K] [--scope current|all] [--traces N]\n"
    "         [--width W] [--height H] [--command NAME ...] [--cursor X] [-o OUT] [--json]\n";

int usage(const std::string& why) {
    std::fprintf(stderr, "display: %s\n%s", why.c_str(), kUsage);
    return kExitUsage;
}

bool parseInt(const std::string& s, long& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtol(s.c_str(), &end, 10);
    return !s.empty() && *end == '\0' && errno == 0 && out > -1000000000L && out < 1000000000L;
}

const char* kindName(PaneKind k) {
    switch (k) {
        case PaneKind::TimeTrace: return "TimeTrace";
        case PaneKind::AverageTrace: return "AverageTrace";
        case PaneKind::Correlation: return "Correlation";
        case PaneKind::Spectrum: return "Spectrum";
        case PaneKind::WaveletComponent: return "WaveletComponent";
    }
    return "";
}

const char* domainKey(AnalysisDomain d) {
    switch (d) {
        case AnalysisDomain::Integrity: return "integrity";
        case AnalysisDomain::TimeAnalysis: return "time";
        case AnalysisDomain::Frequency: return "frequency";
        case AnalysisDomain::Wavelet: return "wavelet";
    }
    return "";
}

const char* setKey(DisplaySet s) {
    switch (s) {
        case DisplaySet::SingleTrace: return "single";
        case DisplaySet::MultiTrace: return "multi";
        case DisplaySet::SamePile: return "pile";
        case DisplaySet::CheckedPoints: return "checked";
        case DisplaySet::AllPoints: return "all";
        case DisplaySet::WaveTrain: return "train";
    }
    return "";
}

void rect(JsonWriter& j, const char* key, const PixelRect& r) {
    j.key(key).beginArray().value(r.left).value(r.top).value(r.right).value(r.bottom).endArray();
}

void strings(JsonWriter& j, const char* key, const std::vector<std::string>& v) {
    j.key(key).beginArray();
    for (const std::string& s : v) j.value(s);
    j.endArray();
}

void ints(JsonWriter& j, const char* key, const std::vector<int>& v) {
    j.key(key).beginArray();
    for (int x : v) j.value(x);
    j.endArray();
}

void polyPoint(JsonWriter& j, const char* key, const PolylinePoint& p) {
    j.key(key).beginObject().field("x", p.x).field("y", p.y).field("sample", p.sample).endObject();
}

void line(JsonWriter& j, const char* key, const LineMark& m) {
    j.key(key).beginObject().field("visible", m.visible);
    if (m.visible) j.field("sample", m.sample).field("x", m.x).field("label", m.label);
    j.endObject();
}

void paneJson(JsonWriter& j, const CSondaraDoc& doc, WaveDisplayModel& model, int i,
              bool haveCursor, int cursorX) {
    const WavePane& p = model.pane(i);
    model.materialiseRows(p.paneRect.top, p.paneRect.bottom);
    const WavePane& w = model.ensurePane(i);
    j.beginObject();
    j.field("index", i).field("title", w.title).field("kind", kindName(w.kind));
    j.field("pointIndex", w.pointIndex).field("slot", w.slot);
    rect(j, "paneRect", w.paneRect);
    rect(j, "plotRect", w.plotRect);
    j.key("state").beginObject()
        .field("fill", w.state.fill).field("spectrumStyle", w.state.spectrumStyle)
        .field("positionMode", w.state.positionMode).field("xOffset", w.state.xOffset)
        .field("hScaleMode", w.state.hScaleMode).field("hScale", w.state.hScale)
        .field("vScaleMode", w.state.vScaleMode).field("vScale", w.state.vScale)
        .endObject();
    j.field("vMax", w.vMax).field("vMin", w.vMin).field("sampleCount", w.sampleCount);
    j.key("polyline").beginObject().field("count", static_cast<int>(w.polyline.size()));
    if (!w.polyline.empty()) {
        polyPoint(j, "first", w.polyline.front());
        polyPoint(j, "last", w.polyline.back());
    }
    j.endObject();
    j.field("zeroLineY", w.zeroLineY).field("zeroLineShown", w.zeroLineShown);
    line(j, "head", w.head);
    line(j, "toe", w.toe);
    j.key("marks").beginArray();
    for (const VisibleMark& m : w.marks) {
        j.beginObject().field("label", m.label);
        if (!m.label2.empty()) j.field("label2", m.label2);
        j.field("x", m.x).field("sample", m.sample).field("entry", m.entry).endObject();
    }
    j.endArray();
    const XAxis xa = XAxisLabels(w, model.metrics());
    j.key("xLabels").beginObject().field("unit", xa.unit).field("depth", xa.depth);
    j.key("ticks").beginArray();
    for (const AxisLabel& t : xa.ticks) j.beginObject().field("x", t.pos).field("text", t.text).endObject();
    j.endArray().endObject();
    const YAxis ya = YAxisLabels(w);
    j.key("yLabels").beginObject().field("unit", ya.unit);
    j.key("labels").beginArray();
    for (const AxisLabel& t : ya.labels) j.beginObject().field("y", t.pos).field("text", t.text).endObject();
    j.endArray().endObject();
    if (haveCursor) {
        std::vector<std::string> lines;
        if (cursorX >= w.plotRect.left && cursorX < w.plotRect.right) {
            const CursorState c = model.cursorAt(i, cursorX, w.plotRect.top);
            lines = c.readout;
            j.field("cursorSample", c.sample);
        }
        strings(j, "readout", lines);
    }
    strings(j, "infoLines", InfoText(doc, w, model.options().items));
    if (model.showsSimulatedPile(w)) {
        const SimulatedPile sp = BuildSimulatedPile(w);
        j.key("simulatedPile").beginObject()
            .field("shapes", static_cast<int>(sp.shapes.size()));
        ints(j, "drawnDefects", sp.drawnDefects);
        j.endObject();
    }
    j.endObject();
}

void printText(const CSondaraDoc& doc, WaveDisplayModel& model, bool haveCursor, int cursorX) {
    std::printf("%d panes, content height %d, active pane %d\n", model.paneCount(),
                model.contentHeight(), model.activePane());
    for (int i = 0; i < model.paneCount(); ++i) {
        const WavePane& p = model.pane(i);
        model.materialiseRows(p.paneRect.top, p.paneRect.bottom);
        const WavePane& w = model.ensurePane(i);
        std::printf("pane %d: %s [%s] point %d, %d samples, range %.2f..%.2f, %zu polyline points\n",
                    i, w.title.c_str(), kindName(w.kind), w.pointIndex + 1, w.sampleCount, w.vMin,
                    w.vMax, w.polyline.size());
        if (haveCursor && cursorX >= w.plotRect.left && cursorX < w.plotRect.right)
            for (const std::string& s : model.cursorAt(i, cursorX, w.plotRect.top).readout)
                std::printf("  %s\n", s.c_str());
        for (const std::string& s : InfoText(doc, w, model.options().items))
            std::printf("  | %s\n", s.c_str());
    }
    std::printf("targets:");
    for (int p : model.editTargets().points) std::printf(" %d", p + 1);
    std::printf("\n");
}

int runDisplay(const Args& args) {
    std::string file, out;
    AnalysisSelection sel;
    bool json = false, haveCursor = false, haveSet = false;
    long point = 0, active = -1, width = 1200, height = 600, cursorX = 0, traces = 0;
    int scope = -1;
    std::vector<const DisplayCommandInfo*> commands;

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
        if (a == "--json") {
            json = true;
        } else if (a == "--domain") {
            if (!next(v)) return usage("--domain needs a value");
            if (v == "integrity") sel.domain = AnalysisDomain::Integrity;
            else if (v == "time") sel.domain = AnalysisDomain::TimeAnalysis;
            else if (v == "frequency") sel.domain = AnalysisDomain::Frequency;
            else if (v == "wavelet") sel.domain = AnalysisDomain::Wavelet;
            else return usage("unknown domain '" + v + "'");
        } else if (a == "--set") {
            if (!next(v)) return usage("--set needs a value");
            bool found = false;
            for (DisplaySet s : {DisplaySet::SingleTrace, DisplaySet::MultiTrace, DisplaySet::SamePile,
                                 DisplaySet::CheckedPoints, DisplaySet::AllPoints, DisplaySet::WaveTrain})
                if (v == setKey(s)) sel.displaySet = s, found = true;
            if (!found) return usage("unknown display set '" + v + "'");
            haveSet = true;
        } else if (a == "--sub") {
            if (!nextInt(n)) return usage("--sub needs a whole number");
            sel.sub = static_cast<int>(n);
        } else if (a == "--first") {
            if (!nextInt(n)) return usage("--first needs a whole number");
            sel.first = static_cast<int>(n);
        } else if (a == "--second") {
            if (!nextInt(n)) return usage("--second needs a whole number");
            sel.second = static_cast<int>(n);
        } else if (a == "--point") {
            if (!nextInt(point) || point < 1) return usage("--point needs a point number from 1");
        } else if (a == "--active") {
            if (!nextInt(active) || active < 0) return usage("--active needs a pane index from 0");
        } else if (a == "--scope") {
            if (!next(v) || (v != "current" && v != "all")) return usage("--scope is current or all");
            scope = v == "all" ? 1 : 0;
        } else if (a == "--traces") {
            if (!nextInt(traces) || traces < 1 || traces > 6) return usage("--traces needs 1..6");
        } else if (a == "--width") {
            if (!nextInt(width) || width < 1 || width > 100000) return usage("--width needs a size in pixels");
        } else if (a == "--height") {
            if (!nextInt(height) || height < 1 || height > 100000) return usage("--height needs a size in pixels");
        } else if (a == "--cursor") {
            if (!nextInt(cursorX)) return usage("--cursor needs a pixel column");
            haveCursor = true;
        } else if (a == "-o" || a == "--output") {
            if (!next(out)) return usage("-o needs a file");
        } else if (a == "--command") {
            if (i + 1 >= args.size()) return usage("--command needs a name");
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0 && args[i + 1] != "-o") {
                const DisplayCommandInfo* c = FindDisplayCommand(args[++i]);
                if (!c) return usage("unknown display command '" + args[i] + "'");
                commands.push_back(c);
            }
        } else if (!a.empty() && a[0] == '-') {
            return usage("unknown option " + a);
        } else if (file.empty()) {
            file = a;
        } else {
            return usage("only one FILE");
        }
    }
    if (file.empty()) return usage("FILE is missing");
    if (!haveSet && sel.domain != AnalysisDomain::Integrity && sel.domain != AnalysisDomain::Frequency)
        sel.displaySet = DisplaySet::SingleTrace;

    CSondaraDoc doc;
    if (int rc = loadProject(doc, file); rc != kExitOk) return rc;
    if (point > 0) {
        if (point > doc.pointCount()) return usage("--point beyond the last point");
        doc.selectPoint(static_cast<int>(point - 1));
    } else if (doc.currentPoint < 0 && doc.pointCount() > 0) {
        doc.selectPoint(0);
    }

    WaveDisplayModel model;
    DisplayOptions opts;
    if (scope >= 0) opts.editScope = scope;
    if (traces > 0) opts.traceCount = static_cast<int>(traces);
    model.applyOptions(opts);
    model.setSelection(sel);
    model.setClientSize(static_cast<int>(width), static_cast<int>(height));
    if (active >= 0) model.setActivePane(static_cast<int>(active));
    model.rebuild(doc);
    // A pane chosen before the build (it fixes the 多道分析 layout) stays the active one.
    if (active >= 0) {
        model.setActivePane(static_cast<int>(active));
        model.rebuild(doc);
    }

    std::vector<int> changed;
    for (const DisplayCommandInfo* c : commands) {
        auto pts = model.runCommand(doc, c->command);
        changed.insert(changed.end(), pts.begin(), pts.end());
    }
    if (!out.empty() && !commands.empty()) doc.setModified();
    if (!out.empty())
        if (int rc = saveProject(doc, out); rc != kExitOk) return rc;

    if (!json) {
        printText(doc, model, haveCursor, static_cast<int>(cursorX));
        return kExitOk;
    }
    JsonWriter j;
    j.beginObject();
    j.key("selection").beginObject()
        .field("domain", domainKey(sel.domain)).field("displaySet", setKey(sel.displaySet))
        .field("sub", sel.sub).field("first", sel.first).field("second", sel.second).endObject();
    j.key("client").beginObject().field("width", model.clientWidth())
        .field("height", model.clientHeight()).endObject();
    j.field("contentHeight", model.contentHeight()).field("scrolls", model.scrollsVertically());
    j.field("activePane", model.activePane()).field("currentPoint", doc.currentPoint);
    j.key("panes").beginArray();
    for (int i = 0; i < model.paneCount(); ++i)
        paneJson(j, doc, model, i, haveCursor, static_cast<int>(cursorX));
    j.endArray();
    const EditTargets t = model.editTargets();
    j.key("targets").beginObject();
    ints(j, "points", t.points);
    ints(j, "paneNumbers", t.paneNumbers);
    j.endObject();
    ints(j, "processingTargets", model.processingTargets());
    const SpeedLengthView sl = model.speedAndLength();
    if (sl.applies) {
        j.key("speedAndLength").beginObject().field("enabled", sl.enabled)
            .field("speed", sl.speedText).field("length", sl.lengthText)
            .field("speedGrey", sl.speedGrey).field("lengthGrey", sl.lengthGrey).endObject();
    }
    if (!commands.empty()) ints(j, "changedPoints", changed);
    j.endObject();
    std::printf("%s\n", j.str().c_str());
    return kExitOk;
}

const CliRegistrar kRegistrar{CliCommand{
    "display", "show what the waveform display shows for an analysis selection",
    std::string(
        "sondara-cli display FILE [options] [--json]\n"
        "Builds the waveform display of FILE for an analysis selection and prints every pane.\n") +
        kUsage +
        "  --sub, --first, --second  the bar's numbers (0-based: sub-analysis, first and second\n"
        "                            choice; wavelet: family, member index, levels index)\n"
        "  --point N                 the current point (1-based), default the first\n"
        "  --active K                the active pane (0-based)\n"
        "  --command NAME ...        display commands, e.g. auto-adjust, compress-h, fill-positive\n"
        "  --cursor X                readouts of every pane at pixel column X\n"
        "See docs/cli-display.md.\n",
    runDisplay}};

}  // namespace
}  // namespace sondara::cli
