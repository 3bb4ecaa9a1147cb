// The reports' evaluation of a point from its defect kinds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/analysis/ReportClass.h"

namespace sondara {
namespace {

TEST(ReportClass, FromDefectKindsInAnyOrder) {
    struct Case {
        const char* what;
        std::vector<int> kinds;
        int value;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"no defects", {}, 0, "Ⅰ"},
        {"扩径 and 扩底", {1, 7}, 0, "Ⅰ"},
        {"无缺陷", {0}, 0, "Ⅰ"},
        {"unknown kinds from a file", {8, 99, -1}, 0, "Ⅰ"},
        {"缩径", {2}, 1, "Ⅱ/Ⅲ"},
        {"裂纹", {4}, 1, "Ⅱ/Ⅲ"},
        {"夹泥", {1, 5}, 1, "Ⅱ/Ⅲ"},
        {"离析", {6, 7}, 1, "Ⅱ/Ⅲ"},
        {"own name", {100}, 1, "Ⅱ/Ⅲ"},
        {"缩径 and 断桩", {2, 3}, 2, "Ⅳ"},
        {"断桩 first", {3, 2, 100}, 2, "Ⅳ"},
        {"断桩 alone", {3}, 2, "Ⅳ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestPoint p;
        p.integrityClass = 4;  // the analyst's class plays no part
        for (int k : c.kinds) {
            PileMark m;
            m.kind = k;
            p.defects.push_back(m);
        }
        EXPECT_EQ(ReportClass(p), c.value);
        EXPECT_STREQ(ReportClassText(ReportClass(p)), c.text);
    }
    EXPECT_STREQ(ReportClassText(3), "");
}

}  // namespace
}  // namespace sondara
