// `sondara-cli render`: an image of the display without a screen, and its refusals.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <cstdlib>

#include "core/fileio/ProjectFile.h"
#include "render/PanePainter.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara::render {
namespace {

struct RenderCli : ::testing::Test {
    test::TempDir dir;
    std::string project;
    void SetUp() override {
        if (!std::getenv("SONDARA_CLI")) GTEST_SKIP() << "SONDARA_CLI is not set";
        std::vector<TestPoint> pts;
        for (int k = 0; k < 4; ++k)
            pts.push_back(test::sinePoint(k < 2 ? "A" : "B", 400, 50, 7.0 + k));
        CSondaraDoc d = test::makeDoc(pts);
        project = dir.file("p.qar");
        ASSERT_TRUE(WriteProject(d, project));
    }
    test::RunResult render(const std::string& args) {
        // No display at all: the command picks the offscreen platform itself.
        return test::runCommand("env -u QT_QPA_PLATFORM -u DISPLAY " + test::cliPath() +
                                " render " + test::shellQuote(project) + " " + args);
    }
};

int bluePixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += QColor(img.pixel(x, y)) == kCurveColour;
    return n;
}

TEST_F(RenderCli, PaintsEveryDomainIntoAPng) {
    struct Case {
        const char* args;
        int minHeight;
    };
    const Case cases[] = {
        {"--width 640 --height 320", 320},
        {"--set all --width 640 --height 320", 4 * 150},  // stacked panes: the whole content
        {"--domain frequency --command spectrum-envelope --width 640 --height 320", 320},
        {"--domain wavelet --second 1 --width 640 --height 320", 6 * 150},
        {"--domain time --sub 2 --first 0 --second 2 --width 640 --height 320 --cursor 300", 320},
    };
    for (const Case& c : cases) {
        const std::string out = dir.file("out.png");
        const test::RunResult r = render(std::string(c.args) + " -o " + test::shellQuote(out));
        ASSERT_EQ(r.exitCode, 0) << c.args << "\n" << r.err;
        QImage img(QString::fromStdString(out));
        ASSERT_FALSE(img.isNull()) << c.args;
        EXPECT_EQ(img.width(), 640) << c.args;
        EXPECT_GE(img.height(), c.minHeight) << c.args;
        EXPECT_GT(bluePixels(img), 300) << c.args;
    }
}

TEST_F(RenderCli, RefusesBadArgumentsAndUnwritableFiles) {
    EXPECT_EQ(render("--width 640").exitCode, 1);  // no -o
    EXPECT_EQ(render("--domain sideways -o x.png").exitCode, 1);
    EXPECT_EQ(render("--command no-such-command -o x.png").exitCode, 1);
    EXPECT_EQ(render("-o " + test::shellQuote(dir.file("no/such/dir/x.png"))).exitCode, 2);
    const test::RunResult missing = test::runCommand(
        test::cliPath() + " render " + test::shellQuote(dir.file("none.qar")) + " -o x.png");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_FALSE(missing.err.empty());
}

}  // namespace
}  // namespace sondara::render
