// The confidence rules alone: each kind of doubt names its reason, the first that holds
// wins, and a point is clear only when none holds.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/interpret/Verdict.h"

namespace sondara::interp {
namespace {

Evidence clearPoint() {
    Evidence e;
    e.toeFound = true;
    e.residual = 0.05;
    e.noise = 0.01;
    return e;
}

TEST(Verdict, EachDoubtNamesItsReason) {
    struct Case {
        const char* name;
        std::function<void(Evidence&)> change;
        const char* reason;  // nullptr: clear
    };
    const std::vector<Case> cases = {
        {"sound pile", [](Evidence&) {}, nullptr},
        {"class III well inside", [](Evidence& e) { e.minBeta = 0.7; }, nullptr},
        {"noise only", [](Evidence& e) { e.noiseOnly = true; }, "数据异常"},
        {"clipped", [](Evidence& e) { e.clipped = true; }, "波形削顶"},
        {"speed or length", [](Evidence& e) { e.speedOrLengthBad = true; }, "波速或桩长不合理"},
        {"no toe", [](Evidence& e) { e.toeFound = false; }, "未找到桩底反射"},
        {"a clear break hides the toe",
         [](Evidence& e) {
             e.toeFound = false;
             e.breakShows = true;
             e.minBeta = 0.2;
         },
         nullptr},
        {"another class close", [](Evidence& e) { e.gapOtherClass = kAlternativeMargin; },
         "多种解释"},
        {"another class far", [](Evidence& e) { e.gapOtherClass = 2 * kAlternativeMargin; },
         nullptr},
        {"nothing physics allows", [](Evidence& e) { e.allImpossible = true; }, "多种解释"},
        {"narrowing at the toe", [](Evidence& e) { e.nearToe = true; }, "多种解释"},
        {"beta 0.88", [](Evidence& e) { e.minBeta = 0.88; }, "类别临界"},
        {"beta 0.91", [](Evidence& e) { e.minBeta = 0.91; }, "类别临界"},
        {"beta 0.58", [](Evidence& e) { e.minBeta = 0.58; }, "类别临界"},
        {"beta 0.79", [](Evidence& e) { e.minBeta = 0.79; }, "类别临界"},
        {"thin narrowing of class III",
         [](Evidence& e) {
             e.minBeta = 0.7;
             e.decisiveThin = true;
         },
         "类别临界"},
        {"thin clear break",
         [](Evidence& e) {
             e.minBeta = 0.2;
             e.decisiveThin = true;
         },
         nullptr},
        {"narrowing at the blow",
         [](Evidence& e) {
             e.minBeta = 0.7;
             e.decisiveNearHead = true;
         },
         "类别临界"},
        {"poor fit", [](Evidence& e) { e.residual = 0.4; }, "拟合较差"},
        {"change at the bound", [](Evidence& e) { e.strained = true; }, "拟合较差"},
        {"echo left unexplained", [](Evidence& e) { e.unexplained = 0.03; }, "拟合较差"},
        {"small echo left", [](Evidence& e) { e.unexplained = 0.02; }, nullptr},
        {"noisy", [](Evidence& e) { e.noise = 0.05; }, "噪声较大"},
        {"first reason wins",
         [](Evidence& e) {
             e.clipped = true;
             e.toeFound = false;
             e.noise = 0.2;
         },
         "波形削顶"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Evidence e = clearPoint();
        c.change(e);
        const char* r = uncertaintyOf(e);
        if (!c.reason)
            EXPECT_EQ(r, nullptr) << r;
        else
            EXPECT_EQ(std::string(r ? r : "(clear)"), c.reason);
    }
}

TEST(Verdict, ClassBorders) {
    EXPECT_EQ(classOf(1.0), 1);
    EXPECT_EQ(classOf(0.9), 1);
    EXPECT_EQ(classOf(0.8999), 2);
    EXPECT_EQ(classOf(0.8), 2);
    EXPECT_EQ(classOf(0.79), 3);
    EXPECT_EQ(classOf(0.6), 3);
    EXPECT_EQ(classOf(0.59), 4);
}

}  // namespace
}  // namespace sondara::interp
