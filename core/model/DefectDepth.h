#pragma once
// A defect is drawn at its sample and stored with its depth, and a file places it
// again from that depth, the head, the wave speed and the sample interval. Whenever one
// of these three changes, every defect's depth follows its drawn position, so that a
// saved point reopens as it was drawn. CSondaraDoc::commitChange applies the rule to
// every change it records; the list engine to the fields it exchanges.
#include "core/model/TestPoint.h"

namespace sondara {

// Metres below the pile head of sample `sample` (span: `sample` is a length, not a
// position). A wave travels down and back, so one sample spans dt * v / 2 metres.
double DepthBelowHead(const TestPoint& p, int sample, bool span);

// Whether the head, the wave speed or the sample interval differ.
bool DepthBasisDiffers(const TestPoint& a, const TestPoint& b);
// Every defect's depth from its position.
void RederiveDefectDepths(TestPoint& p);

}  // namespace sondara
