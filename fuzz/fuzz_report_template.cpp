// Any bytes as the report template (`sondara-cli report --template`): read as a zip
// package, its document parsed and filled, the report written beside it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "core/base/FixedText.h"
#include "core/output/DocxReport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = sondara::fuzz::scratchDir("template");
    const std::string templ = dir + "/t.docx";
    if (!sondara::fuzz::writeFile(templ, data, size)) return 0;
    static const sondara::CSondaraDoc doc = [] {
        sondara::CSondaraDoc d;
        d.points.resize(2);
        sondara::setText(d.points[0].pileNo, "A1");
        d.checkedList = {0, 1};
        return d;
    }();
    sondara::WordReportInput in;
    in.texts.produceFigures = true;
    in.figures = {"x", "y"};
    std::string error;
    sondara::WriteWordReport(doc, in, templ, dir + "/out.docx", error);
    return 0;
}
