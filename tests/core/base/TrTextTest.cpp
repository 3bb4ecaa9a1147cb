// The shown texts of the core: translated while a translator is set, Chinese inside a
// SourceTextsScope (on this thread and on the threads of its work), and a format only
// translated when its conversions match.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/base/TrNoop.h"
#include "core/model/NameLists.h"
#include "core/processing/ParallelFor.h"

namespace sondara {
namespace {

std::string fake(const char* text) {
    const std::string t = text;
    if (t == "桩头") return "Pile Head";
    if (t == "缩径") return "Necking";
    if (t == "第%d级 平滑信号") return "Level %s approximation";  // a faulty translation
    if (t == "第%d级 细节信号") return "Level %d detail";
    return {};  // no translation
}

struct Translated : ::testing::Test {
    void SetUp() override { SetTextTranslator(&fake); }
    void TearDown() override { SetTextTranslator(nullptr); }
};

TEST_F(Translated, ShownTextsFollowTheTranslatorExceptWhereTheSourceIsAskedFor) {
    EXPECT_EQ(TrText("桩头"), "Pile Head");
    EXPECT_EQ(TrText("桩底"), "桩底");  // no translation: the text itself
    EXPECT_EQ(TrFormat("第%d级 细节信号"), "Level %d detail");
    EXPECT_EQ(TrFormat("第%d级 平滑信号"), "第%d级 平滑信号");  // %s for %d is never used
    EXPECT_EQ(ShownName(DefectNames(), "缩径"), "Necking");
    EXPECT_EQ(ShownName(DefectNames(), "桩头"), "桩头");  // not a defect name: as stored
    EXPECT_EQ(SourceName(DefectNames(), "Necking"), "缩径");
    EXPECT_EQ(SourceName(DefectNames(), "Pile Head"), "Pile Head");
    {
        const SourceTextsScope chinese;
        EXPECT_EQ(TrText("桩头"), "桩头");
        EXPECT_FALSE(TextsTranslated());
        // the work it hands to other threads keeps Chinese too; other threads do not
        std::string other;
        std::thread([&] { other = TrText("桩头"); }).join();
        EXPECT_EQ(other, "Pile Head");
        setProcessingThreads(2);
        std::string slices[2];
        parallelFor(2, true, [&](int b, int e) {
            for (int i = b; i < e; ++i) slices[i] = TrText("桩头");
        });
        setProcessingThreads(0);
        EXPECT_EQ(slices[0], "桩头");
        EXPECT_EQ(slices[1], "桩头");
    }
    EXPECT_EQ(TrText("桩头"), "Pile Head");
    SetTextTranslator(nullptr);
    EXPECT_EQ(TrText("桩头"), "桩头");
}

}  // namespace
}  // namespace sondara
