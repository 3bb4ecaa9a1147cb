#include "core/processing/TraceOps.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <vector>

namespace sondara {

namespace {

using Ext = long double;  // the operations compute in extended precision

// The private copy the remaining operations work from; `output` starts as that copy so that
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

// ---- double precision with the extended result ---------------------------------------
// The hot operations compute in double, several samples at a time, and keep every
// float32 result the extended-precision computation gives: each double result comes
// with a bound on how far the extended-precision value can lie from it, and where
// that leaves the rounding to float32 in doubt (the value lies within the bound of a
// point half-way between two floats, or is no normal float at all), the sample is
// computed in extended precision as before. That happens for a few samples in a
// million.

typedef double D4 __attribute__((vector_size(32)));
typedef float F4 __attribute__((vector_size(16)));

// The helpers below take and return vectors by value; they are always inlined into
// the kernels, so no call passes them.
#pragma GCC diagnostic ignored "-Wpsabi"
#define SONDARA_INLINE inline __attribute__((always_inline))

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define SONDARA_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define SONDARA_VECTOR_CLONES
#endif

SONDARA_INLINE D4 load4(const float* p) {
    F4 f;
    std::memcpy(&f, p, sizeof f);
    return __builtin_convertvector(f, D4);
}
SONDARA_INLINE D4 load4(const double* p) {
    D4 d;
    std::memcpy(&d, p, sizeof d);
    return d;
}
SONDARA_INLINE void store4(float* p, F4 f) {
    std::memcpy(p, &f, sizeof f);
}
SONDARA_INLINE D4 abs4(D4 v) {
    return v < 0.0 ? -v : v;
}
SONDARA_INLINE D4 splat4(double v) {
    return D4{} + v;
}

// Rounds v to float32 into `out`; true when every value within `bound` of v rounds to
// the same float f. Half the float spacing around f is 2^(e-24) with 2^e the power of
// two at or below |f|, and half that on the lower side of a power of two; for a
// subnormal f that is less than the true spacing, which only makes the test stricter.
// A NaN, an infinity, or a zero that is not exact counts as in doubt.
typedef long long L4 __attribute__((vector_size(32)));
constexpr long long kExponentBits = 0x7ff0000000000000LL;

SONDARA_INLINE L4 safeLanes(D4 v, D4 bound, F4& out) {
    out = __builtin_convertvector(v, F4);
    const D4 back = __builtin_convertvector(out, D4);
    const D4 power = reinterpret_cast<D4>(reinterpret_cast<L4>(back) & kExponentBits);
    const D4 magnitude = abs4(back);
    const D4 half = magnitude == power ? power * 0x1p-25 : power * 0x1p-24;
    const D4 off = abs4(v - back) + bound;
    return (off < half) | ((off == 0.0) & (v == back));
}
SONDARA_INLINE bool allLanes(L4 m) {
    return (m[0] & m[1] & m[2] & m[3]) != 0;
}
SONDARA_INLINE bool roundsSafely(D4 v, D4 bound, F4& out) {
    return allLanes(safeLanes(v, bound, out));
}
// The lanes where a + b is exact in double (the rounding error of the sum is zero).
SONDARA_INLINE L4 exactSum(D4 a, D4 b, D4 s) {
    const D4 bb = s - a;
    const D4 err = (a - (s - bb)) + (b - bb);
    return err == 0.0;
}
SONDARA_INLINE bool roundsSafely(double v, double bound, float& out) {
    out = static_cast<float>(v);
    const double back = out;
    const double power = std::bit_cast<double>(std::bit_cast<std::uint64_t>(back) & kExponentBits);
    const double half = std::fabs(back) == power ? power * 0x1p-25 : power * 0x1p-24;
    const double off = std::fabs(v - back) + bound;
    return off < half || (off == 0.0 && v == back);
}

// The relative error of a double product or quotient of values that are themselves
// within one rounding of the extended ones, with room to spare.
constexpr double kProductBound = 0x1p-51;

// A table of gains the replay uses again and again (the same amplification step on
// every trace of a project): each thread keeps the last few it built, in extended
// precision and rounded to double.
struct RampTable {
    float rate = 0.0f;
    long long count = 0;
    std::vector<Ext> ext;
    std::vector<double> wide;
};

const RampTable& cachedRamp(float rate, long long count) {
    constexpr std::size_t kKept = 4;
    thread_local std::vector<RampTable> kept;
    for (std::size_t k = 0; k < kept.size(); ++k) {
        const RampTable& t = kept[k];
        if (t.count == count && std::memcmp(&t.rate, &rate, sizeof rate) == 0) {
            if (k != 0) std::rotate(kept.begin(), kept.begin() + k, kept.begin() + k + 1);
            return kept.front();
        }
    }
    RampTable t;
    t.rate = rate;
    t.count = count;
    t.ext = expRamp(rate, count);
    t.wide.assign(t.ext.begin(), t.ext.end());
    if (kept.size() == kKept) kept.pop_back();
    kept.insert(kept.begin(), std::move(t));
    return kept.front();
}

// y[i] = x[i] * gain[i] rounded to float32, as the extended product would round.
SONDARA_VECTOR_CLONES
void multiplyByGain(const float* x, const RampTable& gain, float* y, long long count) {
    const double* g = gain.wide.data();
    const Ext* ge = gain.ext.data();
    long long i = 0;
    for (; i + 4 <= count; i += 4) {
        const D4 p = load4(x + i) * load4(g + i);
        F4 f;
        if (!roundsSafely(p, abs4(p) * kProductBound, f))
            for (int j = 0; j < 4; ++j) f[j] = static_cast<float>(x[i + j] * ge[i + j]);
        store4(y + i, f);
    }
    for (; i < count; ++i) {
        const double p = x[i] * g[i];
        float f;
        if (!roundsSafely(p, std::fabs(p) * kProductBound, f)) f = static_cast<float>(x[i] * ge[i]);
        y[i] = f;
    }
}

// The sum, the sum of magnitudes and the smallest non-zero magnitude of
// x[0..count-1] in double (the smallest is infinite when every sample is zero).
struct Magnitudes {
    double sum = 0.0;
    double magnitude = 0.0;
    double smallest = 0.0;
};

// Exact sums of float samples in double. Every sample is a multiple of the last bit
// L of the smallest non-zero one (a power of two). When their magnitudes add up to
// less than 2^62 L, every partial sum in extended precision is exact (64 bits), and so
// is the sum split in two: each sample becomes a high part, a multiple of 2^22 L, and
// the rest, at most 2^21 L; both parts add up exactly in double in any order. The
// extended sum is then the sum of the two double sums, rounded once.
struct ExactSplit {
    bool exact = false;
    double shifter = 0.0;  // (v + shifter) - shifter rounds v to a multiple of 2^22 L
};

ExactSplit exactSplit(const Magnitudes& m) {
    ExactSplit out;
    // A NaN or an infinite sample, or none that is non-zero, fails the test.
    if (!std::isfinite(m.magnitude) || !std::isfinite(m.smallest) || !(m.smallest > 0.0))
        return out;
    const int lastBit = std::ilogb(m.smallest) - 23;
    if (!(m.magnitude < std::ldexp(1.0, lastBit + 62))) return out;
    out.exact = true;
    out.shifter = std::ldexp(1.5, lastBit + 22 + 52);
    return out;
}

// The high part and the rest of v (see ExactSplit).
SONDARA_INLINE void split4(D4 v, D4 shifter, D4& high, D4& low) {
    high = (v + shifter) - shifter;
    low = v - high;
}

SONDARA_VECTOR_CLONES
Magnitudes measureMagnitudes(const float* x, int count) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    D4 s0{}, s1{}, a0{}, a1{}, m0 = splat4(inf), m1 = splat4(inf);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const D4 v0 = load4(x + i), v1 = load4(x + i + 4);
        const D4 u0 = abs4(v0), u1 = abs4(v1);
        s0 += v0;
        s1 += v1;
        a0 += u0;
        a1 += u1;
        const D4 z0 = u0 == 0.0 ? splat4(inf) : u0, z1 = u1 == 0.0 ? splat4(inf) : u1;
        m0 = z0 < m0 ? z0 : m0;
        m1 = z1 < m1 ? z1 : m1;
    }
    const D4 sv = s0 + s1, av = a0 + a1, mv = m1 < m0 ? m1 : m0;
    Magnitudes out;
    out.sum = (sv[0] + sv[1]) + (sv[2] + sv[3]);
    out.magnitude = (av[0] + av[1]) + (av[2] + av[3]);
    out.smallest = std::min(std::min(mv[0], mv[1]), std::min(mv[2], mv[3]));
    for (; i < count; ++i) {
        const double v = x[i], u = std::fabs(v);
        out.sum += v;
        out.magnitude += u;
        // A NaN sample leaves `smallest` alone; the sums become NaN and fail above.
        if (u != 0.0 && u < out.smallest) out.smallest = u;
    }
    return out;
}

