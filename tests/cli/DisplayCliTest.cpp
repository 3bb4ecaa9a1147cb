// sondara-cli display: panes, targets and readouts of a display as JSON, display
// commands written into the project.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace sondara
