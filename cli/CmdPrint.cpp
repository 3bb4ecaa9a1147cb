// `sondara-cli print FILE -o OUT.pdf [options]`: prints what the page settings select
// (the checked points' traces and spectra, the panes of a display) to a PDF file,
// laid out on pages as the desktop program prints them; or prints that layout as
// JSON. Works without a screen and without a printer.
#ifdef SONDARA_HAVE_RENDER

#include <unistd.h>

#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliDoc.h"
#include "cli/DisplayArgs.h"
#include "cli/JsonWriter.h"
#include "cli/OutputArgs.h"
#include "core/app/SettingsFile.h"
#include "core/base/ByteIo.h"
#include "core/output/PdfTextMend.h"
#include "core/output/PrintLayout.h"
#include "render/DisplayRenderer.h"
#include "render/PrintPageCells.h"
#include "render/PrintPagePainter.h"

namespace sondara::cli {
namespace {

const char* kUsage =
    "usage: sondara-cli print FILE (-o OUT.pdf | --layout-json) [--settings FILE.ini]\n"
    "         [--paper A4|A3|A5|B5|Letter|Legal|WxH] [--landscape] [--grid RxC|auto]\n"
    "         [--items trace,amplitude,power,cepstrum,log,display|none] [--no-table]\n"
    "         [--points all|none|LIST] [the display options of `render`]\n";

int usage(const std::string& why) {
    return usageError("print", why, kUsage);
}

bool parseSize(const std::string& text, double& w, double& h) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    char* end = nullptr;
    const std::string a = text.substr(0, x), b = text.substr(x + 1);
    w = std::strtod(a.c_str(), &end);
    if (a.empty() || *end) return false;
    h = std::strtod(b.c_str(), &end);
    if (b.empty() || *end) return false;
    return w >= 10 && w <= 2000 && h >= 10 && h <= 2000;
}

bool parsePaper(const std::string& name, double& w, double& h) {
    static const struct {
        const char* name;
        double w, h;
    } kPapers[] = {{"A3", 297, 420}, {"A4", 210, 297},         {"A5", 148, 210},
                   {"B5", 176, 250}, {"Letter", 215.9, 279.4}, {"Legal", 215.9, 355.6}};
    for (const auto& p : kPapers) {
        if (QString::fromStdString(name).compare(p.name, Qt::CaseInsensitive) == 0) {
            w = p.w;
            h = p.h;
            return true;
        }
    }
    return parseSize(name, w, h);
}

bool parseGrid(const std::string& text, PrintSettings& s) {
    if (text == "auto") {
        s.autoLayout = 1;
        return true;
    }
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    char* end = nullptr;
    const std::string a = text.substr(0, x), b = text.substr(x + 1);
    const long r = std::strtol(a.c_str(), &end, 10);
    if (a.empty() || *end) return false;
    const long c = std::strtol(b.c_str(), &end, 10);
    if (b.empty() || *end || r < 1 || r > kPrintGridMax || c < 1 || c > kPrintGridMax) return false;
    s.autoLayout = 0;
    s.rows = static_cast<int>(r);
    s.columns = static_cast<int>(c);
    return true;
}

bool parseItems(const std::string& text, PrintSettings& s) {
    s.perPointItems = {0, 0, 0, 0, 0};
    s.currentDisplay = 0;
    if (text == "none") return true;
    static const char* kNames[] = {"trace", "amplitude", "power", "cepstrum", "log"};
    std::size_t b = 0;
    while (b <= text.size()) {
        std::size_t e = text.find(',', b);
        if (e == std::string::npos) e = text.size();
        const std::string item = text.substr(b, e - b);
        bool known = false;
        for (int k = 0; k < 5; ++k) {
            if (item == kNames[k]) {
                s.perPointItems[static_cast<size_t>(k)] = 1;
                known = true;
            }
        }
        if (item == "display") {
            s.currentDisplay = 1;
            known = true;
        }
        if (!known) return false;
        b = e + 1;
    }
    return true;
}

const char* kindName(PrintItemKind k) {
    switch (k) {
        case PrintItemKind::DisplayPane:
            return "display";
        case PrintItemKind::Trace:
            return "trace";
        case PrintItemKind::Amplitude:
            return "amplitude";
        case PrintItemKind::Power:
            return "power";
        case PrintItemKind::Cepstrum:
            return "cepstrum";
        case PrintItemKind::LogSpectrum:
            return "log";
    }
    return "?";
}

std::string layoutJson(const PrintLayoutResult& r, double w, double h) {
    JsonWriter j;
    j.beginObject();
    j.field("pages", r.pages);
    if (!r.message.empty()) j.field("message", r.message);
    j.key("paper").beginObject().field("widthMm", w).field("heightMm", h).endObject();
    j.key("area")
        .beginObject()
        .field("left", r.left)
        .field("top", r.top)
        .field("right", r.right)
        .field("bottom", r.bottom)
        .endObject();
    j.key("margins")
        .beginObject()
        .field("top", r.marginTop)
        .field("bottom", r.marginBottom)
        .endObject();
    j.field("fontHeight", r.fontHeight);
    j.field("headerBand", r.headerBand);
    j.field("footerBand", r.footerBand);
    j.field("rows", r.rows);
    j.field("columns", r.columns);
    j.field("cellCount", r.itemCount);
    j.key("cells").beginArray();
    for (const PrintCellRecord& c : r.cells) {
        j.beginObject();
        j.field("kind", kindName(c.kind)).field("kindCode", static_cast<int>(c.kind));
        j.field("index", c.index).field("page", c.page);
        j.field("left", c.left)
            .field("top", c.top)
            .field("right", c.right)
            .field("bottom", c.bottom);
        j.endObject();
    }
    j.endArray();
    j.endObject();
    return j.str() + "\n";
}

int runPrint(const Args& args) {
    std::string settingsPath, paper = "A4", grid, items, checked;
    bool json = false, landscape = false, noTable = false;
    DisplayArgs d;
    CLI::App app{"print"};
    addDisplayOptions(app, d, DisplayCommandLine::Render);
    app.add_option("--settings", settingsPath);
    app.add_option("--paper", paper);
    app.add_option("--grid", grid);
    app.add_option("--items", items);
    app.add_option("--points,--checked", checked);
    app.add_flag("--layout-json", json);
    app.add_flag("--landscape", landscape);
    app.add_flag("--no-table", noTable);
    if (std::string why = parseCommandLine(app, args); !why.empty()) return usage(why);
    if (std::string why = finishDisplayArgs(d); !why.empty()) return usage(why);
    if (d.out.empty() && !json) return usage("-o OUT.pdf is missing");
    double paperW = 0, paperH = 0;
    if (!parsePaper(paper, paperW, paperH)) return usage("unknown paper '" + paper + "'");
    if (landscape) std::swap(paperW, paperH);

    PrintSettings s;
    if (!settingsPath.empty()) {
        std::string dir = ".", name = settingsPath;
        if (const std::size_t slash = settingsPath.rfind('/'); slash != std::string::npos) {
            dir = settingsPath.substr(0, slash + 1);
            name = settingsPath.substr(slash + 1);
        }
        const SettingsFile f(name, "MIR_QAR4_PRINT_001", dir.empty() ? "/" : dir);
        if (!f.read([&](ByteReader& r) { readPrintSettings(r, s); })) {
            printError(settingsPath + " is not a print settings file");
            return kExitFile;
        }
    }
    if (!grid.empty() && !parseGrid(grid, s)) return usage("--grid needs RxC (1..20 each) or auto");
    if (!items.empty() && !parseItems(items, s))
        return usage("unknown print item in '" + items + "'");
    if (noTable) s.printTable = 0;

    if (!json)
        if (int rc = checkOutputs({d.out})) return rc;
    CSondaraDoc doc;
    if (int rc = loadProject(doc, d.file, json ? LoadFor::Reading : LoadFor::Writing);
        rc != kExitOk)
        return rc;
    if (!checked.empty() && !applyCheckOption(doc, checked).empty())
        return usage("bad point list '" + checked + "' (all, none or e.g. 1,3,5-8)");
    auto guiApp = makeOutputGuiApplication();
    const render::DisplayRenderer renderer;
    WaveDisplayModel model(&renderer.metrics());
    if (std::string why = setUpDisplay(doc, model, d); !why.empty()) return usage(why);
    runDisplayCommands(doc, model, d);

    PrintLayoutInput in = render::PrintPageCells::describe(doc, model);
    in.paperWidthMm = paperW;
    in.paperHeightMm = paperH;
    CliPrompter prompter(false);
    const PrintLayoutResult layout = PrintLayout(s, in, json ? nullptr : &prompter);
    if (json) {
        std::fputs(layoutJson(layout, paperW, paperH).c_str(), stdout);
        return kExitOk;
    }
    // Nothing to print, or no room on the page: the message, exit 1, no file.
    if (layout.pages <= 0) {
        if (layout.message.empty()) printError("nothing fits on the page");
        return kExitUsage;
    }

    const QString title = QFileInfo(QString::fromStdString(d.file)).fileName();
    const PrintTableData table = render::PrintTableFor(doc, title.toStdString());

    // The PDF is made in memory and written whole through the atomic writer.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool ok;
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setCreator("sondara");
        pdf.setResolution(600);
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(paperW, paperH), QPageSize::Millimeter),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        render::PrintPageCells cells(doc, model, renderer);
        render::PrintPagePainter painter(s, layout, table, cells);
        ok = render::PrintPages(pdf, painter, layout.pages);
    }
    buffer.close();
    std::string bytes(buffer.data().constData(), static_cast<size_t>(buffer.data().size()));
    // The text of the pages as they show it (radicals named by the font's map mended).
    std::string error;
    if (!ok) error = d.out + ": the pages could not be painted";
    if (ok) ok = MendPdfBytes(bytes, d.out, error) && WriteFileAtomically(d.out, bytes, error);
    if (!ok) {
        printError(error);
        return kExitFile;
    }
    std::printf("%d\n", layout.pages);
    return kExitOk;
}

