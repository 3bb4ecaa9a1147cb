// Simulated projects: what the points hold, their truth, the description reader, the
// data file round trip and the simulate command.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "core/base/Json.h"
#include "core/base/TextCodec.h"
#include "core/fileio/ProjectFile.h"
#include "core/model/NameLists.h"
#include "core/sim/SimProject.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

std::string sourceDir() {
    if (const char* d = std::getenv("SONDARA_SOURCE_DIR")) return d;
    std::string f = __FILE__;
    return f.substr(0, f.rfind("/tests/core/sim/"));
}

std::string utf8(std::string_view gbk) {
    return gbkToUtf8(gbk);
}

bool slowsTheWave(const SimTruth& t) {
    for (const auto& d : t.defects)
        if (d.kind == DefectKind::Segregation || d.kind == DefectKind::SoilInclusion) return true;
    return false;
}

// Everything an instrument delivers, and the truth matching it, point by point.
void expectConsistent(const CSondaraDoc& doc, const std::vector<SimPointTruth>& truth) {
    ASSERT_EQ(truth.size(), doc.points.size());
    EXPECT_EQ(versionTagOf(doc.info), "QAR16");
    EXPECT_EQ(doc.info.pointCount, doc.pointCount());
    EXPECT_EQ(doc.originalInfo, doc.info);
    EXPECT_EQ(doc.originalPoints, doc.points);
    EXPECT_EQ(doc.checkedList.size(), doc.points.size());
    EXPECT_EQ(doc.loaded, 1);
    EXPECT_EQ(doc.currentPoint, 0);
    std::int64_t previous = 0;
    for (std::size_t i = 0; i < doc.points.size(); ++i) {
        SCOPED_TRACE("point " + std::to_string(i));
        const TestPoint& p = doc.points[i];
        const SimPointTruth& t = truth[i];
        EXPECT_EQ(t.index, static_cast<int>(i));
        EXPECT_EQ(utf8(textOf(p.pileNo)), t.pileNo);
        ASSERT_EQ(p.rawCount(), p.recordedLength);
        EXPECT_EQ(p.samples, p.rawSamples);
        EXPECT_TRUE(p.steps.empty());
        EXPECT_TRUE(p.defects.empty());
        EXPECT_EQ(p.checked, 1);
        EXPECT_EQ(p.integrityClass, 0);
        EXPECT_EQ(p.lastParams.kind, 0);
        EXPECT_GT(p.lastParams.rangeMax, 0.0f);
        EXPECT_EQ(p.lastParams.rangeMin, -p.lastParams.rangeMax);
        EXPECT_EQ(p.sensorType, t.sensorType);
        EXPECT_TRUE(p.sensorType == 0 || p.sensorType == 1);
        EXPECT_EQ(p.gain, t.truth.gain);
        EXPECT_FLOAT_EQ(p.sampleInterval, static_cast<float>(t.sampleInterval));
        EXPECT_FLOAT_EQ(p.pileLength, static_cast<float>(t.pileLength));
        EXPECT_EQ(p.waveSpeed, std::lround(t.waveSpeed));
        if (p.pileTypeIndex != 100) {
            EXPECT_EQ(textOf(p.pileTypeText), PileTypeNames().gbk.at(p.pileTypeIndex));
        }

        // Head, toe and defects: ordered and inside the trace.
        EXPECT_EQ(p.headIndex, t.truth.headIndex);
        EXPECT_LE(t.truth.headIndex, t.truth.headPeakIndex);
        EXPECT_LT(t.truth.headPeakIndex, t.truth.toeIndex);
        EXPECT_LT(t.truth.toeIndex, p.rawCount());
        if (!slowsTheWave(t.truth)) {
            EXPECT_LE(std::abs(p.toeIndex - t.truth.toeIndex), 1);
        } else {
            EXPECT_LT(p.toeIndex, t.truth.toeIndex);
        }
        for (const auto& d : t.truth.defects) {
            EXPECT_GE(d.index, t.truth.headIndex);
            EXPECT_LE(d.index, t.truth.toeIndex);
            EXPECT_GE(d.depth, 0.0);
            EXPECT_LE(d.depth + d.length, t.pileLength + 1e-9);
        }
        // Nothing but noise before the blow.
        double pre = 0, blow = 0;
        for (int k = 0; k < t.truth.headIndex; ++k)
            pre = std::max(pre, double(std::fabs(p.rawSamples[k])));
        for (int k = t.truth.headIndex; k < t.truth.toeIndex; ++k)
            blow = std::max(blow, double(std::fabs(p.rawSamples[k])));
        EXPECT_LT(pre, 0.1 * blow);

        // Times as the instrument writes them, in the order of testing; cast before.
        std::int64_t when = 0, cast = 0;
        std::string dt = utf8(textOf(p.testDateTime));
        ASSERT_TRUE(parseDateTime(dt, when)) << dt;
        EXPECT_EQ(formatDateTime(when), dt);
        EXPECT_GT(when, previous);
        previous = when;
        std::string cd = utf8(textOf(p.castingDate));
        ASSERT_TRUE(parseDateTime(cd + " 00:00:00", cast)) << cd;
        EXPECT_LT(cast + 20 * 86400, when);
    }
}

