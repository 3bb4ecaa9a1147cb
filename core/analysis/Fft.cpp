#include "core/analysis/Fft.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace sondara {

namespace {

// Complex product with three real multiplications, in this exact order:
// P = a c, Q = b d, re = P - Q, im = (a + b)(c + d) - P - Q.
inline void mul3(float a, float b, float c, float d, float& re, float& im) {
    const float p = a * c;
    const float q = b * d;
    re = p - q;
    im = (a + b) * (c + d) - p - q;
}

// Everything about one length and direction that does not depend on the data.
struct FftPlan {
    int n = 0;
    std::vector<float> tableRe, tableIm;  // W_k, k < n, by the recurrence
    // Per stage with half span e (2 <= e < n): W(k * n / (2e)) for k < e, packed at
    // offset e, so that the butterflies read their twiddles contiguously. `sum` holds
    // re + im, the first factor of the third multiplication.
    std::vector<float> stageRe, stageIm, stageSum;
    std::vector<std::uint32_t> reversed;  // bit-reversed index of every i < n
};

std::unique_ptr<FftPlan> buildPlan(int n, int m, bool inverse) {
    auto plan = std::make_unique<FftPlan>();
    plan->n = n;
    plan->tableRe.resize(n);
    plan->tableIm.resize(n);
    plan->tableRe[0] = 1.0f;
    plan->tableIm[0] = 0.0f;
    if (n > 1) {
        const float theta = 6.2831855f / static_cast<float>(n);
        const float c = static_cast<float>(std::cos(static_cast<double>(theta)));
        const float s = static_cast<float>(std::sin(static_cast<double>(theta)));
        plan->tableRe[1] = c;
        plan->tableIm[1] = inverse ? s : -s;
        // The recurrence is deliberately serial: every entry is the previous one times
        // W_1, rounded to float at each step.
        for (int k = 2; k < n; ++k)
            mul3(plan->tableRe[k - 1], plan->tableIm[k - 1], plan->tableRe[1], plan->tableIm[1],
                 plan->tableRe[k], plan->tableIm[k]);
    }
    plan->stageRe.assign(n, 0.0f);
    plan->stageIm.assign(n, 0.0f);
    plan->stageSum.assign(n, 0.0f);
    for (int e = 2; e < n; e *= 2) {
        const int stride = n / (2 * e);
        for (int k = 0; k < e; ++k) {
            const float re = plan->tableRe[static_cast<size_t>(k) * stride];
            const float im = plan->tableIm[static_cast<size_t>(k) * stride];
            plan->stageRe[e + k] = re;
            plan->stageIm[e + k] = im;
            plan->stageSum[e + k] = re + im;
        }
    }
    plan->reversed.resize(n);
    for (int i = 0; i < n; ++i) {
        std::uint32_t b = static_cast<std::uint32_t>(i), r = 0;
        for (int j = 0; j < m; ++j) {
            r = 2 * r + (b % 2);
            b /= 2;
        }
        plan->reversed[i] = r;
    }
    return plan;
}

// Plans are kept for the lengths the analysis uses (up to 2^17), one per direction;
// larger lengths get a plan of their own for the call.
std::shared_ptr<const FftPlan> planFor(int n, int m, bool inverse) {
    if (m > kMaxTransformLog2) return std::shared_ptr<const FftPlan>(buildPlan(n, m, inverse));
    static std::mutex mutex;
    static std::array<std::array<std::shared_ptr<const FftPlan>, kMaxTransformLog2 + 1>, 2> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto& slot = cache[inverse ? 1 : 0][m];
    if (!slot) slot = std::shared_ptr<const FftPlan>(buildPlan(n, m, inverse));
    return slot;
}

typedef float v4sf __attribute__((vector_size(16)));
typedef float v8sf __attribute__((vector_size(32)));

// Vector loads and stores without alignment assumptions, and the three-multiplication
// product lane by lane (the same operations, in the same order, as mul3). Macros rather
// than functions, so that no function passes 32-byte vectors by value.
#define SONDARA_LOAD(V, name, p) \
    V name;                      \
    std::memcpy(&name, (p), sizeof name)
#define SONDARA_STORE(p, v) std::memcpy((p), &(v), sizeof(v))
#define SONDARA_MUL3(wr, wi, ws, xr, xi, tr, ti) \
    do {                                         \
        const auto p_ = (wr) * (xr);             \
        const auto q_ = (wi) * (xi);             \
        (tr) = p_ - q_;                          \
        (ti) = (ws) * ((xr) + (xi)) - p_ - q_;   \
    } while (0)

// The bit-reversed copy and the first two stages in one sweep: span 2 without
// multiplications, then span 4 with the twiddles W(0) and W(n/4) (multiplied like every
// other twiddle). Output group i = 4q .. 4q+3 reads the inputs p, p + n/2, p + n/4 and
// p + 3n/4 with p = the (m-2)-bit reverse of q, and 4q = reversed[p]; walking p in
// order makes the reads contiguous, four groups at a time.
void firstStages(const float* inRe, const float* inIm, float* re, float* im, const FftPlan& plan) {
    const int n = plan.n;
    const std::uint32_t* rev = plan.reversed.data();
    if (n < 4) {
        for (int j = 0; j < n; ++j) {
            re[j] = inRe[rev[j]];
            im[j] = inIm[rev[j]];
        }
        for (int j = 0; j + 1 < n; j += 2) {
            const float r0 = re[j], r1 = re[j + 1], i0 = im[j], i1 = im[j + 1];
            re[j] = r0 + r1;
            re[j + 1] = r0 - r1;
            im[j] = i0 + i1;
            im[j + 1] = i0 - i1;
        }
        return;
    }
    const int q1 = n / 2, q2 = n / 4, q3 = 3 * (n / 4);
    const float w0r = plan.stageRe[2], w0i = plan.stageIm[2], w0s = plan.stageSum[2];
    const float w1r = plan.stageRe[3], w1i = plan.stageIm[3], w1s = plan.stageSum[3];
    int p = 0;
    if (n >= 16) {
        const v4sf v0r = {w0r, w0r, w0r, w0r}, v0i = {w0i, w0i, w0i, w0i},
                   v0s = {w0s, w0s, w0s, w0s};
        const v4sf v1r = {w1r, w1r, w1r, w1r}, v1i = {w1i, w1i, w1i, w1i},
                   v1s = {w1s, w1s, w1s, w1s};
        for (; p < n / 4; p += 4) {
            SONDARA_LOAD(v4sf, x0r, inRe + p);
            SONDARA_LOAD(v4sf, x1r, inRe + p + q1);
            SONDARA_LOAD(v4sf, x2r, inRe + p + q2);
            SONDARA_LOAD(v4sf, x3r, inRe + p + q3);
            SONDARA_LOAD(v4sf, x0i, inIm + p);
            SONDARA_LOAD(v4sf, x1i, inIm + p + q1);
            SONDARA_LOAD(v4sf, x2i, inIm + p + q2);
            SONDARA_LOAD(v4sf, x3i, inIm + p + q3);
            const v4sf a0r = x0r + x1r, a1r = x0r - x1r, a2r = x2r + x3r, a3r = x2r - x3r;
            const v4sf a0i = x0i + x1i, a1i = x0i - x1i, a2i = x2i + x3i, a3i = x2i - x3i;
            v4sf tr, ti;
            SONDARA_MUL3(v0r, v0i, v0s, a2r, a2i, tr, ti);
            const v4sf c2r = a0r - tr, c2i = a0i - ti, c0r = a0r + tr, c0i = a0i + ti;
            SONDARA_MUL3(v1r, v1i, v1s, a3r, a3i, tr, ti);
            const v4sf c3r = a1r - tr, c3i = a1i - ti, c1r = a1r + tr, c1i = a1i + ti;
            // Lane l belongs to the output group at reversed[p + l]: transpose 4 x 4.
            auto transposeStore = [&](v4sf c0, v4sf c1, v4sf c2, v4sf c3, float* out) {
                const v4sf t0 = __builtin_shufflevector(c0, c1, 0, 4, 1, 5);
                const v4sf t1 = __builtin_shufflevector(c0, c1, 2, 6, 3, 7);
                const v4sf t2 = __builtin_shufflevector(c2, c3, 0, 4, 1, 5);
                const v4sf t3 = __builtin_shufflevector(c2, c3, 2, 6, 3, 7);
                const v4sf r0 = __builtin_shufflevector(t0, t2, 0, 1, 4, 5);
                const v4sf r1 = __builtin_shufflevector(t0, t2, 2, 3, 6, 7);
                const v4sf r2 = __builtin_shufflevector(t1, t3, 0, 1, 4, 5);
                const v4sf r3 = __builtin_shufflevector(t1, t3, 2, 3, 6, 7);
                SONDARA_STORE(out + rev[p], r0);
                SONDARA_STORE(out + rev[p + 1], r1);
                SONDARA_STORE(out + rev[p + 2], r2);
                SONDARA_STORE(out + rev[p + 3], r3);
            };
            transposeStore(c0r, c1r, c2r, c3r, re);
            transposeStore(c0i, c1i, c2i, c3i, im);
        }
    }
    for (; p < n / 4; ++p) {
        const int g = static_cast<int>(rev[p]);
        const float r0 = inRe[p], r1 = inRe[p + q1], r2 = inRe[p + q2], r3 = inRe[p + q3];
        const float i0 = inIm[p], i1 = inIm[p + q1], i2 = inIm[p + q2], i3 = inIm[p + q3];
        const float a0r = r0 + r1, a1r = r0 - r1, a2r = r2 + r3, a3r = r2 - r3;
        const float a0i = i0 + i1, a1i = i0 - i1, a2i = i2 + i3, a3i = i2 - i3;
        float tr, ti;
        SONDARA_MUL3(w0r, w0i, w0s, a2r, a2i, tr, ti);
        re[g + 2] = a0r - tr;
        im[g + 2] = a0i - ti;
        re[g] = a0r + tr;
        im[g] = a0i + ti;
        SONDARA_MUL3(w1r, w1i, w1s, a3r, a3i, tr, ti);
        re[g + 3] = a1r - tr;
        im[g + 3] = a1i - ti;
        re[g + 1] = a1r + tr;
        im[g + 1] = a1i + ti;
    }
}

// One stage with half span e (e a multiple of the vector width) over len values.
template <class V>
__attribute__((always_inline)) inline void radix2PassT(float* re, float* im, int len, int e,
                                                       const FftPlan& plan) {
    constexpr int W = sizeof(V) / sizeof(float);
    const float* wr = plan.stageRe.data() + e;
    const float* wi = plan.stageIm.data() + e;
    const float* ws = plan.stageSum.data() + e;
    for (int g = 0; g < len; g += 2 * e) {
        float* r0 = re + g;
        float* i0 = im + g;
        float* r1 = r0 + e;
        float* i1 = i0 + e;
        for (int k = 0; k < e; k += W) {
            V tr, ti;
            SONDARA_LOAD(V, yr, r1 + k);
            SONDARA_LOAD(V, yi, i1 + k);
            SONDARA_LOAD(V, vr, wr + k);
            SONDARA_LOAD(V, vi, wi + k);
            SONDARA_LOAD(V, vs, ws + k);
            SONDARA_MUL3(vr, vi, vs, yr, yi, tr, ti);
            SONDARA_LOAD(V, xr, r0 + k);
            SONDARA_LOAD(V, xi, i0 + k);
            const V s1r = xr - tr, s1i = xi - ti, s0r = xr + tr, s0i = xi + ti;
            SONDARA_STORE(r1 + k, s1r);
            SONDARA_STORE(i1 + k, s1i);
            SONDARA_STORE(r0 + k, s0r);
            SONDARA_STORE(i0 + k, s0i);
        }
    }
}

// Two stages in one sweep: half spans e and 2e (e a multiple of the vector width).
// Each value goes through exactly the butterflies of the two separate stages.
template <class V>
__attribute__((always_inline)) inline void radix4PassT(float* re, float* im, int len, int e,
                                                       const FftPlan& plan) {
    constexpr int W = sizeof(V) / sizeof(float);
    const float* ar = plan.stageRe.data() + e;
    const float* ai = plan.stageIm.data() + e;
    const float* as = plan.stageSum.data() + e;
    const float* br = plan.stageRe.data() + 2 * e;
    const float* bi = plan.stageIm.data() + 2 * e;
    const float* bs = plan.stageSum.data() + 2 * e;
    for (int g = 0; g < len; g += 4 * e) {
        float* r0 = re + g;
        float* i0 = im + g;
        float* r1 = r0 + e;
        float* i1 = i0 + e;
        float* r2 = r0 + 2 * e;
        float* i2 = i0 + 2 * e;
        float* r3 = r0 + 3 * e;
        float* i3 = i0 + 3 * e;
        for (int k = 0; k < e; k += W) {
            SONDARA_LOAD(V, war, ar + k);
            SONDARA_LOAD(V, wai, ai + k);
            SONDARA_LOAD(V, was, as + k);
            V tr, ti;
            // stage e: (0,1) and (2,3)
            SONDARA_LOAD(V, x0r, r0 + k);
            SONDARA_LOAD(V, x0i, i0 + k);
            SONDARA_LOAD(V, x1r, r1 + k);
            SONDARA_LOAD(V, x1i, i1 + k);
            SONDARA_MUL3(war, wai, was, x1r, x1i, tr, ti);
            const V b1r = x0r - tr, b1i = x0i - ti, b0r = x0r + tr, b0i = x0i + ti;
            SONDARA_LOAD(V, x2r, r2 + k);
            SONDARA_LOAD(V, x2i, i2 + k);
            SONDARA_LOAD(V, x3r, r3 + k);
            SONDARA_LOAD(V, x3i, i3 + k);
            SONDARA_MUL3(war, wai, was, x3r, x3i, tr, ti);
            const V b3r = x2r - tr, b3i = x2i - ti, b2r = x2r + tr, b2i = x2i + ti;
            // stage 2e: (0,2) with W(k), (1,3) with W(k + e)
            SONDARA_LOAD(V, wbr, br + k);
            SONDARA_LOAD(V, wbi, bi + k);
            SONDARA_LOAD(V, wbs, bs + k);
            SONDARA_MUL3(wbr, wbi, wbs, b2r, b2i, tr, ti);
            const V c2r = b0r - tr, c2i = b0i - ti, c0r = b0r + tr, c0i = b0i + ti;
            SONDARA_STORE(r2 + k, c2r);
            SONDARA_STORE(i2 + k, c2i);
            SONDARA_STORE(r0 + k, c0r);
            SONDARA_STORE(i0 + k, c0i);
            SONDARA_LOAD(V, wcr, br + e + k);
            SONDARA_LOAD(V, wci, bi + e + k);
            SONDARA_LOAD(V, wcs, bs + e + k);
            SONDARA_MUL3(wcr, wci, wcs, b3r, b3i, tr, ti);
            const V c3r = b1r - tr, c3i = b1i - ti, c1r = b1r + tr, c1i = b1i + ti;
            SONDARA_STORE(r3 + k, c3r);
            SONDARA_STORE(i3 + k, c3i);
            SONDARA_STORE(r1 + k, c1r);
            SONDARA_STORE(i1 + k, c1i);
        }
    }
}

void radix2Pass4(float* re, float* im, int len, int e, const FftPlan& plan) {
    radix2PassT<v4sf>(re, im, len, e, plan);
}
void radix4Pass4(float* re, float* im, int len, int e, const FftPlan& plan) {
    radix4PassT<v4sf>(re, im, len, e, plan);
}

#if defined(__x86_64__) || defined(__i386__)
// Eight lanes where the processor has AVX. Only plain multiplies and adds are used
// (no fused multiply-add), so the results are the same bits as with four lanes.
__attribute__((target("avx"))) void radix2Pass8(float* re, float* im, int len, int e,
                                                const FftPlan& plan) {
    radix2PassT<v8sf>(re, im, len, e, plan);
}
__attribute__((target("avx"))) void radix4Pass8(float* re, float* im, int len, int e,
                                                const FftPlan& plan) {
    if (e >= 8)
        radix4PassT<v8sf>(re, im, len, e, plan);
    else
        radix4PassT<v4sf>(re, im, len, e, plan);
}
const bool kHaveAvx = __builtin_cpu_supports("avx");
#else
void radix2Pass8(float* re, float* im, int len, int e, const FftPlan& plan) {
    radix2PassT<v4sf>(re, im, len, e, plan);
}
void radix4Pass8(float* re, float* im, int len, int e, const FftPlan& plan) {
    radix4PassT<v4sf>(re, im, len, e, plan);
}
const bool kHaveAvx = false;
#endif

void radix2Pass(float* re, float* im, int len, int e, const FftPlan& plan) {
    if (kHaveAvx && e >= 8)
        radix2Pass8(re, im, len, e, plan);
    else
        radix2Pass4(re, im, len, e, plan);
}

void radix4Pass(float* re, float* im, int len, int e, const FftPlan& plan) {
    if (kHaveAvx)
        radix4Pass8(re, im, len, e, plan);
    else
        radix4Pass4(re, im, len, e, plan);
}

// Stages with half span from e up to (not including) `limit`, over len values.
int runStages(float* re, float* im, int len, int e, int limit, const FftPlan& plan) {
    while (4 * e <= limit) {
        radix4Pass(re, im, len, e, plan);
        e *= 4;
    }
    if (2 * e <= limit) {
        radix2Pass(re, im, len, e, plan);
        e *= 2;
    }
    return e;
}

// Blocks that fit the first level cache run all their small stages before the large
// stages sweep the whole array.
constexpr int kBlock = 2048;

void transform(const float* inRe, const float* inIm, float* re, float* im, const FftPlan& plan) {
    const int n = plan.n;
    const int block = std::min(n, kBlock);
    firstStages(inRe, inIm, re, im, plan);
    int e = 4;
    for (int b = 0; b < n; b += block) e = runStages(re + b, im + b, block, 4, block, plan);
    runStages(re, im, n, e, n, plan);
}

}  // namespace

