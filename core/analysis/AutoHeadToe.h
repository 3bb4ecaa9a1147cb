#pragma once
// Automatic pile head (the peak of the first long enough steep rise or fall above a
// threshold) and automatic pile toe (from the head, the pile length and the wave
// speed). Both place their mark through SetPileHead / SetPileToe, so every check,
// question and recomputation of those operations applies.
#include <span>

#include "core/analysis/PileMarks.h"
#include "core/app/SettingsFile.h"

namespace sondara {

class Prompter;

// The head the automatic search finds on `x`, or -1 when none: threshold
// T = startRatio % of `rangeMax`; a sample qualifies when it rises above +T
// (direction 1) or falls below -T (direction 0) from its predecessor; the head is
// the last sample of the first run of at least ignorePoints + 2 qualifying samples
// that is followed by a sample that does not qualify.
int FindAutoHead(std::span<const float> x, const AutoHeadSettings& settings, float rangeMax);

// 自动桩头 on one point: the search on its working samples with its display range
// maximum, then SetPileHead. Returns 1 when a head was placed.
int AutoPileHead(CSondaraDoc& doc, int point, const AutoHeadSettings& settings,
                 LengthFollowMode mode, bool interactive, Prompter& prompter);

// The toe 自动桩底 computes for `value` (a pile length in m for KeepSpeed, else a
// wave speed in m/s), clamped to the trace; -1 when the point's data give none
// (no positive sample interval, speed or value).
int AutoToeIndex(const TestPoint& p, double value, LengthFollowMode mode);

// 自动桩底 on one point: AutoToeIndex, then SetPileToe. Returns 1 when a toe was placed.
int AutoPileToe(CSondaraDoc& doc, int point, double value, LengthFollowMode mode, bool interactive,
                Prompter& prompter);

}  // namespace sondara
