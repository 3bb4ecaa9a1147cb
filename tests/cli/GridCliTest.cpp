// `sondara-cli grid`: the information tables printed for a display, and cell edits
// written to a new file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/base/TextCodec.h"
#include "core/fileio/ProjectFile.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using test::runCommand;
using test::shellQuote;

class GridCli : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("SONDARA_CLI")) GTEST_SKIP() << "SONDARA_CLI not set (run through ctest)";
        std::vector<TestPoint> pts;
        for (int i = 0; i < 3; ++i) {
            TestPoint p = test::simplePoint(i < 2 ? "A1" : "B2", 256);
            p.pileDiameter = static_cast<std::int16_t>(500 + i);
            setText(p.testDateTime,
                    "2022-03-0" + std::to_string(i + 1) + " 09:00:0" + std::to_string(i));
            pts.push_back(std::move(p));
        }
        CSondaraDoc doc = test::makeDoc(std::move(pts));
        setText(doc.info.testingUnit, utf8ToGbk("检测站"));
        ASSERT_TRUE(WriteProject(doc, dir.file("base.qar")));
    }

    test::RunResult grid(const std::string& rest) {
        return runCommand(test::cliPath() + " grid " + shellQuote(dir.file("base.qar")) + " " +
                          rest);
    }

    CSondaraDoc readBack(const std::string& name) {
        CSondaraDoc doc;
        EXPECT_EQ(ReadProject(doc, dir.file(name)), "");
        return doc;
    }

    test::TempDir dir;
};

TEST_F(GridCli, PrintsTheThreeTablesForTheDisplay) {
    test::RunResult r = grid("--set all");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("[工程信息]\n序号\t桩数\t测点数\t检测单位\t工程名称\n1\t2\t3\t检测站\t"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\n3\tB2\t502\t0.00\t4000\t2022-03-03\t09:00:02\t"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("[分析参数]\n序号\t数字滤波"), std::string::npos);

    // the single-trace display lists the current point only
    r = grid("--point 2 --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"rowPoints\":[2]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("{\"title\":\"桩径(mm)\",\"width\":70,\"editable\":true}"),
              std::string::npos);
}

TEST_F(GridCli, EditsGoThroughTheGridRulesAndAreWritten) {
    test::RunResult r = grid("--set all -o " + shellQuote(dir.file("a.qar")) +
                             " --edit 1 桩径 800 --scope multiple");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "changed\n");
    CSondaraDoc a = readBack("a.qar");
    for (const TestPoint& p : a.points) EXPECT_EQ(p.pileDiameter, 800);

    r = grid("--set all -o " + shellQuote(dir.file("b.qar")) + " --edit 3 检测时间 11:00:02");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    CSondaraDoc b = readBack("b.qar");
    EXPECT_EQ(textOf(b.points[2].testDateTime), "2022-03-03 11:00:02");
    EXPECT_EQ(textOf(b.points[1].testDateTime), "2022-03-02 09:00:01");

    r = grid("-o " + shellQuote(dir.file("c.qar")) + " --edit 1 检测单位 检测站");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "no change\n");
    r = grid("-o " + shellQuote(dir.file("c.qar")) + " --table project --edit 1 5 大桥");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(gbkToUtf8(textOf(readBack("c.qar").info.projectName)), "大桥");
}

TEST_F(GridCli, RefusedEditsWriteNothing) {
    const std::string out = " -o " + shellQuote(dir.file("x.qar"));
    for (const char* rest : {"--edit 1 桩长 9", "--edit 2 桩径 9", "--edit 1 检测时间 1:2",
                             "--edit 1 完整性判别 V类桩", "--edit 1 颜色 9", "--edit 1 桩径"}) {
        test::RunResult r = grid(std::string(rest) + out);
        EXPECT_EQ(r.exitCode, 1) << rest;
        EXPECT_NE(r.err.find("grid:"), std::string::npos) << rest;
    }
    EXPECT_EQ(grid("--edit 1 桩径 9").exitCode, 1);  // no -o
    EXPECT_TRUE(test::readFile(dir.file("x.qar")).empty());
}

}  // namespace
}  // namespace sondara
