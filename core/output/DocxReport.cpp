#include "core/output/DocxReport.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <pugixml.hpp>
#include <sstream>
#include <utility>

#include "core/output/DocxPackage.h"
#include "core/output/ReportTable.h"

#ifndef SONDARA_RESOURCE_DIR
#define SONDARA_RESOURCE_DIR ""
#endif

namespace sondara {

namespace {

constexpr long kEmuPerPixel = 9525;  // 96 dpi
const char* kCellFont = "宋体";
constexpr int kCellHalfPoints = 22;  // 11 pt

std::string rPr(bool cellFont) {
    if (!cellFont) return {};
    return std::string("<w:rPr><w:rFonts w:ascii=\"") + kCellFont + "\" w:hAnsi=\"" + kCellFont +
           "\" w:eastAsia=\"" + kCellFont + "\"/><w:b w:val=\"0\"/><w:sz w:val=\"" +
           std::to_string(kCellHalfPoints) + "\"/><w:szCs w:val=\"" +
           std::to_string(kCellHalfPoints) + "\"/></w:rPr>";
}

// A run's content for a text with line breaks: <w:t>line</w:t><w:br/>...
std::string runContent(const std::string& text) {
    std::string out;
    size_t start = 0;
    for (;;) {
        const size_t nl = text.find('\n', start);
        const std::string line =
            text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!line.empty()) out += "<w:t xml:space=\"preserve\">" + XmlEscape(line) + "</w:t>";
        if (nl == std::string::npos) break;
        out += "<w:br/>";
        start = nl + 1;
    }
    return out;
}

std::string tableXml(const std::vector<ReportRow>& rows) {
    std::ostringstream x;
    int total = 0;
    for (int w : kWordColumnWidths) total += w * 20;
    x << "<w:tbl><w:tblPr><w:tblStyle w:val=\"TableGrid\"/><w:tblW w:w=\"" << total
      << "\" w:type=\"dxa\"/><w:jc w:val=\"center\"/><w:tblLayout "
         "w:type=\"fixed\"/></w:tblPr><w:tblGrid>";
    for (int w : kWordColumnWidths) x << "<w:gridCol w:w=\"" << w * 20 << "\"/>";
    x << "</w:tblGrid>";
    const auto row = [&](const std::vector<const std::string*>& cells, bool header) {
        x << "<w:tr>"
          << (header ? "<w:trPr><w:tblHeader/><w:cantSplit/><w:trHeight w:val=\"560\"/></w:trPr>"
                     : "<w:trPr><w:cantSplit/><w:trHeight w:val=\"400\"/></w:trPr>");
        for (size_t c = 0; c < cells.size(); ++c) {
            const bool left = !header && c == 5;
            x << "<w:tc><w:tcPr><w:tcW w:w=\"" << kWordColumnWidths[c] * 20
              << "\" w:type=\"dxa\"/><w:vAlign w:val=\"center\"/></w:tcPr><w:p><w:pPr><w:spacing "
                 "w:line=\"240\" "
                 "w:lineRule=\"auto\"/><w:jc w:val=\""
              << (left ? "left" : "center") << "\"/>" << rPr(true) << "</w:pPr><w:r>" << rPr(true)
              << runContent(*cells[c]) << "</w:r></w:p></w:tc>";
        }
        x << "</w:tr>";
    };
    std::vector<const std::string*> head;
    for (const std::string& h : WordTableHeaders()) head.push_back(&h);
    row(head, true);
    for (const ReportRow& r : rows)
        row({&r.pileNo, &r.diameter, &r.length, &r.waveSpeed, &r.evaluation, &r.defects}, false);
    x << "</w:tbl>";
    return x.str();
}

constexpr long kEmuPerTwip = 635;

// The room for a picture on a page of a section: the text width (shared by `columns`
// pictures of a row) and the text height, in EMU. A section without readable sizes
// has the blank document's A4 page.
struct PictureRoom {
    long width = 0, height = 0;
};
PictureRoom pictureRoom(pugi::xml_node sectPr, int columns) {
    auto twips = [](pugi::xml_node n, const char* attr, long fallback) {
        const pugi::xml_attribute a = n.attribute(attr);
        const long v = a ? std::labs(a.as_llong()) : fallback;
        return v > 0 && v < 1000000 ? v : fallback;
    };
    const pugi::xml_node size = sectPr.child("w:pgSz"), margins = sectPr.child("w:pgMar");
    long w = twips(size, "w:w", 11906) - twips(margins, "w:left", 1134) -
             twips(margins, "w:right", 1134);
    long h = twips(size, "w:h", 16838) - twips(margins, "w:top", 1440) -
             twips(margins, "w:bottom", 1440);
    if (w <= 0) w = 11906 - 2 * 1134;
    if (h <= 0) h = 16838 - 2 * 1440;
    return {w * kEmuPerTwip / std::max(1, columns), h * kEmuPerTwip};
}

// A picture of width × height pixels at 96 dpi, scaled down to fit the room with its
// aspect kept; a picture that fits keeps its size.
std::pair<long, long> fittedExtent(int width, int height, const PictureRoom& room) {
    const double cx = static_cast<double>(width) * kEmuPerPixel;
    const double cy = static_cast<double>(height) * kEmuPerPixel;
    double scale = 1.0;
    if (room.width > 0 && cx > room.width) scale = std::min(scale, room.width / cx);
    if (room.height > 0 && cy > room.height) scale = std::min(scale, room.height / cy);
    return {std::max(1L, std::lround(cx * scale)), std::max(1L, std::lround(cy * scale))};
}

std::string pictureRun(const std::string& relId, int id, int width, int height,
                       const PictureRoom& room) {
    const auto [cx, cy] = fittedExtent(width, height, room);
    std::ostringstream x;
    x << "<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent "
         "cx=\""
      << cx << "\" cy=\"" << cy << "\"/><wp:docPr id=\"" << id << "\" name=\"图" << id
      << "\"/><a:graphic><a:graphicData "
         "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
         "<pic:pic><pic:nvPicPr><pic:cNvPr id=\""
      << id << "\" name=\"图" << id
      << "\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"" << relId
      << "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x=\"0\" "
         "y=\"0\"/>"
         "<a:ext cx=\""
      << cx << "\" cy=\"" << cy
      << "\"/></a:xfrm><a:prstGeom "
         "prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic></a:graphicData>"
         "</a:graphic></wp:inline></w:drawing></w:r>";
    return x.str();
}

// The number of report pages as a field; `cached` shows until the word processor
// updates it (the settings ask for that on opening).
std::string pageCountField(int cached) {
    return "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText "
           "xml:space=\"preserve\"> SECTIONPAGES "
           "</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>" +
           std::to_string(cached) + "</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r>";
}

// Parses an XML fragment and inserts its top-level nodes before `where`.
void insertBefore(pugi::xml_node where, const std::string& fragment) {
    pugi::xml_document frag;
    if (!frag.load_buffer(fragment.data(), fragment.size(),
                          pugi::parse_default | pugi::parse_ws_pcdata_single))
        return;
    for (pugi::xml_node n : frag.children()) where.parent().insert_copy_before(n, where);
}

pugi::xml_node enclosing(pugi::xml_node n, const char* name) {
    while (n && std::string_view(n.name()) != name) n = n.parent();
    return n;
}

// Replaces the placeholders of every w:t; a value with line breaks becomes several
// texts separated by w:br in the same run.
void fillTexts(pugi::xml_document& d, const std::map<std::string, std::string>& values) {
    std::vector<pugi::xml_node> texts;
    for (pugi::xpath_node n : d.select_nodes("//w:t")) texts.push_back(n.node());
    for (pugi::xml_node t : texts) {
        const std::string in = t.text().get();
        if (in.find("{{") == std::string::npos) continue;
        // One pass from left to right: a value that itself holds "{{...}}" (typed by
        // the user) is taken as it is.
        std::string s;
        size_t pos = 0;
        for (;;) {
            const size_t open = in.find("{{", pos);
            const size_t close = open == std::string::npos ? open : in.find("}}", open + 2);
            if (close == std::string::npos) {
                s.append(in, pos, std::string::npos);
                break;
            }
            s.append(in, pos, open - pos);
            const auto it = values.find(in.substr(open + 2, close - open - 2));
            if (it != values.end())
                s += it->second;
            else
                s.append(in, open, close + 2 - open);
            pos = close + 2;
        }
        if (s.find('\n') == std::string::npos) {
            t.text().set(s.c_str());
            if (!t.attribute("xml:space")) t.append_attribute("xml:space") = "preserve";
            continue;
        }
        insertBefore(t, runContent(s));
        t.parent().remove_child(t);
    }
}

std::string serialise(const pugi::xml_document& d) {
    std::ostringstream out;
    d.save(out, "", pugi::format_raw);
    return out.str();
}

bool parse(pugi::xml_document& d, const std::string& bytes) {
    return d.load_buffer(bytes.data(), bytes.size(),
                         pugi::parse_default | pugi::parse_ws_pcdata_single);
}

// The paragraph holding exactly this placeholder.
pugi::xml_node placeholderParagraph(pugi::xml_document& d, const std::string& key) {
    const std::string mark = "{{" + key + "}}";
    for (pugi::xpath_node n : d.select_nodes("//w:t"))
        if (mark == n.node().text().get()) return enclosing(n.node(), "w:p");
    return {};
}

// A guess at the report pages before the word processor counts them: the overview
// page, then about 30 table lines a page, and the closing block.
int estimatedBodyPages(const std::vector<ReportRow>& rows) {
    int lines = 0;
    for (const ReportRow& r : rows) {
        int n = 1;
        for (char c : r.defects) n += c == '\n';
        lines += std::max(2, n);
    }
    return 2 + lines / 45;
}

}  // namespace

