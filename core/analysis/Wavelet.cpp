#include "core/analysis/Wavelet.h"

#include <algorithm>
#include <vector>

#include "core/analysis/Fft.h"

namespace sondara {

namespace {

// Levels that have at least one kept value: N / 2^k >= 1.
int effectiveLevels(int N, int levels) {
    int k = 0;
    while (k < levels && (N >> (k + 1)) >= 1) ++k;
    return k;
}

// One periodic analysis step: s values of x give s/2 approximation and detail values.
void analyse(const double* x, int s, const double* lo, const double* hi, int t, double* a,
             double* d) {
    const int half = s / 2;
    for (int i = 0; i < half; ++i) {
        const int base = 2 * i;
        double sa = 0.0, sd = 0.0;
        if (base + t <= s) {
            const double* xp = x + base;
            for (int j = 0; j < t; ++j) {
                sa += xp[j] * lo[j];
                sd += xp[j] * hi[j];
            }
        } else {
            for (int j = 0; j < t; ++j) {
                const double v = x[(base + j) % s];
                sa += v * lo[j];
                sd += v * hi[j];
            }
        }
        a[i] = sa;
        d[i] = sd;
    }
}

// One periodic synthesis step, the transpose of `analyse`: half values of a and d give
// 2 * half values of x.
void synthesise(const double* a, const double* d, int half, const double* lo, const double* hi,
                int t, double* x) {
    const int taps = t / 2;
    for (int i = 0; i < half; ++i) {
        double s0 = 0.0, s1 = 0.0;
        if (i >= taps - 1) {
            for (int m = 0; m < taps; ++m) {
                const double av = a[i - m], dv = d[i - m];
                s0 += av * lo[2 * m] + dv * hi[2 * m];
                s1 += av * lo[2 * m + 1] + dv * hi[2 * m + 1];
            }
        } else {
            for (int m = 0; m < taps; ++m) {
                const int q = ((i - m) % half + half) % half;
                s0 += a[q] * lo[2 * m] + d[q] * hi[2 * m];
                s1 += a[q] * lo[2 * m + 1] + d[q] * hi[2 * m + 1];
            }
        }
        x[2 * i] = s0;
        x[2 * i + 1] = s1;
    }
}

}  // namespace

int WaveletLevelLength(int M, int level) {
    const int N = TransformLength(M);
    if (N == 0 || level < 1 || level > 30) return 0;
    return N >> level;
}

int WaveletLevelOffset(int M, int level) {
    const int N = TransformLength(M);
    if (N == 0 || level < 1 || level > 31) return 0;
    return N - (N >> (level - 1));
}

int WaveletCoefficientCount(int M, int levels) {
    const int N = TransformLength(M);
    if (N == 0 || levels < 1) return 0;
    return N - (N >> effectiveLevels(N, levels));
}

bool WaveletTransform(const float* samples, int M, float* reconstruction, float* approximation,
                      float* detail, int family, int member, int levels) {
    const WaveletMember* w = FindWaveletMember(family, member);
    if (!w || M < 1 || M > kMaxTransformLength || levels < 1 || levels > kMaxWaveletLevels)
        return false;
    const int N = TransformLength(M);
    const int B = 2 * N;
    const int L = effectiveLevels(N, levels);
    const int t = w->taps;

    // The trace sits after N zeros so that the wrap-around of the periodic analysis
    // only meets the zero half.
    std::vector<double> x(B, 0.0);
    std::copy(samples, samples + M, x.begin() + N);

    // Every level's full approximation and detail blocks, one buffer each: level k
    // (1-based, B >> k values) starts at B - (B >> (k - 1)).
    std::vector<double> a(B, 0.0), d(B, 0.0);
    auto levelStart = [B](int k) { return B - (B >> (k - 1)); };
    const double* in = x.data();
    int s = B;
    for (int k = 1; k <= L; ++k) {
        double* ak = a.data() + levelStart(k);
        double* dk = d.data() + levelStart(k);
        analyse(in, s, w->lo, w->hi, t, ak, dk);
        s /= 2;
        // Hand out the half of the level that lines up with the trace.
        const int off = WaveletLevelOffset(M, k);
        for (int i = 0; i < s / 2; ++i) {
            approximation[off + i] = static_cast<float>(ak[s / 2 + i]);
            detail[off + i] = static_cast<float>(dk[s / 2 + i]);
        }
        in = ak;
    }

    // Rebuild from the deepest level, each step feeding the next with what it rebuilt.
    const double* lo = SynthesisLo(*w);
    const double* hi = SynthesisHi(*w);
    std::vector<double> cur(in, in + s), next;
    for (int k = L; k >= 1; --k) {
        next.assign(2 * s, 0.0);
        synthesise(cur.data(), d.data() + levelStart(k), s, lo, hi, t, next.data());
        cur.swap(next);
        s *= 2;
    }
    for (int i = 0; i < M; ++i) reconstruction[i] = static_cast<float>(cur[N + i]);
    return true;
}

}  // namespace sondara
