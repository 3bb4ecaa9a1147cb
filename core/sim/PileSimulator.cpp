#include "core/sim/PileSimulator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

namespace sondara {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kMaxInternalStepUs = 12.5;
// Cells times steps of one simulation; keeps a hostile description from running
// for minutes (a 100 m pile over 8192 samples stays well below it).
constexpr double kMaxWork = 2.0e9;

template <typename... A>
std::string format(const char* fmt, A... a) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, a...);
    return buf;
}

// Area, wave speed and diameter factors of a stretch of the pile relative to the
// sound section.
struct Factors {
    double area = 1.0;
    double speed = 1.0;
    double diameter = 1.0;
};

Factors factorsOf(const DefectSpec& d) {
    Factors f;
    const double s = d.severity;
    switch (d.kind) {
        case DefectKind::Necking:
            f.diameter = 1.0 - s;
            f.area = f.diameter * f.diameter;
            break;
        case DefectKind::Bulging:
        case DefectKind::EnlargedBase:
            f.diameter = 1.0 + s;
            f.area = f.diameter * f.diameter;
            break;
        case DefectKind::Crack:
        case DefectKind::Break:
            f.area = 1.0 - s;  // the section that still carries load
            break;
        case DefectKind::SoilInclusion:
            f.speed = 1.0 - 0.5 * s;
            f.area = (1.0 - s) / f.speed;  // Z * (1 - s)
            break;
        case DefectKind::Segregation:
            f.speed = 1.0 - s;
            break;
        default:
            break;
    }
    return f;
}

double effectiveDepth(const PileSpec& spec, const DefectSpec& d) {
    return d.kind == DefectKind::EnlargedBase ? spec.length - d.length : d.depth;
}

// One stretch of constant section between two breakpoints.
struct Stretch {
    double z0 = 0, z1 = 0;  // m
    double t0 = 0, t1 = 0;  // s, travel time from the head
    Factors f;
    int defect = -1;
    bool lumped = false;  // thinner than the grid and softer: acts as a spring
};

double sectionArea(const PileSpec& spec) {
    double r = spec.diameter * 0.0005;
    double area = kPi * r * r;
    if (spec.wallThickness > 0.0) {
        double ri = r - spec.wallThickness * 0.001;
        if (ri > 0.0) area -= kPi * ri * ri;
    }
    return area;
}

// One step of the rigid joints 1..active-1: joint j receives the down-going wave a
// that crossed cell j-1 and the up-going wave b that crossed cell j, moves with
//   v = (2(a - b) - k s) / (Z[j-1] + Z[j] + c + k dtau)     (alpha = 1 / denominator)
// and sends a - Z[j-1] v up into cell j-1 and b + Z[j] v down into cell j; its soil
// spring stretches by v dtau (backward Euler, stable for any spring).
void stepJunctions(int active, const float* __restrict dn, const float* __restrict up,
                   float* __restrict ndn, float* __restrict nup, const float* __restrict z,
                   const float* __restrict alpha, const float* __restrict k, float* __restrict s,
                   float dtau) {
    int j = 1;
#if defined(__GNUC__) || defined(__clang__)
    // Four joints at a time; the compiler maps this onto the machine's vector unit.
    using V4 = float __attribute__((vector_size(16)));
    auto load = [](const float* p) {
        V4 v;
        std::memcpy(&v, p, sizeof v);
        return v;
    };
    auto store = [](float* p, V4 v) { std::memcpy(p, &v, sizeof v); };
    for (; j + 3 < active; j += 4) {
        V4 a = load(dn + j - 1), b = load(up + j), sj = load(s + j);
        V4 v = (2.0f * (a - b) - load(k + j) * sj) * load(alpha + j);
        store(s + j, sj + v * dtau);
        store(nup + j - 1, a - load(z + j - 1) * v);
        store(ndn + j, b + load(z + j) * v);
    }
#endif
    for (; j < active; ++j) {
        float a = dn[j - 1], b = up[j];
        float v = (2.0f * (a - b) - k[j] * s[j]) * alpha[j];
        s[j] += v * dtau;
        nup[j - 1] = a - z[j - 1] * v;
        ndn[j] = b + z[j] * v;
    }
}

