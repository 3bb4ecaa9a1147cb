#include "core/interpret/Interpretation.h"

#include <Eigen/QR>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <set>
#include <span>
#include <thread>
#include <unsupported/Eigen/LevenbergMarquardt>

#include "core/base/FixedText.h"
#include "core/base/TrNoop.h"
#include "core/interpret/PileModel.h"
#include "core/interpret/Readings.h"
#include "core/interpret/Verdict.h"
#include "core/model/NameLists.h"
#include "core/model/SondaraDoc.h"
#include "core/processing/Positions.h"

namespace sondara {

namespace {

using interp::classOf;
using interp::Conditioned;
using interp::kAlternativeMargin;
using interp::kClearBreak;
using interp::kMinBlowToNoise;
using interp::ModelChange;
using interp::ModelParams;
using interp::PileModel;
using interp::samplesIn;

constexpr int kMaxChanges = 3;
// A narrowing whose echo comes back within this many blow widths may be the blow's own
// tail or bounce: the class it sets is not clear.
constexpr double kNearHeadWidths = 2.0;
// Changes this close to 1 (|1 - beta|) are not told from the noise of the fit.
constexpr double kMinListedChange = 0.06;
// A toe this far (as a fraction) from where the entered length and speed put it is
// beyond the spread of a site's wave speeds: the length is remarked on.
constexpr double kLengthSpread = 0.08;
// Evaluations per parameter when a reading is refitted from a neighbouring one.
constexpr int kRefitEvaluations = 10;
// What each reading stands for, as the alternatives list them.
const char* const kLabelToeAtEcho = SONDARA_TR_NOOP("sondara", "桩底按反射");
const char* const kLabelToeAtLength = SONDARA_TR_NOOP("sondara", "桩底按桩长");
const char* const kLabelWithoutChange = SONDARA_TR_NOOP("sondara", "少一处变化");
const char* const kLabelNoChange = SONDARA_TR_NOOP("sondara", "无阻抗变化");
const char* const kLabelShortPile = SONDARA_TR_NOOP("sondara", "短桩");
// The toe scans step by an eighth of the blow's width, at most this many steps over the
// allowed range (counted steps: the scan never adds a time step that a fine sample
// interval could make vanish against the range).
constexpr int kToeScanSteps = 120;
// Wave speeds of concrete and steel piles lie well within this (m/s): outside it the
// entered speed is a slip and no depth may follow from it.
constexpr int kMinWaveSpeed = 1000;
constexpr int kMaxWaveSpeed = 6500;
// Pile lengths that can be entered and tested by sonic echo (m).
constexpr double kMinPileLength = 0.5;
constexpr double kMaxPileLength = 1000.0;
constexpr int kMaxCells = 128;
constexpr int kMinCells = 40;
// A change longer than a quarter of the pile is the soil's doing (its resistance grows
// or fades along the shaft), not a change of the pile's section.
const double kMaxExtentLog = std::log(0.25 / 0.05);
// No cast pile widens to three times its impedance (1.7 times its diameter): a fit that
// wants more is standing in for a stiff toe.
const double kMaxWideningLog = std::log(3.0);

// The parameters of one fit as the solver sees them (all of order one).
struct Layout {
    bool drift = false;
    int changes = 0;
    int base() const { return drift ? 8 : 6; }
    int size() const { return base() + 3 * changes; }
};

// Thrown from inside a fit when the caller cancels; the point is then left out.
struct Cancelled {};

struct Problem {
    const Conditioned* c = nullptr;
    const std::atomic<bool>* cancel = nullptr;
    PileModel* model = nullptr;
    double toe0 = 0.0;  // s, the scale of the toe time parameter
    int window = 0;     // samples fitted from the blow's start on
    Layout layout;
    double toeLo = 0.3, toeHi = 3.0;      // bounds of the toe time / toe0
    double minTop = 0.0, maxTop = 0.995;  // where a change may begin (fractions of the toe time)
    mutable std::vector<double> buffer;
    // An accelerometer's integrated drift bends the velocity slowly: the part of the
    // misfit along a parabola and a cubic (orthonormal, at right angles to the offset
    // and slope the parameters carry) is left out, so that no long, mild change is
    // fitted to stand in for it.
    Eigen::MatrixXd bend;  // window x 2, empty for velocity traces

    void prepareBend() {
        Eigen::MatrixXd basis(window, 4);
        for (int i = 0; i < window; ++i) {
            const double t = 2.0 * i / std::max(1, window - 1) - 1.0;
            basis.row(i) << 1.0, t, t * t, t * t * t;
        }
        // The last two columns of the orthonormal basis: at right angles to 1 and t.
        const Eigen::MatrixXd q = Eigen::HouseholderQR<Eigen::MatrixXd>(basis).householderQ() *
                                  Eigen::MatrixXd::Identity(window, 4);
        bend = q.rightCols(2);
    }
    // Takes the bend out of `r` (a misfit over the window).
    void removeBend(Eigen::Ref<Eigen::VectorXd> r) const {
        if (bend.size()) r -= bend * (bend.transpose() * r);
    }

    ModelParams paramsOf(const Eigen::VectorXd& x) const {
        ModelParams p;
        p.amplitude = x[0];
        p.toeTime = std::clamp(x[1], toeLo, toeHi) * toe0;
        p.shaftDamping = std::exp(std::clamp(x[2], -8.0, 3.5));
        p.shaftStiffness = std::exp(std::clamp(x[3], -8.0, 3.5));
        p.toeDamping = std::exp(std::clamp(x[4], -8.0, 4.0));
        p.toeStiffness = std::exp(std::clamp(x[5], -8.0, 6.0));
        for (int k = 0; k < layout.changes; ++k) {
            int o = layout.base() + 3 * k;
            ModelChange ch;
            ch.top = std::clamp(x[o], minTop, maxTop);
            ch.extent = std::clamp(0.05 * std::exp(std::clamp(x[o + 1], -6.0, kMaxExtentLog)),
                                   0.001, 1.0 - ch.top);
            ch.ratio = std::exp(std::clamp(x[o + 2], -4.0, kMaxWideningLog));
            p.changes.push_back(ch);
        }
        return p;
    }

    // Model head velocity over the window, in units of the blow's peak.
    void modelOf(const Eigen::VectorXd& x, std::span<double> out, bool toeReflects = true) const {
        ModelParams p = paramsOf(x);
        p.toeReflects = toeReflects;
        model->run(p, out);
        const double inv = 1.0 / c->peak;
        for (int i = 0; i < window; ++i) {
            double d = 0.0;
            if (layout.drift) d = x[6] + x[7] * static_cast<double>(i) / window;
            out[i] = out[i] * inv + d;
        }
    }

