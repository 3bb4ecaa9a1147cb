// Conversion of a project folder downloaded from the instrument into a "QAR02" file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "core/base/TextCodec.h"
#include "core/fileio/InstrumentProject.h"
#include "core/fileio/ProjectFile.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

namespace fs = std::filesystem;

using test::Bytes;

// One point file as the instrument writes it (4338 bytes unless cut).
struct InstrumentPoint {
    int spare0 = 7;
    std::string pileNo = "1";
    int pileTypeIndex = 1, pileDiameter = 600;
    std::string testDateTime = "2004-01-02 03:04";
    int sensorType = 1, gain = 2, triggerLevel = 3;
    std::int32_t spare104 = 0x0A0B0C0D;
    int integrate = 0, passes = 1;
    float pileLength = 12.0f;
    int waveSpeed = 3800;
    float sampleInterval = 25.0f;
    int recordedLength = 1024;
    int ampLaw = 0;
    float ampFactor = 1.0f, ampStartDepth = 0.0f, lowPassKHz = 2.0f, highPassKHz = 0.1f;
    int rotation = 0;
    int headIndex = 12;
    std::vector<std::pair<int, float>> marks;
    int smooth = 0;
    std::vector<float> samples;        // up to 1024; the rest of the block is written as zeros
    std::optional<std::size_t> cutAt;  // write only this many bytes
};

std::vector<float> trace(int n, float seed) {
    std::vector<float> v(n);
    for (int i = 0; i < n; ++i) v[i] = seed + static_cast<float>(std::sin(0.05 * i) * i / 100.0);
    return v;
}

std::string pointFile(const InstrumentPoint& p) {
    Bytes b;
    b.i16(p.spare0)
        .text(p.pileNo, 10)
        .i16(p.pileTypeIndex)
        .i16(p.pileDiameter)
        .text(p.testDateTime, 20);
    b.i16(p.sensorType).i16(p.gain).i16(p.triggerLevel).i32(p.spare104);
    b.i16(p.integrate).i16(p.passes).pattern(46, 'A');
    b.f32(p.pileLength).i16(p.waveSpeed).f32(p.sampleInterval).i16(p.recordedLength);
    b.i16(p.ampLaw).f32(p.ampFactor).f32(p.ampStartDepth).f32(p.lowPassKHz).f32(p.highPassKHz);
    b.i16(p.rotation).i16(p.headIndex).text("xy", 2);
    for (std::size_t i = 0; i < 10; ++i) {
        if (i < p.marks.size())
            b.i16(p.marks[i].first).f32(p.marks[i].second);
        else
            b.i16(0).f32(0.0f);
    }
    b.pattern(12, 'a').i16(p.smooth).pattern(36, 'n');
    for (int i = 0; i < 1024; ++i)
        b.f32(i < static_cast<int>(p.samples.size()) ? p.samples[i] : 0.0f);
    EXPECT_EQ(b.s.size(), 4338u);
    return p.cutAt ? b.s.substr(0, *p.cutAt) : b.s;
}

std::string projectHeader(int count, const std::string& unit = "某检测单位",
                          const std::string& name = "某工程") {
    Bytes b;
    b.i16(count).text(utf8ToGbk(unit), 50).text(utf8ToGbk(name), 20);
    return b.s;
}

// A downloaded project: "qar.par", "pindex.par" and the given point files by number.
void writeProject(const std::string& folder, int declared,
                  const std::vector<std::pair<int, InstrumentPoint>>& pts,
                  const std::string& headerName = "qar.par") {
    fs::create_directories(folder);
    ASSERT_TRUE(test::writeFile(folder + "/" + headerName, projectHeader(declared)));
    ASSERT_TRUE(test::writeFile(folder + "/pindex.par", "index"));
    for (const auto& [n, p] : pts)
        ASSERT_TRUE(test::writeFile(folder + "/" + std::to_string(n) + ".qar", pointFile(p)));
}

