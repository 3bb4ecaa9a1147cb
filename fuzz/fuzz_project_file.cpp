// Any bytes through the data file reader: every version tag, any counts.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/app/RunLog.h"
#include "core/fileio/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool init = [] {
        sondara::RunLog::instance().setPath("/dev/null");
        return true;
    }();
    (void)init;
    sondara::CSondaraDoc doc;
    sondara::ByteReader in(
        sondara::memorySource(std::string_view(reinterpret_cast<const char*>(data), size)), 4096);
    std::string warning;
    sondara::ReadProject(doc, in, "fuzz.qar", &warning);
    // whatever loaded must be consistent
    if (doc.info.pointCount != doc.pointCount()) __builtin_trap();
    for (const auto& p : doc.points)
        if (p.waveletMarkPanes.size() != p.waveletMarkPositions.size()) __builtin_trap();
    return 0;
}
