#include "core/display/WaveDisplayModel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/analysis/Correlation.h"
#include "core/analysis/Fft.h"
#include "core/analysis/PileLengthText.h"
#include "core/analysis/Spectra.h"
#include "core/analysis/Wavelet.h"
#include "core/base/TextCodec.h"
#include "core/base/TrNoop.h"
#include "core/display/PaneMapping.h"
#include "core/display/PaneTexts.h"

namespace sondara {

namespace {

constexpr int kGrabDistancePx = 5;
constexpr int kMinPaneHeightPx = 20;
// Lazy panes kept materialised outside the visible rows before they are released.
constexpr int kKeepMaterialised = 256;

const FixedTextMetrics& defaultMetrics() {
    static const FixedTextMetrics m;
    return m;
}

std::string pointTitle(int point) {
    return Format("NO.%d", point + 1);
}

// Spectrum range: over all values, max widened by 10 %, min 0 (log spectrum: widened too).
void spectrumRange(const std::vector<float>& v, bool logSpectrum, double& mx, double& mn) {
    float a = 0.0f, b = 0.0f;
    GetValueRange(v.data(), static_cast<int>(v.size()), &a, &b, 0);
    mx = a + 0.1 * std::fabs(a);
    mn = logSpectrum ? b - 0.1 * std::fabs(a) : 0.0;
}

// The display range of a time trace: the range kept with the processing, or, when a
// point carries none (never processed, an old file), the same rule over its samples.
void timeRange(const TestPoint& p, double& mx, double& mn) {
    mx = p.lastParams.rangeMax;
    mn = p.lastParams.rangeMin;
    if (mx > mn || p.samples.empty()) return;
    float a = 0.0f, b = 0.0f;
    GetValueRange(p.samples.data(), p.sampleCount(), &a, &b, 1);
    mx = a + 0.1 * a;
    mn = b + 0.1 * b;
}

}  // namespace

std::vector<int> EditTargets::markerList() const {
    std::vector<int> out = points;
    out.insert(out.end(), paneNumbers.begin(), paneNumbers.end());
    return out;
}

std::string FormatPileLength(double metres) {
    // The stored length is a float32: its shortest text, not the "%f" digits of the
    // float widened to double.
    return PileLengthText(static_cast<float>(metres));
}

PixelRect ComputePlotRect(const PixelRect& r, bool waveTrain, bool simulatedPile,
                          const TextMetrics& m) {
    PixelRect p;
    const int lh = m.lineHeight();
    if (waveTrain) {
        p = {r.left + m.textWidth("NO.0000") + 8, r.top + 1, r.right - 12, r.bottom - 1};
    } else {
        int top = lh + 4;
        int bottom = lh + 6 + (simulatedPile ? 75 : 0);
        // A low pane keeps at least half of its height for the curve.
        const int room = r.height() / 2;
        if (top + bottom > room) {
            const double f = room > 0 ? static_cast<double>(room) / (top + bottom) : 0.0;
            top = static_cast<int>(top * f);
            bottom = static_cast<int>(bottom * f);
        }
        p = {r.left + m.textWidth("-0000.00") + 8, r.top + top, r.right - 12, r.bottom - bottom};
    }
    if (p.right <= p.left) p.right = p.left + 1;
    if (p.bottom <= p.top) p.bottom = p.top + 1;
    return p;
}

WaveDisplayModel::WaveDisplayModel(const TextMetrics* metrics)
    : metrics_(metrics ? metrics : &defaultMetrics()) {}

void WaveDisplayModel::applyOptions(const DisplayOptions& o) {
    options_ = o;
    const auto mode = static_cast<LengthFollowMode>(o.lengthFollowMode);
    if (mode == LengthFollowMode::KeepLength || mode == LengthFollowMode::KeepSpeed)
        follow.applySettings(mode);
    else
        follow.applySettings(LengthFollowMode::AutoAdjust);
}

void WaveDisplayModel::setClientSize(int width, int height) {
    clientW_ = std::max(1, width);
    clientH_ = std::max(1, height);
}

void WaveDisplayModel::setTextMetrics(const TextMetrics* metrics) {
    metrics_ = metrics ? metrics : &defaultMetrics();
}

bool WaveDisplayModel::integrityWaveTrain() const {
    return selection_.domain == AnalysisDomain::Integrity &&
           selection_.displaySet == DisplaySet::WaveTrain;
}

bool WaveDisplayModel::validCrossPower() const {
    return doc_ && IsValidCrossPower(selection_, doc_->pointCount());
}

bool WaveDisplayModel::showsSimulatedPile(const WavePane& p) const {
    if (!options_.showSimulatedPile || !IsTimeKind(p.kind)) return false;
    return (selection_.domain == AnalysisDomain::Integrity &&
            selection_.displaySet == DisplaySet::SingleTrace) ||
           ShowsAverage(selection_);
}

PixelRect WaveDisplayModel::stackedRect(int index, int height) const {
    return {0, index * height, clientW_, (index + 1) * height};
}

WavePane& WaveDisplayModel::addPane(const PixelRect& rect, std::string title, int point,
                                    PaneKind kind, int slot, std::vector<int> statePoints,
                                    Source src) {
    WavePane p;
    p.paneRect = rect;
    p.title = std::move(title);
    p.pointIndex = point;
    p.kind = kind;
    p.ordinal = paneCount();
    p.slot = slot;
    p.statePoints = std::move(statePoints);
    p.state = ReadSharedState(*doc_, p.statePoints, slot);
    p.waveTrain = integrityWaveTrain();
    p.plotRect = ComputePlotRect(rect, p.waveTrain, showsSimulatedPile(p), *metrics_);
    panes_.push_back(std::move(p));
    sources_.push_back(src);
    return panes_.back();
}

// ---- building ----------------------------------------------------------------------

void WaveDisplayModel::buildPointSet(const CSondaraDoc& doc, int spectrumKind) {
    const int count = doc.pointCount();
    const int current = doc.currentPoint;
    const bool spectrum = spectrumKind >= 0;
    const PaneKind kind = spectrum ? PaneKind::Spectrum : PaneKind::TimeTrace;
    const int slot = spectrum ? kSlotSpectrum : kSlotTime;
    auto samplesOf = [&](int p) {
        const int n = doc.points[static_cast<size_t>(p)].sampleCount();
        return spectrum ? n / 2 : n;
    };
    auto add = [&](const PixelRect& r, int p, bool fills) {
        WavePane& w = addPane(r, pointTitle(p), p, kind, slot, {p}, Source{true, spectrumKind});
        w.sampleCount = samplesOf(p);
        w.fillsClient = fills;
        w.logUnit = spectrumKind == static_cast<int>(SpectrumKind::LogSpectrum);
    };

    std::vector<int> pts;
    switch (selection_.displaySet) {
        case DisplaySet::SingleTrace:
            if (doc.validPoint(current)) add({0, 0, clientW_, clientH_}, current, true);
            return;
        case DisplaySet::MultiTrace: {
            if (!doc.validPoint(current)) return;
            const int m = std::min(count, options_.multiTraceCount());
            const int a = std::clamp(active_, 0, m - 1);
            for (int u = 0; u < m; ++u) {
                const double h = static_cast<double>(clientH_) / m;
                const PixelRect r{0, static_cast<int>(h * u), clientW_,
                                  static_cast<int>(h * (u + 1))};
                add(r, (u + current + count - a) % count, false);
            }
            return;
        }
        case DisplaySet::SamePile:
            pts = doc.pileMembersOf(current);
            break;
        case DisplaySet::CheckedPoints:
            for (int i = 0; i < count; ++i)
                if (doc.points[static_cast<size_t>(i)].checked != 0) pts.push_back(i);
            break;
        case DisplaySet::AllPoints:
        case DisplaySet::WaveTrain:
            pts.resize(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i) pts[static_cast<size_t>(i)] = i;
            break;
    }
    const int g = integrityWaveTrain() ? waveTrainHeight : paneHeight;
    panes_.reserve(pts.size());
    sources_.reserve(pts.size());
    for (size_t u = 0; u < pts.size(); ++u) add(stackedRect(static_cast<int>(u), g), pts[u], false);
}

void WaveDisplayModel::buildTimeAnalysis(const CSondaraDoc& doc) {
    const int count = doc.pointCount();
    const auto kind = static_cast<TimeAnalysisKind>(selection_.sub);
    if (kind == TimeAnalysisKind::Average) {
        std::vector<int>& pts = averagePoints_;
        switch (static_cast<AverageScope>(selection_.first)) {
            case AverageScope::SamePile:
                pts = doc.pileMembersOf(doc.currentPoint);
                break;
            case AverageScope::CheckedPoints:
                for (int i = 0; i < count; ++i)
                    if (doc.points[static_cast<size_t>(i)].checked != 0) pts.push_back(i);
                break;
            case AverageScope::AllPoints:
                for (int i = 0; i < count; ++i) pts.push_back(i);
                break;
        }
        if (pts.empty()) return;
        std::vector<AverageSource> sources;
        sources.reserve(pts.size());
        for (int p : pts) {
            const TestPoint& t = doc.points[static_cast<size_t>(p)];
            sources.push_back(
                {t.samples.data(), t.sampleCount(), t.lastParams.rangeMax, t.lastParams.rangeMin});
        }
        auto copy = std::make_shared<TestPoint>(doc.points[static_cast<size_t>(pts[0])]);
        float rmax = 0.0f, rmin = 0.0f;
        AverageTraces(sources, copy->samples.data(), copy->sampleCount(), &rmax, &rmin);
        copy->lastParams.rangeMax = rmax;
        copy->lastParams.rangeMin = rmin;
        WavePane& w = addPane({0, 0, clientW_, clientH_}, SONDARA_TR("sondara", "平均值"), pts[0],
                              PaneKind::AverageTrace, kSlotAverage, pts, Source{});
        w.fillsClient = true;
        w.sampleCount = copy->sampleCount();
        w.rangeMax = rmax;
        w.rangeMin = rmin;
        w.point = std::move(copy);
        return;
    }

    const int a = selection_.first;
    const int b = kind == TimeAnalysisKind::CrossCorrelation ? selection_.second : a;
    if (kind != TimeAnalysisKind::AutoCorrelation && kind != TimeAnalysisKind::CrossCorrelation)
        return;
    if (!doc.validPoint(a) || !doc.validPoint(b)) return;
    const TestPoint& A = doc.points[static_cast<size_t>(a)];
    const TestPoint& B = doc.points[static_cast<size_t>(b)];
    int u = 0;
    auto addTrace = [&](int p) {
        WavePane& w = addPane(stackedRect(u++, paneHeight), pointTitle(p), p, PaneKind::TimeTrace,
                              kSlotTime, {p}, Source{});
        w.point = std::make_shared<TestPoint>(doc.points[static_cast<size_t>(p)]);
        w.sampleCount = w.point->sampleCount();
        timeRange(*w.point, w.rangeMax, w.rangeMin);
    };
    addTrace(a);
    if (kind == TimeAnalysisKind::CrossCorrelation) addTrace(b);

    auto copy = std::make_shared<TestPoint>(A);
    CorrelateWithPulse(A.samples.data(), B.samples.data(), copy->samples.data(), A.sampleCount(),
                       B.sampleCount());
    const bool cross = kind == TimeAnalysisKind::CrossCorrelation;
    std::vector<int> feeders = cross && a != b ? std::vector<int>{a, b} : std::vector<int>{a};
    WavePane& w = addPane(stackedRect(u, paneHeight),
                          cross ? SONDARA_TR("sondara", "互相关") : SONDARA_TR("sondara", "自相关"),
                          a, PaneKind::Correlation,
                          cross ? kSlotCrossCorrelation : kSlotAutoCorrelation, feeders, Source{});
    w.sampleCount = copy->sampleCount();
    float mx = 0.0f, mn = 0.0f;
    GetValueRange(copy->samples.data(), copy->sampleCount(), &mx, &mn, 0);
    w.rangeMax = mx;
    w.rangeMin = mn;
    w.point = std::move(copy);
}

void WaveDisplayModel::buildCrossPower(const CSondaraDoc& doc) {
    const int a = selection_.first, b = selection_.second;
    int u = 0;
    for (int p : {a, b}) {
        WavePane& w = addPane(stackedRect(u++, paneHeight), pointTitle(p), p, PaneKind::TimeTrace,
                              kSlotTime, {p}, Source{});
        w.point = std::make_shared<TestPoint>(doc.points[static_cast<size_t>(p)]);
        w.sampleCount = w.point->sampleCount();
        timeRange(*w.point, w.rangeMax, w.rangeMin);
    }
    const TestPoint& A = doc.points[static_cast<size_t>(a)];
    const TestPoint& B = doc.points[static_cast<size_t>(b)];
    auto copy = std::make_shared<TestPoint>(A);
    CrossPowerSpectrum(A.samples.data(), B.samples.data(), copy->samples.data(), A.sampleCount(),
                       B.sampleCount());
    WavePane& w = addPane(stackedRect(u, paneHeight), SONDARA_TR("sondara", "互功率谱"), a,
                          PaneKind::Spectrum, kSlotCrossPower,
                          a == b ? std::vector<int>{a} : std::vector<int>{a, b}, Source{});
    spectrumRange(copy->samples, false, w.rangeMax, w.rangeMin);
    copy->samples.resize(copy->samples.size() / 2);
    w.sampleCount = copy->sampleCount();
    w.point = std::move(copy);
}

void WaveDisplayModel::buildWavelet(const CSondaraDoc& doc) {
    const int p = doc.currentPoint;
    if (!doc.validPoint(p)) return;
    const TestPoint& src = doc.points[static_cast<size_t>(p)];
    const int M = src.sampleCount();
    const int levels = selection_.second + 1;
    if (M < 1 || levels < 1 || levels > kMaxWaveletLevels) return;
    const int coeffs = WaveletCoefficientCount(M, levels);
    std::vector<float> recon(static_cast<size_t>(M)), approx(static_cast<size_t>(coeffs)),
        detail(static_cast<size_t>(coeffs));
    if (!WaveletTransform(src.samples.data(), M, recon.data(), approx.data(), detail.data(),
                          selection_.sub, selection_.first, levels))
        return;

    int u = 0;
    {
        WavePane& w = addPane(stackedRect(u++, paneHeight),
                              pointTitle(p) + " " + SONDARA_TR("sondara", "原始信号"), p,
                              PaneKind::TimeTrace, kSlotTime, {p}, Source{});
        w.point = std::make_shared<TestPoint>(src);
        w.sampleCount = M;
        timeRange(*w.point, w.rangeMax, w.rangeMin);
    }
    auto addComponent = [&](std::string title, int slot, const float* values, int n) {
        auto copy = std::make_shared<TestPoint>(src);
        copy->samples.assign(values, values + n);
        WavePane& w = addPane(stackedRect(u++, paneHeight), std::move(title), p,
                              PaneKind::WaveletComponent, slot, {p}, Source{});
        float mx = 0.0f, mn = 0.0f;
        GetValueRange(copy->samples.data(), n, &mx, &mn, 1);
        const double widen = 0.1 * std::max(std::fabs(mx), std::fabs(mn));
        w.rangeMax = mx + widen;
        w.rangeMin = mn - widen;
        w.sampleCount = n;
        w.point = std::move(copy);
    };
    addComponent(SONDARA_TR("sondara", "重构信号"), kSlotWaveletReconstruction, recon.data(), M);
    for (int k = 1; k <= levels; ++k) {
        const int off = WaveletLevelOffset(M, k), len = WaveletLevelLength(M, k);
        addComponent(Format(TrFormat(SONDARA_TR_NOOP("sondara", "第%d级 平滑信号")).c_str(), k),
                     WaveletSmoothSlot(k), approx.data() + off, len);
        addComponent(Format(TrFormat(SONDARA_TR_NOOP("sondara", "第%d级 细节信号")).c_str(), k),
                     WaveletDetailSlot(k), detail.data() + off, len);
    }
}

void WaveDisplayModel::rebuild(const CSondaraDoc& doc) {
    doc_ = &doc;
    panes_.clear();
    sources_.clear();
    averagePoints_.clear();
    if (doc.pointCount() > 0) {
        switch (selection_.domain) {
            case AnalysisDomain::Integrity:
                buildPointSet(doc, -1);
                break;
            case AnalysisDomain::TimeAnalysis:
                buildTimeAnalysis(doc);
                break;
            case AnalysisDomain::Frequency:
                if (validCrossPower())
                    buildCrossPower(doc);
                else if (selection_.sub == static_cast<int>(SpectrumKind::CrossPower))
                    buildPointSet(doc, -1);  // no second trace to form it with: the traces
                else if (selection_.sub >= 0 && selection_.sub <= 4)
                    buildPointSet(doc, selection_.sub);
                break;
            case AnalysisDomain::Wavelet:
                buildWavelet(doc);
                break;
        }
    }
    // Eagerly built panes are complete but for their drawing data.
    for (size_t i = 0; i < panes_.size(); ++i)
        if (!sources_[i].lazy) {
            panes_[i].materialised = true;
            finishGeometry(panes_[i]);
        }

    contentHeight_ = 0;
    for (const WavePane& p : panes_) contentHeight_ = std::max(contentHeight_, p.paneRect.bottom);

    if (active_ >= paneCount()) active_ = -1;
    if (active_ < 0 && pointSetDisplay()) active_ = paneOfPoint(doc.currentPoint);

    scrollY_ = std::clamp(scrollY_, 0, std::max(0, contentHeight_ - clientH_));
    materialiseRows(scrollY_, scrollY_ + clientH_);
    placeCursorAgain(dynamic_);
    placeCursorAgain(static_);
    if (onRebuilt) onRebuilt();
}

bool WaveDisplayModel::pointSetDisplay() const {
    return selection_.domain == AnalysisDomain::Integrity ||
           (selection_.domain == AnalysisDomain::Frequency && !validCrossPower());
}

bool WaveDisplayModel::selectionShapesPanes() const {
    if (!pointSetDisplay()) return true;
    switch (selection_.displaySet) {
        case DisplaySet::CheckedPoints:
        case DisplaySet::AllPoints:
        case DisplaySet::WaveTrain:
            return false;
        default:
            return true;
    }
}

bool WaveDisplayModel::checksShapePanes() const {
    return !pointSetDisplay() || selection_.displaySet == DisplaySet::CheckedPoints;
}

bool WaveDisplayModel::refreshPoints(const CSondaraDoc& doc, std::vector<int> points) {
    if (points.empty() || doc_ != &doc || !pointSetDisplay()) return true;
    std::sort(points.begin(), points.end());
    for (size_t i = 0; i < panes_.size(); ++i) {
        WavePane& w = panes_[i];
        if (!std::binary_search(points.begin(), points.end(), w.pointIndex)) continue;
        if (!doc.validPoint(w.pointIndex)) return true;
        const int n = doc.points[static_cast<size_t>(w.pointIndex)].sampleCount();
        w.sampleCount = sources_[i].spectrumKind >= 0 ? n / 2 : n;
        release(i);
    }
    materialiseRows(scrollY_, scrollY_ + clientH_);
    placeCursorAgain(dynamic_);
    placeCursorAgain(static_);
    if (onRebuilt) onRebuilt();
    return false;
}

// ---- materialising -------------------------------------------------------------------

void WaveDisplayModel::materialise(size_t i) {
    WavePane& w = panes_[i];
    if (w.materialised || !doc_ || !doc_->validPoint(w.pointIndex)) return;
    const Source& src = sources_[i];
    auto copy = std::make_shared<TestPoint>(doc_->points[static_cast<size_t>(w.pointIndex)]);
    if (src.spectrumKind >= 0) {
        const int n = copy->sampleCount();
        if (n > 0)
            ComputeSpectrum(static_cast<SpectrumKind>(src.spectrumKind), copy->samples.data(),
                            copy->samples.data(), n);
        spectrumRange(copy->samples,
                      src.spectrumKind == static_cast<int>(SpectrumKind::LogSpectrum), w.rangeMax,
                      w.rangeMin);
        copy->samples.resize(static_cast<size_t>(n / 2));
    } else {
        timeRange(*copy, w.rangeMax, w.rangeMin);
    }
    w.sampleCount = copy->sampleCount();
    w.point = std::move(copy);
    w.materialised = true;
    finishGeometry(w);
}

void WaveDisplayModel::release(size_t i) {
    if (!sources_[i].lazy || !panes_[i].materialised) return;
    WavePane& w = panes_[i];
    w.materialised = false;
    w.point.reset();
    w.polyline = {};
    w.marks = {};
    w.head = {};
    w.toe = {};
    w.overlay.reset();
    w.overlayCurve = {};
    w.overlayPolyline = {};
    w.alternativeCurve = {};
    w.alternativePolyline = {};
}

const WavePane& WaveDisplayModel::ensurePane(int i) {
    materialise(static_cast<size_t>(i));
    return panes_[static_cast<size_t>(i)];
}

int WaveDisplayModel::materialisedCount() const {
    int n = 0;
    for (const WavePane& p : panes_) n += p.materialised ? 1 : 0;
    return n;
}

void WaveDisplayModel::materialiseRows(int y0, int y1) {
    if (panes_.empty()) return;
    // Panes are stacked from the top without overlap: find the first one reaching y0.
    auto first = std::partition_point(panes_.begin(), panes_.end(),
                                      [&](const WavePane& p) { return p.paneRect.bottom <= y0; });
    int lazyMaterialised = 0;
    for (auto it = first; it != panes_.end() && it->paneRect.top < y1; ++it)
        materialise(static_cast<size_t>(it - panes_.begin()));
    for (size_t i = 0; i < panes_.size(); ++i)
        if (sources_[i].lazy && panes_[i].materialised) ++lazyMaterialised;
    if (lazyMaterialised <= kKeepMaterialised) return;
    const int margin = std::max(clientH_, y1 - y0);
    for (size_t i = 0; i < panes_.size(); ++i)
        if (!panes_[i].paneRect.intersectsRows(y0 - margin, y1 + margin)) release(i);
}

void WaveDisplayModel::setScrollY(int y) {
    scrollY_ = std::clamp(y, 0, std::max(0, contentHeight_ - clientH_));
    materialiseRows(scrollY_, scrollY_ + clientH_);
}

void WaveDisplayModel::finishGeometry(WavePane& w) {
    w.vMax = w.rangeMax * static_cast<double>(w.state.vScale);
    w.vMin = w.rangeMin * static_cast<double>(w.state.vScale);
    const HorizontalMapping h = MakeHorizontalMapping(w, w.plotRect);
    const VerticalMapping v = MakeVerticalMapping(w, w.plotRect);
    const TestPoint* p = w.point.get();
    const int n = p ? std::min(w.sampleCount, p->sampleCount()) : 0;
    w.polyline = BuildPolyline(p ? p->samples.data() : nullptr, n, h, v);
    w.zeroLineY = v.zeroY();
    w.overlay = w.kind == PaneKind::TimeTrace && !w.waveTrain && p && overlayFor
                    ? overlayFor(w.pointIndex)
                    : nullptr;
    // both readings are traces of the same model in the same unit: one factor for both,
    // so that their heights compare as they were fitted
    const double k = w.overlay ? LeastSquaresScale(w.overlay->curve, p->samples.data(), n) : 0.0;
    w.overlayCurve = w.overlay ? Scaled(w.overlay->curve, k, n) : std::vector<float>{};
    w.overlayPolyline =
        BuildPolyline(w.overlayCurve.data(), static_cast<int>(w.overlayCurve.size()), h, v);
    w.alternativeCurve = w.overlay ? Scaled(w.overlay->alternative, k, n) : std::vector<float>{};
    w.alternativePolyline =
        BuildPolyline(w.alternativeCurve.data(), static_cast<int>(w.alternativeCurve.size()), h, v);
    w.zeroLineShown = (w.kind == PaneKind::TimeTrace && !w.waveTrain) ||
                      w.kind == PaneKind::AverageTrace || w.kind == PaneKind::WaveletComponent;
    w.head = {};
    w.toe = {};
    w.marks.clear();
    if (!p) return;

    auto onTrace = [&](int k) { return k >= 0 && k < w.sampleCount; };
    if (IsTimeKind(w.kind)) {
        if (!w.waveTrain) {
            if (onTrace(p->headIndex) && p->headSetFlag == 1)
                w.head = {true, p->headIndex, h.x(p->headIndex), SONDARA_TR("sondara", "桩头")};
            if (onTrace(p->toeIndex) && p->toeSetFlag == 1)
                w.toe = {true, p->toeIndex, h.x(p->toeIndex), SONDARA_TR("sondara", "桩底")};
        }
        for (int j = 0; j < p->defectCount(); ++j) {
            const PileMark& d = p->defects[static_cast<size_t>(j)];
            if (!onTrace(d.position)) continue;
            w.marks.push_back({MarkType::Defect, h.x(d.position), d.position, j, w.ordinal,
                               w.pointIndex, DefectLabel(*p, d), gbkToUtf8(textOf(d.remark))});
        }
        return;
    }
    auto addMarker = [&](MarkType t, int j, int k) {
        if (!onTrace(k)) return;
        w.marks.push_back({t, h.x(k), k, j, w.ordinal, w.pointIndex, MarkerLabel(w, t, k), {}});
    };
    switch (w.kind) {
        case PaneKind::Correlation:
            for (size_t j = 0; j < p->correlationMarks.size(); ++j)
                addMarker(MarkType::Correlation, static_cast<int>(j), p->correlationMarks[j]);
            break;
        case PaneKind::Spectrum:
            for (size_t j = 0; j < p->spectrumMarks.size(); ++j)
                addMarker(MarkType::Spectrum, static_cast<int>(j), p->spectrumMarks[j]);
            break;
        case PaneKind::WaveletComponent: {
            const size_t m = std::min(p->waveletMarkPanes.size(), p->waveletMarkPositions.size());
            for (size_t j = 0; j < m; ++j)
                if (p->waveletMarkPanes[j] == w.ordinal)
                    addMarker(MarkType::Wavelet, static_cast<int>(j), p->waveletMarkPositions[j]);
            break;
        }
        default:
            break;
    }
}

// ---- lookups -----------------------------------------------------------------------

int WaveDisplayModel::paneAt(int x, int y) const {
    if (x < 0 || x >= clientW_) return -1;
    auto it = std::partition_point(panes_.begin(), panes_.end(),
                                   [&](const WavePane& p) { return p.paneRect.bottom <= y; });
    if (it == panes_.end() || !it->paneRect.contains(x, y)) return -1;
    return static_cast<int>(it - panes_.begin());
}

int WaveDisplayModel::paneOfPoint(int point) const {
    if (point < 0) return -1;
    for (const WavePane& p : panes_)
        if (p.pointIndex == point) return p.ordinal;
    return -1;
}

// ---- target points -------------------------------------------------------------------

EditTargets WaveDisplayModel::editTargets() const {
    EditTargets t;
    if (!doc_ || doc_->pointCount() == 0 || panes_.empty()) return t;
    auto unique2 = [](int a, int b) {
        return a == b ? std::vector<int>{a} : std::vector<int>{a, b};
    };
    switch (selection_.domain) {
        case AnalysisDomain::Integrity:
        case AnalysisDomain::Frequency:
            if (validCrossPower()) {
                t.points = unique2(selection_.first, selection_.second);
            } else if (selection_.displaySet == DisplaySet::SingleTrace ||
                       options_.scope() == EditScope::CurrentTrace) {
                if (active_ >= 0) t.points = {pane(active_).pointIndex};
            } else {
                t.points.reserve(panes_.size());
                for (const WavePane& p : panes_) t.points.push_back(p.pointIndex);
            }
            break;
        case AnalysisDomain::TimeAnalysis:
            switch (static_cast<TimeAnalysisKind>(selection_.sub)) {
                case TimeAnalysisKind::Average:
                    t.points = averagePoints_;
                    break;
                case TimeAnalysisKind::AutoCorrelation:
                    t.points = {selection_.first};
                    break;
                case TimeAnalysisKind::CrossCorrelation:
                    t.points = unique2(selection_.first, selection_.second);
                    break;
            }
            break;
        case AnalysisDomain::Wavelet: {
            // The display shows the current point; with no pane active yet the edit
            // is on the point itself, as when the signal pane is active.
            const int point = doc_->currentPoint;
            if (!doc_->validPoint(point)) break;
            t.points = {point};
            if (options_.scope() == EditScope::AllTraces) {
                for (int i = 1; i < paneCount(); ++i) t.paneNumbers.push_back(i);
            } else if (active_ > 0) {
                t.paneNumbers = {active_};
            }
            break;
        }
    }
    return t;
}

std::vector<int> WaveDisplayModel::processingTargets() const {
    EditTargets t = editTargets();
    if (t.empty()) return {};
    switch (selection_.domain) {
        case AnalysisDomain::Integrity:
            if (selection_.displaySet != DisplaySet::SingleTrace &&
                options_.scope() == EditScope::AllTraces && active_ >= 0) {
                const int a = pane(active_).pointIndex;
                auto it = std::find(t.points.begin(), t.points.end(), a);
                if (it != t.points.end()) std::iter_swap(t.points.begin(), it);
            }
            return t.points;
        case AnalysisDomain::Wavelet:
            return {t.points.front()};
        default:
            return t.points;
    }
}

// ---- display commands ------------------------------------------------------------------

std::vector<int> WaveDisplayModel::commandPanes() const {
    std::vector<int> out;
    if (panes_.empty()) return out;
    switch (selection_.domain) {
        case AnalysisDomain::Integrity:
        case AnalysisDomain::Frequency:
            if (validCrossPower()) {
                out.push_back(paneCount() - 1);  // the cross-power pane
            } else if (selection_.displaySet == DisplaySet::SingleTrace ||
                       options_.scope() == EditScope::CurrentTrace) {
                if (active_ >= 0) out.push_back(active_);
            } else {
                for (int i = 0; i < paneCount(); ++i) out.push_back(i);
            }
            break;
        case AnalysisDomain::TimeAnalysis:
            out.push_back(paneCount() - 1);  // the average or correlation pane
            break;
        case AnalysisDomain::Wavelet: {
            const EditTargets t = editTargets();
            if (t.empty()) break;
            if (t.paneNumbers.empty())
                out.push_back(0);  // the signal pane alone
            else
                out = t.paneNumbers;
            break;
        }
    }
    return out;
}

std::vector<int> WaveDisplayModel::runCommand(CSondaraDoc& doc, DisplayCommand c) {
    std::vector<int> changed;
    if (doc.pointCount() == 0 || panes_.empty() || doc_ != &doc) return changed;
    for (int i : commandPanes()) {
        const WavePane& w = pane(i);
        const TestPoint& pt = doc.points[static_cast<size_t>(w.pointIndex)];
        ScaleGeometry g;
        g.plotWidth = w.plotRect.width();
        g.sampleCount = w.sampleCount;
        g.head = pt.headIndex;
        g.toe = pt.toeIndex;
        g.sampleInterval = pt.sampleInterval;
        g.frequencyDomain =
            selection_.domain == AnalysisDomain::Frequency && w.kind == PaneKind::Spectrum;
        DisplayState s = w.state;
        ApplyDisplayCommand(s, c, g);
        WriteSharedState(doc, w.statePoints, w.slot, s);
        changed.insert(changed.end(), w.statePoints.begin(), w.statePoints.end());
    }
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    rebuild(doc);
    if (!changed.empty()) doc.commitChange(DocChange::Display, changed);
    return changed;
}

// ---- cursors ---------------------------------------------------------------------------

CursorState WaveDisplayModel::cursorAt(int i, int x, int y) {
    CursorState c;
    if (i < 0 || i >= paneCount()) return c;
    const WavePane& w = ensurePane(i);
    const HorizontalMapping h = MakeHorizontalMapping(w, w.plotRect);
    c.sample = h.sampleAt(x);
    if (c.sample < 0) return c;
    c.shown = true;
    c.pane = i;
    c.point = w.pointIndex;
    c.x = x;
    c.y = y;
    c.readout = ReadoutAt(w, c.sample).lines();
    return c;
}

void WaveDisplayModel::placeCursorAgain(CursorState& c) {
    if (!c.shown) return;
    if (c.pane < 0 || c.pane >= paneCount()) {
        c = CursorState{};
        return;
    }
    const WavePane& w = ensurePane(c.pane);
    if (w.sampleCount <= 0) {
        c = CursorState{};
        return;
    }
    c.sample = std::min(c.sample, w.sampleCount - 1);
    c.point = w.pointIndex;
    c.x = MakeHorizontalMapping(w, w.plotRect).x(c.sample);
    c.readout = ReadoutAt(w, c.sample).lines();
}

bool WaveDisplayModel::moveDynamicCursor(int x, int y) {
    const int i = paneAt(x, y);
    if (i < 0 || !pane(i).plotRect.contains(x, y)) {
        dynamic_ = CursorState{};
        return false;
    }
    dynamic_ = cursorAt(i, x, y);
    return dynamic_.shown;
}

std::vector<std::string> WaveDisplayModel::cursorInfoLines() const {
    std::vector<std::string> out;
    if (dynamic_.shown) {
        out.push_back(SONDARA_TR_NOOP("sondara", "动态游标："));
        out.insert(out.end(), dynamic_.readout.begin(), dynamic_.readout.end());
    }
    if (static_.shown) {
        out.push_back(SONDARA_TR_NOOP("sondara", "静态游标："));
        out.insert(out.end(), static_.readout.begin(), static_.readout.end());
    }
    return out;
}

void WaveDisplayModel::hideCursors() {
    dynamic_ = CursorState{};
    static_ = CursorState{};
}

ClickResult WaveDisplayModel::click(int x, int y, bool rightButton) {
    ClickResult r;
    r.pane = paneAt(x, y);
    if (r.pane < 0) return r;
    const WavePane& w = pane(r.pane);
    r.activeChanged = active_ != r.pane;
    active_ = r.pane;
    r.selectPoint = w.pointIndex;
    if (rightButton) {
        r.openContextMenu = true;
    } else if (w.plotRect.contains(x, y) && moveDynamicCursor(x, y)) {
        static_ = dynamic_;
        r.staticCursorPlaced = true;
    }
    return r;
}

KeyResult WaveDisplayModel::moveActivePane(int delta) {
    KeyResult r;
    r.activePane = active_;
    if (!(featureMask & kFeatureKeyboard) || panes_.empty() || delta == 0) return r;
    const int next =
        active_ < 0 ? 0 : std::clamp(active_ + (delta < 0 ? -1 : 1), 0, paneCount() - 1);
    if (next == active_) return r;
    active_ = next;
    r.changed = true;
    r.activePane = next;
    if (selection_.domain == AnalysisDomain::TimeAnalysis ||
        selection_.domain == AnalysisDomain::Wavelet || validCrossPower()) {
        hideCursors();
        r.cursorsHidden = true;
    } else {
        r.selectPoint = pane(next).pointIndex;
    }
    return r;
}

// ---- dragging ------------------------------------------------------------------------------

GrabTarget WaveDisplayModel::hitTestGrab(int x, int y) {
    GrabTarget best;
    if (!(featureMask & kFeatureDragMarks)) return best;
    const int i = paneAt(x, y);
    if (i < 0) return best;
    const WavePane& w = ensurePane(i);
    auto consider = [&](GrabTarget::Type type, int lineX, int entry, MarkType mt) {
        const int d = std::abs(x - lineX);
        if (d >= kGrabDistancePx) return;
        if (best.grabbed() && d >= best.distance) return;  // earlier candidates win ties
        best.type = type;
        best.pane = i;
        best.point = w.pointIndex;
        best.entry = entry;
        best.markType = mt;
        best.distance = d;
    };
    if (IsTimeKind(w.kind)) {
        if (w.head.visible) consider(GrabTarget::Type::Head, w.head.x, -1, MarkType::Defect);
        if (w.toe.visible) consider(GrabTarget::Type::Toe, w.toe.x, -1, MarkType::Defect);
    }
    for (const VisibleMark& m : w.marks)
        consider(
            m.type == MarkType::Defect ? GrabTarget::Type::Defect : GrabTarget::Type::MarkerLine,
            m.x, m.entry, m.type);
    return best;
}

std::vector<int> WaveDisplayModel::finishGrabDrag(CSondaraDoc& doc, const GrabTarget& g, int x,
                                                  Prompter& prompter) {
    std::vector<int> changed;
    if (!g.grabbed() || g.pane < 0 || g.pane >= paneCount() || doc_ != &doc) return changed;
    const WavePane& w = ensurePane(g.pane);
    const int k = MakeHorizontalMapping(w, w.plotRect).sampleAt(x);
    if (k < 0) return changed;
    const LengthFollowMode mode = follow.effective();
    // The operations announce their changes when this scope ends: an observer that
    // rebuilds the panes must not pull `w` away while it is read.
    DocChangeBatch batch(doc);
    switch (g.type) {
        case GrabTarget::Type::Head:
        case GrabTarget::Type::Toe: {
            // On the average pane the line stands for every averaged point.
            const std::vector<int> pts =
                w.kind == PaneKind::AverageTrace ? w.statePoints : std::vector<int>{g.point};
            for (int p : pts) {
                const int ok = g.type == GrabTarget::Type::Head
                                   ? SetPileHead(doc, p, k, mode, false, prompter)
                                   : SetPileToe(doc, p, k, mode, false, prompter);
                if (ok) changed.push_back(p);
            }
            break;
        }
        case GrabTarget::Type::Defect:
        case GrabTarget::Type::MarkerLine: {
            // Another mark of the same pane at that position refuses the move.
            for (const VisibleMark& m : w.marks)
                if (m.sample == k && !(m.entry == g.entry && m.type == g.markType)) return changed;
            int ok = 0;
            if (g.type == GrabTarget::Type::Defect) {
                ok = MoveDefect(doc, g.point, g.entry, k);
            } else {
                const MarkerDomain d = g.markType == MarkType::Correlation
                                           ? MarkerDomain::Correlation
                                       : g.markType == MarkType::Spectrum ? MarkerDomain::Spectrum
                                                                          : MarkerDomain::Wavelet;
                ok = MoveMarkerLine(doc, g.point, g.entry, d, k);
            }
            if (ok) changed.push_back(g.point);
            break;
        }
        case GrabTarget::Type::None:
            break;
    }
    rebuild(doc);
    return changed;
}

EdgeGrab WaveDisplayModel::hitTestEdge(int x, int y) const {
    EdgeGrab best;
    if (!(featureMask & kFeatureDragPaneEdges) || x < 0 || x >= clientW_) return best;
    if (selection_.domain == AnalysisDomain::Integrity &&
        selection_.displaySet == DisplaySet::MultiTrace)
        return best;
    int bestD = kGrabDistancePx;
    int i = paneAt(x, y);
    if (i < 0 && !panes_.empty() && y >= contentHeight_) i = paneCount() - 1;  // below the last
    for (int j : {i - 1, i, i + 1}) {
        if (j < 0 || j >= paneCount() || pane(j).fillsClient) continue;
        const PixelRect& r = pane(j).paneRect;
        for (bool bottom : {true, false}) {
            const int d = std::abs(y - (bottom ? r.bottom : r.top));
            if (d < bestD) {
                bestD = d;
                best = {true, j, bottom};
            }
        }
    }
    return best;
}

int WaveDisplayModel::edgeDragHeight(const EdgeGrab& g, int y) const {
    if (!g.grabbed || g.pane < 0 || g.pane >= paneCount()) return paneHeight;
    const PixelRect& r = pane(g.pane).paneRect;
    return std::max(kMinPaneHeightPx, g.bottomEdge ? y - r.top : r.bottom - y);
}

void WaveDisplayModel::finishEdgeDrag(const EdgeGrab& g, int y) {
    if (!g.grabbed) return;
    const int h = edgeDragHeight(g, y);
    if (integrityWaveTrain())
        waveTrainHeight = h;
    else
        paneHeight = h;
    if (doc_) rebuild(*doc_);
}

// ---- wave speed and pile length --------------------------------------------------------------

SpeedLengthView WaveDisplayModel::speedAndLength() const {
    SpeedLengthView v;
    if (selection_.domain != AnalysisDomain::Integrity) return v;
    v.applies = true;
    if (panes_.empty() || !doc_) return v;
    v.enabled = true;
    auto pointOf = [&](int i) -> const TestPoint& {
        return doc_->points[static_cast<size_t>(pane(i).pointIndex)];
    };
    auto show = [&](const TestPoint& p) {
        v.speedText = Format("%d", p.waveSpeed);
        v.lengthText = FormatPileLength(p.pileLength);
    };
    if (selection_.displaySet == DisplaySet::SingleTrace) {
        show(pointOf(0));
        return v;
    }
    const bool all = options_.scope() == EditScope::AllTraces;
    if (all) {
        const TestPoint& f = pointOf(0);
        for (int i = 1; i < paneCount(); ++i) {
            const TestPoint& p = pointOf(i);
            if (p.waveSpeed != f.waveSpeed) v.speedGrey = true;
            if (p.pileLength != f.pileLength) v.lengthGrey = true;
        }
    }
    if (active_ >= 0) {
        show(pointOf(active_));
    } else if (all) {
        const TestPoint& f = pointOf(0);
        if (!v.speedGrey) v.speedText = Format("%d", f.waveSpeed);
        if (!v.lengthGrey) v.lengthText = FormatPileLength(f.pileLength);
    } else {
        v.enabled = false;
    }
    return v;
}

}  // namespace sondara