int stepsPerSample(double dtUs) {
    int m = std::max(4, static_cast<int>(std::ceil(dtUs / kMaxInternalStepUs - 1e-9)));
    if (m % 2) ++m;  // the centred averaging window needs whole half-intervals
    return m;
}

}  // namespace

double defaultDefectLength(DefectKind kind) {
    switch (kind) {
        case DefectKind::Crack:
            return 0.03;
        case DefectKind::Break:
            return 0.2;
        case DefectKind::SoilInclusion:
            return 0.5;
        case DefectKind::EnlargedBase:
            return 1.0;
        default:
            return 1.0;
    }
}

double defaultDefectSeverity(DefectKind kind) {
    switch (kind) {
        case DefectKind::Necking:
            return 0.3;
        case DefectKind::Bulging:
            return 0.3;
        case DefectKind::Crack:
            return 0.8;
        case DefectKind::Break:
            return 0.97;
        case DefectKind::SoilInclusion:
            return 0.4;
        case DefectKind::Segregation:
            return 0.25;
        case DefectKind::EnlargedBase:
            return 0.6;
        default:
            return 0.0;
    }
}

const char* defectKey(DefectKind kind) {
    switch (kind) {
        case DefectKind::Bulging:
            return "bulging";
        case DefectKind::Necking:
            return "necking";
        case DefectKind::Break:
            return "break";
        case DefectKind::Crack:
            return "crack";
        case DefectKind::SoilInclusion:
            return "inclusion";
        case DefectKind::Segregation:
            return "segregation";
        case DefectKind::EnlargedBase:
            return "enlargedBase";
        default:
            return "";
    }
}

DefectKind defectKindOfKey(const std::string& key) {
    for (int k = 1; k <= 7; ++k) {
        auto kind = static_cast<DefectKind>(k);
        if (key == defectKey(kind)) return kind;
    }
    return DefectKind::None;
}

double pileImpedance(const PileSpec& spec) {
    return spec.density * spec.waveSpeed * sectionArea(spec);
}

std::uint64_t SimRandom::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double SimRandom::uniform() {
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

double SimRandom::uniform(double lo, double hi) {
    return lo + (hi - lo) * uniform();
}

int SimRandom::integer(int lo, int hi) {
    if (hi <= lo) return lo;
    auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo + 1);
    return lo + static_cast<int>(next() % span);
}

double SimRandom::gaussian() {
    if (hasSpare_) {
        hasSpare_ = false;
        return spare_;
    }
    double u1 = 0.0;
    do u1 = uniform();
    while (u1 <= 0.0);
    double u2 = uniform();
    double r = std::sqrt(-2.0 * std::log(u1));
    spare_ = r * std::sin(2.0 * kPi * u2);
    hasSpare_ = true;
    return r * std::cos(2.0 * kPi * u2);
}