int TransformLength(int count, int* log2) {
    if (count <= 0) return 0;
    int p = 0;
    while (p < kMaxTransformLog2 && (1 << p) < count) ++p;
    if (log2) *log2 = p;
    return 1 << p;
}

int Fft(float* reIn, float* imIn, int n, int m, float* reOut, float* imOut, int inverse,
        int magPhase) {
    if (n <= 0 || m < 0 || m > 30 || n != (1 << m)) return 0;
    const auto plan = planFor(n, m, inverse != 0);

    if (n == 1) {
        reOut[0] = reIn[0];
        imOut[0] = imIn[0];
    } else {
        transform(reIn, imIn, reOut, imOut, *plan);
    }
    // The input arrays are work space: they are left holding the twiddle table.
    std::memcpy(reIn, plan->tableRe.data(), sizeof(float) * n);
    std::memcpy(imIn, plan->tableIm.data(), sizeof(float) * n);

    if (inverse) {
        // n is a power of two, so multiplying by 1/n rounds exactly like dividing.
        const float scale = 1.0f / static_cast<float>(n);
        for (int i = 0; i < n; ++i) {
            reOut[i] *= scale;
            imOut[i] *= scale;
        }
    }

    if (magPhase) {
        for (int i = 0; i < n; ++i) {
            const double re = reOut[i], im = imOut[i];
            reIn[i] = static_cast<float>(std::sqrt(re * re + im * im));
            double phase;
            if (std::fabs(im) * 1e-6 > std::fabs(re))
                phase = re * im > 0 ? 90.0 : -90.0;
            else if (re == 0.0)
                phase = 0.0;  // re = im = 0: no phase rather than 0/0
            else
                phase = std::atan(im / re) * 57.29578;
            imIn[i] = static_cast<float>(phase);
        }
    }
    return 1;
}

int GetValueRange(const float* values, int count, float* maxOut, float* minOut, int symmetric) {
    if (count <= 0) {
        *maxOut = 0.0f;
        *minOut = 0.0f;
        return 0;
    }
    float hi = values[0], lo = values[0];
    for (int i = 1; i < count; ++i) {
        hi = std::max(hi, values[i]);
        lo = std::min(lo, values[i]);
    }
    if (symmetric) {
        const float a = std::max(std::fabs(hi), std::fabs(lo));
        hi = a;
        lo = -a;
    }
    *maxOut = hi;
    *minOut = lo;
    return 1;
}

}  // namespace sondara
