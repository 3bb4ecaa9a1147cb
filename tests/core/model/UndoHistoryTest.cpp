// The document's one undo history: every kind of change undone and redone to the
// exact bytes of the saved document.
#include <gtest/gtest.h>

#include <functional>

#include "core/analysis/PileMarks.h"
#include "core/base/Prompter.h"
#include "core/fileio/ProjectFile.h"
#include "core/model/ListCommands.h"
#include "core/model/ListEngine.h"
#include "core/processing/ProcessingChain.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using test::process;

struct Loaded {
    test::TempDir dir;
    CSondaraDoc doc;
    std::string bytes() {
        const std::string p = dir.file("out.qar");
        EXPECT_TRUE(WriteProject(doc, p));
        return test::readFile(p);
    }
};

// A document as the program has it after opening a file: three points in two piles.
void load(Loaded& l, int n = 1024) {
    std::vector<TestPoint> pts = {test::pilePoint(), test::pilePoint(), test::pilePoint()};
    setText(pts[1].pileNo, "P2");
    setText(pts[2].pileNo, "P2");
    for (int i = 0; i < 3; ++i) {
        pts[i].rawSamples.resize(n);
        pts[i].samples.resize(n);
        pts[i].recordedLength = static_cast<std::int16_t>(n);
    }
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < n; ++k) pts[i].rawSamples[k] = pts[i].samples[k] = float(k % (7 + i));
    const std::string p = l.dir.file("in.qar");
    CSondaraDoc src = test::makeDoc(pts);
    ASSERT_TRUE(WriteProject(src, p));
    ASSERT_EQ(ReadProject(l.doc, p), "");
}

struct ChangeCase {
    const char* name;
    std::function<bool(CSondaraDoc&)> change;
};

TEST(UndoHistory, EveryKindOfChangeIsUndoneAndRedoneToTheSavedBytes) {
    SilentPrompter silent(true);
    const ChangeCase cases[] = {
        {"processing step",
         [](CSondaraDoc& d) {
             return process(d, {0, 2}, ProcessKind::Reverse);
         }},
        {"processing step deleted in the middle",
         [](CSondaraDoc& d) {
             // two steps, then the first deleted: one group of the history
             CSondaraDoc::UndoGroup g(d, "test");
             process(d, {0}, ProcessKind::Reverse);
             process(d, {0}, ProcessKind::RemoveDc);
             return process(d, {0}, ProcessKind::None, ChainEdit::Delete, 0);
         }},
        {"pile head",
         [&](CSondaraDoc& d) {
             return SetPileHead(d, 1, 120, LengthFollowMode::KeepSpeed, false, silent) != 0;
         }},
        {"defect", [&](CSondaraDoc& d) { return AddDefect(d, 0, 300, 1, "", "", silent) != 0; }},
        {"integrity class", [](CSondaraDoc& d) { return SetIntegrityClass(d, 2, "II类桩") != 0; }},
        {"header edit",
         [](CSondaraDoc& d) {
             ProjectInfo h = d.info;
             setText(h.projectName, "new");
             return EditHeader(d, h);
         }},
        {"tick", [](CSondaraDoc& d) { return SetPointTick(d, 1, true); }},
        {"delete pile",
         [](CSondaraDoc& d) {
             d.selectPile(1);
             return DeleteSelection(d);
         }},
        {"sort", [](CSondaraDoc& d) { return SortList(d, false); }},
        {"a batch over several points",
         [](CSondaraDoc& d) {
             DocChangeBatch batch(d);
             for (int i = 0; i < 3; ++i) {
                 d.points[i].waveSpeed = static_cast<std::int16_t>(3000 + i);
                 d.commitChange(DocChange::Marks, {i});
             }
             return true;
         }},
        {"display state of every point",
         [](CSondaraDoc& d) {
             for (TestPoint& p : d.points) p.lastParams.kind = 99;
             d.commitChange(DocChange::Display);
             return true;
         }},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Loaded l;
        ASSERT_NO_FATAL_FAILURE(load(l));
        // an earlier change stays below the one tested
        ASSERT_TRUE(process(l.doc, {1}, ProcessKind::Amplify));
        const std::string before = l.bytes();
        const std::size_t steps = l.doc.undoSteps().size();
        ASSERT_TRUE(c.change(l.doc));
        const std::string after = l.bytes();
        ASSERT_NE(before, after);
        EXPECT_EQ(l.doc.undoSteps().size(), steps + 1) << "one step per change";
        ASSERT_TRUE(Undo(l.doc));
        EXPECT_EQ(l.bytes(), before);
        ASSERT_TRUE(Redo(l.doc));
        EXPECT_EQ(l.bytes(), after);
        ASSERT_TRUE(Undo(l.doc));
        ASSERT_TRUE(Undo(l.doc));  // and the earlier one
        EXPECT_FALSE(Undo(l.doc));
        ASSERT_TRUE(Redo(l.doc));
        EXPECT_EQ(l.bytes(), before);
    }
}

