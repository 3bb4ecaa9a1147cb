// `sondara-cli image FILE -o DIR`: 保存图形 without a window. Draws the checked points
// or the panes of a display into BMP or JPEG files named as the desktop names them,
// or into a Word document of pictures.
#ifdef SONDARA_HAVE_RENDER

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>

#include "cli/CliDoc.h"
#include "cli/DisplayArgs.h"
#include "cli/OutputArgs.h"
#include "core/app/AppPaths.h"
#include "core/output/DocxReport.h"
#include "core/output/SaveImageForm.h"
#include "render/DisplayRenderer.h"
#include "render/RenderItemToImage.h"

namespace sondara::cli {
namespace {

const char* kUsage =
    "usage: sondara-cli image FILE -o DIR [--items checked|display] [--format bmp|jpeg]\n"
    "         [--size WxH] [--points all|none|LIST] [--word OUT.docx [--columns C]]\n"
    "         [display options of `render`: --domain, --set, --sub, --first, --second,\n"
    "          --point, --active, --traces, --width, --height, --command, --no-labels, "
    "--no-pile]\n";

int usage(const std::string& why) {
    return usageError("image", why, kUsage);
}

int runImage(const Args& args) {
    std::string items, format = "bmp", size, check, word;
    long columns = 1;
    DisplayArgs d;
    CLI::App app{"image"};
    addDisplayOptions(app, d, DisplayCommandLine::Render);
    app.add_option("--items", items)->check(CLI::IsMember({"checked", "display"}));
    app.add_option("--format", format)->check(CLI::IsMember({"bmp", "jpeg", "jpg"}));
    app.add_option("--size", size);
    app.add_option("--points,--check", check);
    app.add_option("--word", word);
    app.add_option("--columns", columns)->check(CLI::Range(1L, long{kMaxWordColumns}));
    if (std::string why = parseCommandLine(app, args); !why.empty()) return usage(why);
    if (std::string why = finishDisplayArgs(d); !why.empty()) return usage(why);
    if (d.out.empty() && word.empty()) return usage("-o DIR is missing");

    if (int rc = checkOutputs({word})) return rc;
    CSondaraDoc doc;
    if (int rc = loadProject(doc, d.file); rc != kExitOk) return rc;
    if (!check.empty())
        if (std::string why = applyCheckOption(doc, check); !why.empty()) return usage(why);
    auto guiApp = makeOutputGuiApplication();
    const render::DisplayRenderer renderer;
    WaveDisplayModel model(&renderer.metrics());
    if (std::string why = setUpDisplay(doc, model, d); !why.empty()) return usage(why);
    runDisplayCommands(doc, model, d);

    const std::vector<DataSelection> offered =
        OfferedSelections(model.paneCount(), static_cast<int>(doc.checkedList.size()));
    if (offered.empty()) {
        printError(kNothingToExport);
        return kExitUsage;
    }
    DataSelection sel = offered.back();  // the checked points when there are any
    if (items == "display") sel = DataSelection::CurrentDisplay;
    if (items == "checked") sel = DataSelection::CheckedPoints;
    if (std::find(offered.begin(), offered.end(), sel) == offered.end())
        return usage(sel == DataSelection::CheckedPoints ? "no point is checked (see --points)"
                                                         : "the display shows nothing");
    int w = 530, h = 145;
    if (!size.empty()) {
        if (!parseImageSize(size, w, h)) return usage("--size needs WxH with sides of 1..99999");
    } else if (sel == DataSelection::CurrentDisplay) {
        const ImageSize z = CurrentDisplaySize(model);
        if (z.width > 0 && z.height > 0) {
            w = z.width;
            h = z.height;
        }
    }
    if (!word.empty() && columns > 1) w = ColumnWidth(static_cast<int>(columns));
    if (const std::string tooLarge = ImageSizeRefusal(w, h); !tooLarge.empty()) {
        printError(tooLarge);
        return kExitUsage;
    }
    const ImageFormat fmt = format == "bmp" ? ImageFormat::Bmp : ImageFormat::Jpeg;
    const std::vector<ExportItem> list = ExportItems(sel, doc, model);

    if (!word.empty()) {
        std::vector<std::string> pictures = render::RenderItemsEncoded(doc, model, list, w, h, fmt);
        std::erase_if(pictures, [](const std::string& p) { return p.empty(); });
        std::string error;
        if (pictures.empty() || !WritePictureDocument(pictures, ImageExtension(fmt), w, h,
                                                      static_cast<int>(columns), word, error)) {
            printError(std::string(kCreateFileFailed) + " " + error);
            return kExitFile;
        }
        std::printf("%s\n", word.c_str());
        return kExitOk;
    }
    std::string folder = d.out;
    makeDirs(folder);  // a folder that cannot be made fails the writing below
    if (folder.back() != '/') folder += '/';
    std::vector<std::string> failed;
    const std::vector<std::string> written =
        render::WriteItemImages(doc, model, list, folder, w, h, fmt, {}, &failed);
    for (const std::string& p : written) std::printf("%s\n", p.c_str());
    if (failed.empty()) return kExitOk;
    // A part of the set (a full disk, a read-only picture): which ones are there and
    // which are not, on stderr as well, so that a script that reads only stderr knows.
    printError(std::string(kCreateFileFailed) + " " + std::to_string(written.size()) + " of " +
               std::to_string(list.size()) + " pictures written");
    for (const std::string& p : written) printError("written: " + p);
    for (const std::string& f : failed) printError("not written: " + f);
    return kExitFile;
}

const CliRegistrar kRegistrar{CliCommand{
    "image", "save traces as BMP or JPEG pictures (保存图形)",
    std::string(
        "sondara-cli image FILE -o DIR [options]\n"
        "Draws each checked point (\"NO.%d\" as in the integrity display of the checked\n"
        "points), or each pane of the display (the whole wave train as one picture), into\n"
        "a white picture of the chosen size and writes it into DIR as \"NO<n>：<pile>.bmp\"\n"
        "(or .jpg; the wave train as \"波列.bmp\"). With --word the pictures go into a Word\n"
        "document instead, centred, C per row.\n") +
        kUsage +
        "  --items      checked points (default when points are checked) or the display's panes\n"
        "  --size WxH   picture size (default 530x145; the display's size for its panes)\n"
        "  --points     check these points first, e.g. 1,3,5-8 (the file is not changed;\n"
        "               --check is the same)\n"
        "  --columns C  pictures per row of the Word document; their width is 530 / C\n"
        "Prints the files written. Each file is replaced only whole; a read-only one is\n"
        "refused. When not every picture could be written, stderr names the pictures\n"
        "written and those not written with the reason.\n"
        "Exit codes: 0 ok, 1 bad arguments or nothing to draw, 2 no file (or not every\n"
        "file) could be written.\n",
    runImage}};

}  // namespace
}  // namespace sondara::cli

#endif  // SONDARA_HAVE_RENDER
