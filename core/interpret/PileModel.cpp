#include "core/interpret/PileModel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace sondara::interp {

namespace {

double rmsOf(const std::vector<double>& x, int from, int to) {
    double s = 0.0, m = 0.0;
    int n = to - from;
    if (n <= 0) return 0.0;
    for (int i = from; i < to; ++i) m += x[i];
    m /= n;
    for (int i = from; i < to; ++i) s += (x[i] - m) * (x[i] - m);
    return std::sqrt(s / n);
}

// Noise from the first differences (robust, for traces without a quiet start).
double differenceNoise(const std::vector<double>& x, int from, int to) {
    std::vector<double> d;
    for (int i = from + 1; i < to; ++i) d.push_back(std::fabs(x[i] - x[i - 1]));
    if (d.empty()) return 0.0;
    std::nth_element(d.begin(), d.begin() + d.size() / 2, d.end());
    return d[d.size() / 2] / (0.6745 * std::sqrt(2.0));
}

// A blow that the recorder cut off runs flat at its extreme: this many samples at
// exactly the largest excursion (a sampled peak is never flat for long; rounding of a
// coarse recorder can make two or three equal, a saturated one makes many).
constexpr int kMinClippedRun = 4;

// Longest run of consecutive samples equal to `value` (to rounding) in x.
int runAt(const std::vector<double>& x, double value, double tol) {
    int best = 0, run = 0;
    for (double v : x) {
        run = std::fabs(v - value) <= tol ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best;
}

}  // namespace

int samplesIn(double seconds, double dt, int cap) {
    if (!(dt > 0.0)) return 0;
    const double k = std::floor(seconds / dt);
    if (!(k > 0.0)) return 0;  // also NaN
    return k >= cap ? cap : static_cast<int>(k);
}

Conditioned conditionTrace(std::span<const float> recorded, double dtUs, bool acceleration) {
    Conditioned c;
    c.acceleration = acceleration;
    const int n = static_cast<int>(recorded.size());
    if (n < 16) {
        c.error = "波形数据太短";
        return c;
    }
    if (!(dtUs >= kMinSampleIntervalUs && dtUs <= kMaxSampleIntervalUs)) {
        c.error = "采样间隔无效";
        return c;
    }
    c.dt = dtUs * 1e-6;
    std::vector<double> x(n);
    for (int i = 0; i < n; ++i) {
        double v = recorded[i];
        if (!std::isfinite(v)) {
            // Samples that are not numbers: the recorder or the file failed; no reading
            // of such a trace can be trusted.
            c.error = "数据异常";
            return c;
        }
        x[i] = v;
    }

    // The blow: the largest excursion of the recorded samples over their median
    // level decides where to look; the quiet part before it gives offset and noise.
    std::vector<double> sorted(x);
    std::nth_element(sorted.begin(), sorted.begin() + n / 2, sorted.end());
    const double level = sorted[n / 2];
    int big = 0;
    for (int i = 0; i < n; ++i)
        if (std::fabs(x[i] - level) > std::fabs(x[big] - level)) big = i;
    const double bigAmp = std::fabs(x[big] - level);
    if (!(bigAmp > 0.0) || !std::isfinite(bigAmp)) {
        c.error = "未找到锤击信号";
        return c;
    }
    c.clipped = runAt(x, x[big], 1e-6 * bigAmp) >= kMinClippedRun;
    const double jitter = differenceNoise(x, 0, n);
    c.blowToNoise = jitter > 0.0 ? bigAmp / jitter : std::numeric_limits<double>::infinity();
    // First sample above a third of the largest excursion: the blow's front.
    int front = 0;
    while (front < n && std::fabs(x[front] - level) < bigAmp / 3.0) ++front;
    int quiet = std::max(0, front - 2);
    // Go back to where the front leaves the pre-blow noise.
    int pre = quiet;
    double preRms = quiet >= 4 ? rmsOf(x, 0, quiet) : 0.0;
    double preMean = 0.0;
    if (quiet >= 4) {
        for (int i = 0; i < quiet; ++i) preMean += x[i];
        preMean /= quiet;
    } else {
        preMean = level;
    }
    (void)pre;
    c.offset = preMean;
    c.rawNoise = quiet >= 8 ? preRms : differenceNoise(x, 0, n);

    // Velocity.
    std::vector<double>& v = c.velocity;
    v.assign(n, 0.0);
    if (acceleration) {
        double acc = 0.0;
        for (int i = 0; i < n; ++i) {
            // Trapezoidal integration of the offset-free acceleration.
            double a0 = i > 0 ? x[i - 1] - preMean : 0.0;
            acc += 0.5 * (a0 + x[i] - preMean) * c.dt;
            v[i] = acc;
        }
    } else {
        for (int i = 0; i < n; ++i) v[i] = x[i] - preMean;
    }

    // The blow's polarity from the first big excursion of the velocity. Integrated
    // drift or hum of an accelerometer can outgrow the blow late in the record, so
    // there the velocity's blow is sought only within a few milliseconds of the
    // recorded blow's front.
    const int searchFrom = acceleration ? std::max(0, front - 2) : 0;
    const int searchTo =
        acceleration ? std::min(n, front + std::max(16, samplesIn(4e-3, c.dt, n))) : n;
    int vb = searchFrom;
    for (int i = searchFrom; i < searchTo; ++i)
        if (std::fabs(v[i]) > std::fabs(v[vb])) vb = i;
    double vAmp = std::fabs(v[vb]);
    if (!(vAmp > 0.0) || !std::isfinite(vAmp)) {
        c.error = "未找到锤击信号";
        return c;
    }
    int f = searchFrom;
    while (f < n && std::fabs(v[f]) < 0.5 * vAmp) ++f;
    c.sign = v[f] < 0.0 ? -1.0 : 1.0;
    for (double& y : v) y *= c.sign;
    // Peak: the highest sample of the first hump above half the blow (a climb to the
    // first local maximum would stop on a noise wiggle of a finely sampled trace).
    int kp = f;
    for (int i = f; i < n && v[i] >= 0.5 * vAmp; ++i)
        if (v[i] > v[kp]) kp = i;
    c.blowPeak = kp;
    c.peak = v[kp];
    // Noise in velocity at the scale of one echo.
    double thr = std::max(0.02 * c.peak, 0.0);
    int kb = kp;
    while (kb > 0 && v[kb] > thr) --kb;
    c.blowStart = kb;
    int w = 0;
    for (int i = kb; i < n && (i <= kp || v[i] > 0.5 * c.peak); ++i)
        if (v[i] > 0.5 * c.peak) ++w;
    c.pulseWidth = std::max(2, w);
    double noiseV;
    if (acceleration) {
        double sa = kb >= 8 ? [&] {
            std::vector<double> a(x.begin(), x.begin() + kb);
            return rmsOf(a, 0, kb);
        }()
                            : differenceNoise(x, 0, n);
        noiseV = sa * c.dt * std::sqrt(static_cast<double>(c.pulseWidth) * 2.0);
    } else {
        noiseV = kb >= 8 ? rmsOf(v, 0, kb) : differenceNoise(v, 0, n);
    }
    c.noise = noiseV;

    // The incident pulse: from the blow's start to where the velocity first falls back
    // near zero or turns up again below a third of the peak, at most three rise times
    // after the peak; the end tapers to zero.
    int rise = std::max(1, kp - kb);
    int limit = std::min(n - 1, kp + 3 * rise + 2);
    int ke = kp;
    while (ke < limit) {
        if (v[ke + 1] <= 0.02 * c.peak) {
            ++ke;
            break;
        }
        if (v[ke] < c.peak / 3.0 && v[ke + 1] > v[ke]) break;
        ++ke;
    }
    c.pulse.assign(v.begin() + kb, v.begin() + ke + 1);
    c.pulse[0] = 0.0;
    double tail = std::max(0.0, c.pulse.back());
    int taper = std::max(2, (ke - kp) / 2);
    for (int i = 1; i <= taper; ++i)
        c.pulse.push_back(tail * (1.0 - static_cast<double>(i) / taper));
    for (double& y : c.pulse) y = std::max(0.0, y);
    return c;
}

PileModel::PileModel(const std::vector<double>& pulse, double dt, int cells, int samples,
                     double minToeTime)
    : pulse_(pulse),
      dt_(dt),
      n_(std::max(2, cells)),
      samples_(std::max(1, samples)),
      minToe_(minToeTime) {
    z_.assign(n_, 1.0f);
    alpha_.assign(n_ + 1, 0.0f);
    k_.assign(n_ + 1, 0.0f);
    s_.assign(n_ + 1, 0.0f);
    dn_.assign(n_, 0.0f);
    up_.assign(n_, 0.0f);
    ndn_.assign(n_, 0.0f);
    nup_.assign(n_, 0.0f);
    double tau = minToe_ / n_;
    std::size_t steps = static_cast<std::size_t>(std::ceil(samples_ * dt_ / tau)) + 4;
    vHead_.assign(steps, 0.0);
    force_.assign(steps, 0.0);
}

void PileModel::imposeBlow(std::vector<double> velocity, int earliestEnd, int latestEnd) {
    blow_ = std::move(velocity);
    blowLatest_ = std::clamp(latestEnd, 1, static_cast<int>(blow_.size()) - 1);
    blowEarliest_ = std::clamp(earliestEnd, 0, blowLatest_);
}

void PileModel::profileOf(const ModelParams& p) {
    std::fill(z_.begin(), z_.end(), 1.0f);
    for (const ModelChange& ch : p.changes) {
        double ratio = std::clamp(ch.ratio, 0.02, 5.0);
        double a = std::clamp(ch.top, 0.0, 1.0) * n_;
        double b = std::clamp(ch.top + std::max(ch.extent, 0.0), 0.0, 1.0) * n_;
        int i0 = static_cast<int>(std::floor(a));
        for (int i = std::max(0, i0); i < n_ && i < b; ++i) {
            double cover = std::min(b, i + 1.0) - std::max(a, static_cast<double>(i));
            if (cover <= 0.0) continue;
            // Blend in compliance (series layers) so that a thin soft layer acts like one.
            double frac = std::min(1.0, cover);
            double zi = z_[i];
            double comp = (1.0 - frac) / zi + frac / ratio;
            z_[i] = static_cast<float>(1.0 / comp);
        }
    }
}

void PileModel::run(const ModelParams& p, std::span<double> out) {
    const int n = n_;
    const double toeTime = std::max(p.toeTime, minToe_);
    const double tau = toeTime / n;
    const std::size_t steps =
        std::min(vHead_.size(), static_cast<std::size_t>(std::ceil(samples_ * dt_ / tau)) + 2);
    profileOf(p);

    const double cj = std::clamp(p.shaftDamping, 0.0, 50.0) / n;
    const double kj = std::clamp(p.shaftStiffness, 0.0, 50.0) / (n * toeTime);
    for (int j = 1; j < n; ++j) {
        k_[j] = static_cast<float>(kj);
        alpha_[j] = static_cast<float>(1.0 / (z_[j - 1] + z_[j] + cj + kj * tau));
    }
    double cToe, kToe;
    if (p.toeReflects) {
        cToe = std::clamp(p.toeDamping, 0.0, 100.0);
        kToe = std::clamp(p.toeStiffness, 0.0, 1000.0) / toeTime;
    } else {
        cToe = z_[n - 1];
        kToe = 0.0;
    }
    const double alphaToe = 1.0 / (z_[n - 1] + cToe + kToe * tau);
    std::fill(s_.begin(), s_.end(), 0.0f);
    std::fill(dn_.begin(), dn_.end(), 0.0f);
    std::fill(up_.begin(), up_.end(), 0.0f);
    std::fill(ndn_.begin(), ndn_.end(), 0.0f);
    std::fill(nup_.begin(), nup_.end(), 0.0f);

    // The force: the pulse resampled at the model's step (an imposed blow makes its own).
    const bool imposed = blow_.size() >= 2;
    const int np = static_cast<int>(pulse_.size());
    for (std::size_t s = 0; s < steps && !imposed; ++s) {
        double x = s * tau / dt_;
        int i = static_cast<int>(x);
        double f = 0.0;
        if (i + 1 < np) f = pulse_[i] + (x - i) * (pulse_[i + 1] - pulse_[i]);
        force_[s] = p.amplitude * f;
    }

    double sToe = 0.0;
    const float dtau = static_cast<float>(tau);
    float* __restrict dn = dn_.data();
    float* __restrict up = up_.data();
    float* __restrict ndn = ndn_.data();
    float* __restrict nup = nup_.data();
    const float* __restrict z = z_.data();
    const float* __restrict alpha = alpha_.data();
    const float* __restrict k = k_.data();
    float* __restrict sd = s_.data();
    bool contact = imposed;
    double peakForce = 0.0;
    for (std::size_t step = 0; step < steps; ++step) {
        {
            double b = up[0];
            double f = imposed ? 0.0 : force_[step];
            if (contact) {
                double x = step * tau / dt_;
                int i = static_cast<int>(x);
                if (i >= blowLatest_) {
                    contactEnd_ = i;
                    contact = false;
                    f = 0.0;
                } else {
                    double v = blow_[i] + (x - i) * (blow_[i + 1] - blow_[i]);
                    f = z[0] * v + 2.0 * b;
                    peakForce = std::max(peakForce, f);
                    if (f <= 0.03 * peakForce && i >= blowEarliest_) {
                        contactEnd_ = i;
                        contact = false;
                        f = 0.0;
                    }
                    f = std::max(f, 0.0);
                }
            }
            vHead_[step] = (f - 2.0 * b) / z[0];
            ndn[0] = static_cast<float>(f - b);
        }
        const int active = static_cast<int>(std::min<std::size_t>(n, step + 1));
        int j = 1;
#if defined(__GNUC__) || defined(__clang__)
        using V4 = float __attribute__((vector_size(16)));
        auto load = [](const float* q) {
            V4 r;
            std::memcpy(&r, q, sizeof r);
            return r;
        };
        auto store = [](float* q, V4 r) { std::memcpy(q, &r, sizeof r); };
        for (; j + 3 < active; j += 4) {
            V4 a = load(dn + j - 1), b = load(up + j), sj = load(sd + j);
            V4 vv = (2.0f * (a - b) - load(k + j) * sj) * load(alpha + j);
            store(sd + j, sj + vv * dtau);
            store(nup + j - 1, a - load(z + j - 1) * vv);
            store(ndn + j, b + load(z + j) * vv);
        }
#endif
        for (; j < active; ++j) {
            float a = dn[j - 1], b = up[j];
            float vv = (2.0f * (a - b) - k[j] * sd[j]) * alpha[j];
            sd[j] += vv * dtau;
            nup[j - 1] = a - z[j - 1] * vv;
            ndn[j] = b + z[j] * vv;
        }
        {
            double a = dn[n - 1];
            double vt = (2.0 * a - kToe * sToe) * alphaToe;
            sToe += vt * tau;
            nup[n - 1] = static_cast<float>(a - z[n - 1] * vt);
        }
        std::swap(dn, ndn);
        std::swap(up, nup);
    }
    // dn/up pointers swapped locally only; the buffers are reset on the next run.

    const std::size_t m = std::min(out.size(), static_cast<std::size_t>(samples_));
    for (std::size_t i = 0; i < m; ++i) {
        double x = i * dt_ / tau;
        std::size_t s = static_cast<std::size_t>(x);
        if (s + 1 >= steps) {
            out[i] = vHead_[steps - 1];
            continue;
        }
        out[i] = vHead_[s] + (x - s) * (vHead_[s + 1] - vHead_[s]);
    }
    for (std::size_t i = m; i < out.size(); ++i) out[i] = 0.0;
    // An imposed blow fixes the scale; the amplitude then scales the whole trace (it
    // stays near one and keeps the fit's parameters all alive).
    if (imposed)
        for (std::size_t i = 0; i < m; ++i) out[i] *= p.amplitude;
}

}  // namespace sondara::interp
