// Any bytes as the project information of `sondara-cli report --info`.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/output/ReportInfoJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sondara::ReportInfo info;
    std::string error;
    if (sondara::ApplyReportInfoJson(std::string_view(reinterpret_cast<const char*>(data), size), info, error))
        (void)sondara::MakeReportTexts(info);
    return 0;
}
