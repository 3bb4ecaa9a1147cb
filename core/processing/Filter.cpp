#include "core/processing/Filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace sondara {

namespace {

// ---- the convolution kernel ----------------------------------------------------------
// The filter is the hot loop of every replay and preview. With the input padded by
// taps-1 leading zeros and the taps reversed, output i is a dot product of the taps
// with the padded input from i on; the kernel computes kBlock outputs at once, one
// tap at a time, so the inner loop is a branch-free multiply-add over contiguous
// doubles that the compiler keeps in vector registers. The terms are summed in the
// same order and precision as the plain loop (double products of float values), so
// the results agree with ConvolveFirReference.
typedef double Vec4 __attribute__((vector_size(32)));
// The same vector read from or written to any 8-byte aligned double array.
typedef double Vec4u __attribute__((vector_size(32), aligned(8), may_alias));
constexpr int kBlock = 32;  // 8 vectors of 4 outputs

// With fused multiply-add the sum is still the same: a product of two float values
// is exact in double, so rounding it before the addition or not gives the same sum.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
__attribute__((target_clones("arch=x86-64-v3", "default")))
#endif
void correlateBlocks(const double* xp, const double* hr, int taps, int xLength, double* out,
                     int blocks) {
    for (int b = 0; b < blocks; ++b) {
        const int i0 = b * kBlock;
        const double* base = xp + i0;
        // Taps that meet only the zero padding of this block add nothing: skip them.
        const int mBegin = std::max(0, taps - i0 - kBlock);
        const int mEnd = std::min(taps, taps - 1 + xLength - i0);
        Vec4 a0{}, a1{}, a2{}, a3{}, a4{}, a5{}, a6{}, a7{};
        for (int m = mBegin; m < mEnd; ++m) {
            const Vec4 c = Vec4{} + hr[m];
            const double* p = base + m;
            a0 += c * *reinterpret_cast<const Vec4u*>(p);
            a1 += c * *reinterpret_cast<const Vec4u*>(p + 4);
            a2 += c * *reinterpret_cast<const Vec4u*>(p + 8);
            a3 += c * *reinterpret_cast<const Vec4u*>(p + 12);
            a4 += c * *reinterpret_cast<const Vec4u*>(p + 16);
            a5 += c * *reinterpret_cast<const Vec4u*>(p + 20);
            a6 += c * *reinterpret_cast<const Vec4u*>(p + 24);
            a7 += c * *reinterpret_cast<const Vec4u*>(p + 28);
        }
        double* o = out + static_cast<std::size_t>(b) * kBlock;
        *reinterpret_cast<Vec4u*>(o) = a0;
        *reinterpret_cast<Vec4u*>(o + 4) = a1;
        *reinterpret_cast<Vec4u*>(o + 8) = a2;
        *reinterpret_cast<Vec4u*>(o + 12) = a3;
        *reinterpret_cast<Vec4u*>(o + 16) = a4;
        *reinterpret_cast<Vec4u*>(o + 20) = a5;
        *reinterpret_cast<Vec4u*>(o + 24) = a6;
        *reinterpret_cast<Vec4u*>(o + 28) = a7;
    }
}

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define SONDARA_WIDE_KERNEL 1
// The same kernel on eight-double vectors for processors with AVX-512: the same 32
// outputs a block, the same order of the sums.
typedef double Vec8 __attribute__((vector_size(64)));
typedef double Vec8u __attribute__((vector_size(64), aligned(8), may_alias));

__attribute__((target("arch=x86-64-v4"))) void correlateBlocksWide(const double* xp,
                                                                   const double* hr, int taps,
                                                                   int xLength, double* out,
                                                                   int blocks) {
    for (int b = 0; b < blocks; ++b) {
        const int i0 = b * kBlock;
        const double* base = xp + i0;
        const int mBegin = std::max(0, taps - i0 - kBlock);
        const int mEnd = std::min(taps, taps - 1 + xLength - i0);
        Vec8 a0{}, a1{}, a2{}, a3{};
        for (int m = mBegin; m < mEnd; ++m) {
            const Vec8 c = Vec8{} + hr[m];
            const double* p = base + m;
            a0 += c * *reinterpret_cast<const Vec8u*>(p);
            a1 += c * *reinterpret_cast<const Vec8u*>(p + 8);
            a2 += c * *reinterpret_cast<const Vec8u*>(p + 16);
            a3 += c * *reinterpret_cast<const Vec8u*>(p + 24);
        }
        double* o = out + static_cast<std::size_t>(b) * kBlock;
        *reinterpret_cast<Vec8u*>(o) = a0;
        *reinterpret_cast<Vec8u*>(o + 8) = a1;
        *reinterpret_cast<Vec8u*>(o + 16) = a2;
        *reinterpret_cast<Vec8u*>(o + 24) = a3;
    }
}

bool haveWideKernel() {
    static const bool wide = __builtin_cpu_supports("x86-64-v4");
    return wide;
}
#endif

void copyOrKeep(const float* x, int n, float* output) {
    if (output != x) std::copy(x, x + n, output);
}

// The convolution with the taps already reversed and widened (hr[m] = h[taps-1-m]);
// `taps` is at most n. The padded input and the block outputs live in buffers of the
// calling thread that are kept from call to call, so a replay of many traces
// allocates nothing here.
void convolveReversed(const float* x, const double* hr, float* y, int xLength, int taps, int n) {
    thread_local std::vector<double> xp, out;
    const int blocks = (n + kBlock - 1) / kBlock;
    const std::size_t outSize = static_cast<std::size_t>(blocks) * kBlock;
    xp.assign(static_cast<std::size_t>(taps) - 1 + outSize, 0.0);
    out.resize(outSize);
    for (int k = 0; k < xLength; ++k) xp[taps - 1 + k] = x[k];
#ifdef SONDARA_WIDE_KERNEL
    if (haveWideKernel())
        correlateBlocksWide(xp.data(), hr, taps, xLength, out.data(), blocks);
    else
#endif
        correlateBlocks(xp.data(), hr, taps, xLength, out.data(), blocks);
    for (int i = 0; i < n; ++i) y[i] = static_cast<float>(out[i]);
}

// A designed filter: the coefficients, their reversed double copy for the kernel and
// the design's error code.
struct Design {
    int taps = 0;
    int filterType = 0;
    int window = 0;
    double cutoffHz = 0.0, upperHz = 0.0, fsHz = 0.0;
    int error = 0;
    std::vector<double> reversed;
};

// The design depends only on its parameters, and a replay runs the same filter step
// over many traces: each thread keeps the last few designs it made. The cache belongs
// to the thread, so no lock is needed, and the design is the one DesignFir makes, so
// the coefficients are the same as when designed anew.
const Design& cachedDesign(int taps, int filterType, double cutoffHz, double upperHz, double fsHz,
                           int window) {
    constexpr std::size_t kKept = 4;
    thread_local std::vector<Design> kept;
    for (std::size_t k = 0; k < kept.size(); ++k) {
        const Design& d = kept[k];
        if (d.taps == taps && d.filterType == filterType && d.window == window &&
            d.cutoffHz == cutoffHz && d.upperHz == upperHz && d.fsHz == fsHz) {
            if (k != 0) std::rotate(kept.begin(), kept.begin() + k, kept.begin() + k + 1);
            return kept.front();
        }
    }
    Design d;
    d.taps = taps;
    d.filterType = filterType;
    d.window = window;
    d.cutoffHz = cutoffHz;
    d.upperHz = upperHz;
    d.fsHz = fsHz;
    std::vector<float> h(taps);
    d.error = DesignFir(taps, filterType, cutoffHz, upperHz, fsHz, window, h.data());
    d.reversed.resize(taps);
    for (int m = 0; m < taps; ++m) d.reversed[m] = h[taps - 1 - m];
    if (kept.size() == kKept) kept.pop_back();
    kept.insert(kept.begin(), std::move(d));
    return kept.front();
}

}  // namespace

