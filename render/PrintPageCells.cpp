#include "render/PrintPageCells.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/analysis/Spectra.h"

namespace sondara::render {

namespace {
constexpr int kMaxPictureHeight = 16000;

bool integrityWaveTrain(const WaveDisplayModel& m) {
    return m.selection().domain == AnalysisDomain::Integrity &&
           m.selection().displaySet == DisplaySet::WaveTrain;
}
}  // namespace

PrintPageCells::PrintPageCells(const CSondaraDoc& doc, WaveDisplayModel& display,
                               const DisplayRenderer& renderer, double pixelRatio)
    : doc_(doc), display_(display), renderer_(renderer), ratio_(std::clamp(pixelRatio, 1.0, 8.0)) {}

PrintLayoutInput PrintPageCells::describe(const CSondaraDoc& doc, const WaveDisplayModel& display) {
    PrintLayoutInput in;
    in.pointCount = doc.pointCount();
    in.checkedCount = static_cast<int>(std::count_if(
        doc.points.begin(), doc.points.end(), [](const TestPoint& p) { return p.checked != 0; }));
    in.paneCount = display.paneCount();
    in.integrityWaveTrain = integrityWaveTrain(display);
    in.clientWidth = display.clientWidth();
    in.paneHeight = display.paneHeight;
    in.waveTrainHeight = display.waveTrainHeight;
    return in;
}

WaveDisplayModel& PrintPageCells::modelFor(PrintItemKind kind) {
    auto& slot = scratch_[kind];
    if (!slot) {
        slot = std::make_unique<WaveDisplayModel>(&renderer_.metrics());
        WaveDisplayModel& m = *slot;
        m.applyOptions(display_.options());
        m.paneHeight = display_.paneHeight;
        m.waveTrainHeight = display_.waveTrainHeight;
        m.setClientSize(display_.clientWidth(), display_.clientHeight());
        AnalysisSelection sel;
        sel.displaySet = DisplaySet::CheckedPoints;
        if (kind == PrintItemKind::Trace) {
            sel.domain = AnalysisDomain::Integrity;
        } else {
            sel.domain = AnalysisDomain::Frequency;
            const SpectrumKind spectra[] = {SpectrumKind::Amplitude, SpectrumKind::AutoPower,
                                            SpectrumKind::Cepstrum, SpectrumKind::LogSpectrum};
            sel.sub = static_cast<int>(spectra[static_cast<int>(kind) - 2]);
        }
        m.setSelection(sel);
        m.rebuild(doc_);
    }
    return *slot;
}

PrintPageCells::Picture PrintPageCells::picture(const PrintCellRecord& cell) {
    Picture out;
    if (cell.width() <= 0) return out;
    WaveDisplayModel& m = cell.kind == PrintItemKind::DisplayPane ? display_ : modelFor(cell.kind);
    const int clientW = std::max(1, m.clientWidth());
    const bool train =
        cell.kind == PrintItemKind::DisplayPane && integrityWaveTrain(m) && m.paneCount() > 0;
    if (!train && (cell.index < 0 || cell.index >= m.paneCount())) return out;

    int height = m.paneHeight;
    if (train) {
        const double h =
            static_cast<double>(m.waveTrainHeight) * m.paneCount() * clientW / cell.width();
        height = static_cast<int>(std::min<double>(h, kMaxPictureHeight));
    }
    height = std::clamp(height, 1, kMaxPictureHeight);

    QImage img(static_cast<int>(std::ceil((clientW + 1) * ratio_)),
               static_cast<int>(std::ceil((height + 1) * ratio_)), QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio_);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        const PanePainter& painter = renderer_.panePainter();
        auto draw = [&](int i, const PixelRect& rect, bool waveTrainStrip) {
            const WavePane& src = m.ensurePane(i);
            const bool pile = m.showsSimulatedPile(src);
            WavePane w = LayoutPaneInRect(src, rect, pile, renderer_.metrics());
            PaneDrawOptions o;
            o.showLabels = m.options().showLabels != 0;
            o.simulatedPile = pile;
            o.doc = &doc_;
            o.infoItems = m.options().items;
            if (waveTrainStrip) o.curveClip = QRect(w.plotRect.left, 0, w.plotRect.width(), height);
            painter.paint(p, w, o);
        };
        if (train) {
            const double strip = static_cast<double>(height) / m.paneCount();
            for (int i = 0; i < m.paneCount(); ++i) {
                const PixelRect r{0, static_cast<int>(strip * i), clientW,
                                  static_cast<int>(strip * (i + 1))};
                if (r.bottom > r.top) draw(i, r, true);
            }
        } else {
            draw(cell.index, PixelRect{0, 0, clientW, height}, false);
        }
    }
    img.setDevicePixelRatio(1.0);
    out.image = std::move(img);
    out.source = QRectF(0, 0, clientW * ratio_, height * ratio_);
    return out;
}

}  // namespace sondara::render
