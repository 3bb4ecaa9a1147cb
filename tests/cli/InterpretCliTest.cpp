// `sondara-cli interpret`: the JSON it prints, and the copy -o writes, whose marks and
// class the reader reads back and the report grades alike.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/analysis/ReportClass.h"
#include "core/base/Json.h"
#include "core/fileio/ProjectFile.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

std::string cli() {
    const char* c = std::getenv("SONDARA_CLI");
    return c ? c : "sondara-cli";
}

TEST(InterpretCli, JsonAndMarkedCopyAgree) {
    test::TempDir dir;
    const std::string spec = dir.file("spec.json");
    ASSERT_TRUE(test::writeFile(spec, R"({"seed": 5,
      "defaults": {"diameter": 800, "waveSpeed": 3800, "sensor": "velocity",
                   "soil": {"shaft": "soft", "toe": "medium"}},
      "piles": [
        {"pileNo": "A1", "length": 12},
        {"pileNo": "A2", "length": 14,
         "defects": [{"kind": "break", "depth": 6, "length": 0.3, "severity": 0.95}]},
        {"pileNo": "A3", "length": 13,
         "defects": [{"kind": "bulging", "depth": 5, "length": 1.2, "severity": 0.4}]}
      ]})"));
    const std::string site = dir.file("site.qar"), out = dir.file("marked.qar");
    auto sim =
        test::runCommand("\"" + cli() + "\" simulate -o \"" + site + "\" --spec \"" + spec + "\"");
    ASSERT_EQ(sim.exitCode, 0) << sim.err;

    auto r =
        test::runCommand("\"" + cli() + "\" interpret \"" + site + "\" --json -o \"" + out + "\"");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    json::Value root;
    std::string error;
    ASSERT_TRUE(json::parse(r.out, root, error)) << error << "\n" << r.out;
    const json::Value* points = root.find("points");
    ASSERT_TRUE(points && points->isArray());
    ASSERT_EQ(points->items().size(), 3u);
    ASSERT_TRUE(root.find("siteWaveSpeed"));

    CSondaraDoc doc;
    std::string readError = ReadProject(doc, out);
    ASSERT_TRUE(readError.empty()) << readError;
    ASSERT_EQ(doc.pointCount(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const json::Value& p = points->items()[i];
        EXPECT_EQ(static_cast<int>(p.find("index")->number()), i);
        const int cls = static_cast<int>(p.find("class")->number());
        const TestPoint& tp = doc.points[i];
        EXPECT_EQ(tp.integrityClass, cls);
        EXPECT_EQ(tp.toeIndex, static_cast<int>(p.find("toe")->find("index")->number()));
        // The report's grade from the marks agrees with the proposed class.
        const int grade = ReportClass(tp);
        EXPECT_EQ(grade, cls == 1 ? 0 : cls == 4 ? 2 : 1);
    }
    EXPECT_EQ(doc.points[0].integrityClass, 1);
    EXPECT_EQ(doc.points[1].integrityClass, 4);
    EXPECT_EQ(doc.points[2].integrityClass, 1);

    // Each point lists its competing readings, the evidence gap and the length remark.
    for (const json::Value& p : points->items()) {
        const json::Value* alts = p.find("alternatives");
        ASSERT_TRUE(alts && alts->isArray());
        for (const json::Value& a : alts->items()) {
            EXPECT_TRUE(a.find("class") && a.find("toe") && a.find("defects") && a.find("label"));
            EXPECT_GE(a.find("evidenceGap")->number(), 0.0);
        }
        EXPECT_TRUE(p.find("evidenceGap"));
        EXPECT_TRUE(p.find("lengthRemark"));
    }

    auto table = test::runCommand("\"" + cli() + "\" interpret \"" + site + "\" --points 2");
    EXPECT_EQ(table.exitCode, 0) << table.err;
    EXPECT_NE(table.out.find("A2"), std::string::npos) << table.out;
    auto bad = test::runCommand("\"" + cli() + "\" interpret \"" + site + "\" --points 9");
    EXPECT_EQ(bad.exitCode, 1);
}

// -o writes the clear proposals only, as 全部采用 takes them; --all writes every one.
TEST(InterpretCli, OutputTakesClearPointsUnlessAll) {
    test::TempDir dir;
    const std::string spec = dir.file("spec.json");
    ASSERT_TRUE(test::writeFile(spec, R"({"seed": 3,
      "defaults": {"diameter": 800, "waveSpeed": 3800, "sensor": "velocity",
                   "soil": {"shaft": "soft", "toe": "soft"}},
      "piles": [
        {"pileNo": "B1", "length": 11},
        {"pileNo": "B2", "length": 45, "diameter": 500,
         "soil": {"shaft": "stiff", "toe": "medium"}}
      ]})"));
    const std::string site = dir.file("site.qar");
    auto sim =
        test::runCommand("\"" + cli() + "\" simulate -o \"" + site + "\" --spec \"" + spec + "\"");
    ASSERT_EQ(sim.exitCode, 0) << sim.err;
    auto r = test::runCommand("\"" + cli() + "\" interpret \"" + site + "\" --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    json::Value root;
    std::string error;
    ASSERT_TRUE(json::parse(r.out, root, error)) << error;
    const auto& pts = root.find("points")->items();
    ASSERT_EQ(pts.size(), 2u);
    ASSERT_EQ(pts[0].find("confidence")->string(), "clear") << r.out;
    ASSERT_EQ(pts[1].find("confidence")->string(), "uncertain") << r.out;

    for (bool all : {false, true}) {
        SCOPED_TRACE(all ? "--all" : "clear only");
        const std::string out = dir.file(all ? "all.qar" : "clear.qar");
        auto w = test::runCommand("\"" + cli() + "\" interpret \"" + site + "\" -o \"" + out +
                                  "\"" + (all ? " --all" : ""));
        ASSERT_EQ(w.exitCode, 0) << w.err;
        CSondaraDoc before, after;
        ASSERT_TRUE(ReadProject(before, site).empty());
        ASSERT_TRUE(ReadProject(after, out).empty());
        EXPECT_EQ(after.points[0].toeIndex,
                  static_cast<int>(pts[0].find("toe")->find("index")->number()));
        if (all)
            EXPECT_EQ(after.points[1].toeIndex,
                      static_cast<int>(pts[1].find("toe")->find("index")->number()));
        else
            EXPECT_EQ(after.points[1].toeIndex, before.points[1].toeIndex);
    }
    auto lone = test::runCommand("\"" + cli() + "\" interpret \"" + site + "\" --all");
    EXPECT_EQ(lone.exitCode, 1);
}

}  // namespace
}  // namespace sondara
