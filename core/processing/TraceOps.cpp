#include "core/processing/TraceOps.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace sondara {

namespace {

using Ext = long double;  // the operations compute in extended precision

// The private copy every operation works from; `output` starts as that copy so that
// the samples an operation leaves alone are written too.
std::vector<float> privateCopy(const float* input, int n, float* output) {
    std::vector<float> x(input, input + n);
    if (output != input) std::copy(x.begin(), x.end(), output);
    return x;
}

// A gain factor beyond this means the tail holds nothing a gain could bring up
// (it is numerically empty); the estimate stops growing there.
constexpr float kMaxGainFactor = 1.0e6f;
// The factor search alternates between x4 and x0.25 on some traces; it settles long
// before this many rounds on any real trace.
constexpr int kMaxGainRounds = 64;

// e^(rate * j) for j = 0..count-1. An exponential per sample is the slow part of the
// gain operations, so the ramp is built from one exponential per block of 64 times a
// table of the 64 in-block factors; in extended precision the product differs from
// the direct exponential far below what a float32 sample can hold.
std::vector<Ext> expRamp(Ext rate, long long count) {
    constexpr int kStep = 64;
    std::vector<Ext> out(static_cast<std::size_t>(std::max<long long>(count, 0)));
    if (count <= 0) return out;
    Ext inBlock[kStep];
    for (int j = 0; j < kStep; ++j) inBlock[j] = std::exp(rate * j);
    for (long long b = 0; b < count; b += kStep) {
        const Ext base = std::exp(rate * static_cast<Ext>(b));
        const long long end = std::min<long long>(count, b + kStep);
        for (long long j = b; j < end; ++j) out[j] = base * inBlock[j - b];
    }
    return out;
}

}  // namespace

int AmplifyTrace(const float* input, int n, float* output, float factor, int start, int law) {
    if (n <= 0) return 0;
    const std::vector<float> x = privateCopy(input, n, output);
    if (start >= n) return 1;
    if (start < 1) start = 0;
    const Ext len = n - start;
    if (law == 0) {
        // An exponential gain cannot reach a factor of zero or below (the logarithm
        // does not exist); such a step leaves the trace as it is instead of filling it
        // with NaN.
        if (!(factor > 0.0f) || !std::isfinite(factor)) return 1;
        const float r = static_cast<float>(std::log(static_cast<Ext>(factor)) / len);
        const std::vector<Ext> gain = expRamp(r, n - start);
        for (int i = start; i < n; ++i) output[i] = static_cast<float>(x[i] * gain[i - start]);
    } else {
        const float k = static_cast<float>(static_cast<Ext>(factor) / len);
        for (int i = start; i < n; ++i)
            output[i] = static_cast<float>(x[i] * (1.0L + static_cast<Ext>(k) * (i - start)));
    }
    return 1;
}

int RemoveDcTrace(const float* input, int n, float* output, int partial, int start) {
    if (n <= 0) return 0;
    const std::vector<float> x = privateCopy(input, n, output);
    if (partial == 0) {
        start = 0;
    } else {
        if (start >= n) return 1;
        if (start < 1) start = 0;
    }
    Ext sum = 0;
    for (int i = start; i < n; ++i) sum += x[i];
    const int count = n - start;
    const Ext mean = count > 1 ? sum / count : sum;
    for (int i = start; i < n; ++i) output[i] = static_cast<float>(x[i] - mean);
    return 1;
}

int SmoothTrace(const float* input, int n, float* output, int points) {
    if (n <= 0) return 0;
    const std::vector<float> x = privateCopy(input, n, output);
    // A window of 0 points (the dialogs accept it) or fewer has no average: the trace
    // stays as it is.
    if (points < 1) return 1;
    if (static_cast<long long>(n) - points <= 20) return 1;
    const int end = n - points;
    for (int i = 20; i < end; ++i) {
        Ext sum = 0;
        for (int k = 0; k < points; ++k) sum += x[i + k];
        output[i] = static_cast<float>(sum / points);
    }
    return 1;
}

int DifferentiateTrace(const float* input, int n, float* output) {
    if (n <= 0) return 0;
    const std::vector<float> x = privateCopy(input, n, output);
    for (int i = 1; i < n; ++i) output[i] = static_cast<float>(static_cast<Ext>(x[i]) - x[i - 1]);
    return 1;
}

