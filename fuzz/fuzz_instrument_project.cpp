// Any bytes as a project downloaded from the instrument: the input is cut into
// "qar.par" and up to three point files; the converted data file must read back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzSupport.h"
#include "core/app/RunLog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::string dir = [] {
        sondara::RunLog::instance().setPath("/dev/null");
        return sondara::fuzz::scratchDir("instr");
    }();
    // the first bytes say where each file ends (in units of 64 bytes)
    if (size < 4) return 0;
    std::size_t cuts[3] = {std::size_t(data[0]) * 8 + 72, std::size_t(data[1]) * 64 + 4338,
                           std::size_t(data[2]) * 64 + 4338};
    data += 3;
    size -= 3;
    const char* names[] = {"qar.par", "1.qar", "2.qar", "3.qar"};
    for (const char* n : names) std::remove((dir + "/" + n).c_str());
    std::size_t pos = 0;
    for (int f = 0; f < 4 && pos < size; ++f) {
        std::size_t len = f < 3 ? std::min(cuts[f], size - pos) : size - pos;
        sondara::fuzz::writeFile(dir + "/" + names[f], data + pos, len);
        pos += len;
    }
    std::remove((dir + "/out.qar").c_str());
    sondara::fuzz::convertMustReadBack(dir);
    return 0;
}
