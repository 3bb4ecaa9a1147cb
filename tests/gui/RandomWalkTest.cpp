// The random walk through the window: a bounded walk from the seed of the
// environment (SONDARA_WALK_SEED, SONDARA_WALK_STEPS; scripts/soak.sh runs it long),
// the seeds of the faults it found kept as fixed regressions, and the document checks
// it relies on.
#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "GuiFixture.h"
#include "RandomWalk.h"
#include "core/base/FixedText.h"
#include "support/Fixtures.h"

namespace sondara::gui {
namespace {

// Three piles, seven points: traces with head and toe, a defect, ticked points, a
// pile of one point, two speeds.
CSondaraDoc walkDocument() {
    std::vector<TestPoint> pts{pileTrace("P1", 3500, 20), pileTrace("P1", 3500, 25),
                               pileTrace("P1", 3600, 15), pileTrace("P2", 4000, 30),
                               pileTrace("P3", 3800, 10), pileTrace("P3", 3800, 12),
                               pileTrace("P3", 3900, 40)};
    pts[1].checked = 1;
    pts[4].checked = 1;
    PileMark m;
    m.position = 150;
    m.kind = 2;
    m.depth = 4.4f;  // 110 samples below the head at 4000 m/s and 20 us
    pts[3].defects.push_back(m);
    pts[5].spectrumMarks = {12, 40};
    return test::makeDoc(std::move(pts));
}

int envInt(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::atoi(v) : fallback;
}

struct RandomWalkFixture : GuiFixture {
    void SetUp() override {
        GuiFixture::SetUp();
        forgetDisplaySettings();
        ASSERT_NO_FATAL_FAILURE(open(walkDocument(), QSize(1100, 760)));
    }

    // Walks `steps` steps from `seed`; fails with the seed and the last steps.
    void walk(unsigned seed, int steps) {
        RandomWalk::Options o;
        o.seed = seed;
        o.steps = steps;
        o.folder = dir.path();
        RandomWalk w(*app, o);
        const auto start = std::chrono::steady_clock::now();
        const std::string failure = w.run();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf(
            "random walk: seed %u, %d steps, %d commands, %d dialogs answered, %d times "
            "undone to the start, %.1f s\n",
            seed, w.stepsRun(), w.commandsRun(), w.dialogsAnswered(), w.undoChecks(), seconds);
        EXPECT_EQ(failure, "");
        if (!failure.empty()) return;
        EXPECT_EQ(w.stepsRun(), steps);
        // the window is alive and the document whole at the end
        EXPECT_NE(app->frame(), nullptr);
        if (app->document()) {
            EXPECT_EQ(checkDocumentInvariants(doc()), "");
        }
    }
};

TEST_F(RandomWalkFixture, WalkFromTheEnvironmentSeed) {
    const unsigned seed = static_cast<unsigned>(envInt("SONDARA_WALK_SEED", 20261210));
    walk(seed, envInt("SONDARA_WALK_STEPS", 600));
}

// Found by the walk: a file saved after the head moved put a defect off the trace
// when it was opened again (step 1,283).
TEST_F(RandomWalkFixture, Seed5MarksStayOnTheTraceAfterReopening) {
    walk(5, 1300);
}

// Found by the walk (seed 2): 新建, then the saved-and-read-back check wrote an empty
// document that the reader refuses ("文件异常，测点数[0]不合理！"). Saving now refuses a
// document without points and writes nothing; the walk checks that for every empty
// document it meets at a save check (seed 2 usually meets several in 300 steps; the
// walk does not replay exactly, see docs/ROBUSTNESS.md).
TEST_F(RandomWalkFixture, Seed2AnEmptyDocumentIsNeverWritten) {
    walk(2, 300);
}

// The checks the walk relies on find each kind of broken document.
TEST(DocumentInvariants, FindEachKindOfFault) {
    auto good = [] {
        CSondaraDoc d = walkDocument();
        d.rebuildCheckedList();
        d.selectPoint(2);
        return d;
    };
    EXPECT_EQ(checkDocumentInvariants(good()), "");
    struct Case {
        const char* name;
        void (*spoil)(CSondaraDoc&);
        const char* expected;
    };
    const Case cases[] = {
        {"header count", [](CSondaraDoc& d) { d.info.pointCount = 3; }, "header point count"},
        {"stale checked list", [](CSondaraDoc& d) { d.points[0].checked = 1; }, "checked list"},
        {"checked index out", [](CSondaraDoc& d) { d.checkedList.push_back(7); }, "checked list"},
        {"current point out", [](CSondaraDoc& d) { d.currentPoint = 7; }, "current point 7"},
        {"pile out", [](CSondaraDoc& d) { d.currentPile = 3; }, "current pile 3"},
        {"member out", [](CSondaraDoc& d) { d.pileMembers.push_back(9); }, "pile member 9"},
        {"head after toe", [](CSondaraDoc& d) { d.points[1].headIndex = 300; }, "not after head"},
        {"head off trace", [](CSondaraDoc& d) { d.points[1].headIndex = -2; }, "off the trace"},
        {"defect off trace", [](CSondaraDoc& d) { d.points[3].defects[0].position = 512; },
         "defect at 512"},
        {"wavelet lists", [](CSondaraDoc& d) { d.points[0].waveletMarkPanes.push_back(1); },
         "wavelet mark lists"},
    };
    for (const Case& c : cases) {
        CSondaraDoc d = good();
        c.spoil(d);
        EXPECT_NE(checkDocumentInvariants(d).find(c.expected), std::string::npos)
            << c.name << ": " << checkDocumentInvariants(d);
    }
}

TEST(DocumentInvariants, SavedDocumentReadsBackEqual) {
    test::TempDir dir;
    CSondaraDoc d = walkDocument();
    EXPECT_EQ(checkSavedDocument(d, dir.path()), "");
    EXPECT_EQ(checkEmptyNotSaved(test::makeDoc({}), dir.path()), "");
}

}  // namespace
}  // namespace sondara::gui