int SimpleIntegrateTrace(const float* input, int n, float* output) {
    if (n <= 0) return 0;
    const std::vector<float> x = privateCopy(input, n, output);
    Ext sum = 0;
    for (int i = 1; i < n; ++i) {
        sum += (static_cast<Ext>(x[i - 1]) + x[i]) * 0.5L;
        output[i] = static_cast<float>(sum / (i + 1));
    }
    const Ext a = output[n - 1];
    for (int i = 0; i < n; ++i) output[i] = static_cast<float>(output[i] - a * i / n);
    return 1;
}

int ReverseTrace(const float* input, int n, float* output) {
    if (n <= 0) return 0;
    const std::vector<float> x = privateCopy(input, n, output);
    for (int i = 0; i < n; ++i) output[i] = -x[i];
    return 1;
}

int FrontZeroTrace(const float* input, int n, float* output, int end) {
    if (n <= 0) return 0;
    privateCopy(input, n, output);
    const int e = std::min(std::max(end, 0), n);
    std::fill(output, output + e, 0.0f);
    return 1;
}

int BackZeroTrace(const float* input, int n, float* output, int start) {
    if (n <= 0) return 0;
    privateCopy(input, n, output);
    if (start < 0) start = 0;
    if (start < n) std::fill(output + start, output + n, 0.0f);
    return 1;
}

int LocalScaleTrace(const float* input, int n, float* output, int first, int last, float factor) {
    if (n <= 0) return 0;
    const std::vector<float> x = privateCopy(input, n, output);
    first = std::clamp(first, 0, n);
    last = std::clamp(last, 0, n - 1);
    if (first >= last) return 1;  // a single sample is never scaled
    for (int i = first; i <= last; ++i)
        output[i] = static_cast<float>(static_cast<Ext>(x[i]) * factor);
    return 1;
}

namespace {

int zeroStart(int toe, int mode, int start) {
    if (mode == 1) return start;
    if (mode == 2) return toe;
    return 0;
}

}  // namespace

int LinearZeroTrace(const float* input, int n, float* output, int toe, int mode, int start) {
    if (n <= 0) return 0;
    const std::vector<float> x = privateCopy(input, n, output);
    int s = zeroStart(toe, mode, start);
    if (s >= n) return 1;
    if (s < 1) s = 0;
    const Ext len = n - s;
    const Ext k = -static_cast<Ext>(x[n - 1]) / len;
    for (int i = s; i < n; ++i) output[i] = static_cast<float>(x[i] + k * (i - s));
    return 1;
}

int NonlinearZeroTrace(const float* input, int n, float* output, int toe, int mode, int start) {
    if (n <= 0) return 0;
    const std::vector<float> x = privateCopy(input, n, output);
    int s = zeroStart(toe, mode, start);
    if (s >= n) return 1;
    if (s < 1) s = 0;
    const Ext len = n - s;
    const Ext k = -static_cast<Ext>(x[n - 1]) / len / len;
    for (int i = s; i < n; ++i) {
        const Ext d = i - s;
        output[i] = static_cast<float>(x[i] + k * d * d);
    }
    return 1;
}

int RotateTrace(const float* input, int n, float* output, int partial, int start, float angle,
                float scale) {
    if (n <= 0) return 0;
    const std::vector<float> x = privateCopy(input, n, output);
    if (partial == 0) {
        start = 0;
    } else {
        if (start >= n) return 1;
        if (start < 1) start = 0;
    }
    // A vertical ramp has no tangent: the angle stays just inside +-pi/2.
    const float half = static_cast<float>(std::numbers::pi / 2.0);
    const float limit = static_cast<float>(static_cast<double>(half) - 0.001);
    if (angle >= half)
        angle = limit;
    else if (angle <= -half)
        angle = -limit;
    const Ext slope = std::tan(static_cast<Ext>(angle)) * scale * 0.55L;
    for (int i = start; i < n; ++i) output[i] = static_cast<float>(x[i] + slope * (i - start));
    return 1;
}