// y[i] = x[i] - mean rounded to float32, where the double `mean` lies within
// `meanBound` of the extended mean `exact`; samples in doubt take the extended one.
SONDARA_VECTOR_CLONES
void subtractMean(const float* x, int count, float* y, double mean, double meanBound, Ext exact) {
    const D4 m = splat4(mean), mb = splat4(meanBound);
    // When the mean is exact in double, a difference that is exact in double is the
    // extended one, even half-way between two floats.
    const bool meanExact = static_cast<Ext>(mean) == exact;
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const D4 v = load4(x + i);
        const D4 r = v - m;
        F4 f;
        L4 safe = safeLanes(r, mb + abs4(r) * kProductBound, f);
        if (meanExact) safe |= exactSum(v, -m, r);
        if (!allLanes(safe))
            for (int j = 0; j < 4; ++j) f[j] = static_cast<float>(x[i + j] - exact);
        store4(y + i, f);
    }
    for (; i < count; ++i) y[i] = static_cast<float>(x[i] - exact);
}

// The moving average of `points` samples for outputs first..end-1, each the rounded
// quotient of the forward sum by `points`, where the sums in double may differ from
// the extended ones by `bound` (divided by `points`).
SONDARA_VECTOR_CLONES
void movingAverage(const float* x, float* y, int first, int end, int points, double bound) {
    const double inv = points;  // divided, not multiplied by a reciprocal: one rounding
    const D4 b = splat4(bound), p = splat4(inv);
    int i = first;
    for (; i + 4 <= end; i += 4) {
        D4 s{};
        for (int k = 0; k < points; ++k) s += load4(x + i + k);
        const D4 q = s / p;
        F4 f;
        if (!roundsSafely(q, b + abs4(q) * kProductBound, f)) {
            for (int j = 0; j < 4; ++j) {
                Ext e = 0;
                for (int k = 0; k < points; ++k) e += x[i + j + k];
                f[j] = static_cast<float>(e / points);
            }
        }
        store4(y + i, f);
    }
    for (; i < end; ++i) {
        // The last few outputs: in extended precision as before.
        Ext e = 0;
        for (int k = 0; k < points; ++k) e += x[i + k];
        y[i] = static_cast<float>(e / points);
    }
}

