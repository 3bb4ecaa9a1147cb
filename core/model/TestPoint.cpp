#include "core/model/TestPoint.h"

#include <cstring>

#include "core/model/DefectDepth.h"

namespace sondara {

void clearArrays(TestPoint& p) {
    // swap-with-empty gives the storage back, as the owner releasing its arrays would
    std::vector<float>().swap(p.rawSamples);
    std::vector<float>().swap(p.samples);
    std::vector<ProcessStep>().swap(p.steps);
    std::vector<PileMark>().swap(p.defects);
    std::vector<std::int32_t>().swap(p.spectrumMarks);
    std::vector<std::int32_t>().swap(p.correlationMarks);
    std::vector<std::int32_t>().swap(p.waveletMarkPanes);
    std::vector<std::int32_t>().swap(p.waveletMarkPositions);
}

void copyPoint(const TestPoint& src, TestPoint& dst) {
    if (&src == &dst) return;
    FixedText<50> keep = dst.extraText;
    dst = src;
    dst.extraText = keep;
}

double DepthBelowHead(const TestPoint& p, int sample, bool span) {
    long double dt = p.sampleInterval, v = p.waveSpeed;
    long double s = span ? sample : static_cast<long double>(sample) - p.headIndex;
    return static_cast<double>(dt * v * s * 0.0000005L);
}

bool DepthBasisDiffers(const TestPoint& a, const TestPoint& b) {
    // compared as bits: a NaN interval that stays NaN is no change
    return a.headIndex != b.headIndex || a.waveSpeed != b.waveSpeed ||
           std::memcmp(&a.sampleInterval, &b.sampleInterval, sizeof(float)) != 0;
}

void RederiveDefectDepths(TestPoint& p) {
    for (PileMark& m : p.defects)
        m.depth = static_cast<float>(DepthBelowHead(p, m.position, false));
}

}  // namespace sondara
