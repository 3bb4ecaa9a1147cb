#pragma once
// Conversion between sample indices and metres below the pile head. A wave travels
// down and back, so one sample spans dt * v / 2 metres.
#include "core/model/SondaraDoc.h"

namespace sondara {

// Metres below the head of sample `s` (span: `s` is a length, not a position).
double DepthOfSample(const TestPoint& p, int sample, bool span);
// Sample index of `metres` below the head (span: a length in samples).
int SampleOfDepth(const TestPoint& p, double metres, bool span);

// Document forms: 0 for a point index outside the document.
double DepthOfSample(const CSondaraDoc& doc, int point, int sample, bool span);
int SampleOfDepth(const CSondaraDoc& doc, int point, double metres, bool span);

}  // namespace sondara