InstrumentPoint numbered(int n) {
    InstrumentPoint p;
    p.pileNo = std::to_string(n);
    p.samples = trace(1024, static_cast<float>(n));
    return p;
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

int countKind(const TestPoint& p, ProcessKind k) {
    return static_cast<int>(
        std::count_if(p.steps.begin(), p.steps.end(),
                      [&](const ProcessStep& s) { return s.processKind() == k; }));
}

TEST(InstrumentProject, ConvertedProjectReadsBackWithItsClampedFlags) {
    test::TempDir dir;
    const std::string folder = dir.file("site");
    // (integrate flag, pass count) as stored -> (SimpleIntegrate steps, low-pass steps)
    struct Case {
        int integrate, passes, integrations, filters;
    } cases[] = {{7, 9, 0, 5}, {1, 0, 1, 1}, {-1, 3, 0, 3}, {0, -4, 0, 1}};
    std::vector<std::pair<int, InstrumentPoint>> pts;
    for (int i = 0; i < 4; ++i) {
        InstrumentPoint p = numbered(i + 1);
        p.integrate = cases[i].integrate;
        p.passes = cases[i].passes;
        p.marks = {{2, 1.5f}};
        p.smooth = i == 0 ? 3 : 0;
        pts.push_back({i + 1, p});
    }
    writeProject(folder, 4, pts);

    test::ScriptedPrompter prompter;
    const std::string target = folder + "/工程.qar";
    InstrumentConversion r = ConvertInstrumentProject(target, prompter);
    ASSERT_TRUE(r.written) << r.error;
    EXPECT_EQ(r.declaredPoints, 4);
    EXPECT_EQ(r.convertedPoints, 4);
    EXPECT_TRUE(r.skipped.empty());
    EXPECT_TRUE(prompter.infos.empty());
    // the downloaded files are gone once the data file is there
    EXPECT_EQ(filesIn(folder), std::vector<std::string>{"工程.qar"});

    CSondaraDoc d;
    std::string warning;
    ASSERT_EQ(ReadProject(d, target, &warning), "");
    EXPECT_EQ(warning, "");
    EXPECT_EQ(versionTagOf(d.info), "QAR02");
    EXPECT_EQ(gbkToUtf8(textOf(d.info.testingUnit)), "某检测单位");
    EXPECT_EQ(gbkToUtf8(textOf(d.info.projectName)), "某工程");
    ASSERT_EQ(d.pointCount(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const TestPoint& p = d.points[i];
        EXPECT_EQ(textOf(p.pileNo), std::to_string(i + 1));
        EXPECT_EQ(p.spare0, 7);
        EXPECT_EQ(p.pileTypeIndex, 1);
        EXPECT_EQ(p.pileDiameter, 600);
        EXPECT_EQ(textOf(p.testDateTime), "2004-01-02 03:04");
        EXPECT_EQ(p.sensorType, 1);
        EXPECT_EQ(p.gain, 2);
        EXPECT_EQ(p.triggerLevel, 3);
        EXPECT_EQ(p.spare104, 0x0A0B0C0D);
        EXPECT_EQ(p.pileLength, 12.0f);
        EXPECT_EQ(p.waveSpeed, 3800);
        EXPECT_EQ(p.sampleInterval, 25.0f);
        EXPECT_EQ(p.recordedLength, 1024);
        EXPECT_EQ(p.headIndex, 12);
        EXPECT_EQ(p.rawSamples, pts[i].second.samples);
        EXPECT_TRUE(p.spectrumMarks.empty());
        ASSERT_EQ(p.defectCount(), 1);
        EXPECT_EQ(p.defects[0].kind, 2);
        EXPECT_EQ(countKind(p, ProcessKind::SimpleIntegrate), cases[i].integrations);
        EXPECT_EQ(countKind(p, ProcessKind::Filter), cases[i].filters);
        // front zero, back zero and shift are not carried over from the instrument
        EXPECT_EQ(countKind(p, ProcessKind::FrontZero) + countKind(p, ProcessKind::BackZero), 0);
        EXPECT_EQ(countKind(p, ProcessKind::Smooth), i == 0 ? 1 : 0);
    }
}

TEST(InstrumentProject, RecordLayout) {
    test::TempDir dir;
    InstrumentPoint p = numbered(1);
    p.integrate = 5;
    p.passes = 0;
    writeProject(dir.path(), 1, {{1, p}});
    const std::string src = pointFile(p);
    test::ScriptedPrompter prompter;
    const std::string target = dir.file("out.qar");
    ASSERT_TRUE(ConvertInstrumentProject(target, prompter).written);
    const std::string out = test::readFile(target);
    ASSERT_EQ(out.size(), 77u + 4340u);
    EXPECT_EQ(out.substr(0, 7), std::string("QAR02\x01\x00", 7));
    EXPECT_EQ(out.substr(7, 70), projectHeader(1).substr(2));
    const std::string rec = out.substr(77);
    EXPECT_EQ(rec.substr(0, 46), src.substr(0, 46));
    EXPECT_EQ(rec.substr(46, 10), std::string("\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00", 10));
    EXPECT_EQ(rec.substr(56, 40), src.substr(50, 40));  // the block's last 6 bytes are dropped
    EXPECT_EQ(rec.substr(96), src.substr(96) + std::string(2, '\0'));
}

TEST(InstrumentProject, UnusablePointFilesAreSkipped) {
    test::TempDir dir;
    const std::string folder = dir.file("site");
    InstrumentPoint tooShort = numbered(3), cutInSamples = numbered(4), empty = numbered(5),
                    noLength = numbered(6);
    tooShort.cutAt = 100;
    cutInSamples.cutAt = 242 + 4 * 1000;  // 1024 samples announced
    empty.recordedLength = 0;
    noLength.recordedLength = -3;
    writeProject(folder, 8,
                 {{1, numbered(1)},
                  {3, tooShort},
                  {4, cutInSamples},
                  {5, empty},
                  {6, noLength},
                  {7, numbered(7)}});

    test::ScriptedPrompter prompter;
    InstrumentConversion r = ConvertInstrumentFolder(folder, dir.file("out.qar"), prompter);
    ASSERT_TRUE(r.written);
    EXPECT_EQ(r.declaredPoints, 8);
    EXPECT_EQ(r.convertedPoints, 2);
    using R = InstrumentConversion::SkipReason;
    std::vector<std::pair<int, R>> skipped;
    for (const auto& s : r.skipped) skipped.push_back({s.number, s.reason});
    EXPECT_EQ(skipped, (std::vector<std::pair<int, R>>{{2, R::Missing},
                                                       {3, R::Short},
                                                       {4, R::Short},
                                                       {5, R::NoSamples},
                                                       {6, R::NoSamples},
                                                       {8, R::Missing}}));
    EXPECT_TRUE(prompter.infos.empty());
    // what was not converted stays for the user to look at
    EXPECT_EQ(filesIn(folder), (std::vector<std::string>{"3.qar", "4.qar", "5.qar", "6.qar"}));

    // the header counts the records that follow, so the whole file reads
    CSondaraDoc d;
    std::string warning;
    ASSERT_EQ(ReadProject(d, dir.file("out.qar"), &warning), "");
    EXPECT_EQ(warning, "");
    ASSERT_EQ(d.pointCount(), 2);
    EXPECT_EQ(textOf(d.points[0].pileNo), "1");
    EXPECT_EQ(textOf(d.points[1].pileNo), "7");
}

TEST(InstrumentProject, RecordedLengthsOtherThan1024ReadBackExactly) {
    test::TempDir dir;
    InstrumentPoint shortTrace = numbered(1), longTrace = numbered(2), compact = numbered(3);
    shortTrace.recordedLength = 512;  // the stored block still holds 1024 values
    longTrace.recordedLength = 2000;  // more than a point file can hold
    compact.recordedLength = 300;     // a file that stops after its recorded samples
    compact.cutAt = 242 + 4 * 300;
    writeProject(dir.path(), 4, {{1, shortTrace}, {2, longTrace}, {3, compact}, {4, numbered(4)}});

    test::ScriptedPrompter prompter;
    InstrumentConversion r = ConvertInstrumentProject(dir.file("out.qar"), prompter);
    ASSERT_TRUE(r.written);
    EXPECT_EQ(r.convertedPoints, 4);
    EXPECT_EQ(r.truncated, std::vector<int>{2});

    CSondaraDoc d;
    std::string warning;
    ASSERT_EQ(ReadProject(d, dir.file("out.qar"), &warning), "");
    EXPECT_EQ(warning, "");
    ASSERT_EQ(d.pointCount(), 4);
    const std::vector<float>& s1 = shortTrace.samples;
    EXPECT_EQ(d.points[0].recordedLength, 512);
    EXPECT_EQ(d.points[0].rawSamples, std::vector<float>(s1.begin(), s1.begin() + 512));
    EXPECT_EQ(d.points[1].recordedLength, 1024);
    EXPECT_EQ(d.points[1].rawSamples, longTrace.samples);
    EXPECT_EQ(d.points[2].rawSamples,
              std::vector<float>(compact.samples.begin(), compact.samples.begin() + 300));
    EXPECT_EQ(d.points[3].rawSamples, numbered(4).samples);  // still in step after them
}

TEST(InstrumentProject, NotAnInstrumentProject) {
    struct Case {
        const char* what;
        std::optional<std::string> header;  // contents of qar.par, none when missing
        bool pointFiles;
    } cases[] = {
        {"no qar.par", std::nullopt, true},
        {"qar.par too short", std::string(40, '\x01'), true},
        {"no point file", projectHeader(2), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        if (c.header) {
            ASSERT_TRUE(test::writeFile(dir.file("qar.par"), *c.header));
        }
        if (c.pointFiles) {
            ASSERT_TRUE(test::writeFile(dir.file("1.qar"), pointFile(numbered(1))));
        }
        const auto before = filesIn(dir.path());
        test::ScriptedPrompter prompter;
        InstrumentConversion r = ConvertInstrumentProject(dir.file("out.qar"), prompter);
        EXPECT_FALSE(r.written);
        EXPECT_EQ(prompter.infos, std::vector<std::string>{"所传输的文件不是测桩仪数据文件！"});
        EXPECT_EQ(filesIn(dir.path()), before);  // nothing written, nothing deleted
    }
}

TEST(InstrumentProject, KeepingTheDownloadAndFileNames) {
    test::TempDir dir;
    const std::string folder = dir.file("site");
    // the instrument's file system may hand the names over in capitals
    fs::create_directories(folder);
    ASSERT_TRUE(test::writeFile(folder + "/QAR.PAR", projectHeader(2)));
    ASSERT_TRUE(test::writeFile(folder + "/1.QAR", pointFile(numbered(1))));
    ASSERT_TRUE(test::writeFile(folder + "/2.qar", pointFile(numbered(2))));
    const auto before = filesIn(folder);
    test::ScriptedPrompter prompter;
    InstrumentConvertOptions keep;
    keep.deleteSources = false;
    InstrumentConversion r = ConvertInstrumentFolder(folder, dir.file("out.qar"), prompter, keep);
    ASSERT_TRUE(r.written);
    EXPECT_EQ(r.convertedPoints, 2);
    EXPECT_EQ(filesIn(folder), before);

    // a project named "1" is converted onto its own first point file: the data file
    // replaces it and survives the clean-up
    test::ScriptedPrompter p2;
    r = ConvertInstrumentProject(folder + "/1.QAR", p2);
    ASSERT_TRUE(r.written);
    EXPECT_EQ(filesIn(folder), std::vector<std::string>{"1.QAR"});
    CSondaraDoc d;
    ASSERT_EQ(ReadProject(d, folder + "/1.QAR"), "");
    EXPECT_EQ(d.pointCount(), 2);
}

TEST(InstrumentProject, FailedWriteDeletesNothing) {
    test::TempDir dir;
    writeProject(dir.path(), 1, {{1, numbered(1)}});
    const auto before = filesIn(dir.path());
    test::ScriptedPrompter prompter;
    InstrumentConversion r =
        ConvertInstrumentFolder(dir.path(), dir.file("missing/out.qar"), prompter);
    EXPECT_FALSE(r.written);
    EXPECT_FALSE(r.error.empty());
    EXPECT_TRUE(prompter.infos.empty());
    EXPECT_EQ(filesIn(dir.path()), before);
}

TEST(InstrumentProject, Cli) {
    if (!std::getenv("SONDARA_CLI")) GTEST_SKIP() << "run through ctest, which names the CLI";
    test::TempDir dir;
    const std::string folder = dir.file("site");
    writeProject(folder, 3, {{1, numbered(1)}, {3, numbered(3)}});
    const std::string out = dir.file("out.qar");
    auto run = [&](const std::string& args) {
        return test::runCommand(test::cliPath() + " " + args);
    };
    const std::string q = test::shellQuote(folder) + " " + test::shellQuote(out);

    test::RunResult r = run("convert-instrument " + q + " --keep");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("2 of 3 points"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("2.qar skipped (missing)"), std::string::npos) << r.err;
    EXPECT_EQ(filesIn(folder).size(), 4u);
    CSondaraDoc d;
    ASSERT_EQ(ReadProject(d, out), "");
    EXPECT_EQ(d.pointCount(), 2);

    r = run("convert-instrument " + q);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(filesIn(folder).empty());

    r = run("convert-instrument " + q);  // nothing left to convert
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("所传输的文件不是测桩仪数据文件！"), std::string::npos) << r.err;
    EXPECT_EQ(run("convert-instrument " + test::shellQuote(folder)).exitCode, 1);
    EXPECT_EQ(run("convert-instrument " + q + " --delete").exitCode, 1);
}

}  // namespace
}  // namespace sondara
