#pragma once
// The digital filter of the processing chain: a finite-impulse-response filter
// designed by the window method (ideal response times a Hann window) and applied as a
// causal convolution. Frequencies in Hz, the sample interval in microseconds.
//
// Thread-safe: FilterTrace keeps the last few designs and its work buffers per thread
// (a replay filters many traces with the same design); nothing is shared between
// threads.
namespace sondara {

// Filter types of a step's `filterType`.
inline constexpr int kLowPass = 1;
inline constexpr int kHighPass = 2;
inline constexpr int kBandPass = 3;
inline constexpr int kBandStop = 4;
// Window codes accepted by DesignFir; the chain always asks for the Hann window.
inline constexpr int kHannWindow = 4;

// Filters n samples; output may be the input array. Returns 1, or 0 when n <= 0.
// The result lags the input by (taps - 1) / 2 samples.
int FilterTrace(const float* input, int n, float* output, float sampleIntervalUs, float lowerFreqHz,
                float upperFreqHz, int filterType, int window);

// What FilterTrace does for a trace of n samples: `taps` coefficients designed at
// `cutoffHz` (the design cut-off, limited to fs/2) with sampling rate `fsHz`, or
// nothing at all (`filters` false: a high-pass at 0 Hz, no usable sample interval or
// frequency).
struct FilterPlan {
    bool filters = false;
    int taps = 0;
    double cutoffHz = 0.0;
    double fsHz = 0.0;
};
FilterPlan PlanFilter(int n, float sampleIntervalUs, float lowerFreqHz, float upperFreqHz,
                      int filterType);

// Designs `length` coefficients into h (which must hold `length` values) and returns
// the error code: 0 designed, 1 even or non-positive length, 2 unknown window,
// 3 unknown band type, 4 band edges outside 0..fs/2 or not rising. On an error h is
// all zero. fa is the cut-off (the lower edge for band types), fb the upper edge.
int DesignFir(int length, int bandType, double fa, double fb, double fs, int window, float* h);

// y[i] = sum over k = 0..i of x[k] * h[i - k] for 0 <= i < n, where x counts as zero
// from xLength on and h from hLength on (neither array is written; each must hold at
// least min(length, n) values). Vectorised; equal to ConvolveFirReference.
void ConvolveFir(const float* x, const float* h, float* y, int xLength, int hLength, int n);
// The same as the plain scalar double loop over zero-padded copies; kept as the
// yardstick for tests and benchmarks.
void ConvolveFirReference(const float* x, const float* h, float* y, int xLength, int hLength,
                          int n);

// The periodic Hann window: w[i] = 0.5 * (1 - cos(i * 2pi/L)), 2pi/L held as float32.
void HannWindow(double* w, int length);

}  // namespace sondara
