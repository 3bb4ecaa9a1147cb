// The report texts, the project-information record, and the .docx and .xlsx files
// opened as packages.
#include <gtest/gtest.h>
#include <zip.h>

#include <pugixml.hpp>

#include "core/base/TextCodec.h"
#include "core/output/DocxReport.h"
#include "core/output/ReportInfoJson.h"
#include "core/output/ReportTable.h"
#include "core/output/XlsxReport.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

PileMark defect(DefectKind kind, const char* nameUtf8, float depth) {
    PileMark m;
    m.kind = static_cast<int>(kind);
    setText(m.name, utf8ToGbk(nameUtf8));
    m.depth = depth;
    return m;
}

// Four checked points: " A1" intact, "A1 " with 缩径 and 夹泥, "B2" intact with only
// 扩径/扩底, "C/3" with 断桩; an unchecked point between them.
CSondaraDoc reportDoc() {
    std::vector<TestPoint> pts{test::simplePoint(" A1"), test::simplePoint("A1 "), test::simplePoint("X9"),
                               test::simplePoint("B2"), test::simplePoint("C/3")};
    for (size_t i = 0; i < pts.size(); ++i) {
        pts[i].pileDiameter = static_cast<int16_t>(600 + i);
        pts[i].pileLength = 12.345f + static_cast<float>(i);
        pts[i].waveSpeed = static_cast<int16_t>(3800 + i);
    }
    pts[1].defects = {defect(DefectKind::Necking, "缩径", 1.3f), defect(DefectKind::SoilInclusion, "夹泥", 3.5f)};
    pts[3].defects = {defect(DefectKind::Bulging, "扩径", 2.0f), defect(DefectKind::EnlargedBase, "扩底", 9.0f)};
    pts[4].defects = {defect(DefectKind::Break, "断桩", 4.25f)};
    CSondaraDoc doc = test::makeDoc(pts);
    doc.checkedList = {0, 1, 3, 4};
    return doc;
}

ReportTexts sampleTexts() {
    ReportInfo i;
    i.reportNumber = "JC-2026-017";
    i.projectName = "滨江花园二期";
    i.address = "江北区滨江路8号";
    i.client = "滨江置业有限公司";
    i.designer = "城市建筑设计院";
    i.contractor = "第三建筑工程公司";
    i.supervisor = "正信监理公司";
    i.authority = "区质量监督站";
    i.commissioner = "滨江置业有限公司";
    i.strengthClass = 4;
    i.castingDate = {2026, 3, 9};
    i.pileType = "钻孔灌注桩";
    i.pileDiameter = 600;
    i.totalPiles = 4;
    i.testDate = {2026, 4, 21};
    i.testingUnit = "基桩检测中心";
    i.staff = "王工、李工";
    i.geology = "  场地为冲积平原。\n地下水位 1.5 m。  ";
    return MakeReportTexts(i);
}

TEST(ReportTable, RowsOfBothFlavours) {
    const CSondaraDoc doc = reportDoc();
    const std::vector<ReportRow> w = ReportRows(doc, ReportFlavour::Word);
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(w[0].pileNo, "A1");
    EXPECT_EQ(w[1].pileNo, "A1");
    EXPECT_EQ(w[1].diameter, "601");
    EXPECT_EQ(w[1].length, "13.35");
    EXPECT_EQ(w[1].waveSpeed, "3801");
    EXPECT_EQ(w[1].evaluation, "Ⅱ/Ⅲ");
    EXPECT_EQ(w[1].defects, "(1) 深度1.3m  缩径\n(2) 深度3.5m  夹泥\n");
    EXPECT_EQ(w[2].evaluation, "Ⅰ");  // 扩径 and 扩底 do not lower the class
    EXPECT_EQ(w[3].evaluation, "Ⅳ");
    EXPECT_EQ(w[0].defects, "");
    const std::vector<ReportRow> x = ReportRows(doc, ReportFlavour::Excel);
    EXPECT_EQ(x[0].pileNo, " A1");
    EXPECT_EQ(x[1].pileNo, "A1 ");
    EXPECT_EQ(x[1].defects, "(1)深度1.3m 缩径  (2)深度3.5m 夹泥  ");
}

