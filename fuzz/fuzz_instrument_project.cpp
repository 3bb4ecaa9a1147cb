// Any bytes as a project downloaded from the instrument: the input is cut into
// "qar.par" and up to three point files; the converted data file must read back.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/app/RunLog.h"
#include "core/base/Prompter.h"
#include "core/fileio/InstrumentProject.h"
#include "core/fileio/ProjectFile.h"

namespace {
void put(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return;
    if (size) std::fwrite(data, 1, size, out);
    std::fclose(out);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::string dir = [] {
        sondara::RunLog::instance().setPath("/dev/null");
        char tmpl[] = "/tmp/sondara-fuzz-instrXXXXXX";
        return std::string(::mkdtemp(tmpl));
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
        put(dir + "/" + names[f], data + pos, len);
        pos += len;
    }
    sondara::SilentPrompter p;
    std::string out = dir + "/out.qar";
    std::remove(out.c_str());
    auto report = sondara::ConvertInstrumentFolder(dir, out, p, {false});
    if (report.written) {
        sondara::CSondaraDoc doc;
        std::string msg = sondara::ReadProject(doc, out);
        // what the converter writes must read back whole
        if (!msg.empty() || doc.pointCount() != report.convertedPoints) __builtin_trap();
    }
    return 0;
}