// Each sample split into its high part and the rest (see ExactSplit).
SONDARA_VECTOR_CLONES
void splitSamples(const float* x, int n, ExactSplit split, double* high, double* low) {
    const D4 c = splat4(split.shifter);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        D4 h, l;
        split4(load4(x + i), c, h, l);
        std::memcpy(high + i, &h, sizeof h);
        std::memcpy(low + i, &l, sizeof l);
    }
    for (; i < n; ++i) {
        const double v = x[i];
        high[i] = (v + split.shifter) - split.shifter;
        low[i] = v - high[i];
    }
}

// The same moving average from the split samples: the two partial sums are exact,
// so the only roundings are their addition and the division.
SONDARA_VECTOR_CLONES
void movingAverageSplit(const double* high, const double* low, const float* x, float* y, int first,
                        int end, int points) {
    const double inv = points;
    const D4 p = splat4(inv);
    // The low mantissa bits of a quotient that times `points` is exact in double.
    const long long pointBits = (2LL << std::ilogb(inv)) - 1;
    int i = first;
    for (; i + 4 <= end; i += 4) {
        D4 sh{}, sl{};
        for (int k = 0; k < points; ++k) {
            sh += load4(high + i + k);
            sl += load4(low + i + k);
        }
        const D4 s = sh + sl;
        const D4 q = s / p;
        F4 f;
        L4 safe = safeLanes(q, abs4(q) * kProductBound, f);
        {
            // Checked on every block, without a branch: a quotient that is exact in double is the
            // extended one too, even half-way between two floats: the sum is exact, q has no more
            // bits than leave room for those of `points`, and q * points gives the sum back. Sums
            // of a few floats divided by a small count often land exactly half-way.
            const L4 roomy = (reinterpret_cast<L4>(q) & pointBits) == 0;
            safe |= exactSum(sh, sl, s) & roomy & (q * p == s);
        }
        if (!allLanes(safe)) {
            // The exact sum in extended precision is the two parts added once.
            for (int j = 0; j < 4; ++j)
                f[j] = static_cast<float>((static_cast<Ext>(sh[j]) + sl[j]) / points);
        }
        store4(y + i, f);
    }
    for (; i < end; ++i) {
        Ext e = 0;
        for (int k = 0; k < points; ++k) e += x[i + k];
        y[i] = static_cast<float>(e / points);
    }
}

