#pragma once
// What the analysis view analyses (chosen on its analysis selection bar).
namespace sondara {

enum class AnalysisDomain : int {
    Integrity = 0,     // 完整性分析
    TimeAnalysis = 1,  // 时域分析
    Frequency = 2,     // 频域分析
    Wavelet = 3,       // 小波分析
};

}  // namespace sondara
