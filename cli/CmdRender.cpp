// `sondara-cli render FILE -o OUT.png [display options]`: paints the waveform display of
// a project for an analysis selection into a PNG image, through the same painter as
// the desktop program's window. Works without a screen (Qt's offscreen platform).
#ifdef SONDARA_HAVE_RENDER

#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliDoc.h"
#include "core/display/WaveDisplayModel.h"
#include "render/DisplayRenderer.h"

namespace sondara::cli {
namespace {

const char* kUsage =
    "usage: sondara-cli render FILE -o OUT.png [--domain integrity|time|frequency|wavelet]\n"
    "         [--set single|multi|pile|checked|all|train] [--sub K] [--first N] [--second M]\n"
    "         [--point N] [--active K] [--scope current|all] [--traces N]\n"
    "         [--width W] [--height H] [--command NAME ...] [--cursor X] [--cross]\n"
    "         [--no-labels] [--no-pile] [--screen]\n";

int usage(const std::string& why) {
    std::fprintf(stderr, "render: %s\n%s", why.c_str(), kUsage);
    return kExitUsage;
}

bool parseInt(const std::string& s, long& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtol(s.c_str(), &end, 10);
    return !s.empty() && *end == '\0' && errno == 0 && out > -1000000000L && out < 1000000000L;
}

// The display a command line asks for: the options shared with `display`.
struct DisplayArgs {
    std::string file;
    std::string out;
    AnalysisSelection sel;
    bool haveSet = false;
    long point = 0, active = -1, width = 1200, height = 600, traces = 0;
    bool haveCursor = false;
    long cursorX = 0;
    int scope = -1;
    std::vector<const DisplayCommandInfo*> commands;
    // render only
    bool cross = false, noLabels = false, noPile = false, screenOnly = false;
};

// Parses the arguments; an empty string on success, else what is wrong.
std::string parseDisplayArgs(const Args& args, DisplayArgs& d) {
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
        if (a == "--domain") {
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
            for (const auto& [key, set] : kSets)
                if (v == key) d.sel.displaySet = set, found = true;
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
            if (!nextInt(d.width) || d.width < 100 || d.width > 8000)
                return "--width needs a size of 100..8000 pixels";
        } else if (a == "--height") {
            if (!nextInt(d.height) || d.height < 60 || d.height > 8000)
                return "--height needs a size of 60..8000 pixels";
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
        } else if (a == "--cross") {
            d.cross = true;
        } else if (a == "--no-labels") {
            d.noLabels = true;
        } else if (a == "--no-pile") {
            d.noPile = true;
        } else if (a == "--screen") {
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

// Painting needs a Qt GUI application; without a screen the offscreen platform serves.
std::unique_ptr<QGuiApplication> makeGuiApplication() {
    if (QGuiApplication::instance()) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "sondara-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int runRender(const Args& args) {
    DisplayArgs d;
    if (std::string why = parseDisplayArgs(args, d); !why.empty()) return usage(why);
    if (d.out.empty()) return usage("-o OUT.png is missing");

    CSondaraDoc doc;
    if (int rc = loadProject(doc, d.file); rc != kExitOk) return rc;
    if (d.point > 0) {
        if (d.point > doc.pointCount()) return usage("--point beyond the last point");
        doc.selectPoint(static_cast<int>(d.point - 1));
    } else if (doc.currentPoint < 0 && doc.pointCount() > 0) {
        doc.selectPoint(0);
    }

    auto app = makeGuiApplication();
    const render::DisplayRenderer renderer;
    WaveDisplayModel model(&renderer.metrics());
    DisplayOptions opts;
    if (d.scope >= 0) opts.editScope = d.scope;
    if (d.traces > 0) opts.traceCount = static_cast<int>(d.traces);
    if (d.noLabels) opts.showLabels = 0;
    if (d.noPile) opts.showSimulatedPile = 0;
    model.applyOptions(opts);
    model.setSelection(d.sel);
    model.cursorStyle = d.cross ? 1 : 2;
    model.setClientSize(static_cast<int>(d.width), static_cast<int>(d.height));
    if (d.active >= 0) model.setActivePane(static_cast<int>(d.active));
    model.rebuild(doc);
    if (d.active >= 0) {
        model.setActivePane(static_cast<int>(d.active));
        model.rebuild(doc);
    }
    for (const DisplayCommandInfo* c : d.commands) model.runCommand(doc, c->command);

    render::RenderOptions ro;
    ro.wholeContent = !d.screenOnly;
    ro.cursorStyle = model.cursorStyle;
    if (d.haveCursor && model.paneCount() > 0) {
        // The static cursor as a click at that column leaves it, in the active pane
        // (or the first), half-way down its plot; the information box shows it.
        const int pane = model.activePane() >= 0 ? model.activePane() : 0;
        const PixelRect plot = model.pane(pane).plotRect;
        model.click(static_cast<int>(d.cursorX), (plot.top + plot.bottom) / 2, false);
        ro.cursorInfo = true;
    }
    const QImage img = renderer.render(model, doc, QSize(static_cast<int>(d.width),
                                                         static_cast<int>(d.height)), ro);
    if (!img.save(QString::fromStdString(d.out), "PNG")) {
        std::fprintf(stderr, "render: cannot write %s\n", d.out.c_str());
        return kExitFile;
    }
    return kExitOk;
}

const CliRegistrar kRegistrar{CliCommand{
    "render", "paint the waveform display of a project into a PNG image",
    std::string(
        "sondara-cli render FILE -o OUT.png [options]\n"
        "Paints the waveform display of FILE for an analysis selection, as the desktop\n"
        "program shows it, into a PNG image. A display taller than the window (stacked\n"
        "panes) is painted whole unless --screen is given.\n") +
        kUsage +
        "  --sub, --first, --second  the bar's numbers (0-based: sub-analysis, first and second\n"
        "                            choice; wavelet: family, member index, levels index)\n"
        "  --point N                 the current point (1-based), default the first\n"
        "  --active K                the active pane (0-based)\n"
        "  --command NAME ...        display commands first, e.g. auto-adjust, fill-positive\n"
        "  --cursor X                the static cursor at pixel column X, with its readout box\n"
        "  --cross                   cross-hair cursors instead of vertical lines\n"
        "  --no-labels, --no-pile    without pane titles / without the simulated pile\n"
        "Exit codes: 0 ok, 1 bad arguments, 2 a file cannot be read or written.\n",
    runRender}};

}  // namespace
}  // namespace sondara::cli

#endif  // SONDARA_HAVE_RENDER
