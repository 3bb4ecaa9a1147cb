// Any bytes as the print page settings file: read with the defaults rule, then laid
// out on a page and turned into every text a page shows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "core/base/Prompter.h"
#include "core/output/PrintLayout.h"
#include "core/output/PrintSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = sondara::fuzz::settingsDir("print");
    sondara::SilentPrompter p;
    // The block after a valid identity, so that the fields themselves are fuzzed.
    std::string bytes("MIR_QAR4_PRINT_001");
    bytes.resize(30, '\0');
    bytes.append(reinterpret_cast<const char*>(data), size);
    sondara::fuzz::writeFile(sondara::printSettingsFile().path(),
                             reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    sondara::PrintSettings s;
    sondara::loadOrWriteDefaults(s, &p);

    sondara::PrintLayoutInput in;
    in.pointCount = 9;
    in.checkedCount = 5;
    in.paneCount = 3;
    in.clientWidth = 1000;
    const sondara::PrintLayoutResult l = sondara::PrintLayout(s, in, &p);
    if (l.cells.size() > 64) std::abort();  // 5 kinds x 5 points + 3 panes at most
    for (int page = 1; page <= l.pages; ++page) {
        sondara::PrintBandText(s, true, page, l.pages);
        sondara::PrintBandText(s, false, page, l.pages);
    }
    const sondara::PrintTableBox box = sondara::PrintHeaderTableBox(s, l);
    sondara::PrintTableData d;
    for (int r = 0; r < s.tableRows; ++r)
        for (int c = 0; c < s.tableColumns; ++c) {
            sondara::PrintHeaderTableCell(s, box, r, c);
            sondara::PrintHeaderTableText(s, r, c, d);
            sondara::HeaderTableCellCaption(s, r * 10 + c);
        }
    return 0;
}
