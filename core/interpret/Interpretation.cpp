// TEMPORARY STUB so that the desktop builds before the interpretation core lands.
#include "core/interpret/Interpretation.h"

#include <algorithm>
#include <cmath>

#include "core/model/SondaraDoc.h"

namespace sondara {

const char* confidenceKey(Confidence c) {
    return c == Confidence::Clear ? "clear" : "uncertain";
}
const char* changeKindKey(ImpedanceChangeKind k) {
    return k == ImpedanceChangeKind::Narrowing ? "narrowing" : "widening";
}

PointInterpretation interpretPoint(const CSondaraDoc& doc, int point) {
    PointInterpretation r;
    r.point = point;
    if (!doc.validPoint(point) || doc.points[static_cast<size_t>(point)].samples.empty()) {
        r.error = "无波形";
        return r;
    }
    const TestPoint& p = doc.points[static_cast<size_t>(point)];
    const int n = p.sampleCount();
    r.headIndex = std::clamp<int>(p.headIndex, 0, n - 1);
    r.toeIndex = std::clamp<int>(p.toeIndex, 0, n - 1);
    r.toeFound = r.toeIndex > r.headIndex;
    r.toeTime = (r.toeIndex - r.headIndex) * p.sampleInterval * 1e-6;
    r.toeDepth = r.toeTime * p.waveSpeed / 2;
    r.confidence = r.toeFound && point % 2 == 0 ? Confidence::Clear : Confidence::Uncertain;
    if (r.confidence == Confidence::Uncertain) r.reason = "未找到桩底反射";
    r.residual = 0.05 * (point + 1);
    if (point % 3 == 1 && r.toeFound) {
        ProposedDefect d;
        d.depth = r.toeDepth / 2;
        d.extent = 0.5;
        d.beta = 0.7;
        d.index = (r.headIndex + r.toeIndex) / 2;
        r.defects.push_back(d);
        r.integrityClass = 3;
    }
    r.fitted.resize(p.samples.size());
    for (size_t i = 0; i < p.samples.size(); ++i) r.fitted[i] = 0.5f * p.samples[i];
    r.profile.push_back({0.0, r.toeDepth, 1.0});
    return r;
}

std::vector<PointInterpretation> interpretPoints(const CSondaraDoc& doc,
                                                 const std::vector<int>& points,
                                                 const InterpretControl& control) {
    std::vector<PointInterpretation> out;
    int done = 0;
    for (int i : points) {
        if (control.cancel && control.cancel->load()) break;
        out.push_back(interpretPoint(doc, i));
        if (control.progress) control.progress(++done, static_cast<int>(points.size()));
    }
    return out;
}

SiteWaveSpeed siteWaveSpeed(const CSondaraDoc&, const std::vector<PointInterpretation>&) {
    return {};
}

int applyInterpretation(CSondaraDoc& doc, const std::vector<PointInterpretation>& rows) {
    std::vector<int> changed;
    for (const PointInterpretation& r : rows) {
        if (!r.error.empty() || !doc.validPoint(r.point)) continue;
        TestPoint& p = doc.points[static_cast<size_t>(r.point)];
        p.headIndex = static_cast<std::int16_t>(r.headIndex);
        p.headSetFlag = 1;
        if (r.toeFound) {
            p.toeIndex = static_cast<std::int16_t>(r.toeIndex);
            p.toeSetFlag = 1;
        }
        p.integrityClass = static_cast<std::uint8_t>(r.integrityClass);
        p.defects.clear();
        for (const ProposedDefect& d : r.defects) {
            PileMark m;
            m.position = d.index;
            m.kind = d.kind == ImpedanceChangeKind::Widening ? 1 : d.beta < 0.6 ? 3 : 2;
            m.depth = static_cast<float>(d.depth);
            p.defects.push_back(m);
        }
        changed.push_back(r.point);
    }
    if (!changed.empty()) doc.commitChange(DocChange::Marks, changed);
    return static_cast<int>(changed.size());
}

}  // namespace sondara
