// Any bytes as one point (its header fields, then its samples) through the automatic
// interpretation: it must come back, promptly, with an error or a reading whose
// numbers are finite, and never call a point clear when its speed, length or samples
// are not a pile's.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/interpret/Interpretation.h"
#include "core/model/SondaraDoc.h"

namespace {

template <typename T>
T take(const std::uint8_t*& data, std::size_t& size) {
    T v{};
    if (size >= sizeof v) {
        std::memcpy(&v, data, sizeof v);
        data += sizeof v;
        size -= sizeof v;
    }
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sondara;
    TestPoint p{};
    p.sensorType = take<std::int16_t>(data, size);
    p.sampleInterval = take<float>(data, size);
    p.pileLength = take<float>(data, size);
    p.waveSpeed = take<std::int16_t>(data, size);
    // The samples: 2-byte integers as an instrument records them, or floats.
    const bool floats = take<std::uint8_t>(data, size) & 1;
    const std::size_t count = std::min<std::size_t>(size / (floats ? 4 : 2), 4096);
    for (std::size_t i = 0; i < count; ++i)
        p.samples.push_back(floats ? take<float>(data, size)
                                   : static_cast<float>(take<std::int16_t>(data, size)));
    p.rawSamples = p.samples;
    p.recordedLength = static_cast<std::int16_t>(p.samples.size());
    CSondaraDoc doc;
    doc.points.push_back(p);
    const PointInterpretation r = interpretPoint(doc, 0);
    if (!r.error.empty()) return 0;
    if (!std::isfinite(r.toeTime) || !std::isfinite(r.residual)) __builtin_trap();
    for (float f : r.fitted)
        if (!std::isfinite(f)) __builtin_trap();
    const bool pileLike = p.waveSpeed >= 1000 && p.waveSpeed <= 6500 &&
                          std::isfinite(p.pileLength) && p.pileLength > 0 && p.pileLength < 1000;
    if (!pileLike && r.confidence == Confidence::Clear) __builtin_trap();
    if (r.confidence == Confidence::Clear && !std::isfinite(r.toeDepth)) __builtin_trap();
    if (r.toeIndex < 0 || r.toeIndex >= p.sampleCount()) __builtin_trap();
    return 0;
}
