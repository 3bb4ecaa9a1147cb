#include "core/analysis/Correlation.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/analysis/Fft.h"

namespace sondara {

PulseTemplate FindPulseTemplate(const float* x, int n) {
    const PulseTemplate fallback{0, std::max(n, 0) / 10};
    if (n <= 1) return fallback;
    float hi = 0.0f, lo = 0.0f;
    GetValueRange(x, n, &hi, &lo, 1);
    const double threshold = (static_cast<double>(hi) - lo) / 30.0;

    constexpr int kNone = -1;
    int mark = kNone;  // the latest zero crossing (merged with those closer than 6)
    int lobeEnd = kNone;
    int start = kNone;
    int ends[4] = {kNone, kNone, kNone, kNone};  // after the first .. fourth lobe
    int recorded = 0;
    for (int i = 1; i < n && recorded < 4; ++i) {
        if (static_cast<double>(x[i - 1]) * x[i] <= 0.0) {
            if (mark == kNone || i - mark < 6)
                mark = i;
            else
                lobeEnd = i;
        }
        if (std::fabs(static_cast<double>(x[i])) >= threshold && mark != kNone &&
            lobeEnd != kNone) {
            if (recorded == 0) start = mark;
            ends[recorded++] = lobeEnd;
            mark = i;
            lobeEnd = kNone;
        }
    }
    if (recorded == 0) return fallback;
    const int shortest = n / 40, longest = n / 3;
    for (int r = recorded - 1; r >= 0; --r) {
        const int len = ends[r] - start;
        if (len >= shortest && len <= longest) return {start, ends[r]};
    }
    return fallback;
}

int CorrelateWithPulse(const float* x, const float* y, float* out, int n, int countY) {
    if (n <= 0) return 0;
    if (countY < 0) countY = n;
    // Work copies, so that out may be one of the inputs.
    const std::vector<double> xs(x, x + n);
    std::vector<double> ys(n, 0.0);
    std::copy(y, y + std::min(countY, n), ys.begin());

    const PulseTemplate tpl = FindPulseTemplate(x, n);
    const int c = tpl.start;
    const int w = tpl.end - tpl.start;
    const int h = w / 2;

    double ey = 0.0, ex = 0.0;
    for (int k = 0; k < n; ++k) ey += ys[k] * ys[k];
    for (int k = c; k < c + w; ++k) ex += xs[k] * xs[k];
    double norm = std::sqrt(ey * ex);
    if (norm == 0.0) norm = 1.0;

    for (int i = 0; i < n; ++i) {
        const int from = std::max(0, i - h);
        const int to = std::min(n, i + h);
        const int shift = c - (i - h);  // y[k] meets template sample x[k + shift]
        double sum = 0.0;
        for (int k = from; k < to; ++k) sum += ys[k] * xs[k + shift];
        out[i] = static_cast<float>(sum / norm);
    }
    return 1;
}

int AverageTraces(std::span<const AverageSource> sources, float* out, int count, float* rangeMax,
                  float* rangeMin) {
    if (sources.empty() || count < 0) return 0;
    std::vector<double> sum(count, 0.0);
    double sumMax = 0.0, sumMin = 0.0;
    for (const AverageSource& s : sources) {
        if (!s.samples || s.count != count) {
            // One trace that does not fit spoils the whole average: nothing of the
            // partial sums is shown.
            std::fill(out, out + count, 0.0f);
            *rangeMax = 0.0f;
            *rangeMin = 0.0f;
            return 0;
        }
        for (int i = 0; i < count; ++i) sum[i] += s.samples[i];
        sumMax += s.rangeMax;
        sumMin += s.rangeMin;
    }
    const double k = static_cast<double>(sources.size());
    for (int i = 0; i < count; ++i) out[i] = static_cast<float>(sum[i] / k);
    *rangeMax = static_cast<float>(sumMax / k);
    *rangeMin = static_cast<float>(sumMin / k);
    return 1;
}

}  // namespace sondara
