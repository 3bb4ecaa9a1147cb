// `sondara-cli thumbnail IN.qar OUT.png [SIZE]`: the picture a file manager shows for
// a data file (freedesktop thumbnailer): the first checked point's trace, else the
// first point's, drawn as the display draws a point.
#ifdef SONDARA_HAVE_RENDER

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "cli/OutputArgs.h"
#include "core/display/WaveDisplayModel.h"
#include "core/fileio/ProjectFile.h"
#include "render/RenderItemToImage.h"

namespace sondara::cli {
namespace {

const char* kUsage = "usage: sondara-cli thumbnail IN.qar OUT.png [SIZE]\n";
constexpr int kDefaultSize = 256;
constexpr int kMaxSize = 4096;

int runThumbnail(const Args& args) {
    std::vector<std::string> positional;
    CLI::App app{"thumbnail"};
    app.add_option("IN.qar OUT.png SIZE", positional);
    if (std::string why = parseCommandLine(app, args); !why.empty())
        return usageError("thumbnail", why, kUsage);
    if (positional.size() < 2 || positional.size() > 3)
        return usageError("thumbnail", "IN.qar and OUT.png expected", kUsage);
    int size = kDefaultSize;
    if (positional.size() == 3) {
        std::size_t used = 0;
        try {
            size = std::stoi(positional[2], &used);
        } catch (...) {
            used = 0;
        }
        if (used != positional[2].size() || size < 1 || size > kMaxSize)
            return usageError("thumbnail", "SIZE must be a whole number of 1..4096", kUsage);
    }

    if (int rc = checkOutputs({positional[1]})) return rc;
    // A file that reads only partly is damaged: the file manager then shows the type's
    // icon rather than a picture of what happened to survive (exit 3), unless
    // --allow-partial asks for a picture of the points read.
    CSondaraDoc doc;
    if (int rc = loadProject(doc, positional[0], LoadFor::Writing)) return rc;
    if (doc.pointCount() == 0) {
        printError(positional[0] + ": no point");
        return kExitFile;
    }
    int point = 0;
    for (int i = 0; i < doc.pointCount(); ++i) {
        if (doc.points[i].checked != 0) {
            point = i;
            break;
        }
    }

    // Landscape 4:3, the long side SIZE: a trace reads along its time axis.
    const int width = size;
    const int height = std::max(1, size * 3 / 4);
    auto guiApp = makeOutputGuiApplication();
    WaveDisplayModel display;
    std::string error;
    if (!render::RenderItemToImage(doc, display, {ExportItem::Kind::CheckedPoint, point},
                                   positional[1], width, height, ImageFormat::Png, &error)) {
        printError(error.empty() ? positional[1] + ": cannot be drawn" : error);
        return kExitFile;
    }
    return kExitOk;
}

const CliRegistrar kRegistrar{CliCommand{
    "thumbnail", "draw a project's first checked trace as a PNG thumbnail (file managers)",
    "usage: sondara-cli thumbnail IN.qar OUT.png [SIZE]\n"
    "Draws the first checked point's trace of IN.qar (else the first point's) as the\n"
    "display draws it, into a PNG of SIZE x SIZE*3/4 pixels (SIZE 1..4096, default 256).\n"
    "OUT.png is written whole or not at all. Used by the file manager through\n"
    "share/thumbnailers/sondara.thumbnailer.\n"
    "Exit codes: 0 done, 1 bad arguments, 2 IN.qar unreadable (nothing written) or OUT.png\n"
    "cannot be written (a read-only OUT.png is not replaced), 3 IN.qar read only partly\n"
    "and nothing written: --allow-partial draws the points that were read.\n",
    runThumbnail}};

}  // namespace
}  // namespace sondara::cli

#endif  // SONDARA_HAVE_RENDER
