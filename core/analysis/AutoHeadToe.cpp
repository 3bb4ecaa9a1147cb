#include "core/analysis/AutoHeadToe.h"

#include <cmath>

namespace sondara {

int FindAutoHead(std::span<const float> x, const AutoHeadSettings& settings, float rangeMax) {
    const int n = static_cast<int>(x.size());
    if (n < 2) return -1;
    const float t = static_cast<float>(settings.startRatio * 0.01 * rangeMax);
    auto qualifies = [&](int i) {
        if (settings.direction == 1) return x[i] > x[i - 1] && x[i] > t;
        if (settings.direction == 0) return x[i] < x[i - 1] && x[i] < -t;
        return false;
    };
    enum { Idle, InRun, LongEnough } state = Idle;
    long long count = 0;
    for (int i = 1; i < n; ++i) {
        if (!qualifies(i)) {
            // The run ended: its last sample is the peak.
            if (state == LongEnough) return i - 1;
            state = Idle;
            count = 0;
        } else if (state == Idle) {
            state = InRun;
            count = 0;
        } else if (state == InRun) {
            if (count >= settings.ignorePoints)
                state = LongEnough;
            else
                ++count;
        }
    }
    return -1;  // no run, or the run lasts to the end of the trace
}

int AutoPileHead(CSondaraDoc& doc, int point, const AutoHeadSettings& settings,
                 LengthFollowMode mode, bool interactive, Prompter& prompter) {
    if (!doc.validPoint(point)) return 0;
    const TestPoint& p = doc.points[point];
    int head = FindAutoHead(p.samples, settings, p.lastParams.rangeMax);
    if (head < 0) return 0;
    return SetPileHead(doc, point, head, mode, interactive, prompter);
}

int AutoToeIndex(const TestPoint& p, double value, LengthFollowMode mode) {
    const int n = p.sampleCount();
    const int h = (p.headIndex >= 0 && p.headIndex < n) ? p.headIndex : 0;
    const double dt = p.sampleInterval;
    if (!(dt > 0.0) || !std::isfinite(dt) || !std::isfinite(value)) return -1;
    double tau;  // one-way travel time, s
    if (mode == LengthFollowMode::KeepSpeed) {
        if (!(p.waveSpeed > 0)) return -1;
        tau = value / p.waveSpeed;
    } else {
        if (!(value > 0.0)) return -1;
        tau = p.pileLength / value;
    }
    double t = std::trunc(2.0 * tau * 1e6 / dt + h);
    if (!std::isfinite(t)) return -1;
    // Clamp in floating point first: the index may lie far outside any int.
    if (t <= h) t = h + 3;
    if (t >= n) t = n - 1;
    int toe = static_cast<int>(t);
    return (h < toe && toe < n) ? toe : -1;
}

int AutoPileToe(CSondaraDoc& doc, int point, double value, LengthFollowMode mode, bool interactive,
                Prompter& prompter) {
    if (!doc.validPoint(point)) return 0;
    int toe = AutoToeIndex(doc.points[point], value, mode);
    if (toe < 0) return 0;
    return SetPileToe(doc, point, toe, mode, interactive, prompter);
}

}  // namespace sondara
