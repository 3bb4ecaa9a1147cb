#include "core/interpret/Interpretation.h"

#include "core/model/SondaraDoc.h"

namespace sondara {

const char* confidenceKey(Confidence c) {
    return c == Confidence::Clear ? "clear" : "uncertain";
}

const char* changeKindKey(ImpedanceChangeKind k) {
    return k == ImpedanceChangeKind::Narrowing ? "narrowing" : "widening";
}

PointInterpretation interpretPoint(const CSondaraDoc&, int point) {
    PointInterpretation r;
    r.point = point;
    r.error = "not implemented yet";
    return r;
}

std::vector<PointInterpretation> interpretPoints(const CSondaraDoc& doc,
                                                 const std::vector<int>& points,
                                                 const InterpretControl&) {
    std::vector<PointInterpretation> out;
    for (int p : points) out.push_back(interpretPoint(doc, p));
    return out;
}

SiteWaveSpeed siteWaveSpeed(const CSondaraDoc&, const std::vector<PointInterpretation>&) {
    return {};
}

int applyInterpretation(CSondaraDoc&, const std::vector<PointInterpretation>&) {
    return 0;
}

}  // namespace sondara
