// Any bytes as the settings files of the outputs: the 保存图形 choices (current and
// older layout, and the form that opens on them) and the 工程信息 record.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/base/Prompter.h"
#include "core/output/ReportInfo.h"
#include "core/output/SaveImageForm.h"

namespace {
void feed(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return;
    std::fwrite(data, 1, size, out);
    std::fclose(out);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::string dir = [] {
        char tmpl[] = "/tmp/sondara-fuzz-outputXXXXXX";
        std::string d = ::mkdtemp(tmpl);
        ::setenv("SONDARA_SETTINGS_DIR", d.c_str(), 1);
        return d;
    }();
    sondara::SilentPrompter p;
    feed(sondara::saveImageSettingsFile().path(), data, size);
    sondara::SaveImageForm form({sondara::DataSelection::CheckedPoints}, {530, 145}, "/", "/");
    form.load(&p);
    (void)form.sizeEntries();
    (void)form.sizeText();
    feed(sondara::reportInfoSettingsFile().path(), data, size);
    sondara::ReportInfoRecord r;
    if (sondara::loadReportInfoRecord(r)) {
        sondara::ReportInfo info;
        info.applyRecord(r);
        (void)sondara::MakeReportTexts(info);
    }
    return 0;
}