int ShiftTrace(const float* input, int n, float* output, int shift, float offset, int partial,
               int start, int end) {
    if (n <= 0) return 0;
    const std::vector<float> x = privateCopy(input, n, output);
    if (partial != 1) {
        start = 0;
        end = n;
    }
    const long long len = static_cast<long long>(end) - start;
    if (len < 0 || start < 0 || end > n) return 0;
    const long long d = std::clamp<long long>(shift, -len, len);
    const int s = start, e = end;
    if (d > 0) {
        const int di = static_cast<int>(d);
        for (int i = s; i < s + di; ++i) output[i] = x[s];
        for (int i = s + di; i < e; ++i) output[i] = x[i - di];
    } else if (d < 0) {
        const int a = static_cast<int>(-d);
        for (int i = s; i < e - a; ++i) output[i] = x[i + a];
        for (int i = e - a; i < e; ++i) output[i] = x[e - 1];
    }
    for (int i = s; i < e; ++i)
        output[i] = static_cast<float>(static_cast<Ext>(output[i]) + offset);
    return 1;
}

// ---- integration -------------------------------------------------------------------

float PeakAbs(const float* y, int n) {
    float peak = 0.0f;
    for (int i = 0; i < n; ++i) peak = std::max(peak, std::fabs(y[i]));
    return peak;
}

TailLine TailBaseline(const float* y, int n) {
    TailLine out;
    if (n < 2) return out;
    const float sigma = y[n - 1] > 0.0f ? -1.0f : 1.0f;
    auto v = [&](int i) { return sigma * y[i]; };  // exact: a sign change
    const float lambda = -std::fabs(y[n - 1]);

    float best = v(n - 1);
    int k = n - 1;
    int z = 0;
    for (int i = n - 1; i >= 1; --i) {
        const float vi = v(i), vp = v(i - 1);
        if (vi == 0.0f) {
            z = i;
            break;
        }
        if ((vi < 0.0f && vp > 0.0f) || (vi > 0.0f && vp < 0.0f)) {
            z = i - 1;
            break;
        }
        if (vi > best) {
            best = vi;
            k = i;
        }
    }

    int d = z;
    bool toZero = true;
    if (!(k == n - 1 || k < z)) {
        for (int j = k; j >= z; --j) {
            if (v(j) < lambda) {
                d = k;
                toZero = false;
                break;
            }
        }
    }
    out.d = d;
    const long long len = static_cast<long long>(n) - d - 1;
    if (sigma * y[d] > sigma * y[n - 1] && len > 0) {
        out.a2 = static_cast<float>(std::atan((static_cast<Ext>(y[n - 1]) - y[d]) / len));
        if (toZero) out.a1 = static_cast<float>(std::atan(static_cast<Ext>(y[d]) / len));
    }
    return out;
}

float ExpGain(float* y, int n, int head, int toe, float gain, GainMode mode) {
    // Without a head inside the trace there is nothing to measure from.
    if (head < 0 || head >= n) return mode == GainMode::Measure ? 0.2f : 0.0f;
    const long long h = head, t = toe;
    const Ext rho = std::log(static_cast<Ext>(gain)) / static_cast<Ext>(n - h);
    const long long q = (t - h) / 4;  // truncated toward zero
    const Ext lateGain = h >= t ? 1.0L : std::exp(rho * static_cast<Ext>(t - h));
    const std::vector<Ext> ramp = expRamp(rho, std::min<long long>(t, n) - h);
    auto gainAt = [&](long long i) { return i < t ? ramp[i - h] : lateGain; };

    if (mode == GainMode::Apply) {
        for (long long i = h; i < n; ++i) y[i] = static_cast<float>(y[i] * gainAt(i));
        return 0.0f;
    }
    // The samples are measured where the gain acts, from the head on. A sample of the
    // early region that does not raise the early peak counts towards the late peak as
    // well: the regions never overlap, so it must be offered whatever its position.
    Ext early = -1, late = -1;
    for (long long i = h; i < n; ++i) {
        const Ext u = std::fabs(y[i] * gainAt(i));
        if (i <= h + q) {
            if (u > early)
                early = u;
            else if (u > late)
                late = u;
        } else if (i >= t - q && u > late) {
            late = u;
        }
    }
    if (early == 0) return 0.2f;
    return static_cast<float>(late / early);
}

