#pragma once
// Simulated piles with their truth for the interpretation tests and the benchmark:
// which echoes stand above the noise, the impedance ratio of each defect, and the
// class a correct reading gives.
#include <cmath>
#include <string>
#include <vector>

#include "core/interpret/Interpretation.h"
#include "core/sim/SimProject.h"

namespace sondara::interpret_test {

// Z(defect) / Z(pile) of a simulated defect.
inline double betaOf(DefectKind kind, double s) {
    switch (kind) {
        case DefectKind::Necking:
            return (1 - s) * (1 - s);
        case DefectKind::Bulging:
        case DefectKind::EnlargedBase:
            return (1 + s) * (1 + s);
        case DefectKind::Crack:
        case DefectKind::Break:
        case DefectKind::SoilInclusion:
        case DefectKind::Segregation:
            return 1 - s;
        default:
            return 1.0;
    }
}

inline int truthClass(const PileSpec& spec) {
    double minBeta = 1.0;
    for (const DefectSpec& d : spec.defects) {
        double b = betaOf(d.kind, d.severity);
        if (b < 1.0) minBeta = std::min(minBeta, b);
        if (d.kind == DefectKind::Break) minBeta = std::min(minBeta, 0.5);
    }
    return minBeta >= 0.9 ? 1 : minBeta >= 0.8 ? 2 : minBeta >= 0.6 ? 3 : 4;
}

// Largest |difference| of two noise-free traces from sample `from` over `span` samples.
inline double echoOf(const std::vector<float>& a, const std::vector<float>& b, int from, int span) {
    double m = 0.0;
    for (int i = std::max(0, from); i < std::min<int>(a.size(), from + span); ++i)
        m = std::max(m, std::fabs(static_cast<double>(a[i]) - b[i]));
    return m;
}

struct PileCase {
    std::string name;
    PileSpec spec;
    SimulatedTrace trace;
    bool toeVisible = false;
    std::vector<bool> defectVisible;  // per truth defect (in truth order)
};

// Simulates the pile and decides from noise-free twins which echoes stand above the
// noise: the toe against a pile half as long again, each defect against the pile
// without it, both at four times the noise level.
inline PileCase makeCase(const std::string& name, const PileSpec& spec, std::uint64_t seed) {
    PileCase c;
    c.name = name;
    c.spec = spec;
    c.trace = simulatePile(spec, seed);
    PileSpec clean = spec;
    clean.noise = 0.0;
    clean.gain = c.trace.truth.gain;
    SimulatedTrace base = simulatePile(clean, seed);
    const double sigma = spec.noise * c.trace.truth.peakMv + 0.1;
    const int pulse = static_cast<int>(std::ceil(spec.hammerMs * 1000.0 / spec.sampleInterval)) + 4;
    PileSpec longer = clean;
    longer.length = spec.length * 1.5;
    for (DefectSpec& d : longer.defects) {
        if (d.kind != DefectKind::EnlargedBase) continue;
        d.kind = DefectKind::Bulging;  // stays where it was
        d.depth = spec.length - d.length;
    }
    SimulatedTrace l = simulatePile(longer, seed);
    c.toeVisible =
        l.ok() && echoOf(base.samples, l.samples, c.trace.truth.toeIndex, 2 * pulse) > 4 * sigma;
    for (const SimDefectTruth& t : c.trace.truth.defects) {
        PileSpec without = clean;
        without.defects.clear();
        for (const DefectSpec& d : clean.defects)
            if (!(d.kind == t.kind &&
                  std::fabs(
                      (d.kind == DefectKind::EnlargedBase ? spec.length - d.length : d.depth) -
                      t.depth) < 1e-9))
                without.defects.push_back(d);
        SimulatedTrace w = simulatePile(without, seed);
        c.defectVisible.push_back(w.ok() &&
                                  echoOf(base.samples, w.samples, t.index, 2 * pulse) > 4 * sigma);
    }
    return c;
}

// One document point holding the simulated trace, as the instrument delivers it.
inline void addPoint(CSondaraDoc& doc, const PileCase& c) {
    TestPoint p{};
    p.sensorType = static_cast<std::int16_t>(c.spec.sensorType);
    p.sampleInterval = static_cast<float>(c.spec.sampleInterval);
    p.pileLength = static_cast<float>(c.spec.length);
    p.waveSpeed = static_cast<std::int16_t>(c.spec.waveSpeed);
    p.pileDiameter = static_cast<std::int16_t>(c.spec.diameter);
    p.rawSamples = c.trace.samples;
    p.samples = c.trace.samples;
    p.recordedLength = static_cast<std::int16_t>(p.samples.size());
    std::string no = std::to_string(doc.points.size() + 1);
    for (std::size_t i = 0; i < no.size() && i < p.pileNo.size() - 1; ++i) p.pileNo[i] = no[i];
    doc.points.push_back(p);
}

// Accuracy of a set of readings against their truth.
struct Accuracy {
    int toeCases = 0, toeRight = 0;
    int changeCases = 0, changeRight = 0;
    int narrowFound = 0, betaRight = 0;
    int classCases = 0, classRight = 0;
    int intact = 0, intactFalse = 0;
    // The confidence: points read, called clear, clear with the right class, clear and
    // gravely wrong (I/II proposed IV, III/IV proposed I); sound piles proposed IV.
    int points = 0, clear = 0, clearRight = 0, clearGrave = 0;
    int sound = 0, soundIV = 0;
    void add(const PileCase& c, const PointInterpretation& r) {
        if (!r.error.empty()) return;
        const SimTruth& t = c.trace.truth;
        const int truth = truthClass(c.spec);
        ++points;
        if (r.confidence == Confidence::Clear) {
            ++clear;
            clearRight += r.integrityClass == truth;
            clearGrave +=
                (truth <= 2 && r.integrityClass == 4) || (truth >= 3 && r.integrityClass == 1);
        }
        if (truth == 1) {
            ++sound;
            soundIV += r.integrityClass == 4;
        }
        const double toeTruth = 2.0 * t.travelTime;
        const bool toeOk = std::fabs(r.toeTime - toeTruth) <= 0.03 * toeTruth;
        if (c.toeVisible) {
            ++toeCases;
            toeRight += toeOk;
        }
        const double tol = std::max(0.4, 0.05 * c.spec.length);
        bool allVisible = c.toeVisible;
        for (std::size_t i = 0; i < t.defects.size(); ++i) {
            const SimDefectTruth& d = t.defects[i];
            double beta = betaOf(d.kind, d.severity);
            if (!c.defectVisible[i]) {
                allVisible = false;
                continue;
            }
            ++changeCases;
            auto want = beta < 1 ? ImpedanceChangeKind::Narrowing : ImpedanceChangeKind::Widening;
            const ProposedDefect* hit = nullptr;
            for (const ProposedDefect& p : r.defects)
                if (p.kind == want && std::fabs(p.depth - d.depth) <= tol) hit = &p;
            if (!hit) continue;
            ++changeRight;
            if (want == ImpedanceChangeKind::Narrowing && d.kind != DefectKind::Crack) {
                ++narrowFound;
                betaRight += std::fabs(hit->beta - beta) <= 0.12;
            }
        }
        if (allVisible) {
            ++classCases;
            classRight += r.integrityClass == truthClass(c.spec);
        }
        if (c.spec.defects.empty()) {
            ++intact;
            for (const ProposedDefect& p : r.defects)
                if (p.kind == ImpedanceChangeKind::Narrowing && p.beta < 0.8) {
                    ++intactFalse;
                    break;
                }
        }
    }
    static double pct(int a, int b) { return b ? 100.0 * a / b : 100.0; }
    std::string text() const {
        char buf[700];
        std::snprintf(buf, sizeof buf,
                      "toe %d/%d (%.1f%%), changes %d/%d (%.1f%%), beta %d/%d (%.1f%%), class "
                      "%d/%d (%.1f%%), intact with beta<0.8 narrowing %d/%d (%.1f%%); clear "
                      "%d/%d (%.1f%%), right among clear %d/%d (%.1f%%), grave among clear %d, "
                      "sound proposed IV %d/%d (%.1f%%)",
                      toeRight, toeCases, pct(toeRight, toeCases), changeRight, changeCases,
                      pct(changeRight, changeCases), betaRight, narrowFound,
                      pct(betaRight, narrowFound), classRight, classCases,
                      pct(classRight, classCases), intactFalse, intact, pct(intactFalse, intact),
                      clear, points, pct(clear, points), clearRight, clear, pct(clearRight, clear),
                      clearGrave, soundIV, sound, pct(soundIV, sound));
        return buf;
    }
};

// A site of `piles` random piles from the project generator, both sensor types, with
// a defect of a random kind on most piles that the generator left intact.
inline std::vector<PileCase> randomSite(int piles, std::uint64_t seed) {
    ProjectSpec spec = randomProjectSpec(piles, 1, seed);
    SimRandom rng(seed * 7919 + 13);
    std::vector<PileCase> out;
    int i = 0;
    for (SimPileEntry& e : spec.piles) {
        PileSpec p = e.pile;
        p.sensorType = (i % 2);
        if (p.defects.empty() && rng.uniform() < 0.5) {
            DefectSpec d;
            d.kind = static_cast<DefectKind>(rng.integer(1, 6));
            d.length = std::max(0.05, defaultDefectLength(d.kind) * rng.uniform(0.7, 1.3));
            d.depth = std::round(rng.uniform(0.15, 0.7) * p.length * 10) / 10;
            d.severity = d.kind == DefectKind::Break   ? rng.uniform(0.9, 0.99)
                         : d.kind == DefectKind::Crack ? rng.uniform(0.6, 0.95)
                                                       : rng.uniform(0.15, 0.45);
            p.defects.push_back(d);
        }
        out.push_back(makeCase(e.pileNo, p, seed + i));
        ++i;
    }
    return out;
}

}  // namespace sondara::interpret_test