std::string validatePileSpec(const PileSpec& s) {
    auto outside = [](double v, double lo, double hi) { return !(v >= lo && v <= hi); };
    if (outside(s.length, 0.5, 120.0))
        return format("pile length %g m is outside 0.5..120", s.length);
    if (outside(s.waveSpeed, 1000.0, 6500.0))
        return format("wave speed %g m/s is outside 1000..6500", s.waveSpeed);
    if (outside(s.diameter, 100.0, 5000.0))
        return format("pile diameter %g mm is outside 100..5000", s.diameter);
    if (outside(s.wallThickness, 0.0, s.diameter / 2.0))
        return format("wall thickness %g mm is outside 0..%g", s.wallThickness, s.diameter / 2.0);
    if (outside(s.density, 1000.0, 9000.0))
        return format("pile density %g kg/m3 is outside 1000..9000", s.density);
    const SoilSpec& soil = s.soil;
    if (outside(soil.shaftVs, 0.0, 3000.0))
        return format("shaft soil shear wave speed %g m/s is outside 0..3000", soil.shaftVs);
    if (outside(soil.shaftDensity, 1000.0, 3500.0))
        return format("shaft soil density %g kg/m3 is outside 1000..3500", soil.shaftDensity);
    if (outside(soil.freeLength, 0.0, s.length))
        return format("free length %g m is outside 0..%g", soil.freeLength, s.length);
    if (outside(soil.toeVs, 0.0, 5000.0))
        return format("toe soil shear wave speed %g m/s is outside 0..5000", soil.toeVs);
    if (outside(soil.toeDensity, 1000.0, 3500.0))
        return format("toe soil density %g kg/m3 is outside 1000..3500", soil.toeDensity);
    if (outside(soil.toePoisson, 0.0, 0.49))
        return format("toe soil Poisson ratio %g is outside 0..0.49", soil.toePoisson);
    if (outside(s.hammerMs, 0.1, 10.0))
        return format("hammer pulse %g ms is outside 0.1..10", s.hammerMs);
    if (outside(s.hammerForce, 1.0, 1.0e6))
        return format("hammer force %g N is outside 1..1000000", s.hammerForce);
    if (s.sensorType != 0 && s.sensorType != 1)
        return format("sensor type %d is neither 0 (acceleration) nor 1 (velocity)", s.sensorType);
    if (outside(s.sampleInterval, 1.0, 1000.0))
        return format("sample interval %g us is outside 1..1000", s.sampleInterval);
    if (s.samples < 16 || s.samples > 8192)
        return format("sample count %d is outside 16..8192", s.samples);
    if (s.preTrigger < 0 || s.preTrigger >= s.samples / 2)
        return format("pre-trigger %d is outside 0..%d", s.preTrigger, s.samples / 2 - 1);
    if (outside(s.gain, 0.0, 10000.0)) return format("gain %g is outside 0..10000", s.gain);
    if (outside(s.noise, 0.0, 1.0)) return format("noise %g is outside 0..1", s.noise);

    for (std::size_t i = 0; i < s.defects.size(); ++i) {
        const DefectSpec& d = s.defects[i];
        int k = static_cast<int>(d.kind);
        if (k < 1 || k > 7) return format("defect %zu: kind %d is not one of 1..7", i + 1, k);
        double maxSeverity =
            (d.kind == DefectKind::Bulging || d.kind == DefectKind::EnlargedBase) ? 2.0 : 0.999;
        if (!(d.severity > 0.0 && d.severity <= maxSeverity))
            return format("defect %zu: severity %g is outside (0, %g]", i + 1, d.severity,
                          maxSeverity);
        if (!(d.length >= 0.001 && d.length <= s.length))
            return format("defect %zu: length %g m is outside 0.001..%g", i + 1, d.length,
                          s.length);
        double z = effectiveDepth(s, d);
        if (!(z >= 0.0 && z + d.length <= s.length + 1e-9))
            return format("defect %zu: %g..%g m lies outside the pile (0..%g m)", i + 1, z,
                          z + d.length, s.length);
        for (std::size_t j = 0; j < i; ++j) {
            const DefectSpec& e = s.defects[j];
            double y = effectiveDepth(s, e);
            if (z < y + e.length - 1e-9 && y < z + d.length - 1e-9)
                return format("defects %zu and %zu overlap", j + 1, i + 1);
        }
    }

    // Work bound: cells times internal steps.
    double minSpeed = s.waveSpeed;
    for (const DefectSpec& d : s.defects)
        minSpeed = std::min(minSpeed, s.waveSpeed * factorsOf(d).speed);
    int m = stepsPerSample(s.sampleInterval);
    double dtau = s.sampleInterval * 1e-6 / m;
    double cells = s.length / minSpeed / dtau;
    double steps = static_cast<double>(s.samples) * m;
    if (cells * steps > kMaxWork)
        return format("a %g m pile over %d samples of %g us is too large to simulate", s.length,
                      s.samples, s.sampleInterval);
    return {};
}