TEST(ReportTable, ParagraphsAndSummary) {
    const CSondaraDoc doc = reportDoc();
    const ReportTexts t = sampleTexts();
    const std::vector<ReportRow> rows = ReportRows(doc, ReportFlavour::Word);
    const std::string p2 = CommissionParagraph(t, rows);
    EXPECT_EQ(p2.substr(0, 4), "    ");
    EXPECT_NE(p2.find("受检桩编号为A1、A1、B2、C/3，共4根。"), std::string::npos) << p2;
    EXPECT_EQ(ProjectParagraph(t),
              "该工程由第三建筑工程公司承建，位于江北区滨江路8号。该工程桩基础全部为钻孔灌注桩，共计4根，"
              "设计桩径为600mm，于2026年3月9日浇注。混凝土的设计强度等级为C30。");
    EXPECT_EQ(GeologyParagraph(t), "    场地为冲积平原。\n地下水位 1.5 m。");

    const ReportCounts c = CountGrades(rows);
    const std::vector<std::string> s = SummaryLines(c);
    EXPECT_EQ(s[0], "该工程4根桩基质量测试结果综合如下：");
    EXPECT_EQ(s[1], "1）完好桩（Ⅰ类）：2根，占所测桩的50.0%；");
    EXPECT_EQ(s[2], "2）一般类桩/缺陷桩（Ⅱ/Ⅲ类）：1根，占所测桩的25.0%；");
    EXPECT_EQ(s[3], "3）严重缺陷桩（Ⅳ类）：1根，占所测桩的25.0%；");
    EXPECT_EQ(SummaryLines({4, 3, 1, 0})[1], "1）完好桩（Ⅰ类）：3根，占所测桩的75.0%；");
    // Single precision: 1 of 3 is 33.3, 2 of 3 is 66.7.
    EXPECT_EQ(SummaryLines({3, 1, 2, 0})[2], "2）一般类桩/缺陷桩（Ⅱ/Ⅲ类）：2根，占所测桩的66.7%；");
}

TEST(ReportInfoRecord, ClampsDatesOnReadAndKeepsGeologyInItsBytes) {
    ReportInfoRecord r;
    r.strengthClass = 3;
    r.castingDate = {2039, 13, 32};
    r.testDate = {1970, 0, 0};
    r.pileDiameter = 800;
    r.totalPiles = 12;
    r.produceFigures = 0;
    r.geology = std::string(300, 'g');
    ASSERT_TRUE(saveReportInfoRecord(r, nullptr));
    const std::string bytes = test::readFile(reportInfoSettingsFile().path());
    ASSERT_EQ(bytes.size(), 30u + 4 * 10 + 260);
    EXPECT_EQ(bytes.substr(0, 17), "MIR_QAR4_WORD_001");
    EXPECT_EQ(bytes[30 + 40 + 259], '\0');
    ReportInfoRecord back;
    ASSERT_TRUE(loadReportInfoRecord(back));
    EXPECT_EQ(back.castingDate, (ReportDate{1971, 1, 1}));
    EXPECT_EQ(back.testDate, (ReportDate{1971, 1, 1}));
    EXPECT_EQ(back.strengthClass, 3);
    EXPECT_EQ(back.pileDiameter, 800);
    EXPECT_EQ(back.totalPiles, 12);
    EXPECT_EQ(back.produceFigures, 0);
    EXPECT_EQ(back.geology, std::string(259, 'g'));

    const struct { ReportDate in, out; } dates[] = {
        {{2026, 13, 5}, {2026, 1, 5}}, {{2037, 12, 31}, {2037, 12, 31}}, {{2038, 6, 6}, {1971, 6, 6}},
        {{1971, 1, 32}, {1971, 1, 1}},
    };
    for (const auto& d : dates) EXPECT_EQ(ClampRecordDate(d.in), d.out);
    // A Chinese text is never cut inside a character.
    EXPECT_EQ(CutGeology(std::string(130, 'a') + "地质"), std::string(130, 'a') + "地质");
    EXPECT_EQ(utf8ToGbk(CutGeology(std::string(258, 'a') + "地")).size(), 258u);
    EXPECT_EQ(FormatReportDate({2026, 4, 9}), "2026年4月9日");
}

