// indepsim: an independent low-strain pile test simulator used to check how the automatic
// interpretation generalises. Explicit finite differences (lumped mass / spring chain, a
// leapfrog scheme on a staggered grid), distributed shaft soil (spring + dashpot per metre),
// toe spring + dashpot, Kelvin-Voigt material damping, several hammer pulse shapes, noise.
//
//   indepsim --piles N --seed S --out DIR   -> DIR/pile_###.csv, DIR/truth.jsonl
//
// Build: g++ -O2 -std=c++20 -o indepsim indepsim.cpp
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Rng {
    std::uint64_t s;
    explicit Rng(std::uint64_t seed) : s(seed) { s = next() ^ 0x5DEECE66Dull; }
    std::uint64_t next() {
        std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double u() { return (next() >> 11) * (1.0 / 9007199254740992.0); }
    double u(double a, double b) { return a + (b - a) * u(); }
    int i(int a, int b) { return a + static_cast<int>(u() * (b - a + 1)); }
    double gauss() {
        double a = std::max(1e-300, u()), b = u();
        return std::sqrt(-2 * std::log(a)) * std::cos(2 * M_PI * b);
    }
};

enum class Kind { Necking, Bulging, Soft, Break, EnlargedBase };
const char* kindName(Kind k) {
    switch (k) {
        case Kind::Necking:
            return "necking";
        case Kind::Bulging:
            return "bulging";
        case Kind::Soft:
            return "soft";
        case Kind::Break:
            return "break";
        case Kind::EnlargedBase:
            return "enlarged_base";
    }
    return "?";
}

struct Defect {
    Kind kind;
    double top;     // m below the head
    double extent;  // m
    double beta;    // Z(defect)/Z(pile)
};

enum class Pulse { HalfSine, Haversine, Triangle, Gauss, TwoHump };
const char* pulseName(Pulse p) {
    switch (p) {
        case Pulse::HalfSine:
            return "halfsine";
        case Pulse::Haversine:
            return "haversine";
        case Pulse::Triangle:
            return "triangle";
        case Pulse::Gauss:
            return "gauss";
        case Pulse::TwoHump:
            return "twohump";
    }
    return "?";
}

struct Pile {
    int no = 1;
    double L = 10, c = 4000, D = 0.8;
    double dt = 50e-6;  // output sample interval, s
    bool accel = false;
    int pre = 40;         // samples before the blow
    double subShift = 0;  // blow start offset inside the sample, 0..1
    // soil
    double shaftAtten = 0.3;  // designed round-trip attenuation of the toe echo by the shaft
    double layerDepth = 0, cs1 = 0, cs2 = 0, ks1 = 0, ks2 = 0;  // per metre
    double toeC = 0, toeK = 0;                                  // absolute
    std::string toeKind;
    double kv = 0;  // Kelvin-Voigt time constant eta/E, s
    // hammer
    Pulse pulse = Pulse::HalfSine;
    double T = 1e-3;    // contact duration, s
    double asym = 0.5;  // triangle peak position / bounce ratio
    // noise
    double noise = 0.01, drift = 0, hum = 0, gain = 1;
    std::vector<Defect> defects;
};

double pulseForce(const Pile& p, double t) {
    if (t < 0 || t > p.T) return 0;
    double x = t / p.T;
    switch (p.pulse) {
        case Pulse::HalfSine:
            return std::sin(M_PI * x);
        case Pulse::Haversine:
            return 0.5 * (1 - std::cos(2 * M_PI * x));
        case Pulse::Triangle:
            return x < p.asym ? x / p.asym : (1 - x) / (1 - p.asym);
        case Pulse::Gauss: {
            double s = (x - 0.5) / 0.17;
            return std::exp(-0.5 * s * s) - std::exp(-0.5 * (0.5 / 0.17) * (0.5 / 0.17));
        }
        case Pulse::TwoHump: {
            // main hump over the first 60 %, a bounce of relative height asym after it
            if (x < 0.6) return std::sin(M_PI * x / 0.6);
            return p.asym * std::sin(M_PI * (x - 0.6) / 0.4);
        }
    }
    return 0;
}

// Noise-free head signal (velocity or acceleration), 1024 samples, blow starting at
// (pre + subShift) samples. `lengthScale` lengthens the pile (toe visibility twin);
// `skip` leaves out one defect (defect visibility twin).
std::vector<double> simulate(const Pile& p, double lengthScale = 1.0, int skip = -1) {
    const int nOut = 1024;
    const double L = p.L * lengthScale;
    const double c = p.c;
    const double rho = 2400;
    const double A0 = M_PI * p.D * p.D / 4;
    const double Z0 = rho * c * A0;
    const double dxTarget = 0.04;
    // cells of about dxTarget; explicit viscous (Kelvin-Voigt) term: the highest mode
    // needs omega dt <= 2 (sqrt(1 + z^2) - z), z = c kv / dx
    int N = std::max(20, static_cast<int>(std::lround(L / dxTarget)));
    double dx = L / N;
    const double z = c * p.kv / dx;
    const double cfl = 0.95 * (std::sqrt(1 + z * z) - z);
    int sub = static_cast<int>(std::ceil(p.dt * c / (cfl * dx)));
    double dts = p.dt / sub;
    // per cell impedance ratio
    std::vector<double> r(N, 1.0);
    for (int d = 0; d < static_cast<int>(p.defects.size()); ++d) {
        if (d == skip) continue;
        Defect df = p.defects[d];
        if (df.kind == Kind::EnlargedBase && lengthScale != 1.0) {
            // stays where it was: becomes a bulge in the longer pile
        }
        for (int i = 0; i < N; ++i) {
            double xc = (i + 0.5) * dx;
            double a = df.top, b = df.top + df.extent;
            // overlap fraction for thin layers (breaks thinner than a cell)
            double lo = std::max(a, i * dx), hi = std::min(b, (i + 1) * dx);
            double f = std::max(0.0, hi - lo) / dx;
            (void)xc;
            if (f <= 0) continue;
            // series stiffness / mass average within the cell would mix; use the cell
            // impedance as the compliance-weighted average, so thin breaks act as a gap
            double zr = 1.0 / ((1 - f) / r[i] + f / df.beta);
            r[i] = zr;
        }
    }
    // masses and springs
    std::vector<double> m(N), k(N - 1), eta(N - 1), cs(N), ks(N);
    for (int i = 0; i < N; ++i) {
        double Z = Z0 * r[i];
        m[i] = Z / c * dx;
        double depth = (i + 0.5) * dx;
        double cper = depth < p.layerDepth ? p.cs1 : p.cs2;
        double kper = depth < p.layerDepth ? p.ks1 : p.ks2;
        cs[i] = cper * dx;
        ks[i] = kper * dx;
    }
    for (int i = 0; i < N - 1; ++i) {
        double k1 = Z0 * r[i] * c / dx, k2 = Z0 * r[i + 1] * c / dx;
        k[i] = 2 * k1 * k2 / (k1 + k2);  // two half cells in series
        eta[i] = k[i] * p.kv;
    }
    std::vector<double> u(N, 0), v(N, 0), f(N, 0);
    const double t0 = (p.pre + p.subShift) * p.dt;
    const int steps = nOut * sub + 2;
    std::vector<double> head(steps + 1, 0);
    for (int n = 0; n <= steps; ++n) {
        double t = n * dts;
        head[n] = v[0];
        if (n == steps) break;
        std::fill(f.begin(), f.end(), 0.0);
        f[0] += pulseForce(p, t + 0.5 * dts - t0) * 1e3;  // 1 kN peak
        for (int i = 0; i < N - 1; ++i) {
            double Nf = k[i] * (u[i] - u[i + 1]) + eta[i] * (v[i] - v[i + 1]);
            f[i] -= Nf;
            f[i + 1] += Nf;
        }
        for (int i = 0; i < N; ++i) f[i] -= ks[i] * u[i];
        f[N - 1] -= p.toeK * u[N - 1];
        for (int i = 0; i < N; ++i) {
            double cd = cs[i] + (i == N - 1 ? p.toeC : 0.0);
            // dashpot implicit (trapezoid) for unconditional stability of the damping
            double a = dts * cd / (2 * m[i]);
            v[i] = (v[i] * (1 - a) + dts * f[i] / m[i]) / (1 + a);
            u[i] += dts * v[i];
        }
    }
    std::vector<double> out(nOut);
    for (int j = 0; j < nOut; ++j) {
        if (!p.accel) {
            out[j] = head[j * sub];
        } else {
            int a = std::max(0, j * sub - 1), b = j * sub + 1;
            out[j] = (head[b] - head[a]) / ((b - a) * dts);
        }
    }
    return out;
}

Pile randomPile(Rng& g, int no) {
    Pile p;
    p.no = no;
    p.L = std::round(g.u(6, 40) * 10) / 10;
    p.c = std::round(g.u(3200, 4400) / 10) * 10;
    p.D = std::round(g.u(0.6, 1.2) * 20) / 20;
    const double dts[] = {20e-6, 25e-6, 40e-6, 50e-6};
    // keep the toe echo inside the record: 2L/c + margin < 1024 dt
    std::vector<double> ok;
    for (double d : dts)
        if ((2 * p.L / p.c) * 1.35 + 100 * d < 1024 * d) ok.push_back(d);
    if (ok.empty()) ok.push_back(50e-6);
    p.dt = ok[g.i(0, static_cast<int>(ok.size()) - 1)];
    p.accel = g.u() < 0.5;
    p.pre = g.i(30, 60);
    p.subShift = g.u();
    const double A0 = M_PI * p.D * p.D / 4, Z0 = 2400 * p.c * A0;
    // shaft: round-trip attenuation a of the toe echo: exp(-cs L / Z) = 1 - a
    p.shaftAtten = g.u(0.1, 0.8);
    double csMean = -std::log(1 - p.shaftAtten) * Z0 / p.L;
    if (g.u() < 0.5) {
        p.layerDepth = g.u(0.2, 0.8) * p.L;
        double share = g.u(0.2, 0.8);  // part of the damping in the upper layer
        p.cs1 = csMean * p.L * share / p.layerDepth;
        p.cs2 = csMean * p.L * (1 - share) / (p.L - p.layerDepth);
    } else {
        p.layerDepth = p.L;
        p.cs1 = p.cs2 = csMean;
    }
    p.ks1 = std::exp(g.u(std::log(2e6), std::log(8e7)));
    p.ks2 = std::exp(g.u(std::log(2e6), std::log(8e7)));
    double toeR = g.u();
    if (toeR < 0.55) {
        p.toeKind = "soft";
        p.toeC = g.u(0.0, 0.5) * Z0;
        p.toeK = std::exp(g.u(std::log(1e7), std::log(3e8)));
    } else if (toeR < 0.8) {
        p.toeKind = "medium";
        p.toeC = g.u(0.5, 1.6) * Z0;
        p.toeK = std::exp(g.u(std::log(1e8), std::log(1e9)));
    } else {
        p.toeKind = "rock";
        p.toeC = g.u(2.5, 10) * Z0;
        p.toeK = std::exp(g.u(std::log(2e9), std::log(2e10)));
    }
    p.kv = g.u() < 0.5 ? 0.0 : g.u(0.3e-6, 2.5e-6);
    p.pulse = static_cast<Pulse>(g.i(0, 4));
    p.T = g.u(0.6e-3, 2.0e-3);
    p.asym = p.pulse == Pulse::Triangle ? g.u(0.15, 0.6) : g.u(0.2, 0.5);
    p.noise = g.u(0.005, 0.04);
    p.drift = g.u(0.0, 2.0) * p.noise;
    p.hum = g.u() < 0.35 ? g.u(0.3, 1.0) * p.noise : 0.0;
    p.gain = std::exp(g.u(std::log(0.2), std::log(20)));
    // defects
    double kr = g.u();
    auto place = [&](Kind kind) {
        Defect d;
        d.kind = kind;
        switch (kind) {
            case Kind::Necking:
                d.beta = g.u(0.4, 0.85);
                d.extent = g.u(0.3, 1.5);
                break;
            case Kind::Bulging:
                d.beta = g.u(1.2, 2.2);
                d.extent = g.u(0.3, 1.5);
                break;
            case Kind::Soft:
                d.beta = g.u(0.5, 0.85);
                d.extent = g.u(0.3, 1.5);
                break;
            case Kind::Break:
                d.beta = g.u(0.02, 0.2);
                d.extent = g.u(0.05, 0.2);
                break;
            case Kind::EnlargedBase:
                d.beta = g.u(1.3, 2.2);
                d.extent = g.u(0.5, 1.5);
                break;
        }
        if (kind == Kind::EnlargedBase)
            d.top = p.L - d.extent;
        else
            d.top = std::round(g.u(0.15, 0.7) * p.L * 10) / 10;
        return d;
    };
    if (kr >= 0.3) {
        Kind kind = kr < 0.5    ? Kind::Necking
                    : kr < 0.65 ? Kind::Bulging
                    : kr < 0.8  ? Kind::Soft
                    : kr < 0.9  ? Kind::Break
                                : Kind::EnlargedBase;
        p.defects.push_back(place(kind));
        if (kind != Kind::Break && g.u() < 0.2) {
            Kind k2 = g.u() < 0.5 ? Kind::Necking : Kind::Bulging;
            for (int tries = 0; tries < 20; ++tries) {
                Defect d2 = place(k2);
                bool clash = false;
                for (const Defect& d : p.defects)
                    if (d2.top < d.top + d.extent + 1.5 && d.top < d2.top + d2.extent + 1.5)
                        clash = true;
                if (d2.top + d2.extent > p.L - 1.0) clash = true;
                if (!clash) {
                    p.defects.push_back(d2);
                    break;
                }
            }
        }
        std::sort(p.defects.begin(), p.defects.end(),
                  [](const Defect& a, const Defect& b) { return a.top < b.top; });
    }
    return p;
}

int truthClass(const Pile& p) {
    double mb = 1.0;
    for (const Defect& d : p.defects) {
        if (d.kind == Kind::Break) mb = std::min(mb, 0.5);
        if (d.beta < 1.0) mb = std::min(mb, d.beta);
    }
    return mb >= 0.9 ? 1 : mb >= 0.8 ? 2 : mb >= 0.6 ? 3 : 4;
}

double echoOf(const std::vector<double>& a, const std::vector<double>& b, int from, int span) {
    double m = 0;
    for (int i = std::max(0, from); i < std::min<int>(a.size(), from + span); ++i)
        m = std::max(m, std::fabs(a[i] - b[i]));
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    int piles = 200;
    std::uint64_t seed = 1;
    std::string out = "indepsim-out";
    double noiseScale = 1.0;  // --noise-scale 0 for noise-free checks
    double driftScale = 1.0;  // --drift-scale 0: no drift nor hum
    bool intactOnly = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--piles" && i + 1 < argc)
            piles = std::atoi(argv[++i]);
        else if (a == "--seed" && i + 1 < argc)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--out" && i + 1 < argc)
            out = argv[++i];
        else if (a == "--noise-scale" && i + 1 < argc)
            noiseScale = std::atof(argv[++i]);
        else if (a == "--drift-scale" && i + 1 < argc)
            driftScale = std::atof(argv[++i]);
        else if (a == "--intact")
            intactOnly = true;
        else {
            std::fprintf(stderr,
                         "usage: indepsim --piles N --seed S --out DIR [--noise-scale X] "
                         "[--drift-scale X] [--intact]\n");
            return 1;
        }
    }
    std::filesystem::create_directories(out);
    FILE* truth = std::fopen((out + "/truth.jsonl").c_str(), "w");
    if (!truth) return 2;
    Rng g(seed);
    for (int n = 1; n <= piles; ++n) {
        Pile p = randomPile(g, n);
        if (intactOnly) p.defects.clear();
        p.noise *= noiseScale;
        p.drift *= noiseScale * driftScale;
        p.hum *= noiseScale * driftScale;
        Rng ng(seed * 1000003ull + n);
        std::vector<double> clean = simulate(p);
        for (double& x : clean) x *= p.gain;
        double peak = 0;
        for (double x : clean) peak = std::max(peak, std::fabs(x));
        const double sigma = p.noise * peak;
        // noise: white + low-frequency drift (two slow sinusoids) + optional 50 Hz hum
        std::vector<double> sig = clean;
        double f1 = ng.u(1, 8), f2 = ng.u(8, 25), ph1 = ng.u(0, 6.283), ph2 = ng.u(0, 6.283),
               ph3 = ng.u(0, 6.283);
        for (int i = 0; i < static_cast<int>(sig.size()); ++i) {
            double t = i * p.dt;
            sig[i] += sigma * ng.gauss();
            sig[i] +=
                p.drift * peak *
                (0.7 * std::sin(2 * M_PI * f1 * t + ph1) + 0.3 * std::sin(2 * M_PI * f2 * t + ph2));
            sig[i] += p.hum * peak * std::sin(2 * M_PI * 50 * t + ph3);
        }
        // visibility from noise-free twins
        const int pulse = static_cast<int>(std::ceil(p.T / p.dt)) + 4;
        const double blow = p.pre + p.subShift;
        std::vector<double> longer = simulate(p, 1.5);
        for (double& x : longer) x *= p.gain;
        int toeIdx = static_cast<int>(std::floor(blow + 2 * p.L / p.c / p.dt));
        bool toeVisible = echoOf(clean, longer, toeIdx, 2 * pulse) > 4 * sigma;
        std::vector<bool> dv;
        for (int d = 0; d < static_cast<int>(p.defects.size()); ++d) {
            std::vector<double> w = simulate(p, 1.0, d);
            for (double& x : w) x *= p.gain;
            int idx = static_cast<int>(std::floor(blow + 2 * p.defects[d].top / p.c / p.dt));
            dv.push_back(echoOf(clean, w, idx, 2 * pulse) > 4 * sigma);
        }
        char name[64];
        std::snprintf(name, sizeof name, "%s/pile_%03d.csv", out.c_str(), n);
        FILE* f = std::fopen(name, "w");
        if (!f) return 2;
        std::fprintf(f, "time_us,%d\n", n);
        for (int i = 0; i < static_cast<int>(sig.size()); ++i)
            std::fprintf(f, "%.3f,%.6g\n", i * p.dt * 1e6, sig[i]);
        std::fclose(f);
        std::fprintf(truth,
                     "{\"pile\":%d,\"length\":%.3f,\"speed\":%.1f,\"diameter\":%.3f,\"dt_us\":%.1f,"
                     "\"sensor\":\"%s\",\"blow_sample\":%.4f,\"toe_time\":%.7f,\"toe_visible\":%s,"
                     "\"class\":%d,\"pulse\":\"%s\",\"pulse_ms\":%.3f,\"pulse_asym\":%.3f,"
                     "\"shaft_atten\":%.3f,\"two_layers\":%s,\"toe_soil\":\"%s\",\"kv_us\":%.2f,"
                     "\"noise\":%.4f,\"drift\":%.4f,\"hum\":%.4f,\"gain\":%.4g,\"defects\":[",
                     n, p.L, p.c, p.D, p.dt * 1e6, p.accel ? "acceleration" : "velocity", blow,
                     2 * p.L / p.c, toeVisible ? "true" : "false", truthClass(p),
                     pulseName(p.pulse), p.T * 1e3, p.asym, p.shaftAtten,
                     p.layerDepth < p.L ? "true" : "false", p.toeKind.c_str(), p.kv * 1e6, p.noise,
                     p.drift, p.hum, p.gain);
        for (std::size_t d = 0; d < p.defects.size(); ++d)
            std::fprintf(truth,
                         "%s{\"kind\":\"%s\",\"top\":%.3f,\"extent\":%.3f,\"beta\":%.4f,"
                         "\"visible\":%s}",
                         d ? "," : "", kindName(p.defects[d].kind), p.defects[d].top,
                         p.defects[d].extent, p.defects[d].beta, dv[d] ? "true" : "false");
        std::fprintf(truth, "]}\n");
    }
    std::fclose(truth);
    return 0;
}
