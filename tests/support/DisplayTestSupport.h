#pragma once
// Small builders shared by the display tests.
#include <cmath>
#include <string>
#include <vector>

#include "core/base/FixedText.h"
#include "core/display/WaveDisplayModel.h"
#include "core/model/SondaraDoc.h"

namespace sondara::displaytest {

// A point of n samples (a decaying sine), 20 us, 4000 m/s, head 100, toe 900 when
// they fit, display range set as the processing would.
inline TestPoint tracePoint(int n = 1024, const char* pileNo = "1-1", float amp = 10.0f) {
    TestPoint p;
    setText(p.pileNo, pileNo);
    p.sampleInterval = 20.0f;
    p.waveSpeed = 4000;
    p.pileLength = 16.0f;
    p.recordedLength = static_cast<std::int16_t>(n);
    p.headIndex = static_cast<std::int16_t>(n > 100 ? 100 : 0);
    p.toeIndex = static_cast<std::int16_t>(n > 900 ? 900 : n - 1);
    for (int i = 0; i < n; ++i)
        p.rawSamples.push_back(amp * std::exp(-i / 400.0f) * std::sin(i * 0.05f));
    p.samples = p.rawSamples;
    p.lastParams.rangeMax = amp * 1.1f;
    p.lastParams.rangeMin = -amp * 1.1f;
    return p;
}

inline CSondaraDoc docOf(int count, int n = 1024) {
    CSondaraDoc d;
    for (int i = 0; i < count; ++i)
        d.points.push_back(tracePoint(n, ("P" + std::to_string(i / 2)).c_str()));
    d.selectPoint(0);
    return d;
}

inline std::vector<int> pointsOf(const WaveDisplayModel& m) {
    std::vector<int> out;
    for (int i = 0; i < m.paneCount(); ++i) out.push_back(m.pane(i).pointIndex);
    return out;
}

}  // namespace sondara::displaytest
