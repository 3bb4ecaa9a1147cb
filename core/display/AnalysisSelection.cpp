#include "core/display/AnalysisSelection.h"

#include "core/analysis/Spectra.h"

namespace sondara {

namespace {
constexpr std::array<DisplaySet, 6> kIntegrityOrder = {
    DisplaySet::SingleTrace,   DisplaySet::MultiTrace, DisplaySet::SamePile,
    DisplaySet::CheckedPoints, DisplaySet::AllPoints,  DisplaySet::WaveTrain};
}

DisplaySet DisplaySetOfIntegrityIndex(int listIndex) {
    if (listIndex < 0 || listIndex >= static_cast<int>(kIntegrityOrder.size()))
        return DisplaySet::SingleTrace;
    return kIntegrityOrder[static_cast<size_t>(listIndex)];
}

int IntegrityIndexOfDisplaySet(DisplaySet set) {
    for (size_t i = 0; i < kIntegrityOrder.size(); ++i)
        if (kIntegrityOrder[i] == set) return static_cast<int>(i);
    return -1;
}

std::string_view DomainName(AnalysisDomain d) {
    switch (d) {
        case AnalysisDomain::Integrity:
            return "完整性分析";
        case AnalysisDomain::TimeAnalysis:
            return "时域分析";
        case AnalysisDomain::Frequency:
            return "频域分析";
        case AnalysisDomain::Wavelet:
            return "小波分析";
    }
    return {};
}

std::string_view DisplaySetName(DisplaySet s) {
    switch (s) {
        case DisplaySet::SingleTrace:
            return "单道分析";
        case DisplaySet::SamePile:
            return "所选桩";
        case DisplaySet::CheckedPoints:
            return "选中测点";
        case DisplaySet::AllPoints:
            return "所有测点";
        case DisplaySet::WaveTrain:
            return "波列显示";
        case DisplaySet::MultiTrace:
            return "多道分析";
    }
    return {};
}

bool IsValidCrossPower(const AnalysisSelection& s, int pointCount) {
    return s.domain == AnalysisDomain::Frequency &&
           s.sub == static_cast<int>(SpectrumKind::CrossPower) && s.first >= 0 &&
           s.first < pointCount && s.second >= 0 && s.second < pointCount;
}

}  // namespace sondara
