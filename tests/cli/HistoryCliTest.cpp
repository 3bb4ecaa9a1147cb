// `sondara-cli history`: the processing history list of a display's target points.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/fileio/ProjectFile.h"
#include "core/processing/ProcessingChain.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

using test::runCommand;
using test::shellQuote;

class HistoryCli : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("SONDARA_CLI")) GTEST_SKIP() << "SONDARA_CLI not set (run through ctest)";
        CSondaraDoc doc;
        for (int i = 0; i < 2; ++i) {
            TestPoint p = test::pilePoint();
            for (int k = 0; k < 1024; ++k)
                p.rawSamples[static_cast<size_t>(k)] = static_cast<float>((k % 37) - 18);
            p.samples = p.rawSamples;
            doc.points.push_back(p);
        }
        CommitRequest r;
        r.targets = {0, 1};
        r.kind = ProcessKind::Filter;
        CommitProcessing(doc, r);  // one command: the same bytes on both points
        r.targets = {0};
        r.kind = ProcessKind::Rotate;
        CommitProcessing(doc, r, [](ProcessStep& s, const PreviewFn&) {
            s.rotAngle = 0.5236f;
            return DialogResult::Accepted;
        });
        doc.originalPoints = doc.points;
        ASSERT_TRUE(WriteProject(doc, dir.file("h.qar")));
    }

    test::RunResult history(const std::string& rest) {
        return runCommand(test::cliPath() + " history " + shellQuote(dir.file("h.qar")) + " " +
                          rest);
    }

    test::TempDir dir;
};

TEST_F(HistoryCli, ListsTheMergedChainWithDetails) {
    auto r = history("--set all --scope all");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "targets: 1 2\n"
              "1 数字滤波\n    低通\n    上限频率:300.00HZ\n"
              "2 <不一致>\n");
    // The current trace alone (point 1 is current and active) has both steps.
    r = history("--point 1");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "targets: 1\n"
              "1 数字滤波\n    低通\n    上限频率:300.00HZ\n"
              "2 波形旋转\n    整体旋转\n    旋转角度:30.00°\n");
    // Wavelet analysis with no pane active yet acts on the current point.
    r = history("--domain wavelet --point 2 --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"targets\":[1],\"entries\":[{\"index\":0,\"kind\":3,\"name\":\"数字滤波\","
              "\"details\":\"低通\\r\\n上限频率:300.00HZ\\r\\n\"}]}\n");
}

TEST_F(HistoryCli, ReadsOnly) {
    auto r = history("-o " + shellQuote(dir.file("x.qar")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("usage: sondara-cli history"), std::string::npos);
    r = runCommand(test::cliPath() + " history " + shellQuote(dir.file("missing.qar")));
    EXPECT_EQ(r.exitCode, 2);
}

}  // namespace
}  // namespace sondara