void ConvolveFir(const float* x, const float* h, float* y, int xLength, int hLength, int n) {
    if (n <= 0) return;
    xLength = std::clamp(xLength, 0, n);
    const int taps = std::clamp(hLength, 0, n);
    if (taps == 0) {
        std::fill(y, y + n, 0.0f);
        return;
    }
    thread_local std::vector<double> hr;
    hr.resize(taps);
    for (int m = 0; m < taps; ++m) hr[m] = h[taps - 1 - m];
    convolveReversed(x, hr.data(), y, xLength, taps, n);
}

void ConvolveFirReference(const float* x, const float* h, float* y, int xLength, int hLength,
                          int n) {
    if (n <= 0) return;
    std::vector<float> xs(n, 0.0f), hs(n, 0.0f);
    std::copy(x, x + std::clamp(xLength, 0, n), xs.begin());
    std::copy(h, h + std::clamp(hLength, 0, n), hs.begin());
    for (int i = 0; i < n; ++i) {
        double s = 0.0;
        for (int k = 0; k <= i; ++k)
            s += static_cast<double>(xs[k]) * static_cast<double>(hs[i - k]);
        y[i] = static_cast<float>(s);
    }
}

void HannWindow(double* w, int length) {
    if (length <= 0) return;
    const float step = static_cast<float>(2.0 * std::numbers::pi / length);
    for (int i = 0; i < length; ++i) w[i] = 0.5 * (1.0 - std::cos(i * static_cast<double>(step)));
}

