#include "core/model/TestPoint.h"

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

}  // namespace sondara