SimulatedTrace simulatePile(const PileSpec& spec, std::uint64_t seed) {
    SimulatedTrace out;
    out.error = validatePileSpec(spec);
    if (!out.error.empty()) return out;

    const double dt = spec.sampleInterval * 1e-6;
    const int m = stepsPerSample(spec.sampleInterval);
    const double dtau = dt / m;
    const double c0 = spec.waveSpeed;
    const double area0 = sectionArea(spec);
    const double z0 = spec.density * c0 * area0;
    const double radius0 = spec.diameter * 0.0005;

    // ---- the pile as stretches of constant section --------------------------------
    std::vector<double> cuts{0.0, spec.length};
    for (const DefectSpec& d : spec.defects) {
        double z = effectiveDepth(spec, d);
        cuts.push_back(z);
        cuts.push_back(std::min(spec.length, z + d.length));
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(
        std::unique(cuts.begin(), cuts.end(), [](double a, double b) { return b - a < 1e-9; }),
        cuts.end());
    std::vector<Stretch> stretches;
    double t = 0.0;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        Stretch st;
        st.z0 = cuts[i];
        st.z1 = cuts[i + 1];
        double mid = 0.5 * (st.z0 + st.z1);
        for (std::size_t k = 0; k < spec.defects.size(); ++k) {
            const DefectSpec& d = spec.defects[k];
            double z = effectiveDepth(spec, d);
            if (mid >= z && mid < z + d.length) {
                st.f = factorsOf(d);
                st.defect = static_cast<int>(k);
            }
        }
        st.t0 = t;
        t += (st.z1 - st.z0) / (c0 * st.f.speed);
        st.t1 = t;
        st.lumped = st.f.area * st.f.speed < 1.0 && st.t1 - st.t0 < 2.0 * dtau;
        stretches.push_back(st);
    }
    const double travel = t;
    const int n = std::max(1, static_cast<int>(std::lround(travel / dtau)));

    // ---- cells ------------------------------------------------------------------
    std::vector<double> zc(n), cc(n), dfac(n);
    {
        std::size_t si = 0;
        const Stretch* lastResolved = nullptr;
        for (int i = 0; i < n; ++i) {
            double tm = (i + 0.5) * dtau;
            while (si + 1 < stretches.size() && tm >= stretches[si].t1) {
                if (!stretches[si].lumped) lastResolved = &stretches[si];
                ++si;
            }
            const Stretch* st = &stretches[si];
            if (st->lumped) {
                st = lastResolved;
                if (!st)  // a soft layer right at the head: take the next resolved stretch
                    for (std::size_t k = si; k < stretches.size() && !st; ++k)
                        if (!stretches[k].lumped) st = &stretches[k];
                if (!st) st = &stretches[si];
            }
            zc[i] = z0 * st->f.area * st->f.speed;
            cc[i] = c0 * st->f.speed;
            dfac[i] = st->f.diameter;
        }
    }

    // Depth of junction j (top of cell j), from the stretches' travel times.
    auto depthAtTime = [&](double tt) {
        for (const Stretch& st : stretches)
            if (tt <= st.t1) return st.z0 + (tt - st.t0) * c0 * st.f.speed;
        return spec.length;
    };

    // ---- junction constants -----------------------------------------------------
    // Junction j joins cell j-1 (above) and cell j (below); 0 is the head, n the toe.
    const SoilSpec& soil = spec.soil;
    const double gShaft = soil.shaftDensity * soil.shaftVs * soil.shaftVs;
    auto shaftSoil = [&](int j, double tributary, double diamFactor, double& k, double& c) {
        k = c = 0.0;
        if (soil.shaftVs <= 0.0) return;
        if (depthAtTime(j * dtau) <= soil.freeLength) return;
        double r = radius0 * diamFactor;
        k = 2.75 * gShaft * tributary;
        c = 2.0 * kPi * r * soil.shaftDensity * soil.shaftVs * tributary;
    };
    // The stepping state is single precision: four junctions per vector operation, and
    // the round-off stays far below the converter's resolution.
    std::vector<float> alpha(n + 1, 0.0f), kSoil(n + 1, 0.0f), disp(n + 1, 0.0f),
        zcf(zc.begin(), zc.end());
    for (int j = 1; j < n; ++j) {
        double trib = 0.5 * (cc[j - 1] + cc[j]) * dtau;
        double k = 0, c = 0;
        shaftSoil(j, trib, 0.5 * (dfac[j - 1] + dfac[j]), k, c);
        kSoil[j] = static_cast<float>(k);
        alpha[j] = static_cast<float>(1.0 / (zc[j - 1] + zc[j] + c + k * dtau));
    }
    // Toe: half a cell of shaft plus the toe support.
    double kToe = 0.0, cToe = 0.0;
    shaftSoil(n, 0.5 * cc[n - 1] * dtau, dfac[n - 1], kToe, cToe);
    const bool fixedToe = soil.toe == ToeCondition::Fixed;
    if (soil.toe == ToeCondition::Free) {
        kToe = cToe = 0.0;
    } else if (soil.toe == ToeCondition::Soil && soil.toeVs > 0.0) {
        double r = radius0 * dfac[n - 1];
        double g = soil.toeDensity * soil.toeVs * soil.toeVs;
        kToe += 4.0 * g * r / (1.0 - soil.toePoisson);
        cToe += 3.4 * r * r * soil.toeDensity * soil.toeVs / (1.0 - soil.toePoisson);
    }
    const double alphaToe = 1.0 / (zc[n - 1] + cToe + kToe * dtau);

    // Thin soft layers: springs of the layer's compliance at the nearest junction.
    struct Spring {
        int j;
        double k;  // N/m
        double force = 0.0;
        double relVel = 0.0;
    };
    std::vector<Spring> springs;
    for (const Stretch& st : stretches) {
        if (!st.lumped) continue;
        int j = std::clamp(static_cast<int>(std::lround(0.5 * (st.t0 + st.t1) / dtau)), 1,
                           std::max(1, n - 1));
        if (n < 2) break;  // a one-cell pile has no inner junction to put it on
        double zLayer = z0 * st.f.area * st.f.speed;
        double k = zLayer / (st.t1 - st.t0);  // E'A'/h = Z'c'/h = Z'/tau
        auto it =
            std::find_if(springs.begin(), springs.end(), [&](const Spring& s) { return s.j == j; });
        if (it == springs.end())
            springs.push_back({j, k});
        else
            it->k = 1.0 / (1.0 / it->k + 1.0 / k);  // layers in series
    }

    // ---- time stepping ----------------------------------------------------------
    const int head = spec.preTrigger;
    const int half = m / 2;
    const long lastStep = static_cast<long>(spec.samples - 1 - head) * m + half;
    std::vector<double> vHead(static_cast<std::size_t>(lastStep) + 1, 0.0);
    std::vector<float> dn(n, 0.0f), up(n, 0.0f), ndn(n, 0.0f), nup(n, 0.0f);
    const float dtauF = static_cast<float>(dtau);
    const double tHammer = spec.hammerMs * 1e-3;
    double sToe = 0.0;
    for (long step = 0; step <= lastStep; ++step) {
        double tt = step * dtau;
        double force = (tt <= tHammer) ? spec.hammerForce * std::sin(kPi * tt / tHammer) : 0.0;
        if (force < 0.0) force = 0.0;
        // Head: applied force, no soil.
        {
            double b = up[0];
            vHead[step] = (force - 2.0 * b) / zc[0];
            ndn[0] = static_cast<float>(force - b);
        }
        // Inner junctions. A wave leaves the head at step 0 and crosses one cell per
        // step: the junctions below its front are still at rest.
        stepJunctions(static_cast<int>(std::min<long>(n, step + 1)), dn.data(), up.data(),
                      ndn.data(), nup.data(), zcf.data(), alpha.data(), kSoil.data(), disp.data(),
                      dtauF);
        // Spring junctions replace the rigid joint (trapezoidal rule, unconditionally stable).
        for (Spring& sp : springs) {
            int j = sp.j;
            double a = dn[j - 1], b = up[j];
            double zu = zc[j - 1], zd = zc[j];
            double g = 2.0 * a / zu + 2.0 * b / zd;
            double h = 1.0 / zu + 1.0 / zd;
            double kd = 0.5 * sp.k * dtau;
            double f = (sp.force + kd * (sp.relVel + g)) / (1.0 + kd * h);
            sp.relVel = g - f * h;
            sp.force = f;
            nup[j - 1] = static_cast<float>(f - a);
            ndn[j] = static_cast<float>(f - b);
        }
        // Toe.
        {
            double a = dn[n - 1];
            if (fixedToe) {
                nup[n - 1] = static_cast<float>(a);
            } else {
                double v = (2.0 * a - kToe * sToe) * alphaToe;
                sToe += v * dtau;
                nup[n - 1] = static_cast<float>(a - zc[n - 1] * v);
            }
        }
        std::swap(dn, ndn);
        std::swap(up, nup);
    }

    // ---- the instrument ---------------------------------------------------------
    auto vAt = [&](long i) { return i < 0 ? 0.0 : vHead[static_cast<std::size_t>(i)]; };
    std::vector<double> clean(spec.samples, 0.0);
    for (int k = 0; k < spec.samples; ++k) {
        long centre = static_cast<long>(k - head) * m;
        long a = centre - half, b = centre + half;
        if (b < 0) continue;
        if (spec.sensorType == 0) {
            clean[k] = (vAt(b) - vAt(a)) / dt;
        } else {
            double sum = 0.5 * (vAt(a) + vAt(b));
            for (long i = std::max(a + 1, 0L); i < b; ++i)
                sum += vHead[static_cast<std::size_t>(i)];
            clean[k] = sum / m;
        }
    }
    const double sensitivity = spec.sensorType == 0 ? kAccelMvPerMps2 : kVelocityMvPerMps;
    double peakUnit = 0.0;
    for (double x : clean) peakUnit = std::max(peakUnit, std::fabs(x));
    int gain = static_cast<int>(std::lround(spec.gain));
    if (gain <= 0) {
        gain = 1;
        while (gain < 1024 && peakUnit * sensitivity * gain * 2 <= 0.6 * kAdcRangeMv) gain *= 2;
    }
    const double scale = sensitivity * gain;

    SimTruth& truth = out.truth;
    truth.headIndex = head;
    truth.travelTime = n * dtau;
    truth.toeIndex = head + static_cast<int>(std::lround(2.0 * n * dtau / dt));
    truth.gain = gain;
    truth.mvPerUnit = scale;
    truth.peakMv = peakUnit * scale;
    truth.headPeakIndex = head;
    for (int k = head; k + 1 < spec.samples; ++k) {
        if (clean[k] > 0.0 && clean[k + 1] < clean[k]) {
            truth.headPeakIndex = k;
            break;
        }
    }
    for (std::size_t i = 0; i < spec.defects.size(); ++i) {
        const DefectSpec& d = spec.defects[i];
        SimDefectTruth dt_;
        dt_.kind = d.kind;
        dt_.depth = effectiveDepth(spec, d);
        dt_.length = d.length;
        dt_.severity = d.severity;
        double tTop = 0.0;
        for (const Stretch& st : stretches) {
            if (st.defect == static_cast<int>(i)) {
                tTop = st.lumped ? 0.5 * (st.t0 + st.t1) : st.t0;
                break;
            }
        }
        double snapped = std::lround(tTop / dtau) * dtau;
        dt_.index = head + static_cast<int>(std::lround(2.0 * snapped / dt));
        truth.defects.push_back(dt_);
    }
    std::sort(truth.defects.begin(), truth.defects.end(),
              [](const SimDefectTruth& a, const SimDefectTruth& b) { return a.depth < b.depth; });

    SimRandom rng(seed);
    const double sigma = spec.noise * truth.peakMv;
    const double lsb = 2.0 * kAdcRangeMv / static_cast<double>(1 << kAdcBits);
    const double codeMax = (1 << (kAdcBits - 1)) - 1, codeMin = -(1 << (kAdcBits - 1));
    out.samples.resize(spec.samples);
    for (int k = 0; k < spec.samples; ++k) {
        double mv = clean[k] * scale;
        if (sigma > 0.0) mv += sigma * rng.gaussian();
        double code = std::clamp(std::round(mv / lsb), codeMin, codeMax);
        out.samples[k] = static_cast<float>(code * lsb);
    }
    return out;
}

}  // namespace sondara