    void residuals(const Eigen::VectorXd& x, Eigen::VectorXd& r) const {
        // Every run of the model passes here: a cancel stops the point within one run.
        if (cancel && cancel->load(std::memory_order_relaxed)) throw Cancelled{};
        buffer.resize(window);
        modelOf(x, buffer);
        const double inv = 1.0 / c->peak;
        const int kb = c->blowStart;
        for (int i = 0; i < window; ++i) r[i] = buffer[i] - c->velocity[kb + i] * inv;
        removeBend(r);
    }
};

struct Functor : Eigen::DenseFunctor<double> {
    const Problem* problem;
    mutable Eigen::VectorXd work;
    Functor(const Problem& p) : DenseFunctor(p.layout.size(), p.window), problem(&p) {}
    int operator()(const InputType& x, ValueType& f) const {
        problem->residuals(x, f);
        return 0;
    }
    // Forward differences with steps suited to the single-precision model.
    int df(const InputType& x, JacobianType& jac) const {
        ValueType f0(values()), f1(values());
        problem->residuals(x, f0);
        InputType y = x;
        for (int j = 0; j < inputs(); ++j) {
            double h = 2e-3;
            y[j] = x[j] + h;
            problem->residuals(y, f1);
            jac.col(j) = (f1 - f0) / h;
            y[j] = x[j];
        }
        return 0;
    }
};

double rss(const Problem& pr, const Eigen::VectorXd& x) {
    Eigen::VectorXd r(pr.window);
    pr.residuals(x, r);
    return r.squaredNorm();
}

double fitLm(const Problem& pr, Eigen::VectorXd& x, int maxfev) {
    Functor f(pr);
    Eigen::LevenbergMarquardt<Functor> lm(f);
    lm.setMaxfev(maxfev);
    lm.setXtol(1e-5);
    lm.setFtol(1e-6);
    lm.minimize(x);
    // The tops as the model used them: a top pushed past its bound would otherwise be
    // read back elsewhere once the bounds change.
    for (int k = 0; k < pr.layout.changes; ++k) {
        const int o = pr.layout.base() + 3 * k;
        x[o] = std::clamp(x[o], pr.minTop, pr.maxTop);
    }
    return rss(pr, x);
}

// Amplitude of the echo that begins at each sample of `r`, matched to the pulse.
std::vector<double> matched(const std::vector<double>& r, const std::vector<double>& pulse) {
    double e = 0.0;
    for (double p : pulse) e += p * p;
    std::vector<double> out(r.size(), 0.0);
    if (e <= 0.0) return out;
    for (std::size_t k = 0; k < r.size(); ++k) {
        double s = 0.0;
        for (std::size_t i = 0; i < pulse.size() && k + i < r.size(); ++i) s += r[k + i] * pulse[i];
        out[k] = s / e;
    }
    return out;
}

// Cells a trace needs: about one cell per sample of travel time, within bounds.
int cellsFor(double toe, double dt) {
    return std::clamp(static_cast<int>(std::lround(toe / dt)), kMinCells, kMaxCells);
}

struct FitOutcome {
    Eigen::VectorXd x;
    Layout layout;
    double rss = 0.0;
};

// One reading of the trace: a fit and what it stands for.
struct Reading {
    FitOutcome fit;
    const char* label = "";
};

// A reading as the engineer would see it, with its standing among the others.
struct View {
    PointInterpretation r;  // toe, listed changes, class, residual, fitted, profile
    Reading reading;
    double fitToe = 0.0;       // the model's one-way toe travel time (s)
    double minBeta = 1.0;      // the smallest listed narrowing
    bool breakShows = false;   // a short, clear break whose echo stands above the noise
    bool strained = false;     // a change at the bound the fit allows (stands in for another thing)
    bool nearToe = false;      // a narrowing where the toe may lie (the toe or a base's end)
    double unexplained = 0.0;  // largest narrowing-like echo the reading leaves (of the blow)
    bool decisiveThin = false;      // the narrowing that sets the class is thinner than the blow
    bool decisiveNearHead = false;  // ... or echoes while the blow's own tail may