// The sum of x[0..count-1] as the extended sum in order gives it.
SONDARA_VECTOR_CLONES
Ext extendedSum(const float* x, int count, ExactSplit split) {
    if (!split.exact) {
        Ext sum = 0;
        for (int i = 0; i < count; ++i) sum += x[i];
        return sum;
    }
    const D4 c = splat4(split.shifter);
    D4 sh{}, sl{};
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        D4 h, l;
        split4(load4(x + i), c, h, l);
        sh += h;
        sl += l;
    }
    double high = (sh[0] + sh[1]) + (sh[2] + sh[3]);
    double low = (sl[0] + sl[1]) + (sl[2] + sl[3]);
    for (; i < count; ++i) {
        const double v = x[i];
        const double h = (v + split.shifter) - split.shifter;
        high += h;
        low += v - h;
    }
    return static_cast<Ext>(high) + static_cast<Ext>(low);
}

}  // namespace

int AmplifyTrace(const float* input, int n, float* output, float factor, int start, int law) {
    if (n <= 0) return 0;
    if (law == 0) {
        // Each sample is read before it is written: no private copy is needed.
        if (output != input) std::copy(input, input + n, output);
        if (start >= n) return 1;
        if (start < 1) start = 0;
        const Ext len = n - start;
        // An exponential gain cannot reach a factor of zero or below (the logarithm
        // does not exist); such a step leaves the trace as it is instead of filling it
        // with NaN.
        if (!(factor > 0.0f) || !std::isfinite(factor)) return 1;
        const float r = static_cast<float>(std::log(static_cast<Ext>(factor)) / len);
        multiplyByGain(input + start, cachedRamp(r, n - start), output + start, n - start);
        return 1;
    }
    const std::vector<float> x = privateCopy(input, n, output);
    if (start >= n) return 1;
    if (start < 1) start = 0;
    const Ext len = n - start;
    {
        const float k = static_cast<float>(static_cast<Ext>(factor) / len);
        for (int i = start; i < n; ++i)
            output[i] = static_cast<float>(x[i] * (1.0L + static_cast<Ext>(k) * (i - start)));
    }
    return 1;
}

int RemoveDcTrace(const float* input, int n, float* output, int partial, int start) {
    if (n <= 0) return 0;
    // Each sample is read before it is written: no private copy is needed.
    if (output != input) std::copy(input, input + n, output);
    if (partial == 0) {
        start = 0;
    } else {
        if (start >= n) return 1;
        if (start < 1) start = 0;
    }
    const int count = n - start;
    const float* x = input + start;
    float* y = output + start;
    // The mean in extended precision, from exact double sums for any ordinary trace.
    const Ext sum = extendedSum(x, count, exactSplit(measureMagnitudes(x, count)));
    const Ext exact = count > 1 ? sum / count : sum;
    const double mean = static_cast<double>(exact);
    const double meanBound = std::fabs(mean) * 0x1p-52;
    subtractMean(x, count, y, mean, meanBound, exact);
    return 1;
}

