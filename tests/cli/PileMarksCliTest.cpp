// `sondara-cli mark`: the marks of one point from a script, with the messages and
// questions a user would see.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/base/TextCodec.h"
#include "core/fileio/ProjectFile.h"
#include "core/model/NameLists.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using test::runCommand;
using test::shellQuote;

class MarkCli : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("SONDARA_CLI")) GTEST_SKIP() << "SONDARA_CLI not set (run through ctest)";
        TestPoint p = test::pilePoint();
        setText(p.pileNo, "A1");
        CSondaraDoc doc;
        doc.points = {p};
        doc.originalPoints = doc.points;
        ASSERT_TRUE(WriteProject(doc, dir.file("base.qar")));
    }

    test::RunResult mark(const std::string& in, const std::string& out, const std::string& rest) {
        return runCommand(test::cliPath() + " mark " + shellQuote(dir.file(in)) + " -o " +
                          shellQuote(dir.file(out)) + " " + rest);
    }

    TestPoint readBack(const std::string& name) {
        CSondaraDoc doc;
        EXPECT_EQ(ReadProject(doc, dir.file(name)), "");
        EXPECT_EQ(doc.pointCount(), 1);
        return doc.points.empty() ? TestPoint{} : doc.points[0];
    }

    test::TempDir dir;
};

TEST_F(MarkCli, ActionsShowTheirMessagesAndAreSaved) {
    // refused actions show their messages, and then nothing is written
    auto r = mark("base.qar", "a.qar",
                  "--point 1 head 550 toe 600 defect 300 断桩 defect 302 扩径 defect-own 400 "
                  "' 空洞 ' class 'II类桩 '");
    ASSERT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("桩头位置应设置在桩尾之前！"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("缺陷间距过小！"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("head 550: refused"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("toe 600: done"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("defect 302 扩径: refused"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.qar")));

    r = mark("base.qar", "a.qar",
             "--point 1 toe 600 defect 300 断桩 defect-own 400 ' 空洞 ' class 'II类桩 '");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    TestPoint p = readBack("a.qar");
    EXPECT_EQ(p.headIndex, 100);
    EXPECT_EQ(p.toeIndex, 600);
    EXPECT_EQ(p.waveSpeed, 3200);  // the length is kept by default
    EXPECT_EQ(p.integrityClass, 2);
    ASSERT_EQ(p.defectCount(), 2);
    EXPECT_EQ(p.defects[0].kind, 3);
    EXPECT_EQ(textOf(p.defects[0].name), DefectNames().gbk[3]);
    EXPECT_EQ(p.defects[1].kind, 100);
    EXPECT_EQ(textOf(p.defects[1].name), utf8ToGbk("空洞"));

    // Keep-speed: the toe recomputes the length instead.
    r = mark("a.qar", "b.qar", "--point 1 follow keep-speed autotoe 12 delete-defect 2");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    p = readBack("b.qar");
    EXPECT_EQ(p.toeIndex, 100 + 375);  // 12 m at 3200 m/s, 20 us
    EXPECT_FLOAT_EQ(p.pileLength, 12.0f);
    EXPECT_EQ(p.defectCount(), 1);
}

TEST_F(MarkCli, QuestionsAreAnsweredByYesOrNo) {
    ASSERT_EQ(mark("base.qar", "a.qar", "--point 1 defect 200 缩径").exitCode, 0);
    const std::string q = "此设置产生超范围缺陷，是否让系统自动删除掉？";

    // 否 keeps the defect; the head is placed all the same
    auto no = mark("a.qar", "no.qar", "--point 1 head 250");
    ASSERT_EQ(no.exitCode, 0) << no.err;
    EXPECT_NE(no.err.find(q + " [否]"), std::string::npos) << no.err;
    EXPECT_EQ(readBack("no.qar").defectCount(), 1);
    EXPECT_EQ(readBack("no.qar").headIndex, 250);

    auto yes = mark("a.qar", "yes.qar", "--yes --point 1 head 250");
    ASSERT_EQ(yes.exitCode, 0) << yes.err;
    EXPECT_NE(yes.err.find(q + " [是]"), std::string::npos) << yes.err;
    EXPECT_EQ(readBack("yes.qar").defectCount(), 0);
    EXPECT_EQ(readBack("yes.qar").headIndex, 250);

    // Dragging asks nothing and keeps the defect.
    auto drag = mark("a.qar", "drag.qar", "--yes --point 1 drag-head 250");
    EXPECT_EQ(drag.err, "");
    EXPECT_EQ(readBack("drag.qar").defectCount(), 1);
}

TEST_F(MarkCli, BadArgumentsAndFiles) {
    struct Case {
        const char* in;
        const char* rest;
        int exitCode;
    };
    for (const Case& c :
         {Case{"base.qar", "head 10", 1}, Case{"base.qar", "--point 2 head 10", 1},
          Case{"base.qar", "--point 0 head 10", 1}, Case{"base.qar", "--point 1", 1},
          Case{"base.qar", "--point 1 defect 200 空洞", 1}, Case{"base.qar", "--point 1 head x", 1},
          Case{"base.qar", "--point 1 follow sideways", 1},
          Case{"missing.qar", "--point 1 head 10", 2}}) {
        SCOPED_TRACE(c.rest);
        auto r = mark(c.in, "out.qar", c.rest);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_FALSE(r.err.empty());
    }
}

}  // namespace
}  // namespace sondara
