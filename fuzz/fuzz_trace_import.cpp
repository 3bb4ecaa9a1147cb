// Any bytes through the trace import: both the waveform text export and delimited
// text, any encoding. What it accepts must make points the project can hold.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/fileio/TraceImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const sondara::TraceParseResult r =
        sondara::parseTraceText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (r.message.empty() == r.traces.empty()) __builtin_trap();  // a message or traces
    if (r.traces.size() > static_cast<std::size_t>(sondara::kMaxImportPoints)) __builtin_trap();
    sondara::TraceImportOptions options;
    options.intervalUs = 10.0;
    options.pileLength = 12.0;
    options.waveSpeed = 3800.0;
    int ordinal = 0;
    for (const auto& t : r.traces) {
        if (t.samples.empty() ||
            t.samples.size() > static_cast<std::size_t>(sondara::kMaxImportSamples))
            __builtin_trap();
        if (t.intervalUs < 0.0) __builtin_trap();
        // what a file says beside its samples is either unsaid or something a point holds
        if (t.pileLength < 0.0 || t.pileLength > 1e4 || t.waveSpeed < 0.0 ||
            t.waveSpeed > 32767.0 || t.sensorType < -1 || t.sensorType > 1)
            __builtin_trap();
        const sondara::TestPoint p = sondara::importedPoint(t, options, ++ordinal);
        if (p.headIndex < 0 || p.headIndex >= p.sampleCount()) __builtin_trap();
        if (p.toeIndex < 0 || p.toeIndex >= p.sampleCount()) __builtin_trap();
        if (p.recordedLength != p.sampleCount()) __builtin_trap();
    }
    return 0;
}
