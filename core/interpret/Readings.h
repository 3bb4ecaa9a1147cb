#pragma once
// The readings of a trace that physics or an engineer rules out, whatever the evidence
// for them.
#include "core/interpret/PileModel.h"

namespace sondara::interp {

// A near-total break: so little of the wave passes that nothing below it echoes.
constexpr double kNearTotalBreak = 0.3;
// Below this a narrowing is a break (class IV).
constexpr double kBreakBeta = 0.6;

// Whether the fitted pile `q` is a reading to weigh: no break where the toe may lie
// (one-way travel time at or beyond `toeRangeStart`, s: it is the toe or an enlarged
// base's end), no near-total break longer than the blow (`blowTime`, s, the blow's width
// above half its peak), and no narrowing starting at the lower end of a widening (within
// three quarters of the blow's width: that end echoes like a narrowing's top).
bool physicallyPossible(const ModelParams& q, double toeRangeStart, double blowTime);

}  // namespace sondara::interp