int DesignFir(int length, int bandType, double fa, double fb, double fs, int window, float* h) {
    if (length > 0) std::fill(h, h + length, 0.0f);
    int error = 0;
    if (length < 1 || length % 2 == 0) error = 1;
    if (window < 1 || window > 7) error = 2;
    if (bandType < 1 || bandType > 4) error = 3;
    const double g = fa / fs;
    const double gb = fb / fs;
    if (!(g >= 0.0 && g <= 0.5)) error = 4;  // also rejects a NaN edge
    if (bandType == kBandPass || bandType == kBandStop) {
        if (!(g < gb)) error = 4;
        if (!(gb < 0.5)) error = 4;
    }
    if (error != 0) return error;

    const float pi = static_cast<float>(4.0 * std::atan(1.0));
    const double piD = pi;
    const int t = (length - 1) / 2;
    const double w1 = static_cast<float>(2.0 * piD * g);
    const double w2 = (bandType == kBandPass || bandType == kBandStop)
                          ? static_cast<double>(static_cast<float>(2.0 * piD * gb))
                          : 0.0;
    // Only the Hann window is ever asked for; the other accepted codes design with no
    // window at all.
    std::vector<double> w(length, 1.0);
    if (window == kHannWindow) HannWindow(w.data(), length);

    for (int i = 0; i < t; ++i) {
        const double x = i - t;
        const double den = piD * x;
        double r = 0.0;
        switch (bandType) {
            case kLowPass:
                r = std::sin(w1 * x) / den;
                break;
            case kHighPass:
                r = (std::sin(piD * x) - std::sin(w1 * x)) / den;
                break;
            case kBandPass:
                r = (std::sin(w2 * x) - std::sin(w1 * x)) / den;
                break;
            default:
                r = (std::sin(w1 * x) + std::sin(piD * x) - std::sin(w2 * x)) / den;
                break;
        }
        h[i] = h[length - 1 - i] = static_cast<float>(r * w[i]);
    }
    double centre = 0.0;
    switch (bandType) {
        case kLowPass:
            centre = w1 / piD;
            break;
        case kHighPass:
            centre = 1.0 - w1 / piD;
            break;
        case kBandPass:
            centre = (w2 - w1) / piD;
            break;
        default:
            centre = (piD + w1 - w2) / piD;
            break;
    }
    h[t] = static_cast<float>(centre);
    return 0;
}

FilterPlan PlanFilter(int n, float sampleIntervalUs, float lowerFreqHz, float upperFreqHz,
                      int filterType) {
    FilterPlan plan;
    const double dt = sampleIntervalUs;
    // Without a positive sample interval there is no sampling rate to design for: the
    // trace passes unchanged.
    if (n <= 0 || !(dt > 0.0) || !std::isfinite(dt)) return plan;
    const double fs = 1000000.0 / dt;

    double c = 0.0;
    double length = 0.0;
    const bool evenDown = filterType == kHighPass;
    if (filterType == kHighPass) {
        if (!(lowerFreqHz >= 0.0001f)) return plan;  // a high-pass at 0 Hz passes everything
        c = lowerFreqHz;
        length = std::trunc(100000.0 / (dt * c * 2.0));
    } else {
        c = (filterType == kBandPass || filterType == kBandStop) ? lowerFreqHz : upperFreqHz;
        if (!std::isfinite(c)) return plan;
        if (c < 0.0001) c = 0.0001;
        length = std::trunc(1000000.0 / (dt * c));
    }
    if (!std::isfinite(length)) return plan;
    // Anything longer than the trace is cut to half of it below, so the parity of a
    // huge length does not matter.
    long long l = static_cast<long long>(std::min(length, 4.0e9));
    if (l % 2 == 0) l += evenDown ? -1 : 1;
    l = std::min<long long>(l, n / 2 - 1);
    if (l % 2 == 0) l -= 1;
    if (l < 1) l = 1;

    if (c > fs / 2.0) c = fs / 2.0;  // the upper band edge is not limited
    plan.filters = true;
    plan.taps = static_cast<int>(l);
    plan.cutoffHz = c;
    plan.fsHz = fs;
    return plan;
}

int FilterTrace(const float* input, int n, float* output, float sampleIntervalUs, float lowerFreqHz,
                float upperFreqHz, int filterType, int window) {
    if (n <= 0) return 0;
    const FilterPlan plan = PlanFilter(n, sampleIntervalUs, lowerFreqHz, upperFreqHz, filterType);
    if (!plan.filters) {
        copyOrKeep(input, n, output);
        return 1;
    }
    const int l = plan.taps;
    const Design& design =
        cachedDesign(l, filterType, plan.cutoffHz, upperFreqHz, plan.fsHz, window);
    if (design.error != 0) {
        // A design that cannot be made (a band edge at or above fs/2, edges not
        // rising, an unknown type) would leave every coefficient zero and wipe the
        // trace: the trace is left as it is instead.
        copyOrKeep(input, n, output);
        return 1;
    }
    // The kernel reads the input only through its padded copy, so the output may be
    // the input array. 1 <= l <= n here.
    convolveReversed(input, design.reversed.data(), output, n - l + 1, l, n);
    return 1;
}

}  // namespace sondara
