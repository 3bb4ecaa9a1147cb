// Any bytes as what the instrument says on the link: each request of the PC is
// answered by the next chunk of the input, put on the lines as it stands (so frame
// headers may lie). The PC probes for the site list, downloads a project folder and
// converts what arrived; the converted data file must read back.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "FuzzSupport.h"
#include "core/app/RunLog.h"
#include "core/instrument/SiteList.h"
#include "core/instrument/TransferProtocol.h"
#include "tests/core/instrument/ScriptedInstrument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    static std::string dir = [] {
        sondara::RunLog::instance().setPath("/dev/null");
        return sondara::fuzz::scratchDir("link");
    }();
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) fs::remove_all(e.path(), ec);

    // chunk: uint16 length, then that many bytes
    std::size_t pos = 0;
    auto next = [&]() {
        std::vector<std::uint8_t> out;
        if (pos + 2 > size) return out;
        std::size_t n = data[pos] | (data[pos + 1] << 8);
        pos += 2;
        n = std::min(n, size - pos);
        out.assign(data + pos, data + pos + n);
        pos += n;
        return out;
    };
    sondara::test::ScriptedInstrument port;
    port.script = [&](const std::string&) { return next(); };
    sondara::TransferProtocol link(port);
    link.setPatience({1, 1, 1});

    std::string path = "c:\\dat\\rsite.par";
    link.Execute(sondara::TransferOp::DownloadFile, path, dir);
    std::vector<sondara::SiteEntry> sites;
    sondara::ReadSiteList(dir + "/rsite.par", sites);

    std::string folder = "C:\\DAT\\S0001\\";
    link.Execute(sondara::TransferOp::DownloadFolder, folder, dir);
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (!fs::equivalent(e.path().parent_path(), dir, ec)) __builtin_trap();  // nothing outside

    sondara::fuzz::convertMustReadBack(dir);
    std::string greeting;
    link.Execute(sondara::TransferOp::Hello, greeting, {});
    return 0;
}