// ---- packages ----
std::map<std::string, std::string> readZip(const std::string& path) {
    std::map<std::string, std::string> out;
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &err);
    if (!z) return out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st);
        zip_file_t* f = zip_fopen_index(z, static_cast<zip_uint64_t>(i), 0);
        std::string bytes(st.size, '\0');
        if (f) {
            zip_fread(f, bytes.data(), st.size);
            zip_fclose(f);
        }
        out[st.name] = bytes;
    }
    zip_discard(z);
    return out;
}

std::string cellText(pugi::xml_node tc) {
    std::string s;
    pugi::xpath_node_set nodes = tc.select_nodes(".//w:t|.//w:br");
    nodes.sort();  // a union comes in no particular order
    for (pugi::xpath_node n : nodes)
        s += std::string_view(n.node().name()) == "w:br" ? std::string("\n") : n.node().text().get();
    return s;
}

std::string allText(const pugi::xml_document& d) {
    std::string s;
    for (pugi::xpath_node n : d.select_nodes("//w:t")) s += n.node().text().get();
    return s;
}

WordReportInput reportInput(bool figures) {
    WordReportInput in;
    in.texts = sampleTexts();
    in.texts.produceFigures = figures;
    in.texts.staff = "王工、李工 {{报告编号}}";  // typed braces stay as typed
    in.today = {2026, 5, 1};
    if (figures) {
        // Any bytes do for the package; the word processor is not asked here.
        for (int i = 0; i < 4; ++i) in.figures.push_back("BMfigure" + std::to_string(i));
    }
    return in;
}

TEST(DocxReport, TheTemplateIsShippedAndFound) {
    EXPECT_FALSE(FindReportTemplate().empty());
}

TEST(DocxReport, PackageHoldsTheFilledTemplateTableAndFigures) {
    test::TempDir dir;
    const std::string out = dir.file("报告.docx");
    std::string error;
    ASSERT_TRUE(WriteWordReport(reportDoc(), reportInput(true), FindReportTemplate(), out, error)) << error;
    auto parts = readZip(out);
    ASSERT_TRUE(parts.count("word/document.xml"));
    pugi::xml_document d;
    ASSERT_TRUE(d.load_string(parts["word/document.xml"].c_str()));
    const std::string text = allText(d);
    EXPECT_EQ(text.find("{{", text.find("{{报告编号}}") + 1), std::string::npos) << "a place was left unfilled";
    for (const char* s : {"JC-2026-017", "滨江花园二期", "区质量监督站", "2026年4月21日", "王工、李工",
                          "2026年5月1日", "受检桩编号为A1、A1、B2、C/3，共4根。", "王工、李工 {{报告编号}}",
                          "1）完好桩（Ⅰ类）：2根，占所测桩的50.0%；", "混凝土的设计强度等级为C30。"})
        EXPECT_NE(text.find(s), std::string::npos) << s;

    // The result table: N + 1 rows, 6 columns with their widths, 宋体 11 pt not bold.
    pugi::xml_node table;
    for (pugi::xpath_node t : d.select_nodes("//w:tbl"))
        if (cellText(t.node().select_node(".//w:tc").node()) == "桩号") table = t.node();
    ASSERT_TRUE(table);
    const auto rows = table.select_nodes("w:tr");
    ASSERT_EQ(rows.size(), 5u);
    const int widths[] = {45, 75, 45, 50, 60, 150};
    int c = 0;
    for (pugi::xpath_node g : table.select_nodes("w:tblGrid/w:gridCol"))
        EXPECT_EQ(g.node().attribute("w:w").as_int(), widths[c++] * 20);
    EXPECT_EQ(c, 6);
    const auto cells = [&](size_t r) {
        std::vector<std::string> v;
        for (pugi::xpath_node tc : rows[r].node().select_nodes("w:tc")) v.push_back(cellText(tc.node()));
        return v;
    };
    EXPECT_EQ(cells(0), (std::vector<std::string>{"桩号", "设计桩径\n(mm)", "桩长\n(m)", "声速\n(m/s)",
                                                  "桩身质\n量评价", "缺陷位置及类型"}));
    EXPECT_EQ(cells(2), (std::vector<std::string>{"A1", "601", "13.35", "3801", "Ⅱ/Ⅲ",
                                                  "(1) 深度1.3m  缩径\n(2) 深度3.5m  夹泥\n"}));
    EXPECT_EQ(cells(4)[4], "Ⅳ");
    pugi::xml_node rpr = rows[1].node().select_node(".//w:r/w:rPr").node();
    EXPECT_STREQ(rpr.child("w:rFonts").attribute("w:eastAsia").value(), "宋体");
    EXPECT_STREQ(rpr.child("w:sz").attribute("w:val").value(), "22");
    EXPECT_STREQ(rpr.child("w:b").attribute("w:val").value(), "0");

    // The page count is a field; the figures are one picture per checked point, in order.
    EXPECT_EQ(d.select_nodes("//w:instrText").size(), 1u);
    EXPECT_NE(std::string(d.select_node("//w:instrText").node().text().get()).find("PAGES"), std::string::npos);
    const auto blips = d.select_nodes("//a:blip");
    ASSERT_EQ(blips.size(), 4u);
    pugi::xml_document rels;
    rels.load_string(parts["word/_rels/document.xml.rels"].c_str());
    for (size_t i = 0; i < blips.size(); ++i) {
        const std::string id = blips[i].node().attribute("r:embed").value();
        const std::string target =
            rels.select_node(("//Relationship[@Id='" + id + "']").c_str()).node().attribute("Target").value();
        EXPECT_EQ(parts["word/" + target], "BMfigure" + std::to_string(i));
    }
    EXPECT_NE(parts["[Content_Types].xml"].find("Extension=\"png\""), std::string::npos);
    EXPECT_NE(parts["word/header1.xml"].find("JC-2026-017"), std::string::npos);
}

