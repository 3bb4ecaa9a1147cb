#pragma once
// Multi-level periodic discrete wavelet transform of one trace for the wavelet
// panes. Stateless; safe to call from any thread.
#include "core/analysis/WaveletTables.h"

namespace sondara {

inline constexpr int kMaxWaveletLevels = 9;

// Layout of the outputs for a trace of M samples: N = TransformLength(M) (the
// smallest power of two >= M, at most 2^17). Level k (1-based) has N / 2^k values at
// offset N - N / 2^(k-1) of the approximation and detail outputs. Levels whose
// length would be 0 (N < 2^k) are not computed and add nothing.
int WaveletLevelLength(int M, int level);
int WaveletLevelOffset(int M, int level);
// Values in the approximation (and in the detail) output for L levels.
int WaveletCoefficientCount(int M, int levels);

// Decomposes `samples` (M values) over `levels` levels (1..9) with the member
// (family, member) of WaveletFamilies(), and rebuilds the trace from the deepest
// level. The trace is placed after N zeros in a working signal of 2N values and
// analysed periodically; of every level only the half aligned with the trace is
// handed out.
//   reconstruction : M values
//   approximation, detail : WaveletCoefficientCount(M, levels) values each
// Returns false (and writes nothing) for M < 1, M > 131072, levels outside 1..9 or an
// unknown family or member.
bool WaveletTransform(const float* samples, int M, float* reconstruction, float* approximation,
                      float* detail, int family, int member, int levels);

}  // namespace sondara