int SmoothTrace(const float* input, int n, float* output, int points) {
    if (n <= 0) return 0;
    if (output != input) std::copy(input, input + n, output);
    // A window of 0 points (the dialogs accept it) or fewer has no average: the trace
    // stays as it is.
    if (points < 1) return 1;
    if (static_cast<long long>(n) - points <= 20) return 1;
    const int end = n - points;
    // Output i reads samples i..i+points-1 and the outputs are written in rising
    // order, so working in place never reads a sample already averaged.
    // The window sums are exact when those of the whole trace are (ExactSplit);
    // otherwise each double sum is within points - 1 roundings of at most points times
    // the peak of the extended one.
    const ExactSplit split = exactSplit(measureMagnitudes(input, n));
    if (split.exact) {
        thread_local std::vector<double> high, low;
        high.resize(n);
        low.resize(n);
        splitSamples(input, n, split, high.data(), low.data());
        movingAverageSplit(high.data(), low.data(), input, output, 20, end, points);
    } else {
        const double bound = static_cast<double>(PeakAbs(input, n)) * points * 0x1p-52;
        movingAverage(input, output, 20, end, points, bound);
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
    // Eight running maxima side by side (a NaN sample is passed over by each, as by
    // one): the largest of them is the same value, found without one long chain.
    float part[8] = {};
    int i = 0;
    for (; i + 8 <= n; i += 8)
        for (int k = 0; k < 8; ++k) part[k] = std::max(part[k], std::fabs(y[i + k]));
    float peak = 0.0f;
    for (float p : part) peak = std::max(peak, p);
    for (; i < n; ++i) peak = std::max(peak, std::fabs(y[i]));
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

namespace {

// The exponential gain of ExpGain for one factor, as a double table: rho, the gain
// from the head up to the toe and the constant gain after it. Each double gain is
// within `relative` of the extended one (rho rounded to double moves the exponent by
// at most 2^-53 of itself, each exponential and product adds a rounding); `extAt`
// gives the extended gain of one sample, computed the way ExpGain computes it.
struct GainRamp {
    long long h = 0, t = 0;
    Ext rho = 0;
    std::vector<double> ramp;
    double late = 1.0;
    double relative = 0.0;

    GainRamp(int n, int head, int toe, float gain) : h(head), t(toe) {
        rho = std::log(static_cast<Ext>(gain)) / static_cast<Ext>(n - h);
        const double r = static_cast<double>(rho);
        const long long count = std::max<long long>(std::min<long long>(t, n) - h, 0);
        ramp.resize(static_cast<std::size_t>(count));
        constexpr int kStep = 64;
        double inBlock[kStep];
        for (int j = 0; j < kStep; ++j) inBlock[j] = std::exp(r * j);
        for (long long b = 0; b < count; b += kStep) {
            const double base = std::exp(r * static_cast<double>(b));
            const long long end = std::min<long long>(count, b + kStep);
            for (long long j = b; j < end; ++j) ramp[j] = base * inBlock[j - b];
        }
        if (h < t) late = std::exp(r * static_cast<double>(t - h));
        const double span = static_cast<double>(std::max<long long>(count, h < t ? t - h : 0));
        relative = (std::fabs(r) * span + 16.0) * 0x1p-52;
    }
    double at(long long i) const { return i < t ? ramp[i - h] : late; }
    Ext extAt(long long i) const {
        if (i >= t) return h >= t ? 1.0L : std::exp(rho * static_cast<Ext>(t - h));
        const long long k = i - h, b = k / 64 * 64;
        return std::exp(rho * static_cast<Ext>(b)) * std::exp(rho * static_cast<int>(k - b));
    }
};

// What ExpGain's measure decides for the gain search, from a double table: whether
// the ratio of the late to the early peak is below 0.04, below 0.2, and above 0. Falls
// back to ExpGain itself when a comparison of the measure is too close to call in
// double (two peaks within the bound of each other, a ratio near a threshold).
float measureGain(const float* y, int n, int head, int toe, float gain) {
    const long long h = head, t = toe;
    auto exact = [&]() {
        return ExpGain(const_cast<float*>(y), n, head, toe, gain, GainMode::Measure);
    };
    if (head < 0 || head >= n || h >= t) return exact();
    const GainRamp g(n, head, toe, gain);
    const long long q = (t - h) / 4;
    // Two measured values closer than this (relative to their sum) may compare the
    // other way in extended precision.
    const double tie = 2.0 * (g.relative + 0x1p-51);
    double early = -1.0, late = -1.0;
    bool close = false;
    const long long earlyEnd = std::min<long long>(h + q, n - 1);
    for (long long i = h; i <= earlyEnd; ++i) {
        const double u = std::fabs(y[i] * g.at(i));
        close |= std::fabs(u - early) < tie * (u + early);
        if (u > early)
            early = u;
        else if (u > late)
            late = u;
    }
    for (long long i = std::max(earlyEnd + 1, t - q); i < n; ++i) {
        const double u = std::fabs(y[i] * g.at(i));
        if (u > late) late = u;
    }
    if (close || !std::isfinite(early) || !std::isfinite(late)) return exact();
    if (early == 0.0) return 0.2f;
    const double ratio = late / early;
    // The extended ratio is within `spread` of this one; its float is on the same side
    // of 0.04, 0.2 and 0 when the double ratio keeps a margin of a float step besides.
    const double spread = ratio * (2.0 * tie + 0x1p-22);
    for (double threshold : {0.04, 0.2})
        if (std::fabs(ratio - static_cast<float>(threshold)) <= spread) return exact();
    if (ratio < 0x1p-120) return exact();  // might round to zero as a float
    return static_cast<float>(ratio);
}

// y[i] *= gain for i >= head, as ExpGain's apply mode rounds it.
SONDARA_VECTOR_CLONES
void applyGain(float* y, int n, const GainRamp& g) {
    long long i = g.h;
    const long long rampEnd = std::min<long long>(g.t, n);
    const D4 rel = splat4(g.relative + 0x1p-52);
    for (; i + 4 <= rampEnd; i += 4) {
        const D4 p = load4(y + i) * load4(g.ramp.data() + (i - g.h));
        F4 f;
        if (!roundsSafely(p, abs4(p) * rel, f))
            for (int j = 0; j < 4; ++j) f[j] = static_cast<float>(y[i + j] * g.extAt(i + j));
        store4(y + i, f);
    }
    for (; i < n; ++i) {
        const double p = y[i] * g.at(i);
        float f;
        if (!roundsSafely(p, std::fabs(p) * (g.relative + 0x1p-52), f))
            f = static_cast<float>(y[i] * g.extAt(i));
        y[i] = f;
    }
}

// The running weighted sum of the integration: y[0] = 0 and
// y[i] = y[i-1] + (x[i-1] + 4 x[i] + x[i+1]) w for i = 1..n-2, each rounded to float32 as
// the extended sum rounds it. The increments are computed in double ahead of the
// running sum, with a bound on their distance from the extended ones; the running sum
// itself is a chain of one addition and one rounding per sample.
SONDARA_VECTOR_CLONES
void weightedRunningSum(const float* x, int n, float* y, std::vector<double>& step,
                        std::vector<double>& bound) {
    const Ext wExt = 0.16666667f;
    const double w = 0.16666667f;
    step.resize(n);
    bound.resize(n);
    const D4 w4 = splat4(w), four = splat4(4.0);
    int i = 1;
    for (; i + 4 <= n - 1; i += 4) {
        const D4 a = load4(x + i - 1), b = load4(x + i), c = load4(x + i + 1);
        const D4 v = (a + four * b + c) * w4;
        const D4 m = (abs4(a) + four * abs4(b) + abs4(c)) * w4 * 0x1p-50;
        std::memcpy(step.data() + i, &v, sizeof v);
        std::memcpy(bound.data() + i, &m, sizeof m);
    }
    for (; i <= n - 2; ++i) {
        const double a = x[i - 1], b = x[i], c = x[i + 1];
        step[i] = (a + 4.0 * b + c) * w;
        bound[i] = (std::fabs(a) + 4.0 * std::fabs(b) + std::fabs(c)) * w * 0x1p-50;
    }
    float prev = 0.0f;
    y[0] = 0.0f;
    for (i = 1; i <= n - 2; ++i) {
        const double u = prev + step[i];
        float f;
        if (!roundsSafely(u, bound[i] + std::fabs(u) * 0x1p-51, f))
            f = static_cast<float>(prev +
                                   (static_cast<Ext>(x[i - 1]) + 4.0L * x[i] + x[i + 1]) * wExt);
        y[i] = prev = f;
    }
}

// y[i] = y[i] / (i + 1) for i = 1..n-2, rounded as the extended quotient.
SONDARA_VECTOR_CLONES
void divideByCount(float* y, int n) {
    int i = 1;
    const D4 lane{1.0, 2.0, 3.0, 4.0};
    for (; i + 4 <= n - 1; i += 4) {
        const D4 q = load4(y + i) / (splat4(static_cast<double>(i)) + lane);
        F4 f;
        if (!roundsSafely(q, abs4(q) * kProductBound, f))
            for (int j = 0; j < 4; ++j)
                f[j] = static_cast<float>(static_cast<Ext>(y[i + j]) / (i + j + 1));
        store4(y + i, f);
    }
    for (; i <= n - 2; ++i) y[i] = static_cast<float>(static_cast<Ext>(y[i]) / (i + 1));
}

// y[j] -= tan(a) (j - d) for j = d+1..n-1, rounded as the extended difference.
SONDARA_VECTOR_CLONES
void subtractLine(float* y, int n, int d, float a) {
    const Ext slopeExt = std::tan(static_cast<Ext>(a));
    const double slope = static_cast<double>(slopeExt);
    const D4 s = splat4(slope), lane{1.0, 2.0, 3.0, 4.0};
    int j = d + 1;
    for (; j + 4 <= n; j += 4) {
        const D4 term = s * (splat4(static_cast<double>(j - 1 - d)) + lane);
        const D4 r = load4(y + j) - term;
        F4 f;
        if (!roundsSafely(r, (abs4(term) + abs4(r)) * kProductBound, f))
            for (int k = 0; k < 4; ++k)
                f[k] = static_cast<float>(y[j + k] - slopeExt * (j + k - d));
        store4(y + j, f);
    }
    for (; j < n; ++j) y[j] = static_cast<float>(y[j] - slopeExt * (j - d));
}

}  // namespace

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
    for (int round = 0; search && round < kMaxGainRounds; ++round) {
        const float r = measureGain(y, n, head, toe, g);
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
    if (output != input) std::copy(input, input + n, output);
    // The weighted sum needs a sample on each side of the one it integrates; a trace
    // of one or two samples stays as it is.
    if (n < 3) return 1;
    const float p0 = PeakAbs(input, n);

    // The work buffers of the calling thread, kept from trace to trace.
    thread_local std::vector<float> y;
    thread_local std::vector<double> step, bound;
    y.resize(n);
    weightedRunningSum(input, n, y.data(), step, bound);
    divideByCount(y.data(), n);
    y[n - 1] = y[n - 2];

    const TailLine tail = TailBaseline(y.data(), n);
    for (float a : {tail.a1, tail.a2})
        if (a != 0.0f) subtractLine(y.data(), n, tail.d, a);

    // The gain acts from the pile head; a point whose head lies outside the trace gets
    // no gain (integration, tail correction and level still apply).
    if (head >= 0 && head < n) {
        const int g = GainEstimate(y.data(), n, head, toe);
        if (g > 1) {
            if (head < toe)
                applyGain(y.data(), n, GainRamp(n, head, toe, static_cast<float>(g)));
            else
                ExpGain(y.data(), n, head, toe, static_cast<float>(g), GainMode::Apply);
        }
    }

    // Level by a power of two. A result that is all zero has no level to restore.
    const float p1 = PeakAbs(y.data(), n);
    if (p0 != 0.0f) {
        const float q = static_cast<float>(static_cast<Ext>(p1) / p0);
        if (q > 0.0f && std::isfinite(q)) {
            Ext m = 1;
            while (m * q < 0.5L) m *= 2;
            // A power of two times a float is exact in double (and below p0 in size).
            const double md = static_cast<double>(m);
            for (int i = 0; i < n; ++i) y[i] = static_cast<float>(y[i] * md);
        }
    }
    std::copy(y.begin(), y.begin() + n, output);
    return 1;
}

}  // namespace sondara
