#pragma once
// What a waveform display shows: the analysis domain, the display set, the
// sub-analysis and the two numbers of the analysis selection bar.
#include <array>
#include <string_view>

#include "core/processing/AnalysisDomain.h"

namespace sondara {

// The points an Integrity or Frequency display shows. The values are the stored
// ones; the bar's list order differs (see DisplaySetOfIntegrityIndex).
enum class DisplaySet : int {
    SingleTrace = 0,    // 单道分析: the document's current point
    SamePile = 1,       // 所选桩: every point of the current pile
    CheckedPoints = 2,  // 选中测点: the checked points
    AllPoints = 3,      // 所有测点
    WaveTrain = 4,      // 波列显示: all points in short strips
    MultiTrace = 5,     // 多道分析: N consecutive points around the current one
};

// Sub-analyses of the time domain.
enum class TimeAnalysisKind : int {
    Average = 0,           // 平均值 (多道波形平均)
    AutoCorrelation = 1,   // 自相关
    CrossCorrelation = 2,  // 互相关
};

// Which points an average is taken over (the bar's first number in TimeAnalysis).
enum class AverageScope : int {
    SamePile = 0,       // 所选桩
    CheckedPoints = 1,  // 选中测点
    AllPoints = 2,      // 所有测点
};

// The analysis selection as the view hands it to the display.
//   sub    : TimeAnalysisKind, SpectrumKind or wavelet family, by domain
//   first  : average scope, autocorrelation point, first correlation / cross-power
//            point, or wavelet member (list index)
//   second : second correlation / cross-power point, or the wavelet levels as list
//            index (0 = one level)
struct AnalysisSelection {
    AnalysisDomain domain = AnalysisDomain::Integrity;
    DisplaySet displaySet = DisplaySet::SingleTrace;
    int sub = 0;
    int first = 0;
    int second = 0;

    bool operator==(const AnalysisSelection&) const = default;
};

// The integrity list order 单道分析, 多道分析, 所选桩, 选中测点, 所有测点, 波列显示
// maps to the set values 0, 5, 1, 2, 3, 4. An index outside 0..5 gives SingleTrace.
DisplaySet DisplaySetOfIntegrityIndex(int listIndex);
// The inverse; -1 for a value that is not a display set.
int IntegrityIndexOfDisplaySet(DisplaySet set);

// UTF-8 names as the bar shows them.
std::string_view DomainName(AnalysisDomain d);  // "完整性分析" ...
std::string_view DisplaySetName(DisplaySet s);  // "单道分析" ...

// Whether the Frequency selection is a cross power of two valid points.
bool IsValidCrossPower(const AnalysisSelection& s, int pointCount);
// Whether the TimeAnalysis selection shows the average.
inline bool ShowsAverage(const AnalysisSelection& s) {
    return s.domain == AnalysisDomain::TimeAnalysis &&
           s.sub == static_cast<int>(TimeAnalysisKind::Average);
}

}  // namespace sondara