TEST(SimProject, RandomProjectIsAConsistentInstrumentDelivery) {
    ProjectSpec spec = randomProjectSpec(9, 2, 11);
    ASSERT_EQ(spec.piles.size(), 9u);
    CSondaraDoc doc;
    std::vector<SimPointTruth> truth;
    std::string error;
    ASSERT_TRUE(buildProject(spec, doc, &truth, error)) << error;
    EXPECT_EQ(doc.pointCount(), 18);
    EXPECT_EQ(doc.pileCount(), 9);
    EXPECT_EQ(doc.pileMembersOf(5), (std::vector<int>{4, 5}));
    expectConsistent(doc, truth);

    // The same seed gives the same project; another seed another one.
    CSondaraDoc again, other;
    ASSERT_TRUE(buildProject(randomProjectSpec(9, 2, 11), again, nullptr, error)) << error;
    EXPECT_EQ(again.points, doc.points);
    EXPECT_EQ(again.info, doc.info);
    ASSERT_TRUE(buildProject(randomProjectSpec(9, 2, 12), other, nullptr, error)) << error;
    EXPECT_NE(other.points, doc.points);

    // Random point counts per pile stay within 1..3 and every pile is named once.
    ProjectSpec mixed = randomProjectSpec(40, 0, 5);
    std::set<std::string> names;
    for (const auto& e : mixed.piles) {
        EXPECT_GE(e.points, 1);
        EXPECT_LE(e.points, 3);
        EXPECT_TRUE(names.insert(e.pileNo).second) << e.pileNo;
        EXPECT_EQ(validatePileSpec(e.pile), "");
    }
}

TEST(SimProject, TruthJsonReadsBackAsThePointsTruth) {
    CSondaraDoc doc;
    std::vector<SimPointTruth> truth;
    std::string error;
    ProjectSpec spec = randomProjectSpec(20, 1, 3);
    ASSERT_TRUE(buildProject(spec, doc, &truth, error)) << error;
    json::Value root;
    ASSERT_TRUE(json::parse(truthToJson(truth), root, error)) << error;
    const json::Value* pts = root.find("points");
    ASSERT_TRUE(pts && pts->isArray());
    ASSERT_EQ(pts->items().size(), truth.size());
    int defects = 0;
    for (std::size_t i = 0; i < truth.size(); ++i) {
        const json::Value& p = pts->items()[i];
        EXPECT_EQ(p.find("index")->number(), static_cast<double>(i));
        EXPECT_EQ(p.find("pileNo")->string(), truth[i].pileNo);
        EXPECT_EQ(p.find("headIndex")->number(), truth[i].truth.headIndex);
        EXPECT_EQ(p.find("toeIndex")->number(), truth[i].truth.toeIndex);
        EXPECT_EQ(p.find("sampleInterval")->number(), truth[i].sampleInterval);
        const auto& ds = p.find("defects")->items();
        ASSERT_EQ(ds.size(), truth[i].truth.defects.size());
        for (std::size_t k = 0; k < ds.size(); ++k) {
            const SimDefectTruth& d = truth[i].truth.defects[k];
            int kind = static_cast<int>(d.kind);
            EXPECT_EQ(ds[k].find("kind")->number(), kind);
            EXPECT_EQ(ds[k].find("name")->string(), DefectNames().utf8.at(kind));
            EXPECT_EQ(ds[k].find("depth")->number(), d.depth);
            EXPECT_EQ(ds[k].find("length")->number(), d.length);
            EXPECT_EQ(ds[k].find("severity")->number(), d.severity);
            EXPECT_EQ(ds[k].find("index")->number(), d.index);
            ++defects;
        }
    }
    EXPECT_GT(defects, 0);
}

