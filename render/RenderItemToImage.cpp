#include "render/RenderItemToImage.h"

#include <QBuffer>
#include <QPainter>
#include <atomic>
#include <memory>

#include "core/base/ByteIo.h"
#include "core/base/TrNoop.h"
#include "core/output/BmpFile.h"
#include "core/output/DocxReport.h"
#include "core/output/JpegFile.h"
#include "core/processing/ParallelFor.h"
#include "render/DisplayRenderer.h"

namespace sondara::render {

namespace {

constexpr int kJpegQuality = 100;

PaneDrawOptions drawOptions(const CSondaraDoc& doc, const WaveDisplayModel& model,
                            const WavePane& pane) {
    PaneDrawOptions o;
    o.showLabels = model.options().showLabels != 0;
    o.simulatedPile = model.showsSimulatedPile(pane);
    o.doc = &doc;
    o.infoItems = model.options().items;
    return o;
}

QImage whiteImage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

void paintSingle(QImage& img, const CSondaraDoc& doc, const WaveDisplayModel& model,
                 const WavePane& pane, const DisplayRenderer& r) {
    const PaneDrawOptions o = drawOptions(doc, model, pane);
    const WavePane laid =
        LayoutPaneInRect(pane, {0, 0, img.width(), img.height()}, o.simulatedPile, r.metrics());
    QPainter p(&img);
    r.panePainter().paint(p, laid, o);
}

// Draws checked points as the integrity display of the checked points shows them, with
// the window's display settings, the pane laid out in the picture. The stacked display
// of all points builds exactly the same pane for a point (same kind, title, state
// slot) and holds every point, so an item never depends on the points' check flags
// agreeing with the list it came from; its panes are materialised only when drawn.
class CheckedPointPainter {
public:
    CheckedPointPainter(const CSondaraDoc& doc, const WaveDisplayModel& display, int w, int h)
        : doc_(doc), model_(&renderer_.metrics()), w_(w), h_(h) {
        model_.options() = display.options();
        model_.paneHeight = std::max(20, h);
        AnalysisSelection s;
        s.domain = AnalysisDomain::Integrity;
        s.displaySet = DisplaySet::AllPoints;
        model_.setSelection(s);
        model_.setClientSize(w, h);
        model_.rebuild(doc);
    }

    QImage render(int point) {
        QImage img = whiteImage(w_, h_);
        const int pane = model_.paneOfPoint(point);
        if (pane < 0) return img;
        paintSingle(img, doc_, model_, model_.ensurePane(pane), renderer_);
        return img;
    }

private:
    const CSondaraDoc& doc_;
    DisplayRenderer renderer_;
    WaveDisplayModel model_;
    int w_, h_;
};

QImage renderWaveTrain(const CSondaraDoc& doc, WaveDisplayModel& display, int w, int h) {
    QImage img = whiteImage(w, h);
    const DisplayRenderer r;
    std::vector<WavePane> laid;
    std::vector<PaneDrawOptions> opts;
    int top = 0;
    for (int i = 0; i < display.paneCount() && top < h; ++i) {
        const WavePane& pane = display.ensurePane(i);
        PaneDrawOptions o = drawOptions(doc, display, pane);
        const int height = pane.paneRect.height();
        laid.push_back(
            LayoutPaneInRect(pane, {0, top, w, top + height}, o.simulatedPile, r.metrics()));
        o.curveClip = QRect(laid.back().plotRect.left, 0, laid.back().plotRect.width(), h);
        opts.push_back(std::move(o));
        top += height;
    }
    QPainter p(&img);
    for (PanePainter::Pass pass : PanePainter::kPasses)
        for (size_t k = 0; k < laid.size(); ++k)
            r.panePainter().paintPass(pass, p, laid[k], opts[k]);
    return img;
}

std::string encode(const QImage& img, ImageFormat format) {
    if (img.isNull()) return {};
    if (format == ImageFormat::Png) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!img.save(&buffer, "PNG")) return {};
        return bytes.toStdString();
    }
    const DibImage dib = ToDib(img);
    if (format == ImageFormat::Jpeg) {
        std::string error;
        return EncodeJpeg(dib, kJpegQuality, error);
    }
    return EncodeBmp(dib);
}

}  // namespace

DibImage ToDib(const QImage& source) {
    const QImage img = source.format() == QImage::Format_RGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
    DibImage d{img.width(), img.height(), {}};
    d.bits.resize(static_cast<size_t>(d.stride()) * static_cast<size_t>(d.height));
    for (int y = 0; y < d.height; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        std::uint8_t* dst =
            d.bits.data() + static_cast<size_t>(d.height - 1 - y) * static_cast<size_t>(d.stride());
        for (int x = 0; x < d.width; ++x) {
            dst[4 * x] = static_cast<std::uint8_t>(qBlue(src[x]));
            dst[4 * x + 1] = static_cast<std::uint8_t>(qGreen(src[x]));
            dst[4 * x + 2] = static_cast<std::uint8_t>(qRed(src[x]));
            dst[4 * x + 3] = 0;
        }
    }
    return d;
}