int GainEstimate(const float* y, int n, int head, int toe) {
    if (head < 0 || head >= n) return 3;
    const float ref = std::fabs(y[head]);
    // The scan compares each sample with both neighbours, so it starts no later than
    // n - 2 even when the toe lies beyond the trace.
    if (static_cast<long long>(toe) - 2 <= 0) return 3;
    const int top = static_cast<int>(std::min<long long>(static_cast<long long>(toe) - 2, n - 2));
    bool haveMax = false, haveMin = false;
    float maxV = 0.0f, minV = 0.0f;
    for (int i = top; i >= 1 && !(haveMax && haveMin); --i) {
        if (!haveMax && y[i] > y[i + 1] && y[i] > y[i - 1]) {
            maxV = y[i];
            haveMax = true;
        }
        if (!haveMin && y[i] < y[i + 1] && y[i] < y[i - 1]) {
            minV = y[i];
            haveMin = true;
        }
    }
    if (!haveMax || !haveMin) return 3;

    const Ext swing = std::fabs(static_cast<Ext>(maxV) - minV);
    float g = 3.0f;
    bool search = true;
    if (swing > 0.00001L) {
        g = static_cast<float>(ref * 0.025L / swing);
        if (g <= 1.0f) search = false;
    }
    std::vector<float> work(y, y + n);  // ExpGain measures without writing
    for (int round = 0; search && round < kMaxGainRounds; ++round) {
        const float r = ExpGain(work.data(), n, head, toe, g, GainMode::Measure);
        if (r < 0.04f) {
            // A tail that stays at zero (or a head after the toe, where the ratio is
            // negative) cannot be lifted by any factor: keep the factor found so far.
            if (!(r > 0.0f) || g * 4.0f > kMaxGainFactor) break;
            g = 4.0f * g;
        } else if (r < 0.2f) {
            break;
        } else {
            g = g * 0.25f;
            if (g < 1.0f) break;
        }
    }
    if (!(g >= 3.0f)) g = 3.0f;
    if (g > kMaxGainFactor) g = kMaxGainFactor;
    return static_cast<int>(g);
}

int IntegrateTrace(const float* input, int n, float* output, int head, int toe) {
    if (n <= 0) return 0;
    const std::vector<float> x = privateCopy(input, n, output);
    // The weighted sum needs a sample on each side of the one it integrates; a trace
    // of one or two samples stays as it is.
    if (n < 3) return 1;
    const float p0 = PeakAbs(x.data(), n);

    std::vector<float> y(n);
    const Ext w = 0.16666667f;
    y[0] = 0.0f;
    for (int i = 1; i <= n - 2; ++i)
        y[i] = static_cast<float>(y[i - 1] +
                                  (static_cast<Ext>(x[i - 1]) + 4.0L * x[i] + x[i + 1]) * w);
    for (int i = 1; i <= n - 2; ++i) y[i] = static_cast<float>(static_cast<Ext>(y[i]) / (i + 1));
    y[n - 1] = y[n - 2];

    const TailLine tail = TailBaseline(y.data(), n);
    for (float a : {tail.a1, tail.a2}) {
        if (a == 0.0f) continue;
        const Ext slope = std::tan(static_cast<Ext>(a));
        for (int j = tail.d + 1; j < n; ++j) y[j] = static_cast<float>(y[j] - slope * (j - tail.d));
    }

    // The gain acts from the pile head; a point whose head lies outside the trace gets
    // no gain (integration, tail correction and level still apply).
    if (head >= 0 && head < n) {
        const int g = GainEstimate(y.data(), n, head, toe);
        if (g > 1) ExpGain(y.data(), n, head, toe, static_cast<float>(g), GainMode::Apply);
    }

    // Level by a power of two. A result that is all zero has no level to restore.
    const float p1 = PeakAbs(y.data(), n);
    if (p0 != 0.0f) {
        const float q = static_cast<float>(static_cast<Ext>(p1) / p0);
        if (q > 0.0f && std::isfinite(q)) {
            Ext m = 1;
            while (m * q < 0.5L) m *= 2;
            for (int i = 0; i < n; ++i) y[i] = static_cast<float>(y[i] * m);
        }
    }
    std::copy(y.begin(), y.end(), output);
    return 1;
}

}  // namespace sondara
