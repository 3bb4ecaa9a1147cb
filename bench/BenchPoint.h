#pragma once
// The point the benchmarks measure with: a decaying sine of 1,024 samples at 20 us
// whose phase is the point's index, 4000 m/s, 16 m, head 100, toe 900, processed
// samples equal to the raw ones, display range +-110. A benchmark sets its own
// fields on top.
#include <cmath>
#include <string>

#include "core/base/FixedText.h"
#include "core/model/TestPoint.h"

namespace sondara::bench {

inline TestPoint decayingSinePoint(int index, const std::string& pileNo) {
    TestPoint p;
    setText(p.pileNo, pileNo);
    p.sampleInterval = 20.0f;
    p.waveSpeed = 4000;
    p.pileLength = 16.0f;
    p.recordedLength = 1024;
    p.headIndex = 100;
    p.toeIndex = 900;
    p.rawSamples.resize(1024);
    for (int i = 0; i < 1024; ++i)
        p.rawSamples[static_cast<size_t>(i)] =
            100.0f * std::exp(-i / 300.0f) * std::sin(i * 0.05f + static_cast<float>(index));
    p.samples = p.rawSamples;
    p.lastParams.rangeMax = 110.0f;
    p.lastParams.rangeMin = -110.0f;
    return p;
}

}  // namespace sondara::bench