bool WriteWordReport(const CSondaraDoc& doc, const WordReportInput& in,
                     const std::string& templatePath, const std::string& outPath,
                     std::string& error) {
    DocxPackage pkg;
    if (templatePath.empty()) {
        error = "找不到报告模板 " + std::string(kReportTemplateName);
        return false;
    }
    if (!pkg.open(templatePath, error)) return false;
    pugi::xml_document d;
    if (!parse(d, pkg.part("word/document.xml"))) {
        error = "报告模板已损坏：" + templatePath;
        return false;
    }
    const ReportTexts& t = in.texts;
    const std::vector<ReportRow> rows = ReportRows(doc, ReportFlavour::Word);
    const std::vector<std::string> summary = SummaryLines(CountGrades(rows));

    // Block places first: the table, the page count and the figures.
    if (pugi::xml_node p = placeholderParagraph(d, "结果表")) {
        insertBefore(p, tableXml(rows));
        p.parent().remove_child(p);
    }
    for (pugi::xpath_node n : d.select_nodes("//w:t")) {
        if (std::string_view(n.node().text().get()) != "{{正文页数}}") continue;
        pugi::xml_node run = enclosing(n.node(), "w:r");
        insertBefore(run, pageCountField(estimatedBodyPages(rows)));
        run.parent().remove_child(run);
        break;
    }
    if (pugi::xml_node p = placeholderParagraph(d, "附图")) {
        const bool figures = t.produceFigures && !in.figures.empty();
        if (figures) {
            // The figures begin on a page of their own, in a section of their own, so
            // that the page count of the report leaves them out.
            pugi::xml_node body = d.child("w:document").child("w:body");
            pugi::xml_node last = body.child("w:sectPr");
            std::ostringstream x;
            x << "<w:p><w:pPr>";
            {
                std::ostringstream s;
                last.print(s, "", pugi::format_raw);
                x << s.str();
            }
            x << "</w:pPr></w:p>";
            last.remove_child("w:pgNumType");  // the figure pages go on counting
            x << "<w:p><w:pPr><w:pStyle "
                 "w:val=\"Heading1\"/></w:pPr><w:r><w:t>附图：受检桩实测曲线</w:t></w:r></w:p>";
            int id = 100;
            const PictureRoom room = pictureRoom(last, 1);
            for (const std::string& fig : in.figures) {
                if (fig.empty()) continue;
                const std::string rel = pkg.addImage(fig, in.figureExtension);
                x << "<w:p><w:pPr><w:pStyle w:val=\"Figure\"/></w:pPr>"
                  << pictureRun(rel, ++id, in.figureWidth, in.figureHeight, room) << "</w:p>";
            }
            insertBefore(p, x.str());
        }
        p.parent().remove_child(p);
    }

    const std::string today = FormatReportDate(in.today);
    const std::map<std::string, std::string> values{
        {"报告编号", t.reportNumber},
        {"工程名称", t.projectName},
        {"委托单位", t.commissioner},
        {"检测日期", t.testDate},
        {"检测单位", t.testingUnit},
        {"报告日期", today},
        {"建设单位", t.client},
        {"施工单位", t.contractor},
        {"设计单位", t.designer},
        {"监理单位", t.supervisor},
        {"监督单位", t.authority},
        {"工程地址", t.address},
        {"工程概况", ProjectParagraph(t)},
        {"委托检测", CommissionParagraph(t, rows)},
        {"地质概况", GeologyParagraph(t)},
        {"检测人员", t.staff},
        {"综合", summary[0]},
        {"完好桩", summary[1]},
        {"缺陷桩", summary[2]},
        {"严重缺陷桩", summary[3]},
    };
    fillTexts(d, values);
    pkg.setPart("word/document.xml", serialise(d));
    for (const char* part : {"word/header1.xml", "word/footer1.xml"}) {
        if (!pkg.has(part)) continue;
        pugi::xml_document h;
        if (!parse(h, pkg.part(part))) continue;
        fillTexts(h, values);
        pkg.setPart(part, serialise(h));
    }
    return pkg.save(outPath, error);
}