namespace {
// `r` draws the panes of the display: one for all the items of an export.
QImage renderItem(const CSondaraDoc& doc, WaveDisplayModel& display, const ExportItem& item,
                  int width, int height, const DisplayRenderer& r) {
    // The callers refuse a picture above the cap with its message; it is never drawn.
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxImagePixels)
        return {};
    switch (item.kind) {
        case ExportItem::Kind::CheckedPoint: {
            CheckedPointPainter painter(doc, display, width, height);
            return painter.render(item.index);
        }
        case ExportItem::Kind::DisplayPane: {
            QImage img = whiteImage(width, height);
            if (item.index >= 0 && item.index < display.paneCount())
                paintSingle(img, doc, display, display.ensurePane(item.index), r);
            return img;
        }
        case ExportItem::Kind::WaveTrain:
            return renderWaveTrain(doc, display, width, height);
    }
    return {};
}
}  // namespace

QImage RenderItem(const CSondaraDoc& doc, WaveDisplayModel& display, const ExportItem& item,
                  int width, int height) {
    return renderItem(doc, display, item, width, height, DisplayRenderer());
}

bool RenderItemToImage(const CSondaraDoc& doc, WaveDisplayModel& display, const ExportItem& item,
                       const std::string& path, int width, int height, ImageFormat format,
                       std::string* error) {
    if (width <= 0 || height <= 0) return false;
    const std::string bytes = encode(RenderItem(doc, display, item, width, height), format);
    if (bytes.empty()) return false;
    std::string why;
    if (WriteFileAtomically(path, bytes, why)) return true;
    if (error) *error = why;
    return false;
}

void RenderItems(const CSondaraDoc& doc, WaveDisplayModel& display,
                 const std::vector<ExportItem>& items, int width, int height, ImageFormat format,
                 const ItemSink& sink, const std::function<void(int, int)>& progress) {
    if (width <= 0 || height <= 0) return;
    const int total = static_cast<int>(items.size());
    // Panes of the window's display first, on this thread.
    std::vector<int> checked;
    int done = 0;
    const DisplayRenderer paneRenderer;
    for (int i = 0; i < total; ++i) {
        const ExportItem& item = items[static_cast<size_t>(i)];
        if (item.kind == ExportItem::Kind::CheckedPoint) {
            checked.push_back(i);
            continue;
        }
        sink(i, encode(renderItem(doc, display, item, width, height, paneRenderer), format));
        if (progress) progress(++done, total);
    }
    // Checked points on every core, each thread with its own painter and display.
    parallelFor(static_cast<int>(checked.size()), checked.size() > 1, [&](int begin, int end) {
        CheckedPointPainter painter(doc, display, width, height);
        for (int k = begin; k < end; ++k) {
            const int i = checked[static_cast<size_t>(k)];
            sink(i, encode(painter.render(items[static_cast<size_t>(i)].index), format));
        }
    });
    if (progress && !checked.empty()) progress(total, total);
}

std::vector<std::string> RenderItemsEncoded(const CSondaraDoc& doc, WaveDisplayModel& display,
                                            const std::vector<ExportItem>& items, int width,
                                            int height, ImageFormat format,
                                            const std::function<void(int, int)>& progress) {
    std::vector<std::string> out(items.size());
    RenderItems(
        doc, display, items, width, height, format,
        [&](int i, std::string bytes) { out[static_cast<size_t>(i)] = std::move(bytes); },
        progress);
    return out;
}

std::vector<std::string> RenderReportFigures(const CSondaraDoc& doc, WaveDisplayModel& display,
                                             const std::function<void(int, int)>& progress) {
    // the Word report follows the Chinese standard whatever the window speaks
    const SourceTextsScope chinese;
    return RenderItemsEncoded(doc, display, ExportItems(DataSelection::CheckedPoints, doc, display),
                              kReportFigureWidth, kReportFigureHeight, ImageFormat::Png, progress);
}

std::vector<std::string> WriteItemImages(const CSondaraDoc& doc, WaveDisplayModel& display,
                                         const std::vector<ExportItem>& items,
                                         const std::string& folder, int width, int height,
                                         ImageFormat format,
                                         const std::function<void(int, int)>& progress,
                                         std::vector<std::string>* failures) {
    // The names first: they read the display, which only this thread may touch.
    std::vector<std::string> paths;
    for (const ExportItem& item : items)
        paths.push_back(ExportFileName(item, folder, doc, display, format));
    std::vector<char> ok(items.size(), 0);
    std::vector<std::string> why(items.size());
    RenderItems(
        doc, display, items, width, height, format,
        [&](int i, std::string bytes) {
            const auto k = static_cast<size_t>(i);
            if (bytes.empty()) {
                why[k] = paths[k] + ": the picture could not be encoded";
                return;
            }
            ok[k] = WriteFileAtomically(paths[k], bytes, why[k]) ? 1 : 0;
        },
        progress);
    std::vector<std::string> written;
    for (size_t i = 0; i < items.size(); ++i) {
        if (ok[i])
            written.push_back(paths[i]);
        else if (failures)
            failures->push_back(why[i].empty() ? paths[i] : why[i]);
    }
    return written;
}

}  // namespace sondara::render
