#include "render/PrintPageCells.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/analysis/Spectra.h"

namespace sondara::render {

namespace {
// A cell far taller than wide (a grid of many columns on one row) still lays its item
// out in a bounded number of display pixels.
constexpr int kMaxItemHeight = 16000;

bool integrityWaveTrain(const WaveDisplayModel& m) {
    return m.selection().domain == AnalysisDomain::Integrity &&
           m.selection().displaySet == DisplaySet::WaveTrain;
}
}  // namespace

PrintPageCells::PrintPageCells(const CSondaraDoc& doc, WaveDisplayModel& display,
                               const DisplayRenderer& renderer)
    : doc_(doc), display_(display), renderer_(renderer) {}

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

QRect PrintPageCells::itemRect(const PrintCellRecord& cell) {
    const int width = cell.width(), height = cell.top - cell.bottom;
    if (width <= 0 || height <= 0) return {};
    WaveDisplayModel& m = cell.kind == PrintItemKind::DisplayPane ? display_ : modelFor(cell.kind);
    const bool train =
        cell.kind == PrintItemKind::DisplayPane && integrityWaveTrain(m) && m.paneCount() > 0;
    if (!train && (cell.index < 0 || cell.index >= m.paneCount())) return {};
    const int clientW = std::max(1, m.clientWidth());
    const double h = static_cast<double>(height) * clientW / width;
    return QRect(0, 0, clientW,
                 static_cast<int>(std::clamp(std::lround(h), 1L, long{kMaxItemHeight})));
}

void PrintPageCells::paint(QPainter& p, const PrintCellRecord& cell) {
    const QRect r = itemRect(cell);
    if (r.isEmpty()) return;
    WaveDisplayModel& m = cell.kind == PrintItemKind::DisplayPane ? display_ : modelFor(cell.kind);
    const bool train = cell.kind == PrintItemKind::DisplayPane && integrityWaveTrain(m);
    const double sx = static_cast<double>(cell.width()) / r.width();
    const double sy = static_cast<double>(cell.top - cell.bottom) / r.height();

    p.save();
    // Display pixels, y down, from the cell's top-left corner.
    p.translate(cell.left, cell.top);
    p.scale(sx, -sy);
    p.setClipRect(r, Qt::IntersectClip);
    p.fillRect(r, Qt::white);
    const PanePainter& painter = renderer_.panePainter();
    std::vector<WavePane> laid;
    std::vector<PaneDrawOptions> opts;
    auto lay = [&](int i, const PixelRect& rect, bool waveTrainStrip) {
        const WavePane& src = m.ensurePane(i);
        const bool pile = m.showsSimulatedPile(src);
        laid.push_back(LayoutPaneInRect(src, rect, pile, renderer_.metrics()));
        PaneDrawOptions o;
        o.showLabels = m.options().showLabels != 0;
        o.simulatedPile = pile;
        o.doc = &doc_;
        o.infoItems = m.options().items;
        o.lineWidth = kPrintLineUnits / sx;
        o.monochrome = monochrome_;
        if (waveTrainStrip)
            o.curveClip =
                QRect(laid.back().plotRect.left, 0, laid.back().plotRect.width(), r.height());
        opts.push_back(std::move(o));
    };
    if (train) {
        const double strip = static_cast<double>(r.height()) / m.paneCount();
        for (int i = 0; i < m.paneCount(); ++i) {
            const PixelRect s{0, static_cast<int>(strip * i), r.width(),
                              static_cast<int>(strip * (i + 1))};
            if (s.bottom > s.top) lay(i, s, true);
        }
    } else {
        lay(cell.index, PixelRect{0, 0, r.width(), r.height()}, false);
    }
    // Pass by pass over the strips: a curve spilling into the next strip stays under
    // its marks and texts.
    for (PanePainter::Pass pass : PanePainter::kPasses)
        for (size_t k = 0; k < laid.size(); ++k) painter.paintPass(pass, p, laid[k], opts[k]);
    p.restore();
}

}  // namespace sondara::render
