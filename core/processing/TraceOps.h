#pragma once
// The time-domain operations behind the processing kinds (the digital filter is in
// Filter.h). Each one reads n float32 samples from `input` and writes n samples to
// `output`, which may be the input array. They return 1, or 0 without writing anything
// when n <= 0. Positions are sample indices (0 = first sample).
//
// The results are those of computing in extended precision (long double) and rounding
// to float32. The operations a replay spends its time in (exponential gain, mean
// removal, smoothing, integration) compute in double, several samples at a time, and
// use extended precision only for the samples whose rounding double leaves in doubt;
// every float32 they write is the one the extended computation gives.
//
// Thread-safe: the gain tables and work buffers they keep belong to the calling thread.
namespace sondara {

// Gain rising from 1 at `start` to `factor` (law 0, exponential) or 1 + `factor`
// (any other law, linear) at the end of the trace. Samples before `start` unchanged.
int AmplifyTrace(const float* input, int n, float* output, float factor, int start, int law);

// Removes the mean of the whole trace (partial 0) or of samples start..n-1 (partial 1)
// from those samples.
int RemoveDcTrace(const float* input, int n, float* output, int partial, int start);

// Forward moving average of `points` samples; the first 20 and the last `points`
// samples are left alone, and traces of 20 + points samples or fewer are unchanged.
int SmoothTrace(const float* input, int n, float* output, int points);

// Integration with tail correction, exponential gain from the pile head and a
// power-of-two level; `head` and `toe` are sample indices.
int IntegrateTrace(const float* input, int n, float* output, int head, int toe);

// Cumulative trapezoid sum normalised by the index, with its trend to the last sample
// removed.
int SimpleIntegrateTrace(const float* input, int n, float* output);

// First difference (y[0] = x[0]); no division by the sample interval.
int DifferentiateTrace(const float* input, int n, float* output);

// Adds the ramp tan(angle) * (i - start) * scale * 0.55 over the whole trace
// (partial 0) or from `start` on (partial 1). The angle is kept inside (-pi/2, pi/2).
int RotateTrace(const float* input, int n, float* output, int partial, int start, float angle,
                float scale);

// Brings the last sample to x[n-1]/L along a straight line from the start, where the
// start is `start` (mode 1), `toe` (mode 2) or 0 (any other mode), L = n - start.
int LinearZeroTrace(const float* input, int n, float* output, int toe, int mode, int start);
// The same along a parabola.
int NonlinearZeroTrace(const float* input, int n, float* output, int toe, int mode, int start);

// Samples before `end` become 0.
int FrontZeroTrace(const float* input, int n, float* output, int end);
// Samples from `start` on become 0.
int BackZeroTrace(const float* input, int n, float* output, int start);

// Multiplies samples first..last (inclusive) by `factor` when first < last.
int LocalScaleTrace(const float* input, int n, float* output, int first, int last, float factor);

// Shifts the samples of the range [start, end) (partial 1) or of the whole trace by
// `shift` samples (positive = later) and adds `offset` mV to the range. Returns 0 and
// copies the input unchanged when the range does not lie inside the trace.
int ShiftTrace(const float* input, int n, float* output, int shift, float offset, int partial,
               int start, int end);

// y = -x.
int ReverseTrace(const float* input, int n, float* output);

// ---- the auxiliary routines of IntegrateTrace, exposed for tests -------------------

// The largest |y[i]|, starting from 0 (0 for an empty trace).
float PeakAbs(const float* y, int n);

// The last stretch of the trace on one side of zero and the angles (radians, held as
// float32) of the lines that bring its end back. a1 and a2 are 0 when nothing is to
// be corrected. Needs n >= 2.
struct TailLine {
    int d = 0;
    float a1 = 0.0f;
    float a2 = 0.0f;
};
TailLine TailBaseline(const float* y, int n);

// The exponential gain factor (>= 3) that lifts the late part of the trace, between
// the toe and the end, to a few per cent of the early part after the head.
int GainEstimate(const float* y, int n, int head, int toe);

// Exponential gain from `head` towards `toe`, constant after the toe. Apply mode
// multiplies y[head..n-1] and returns 0; measure mode writes nothing and returns the
// ratio of the late peak to the early peak (0.2 when the early peak is 0).
enum class GainMode { Apply, Measure };
float ExpGain(float* y, int n, int head, int toe, float gain, GainMode mode);

}  // namespace sondara