    double ic = 0.0;       // information criterion (lower is better)
    bool possible = true;  // physics and practice allow it
};

// The fit `f` without the changes listed in `gone` (indices into its changes).
FitOutcome withoutChanges(const FitOutcome& f, const std::vector<int>& gone) {
    FitOutcome g;
    g.layout = f.layout;
    g.layout.changes = f.layout.changes - static_cast<int>(gone.size());
    g.x.resize(g.layout.size());
    g.x.head(f.layout.base()) = f.x.head(f.layout.base());
    int o = f.layout.base();
    for (int j = 0; j < f.layout.changes; ++j) {
        if (std::find(gone.begin(), gone.end(), j) != gone.end()) continue;
        g.x.segment(o, 3) = f.x.segment(f.layout.base() + 3 * j, 3);
        o += 3;
    }
    g.rss = std::numeric_limits<double>::infinity();
    return g;
}

// Two readings that give the engineer the same answer: class, toe within half a blow,
// the same changes.
bool sameAnswer(const PointInterpretation& a, const PointInterpretation& b, int pulseWidth) {
    if (a.integrityClass != b.integrityClass || a.defects.size() != b.defects.size() ||
        std::abs(a.toeIndex - b.toeIndex) > std::max(2, pulseWidth / 2))
        return false;
    for (std::size_t i = 0; i < a.defects.size(); ++i)
        if (a.defects[i].kind != b.defects[i].kind ||
            std::abs(a.defects[i].index - b.defects[i].index) > std::max(2, pulseWidth / 2))
            return false;
    return true;
}

PointInterpretation interpretTrace(const TestPoint& p, int pointIndex,
                                   const std::atomic<bool>* cancel) {
    PointInterpretation out;
    out.point = pointIndex;
    const std::vector<float>& rec = !p.rawSamples.empty() ? p.rawSamples : p.samples;
    if (p.sensorType < 0 || p.sensorType > 2) {
        // 0 acceleration, 1 velocity, 2 acceleration converted to velocity: any other
        // value leaves unknown what the samples measure.
        out.error = SONDARA_TR_NOOP("sondara", "传感器类型未知");
        return out;
    }
    const bool acc = p.sensorType == 0;
    Conditioned c = interp::conditionTrace(rec, p.sampleInterval, acc);
    if (!c.error.empty()) {
        out.error = c.error;
        return out;
    }
    const int n = static_cast<int>(c.velocity.size());
    const int kb = c.blowStart;
    const double dt = c.dt;
    out.headIndex = c.blowPeak;
    if (acc) {
        // The head mark sits on the first peak of the recorded acceleration.
        int k = kb;
        for (int i = kb; i <= c.blowPeak; ++i)
            if (c.sign * (rec[i] - c.offset) > c.sign * (rec[k] - c.offset)) k = i;
        out.headIndex = k;
    }
    const int W = c.pulseWidth;
    const int after = n - 1 - kb;
    if (after < 3 * W + 8) {
        out.error = SONDARA_TR_NOOP("sondara", "锤击后的波形太短");
        return out;
    }

    // ---- the toe's starting travel time ---------------------------------------
    // A speed or a length no pile has is not used at all: the toe is then sought over
    // the whole trace, its time reported without a depth, and the point stays uncertain.
    const bool speedOk = p.waveSpeed >= kMinWaveSpeed && p.waveSpeed <= kMaxWaveSpeed;
    const bool lengthOk = std::isfinite(p.pileLength) && p.pileLength >= kMinPileLength &&
                          p.pileLength < kMaxPileLength;
    const double speed = speedOk ? static_cast<double>(p.waveSpeed) : 0.0;
    const double length = lengthOk ? static_cast<double>(p.pileLength) : 0.0;
    const double tMax = 0.5 * (after - 1.5 * W) * dt;  // toe echo still on the trace
    const double tMin = 0.5 * W * dt;
    if (tMax <= tMin) {
        out.error = SONDARA_TR_NOOP("sondara", "锤击后的波形太短");
        return out;
    }
    double lo = tMin, hi = tMax;
    if (speed > 0 && length > 0) {
        double t0 = length / speed;
        if (t0 > tMin && t0 < tMax) {
            // The entered length and speed place the toe within the spread of a site's
            // wave speeds; a strong echo well above it is a change of the pile, not its toe.
            lo = std::max(tMin, 0.85 * t0);
            hi = std::min(tMax, 1.15 * t0);
        }
    }
    const int window = std::min(after, samplesIn(2.0 * hi, dt, after) + 2 * W + 8);
    const double toe0 = 0.5 * (lo + hi);
    const int scanSteps = static_cast<int>(
        std::ceil(std::clamp((hi - lo) / (0.125 * W * dt), 1.0, double(kToeScanSteps))));
    const int cells = cellsFor(toe0, dt);
    PileModel model(c.pulse, dt, cells, window, lo);
    std::vector<double> blowVelocity;
    {
        // The head follows the measured velocity while the hammer pushes: contact ends
        // when the force would pull, not before the blow's peak, at the latest four
        // pulse lengths on.
        const int pulseLen = static_cast<int>(c.pulse.size());
        const int latest = std::min(window - 1, 2 * pulseLen + 4);
        blowVelocity.assign(c.velocity.begin() + kb,
                            c.velocity.begin() + kb + std::max(2, latest + 1));
        model.imposeBlow(blowVelocity, c.blowPeak - kb + 1, latest);
    }

    Problem pr;
    pr.c = &c;
    pr.cancel = cancel;
    pr.model = &model;
    pr.toe0 = toe0;
    pr.window = window;
    pr.layout.drift = acc;
    if (acc) pr.prepareBend();
    pr.toeLo = lo / toe0;
    pr.toeHi = hi / toe0;

    // Soil of the starting model: chosen from a coarse grid below (stiff soil damps the
    // trace so strongly that a fit from a soft start ends in a false minimum).
    double soil[4] = {std::log(1.0), std::log(0.5), std::log(0.3), std::log(1.0)};
    auto baseStart = [&](double toe) {
        Eigen::VectorXd x = Eigen::VectorXd::Zero(pr.layout.size());
        x[0] = 1.0;
        x[1] = toe / toe0;
        for (int i = 0; i < 4; ++i) x[2 + i] = soil[i];
        return x;
    };
    // Misfit with the amplitude (and for integrated acceleration an offset and a slope)
    // solved by linear least squares; the solution is put into x. The toe's echo is
    // solved with them: the model with an absorbing toe plus a multiple of the echo of
    // a free toe (positive: a toe softer than the pile, negative: a stiff toe); the
    // toe's dashpot of the start follows from that multiple.
    std::vector<double> work(window), freeToe(window);
    auto linearMisfit = [&](Eigen::VectorXd& x) {
        Eigen::VectorXd y0 = x;
        y0[0] = 1.0;
        if (acc) y0[6] = y0[7] = 0.0;
        pr.modelOf(y0, work, false);
        y0[4] = -8.0;
        y0[5] = -8.0;
        pr.modelOf(y0, freeToe);
        const int cols = acc ? 6 : 2;
        Eigen::MatrixXd a(window, cols);
        Eigen::VectorXd y(window);
        for (int i = 0; i < window; ++i) {
            a(i, 0) = work[i];
            a(i, 1) = freeToe[i] - work[i];
            if (acc) {
                a(i, 2) = 1.0;
                a(i, 3) = static_cast<double>(i) / window;
                a(i, 4) = pr.bend(i, 0);
                a(i, 5) = pr.bend(i, 1);
            }
            y[i] = c.velocity[kb + i] / c.peak;
        }
        Eigen::VectorXd coef = a.colPivHouseholderQr().solve(y);
        double r = (a * coef - y).squaredNorm();
        if (!std::isfinite(r) || !(coef[0] > 0)) return std::numeric_limits<double>::infinity();
        x[0] = coef[0];
        const double refl = std::clamp(coef[1] / coef[0], -0.95, 0.95);
        x[4] = std::log(std::clamp((1.0 - refl) / (1.0 + refl), 1e-3, 40.0));
        x[5] = -8.0;
        if (acc) {
            x[6] = coef[2];
            x[7] = coef[3];
        }
        return r;
    };
    // The soil from a grid of shaft dashpots and springs, each judged by the best of
    // three toe times (the toe is not known yet).
    auto chooseSoil = [&](const std::vector<double>& damping,
                          const std::vector<double>& stiffness) {
        double bestSoil = std::numeric_limits<double>::infinity();
        double bestGrid[2] = {soil[0], soil[1]};
        for (double d : damping)
            for (double k : stiffness) {
                soil[0] = std::log(d);
                soil[1] = std::log(k);
                double best = std::numeric_limits<double>::infinity();
                for (double f : {0.85, 1.0, 1.15}) {
                    Eigen::VectorXd x = baseStart(std::clamp(f * toe0, lo, hi));
                    best = std::min(best, linearMisfit(x));
                }
                if (best < bestSoil) {
                    bestSoil = best;
                    bestGrid[0] = soil[0];
                    bestGrid[1] = soil[1];
                }
            }
        soil[0] = bestGrid[0];
        soil[1] = bestGrid[1];
    };
    chooseSoil({0.1, 0.4, 1.5, 5.0, 15.0}, {0.05, 0.5, 3.0, 15.0});
    // The contact's end as the chosen soil gives it, then fixed: an end that moved with
    // the parameters would make the fit jump, and a contact held on while an echo comes
    // back would swallow the echo.
    int endLong = 0, endShort = 0;
    {
        Eigen::VectorXd x = baseStart(toe0);
        linearMisfit(x);
        endLong = model.contactEnd();
        // Most hammers' force rises and falls in about the same time: a contact that
        // seems to last much longer than twice the rise may hold an echo. Blows that fall
        // slowly or bounce exist too, so the longer contact is fitted as well and the
        // trace after it decides.
        endShort = std::min(endLong, static_cast<int>(std::lround(2.2 * (c.blowPeak - kb))) + 2);
    }
    const double soilCoarse[2] = {soil[0], soil[1]};
    const double noise = c.noise / c.peak;  // relative echo noise
    const double nWin = window;
    const double independentShare = 2.0 / std::max(2, W);
    auto bic = [&](double r, int params) {
        return nWin * std::log(std::max(r, 1e-30) / nWin) + params * std::log(nWin);
    };
    // The readings each contact's fit weighed (toe at the echo, toe at the entered
    // length), kept for the comparison of readings below.
    std::vector<Reading> weighed;
    auto fitWithContact = [&](int end) -> FitOutcome {
        weighed.clear();
        soil[0] = soilCoarse[0];
        soil[1] = soilCoarse[1];
        model.imposeBlow(blowVelocity, end, end);
        // Once more, finer, around the first choice, with the contact fixed.
        {
            const double d0 = std::exp(soil[0]), k0 = std::exp(soil[1]);
            std::vector<double> ds, ks;
            for (double f : {0.3, 0.5, 0.7, 1.0, 1.4, 2.0, 3.0}) {
                ds.push_back(d0 * f);
                ks.push_back(k0 * f);
            }
            ks.push_back(0.01);
            chooseSoil(ds, ks);
        }

        // Scan the toe time with the amplitude, the toe's echo (and drift) solved linearly.
        std::vector<std::pair<double, double>> scan;  // toe time, misfit
        {
            for (int s = 0; s <= scanSteps; ++s) {
                const double toe = lo + (hi - lo) * s / scanSteps;
                Eigen::VectorXd x = baseStart(toe);
                double r = linearMisfit(x);
                if (!std::isfinite(r)) continue;
                scan.push_back({toe, r});
            }
        }
        if (scan.empty()) {
            FitOutcome none;
            none.rss = std::numeric_limits<double>::infinity();
            return none;
        }
        // The three deepest minima of the scan (a multiple or a soil echo can fit nearly as
        // well as the toe), each fitted; the best fit wins.
        std::vector<double> starts;
        {
            std::vector<std::size_t> minima;
            for (std::size_t i = 0; i < scan.size(); ++i) {
                bool left = i == 0 || scan[i].second <= scan[i - 1].second;
                bool right = i + 1 == scan.size() || scan[i].second <= scan[i + 1].second;
                if (left && right) minima.push_back(i);
            }
            std::sort(minima.begin(), minima.end(), [&](std::size_t a, std::size_t b) {
                return scan[a].second < scan[b].second;
            });
            for (std::size_t i : minima) {
                bool apart = true;
                for (double t : starts)
                    apart = apart && std::fabs(t - scan[i].first) > 0.5 * W * dt;
                if (apart) starts.push_back(scan[i].first);
                if (starts.size() == 3) break;
            }
        }
        // Each start twice: a toe that acts as a dashpot (soft soil) and one that acts as a
        // spring (stiff soil or rock, whose echo turns negative and comes late); a fit from
        // one rarely reaches the other.
        auto baseFit = [&](const std::vector<double>& toes) {
            FitOutcome out;
            out.rss = std::numeric_limits<double>::infinity();
            for (double toe : toes)
                for (int toeKind = 0; toeKind < 2; ++toeKind) {
                    FitOutcome f;
                    f.layout = Layout{acc, 0};
                    pr.layout = f.layout;
                    f.x = baseStart(toe);
                    linearMisfit(f.x);
                    if (toeKind == 0) {
                        f.x[5] = std::log(0.3);
                    } else {
                        f.x[4] = std::log(0.5);
                        f.x[5] = std::log(10.0);
                    }
                    f.rss = fitLm(pr, f.x, 25 * (f.layout.size() + 1));
                    if (f.rss < out.rss) out = f;
                }
            return out;
        };
        FitOutcome best = baseFit(starts);

        // ---- impedance changes, one at a time, kept while the information criterion
        //      and the noise agree ---------------------------------------------------
        auto addChanges = [&] {
            for (int m = best.layout.changes + 1; m <= kMaxChanges; ++m) {
                Eigen::VectorXd r(window);
                pr.layout = best.layout;
                pr.residuals(best.x, r);
                std::vector<double> res(window);
                for (int i = 0; i < window; ++i) res[i] = -r[i];
                std::vector<double> pulseRel(model.pulse());
                for (double& v : pulseRel) v /= c.peak;
                std::vector<double> mf = matched(res, pulseRel);
                const double toe = pr.paramsOf(best.x).toeTime;
                // A change must begin a pulse width after the blow and one before the toe
                // echo: closer, its echo merges with the blow or the toe's.
                const int first = std::max(1, W);
                const int last = std::min(window - 1, static_cast<int>(2.0 * toe / dt) - W);
                if (last <= first + 1) break;
                pr.minTop = 0.5 * first * dt / toe;
                pr.maxTop = 0.5 * last * dt / toe;
                int kBest = -1;
                for (int k = first; k < last; ++k)
                    if (kBest < 0 || std::fabs(mf[k]) > std::fabs(mf[kBest])) kBest = k;
                if (kBest < 0) break;
                double a = mf[kBest];
                if (std::fabs(a) < std::max(3.0 * noise, 0.01)) break;
                double beta0 = std::clamp((2.0 - a) / (2.0 + a), 0.05, 3.0);
                double top = 0.5 * kBest * dt / toe;
                // The end of the change: the first echo of the other sign that follows.
                double extent = 0.75 * W * dt / toe;
                for (int k = kBest + std::max(2, W / 2); k < last; ++k) {
                    if (mf[k] * a < 0 && std::fabs(mf[k]) > 0.4 * std::fabs(a) &&
                        std::fabs(mf[k]) >= std::fabs(mf[k - 1]) &&
                        std::fabs(mf[k]) >= std::fabs(mf[k + 1])) {
                        extent = 0.5 * (k - kBest) * dt / toe;
                        break;
                    }
                }
                // Two starts for the extent: the echo of the change's end, and a short change.
                FitOutcome trial;
                trial.rss = INFINITY;
                const double shortExtent = 0.75 * W * dt / toe;
                // A third for an echo of a widening's sign: the end of a narrowing whose top
                // echo came back while the hammer still pushed (and so went into the force).
                const double earliest = 0.5 * first * dt / toe;
                for (int start = 0; start < 3; ++start) {
                    double ext = start == 0 ? extent : shortExtent;
                    double startTop = top, startBeta = beta0;
                    if (start == 1 && std::fabs(extent - shortExtent) < 1e-9) continue;
                    if (start == 2) {
                        if (a >= 0 || top - earliest < 0.25 * W * dt / toe) continue;
                        // The narrowing's top: the echo of the blow's sign before this one (a thin
                        // soft layer echoes as a short rise then a fall), else as early as may be.
                        const int from =
                            std::max(first / 2, kBest - static_cast<int>(0.5 * toe / dt));
                        int kPos = -1;
                        for (int k = from; k <= kBest - std::max(1, W / 4); ++k)
                            if (mf[k] > 0 && (kPos < 0 || mf[k] > mf[kPos])) kPos = k;
                        if (kPos >= 0 && mf[kPos] > 0.25 * std::fabs(a)) {
                            startTop = 0.5 * kPos * dt / toe;
                            startBeta = std::clamp((2.0 - mf[kPos]) / (2.0 + mf[kPos]), 0.05, 0.98);
                        } else {
                            startTop = std::max(earliest, top - 0.25);
                            startBeta = 1.0 / beta0;
                        }
                        ext = top - startTop;
                    }
                    FitOutcome t;
                    t.layout = best.layout;
                    t.layout.changes = m;
                    t.x = Eigen::VectorXd::Zero(t.layout.size());
                    t.x.head(best.layout.size()) = best.x;
                    int o = t.layout.base() + 3 * (m - 1);
                    t.x[o] = startTop;
                    t.x[o + 1] = std::log(std::max(ext, 0.002) / 0.05);
                    t.x[o + 2] = std::log(startBeta);
                    pr.layout = t.layout;
                    t.rss = fitLm(pr, t.x, 20 * (t.layout.size() + 1));
                    if (t.rss < trial.rss) trial = t;
                }
                pr.layout = trial.layout;
                ModelParams tp = pr.paramsOf(trial.x);
                const ModelChange& added = tp.changes.back();
                // The echo a change gives at the head; a layer thinner than the blow's half
                // width gives less.
                const double trialToe = tp.toeTime;
                double echo = 2.0 * std::fabs(1.0 - added.ratio) / (1.0 + added.ratio) *
                              std::min(1.0, 2.0 * added.extent * trialToe / (W * dt));
                // A narrowing whose echo comes back within a pulse width and a half of the
                // toe's merges with the toe echo: a softer toe or a toe a little deeper
                // explains it as well, and a sound pile must not be failed for it.
                const double lastEcho =
                    2.0 * trialToe / dt - (added.ratio < 1.0 ? 1.5 * W : static_cast<double>(W));
                const bool placed = 2.0 * added.top * trialToe / dt >= 0.5 * W &&
                                    2.0 * added.top * trialToe / dt <= lastEcho;
                bool better =
                    bic(trial.rss, trial.layout.size()) < bic(best.rss, best.layout.size()) &&
                    trial.rss < 0.95 * best.rss;
                bool visible = placed && echo > std::max(4.0 * noise, 0.015) &&
                               std::fabs(1.0 - added.ratio) > 0.06;
                if (!better || !visible) break;
                best = trial;
            }
        };
        auto refine = [&] {
            addChanges();

            // The toe once more, now that the changes explain their own echoes (without them a
            // change's echo can pull the toe); the changes keep their depths in time.
            {
                pr.layout = best.layout;
                pr.minTop = 0.0;
                pr.maxTop = 0.995;
                const ModelParams bp = pr.paramsOf(best.x);
                double bestToe = bp.toeTime;
                double bestR = std::numeric_limits<double>::infinity();
                Eigen::VectorXd bestX;
                for (int s = 0; s <= scanSteps; ++s) {
                    const double toe = lo + (hi - lo) * s / scanSteps;
                    Eigen::VectorXd x = best.x;
                    x[1] = toe / toe0;
                    bool inside = true;
                    for (int k = 0; k < best.layout.changes; ++k) {
                        const int o = best.layout.base() + 3 * k;
                        const double top = bp.changes[k].top * bp.toeTime / toe;
                        const double ext = bp.changes[k].extent * bp.toeTime / toe;
                        // Every change keeps its echo a pulse width before the toe's.
                        inside = inside && top + ext < 0.99 &&
                                 2.0 * top * toe / dt <= 2.0 * toe / dt - W;
                        x[o] = top;
                        x[o + 1] = std::log(std::max(ext, 0.002) / 0.05);
                    }
                    if (!inside) continue;
                    const double r = linearMisfit(x);
                    if (r < bestR) {
                        bestR = r;
                        bestX = x;
                        bestToe = toe;
                    }
                }
                if (bestX.size() && std::fabs(bestX[1] - best.x[1]) * toe0 > 0.25 * W * dt) {
                    FitOutcome t;
                    t.layout = best.layout;
                    t.x = bestX;
                    pr.maxTop = std::max(0.5, 1.0 - 0.5 * W * dt / bestToe);
                    t.rss = fitLm(pr, t.x, 20 * (t.layout.size() + 1));
                    if (t.rss < best.rss) {
                        best = t;
                        addChanges();
                    }
                }
            }
        };
        refine();
        // The toe where the entered length puts it, as a second hypothesis: an enlarged
        // base or a stiff layer just above the toe can pass for the toe, and the fit from
        // there keeps it unless the changes above the real toe explain the trace better.
        if (speed > 0 && length > 0) {
            const double t0 = std::clamp(length / speed, lo, hi);
            pr.layout = best.layout;
            if (std::fabs(pr.paramsOf(best.x).toeTime - t0) > 0.05 * W * dt) {
                FitOutcome first = best;
                best = baseFit({t0});
                refine();
                weighed.push_back({first, kLabelToeAtEcho});
                weighed.push_back({best, kLabelToeAtLength});
                if (bic(first.rss, first.layout.size()) <= bic(best.rss, best.layout.size()))
                    best = first;
                return best;
            }
        }
        weighed.push_back({best, kLabelToeAtEcho});
        return best;
    };

    FitOutcome best = fitWithContact(endShort);
    std::vector<Reading> readings = weighed;
    int contactEnd = endShort;
    if (endLong > endShort + std::max(2, W / 3)) {
        // Both contacts judged on the trace after the longer one, the longer counted as
        // a few parameters more (the hump or tail it takes over from the pile).
        auto tailRss = [&](const FitOutcome& f, int end) {
            if (!std::isfinite(f.rss)) return std::numeric_limits<double>::infinity();
            model.imposeBlow(blowVelocity, end, end);
            pr.layout = f.layout;
            Eigen::VectorXd r(window);
            pr.residuals(f.x, r);
            double sum = 0.0;
            for (int i = endLong; i < window; ++i) sum += r[i] * r[i];
            return sum;
        };
        FitOutcome longer = fitWithContact(endLong);
        const double rShort = tailRss(best, endShort);
        const double rLong = tailRss(longer, endLong);
        if (std::isfinite(rLong) &&
            bic(rLong, longer.layout.size() + 3) < bic(rShort, best.layout.size())) {
            best = longer;
            readings = weighed;
            contactEnd = endLong;
        }
    }
    if (!std::isfinite(best.rss)) {
        out.error = SONDARA_TR_NOOP("sondara", "判读失败");
        return out;
    }
    // ---- one reading as the engineer reads it: toe, listed changes, class, overlay ----
    auto depthAt = [&](int index) {
        // The depth the marks written at `index` will show (same rounding); none from a
        // speed no pile has.
        return speedOk ? DepthOfSample(p, index - out.headIndex, true)
                       : std::numeric_limits<double>::quiet_NaN();
    };
    auto indexAt = [&](double echoTime) {
        const double k = std::clamp(echoTime / dt, 0.0, static_cast<double>(n));
        return std::clamp(out.headIndex + static_cast<int>(std::lround(k)), 0, n - 1);
    };
    auto describe = [&](const FitOutcome& f) {
        View v;
        PointInterpretation& r = v.r;
        r.headIndex = out.headIndex;
        pr.layout = f.layout;
        pr.minTop = 0.0;
        pr.maxTop = 0.995;
        const ModelParams fp = pr.paramsOf(f.x);
        std::vector<double> fitV(window), noToe(window);
        pr.modelOf(f.x, fitV);
        pr.modelOf(f.x, noToe, false);
        if (acc) {
            // The drift's bend belongs to the trace's fit (the overlay and the residual).
            Eigen::VectorXd miss(window);
            for (int i = 0; i < window; ++i) miss[i] = c.velocity[kb + i] / c.peak - fitV[i];
            Eigen::VectorXd bent = miss;
            pr.removeBend(bent);
            for (int i = 0; i < window; ++i) {
                fitV[i] += miss[i] - bent[i];
                noToe[i] += miss[i] - bent[i];
            }
        }
        double rr = 0.0, yy = 0.0;
        for (int i = 0; i < window; ++i) {
            double y = c.velocity[kb + i] / c.peak;
            rr += (fitV[i] - y) * (fitV[i] - y);
            yy += y * y;
        }
        r.residual = yy > 0 ? std::sqrt(rr / yy) : 1.0;

        const double fitToe = fp.toeTime;
        v.fitToe = fitToe;
        double toeEcho = 0.0;
        {
            const int k0 = samplesIn(2.0 * fitToe, dt, window);
            for (int i = k0; i < std::min(window, k0 + 2 * W + 2); ++i)
                toeEcho = std::max(toeEcho, std::fabs(fitV[i] - noToe[i]));
        }
        const bool toeAtEdge = fitToe <= lo * 1.001 || fitToe >= hi * 0.999;
        r.toeFound = toeEcho > std::max(4.0 * noise, 0.03) && !toeAtEdge;
        // Without an echo to go by, the toe is proposed where the entered length and
        // speed put it (as an engineer marks it), and the point stays uncertain; the
        // fitted model keeps its own toe.
        const double toeTime = toeAtEdge && speed > 0 && length > 0 ? length / speed : fitToe;
        r.toeTime = 2.0 * toeTime;  // echo time after the blow
        r.toeIndex = indexAt(2.0 * toeTime);
        r.toeDepth = depthAt(r.toeIndex);

        // Changes, top to toe: one listed per place (overlapping changes keep the
        // stronger), none that hardly changes the section.
        std::vector<ModelChange> chs = fp.changes;
        std::sort(chs.begin(), chs.end(),
                  [](const ModelChange& a, const ModelChange& b) { return a.top < b.top; });
        std::vector<ModelChange> listed;
        for (const ModelChange& ch : chs) {
            if (std::fabs(1.0 - ch.ratio) <= kMinListedChange) continue;
            if (!listed.empty() && ch.top < listed.back().top + listed.back().extent) {
                if (std::fabs(std::log(ch.ratio)) > std::fabs(std::log(listed.back().ratio)))
                    listed.back() = ch;
                continue;
            }
            listed.push_back(ch);
        }
        const double cPoint = speedOk ? speed : std::numeric_limits<double>::quiet_NaN();
        for (const ModelChange& ch : listed) {
            v.strained = v.strained || ch.ratio > 0.98 * std::exp(kMaxWideningLog);
            v.nearToe = v.nearToe || (ch.ratio < 0.9 && ch.top * fitToe >= lo);
            ProposedDefect d;
            d.beta = ch.ratio;
            d.kind =
                ch.ratio < 1.0 ? ImpedanceChangeKind::Narrowing : ImpedanceChangeKind::Widening;
            d.index = indexAt(2.0 * ch.top * fitToe);
            d.depth = depthAt(d.index);
            d.extent = cPoint * ch.extent * fitToe;
            if (d.kind == ImpedanceChangeKind::Narrowing) {
                // Every listed change echoed above the noise when it was added; a break
                // stands in for the toe it hides only when it is short and clearly one.
                const double travel = 2.0 * ch.extent * fitToe / dt;  // samples
                v.breakShows = v.breakShows || (d.beta < kClearBreak && travel <= W);
                if (d.beta < v.minBeta) {
                    v.minBeta = d.beta;
                    v.decisiveThin = travel < 0.5 * W;
                    v.decisiveNearHead = 2.0 * ch.top * fitToe / dt < kNearHeadWidths * W;
                }
            }
            r.defects.push_back(d);
        }
        r.integrityClass = classOf(v.minBeta);
        {
            // The largest echo of a narrowing's sign that the reading leaves unexplained
            // between the blow and the toe (the misfit matched to the blow).
            Eigen::VectorXd miss(window);
            pr.residuals(f.x, miss);
            std::vector<double> res(window);
            for (int i = 0; i < window; ++i) res[i] = -miss[i];
            std::vector<double> pulseRel(model.pulse());
            for (double& y : pulseRel) y /= c.peak;
            const std::vector<double> mf = matched(res, pulseRel);
            const int last = std::min(window - 1, samplesIn(2.0 * fitToe, dt, window) - W);
            for (int k = W; k < last; ++k) v.unexplained = std::max(v.unexplained, mf[k]);
        }
        if (speedOk) {
            model.profileOf(fp);
            const std::vector<float>& z = model.impedance();
            const double cellDepth = speed * fitToe / z.size();
            for (std::size_t i = 0; i < z.size(); ++i) {
                double top = i * cellDepth, bottom = (i + 1) * cellDepth;
                if (!r.profile.empty() && std::fabs(r.profile.back().ratio - z[i]) < 1e-4)
                    r.profile.back().bottom = bottom;
                else
                    r.profile.push_back({top, bottom, z[i]});
            }
        }
        // The fitted trace in the recorded quantity and units.
        r.fitted.assign(n, 0.0f);
        std::vector<double> vel(n, 0.0);
        for (int i = 0; i < window; ++i) vel[kb + i] = fitV[i] * c.peak * c.sign;
        for (int i = kb + window; i < n; ++i) vel[i] = vel[kb + window - 1];
        for (int i = 0; i < n; ++i) {
            double y = vel[i];
            if (acc) y = (i > 0 ? vel[i] - vel[i - 1] : 0.0) / dt;  // back to acceleration
            r.fitted[i] = static_cast<float>(y + c.offset);
        }
        return v;
    };
    // Readings that physics or an engineer rules out.
    auto possible = [&](const FitOutcome& f) {
        pr.layout = f.layout;
        return interp::physicallyPossible(pr.paramsOf(f.x), lo, W * dt);
    };
    model.imposeBlow(blowVelocity, contactEnd, contactEnd);
    pr.minTop = 0.0;
    pr.maxTop = 0.995;

    // ---- more readings: the chosen one without each of its changes, and a short pile
    //      where a near-total break lies in the toe's range ----------------------------
    auto refit = [&](FitOutcome f) {
        pr.layout = f.layout;
        pr.minTop = 0.0;
        pr.maxTop = 0.995;
        f.rss = fitLm(pr, f.x, kRefitEvaluations * (f.layout.size() + 1));
        return f;
    };
    {
        pr.layout = best.layout;
        const ModelParams bp = pr.paramsOf(best.x);
        for (int k = 0; k < best.layout.changes; ++k)
            readings.push_back({refit(withoutChanges(best, {k})), kLabelWithoutChange});
        if (best.layout.changes > 1) {
            // The sound pile: always a reading physics allows.
            std::vector<int> every(best.layout.changes);
            for (int k = 0; k < best.layout.changes; ++k) every[k] = k;
            readings.push_back({refit(withoutChanges(best, every)), kLabelNoChange});
        }
        for (int k = 0; k < best.layout.changes; ++k) {
            const ModelChange& ch = bp.changes[k];
            const double atBreak = ch.top * bp.toeTime;
            if (ch.ratio >= interp::kBreakBeta || atBreak < lo) continue;
            // The toe at the break's top: the break and every change below it go.
            std::vector<int> gone;
            for (int j = 0; j < best.layout.changes; ++j)
                if (bp.changes[j].top >= ch.top) gone.push_back(j);
            FitOutcome f = withoutChanges(best, gone);
            f.x[1] = atBreak / toe0;
            for (int j = 0; j < f.layout.changes; ++j) {
                const int o = f.layout.base() + 3 * j;
                f.x[o] = std::clamp(f.x[o] * bp.toeTime / atBreak, 0.0, 0.99);
            }
            readings.push_back({refit(f), kLabelShortPile});
        }
    }

    // ---- each reading as the engineer would read it, the physically possible ones
    //      compared by the information criterion -------------------------------------
    std::vector<View> views;
    for (const Reading& rd : readings) {
        if (!std::isfinite(rd.fit.rss)) continue;
        View v = describe(rd.fit);
        v.reading = rd;
        v.ic = bic(rd.fit.rss, rd.fit.layout.size());
        v.possible = possible(rd.fit);
        v.r.alternatives.clear();
        views.push_back(std::move(v));
    }
    if (views.empty()) {
        out.error = SONDARA_TR_NOOP("sondara", "判读失败");
        return out;
    }
    std::stable_sort(views.begin(), views.end(), [](const View& a, const View& b) {
        if (a.possible != b.possible) return a.possible;
        return a.ic < b.ic;
    });
    // The same answer reached twice (two starts that met) counts once.
    std::vector<View> distinct;
    for (View& v : views) {
        bool seen = false;
        for (const View& d : distinct) seen = seen || sameAnswer(d.r, v.r, W);
        if (!seen) distinct.push_back(std::move(v));
    }
    const View& chosen = distinct.front();
    const bool allImpossible = !chosen.possible;
    double gapOtherClass = std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i < distinct.size(); ++i) {
        const View& v = distinct[i];
        if (!v.possible) continue;
        // The misfit of neighbouring samples is not independent (a misfit is an echo a
        // pulse wide): the criterion's difference counts one sample per half pulse.
        const double gap = std::max(0.0, v.ic - chosen.ic) * independentShare;
        if (v.r.integrityClass != chosen.r.integrityClass)
            gapOtherClass = std::min(gapOtherClass, gap);
        if (gap > kAlternativeMargin) continue;
        InterpretationAlternative a;
        a.integrityClass = v.r.integrityClass;
        a.toeFound = v.r.toeFound;
        a.toeTime = v.r.toeTime;
        a.toeIndex = v.r.toeIndex;
        a.toeDepth = v.r.toeDepth;
        a.defects = v.r.defects;
        a.evidenceGap = gap;
        a.label = v.reading.label;
        a.fitted = v.r.fitted;
        out.alternatives.push_back(std::move(a));
    }

