// 自动调节 in the time and the frequency domain.
#include <gtest/gtest.h>

#include "core/display/DisplayStates.h"

namespace sondara {
namespace {

TEST(AutoAdjust, SpectrumKeepsZeroHertzAtTheLeftEdge) {
    ScaleGeometry g;
    g.plotWidth = 800;
    g.sampleCount = 512;
    g.head = 40;  // a time-domain sample index, meaningless in a spectrum
    g.toe = 355;
    g.sampleInterval = 20.0f;
    g.frequencyDomain = true;
    DisplayState s;
    s.xOffset = 123;  // moved by hand before
    ApplyDisplayCommand(s, DisplayCommand::AutoAdjust, g);
    EXPECT_EQ(s.xOffset, 0);
    EXPECT_EQ(s.hScaleMode, 2);
    EXPECT_FLOAT_EQ(s.hScale, static_cast<float>((1000.0 / 20.0) * 0.1));

    // the same trace in the time domain is aligned to its head
    g.frequencyDomain = false;
    g.sampleCount = 1024;
    DisplayState t;
    ApplyDisplayCommand(t, DisplayCommand::AutoAdjust, g);
    EXPECT_NE(t.xOffset, 0);
    EXPECT_EQ(t.hScaleMode, 0);
}

}  // namespace
}  // namespace sondara