// A file whose processed traces are not what replaying their chains gives: as stored
// by another program, so only the stored bytes can bring them back.
void loadForeign(Loaded& l, int n = 1024) {
    std::vector<TestPoint> pts = {test::pilePoint(), test::pilePoint(), test::pilePoint()};
    for (int i = 0; i < 3; ++i) {
        pts[i].rawSamples.resize(n);
        pts[i].samples.resize(n);
        pts[i].recordedLength = static_cast<std::int16_t>(n);
        for (int k = 0; k < n; ++k) {
            pts[i].rawSamples[k] = float((k * (i + 3)) % 11) - 5.0f;
            pts[i].samples[k] = pts[i].rawSamples[k] * 0.37f + 0.01f * float(k % 5);
        }
        pts[i].steps = {makeStep(ProcessKind::Reverse)};
    }
    const std::string p = l.dir.file("in.qar");
    CSondaraDoc src = test::makeDoc(pts);
    ASSERT_TRUE(WriteProject(src, p));
    ASSERT_EQ(ReadProject(l.doc, p), "");
}

TEST(UndoHistory, TracesNoReplayGivesBackAreRestoredExactly) {
    SilentPrompter silent(true);
    Loaded l;
    ASSERT_NO_FATAL_FAILURE(loadForeign(l));
    std::vector<std::string> states{l.bytes()};
    // the stored traces are replaced by replays
    ASSERT_TRUE(process(l.doc, {0, 1, 2}, ProcessKind::Smooth));
    states.push_back(l.bytes());
    // the head moves and the chain is not replayed: the trace stays as it was
    ASSERT_NE(SetPileHead(l.doc, 1, 140, LengthFollowMode::KeepSpeed, false, silent), 0);
    states.push_back(l.bytes());
    // replayed with the new head and toe
    ASSERT_TRUE(process(l.doc, {1, 2}, ProcessKind::Integrate));
    states.push_back(l.bytes());
    ASSERT_NE(SetPileHead(l.doc, 2, 90, LengthFollowMode::KeepSpeed, false, silent), 0);
    states.push_back(l.bytes());
    // the middle step taken out of some chains only
    ASSERT_TRUE(process(l.doc, {0, 2}, ProcessKind::None, ChainEdit::Delete, 1));
    states.push_back(l.bytes());
    ASSERT_TRUE(process(l.doc, {0, 1, 2}, ProcessKind::None, ChainEdit::Clear));
    states.push_back(l.bytes());
    for (std::size_t k = 1; k < states.size(); ++k) ASSERT_NE(states[k], states[k - 1]) << k;
    for (int round = 0; round < 2; ++round) {
        for (int k = static_cast<int>(states.size()) - 2; k >= 0; --k) {
            ASSERT_TRUE(Undo(l.doc)) << k;
            EXPECT_EQ(l.bytes(), states[k]) << k;
        }
        EXPECT_FALSE(Undo(l.doc));
        for (std::size_t k = 1; k < states.size(); ++k) {
            ASSERT_TRUE(Redo(l.doc)) << k;
            EXPECT_EQ(l.bytes(), states[k]) << k;
        }
    }
}

TEST(UndoHistory, AProcessingStepKeepsTheChainsNotTheTraces) {
    for (const bool foreign : {false, true}) {
        SCOPED_TRACE(foreign ? "traces as stored by another program" : "traces as recorded");
        // the same steps on traces of 1,024 and of 8,192 samples
        std::vector<std::size_t> bytes[2];
        for (int t = 0; t < 2; ++t) {
            const int n = t == 0 ? 1024 : 8192;
            Loaded l;
            ASSERT_NO_FATAL_FAILURE(foreign ? loadForeign(l, n) : load(l, n));
            ASSERT_TRUE(process(l.doc, {0, 1, 2}, ProcessKind::Smooth));
            // the traces read are kept once, when nothing else can bring them back
            if (foreign) EXPECT_GT(l.doc.undoSteps().back().bytes, 3u * 4u * n);
            for (int k = 0; k < 3; ++k) {
                ASSERT_TRUE(process(l.doc, {0, 1, 2}, ProcessKind::Amplify));
                bytes[t].push_back(l.doc.undoSteps().back().bytes);
            }
        }
        EXPECT_EQ(bytes[0], bytes[1]) << "a step's record does not grow with the traces";
    }
}

