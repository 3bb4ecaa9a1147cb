// Any bytes as each settings file the program reads: the start-up records, the
// display options, the analysis bar's choices and the text-export options.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "core/app/AppPaths.h"
#include "core/app/SettingsFile.h"
#include "core/base/Prompter.h"
#include "core/display/AnalysisBar.h"
#include "core/display/DisplayOptions.h"
#include "core/fileio/TextExport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = sondara::fuzz::settingsDir("settings");
    sondara::SilentPrompter p;
    sondara::fuzz::writeFile(sondara::editSettingsFile().path(), data, size);
    sondara::EditSettings e;
    sondara::loadOrWriteDefaults(e, &p);
    sondara::fuzz::writeFile(sondara::cursorSettingsFile().path(), data, size);
    sondara::CursorSettings c;
    sondara::loadOrWriteDefaults(c, &p);
    sondara::fuzz::writeFile(sondara::autoHeadSettingsFile().path(), data, size);
    sondara::AutoHeadSettings a;
    sondara::loadOrWriteDefaults(a, &p);
    sondara::fuzz::writeFile(sondara::displayOptionsFile().path(), data, size);
    sondara::DisplayOptions o;
    sondara::loadOrWriteDefaults(o, &p);
    sondara::fuzz::writeFile(sondara::analysisChoicesFile().path(), data, size);
    sondara::AnalysisChoices ch;
    sondara::loadOrWriteDefaults(ch, &p);
    sondara::fuzz::writeFile(sondara::textExportSettingsPath(), data, size);
    sondara::TextExportSettings t;
    sondara::loadTextExportSettings(t);
    return 0;
}