    // ---- the verdict ------------------------------------------------------------
    const PointInterpretation& r = chosen.r;
    out.toeFound = r.toeFound;
    out.toeTime = r.toeTime;
    out.toeIndex = r.toeIndex;
    out.toeDepth = r.toeDepth;
    out.defects = r.defects;
    out.integrityClass = r.integrityClass;
    out.residual = r.residual;
    out.fitted = r.fitted;
    out.profile = r.profile;
    out.evidenceGap = gapOtherClass;
    if (speedOk && lengthOk && r.toeFound) {
        const double ratio = chosen.fitToe * speed / length;
        if (ratio < 1.0 - kLengthSpread)
            out.lengthRemark = SONDARA_TR_NOOP("sondara", "桩长短于设计");
        else if (ratio > 1.0 + kLengthSpread)
            out.lengthRemark = SONDARA_TR_NOOP("sondara", "桩长长于设计");
    }
    interp::Evidence e;
    e.noiseOnly = c.blowToNoise < kMinBlowToNoise;
    e.clipped = c.clipped;
    e.speedOrLengthBad = !speedOk || !lengthOk;
    e.toeFound = r.toeFound;
    e.breakShows = chosen.breakShows;
    e.allImpossible = allImpossible;
    e.gapOtherClass = gapOtherClass;
    e.nearToe = chosen.nearToe;
    e.minBeta = chosen.minBeta;
    e.decisiveThin = chosen.decisiveThin;
    e.decisiveNearHead = chosen.decisiveNearHead;
    e.residual = r.residual;
    e.strained = chosen.strained;
    e.unexplained = chosen.unexplained;
    e.noise = noise;
    const char* reason = interp::uncertaintyOf(e);
    out.confidence = reason ? Confidence::Uncertain : Confidence::Clear;
    out.reason = reason ? reason : "";
    return out;
}

}  // namespace

