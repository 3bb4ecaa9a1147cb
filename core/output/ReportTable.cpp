#include "core/output/ReportTable.h"

#include <cstdio>

#include "core/analysis/ReportClass.h"
#include "core/base/Format.h"
#include "core/base/TextCodec.h"

namespace sondara {

std::string TrimBlanks(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return std::string(s);
}

std::string DefectCellText(const TestPoint& p, ReportFlavour f) {
    std::string out;
    int n = 0;
    for (const PileMark& m : p.defects) {
        const std::string name = gbkToUtf8(textOf(m.name));
        ++n;
        if (f == ReportFlavour::Word)
            out += Format("(%d) 深度%0.1fm  ", n, static_cast<double>(m.depth)) + name + "\n";
        else
            out += Format("(%d)深度%0.1fm ", n, static_cast<double>(m.depth)) + name + "  ";
    }
    return out;
}

std::vector<ReportRow> ReportRows(const CSondaraDoc& doc, ReportFlavour f) {
    std::vector<ReportRow> rows;
    for (int i : doc.checkedList) {
        if (!doc.validPoint(i)) continue;
        const TestPoint& p = doc.points[static_cast<size_t>(i)];
        ReportRow r;
        r.point = i;
        const std::string pile = gbkToUtf8(textOf(p.pileNo));
        r.pileNo = f == ReportFlavour::Word ? TrimBlanks(pile) : pile;
        r.diameter = Format("%d", p.pileDiameter);
        r.length = Format("%0.2f", static_cast<double>(p.pileLength));
        r.waveSpeed = Format("%d", p.waveSpeed);
        r.grade = ReportClass(p);
        r.evaluation = ReportClassText(r.grade);
        r.defects = DefectCellText(p, f);
        rows.push_back(std::move(r));
    }
    return rows;
}

const std::vector<std::string>& WordTableHeaders() {
    static const std::vector<std::string> h{"桩号",        "设计桩径\n(mm)", "桩长\n(m)",
                                            "声速\n(m/s)", "桩身质\n量评价", "缺陷位置及类型"};
    return h;
}

const std::vector<std::string>& ExcelTableHeaders() {
    static const std::vector<std::string> h{"桩号",      "设计桩径(mm)", "桩长(m)",
                                            "声速(m/s)", "桩身质量评价", "缺陷位置及类型"};
    return h;
}

ReportCounts CountGrades(const std::vector<ReportRow>& rows) {
    ReportCounts c;
    c.total = static_cast<int>(rows.size());
    for (const ReportRow& r : rows) {
        if (r.grade == 0)
            ++c.intact;
        else if (r.grade == 1)
            ++c.defective;
        else if (r.grade == 2)
            ++c.severe;
    }
    return c;
}

std::string ProjectParagraph(const ReportTexts& t) {
    return "该工程由" + t.contractor + "承建，位于" + t.address + "。该工程桩基础全部为" +
           t.pileType + "，共计" + t.totalPiles + "根，设计桩径为" + t.pileDiameter + "mm，于" +
           t.castingDate + "浇注。混凝土的设计强度等级为" + t.strengthClass + "。";
}

std::string CommissionParagraph(const ReportTexts& t, const std::vector<ReportRow>& rows) {
    std::string s = "    受委托单位" + t.commissioner +
                    "的委托，对该工程基础桩的桩身完整性进行了检测，受检桩编号为";
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i) s += "、";
        s += TrimBlanks(rows[i].pileNo);
    }
    return s + "，共" + std::to_string(rows.size()) + "根。";
}

std::string GeologyParagraph(const ReportTexts& t) {
    return "    " + TrimBlanks(t.geology);
}

std::vector<std::string> SummaryLines(const ReportCounts& c) {
    // The shares are worked out in single precision, as the report always did.
    const auto share = [&](int n) {
        return c.total > 0 ? static_cast<double>(static_cast<float>(n) /
                                                 static_cast<float>(c.total) * 100.0f)
                           : 0.0;
    };
    return {
        Format("该工程%d根桩基质量测试结果综合如下：", c.total),
        Format("1）完好桩（Ⅰ类）：%d根，占所测桩的%0.1f%%；", c.intact, share(c.intact)),
        Format("2）一般类桩/缺陷桩（Ⅱ/Ⅲ类）：%d根，占所测桩的%0.1f%%；", c.defective,
               share(c.defective)),
        Format("3）严重缺陷桩（Ⅳ类）：%d根，占所测桩的%0.1f%%；", c.severe, share(c.severe)),
    };
}

}  // namespace sondara
