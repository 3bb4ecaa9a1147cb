// `sondara-cli render FILE -o OUT.png [display options]`: paints the waveform display of
// a project for an analysis selection into a PNG image, through the same painter as
// the desktop program's window. Works without a screen (Qt's offscreen platform).
#ifdef SONDARA_HAVE_RENDER

#include <QBuffer>
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
#include "cli/DisplayArgs.h"
#include "cli/OutputArgs.h"
#include "core/base/ByteIo.h"
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
    return usageError("render", why, kUsage);
}

int runRender(const Args& args) {
    DisplayArgs d;
    if (std::string why = parseDisplayArgs(args, d, DisplayCommandLine::Render); !why.empty())
        return usage(why);
    if (d.out.empty()) return usage("-o OUT.png is missing");

    if (int rc = checkOutputs({d.out})) return rc;
    CSondaraDoc doc;
    if (int rc = loadProject(doc, d.file); rc != kExitOk) return rc;
    auto app = makeOutputGuiApplication();
    const render::DisplayRenderer renderer;
    WaveDisplayModel model(&renderer.metrics());
    if (std::string why = setUpDisplay(doc, model, d); !why.empty()) return usage(why);
    model.cursorStyle = d.cross ? 1 : 2;
    runDisplayCommands(doc, model, d);

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
    const QImage img = renderer.render(
        model, doc, QSize(static_cast<int>(d.width), static_cast<int>(d.height)), ro);
    // Encoded in memory, then written whole through the atomic writer: a full disk, a
    // kill or a second render at the same time never leaves a cut picture.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    std::string error;
    if (!img.save(&buffer, "PNG")) error = d.out + ": the picture could not be encoded";
    if (error.empty() &&
        WriteFileAtomically(
            d.out, std::string_view(png.constData(), static_cast<size_t>(png.size())), error))
        return kExitOk;
    printError(error);
    return kExitFile;
}

const CliRegistrar kRegistrar{CliCommand{
    "render", "paint the waveform display of a project into a PNG image",
    std::string("sondara-cli render FILE -o OUT.png [options]\n"
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
        "OUT.png is replaced only whole (a read-only OUT.png is refused).\n"
        "Exit codes: 0 ok, 1 bad arguments, 2 a file cannot be read or written.\n",
    runRender}};

}  // namespace
}  // namespace sondara::cli

#endif  // SONDARA_HAVE_RENDER