const char* confidenceKey(Confidence c) {
    return c == Confidence::Clear ? "clear" : "uncertain";
}

const char* changeKindKey(ImpedanceChangeKind k) {
    return k == ImpedanceChangeKind::Narrowing ? "narrowing" : "widening";
}

namespace {
// One point; throws Cancelled when `cancel` is raised during its fit.
PointInterpretation interpretOne(const CSondaraDoc& doc, int point,
                                 const std::atomic<bool>* cancel) {
    if (!doc.validPoint(point)) {
        PointInterpretation r;
        r.point = point;
        r.error = SONDARA_TR_NOOP("sondara", "测点不存在");
        return r;
    }
    try {
        return interpretTrace(doc.points[point], point, cancel);
    } catch (const std::exception&) {
        PointInterpretation r;
        r.point = point;
        r.error = SONDARA_TR_NOOP("sondara", "判读失败");
        return r;
    }
}

}  // namespace

PointInterpretation interpretPoint(const CSondaraDoc& doc, int point) {
    return interpretOne(doc, point, nullptr);
}

std::vector<PointInterpretation> interpretPoints(const CSondaraDoc& doc,
                                                 const std::vector<int>& points,
                                                 const InterpretControl& control) {
    const int total = static_cast<int>(points.size());
    std::vector<PointInterpretation> rows(points.size());
    std::vector<char> done(points.size(), 0);
    std::atomic<int> next{0}, finished{0};
    auto cancelled = [&] { return control.cancel && control.cancel->load(); };
    auto worker = [&] {
        for (int i; !cancelled() && (i = next.fetch_add(1)) < total;) {
            try {
                rows[i] = interpretOne(doc, points[i], control.cancel);
            } catch (const Cancelled&) {
                break;  // stopped inside the point's fit: the point is left out
            }
            done[i] = 1;
            int f = finished.fetch_add(1) + 1;
            if (control.progress) control.progress(f, total);
        }
    };
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min<unsigned>(threads, std::max(1, total));
    std::vector<std::thread> pool;
    try {
        for (unsigned t = 1; t < threads; ++t) pool.emplace_back(worker);
    } catch (const std::system_error&) {
        // Fewer threads than hoped: the calling thread does the rest.
    }
    worker();
    for (std::thread& t : pool) t.join();
    std::vector<PointInterpretation> out;
    out.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (done[i]) out.push_back(std::move(rows[i]));
    return out;
}

