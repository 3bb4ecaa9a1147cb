// A defect is drawn at its sample and stored with its depth; reading a file places it
// from that depth, the head, the wave speed and the sample interval. Every way of
// changing one of those three keeps the depths in step, so that a saved document
// reopens with its defects where they were drawn.
#include <gtest/gtest.h>

#include <functional>

#include "core/analysis/PileMarks.h"
#include "core/base/Prompter.h"
#include "core/fileio/ProjectFile.h"
#include "core/model/ListCommands.h"
#include "core/model/ListEngine.h"
#include "core/processing/Positions.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

struct Route {
    const char* name;
    std::function<void(CSondaraDoc&)> change;
};

std::vector<int> positionsOf(const TestPoint& p) {
    std::vector<int> out;
    for (const PileMark& m : p.defects) out.push_back(m.position);
    return out;
}

TEST(DefectDepth, EveryRouteThatMovesTheHeadSpeedOrIntervalKeepsTheMarksWhereDrawn) {
    SilentPrompter yes(true);
    LengthFollowState follow;
    auto setField = [](auto field) {
        return [field](CSondaraDoc& d) {
            field(d.points[0]);
            d.commitChange(DocChange::Header, {0});
        };
    };
    auto listEdit = [](float interval) {
        return [interval](CSondaraDoc& d) {
            TestPoint c = d.points[0];
            c.sourceIndex = 0;
            c.sampleInterval = interval;
            ASSERT_TRUE(EditPointFields(d, {c}));
        };
    };
    const Route routes[] = {
        {"head command",
         [&](CSondaraDoc& d) {
             ASSERT_EQ(SetPileHead(d, 0, 60, LengthFollowMode::KeepLength, true, yes), 1);
         }},
        {"head dragged (no questions)",
         [&](CSondaraDoc& d) {
             ASSERT_EQ(SetPileHead(d, 0, 150, LengthFollowMode::KeepSpeed, false, yes), 1);
         }},
        {"toe recomputes the speed",
         [&](CSondaraDoc& d) {
             ASSERT_EQ(SetPileToe(d, 0, 480, LengthFollowMode::KeepLength, true, yes), 1);
         }},
        {"speed typed",
         [&](CSondaraDoc& d) { ASSERT_EQ(EditWaveSpeed(d, {0}, 3100, false, follow), 1); }},
        {"length typed recomputes the speed",
         [&](CSondaraDoc& d) { ASSERT_EQ(EditPileLength(d, {0}, 21.5, false, follow, yes), 1); }},
        {"interval changed by a command", setField([](TestPoint& p) { p.sampleInterval = 12.5f; })},
        {"head, speed and interval at once", setField([](TestPoint& p) {
             p.headIndex = 90;
             p.waveSpeed = 3333;
             p.sampleInterval = 25.0f;
         })},
        {"interval by a list edit", listEdit(31.0f)},
        {"list edit undone",
         [&](CSondaraDoc& d) {
             listEdit(31.0f)(d);
             ASSERT_TRUE(Undo(d));
         }},
        {"list edit redone",
         [&](CSondaraDoc& d) {
             listEdit(31.0f)(d);
             ASSERT_TRUE(Undo(d));
             ASSERT_TRUE(Redo(d));
         }},
        {"head command undone",
         [&](CSondaraDoc& d) {
             ASSERT_EQ(SetPileHead(d, 0, 60, LengthFollowMode::KeepLength, true, yes), 1);
             ASSERT_TRUE(d.undo());
         }},
        {"speed typed, undone and redone",
         [&](CSondaraDoc& d) {
             ASSERT_EQ(EditWaveSpeed(d, {0}, 2500, false, follow), 1);
             ASSERT_TRUE(d.undo());
             ASSERT_TRUE(d.redo());
         }},
    };
    for (const Route& r : routes) {
        SCOPED_TRACE(r.name);
        test::TempDir dir;
        // a document as opened from a file, with defects placed at their samples
        CSondaraDoc src = test::makeDoc({test::pilePoint(), test::pilePoint()});
        const std::string in = dir.file("in.qar");
        ASSERT_TRUE(WriteProject(src, in));
        CSondaraDoc d;
        ASSERT_EQ(ReadProject(d, in), "");
        for (int s : {200, 333, 470}) ASSERT_EQ(AddDefect(d, 0, s, 2, {}, {}, yes), 1);
        const TestPoint before = d.points[0];

        r.change(d);
        const TestPoint& p = d.points[0];
        ASSERT_EQ(positionsOf(p), positionsOf(before));
        for (const PileMark& m : p.defects)
            EXPECT_FLOAT_EQ(m.depth, static_cast<float>(DepthOfSample(p, m.position, false)));

        const std::string out = dir.file("out.qar");
        ASSERT_TRUE(WriteProject(d, out));
        CSondaraDoc back;
        ASSERT_EQ(ReadProject(back, out), "");
        EXPECT_EQ(positionsOf(back.points[0]), positionsOf(before));
        EXPECT_EQ(back.points[0].defects, p.defects);
    }
}

TEST(DefectDepth, AChangeThatLeavesHeadSpeedAndIntervalKeepsTheStoredDepths) {
    // a depth measured finer than a sample (an instrument's own) is not rounded to the
    // sample by an unrelated change
    test::TempDir dir;
    TestPoint p = test::pilePoint();
    PileMark m;
    m.position = 0;
    m.kind = 2;
    m.depth = 4.0123f;  // between samples 200 and 201
    p.defects.push_back(m);
    CSondaraDoc src = test::makeDoc({p});
    ASSERT_TRUE(WriteProject(src, dir.file("in.qar")));
    CSondaraDoc d;
    ASSERT_EQ(ReadProject(d, dir.file("in.qar")), "");
    ASSERT_EQ(d.points[0].defects[0].position, 200);
    d.points[0].pileLength = 17.0f;
    d.points[0].toeIndex = 520;
    d.commitChange(DocChange::Header, {0});
    EXPECT_EQ(d.points[0].defects[0].depth, 4.0123f);
    d.points[0].waveSpeed = 4100;
    d.commitChange(DocChange::Header, {0});
    EXPECT_FLOAT_EQ(d.points[0].defects[0].depth, DepthOfSample(d.points[0], 200, false));
}

}  // namespace
}  // namespace sondara
