#pragma once
// The sample intervals an instrument records: from 0.1 us (10 MHz) to 10,000 us (100 Hz).
// A point whose interval lies outside is not a recording; the readers of traces refuse it.
namespace sondara {

inline constexpr double kMinSampleIntervalUs = 0.1;
inline constexpr double kMaxSampleIntervalUs = 10000.0;

inline bool plausibleSampleInterval(double us) {
    return us >= kMinSampleIntervalUs && us <= kMaxSampleIntervalUs;
}

}  // namespace sondara
