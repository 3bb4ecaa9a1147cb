#pragma once
// Time-domain analyses: the pulse-template correlation (autocorrelation and cross
// correlation panes) and the average of several traces. Stateless; safe to call
// from any thread.
#include <span>

namespace sondara {

// The window [start, end) of the first trace used as the pulse template.
struct PulseTemplate {
    int start = 0;
    int end = 0;
};

// Finds the incident pulse in x (n samples): the lobes between zero crossings
// (crossings closer than 6 samples count as one) whose peak reaches a fifteenth of the
// trace's largest absolute value. Of the windows that start at the first such lobe
// and end after its fourth, third, second or first lobe (tried in that order) the
// first one whose length lies between n/40 and n/3 is taken; without one, the first
// tenth [0, n/10) is the template.
PulseTemplate FindPulseTemplate(const float* x, int n);

// Slides the pulse template of x along y and writes the normalised response to out
// (n values): out[i] = sum_k y[k] x[c + k - (i - h)] / R over the 2h template samples
// centred on i (h = template length / 2, clipped at the ends of the trace),
// R = sqrt(sum y^2 * sum of the template's x^2), or 1 when that is 0. The second trace
// holds countY samples (countY < 0: n); missing samples count as zero. out may be x or
// y. Returns 1, or 0 without writing for n <= 0.
int CorrelateWithPulse(const float* x, const float* y, float* out, int n, int countY = -1);

// One trace taking part in an average. samples == nullptr stands for a point index
// that does not exist. rangeMax / rangeMin are the point's display range.
struct AverageSource {
    const float* samples = nullptr;
    int count = 0;
    float rangeMax = 0.0f;
    float rangeMin = 0.0f;
};

// Averages the traces sample by sample into out (count values, the sample count of
// the first listed point, whose copy receives the average) and averages their display
// ranges into *rangeMax / *rangeMin. When any source is missing or its count differs
// from `count`, the samples and the range are all 0 and 0 is returned. An empty list
// writes nothing and returns 0. Returns 1 on success.
int AverageTraces(std::span<const AverageSource> sources, float* out, int count, float* rangeMax,
                  float* rangeMin);

}  // namespace sondara
