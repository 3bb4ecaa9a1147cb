// Any bytes as the text typed into a cell of the information tables (the command line
// passes it through unchecked), against stored date, time and name fields that are
// themselves any bytes: every edit must keep the fields terminated, and one undo must
// give back the document exactly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/model/ListEngine.h"
#include "core/panels/InfoGridEdit.h"
#include "core/panels/InfoGridTables.h"

namespace {

template <std::size_t N>
void rawFill(sondara::FixedText<N>& f, std::string_view bytes) {
    f.fill(0);
    for (std::size_t i = 0; i < N && i < bytes.size(); ++i) f[i] = bytes[i];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sondara;
    if (size < 2) return 0;
    const int column = data[0] % (kPointColumnCount + 2);
    const bool multiple = (data[1] & 1) != 0;
    const bool project = (data[1] & 2) != 0;
    std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    // the stored field bytes come first, up to a NUL; the typed text follows
    const std::size_t nul = rest.find('\0');
    const std::string_view stored = rest.substr(0, nul);
    const std::string_view typed =
        nul == std::string_view::npos ? std::string_view{} : rest.substr(nul + 1);

    CSondaraDoc doc;
    doc.loaded = 1;
    for (int i = 0; i < 3; ++i) {
        TestPoint p;
        rawFill(p.testDateTime, stored.substr(i < 2 ? 0 : stored.size() / 2));
        rawFill(p.castingDate, stored);
        rawFill(p.pileNo, stored);
        rawFill(p.pileTypeText, stored);
        p.pileTypeIndex = static_cast<std::int16_t>(i == 0 ? 100 : i);
        p.integrityClass = static_cast<std::uint8_t>(stored.empty() ? 0 : stored[0]);
        doc.points.push_back(p);
    }
    rawFill(doc.info.testingUnit, stored);
    doc.info.pointCount = 3;
    const CSondaraDoc before = doc;
    const std::vector<int> rows = {2, 0, 1};

    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < kPointColumnCount; ++c) (void)PointCellText(doc, rows[r], r, c);
    (void)ProjectCellText(doc, kProjectColTestingUnit);

    GridEditResult res =
        project ? EditProjectCell(doc, column, typed)
                : EditPointCell(doc, rows, column % 3, column, typed,
                                multiple ? PointEditScope::Multiple : PointEditScope::Single);
    for (const TestPoint& p : doc.points) {
        // the edited text fields always end inside their width
        if (textOf(p.pileNo).size() >= p.pileNo.size() && p.pileNo != before.points[0].pileNo)
            std::abort();
        if (textOf(p.remark).size() >= p.remark.size()) std::abort();
    }
    if (res == GridEditResult::Applied) {
        if (doc.undoStack.size() != 1 || !Undo(doc)) std::abort();
        if (!(doc.points == before.points) || !(doc.info == before.info)) std::abort();
    } else if (!doc.undoStack.empty() || !(doc.points == before.points)) {
        std::abort();
    }
    return 0;
}