TEST(UndoHistory, ListEditsAndPointChangesInterleave) {
    Loaded l;
    ASSERT_NO_FATAL_FAILURE(load(l));
    std::vector<std::string> states{l.bytes()};
    ASSERT_TRUE(process(l.doc, {2}, ProcessKind::Reverse));
    states.push_back(l.bytes());
    l.doc.selectPoint(1);
    ASSERT_TRUE(DeleteSelection(l.doc));  // point 2 is now point 1
    states.push_back(l.bytes());
    ASSERT_TRUE(process(l.doc, {1}, ProcessKind::Smooth));
    states.push_back(l.bytes());
    ASSERT_TRUE(SortList(l.doc, false));
    states.push_back(l.bytes());
    for (int k = static_cast<int>(states.size()) - 2; k >= 0; --k) {
        ASSERT_TRUE(Undo(l.doc)) << k;
        EXPECT_EQ(l.bytes(), states[k]) << k;
    }
    for (std::size_t k = 1; k < states.size(); ++k) {
        ASSERT_TRUE(Redo(l.doc)) << k;
        EXPECT_EQ(l.bytes(), states[k]) << k;
    }
    // a new change after undo ends the redo branch
    ASSERT_TRUE(Undo(l.doc));
    ASSERT_TRUE(process(l.doc, {0}, ProcessKind::Reverse));
    EXPECT_FALSE(l.doc.canRedo());
    EXPECT_TRUE(l.doc.redoStack.empty());
}

TEST(UndoHistory, AGroupIsOneStepAndPreviewsAreNotSteps) {
    Loaded l;
    ASSERT_NO_FATAL_FAILURE(load(l));
    const std::string start = l.bytes();
    {
        CSondaraDoc::UndoGroup drag(l.doc, "拖动");
        for (int x = 101; x < 140; ++x) {  // one commit per mouse move
            l.doc.points[0].headIndex = static_cast<std::int16_t>(x);
            l.doc.commitChange(DocChange::Marks, {0});
        }
    }
    ASSERT_EQ(l.doc.undoSteps().size(), 1u);
    EXPECT_EQ(l.doc.undoSteps().back().name, "拖动");
    // a preview shown and withdrawn changes nothing of the history
    PreviewStep(l.doc, {1}, makeStep(ProcessKind::Reverse));
    RestoreChains(l.doc, {1});
    l.doc.announce(DocChange::Processing, {1});
    EXPECT_EQ(l.doc.undoSteps().size(), 1u);
    ASSERT_TRUE(Undo(l.doc));
    EXPECT_EQ(l.bytes(), start);
}

TEST(UndoHistory, IsBoundedAndClearedOnOpen) {
    Loaded l;
    ASSERT_NO_FATAL_FAILURE(load(l));
    for (int i = 0; i < static_cast<int>(kUndoMaxSteps) + 30; ++i) {
        if (i % 2)
            ASSERT_TRUE(
                SetPointTick(l.doc, 0, i % 4 == 1));  // list records join and are dropped too
        else
            ASSERT_TRUE(process(l.doc, {0}, ProcessKind::Reverse));
    }
    EXPECT_EQ(l.doc.undoSteps().size(), kUndoMaxSteps);
    std::size_t listSteps = 0;
    for (const UndoStep& s : l.doc.undoSteps()) listSteps += s.list;
    EXPECT_EQ(listSteps, l.doc.undoStack.size());
    int undone = 0;
    while (Undo(l.doc)) ++undone;
    EXPECT_EQ(undone, static_cast<int>(kUndoMaxSteps));

    ASSERT_EQ(ReadProject(l.doc, l.dir.file("in.qar")), "");
    EXPECT_FALSE(l.doc.canUndo());
    EXPECT_FALSE(l.doc.canRedo());
}

TEST(UndoHistory, RestoreIsNotUndoneAndDropsThePointSteps) {
    Loaded l;
    ASSERT_NO_FATAL_FAILURE(load(l));
    ASSERT_TRUE(process(l.doc, {0}, ProcessKind::Reverse));
    ASSERT_TRUE(SetPointTick(l.doc, 1, true));
    test::ScriptedPrompter yes({true});
    ASSERT_TRUE(Restore(l.doc, yes));
    ASSERT_EQ(l.doc.undoSteps().size(), 1u);
    EXPECT_TRUE(l.doc.undoSteps()[0].list);
}

}  // namespace
}  // namespace sondara
