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
#include "cli/DisplayArgs.h"
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
    return usageError("display", why, kUsage);
}

const char* kindName(PaneKind k) {
    switch (k) {
        case PaneKind::TimeTrace:
            return "TimeTrace";
        case PaneKind::AverageTrace:
            return "AverageTrace";
        case PaneKind::Correlation:
            return "Correlation";
        case PaneKind::Spectrum:
            return "Spectrum";
        case PaneKind::WaveletComponent:
            return "WaveletComponent";
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
    j.key("state")
        .beginObject()
        .field("fill", w.state.fill)
        .field("spectrumStyle", w.state.spectrumStyle)
        .field("positionMode", w.state.positionMode)
        .field("xOffset", w.state.xOffset)
        .field("hScaleMode", w.state.hScaleMode)
        .field("hScale", w.state.hScale)
        .field("vScaleMode", w.state.vScaleMode)
        .field("vScale", w.state.vScale)
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
    for (const AxisLabel& t : xa.ticks)
        j.beginObject().field("x", t.pos).field("text", t.text).endObject();
    j.endArray().endObject();
    const YAxis ya = YAxisLabels(w);
    j.key("yLabels").beginObject().field("unit", ya.unit);
    j.key("labels").beginArray();
    for (const AxisLabel& t : ya.labels)
        j.beginObject().field("y", t.pos).field("text", t.text).endObject();
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
        j.key("simulatedPile").beginObject().field("shapes", static_cast<int>(sp.shapes.size()));
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
        std::printf(
            "pane %d: %s [%s] point %d, %d samples, range %.2f..%.2f, %zu polyline points\n", i,
            w.title.c_str(), kindName(w.kind), w.pointIndex + 1, w.sampleCount, w.vMin, w.vMax,
            w.polyline.size());
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
    DisplayArgs d;
    if (std::string why = parseDisplayArgs(args, d, DisplayCommandLine::Display); !why.empty())
        return usage(why);
    CSondaraDoc doc;
    if (int rc = loadProject(doc, d.file, d.out.empty() ? LoadFor::Reading : LoadFor::Writing);
        rc != kExitOk)
        return rc;
    WaveDisplayModel model;
    if (std::string why = setUpDisplay(doc, model, d); !why.empty()) return usage(why);
    const AnalysisSelection& sel = d.sel;
    const std::vector<const DisplayCommandInfo*>& commands = d.commands;
    const std::string& out = d.out;
    const bool json = d.json, haveCursor = d.haveCursor;
    const long cursorX = d.cursorX;

    const std::vector<int> changed = runDisplayCommands(doc, model, d);
    if (!out.empty() && !commands.empty()) doc.setModified();
    if (!out.empty())
        if (int rc = saveProject(doc, out); rc != kExitOk) return rc;

    if (!json) {
        printText(doc, model, haveCursor, static_cast<int>(cursorX));
        return kExitOk;
    }
    JsonWriter j;
    j.beginObject();
    j.key("selection")
        .beginObject()
        .field("domain", domainName(sel.domain))
        .field("displaySet", displaySetName(sel.displaySet))
        .field("sub", sel.sub)
        .field("first", sel.first)
        .field("second", sel.second)
        .endObject();
    j.key("client")
        .beginObject()
        .field("width", model.clientWidth())
        .field("height", model.clientHeight())
        .endObject();
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
        j.key("speedAndLength")
            .beginObject()
            .field("enabled", sl.enabled)
            .field("speed", sl.speedText)
            .field("length", sl.lengthText)
            .field("speedGrey", sl.speedGrey)
            .field("lengthGrey", sl.lengthGrey)
            .endObject();
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
        "  --command NAME ...        display commands, e.g. auto-adjust, compress-h, "
        "fill-positive\n"
        "  --cursor X                readouts of every pane at pixel column X\n"
        "Exit codes: 0 ok, 1 bad arguments, 2 FILE cannot be read or OUT cannot be written\n"
        "(a read-only OUT is refused), 3 FILE read only partly and -o given (see\n"
        "--allow-partial). See docs/cli-display.md.\n",
    runDisplay}};

}  // namespace
}  // namespace sondara::cli