TEST(DocxReport, WithoutFiguresAndFailures) {
    test::TempDir dir;
    const std::string out = dir.file("r.docx");
    std::string error;
    ASSERT_TRUE(WriteWordReport(reportDoc(), reportInput(false), FindReportTemplate(), out, error));
    auto parts = readZip(out);
    EXPECT_EQ(parts["word/document.xml"].find("<a:blip"), std::string::npos);
    EXPECT_EQ(parts["word/document.xml"].find("附图："), std::string::npos);

    // A broken template or an unwritable target: a message, the old file kept.
    test::writeFile(out, "previous");
    test::writeFile(dir.file("bad.docx"), "not a zip");
    EXPECT_FALSE(WriteWordReport(reportDoc(), reportInput(false), dir.file("bad.docx"), out, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(WriteWordReport(reportDoc(), reportInput(false), "", out, error));
    EXPECT_EQ(test::readFile(out), "previous");
    EXPECT_FALSE(WriteWordReport(reportDoc(), reportInput(false), FindReportTemplate(), dir.file("no/x.docx"), error));
}

TEST(DocxReport, PictureDocumentRowsOfColumns) {
    test::TempDir dir;
    const std::string out = dir.file("pics.docx");
    std::string error;
    ASSERT_TRUE(WritePictureDocument({"a", "b", "c", "d", "e"}, "jpg", 176, 145, 3, out, error)) << error;
    auto parts = readZip(out);
    pugi::xml_document d;
    ASSERT_TRUE(d.load_string(parts["word/document.xml"].c_str()));
    const auto paras = d.select_nodes("//w:body/w:p");
    // Row of 3, empty line, row of 2, empty line; every paragraph centred.
    ASSERT_EQ(paras.size(), 4u);
    EXPECT_EQ(paras[0].node().select_nodes(".//a:blip").size(), 3u);
    EXPECT_EQ(paras[1].node().select_nodes(".//a:blip").size(), 0u);
    EXPECT_EQ(paras[2].node().select_nodes(".//a:blip").size(), 2u);
    for (const auto& p : paras) EXPECT_STREQ(p.node().select_node("w:pPr/w:jc").node().attribute("w:val").value(), "center");
    EXPECT_NE(parts["[Content_Types].xml"].find("image/jpeg"), std::string::npos);
    EXPECT_EQ(parts["word/media/image1.jpeg"], "a");
}

TEST(XlsxReport, SheetWidthsAndTextCells) {
    test::TempDir dir;
    const std::string out = dir.file("表.xlsx");
    std::string error;
    ASSERT_TRUE(WriteExcelReport(reportDoc(), out, error)) << error;
    auto parts = readZip(out);
    pugi::xml_document wb, sheet, strings;
    ASSERT_TRUE(wb.load_string(parts["xl/workbook.xml"].c_str()));
    EXPECT_STREQ(wb.select_node("//sheet").node().attribute("name").value(), "报表1");
    ASSERT_TRUE(sheet.load_string(parts["xl/worksheets/sheet1.xml"].c_str()));
    ASSERT_TRUE(strings.load_string(parts["xl/sharedStrings.xml"].c_str()));
    const double widths[] = {6, 12, 7, 9, 12, 15};
    int i = 0;
    for (pugi::xpath_node c : sheet.select_nodes("//col")) {
        // The file stores the character width plus the cell padding.
        EXPECT_NEAR(c.node().attribute("width").as_double(), widths[i++] + 0.71, 0.01);
    }
    EXPECT_EQ(i, 6);
    std::vector<std::string> shared;
    for (pugi::xpath_node si : strings.select_nodes("//si")) shared.push_back(si.node().child("t").text().get());
    std::map<std::string, std::string> cells;
    for (pugi::xpath_node c : sheet.select_nodes("//c")) {
        EXPECT_STREQ(c.node().attribute("t").value(), "s") << "every cell is a text";
        cells[c.node().attribute("r").value()] = shared.at(static_cast<size_t>(c.node().child("v").text().as_int()));
    }
    EXPECT_EQ(cells["A1"], "桩号");
    EXPECT_EQ(cells["B1"], "设计桩径(mm)");
    EXPECT_EQ(cells["F1"], "缺陷位置及类型");
    EXPECT_EQ(cells["A2"], " A1");
    EXPECT_EQ(cells["A3"], "A1 ");
    EXPECT_EQ(cells["C3"], "13.35");
    EXPECT_EQ(cells["F3"], "(1)深度1.3m 缩径  (2)深度3.5m 夹泥  ");
    EXPECT_EQ(cells["E5"], "Ⅳ");
    EXPECT_FALSE(cells.count("F2"));  // no defects: empty
    EXPECT_EQ(sheet.select_nodes("//row").size(), 5u);

    test::writeFile(dir.file("keep.xlsx"), "old");
    EXPECT_FALSE(WriteExcelReport(reportDoc(), dir.file("none/keep.xlsx"), error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace sondara

namespace sondara {
namespace {

TEST(ReportInfoJson, FieldsByTheirChineseNames) {
    ReportInfo info;
    info.staff = "kept";
    std::string error;
    ASSERT_TRUE(ApplyReportInfoJson(R"({"报告编号": "R-1", "强度等级": "C35", "浇筑日期": "2026-03-09",
        "检测日期": "2026年4月21日", "桩径": 800, "总桩数": 12, "生成附图": false, "地质概况": "粉土"})",
                                    info, error))
        << error;
    EXPECT_EQ(info.reportNumber, "R-1");
    EXPECT_EQ(info.strengthClass, 5);
    EXPECT_EQ(info.castingDate, (ReportDate{2026, 3, 9}));
    EXPECT_EQ(info.testDate, (ReportDate{2026, 4, 21}));
    EXPECT_EQ(info.pileDiameter, 800);
    EXPECT_EQ(info.totalPiles, 12);
    EXPECT_FALSE(info.produceFigures);
    EXPECT_EQ(info.staff, "kept");
    const char* bad[] = {R"({"强度等级": "C60"})", R"({"桩径": 1.5})", R"({"浇筑日期": "2026-13-01"})",
                         R"({"工程名": "x"})", R"({"生成附图": 1})", R"([1])", R"({"报告编号": 5})", "{"};
    for (const char* b : bad) {
        ReportInfo before = info;
        EXPECT_FALSE(ApplyReportInfoJson(b, info, error)) << b;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(info.reportNumber, before.reportNumber);
    }
}

TEST(ReportInfoJson, ProjectValuesFromTheFile) {
    CSondaraDoc doc = reportDoc();
    setText(doc.info.projectName, utf8ToGbk("滨江花园"));
    setText(doc.info.testingUnit, "");
    ReportInfo info;
    info.testingUnit = "remembered";
    ApplyProjectValues(doc, info);
    EXPECT_EQ(info.projectName, "滨江花园");
    EXPECT_EQ(info.testingUnit, "remembered");  // an empty one is not passed
    EXPECT_EQ(info.totalPiles, doc.pileOrdinal(4) + 1);
}

}  // namespace
}  // namespace sondara