SiteWaveSpeed siteWaveSpeed(const CSondaraDoc& doc,
                            const std::vector<PointInterpretation>& results) {
    SiteWaveSpeed s;
    std::vector<std::pair<int, double>> speeds;
    for (const PointInterpretation& r : results) {
        if (!r.error.empty() || !doc.validPoint(r.point) || r.integrityClass != 1 || !r.toeFound ||
            r.confidence != Confidence::Clear || !(r.toeTime > 0))
            continue;
        double len = doc.points[r.point].pileLength;
        if (!(std::isfinite(len) && len > 0)) continue;
        speeds.push_back({r.point, 2.0 * len / r.toeTime});
    }
    if (speeds.size() < 5) return s;
    double mean = 0;
    for (auto& e : speeds) mean += e.second;
    mean /= speeds.size();
    std::vector<std::pair<int, double>> kept;
    for (auto& e : speeds)
        if (std::fabs(e.second - mean) / mean <= 0.05) kept.push_back(e);
    std::set<std::string> piles;
    for (auto& e : kept) piles.insert(std::string(textOf(doc.points[e.first].pileNo)));
    if (kept.size() < 5 || piles.size() < 5) return s;
    double m2 = 0;
    for (auto& e : kept) {
        m2 += e.second;
        s.points.push_back(e.first);
    }
    s.speed = m2 / kept.size();
    s.found = true;
    return s;
}

