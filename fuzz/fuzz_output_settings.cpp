// Any bytes as the settings files of the outputs: the 保存图形 choices (current and
// older layout, and the form that opens on them) and the 工程信息 record.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "core/base/Prompter.h"
#include "core/output/ReportInfo.h"
#include "core/output/SaveImageForm.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = sondara::fuzz::settingsDir("output");
    sondara::SilentPrompter p;
    sondara::fuzz::writeFile(sondara::saveImageSettingsFile().path(), data, size);
    sondara::SaveImageForm form({sondara::DataSelection::CheckedPoints}, {530, 145}, "/", "/");
    form.load(&p);
    (void)form.sizeEntries();
    (void)form.sizeText();
    sondara::fuzz::writeFile(sondara::reportInfoSettingsFile().path(), data, size);
    sondara::ReportInfoRecord r;
    if (sondara::loadReportInfoRecord(r)) {
        sondara::ReportInfo info;
        info.applyRecord(r);
        (void)sondara::MakeReportTexts(info);
    }
    return 0;
}
