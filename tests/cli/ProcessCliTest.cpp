// The processing commands of sondara-cli: `trace OP` runs the replay code on stdin,
// `process` commits steps to the chosen points of a project file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/fileio/ProjectFile.h"
#include "core/processing/ProcessingChain.h"
#include "core/processing/TraceOps.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using test::cliPath;
using test::runCommand;
using test::shellQuote;

struct CliProcessing : ::testing::Test {
    test::TempDir dir;
    void SetUp() override {
        if (!std::getenv("SONDARA_CLI")) GTEST_SKIP() << "SONDARA_CLI not set (run through ctest)";
    }
    test::RunResult cli(const std::string& args, const std::string& in = {}) {
        return runCommand(cliPath() + " " + args, in);
    }
};

std::string lines(const std::vector<float>& v) {
    std::string s;
    char buf[32];
    for (float x : v) {
        std::snprintf(buf, sizeof buf, "%.9g\n", x);
        s += buf;
    }
    return s;
}

std::vector<float> parse(const std::string& out) {
    std::vector<float> v;
    std::istringstream in(out);
    double x;
    while (in >> x) v.push_back(static_cast<float>(x));
    return v;
}

std::vector<float> trace(int n) {
    std::vector<float> x(n);
    for (int i = 0; i < n; ++i) x[i] = static_cast<float>(std::sin(i * 0.2) + 0.01 * i);
    return x;
}

TEST_F(CliProcessing, TraceRunsTheOperationWithItsOptions) {
    const std::vector<float> x = trace(300);
    std::vector<float> expected(300);
    ShiftTrace(x.data(), 300, expected.data(), -4, 0.5f, 1, 20, 120);
    auto r =
        cli("trace shift --shiftSamples -4 --shiftMv 0.5 --shiftPartial 1 --shiftStart 20 "
            "--shiftEnd 120",
            lines(x));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(parse(r.out), expected);

    IntegrateTrace(x.data(), 300, expected.data(), 15,
                   15 + 200);  // toe from 10 m at 4000 m/s, 25 us
    r = cli("trace integrate --head 15 --toe 0 --length 10 --speed 4000 --dt 25", lines(x));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(parse(r.out), expected);
}

TEST_F(CliProcessing, TraceRejectsForeignOptionsAndBadValues) {
    for (const char* args :
         {"smooth --upperFreqHz 3", "smooth --smoothPoints 2.5", "integrate --head 99999",
          "smooth stray", "amplitude --second", "fft --display", "average"}) {
        auto r = cli(std::string("trace ") + args, "1\n2\n");
        EXPECT_EQ(r.exitCode, 1) << args;
        EXPECT_NE(r.err.find("sondara-cli trace "), std::string::npos) << args << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << args;
    }
}

TEST_F(CliProcessing, TraceOptionValuesFlagsAndFiles) {
    const std::string x = "1\n2\n3\n4\n";
    // a bare option means 1, a negative number is a value, the last repeat counts
    EXPECT_EQ(cli("trace smooth --smoothPoints", x).out,
              cli("trace smooth --smoothPoints 1", x).out);
    EXPECT_EQ(cli("trace shift --shiftMv 7 --shiftMv -0.5", x).out, "0.5\n1.5\n2.5\n3.5\n");
    auto display = cli("trace amplitude --display --dt 20", x);
    ASSERT_EQ(display.exitCode, 0) << display.err;
    EXPECT_EQ(display.out.rfind("0 ", 0), 0u) << display.out;  // "kHz value" from 0 kHz

    const std::string a = dir.file("a.txt"), b = dir.file("b.txt");
    test::writeFile(a, x);
    test::writeFile(b, "3\n2\n1\n0\n");
    EXPECT_EQ(cli("trace average " + shellQuote(a) + " " + shellQuote(b)).out, "2\n2\n2\n2\n");
    EXPECT_EQ(cli("trace average " + shellQuote(dir.file("none.txt"))).exitCode, 2);
}

TEST_F(CliProcessing, ProcessAppendsToTheChosenPointsAndSaves) {
    CSondaraDoc doc;
    for (int i = 0; i < 3; ++i) {
        TestPoint p;
        p.sampleInterval = 20.0f;
        p.waveSpeed = 4000;
        p.headIndex = 10;
        p.rawSamples = trace(512);
        p.samples = p.rawSamples;
        doc.points.push_back(p);
    }
    doc.points[2].steps = {makeStep(ProcessKind::Reverse)};
    doc.points[2].lastParams.ampFactor = 3.0f;  // the first target's remembered factor
    RestoreChains(doc, {0, 1, 2});
    doc.originalPoints = doc.points;
    const std::string in = dir.file("in.qar"), out = dir.file("out.qar");
    ASSERT_TRUE(WriteProject(doc, in));

    auto r = cli("process " + shellQuote(in) + " --points 3,1 --step \"Filter upperFreqHz=800\" " +
                 "--step Amplify -o " + shellQuote(out));
    ASSERT_EQ(r.exitCode, 0) << r.err;

    CSondaraDoc back;
    ASSERT_EQ(ReadProject(back, out), "");
    ASSERT_EQ(back.pointCount(), 3);
    EXPECT_EQ(back.points[1].stepCount(), 0);
    ASSERT_EQ(back.points[0].stepCount(), 2);
    ASSERT_EQ(back.points[2].stepCount(), 3);
    for (int i : {0, 2}) {
        const TestPoint& p = back.points[i];
        EXPECT_EQ(p.steps[p.stepCount() - 2].upperFreqHz, 800.0f);
        EXPECT_EQ(p.steps.back().ampFactor, 3.0f);
        TestPoint q = p;
        ReplayChain(q);
        EXPECT_EQ(p.samples, q.samples) << i;
        EXPECT_EQ(p.lastParams.kind, static_cast<int>(ProcessKind::Amplify));
    }
    EXPECT_EQ(back.originalPoints[0].stepCount(), 0);  // the original set is not processed
}

TEST_F(CliProcessing, ProcessUsageErrors) {
    const std::string none = dir.file("none.qar"), out = dir.file("o.qar");
    EXPECT_EQ(
        cli("process " + shellQuote(none) + " --all --step Reverse -o " + shellQuote(out)).exitCode,
        2);
    EXPECT_EQ(cli("process x.qar --all --step \"Filter smoothPoints=3\" -o o.qar").exitCode, 1);
    EXPECT_EQ(cli("process x.qar --all --step Bogus -o o.qar").exitCode, 1);
    EXPECT_EQ(cli("process x.qar --points 2-1 --step Reverse -o o.qar").exitCode, 1);
    EXPECT_EQ(cli("process x.qar --step Reverse -o o.qar").exitCode, 1);
    EXPECT_EQ(cli("process x.qar --all -o o.qar").exitCode, 1);
}

}  // namespace
}  // namespace sondara
