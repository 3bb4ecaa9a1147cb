#pragma once
// Radix-2 complex FFT and the value-range helper shared by the analysis panes.
// Plain functions over float arrays; they keep no state that a caller can see and
// may be called from any thread.
namespace sondara {

// Largest transform the analysis uses: 2^17 points.
inline constexpr int kMaxTransformLog2 = 17;
inline constexpr int kMaxTransformLength = 1 << kMaxTransformLog2;

// Transform length for a trace of `count` samples: the smallest N = 2^p >= count
// with 0 <= p <= 17 (so never more than 131072). Writes p to *log2 when given.
// Returns 0 for count <= 0.
int TransformLength(int count, int* log2 = nullptr);

// In-order radix-2 decimation-in-time FFT of n = 2^m complex values.
//   reIn, imIn   : the input (n floats each); used as work space: on return they
//                  hold the twiddle table W_k = exp(-+2 pi i k / n), k < n, or, when
//                  magPhase != 0, the magnitude and the phase in degrees (-90..90,
//                  no quadrant correction) of each output value.
//   reOut, imOut : the transform (n floats each), must not overlap the input.
//   inverse      : nonzero for the inverse transform (conjugate twiddles, / n).
// The arithmetic is fixed: twiddles by the float recurrence W_k = W_{k-1} * W_1 from
// theta = 6.2831855f / n, every complex product with three real multiplications, a
// first stage without multiplications. Twiddle tables are built once per length and
// direction and kept for later calls (values identical to a fresh recurrence).
// Returns 1 on success, 0 when n <= 0 or n != 2^m.
int Fft(float* reIn, float* imIn, int n, int m, float* reOut, float* imOut, int inverse,
        int magPhase);

// Largest and smallest of `count` values (both start from the first value). With
// symmetric != 0 both become +-max(|max|, |min|). Returns 1, or 0 (and writes
// 0 to both) for count <= 0.
int GetValueRange(const float* values, int count, float* maxOut, float* minOut, int symmetric);

}  // namespace sondara