int applyInterpretation(CSondaraDoc& doc, const std::vector<PointInterpretation>& rows) {
    std::vector<int> changed;
    const NameList& names = DefectNames();
    for (const PointInterpretation& r : rows) {
        if (!r.error.empty() || !doc.validPoint(r.point)) continue;
        TestPoint& p = doc.points[r.point];
        const int n = p.sampleCount();
        if (r.headIndex < 0 || r.headIndex >= n) continue;
        p.headIndex = static_cast<std::int16_t>(r.headIndex);
        p.headSetFlag = 1;
        // The fitted toe is written even when its echo is weak (a break hides it): the
        // defect marks need a toe below them, and the confidence tells the engineer.
        if (r.toeIndex > r.headIndex && r.toeIndex < n) {
            p.toeIndex = static_cast<std::int16_t>(r.toeIndex);
            p.toeSetFlag = 1;
        }
        p.defects.clear();
        for (const ProposedDefect& d : r.defects) {
            // Only changes that the class counts become marks (a narrowing of beta >= 0.9
            // would make the report lower a class-I pile).
            int kind;
            if (d.kind == ImpedanceChangeKind::Widening)
                kind = static_cast<int>(DefectKind::Bulging);
            else if (d.beta < 0.6)
                kind = static_cast<int>(DefectKind::Break);
            else if (d.beta < 0.9)
                kind = static_cast<int>(DefectKind::Necking);
            else
                continue;
            if (d.index <= p.headIndex || d.index >= p.toeIndex || d.index >= n) continue;
            bool close = false;
            for (const PileMark& m : p.defects) close = close || std::abs(m.position - d.index) < 3;
            if (close) continue;
            PileMark m{};
            m.position = d.index;
            m.kind = kind;
            setText(m.name, names.gbk[kind]);
            m.depth = static_cast<float>(d.depth);
            p.defects.push_back(m);
        }
        std::sort(p.defects.begin(), p.defects.end(),
                  [](const PileMark& a, const PileMark& b) { return a.position < b.position; });
        p.integrityClass = static_cast<std::uint8_t>(std::clamp(r.integrityClass, 1, 4));
        changed.push_back(r.point);
    }
    if (!changed.empty()) doc.commitChange(DocChange::Marks, changed);
    return static_cast<int>(changed.size());
}

}  // namespace sondara
