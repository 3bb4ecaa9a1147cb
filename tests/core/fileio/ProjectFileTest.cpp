#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/AppPaths.h"
#include "core/app/RunLog.h"
#include "core/base/RecordCodec.h"
#include "core/base/TextCodec.h"
#include "core/fileio/ProjectFile.h"
#include "core/model/ListEngine.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using test::fileBytes;
using test::fullPoint;
using test::simplePoint;

std::string readBytes(CSondaraDoc& d, const std::string& bytes, std::string* warning = nullptr) {
    ByteReader r(memorySource(bytes));
    return ReadProject(d, r, "mem.qar", warning);
}

TEST(ProjectFile, RoundTripKeepsEveryField) {
    test::TempDir dir;
    std::vector<TestPoint> pts{fullPoint(1, "A1"), fullPoint(2, "A1"), fullPoint(3, "B7")};
    CSondaraDoc d = test::makeDoc(pts);
    // loading recomputes the display ranges; expect what that gives
    d.recomputeDisplayRanges();
    pts = d.points;
    d.originalPoints.pop_back();  // the original set may differ in length
    setText(d.info.extraInfo, "carried");
    std::string path = dir.file("p.qar");
    ASSERT_TRUE(WriteProject(d, path));

    CSondaraDoc r;
    ASSERT_EQ(ReadProject(r, path), "");
    ASSERT_EQ(r.pointCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(r.points[i], pts[i]) << "point " << i;
    ASSERT_EQ(r.originalPoints.size(), 2u);
    EXPECT_EQ(r.originalPoints[1], d.originalPoints[1]);  // original ranges are not recomputed
    EXPECT_EQ(versionTagOf(r.info), "QAR16");
    EXPECT_EQ(textOf(r.info.extraInfo), "carried");
    EXPECT_EQ(r.loaded, 1);
    EXPECT_EQ(r.currentPoint, 0);
    EXPECT_EQ(r.checkedList, (std::vector<int>{0, 2}));

    // the whole file is exactly what a second write produces
    std::string first = test::readFile(path);
    ASSERT_TRUE(WriteProject(r, dir.file("q.qar")));
    EXPECT_EQ(test::readFile(dir.file("q.qar")), first);
}

TEST(ProjectFile, RecordSizesAreExact) {
    ByteWriter w;
    writeStep(w, ProcessStep{});
    EXPECT_EQ(w.buffer().size(), 1112u);
    ByteWriter m;
    writeMark(m, PileMark{});
    EXPECT_EQ(m.buffer().size(), 164u);
    ByteWriter h;
    writeHeader(h, ProjectInfo{});
    EXPECT_EQ(h.buffer().size(), 209u);
    // an empty point: F16 195 + 7 counts + lastParams + 3 flags + extraText
    ByteWriter p;
    writePointRecord(p, TestPoint{});
    EXPECT_EQ(p.buffer().size(), 195u + 4 * 3 + 1112 + 4 * 4 + 12 + 50);
}

TEST(ProjectFile, MarkPositionsFollowTheirDepth) {
    TestPoint p = fullPoint(1);
    p.defects[0].position = 999;  // stale position in the file
    CSondaraDoc r;
    ASSERT_EQ(readBytes(r, fileBytes("QAR16", 1, {p})), "");
    EXPECT_EQ(r.points[0].defects[0].position, 2 + 105);
    // without a wave speed the stored position stays
    p.waveSpeed = 0;
    ASSERT_EQ(readBytes(r, fileBytes("QAR16", 1, {p})), "");
    EXPECT_EQ(r.points[0].defects[0].position, 999);
}

TEST(ProjectFile, AMarkIsPlacedFromItsDepthEvenWhereThatLeavesTheTrace) {
    // a stored position that disagrees with the depth is not kept: the mark is drawn
    // where its depth, the head, the speed and the interval put it, as every reader of
    // these files places it
    TestPoint p = fullPoint(1);
    const int n = p.sampleCount();
    ASSERT_GT(n, 4);
    p.defects[0].position = n / 2;
    p.defects[0].depth = static_cast<float>(p.sampleInterval * p.waveSpeed * 2.0 * n * 0.0000005);
    CSondaraDoc r;
    ASSERT_EQ(readBytes(r, fileBytes("QAR16", 1, {p})), "");
    EXPECT_GE(r.points[0].defects[0].position, n);
    EXPECT_NEAR(r.points[0].defects[0].position, p.headIndex + 2 * n, 1);
}

TEST(ProjectFile, MarksPlacedAtASampleStayThereAfterReload) {
    // depths as the program stores them when a mark is placed at a sample
    TestPoint p = fullPoint(1);
    p.headIndex = 32;
    p.defects.clear();
    for (int s : {33, 100, 200, 477, 1000}) {
        PileMark m;
        m.position = s;
        m.depth =
            static_cast<float>(p.sampleInterval * p.waveSpeed * (s - p.headIndex) * 0.0000005);
        p.defects.push_back(m);
    }
    CSondaraDoc r;
    ASSERT_EQ(readBytes(r, fileBytes("QAR16", 1, {p})), "");
    for (std::size_t i = 0; i < p.defects.size(); ++i)
        EXPECT_EQ(r.points[0].defects[i].position, p.defects[i].position);
}

// Builds the fixed part of the older layouts by hand.
std::string olderRecord(int code, const TestPoint& p) {
    ByteWriter w;
    w.i16(p.spare0);
    w.bytes(p.pileNo.data(), code == 4 ? 10 : 22);
    w.i16(p.pileTypeIndex);
    w.text(p.pileTypeText);
    w.i16(p.pileDiameter);
    w.text(p.testDateTime);
    w.i16(p.sensorType);
    w.i16(p.gain);
    w.i16(p.triggerLevel);
    w.i32(p.spare104);
    w.f32(p.pileLength);
    w.i16(p.waveSpeed);
    w.i16(-1);  // ignored
    w.f32(p.sampleInterval);
    w.i16(p.recordedLength);
    w.i16(p.headIndex);
    w.i16(p.toeIndex);
    w.i16(-1);  // ignored
    ByteWriter full;
    writePointRecord(full, p);
    // the variable part follows the 195-byte F16 image
    std::string rec = w.take();
    EXPECT_EQ(rec.size(), code == 4 ? 116u : 128u);
    return rec + full.buffer().substr(195);
}

TEST(ProjectFile, OlderVersionsMapTheirFixedParts) {
    for (int code : {4, 6}) {
        SCOPED_TRACE(code);
        TestPoint p = fullPoint(4, "LONGPILE-NUMBER-1");
        p.steps[1].kind = 1;  // integrate as stored by old writers
        ByteWriter h;
        ProjectInfo info;
        setVersionTag(info, code == 4 ? "QAR04" : "QAR15");
        info.pointCount = 1;
        writeHeader(h, info);
        std::string bytes = h.take() + olderRecord(code, p);
        CSondaraDoc r;
        ASSERT_EQ(readBytes(r, bytes), "");
        const TestPoint& q = r.points[0];
        EXPECT_EQ(textOf(q.pileNo), code == 4 ? "LONGPILE-N" : "LONGPILE-NUMBER-1");
        EXPECT_EQ(q.sampleInterval, p.sampleInterval);
        EXPECT_EQ(q.toeIndex, p.toeIndex);
        EXPECT_EQ(q.integrityClass, 0);
        EXPECT_EQ(textOf(q.remark), "");
        // casting date is not stored: it takes the test date
        EXPECT_EQ(textOf(q.castingDate), "2026-11-03 09:41:07");
        EXPECT_EQ(q.steps[1].kind, code == 4 ? 26 : 1);
        EXPECT_EQ(q.rawSamples, p.rawSamples);
        EXPECT_TRUE(r.originalPoints.empty());  // no second set in these bytes
    }
}

TEST(ProjectFile, ShortCastingDateTakesTheTestDate) {
    TestPoint p = fullPoint(1);
    setText(p.castingDate, "12345");
    CSondaraDoc r;
    ASSERT_EQ(readBytes(r, fileBytes("QAR16", 1, {p})), "");
    EXPECT_EQ(textOf(r.points[0].castingDate), "2026-11-03 09:41:07");
    setText(p.castingDate, "123456");
    ASSERT_EQ(readBytes(r, fileBytes("QAR16", 1, {p})), "");
    EXPECT_EQ(textOf(r.points[0].castingDate), "123456");
}

TEST(ProjectFile, PointCountBounds) {
    // 9998 small points are accepted, 9999 rejected, 0 and negative rejected
    std::vector<TestPoint> many(9998, simplePoint("P", 1));
    CSondaraDoc r;
    EXPECT_EQ(readBytes(r, fileBytes("QAR16", 9998, many, false)), "");
    EXPECT_EQ(r.pointCount(), 9998);
    for (int bad : {9999, 0, -5}) {
        EXPECT_EQ(readBytes(r, fileBytes("QAR16", bad, {simplePoint("P")})),
                  "文件异常，测点数[" + std::to_string(bad) + "]不合理！");
        EXPECT_EQ(r.pointCount(), 0);
        EXPECT_EQ(r.loaded, 0);
    }
}

// Whatever is written can be opened again: a document the reader would refuse (no
// points, too many, a record with a count beyond 9999) is not written, the message
// says why, and the previous file stays as it was. An empty original set is allowed.
TEST(ProjectFile, WhatCannotBeReadBackIsNotWritten) {
    test::TempDir dir;
    const std::string path = dir.file("p.qar");
    ASSERT_TRUE(test::writeFile(path, "previous bytes"));
    struct Case {
        const char* name;
        CSondaraDoc (*make)();
        const char* error;
        bool checkedToo;  // 选择保存 of every point is refused the same way
    };
    const Case cases[] = {
        {"no points", [] { return test::makeDoc({}); }, "没有测点，不能保存！", false},
        {"9999 points",
         [] { return test::makeDoc(std::vector<TestPoint>(9999, simplePoint("P", 1))); },
         "测点数[9999]超过9998个，不能保存！", true},
        {"10000 samples",
         [] {
             CSondaraDoc d = test::makeDoc({simplePoint("P", 1), simplePoint("P", 1)});
             d.points[1].samples.assign(10000, 1.0f);
             return d;
         },
         "第[2]个测点的数据超过9999个，不能保存！", true},
        {"10000 spectrum marks in the original set",
         [] {
             CSondaraDoc d = test::makeDoc({simplePoint("P", 1)});
             d.originalPoints[0].spectrumMarks.assign(10000, 3);
             return d;
         },
         "第[1]个测点的数据超过9999个，不能保存！", false},
    };
    for (const Case& c : cases) {
        CSondaraDoc d = c.make();
        std::string error;
        EXPECT_FALSE(WriteProject(d, path, &error)) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_EQ(test::readFile(path), "previous bytes") << c.name;
        if (c.checkedToo) {
            d.checkedList.clear();
            for (int i = 0; i < d.pointCount(); ++i) d.checkedList.push_back(i);
            error.clear();
            EXPECT_FALSE(SaveChecked(d, path, &error)) << c.name;
            EXPECT_EQ(error, c.error) << c.name;
            EXPECT_EQ(test::readFile(path), "previous bytes") << c.name;
        }
    }
    // a document of one point without an original set writes and reads back
    CSondaraDoc one = test::makeDoc({simplePoint("P", 1)});
    one.originalPoints.clear();
    ASSERT_TRUE(WriteProject(one, path));
    CSondaraDoc back;
    EXPECT_EQ(ReadProject(back, path), "");
    EXPECT_EQ(back.pointCount(), 1);
}

TEST(ProjectFile, NotADataFile) {
    CSondaraDoc r;
    for (std::string bytes : {std::string(), std::string("QAR1"), std::string("HELLO world"),
                              std::string("QAR17\1\0\0\0", 9)}) {
        EXPECT_EQ(readBytes(r, bytes), kMsgNotDataFile);
        EXPECT_EQ(r.lastError, kMsgNotDataFile);
        EXPECT_EQ(r.pointCount(), 0);
    }
    EXPECT_EQ(ReadProject(r, "/nonexistent/x.qar"), "文件路径错误");
}

TEST(ProjectFile, UnreadableRecords) {
    std::vector<TestPoint> pts{fullPoint(1), fullPoint(2), fullPoint(3)};
    CSondaraDoc ranged = test::makeDoc(pts);
    ranged.recomputeDisplayRanges();
    pts = ranged.points;
    std::string good = fileBytes("QAR16", 3, pts, false);
    ByteWriter one;
    writePointRecord(one, pts[0]);
    const std::size_t rec = one.buffer().size();

    CSondaraDoc r;
    // the first record broken: nothing loads
    std::string bytes = good.substr(0, 209 + 100);
    EXPECT_EQ(readBytes(r, bytes), "测点数据不完整，[3]个测点第[0]个测点以后数据丢失！");
    EXPECT_EQ(r.pointCount(), 0);

    // the third record broken: two points load, with a warning
    std::string warning;
    bytes = good.substr(0, 209 + 2 * rec + 300);
    EXPECT_EQ(readBytes(r, bytes, &warning), "");
    EXPECT_EQ(r.pointCount(), 2);
    EXPECT_EQ(r.info.pointCount, 2);
    EXPECT_EQ(warning, "测点数据不完整，[3]个测点第[2]个测点以后数据丢失！");
    EXPECT_EQ(r.points[1], pts[1]);

    // a count out of range makes a record unreadable
    TestPoint p = fullPoint(1);
    std::string b = fileBytes("QAR16", 1, {p}, false);
    std::int32_t huge = 10000;
    std::memcpy(b.data() + 209 + 195, &huge, 4);  // rawCount
    EXPECT_NE(readBytes(r, b), "");
    // a count that runs past the end of the file
    std::int32_t many = 9999;
    b = fileBytes("QAR16", 1, {p}, false);
    std::memcpy(b.data() + 209 + 195, &many, 4);
    EXPECT_NE(readBytes(r, b), "");
}

TEST(ProjectFile, AFileCutInsideItsOriginalSetIsAPartialRead) {
    std::vector<TestPoint> pts{fullPoint(1), fullPoint(2), fullPoint(3)};
    CSondaraDoc ranged = test::makeDoc(pts);
    ranged.recomputeDisplayRanges();
    pts = ranged.points;
    const std::string whole = fileBytes("QAR16", 3, pts, true);
    ByteWriter one;
    writePointRecord(one, pts[0]);
    const std::size_t rec = one.buffer().size();
    const std::size_t second = 209 + 3 * rec;  // where the original set's header starts
    ASSERT_EQ(whole.size(), second + 209 + 3 * rec);

    const std::string headerLost = "原始数据不完整，原始测点数据丢失！";
    struct Case {
        std::size_t cut;
        std::string warning;
        std::size_t originals;  // the records read whole
    } cases[] = {
        {second + 209 + rec + 300, "原始数据不完整，[3]个原始测点第[1]个测点以后数据丢失！", 1},
        {second + 209 + 2 * rec + 300, "原始数据不完整，[3]个原始测点第[2]个测点以后数据丢失！", 2},
        {second + 100, headerLost, 0},
        {second + 3, headerLost, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cut);
        CSondaraDoc r;
        std::string warning;
        ASSERT_EQ(readBytes(r, whole.substr(0, c.cut), &warning), "");
        EXPECT_EQ(warning, c.warning);
        EXPECT_EQ(r.pointCount(), 3);  // the current set is whole
        EXPECT_EQ(r.originalPoints.size(), c.originals);
        if (c.originals > 0) {
            EXPECT_EQ(r.originalInfo.pointCount, 3);  // as declared
        }
        // 还原 would replace three points by fewer: refused before anything is asked
        test::ScriptedPrompter yes({true});
        EXPECT_FALSE(Restore(r, yes));
        EXPECT_EQ(yes.infos, std::vector<std::string>{"原始数据不完整，不能还原！"});
        EXPECT_TRUE(yes.questions.empty());
        EXPECT_EQ(r.pointCount(), 3);
    }

    // The whole file: no warning, and 还原 asks as ever.
    CSondaraDoc r;
    std::string warning;
    ASSERT_EQ(readBytes(r, whole, &warning), "");
    EXPECT_EQ(warning, "");
    EXPECT_EQ(r.originalPoints.size(), 3u);
    test::ScriptedPrompter no({false});
    EXPECT_FALSE(Restore(r, no));
    EXPECT_EQ(no.questions.size(), 1u);
    EXPECT_TRUE(no.infos.empty());

    // A file that ends right after its current set has no original set: that reads
    // without a word, but 还原 has nothing to go back to and refuses as well.
    ASSERT_EQ(readBytes(r, whole.substr(0, second), &warning), "");
    EXPECT_EQ(warning, "");
    EXPECT_TRUE(r.originalPoints.empty());
    test::ScriptedPrompter again({true});
    EXPECT_FALSE(Restore(r, again));
    EXPECT_EQ(again.infos, std::vector<std::string>{"原始数据不完整，不能还原！"});
    EXPECT_EQ(r.pointCount(), 3);
}

TEST(ProjectFile, RecordCutAfterRawSamplesIsComplete) {
    TestPoint p = fullPoint(1);
    std::string b = fileBytes("QAR16", 1, {p}, false);
    b.resize(209 + 195 + 4 + 4 * p.rawCount());
    CSondaraDoc r;
    ASSERT_EQ(readBytes(r, b), "");
    const TestPoint& q = r.points[0];
    EXPECT_EQ(q.samples, p.rawSamples);
    EXPECT_TRUE(q.steps.empty());
    EXPECT_TRUE(q.defects.empty());
    EXPECT_EQ(q.headSetFlag, 1);
    ProcessStep fresh;
    fresh.rangeMax = q.lastParams.rangeMax;  // the display range is recomputed on load
    fresh.rangeMin = q.lastParams.rangeMin;
    EXPECT_EQ(q.lastParams, fresh);
}

TEST(ProjectFile, RunLogHasEveryStage) {
    test::TempDir dir;
    std::string log = dir.file("log.txt");
    RunLog::instance().setPath(log);
    CSondaraDoc r;
    readBytes(r, fileBytes("QAR16", 2, {fullPoint(1), fullPoint(2)}));
    readBytes(r, fileBytes("QAR16", 0, {}));
    std::string text = gbkToUtf8(test::readFile(log));
    EXPECT_NE(text.find("打开文件==>“mem.qar”"), std::string::npos);
    EXPECT_NE(text.find("打开文件==>测点个数：2，版本：7"), std::string::npos);
    EXPECT_NE(text.find("打开文件==>打开文件完成"), std::string::npos);
    EXPECT_NE(text.find("打开文件==>测点数非法，终止读取"), std::string::npos);
    RunLog::instance().setPath(logFilePath());
}

TEST(ProjectFile, SecondSetMayCarryAnotherVersion) {
    TestPoint p = fullPoint(1);
    ByteWriter w;
    ProjectInfo h;
    setVersionTag(h, "QAR16");
    h.pointCount = 1;
    writeHeader(w, h);
    writePointRecord(w, p);
    setVersionTag(h, "QAR15");
    writeHeader(w, h);
    std::string bytes = w.take() + olderRecord(6, p);
    CSondaraDoc r;
    ASSERT_EQ(readBytes(r, bytes), "");
    ASSERT_EQ(r.originalPoints.size(), 1u);
    EXPECT_EQ(r.originalPoints[0].rawSamples, p.rawSamples);
}

TEST(ProjectFile, SaveCheckedWritesOnlyCheckedPoints) {
    test::TempDir dir;
    std::vector<TestPoint> pts{fullPoint(0, "A"), fullPoint(1, "B"), fullPoint(2, "C"),
                               fullPoint(3, "D")};
    CSondaraDoc d = test::makeDoc(pts);  // 1 and 3 are checked
    d.originalPoints[3].rawSamples = {42.0f};
    std::string err;
    ASSERT_TRUE(SaveChecked(d, dir.file("c.qar"), &err)) << err;
    CSondaraDoc r;
    ASSERT_EQ(ReadProject(r, dir.file("c.qar")), "");
    ASSERT_EQ(r.pointCount(), 2);
    EXPECT_EQ(textOf(r.points[0].pileNo), "B");
    EXPECT_EQ(textOf(r.points[1].pileNo), "D");
    EXPECT_EQ(r.originalPoints[1].rawSamples, std::vector<float>{42.0f});

    for (TestPoint& p : d.points) p.checked = 0;
    d.rebuildCheckedList();
    EXPECT_FALSE(SaveChecked(d, dir.file("none.qar"), &err));
    EXPECT_EQ(err, "请选择要保存的测点");
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.qar")));
}

TEST(ProjectFile, FailedWriteKeepsThePreviousFile) {
    test::TempDir dir;
    std::string path = dir.file("keep.qar");
    test::writeFile(path, "previous");
    CSondaraDoc d = test::makeDoc({fullPoint(1)});
    // a target inside a missing folder cannot even start
    EXPECT_FALSE(WriteProject(d, dir.file("missing/x.qar")));
    // a directory in the way of the rename fails after writing the temporary file
    std::filesystem::create_directory(dir.file("adir"));
    test::writeFile(dir.file("adir/f"), "x");
    std::string err;
    EXPECT_FALSE(WriteProject(d, dir.file("adir"), &err));
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(test::readFile(path), "previous");
    // nothing is left behind
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST(ProjectFile, MergeAsksAboutMissingFiles) {
    test::TempDir dir;
    CSondaraDoc a = test::makeDoc({fullPoint(1, "A"), fullPoint(2, "A")});
    CSondaraDoc b = test::makeDoc({fullPoint(3, "B")});
    setText(b.info.projectName, "second");
    ASSERT_TRUE(WriteProject(a, dir.file("a.qar")));
    ASSERT_TRUE(WriteProject(b, dir.file("b.qar")));
    test::writeFile(dir.file("junk.qar"), "not a data file");

    {
        CSondaraDoc m;
        test::ScriptedPrompter yes({true});
        MergeFiles(
            m, {dir.file("a.qar"), dir.file("nope.qar"), dir.file("junk.qar"), dir.file("b.qar")},
            yes);
        ASSERT_EQ(yes.questions.size(), 1u);
        EXPECT_EQ(yes.questions[0],
                  "文件“" + dir.file("nope.qar") + "”路径错误，是否继续打开其他文件？");
        ASSERT_EQ(m.pointCount(), 3);
        EXPECT_EQ(m.info.pointCount, 3);
        EXPECT_EQ(textOf(m.info.projectName), "project");  // the first file's header
        EXPECT_EQ(textOf(m.points[2].pileNo), "B");
        EXPECT_EQ(m.originalPoints.size(), 3u);
        EXPECT_EQ(m.loaded, 1);
        EXPECT_EQ(m.currentPoint, 0);
    }
    {
        CSondaraDoc m;
        test::ScriptedPrompter no({false});
        MergeFiles(m, {dir.file("a.qar"), dir.file("nope.qar"), dir.file("b.qar")}, no);
        EXPECT_EQ(m.pointCount(), 2);  // No stops the merge
    }
}

}  // namespace
}  // namespace sondara
