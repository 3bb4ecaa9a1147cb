// sondara-cli display: panes, targets and readouts of a display as JSON, display
// commands written into the project.
#include <gtest/gtest.h>

#include "core/base/TextCodec.h"
#include "core/fileio/ProjectFile.h"
#include "support/DisplayTestSupport.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using displaytest::docOf;

TEST(DisplayCli, PrintsPanesTargetsAndWritesStates) {
    test::TempDir dir;
    CSondaraDoc doc = docOf(4);
    setVersionTag(doc.info, "QAR16");
    doc.originalPoints = doc.points;
    const std::string in = dir.file("in.qar"), out = dir.file("out.qar");
    ASSERT_TRUE(WriteProject(doc, in));

    const auto r = test::runCommand(test::cliPath() + " display " + test::shellQuote(in) +
                                    " --set all --scope all --width 900 --height 400"
                                    " --command fill-positive --cursor 400 -o " +
                                    test::shellQuote(out) + " --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"title\":\"NO.4\""), std::string::npos);
    EXPECT_NE(r.out.find("\"targets\":{\"points\":[0,1,2,3]"), std::string::npos);
    EXPECT_NE(r.out.find("\"readout\":[\"A="), std::string::npos);
    EXPECT_NE(r.out.find("\"changedPoints\":[0,1,2,3]"), std::string::npos);
    CSondaraDoc saved;
    ASSERT_TRUE(ReadProject(saved, out).empty());
    EXPECT_EQ(saved.points[3].lastParams.viewStates[0].fill, 1);

    EXPECT_EQ(test::runCommand(test::cliPath() + " display " + test::shellQuote(in) +
                               " --command nonsense")
                  .exitCode,
              1);
    EXPECT_EQ(test::runCommand(test::cliPath() + " display " + dir.file("missing.qar")).exitCode,
              2);
}

// SONDARA_LANGUAGE=en: the labels the English window's pane draws (head and toe, a
// standard defect's name, the information lines); the user's own names as stored, the
// Chinese run and the saved project unchanged.
TEST(DisplayCli, FollowsTheLanguageOfTheEnvironment) {
    test::TempDir dir;
    CSondaraDoc doc = docOf(2);
    setVersionTag(doc.info, "QAR16");
    TestPoint& p = doc.points[0];
    p.pileTypeIndex = 1;
    for (auto [name, position] : {std::pair{"缩径", 400}, std::pair{"蜂窝", 600}}) {
        PileMark m;
        m.position = position;
        m.kind = std::string(name) == "缩径" ? 2 : 100;
        setText(m.name, utf8ToGbk(name));
        p.defects.push_back(m);
    }
    doc.originalPoints = doc.points;
    const std::string in = dir.file("in.qar"), out = dir.file("out.qar");
    ASSERT_TRUE(WriteProject(doc, in));
    const std::string args = " display " + test::shellQuote(in) +
                             " --set single --point 1 --width 900 --height 400 --json";

    const auto en = test::runCommand("SONDARA_LANGUAGE=en " + test::cliPath() + args + " -o " +
                                     test::shellQuote(out));
    ASSERT_EQ(en.exitCode, 0) << en.err;
    for (const char* shown :
         {"\"label\":\"Pile Head\"", "\"label\":\"Pile Toe\"", "\"Necking【", "\"蜂窝【",
          "\"Pile No.:P0\"", "\"Dia.=", "\"Length=16.00m\"", "\"Speed=4000m/s\""})
        EXPECT_NE(en.out.find(shown), std::string::npos) << shown << "\n" << en.out;
    for (const char* chinese : {"桩头", "桩底", "缩径", "桩号", "桩径", "桩长", "波速"})
        EXPECT_EQ(en.out.find(chinese), std::string::npos) << chinese;
    CSondaraDoc saved;
    ASSERT_TRUE(ReadProject(saved, out).empty());
    EXPECT_EQ(gbkToUtf8(textOf(saved.points[0].defects[0].name)), "缩径");

    const auto zh = test::runCommand(test::cliPath() + args);
    ASSERT_EQ(zh.exitCode, 0) << zh.err;
    for (const char* shown :
         {"\"label\":\"桩头\"", "\"缩径【", "\"蜂窝【", "\"桩号:P0\"", "\"桩长=16.00m\""})
        EXPECT_NE(zh.out.find(shown), std::string::npos) << shown << "\n" << zh.out;
}

}  // namespace
}  // namespace sondara
