// The text maps of written PDFs: radicals named for a shared glyph are mapped back to
// the ideographs the program drew, in single codes, counted ranges and range arrays,
// and the PDF file is rewritten whole or not at all.
#include <gtest/gtest.h>

// qpdf without its old PointerHolder: std::shared_ptr throughout.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include "core/output/PdfTextMend.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

std::string cmapWith(const std::string& body) {
    return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
           "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
           "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
           "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n" +
           body + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

TEST(PdfTextMend, RadicalsTheirIdeographs) {
    const struct {
        char32_t in, out;
    } cases[] = {
        {0x2F2F, 0x5DE5},  // ⼯ 工
        {0x2F47, 0x65E5},  // ⽇ 日
        {0x2EDA, 0x9875},  // ⻚ 页 (supplement, no compatibility mapping)
        {0x2E9F, 0x6BCD},  // ⺟ 母
        {0x2FD5, 0x9FA0},  // the last Kangxi radical
        {0x2F00, 0x4E00},  // the first
        {0x2E80, 0x2E80},  // a supplement radical without an equivalent stays
        {0x5DE5, 0x5DE5},  // an ideograph stays
        {0x0041, 0x0041},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnifiedIdeographOf(c.in), c.out) << std::hex << static_cast<unsigned>(c.in);
    // Every Kangxi radical has one, inside the unified ideographs.
    for (char32_t r = 0x2F00; r <= 0x2FD5; ++r) {
        const char32_t u = UnifiedIdeographOf(r);
        EXPECT_TRUE(u >= 0x4E00 && u <= 0x9FFF) << std::hex << static_cast<unsigned>(r);
    }
}

TEST(PdfTextMend, CMapCodesRangesAndArrays) {
    const std::string in = cmapWith(
        "4 beginbfchar\n<0003> <2F2F>\n<0004> <7A0B>\n<0005><2EDA>\n<0006> <00660069>\n"
        "endbfchar\n"
        "3 beginbfrange\n<0010> <0012> <2F45>\n<0020> <0021> [<2F47> <0041>]\n"
        "<0030> <0031> <0061>\nendbfrange\n");
    const std::string want = cmapWith(
        "4 beginbfchar\n<0003> <5DE5>\n<0004> <7A0B>\n<0005><9875>\n<0006> <00660069>\n"
        "endbfchar\n"
        "3 beginbfrange\n<0010> <0012> [<65B9> <65E0> <65E5>]\n<0020> <0021> [<65E5> <0041>]\n"
        "<0030> <0031> <0061>\nendbfrange\n");
    EXPECT_EQ(MendToUnicodeCMap(in), want);
    // Nothing to mend, and texts that are no CMap, come back as they are.
    for (const std::string& same :
         {cmapWith("1 beginbfchar\n<0003> <5DE5>\nendbfchar\n"), std::string("<2F2F"),
          std::string("beginbfchar <0001> <2F2G> endbfchar"),
          std::string("beginbfrange <01> <0100> <2F2F> endbfrange"), std::string("(2F2F"),
          std::string()})
        EXPECT_EQ(MendToUnicodeCMap(same), same);
}

// A PDF with one font whose text map names radicals, written by qpdf.
void writeFontPdf(const std::string& path, const std::string& cmap) {
    QPDF pdf;
    pdf.emptyPDF();
    QPDFObjectHandle map = QPDFObjectHandle::newStream(&pdf, cmap);
    QPDFObjectHandle font = pdf.makeIndirectObject(
        QPDFObjectHandle::parse("<< /Type /Font /Subtype /Type0 /BaseFont /Song >>"));
    font.replaceKey("/ToUnicode", map);
    pdf.getRoot().replaceKey("/TestFont", font);
    QPDFWriter w(pdf, path.c_str());
    w.write();
}

std::string fontMap(const std::string& path) {
    QPDF pdf;
    pdf.processFile(path.c_str());
    const std::shared_ptr<Buffer> b =
        pdf.getRoot().getKey("/TestFont").getKey("/ToUnicode").getStreamData();
    return std::string(reinterpret_cast<const char*>(b->getBuffer()), b->getSize());
}

TEST(PdfTextMend, FileRewrittenWholeOrLeftAlone) {
    test::TempDir dir;
    const std::string pdf = dir.file("p.pdf");
    writeFontPdf(pdf, cmapWith("2 beginbfchar\n<0001> <2F2F>\n<0002> <2EDA>\nendbfchar\n"));
    std::string error;
    ASSERT_TRUE(MendPdfText(pdf, error)) << error;
    EXPECT_EQ(fontMap(pdf), cmapWith("2 beginbfchar\n<0001> <5DE5>\n<0002> <9875>\nendbfchar\n"));

    // a mended file is left byte for byte
    const std::string before = test::readFile(pdf);
    ASSERT_TRUE(MendPdfText(pdf, error)) << error;
    EXPECT_EQ(test::readFile(pdf), before);

    // not a PDF, or no file: false with a message, the file untouched
    const std::string junk = dir.file("junk.pdf");
    ASSERT_TRUE(test::writeFile(junk, "%PDF-1.4 not really"));
    error.clear();
    EXPECT_FALSE(MendPdfText(junk, error));
    EXPECT_NE(error.find(junk), std::string::npos) << error;
    EXPECT_EQ(test::readFile(junk), "%PDF-1.4 not really");
    EXPECT_FALSE(MendPdfText(dir.file("none.pdf"), error));
}

}  // namespace
}  // namespace sondara