TEST(SimProject, BundledSampleSpecHasEveryDefectKind) {
    std::string text = test::readFile(sourceDir() + "/resources/samples/sample-spec.json");
    ASSERT_FALSE(text.empty());
    ProjectSpec spec;
    std::string error;
    ASSERT_TRUE(parseProjectSpec(text, spec, error)) << error;
    EXPECT_EQ(spec.piles.size(), 12u);
    CSondaraDoc doc;
    std::vector<SimPointTruth> truth;
    ASSERT_TRUE(buildProject(spec, doc, &truth, error)) << error;
    expectConsistent(doc, truth);
    EXPECT_EQ(doc.pileCount(), 12);

    std::set<int> kinds;
    int intact = 0;
    for (std::size_t i = 0; i < truth.size(); ++i) {
        for (const auto& d : truth[i].truth.defects) kinds.insert(static_cast<int>(d.kind));
        intact += truth[i].truth.defects.empty();
    }
    EXPECT_EQ(kinds, (std::set<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_GT(intact, 0);

    // What the description says, as the points store it.
    EXPECT_EQ(utf8(textOf(doc.info.projectName)), "示例花园3#楼桩基工程");
    EXPECT_EQ(utf8(textOf(doc.points[0].testDateTime)), "2026-11-03 08:42:15");
    EXPECT_EQ(utf8(textOf(doc.points[0].castingDate)), "2026-09-22");
    const TestPoint& last = doc.points.back();
    EXPECT_EQ(utf8(textOf(last.pileNo)), "C-1");
    EXPECT_EQ(last.pileTypeIndex, 9);
    EXPECT_EQ(utf8(textOf(last.testDateTime)), "2026-11-04 09:05:40");
    EXPECT_EQ(last.pileDiameter, 500);
    int pipe = doc.firstPointOfPile(9);
    EXPECT_EQ(utf8(textOf(doc.points[pipe].pileNo)), "G-1");
    EXPECT_EQ(doc.points[pipe].sensorType, 1);
    EXPECT_EQ(doc.points[pipe].pileTypeIndex, 6);
    int base = doc.firstPointOfPile(8);
    EXPECT_EQ(utf8(textOf(doc.points[base].remark)), "扩底直径1600mm");
    EXPECT_NEAR(truth[base].truth.defects.at(0).depth, 14.0 - 1.2, 1e-9);
}

TEST(SimProject, DescriptionErrorsNameTheEntry) {
    const std::string pile = R"("pileNo": "A1", "length": 12)";
    auto project = [](const std::string& piles, const std::string& extra = "") {
        return "{" + extra + "\"piles\": [" + piles + "]}";
    };
    const std::pair<std::string, const char*> cases[] = {
        {"{\"piles\": [", "JSON line 1, column 12: unexpected end of input"},
        {"[]", "(top): expected an object"},
        {project("{" + pile + "}", "\"colour\": 1, "), "(top): unknown key \"colour\""},
        {"{\"projectName\": \"x\"}", "missing \"piles\""},
        {project(""), "piles: no piles"},
        {project("{\"length\": 12}"), "piles[0]: missing \"pileNo\""},
        {project("{" + pile + ", \"lenght\": 3}"), "piles[0]: unknown key \"lenght\""},
        {project("{" + pile + ", \"waveSpeed\": \"fast\"}"),
         "piles[0].waveSpeed: expected a number"},
        {project("{" + pile + ", \"points\": 1.5}"), "piles[0].points: expected a whole number"},
        {project("{" + pile + ", \"diameter\": 50}"), "piles[0].diameter: 50 is outside 100..5000"},
        {project("{" + pile + "}, {" + pile + "}"),
         "piles[1].pileNo: \"A1\" repeats the previous pile"},
        {project("{" + pile + ", \"soil\": {\"toe\": \"clay\"}}"),
         "piles[0].soil.toe: unknown toe \"clay\""},
        {project("{" + pile + ", \"defects\": [{\"kind\": \"hole\", \"depth\": 3}]}"),
         "piles[0].defects[0].kind: unknown defect kind \"hole\""},
        {project("{" + pile + ", \"defects\": [{\"kind\": \"necking\"}]}"),
         "piles[0].defects[0]: missing \"depth\""},
        {project("{" + pile + ", \"defects\": [{\"kind\": 2, \"depth\": 11.5, \"length\": 1}]}"),
         "piles[0]: defect 1: 11.5..12.5 m lies outside the pile"},
        {project("{" + pile + ", \"testDateTime\": \"2026-02-30 10:00:00\"}"),
         "piles[0].testDateTime: expected \"YYYY-MM-DD hh:mm:ss\""},
        {project("{" + pile + "}", "\"defaults\": {\"defects\": []}, "),
         "defaults: \"pileNo\", \"testDateTime\""},
        {project("{\"pileNo\": \"" + std::string(22, 'x') + "\"}"),
         "piles[0].pileNo: longer than 21 bytes"},
    };
    for (const auto& [text, message] : cases) {
        ProjectSpec spec;
        std::string error;
        EXPECT_FALSE(parseProjectSpec(text, spec, error)) << text;
        EXPECT_NE(error.find(message), std::string::npos) << text << "\n gave: " << error;
        EXPECT_TRUE(spec.piles.empty());
    }

    // A pile whose toe echo would fall beyond the record is refused when built.
    ProjectSpec spec;
    std::string error;
    ASSERT_TRUE(
        parseProjectSpec(project("{" + pile + ", \"dt\": 10, \"samples\": 256}"), spec, error))
        << error;
    CSondaraDoc doc;
    EXPECT_FALSE(buildProject(spec, doc, nullptr, error));
    EXPECT_NE(error.find("pile 1 (A1): the toe echo (sample"), std::string::npos) << error;
    EXPECT_EQ(doc.pointCount(), 0);
}

TEST(SimProject, ProjectSurvivesTheDataFile) {
    test::TempDir dir;
    CSondaraDoc doc, back;
    std::string error;
    ASSERT_TRUE(buildProject(randomProjectSpec(5, 3, 9), doc, nullptr, error)) << error;
    ASSERT_TRUE(WriteProject(doc, dir.file("sim.qar"), &error)) << error;
    ASSERT_EQ(ReadProject(back, dir.file("sim.qar")), "");
    EXPECT_EQ(back.info, doc.info);
    EXPECT_EQ(back.points, doc.points);
    EXPECT_EQ(back.originalPoints, doc.originalPoints);
}

TEST(SimProject, SimulateCommandWritesProjectAndTruth) {
    if (!std::getenv("SONDARA_CLI")) GTEST_SKIP() << "SONDARA_CLI is not set (run through ctest)";
    test::TempDir dir;
    const std::string cli = test::cliPath();
    auto run = [&](const std::string& args) { return test::runCommand(cli + " simulate " + args); };

    auto r = run("-o " + test::shellQuote(dir.file("a.qar")) +
                 " --piles 4 --points-per-pile 2 --seed 8 --truth " +
                 test::shellQuote(dir.file("a.json")));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    CSondaraDoc doc;
    ASSERT_EQ(ReadProject(doc, dir.file("a.qar")), "");
    EXPECT_EQ(doc.pointCount(), 8);
    json::Value truth;
    std::string error;
    ASSERT_TRUE(json::parse(test::readFile(dir.file("a.json")), truth, error)) << error;
    ASSERT_EQ(truth.find("points")->items().size(), 8u);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(truth.find("points")->items()[i].find("headIndex")->number(),
                  doc.points[i].headIndex);

    // The same as building the project in the library.
    CSondaraDoc direct;
    ASSERT_TRUE(buildProject(randomProjectSpec(4, 2, 8), direct, nullptr, error)) << error;
    EXPECT_EQ(direct.points, doc.points);

    EXPECT_EQ(run("--piles 3").exitCode, 1);  // no output
    EXPECT_EQ(run("-o x.qar --piles 0").exitCode, 1);
    EXPECT_EQ(run("-o x.qar --seed 12x").exitCode, 1);
    EXPECT_EQ(run("-o x.qar --piles 5000 --points-per-pile 2").exitCode, 1);
    EXPECT_EQ(run("-o x.qar --spec s.json --piles 2").exitCode, 1);
    EXPECT_EQ(run("-o x.qar --spec " + test::shellQuote(dir.file("missing.json"))).exitCode, 2);
    test::writeFile(dir.file("bad.json"), "{\"piles\": [{\"pileNo\": \"A1\", \"length\": -1}]}");
    auto bad = run("-o " + test::shellQuote(dir.file("b.qar")) + " --spec " +
                   test::shellQuote(dir.file("bad.json")));
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("piles[0].length: -1 is outside 0.5..120"), std::string::npos)
        << bad.err;
    EXPECT_EQ(run("-o " + test::shellQuote(dir.file("no/such/dir/c.qar")) + " --piles 1").exitCode,
              2);
}

}  // namespace
}  // namespace sondara
