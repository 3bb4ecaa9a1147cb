// Legibility of the display: the active pane of several stands out; mark labels sit
// on a white box so that traces under them do not strike them through.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdlib>

#include "core/fileio/ProjectFile.h"
#include "render/PanePainter.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara::render {
namespace {

int countColour(const QImage& img, const QColor& c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += QColor(img.pixel(x, y)).rgb() == c.rgb();
    return n;
}

TEST(Legibility, OnlyTheActivePaneOfSeveralHasTheStrongFrame) {
    if (!std::getenv("SONDARA_CLI")) GTEST_SKIP() << "SONDARA_CLI is not set";
    test::TempDir dir;
    std::vector<TestPoint> pts;
    for (int k = 0; k < 3; ++k) pts.push_back(test::sinePoint("A", 400, 40, 9.0));
    CSondaraDoc d = test::makeDoc(pts);
    const std::string project = dir.file("p.qar");
    ASSERT_TRUE(WriteProject(d, project));
    auto render = [&](const std::string& args, const std::string& out) {
        auto r = test::runCommand("env -u DISPLAY QT_QPA_PLATFORM=offscreen " + test::cliPath() +
                                  " render " + test::shellQuote(project) + " -o " +
                                  test::shellQuote(out) + " --width 600 --height 600 " + args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return QImage(QString::fromStdString(out));
    };
    const QImage multi = render("--domain integrity --set all --active 1", dir.file("m.png"));
    ASSERT_FALSE(multi.isNull());
    // the frame of the active (second) pane: about twice its perimeter, in the cue colour
    const int framed = countColour(multi, kActivePaneColour);
    EXPECT_GT(framed, 2 * 600);
    // nothing of it in the top pane's upper rows
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < multi.width(); ++x)
            ASSERT_NE(QColor(multi.pixel(x, y)).rgb(), kActivePaneColour.rgb()) << x << "," << y;
    const QImage single = render("--domain integrity --set single", dir.file("s.png"));
    EXPECT_LT(countColour(single, kActivePaneColour), 50);
}

}  // namespace
}  // namespace sondara::render