const CliRegistrar kRegistrar{CliCommand{
    "print", "print the checked points and the display on pages into a PDF file",
    std::string(
        "sondara-cli print FILE (-o OUT.pdf | --layout-json) [options]\n"
        "Lays out what the page settings select on pages, as the desktop program prints\n"
        "them: the time trace and the chosen spectra of every checked point, and the panes\n"
        "of the display given by the display options, several per page, under the page\n"
        "header, the header table, the footer and the page number. Writes a PDF and prints\n"
        "its page count, or prints the layout (pages, paper, area, cells) as JSON.\n") +
        kUsage +
        "  --settings FILE.ini   page settings as the desktop saves them "
        "(MIR_QAR4_PRINT_001.ini);\n"
        "                        the defaults without it\n"
        "  --paper               paper name or width x height in mm, default A4 (portrait)\n"
        "  --grid RxC|auto       cells per page (rows x columns) or the automatic grid\n"
        "  --items LIST          print items: trace amplitude power cepstrum log display\n"
        "  --no-table            without the header table\n"
        "  --points LIST         check these points first (1-based), 'all' or 'none'\n"
        "                        (--checked is the same)\n"
        "Exit codes: 0 ok, 1 bad arguments or nothing to print, 2 a file cannot be read or\n"
        "written (a read-only OUT.pdf is not replaced), 3 FILE read only partly and nothing\n"
        "written (see --allow-partial).\n",
    runPrint}};

}  // namespace
}  // namespace sondara::cli

#endif  // SONDARA_HAVE_RENDER