bool WritePictureDocument(const std::vector<std::string>& pictures, const std::string& extension,
                          int width, int height, int columns, const std::string& outPath,
                          std::string& error) {
    DocxPackage pkg;
    pkg.makeBlank();
    pugi::xml_document d;
    parse(d, pkg.part("word/document.xml"));
    pugi::xml_node sect = d.child("w:document").child("w:body").child("w:sectPr");
    if (columns < 1) columns = 1;
    // Pictures wider than the text (a row of them wider) or taller than the page's text
    // are scaled down to fit.
    const PictureRoom room = pictureRoom(sect, columns);
    std::ostringstream x;
    int id = 0, inRow = 0;
    const auto centred = "<w:p><w:pPr><w:spacing w:after=\"0\"/><w:jc w:val=\"center\"/></w:pPr>";
    for (size_t i = 0; i < pictures.size(); ++i) {
        if (inRow == 0) x << centred;
        const std::string rel = pkg.addImage(pictures[i], extension);
        x << pictureRun(rel, ++id, width, height, room);
        if (++inRow == columns || i + 1 == pictures.size()) {
            x << "</w:p>" << centred << "</w:p>";  // the empty line between rows
            inRow = 0;
        }
    }
    insertBefore(sect, x.str());
    pkg.setPart("word/document.xml", serialise(d));
    return pkg.save(outPath, error);
}

std::string FindReportTemplate() {
    namespace fs = std::filesystem;
    std::vector<fs::path> dirs;
    if (const char* env = std::getenv("SONDARA_RESOURCE_DIR"); env && *env) dirs.emplace_back(env);
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        dirs.push_back(exe.parent_path() / ".." / "share" / "sondara");
        dirs.push_back(exe.parent_path() / "share" / "sondara");
    }
    if (*SONDARA_RESOURCE_DIR) dirs.emplace_back(SONDARA_RESOURCE_DIR);
    for (const fs::path& dir : dirs) {
        const fs::path p = dir / kReportTemplateName;
        if (fs::is_regular_file(p, ec)) return fs::weakly_canonical(p, ec).string();
    }
    return {};
}

}  // namespace sondara
