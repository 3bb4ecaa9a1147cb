// Any bytes as each settings file the program reads: the start-up records, the
// display options, the analysis bar's choices and the text-export options.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/app/AppPaths.h"
#include "core/app/SettingsFile.h"
#include "core/base/Prompter.h"
#include "core/display/AnalysisBar.h"
#include "core/display/DisplayOptions.h"
#include "core/fileio/TextExport.h"

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
        char tmpl[] = "/tmp/sondara-fuzz-settingsXXXXXX";
        std::string d = ::mkdtemp(tmpl);
        ::setenv("SONDARA_SETTINGS_DIR", d.c_str(), 1);
        return d;
    }();
    sondara::SilentPrompter p;
    feed(sondara::editSettingsFile().path(), data, size);
    sondara::EditSettings e;
    sondara::loadOrWriteDefaults(e, &p);
    feed(sondara::cursorSettingsFile().path(), data, size);
    sondara::CursorSettings c;
    sondara::loadOrWriteDefaults(c, &p);
    feed(sondara::autoHeadSettingsFile().path(), data, size);
    sondara::AutoHeadSettings a;
    sondara::loadOrWriteDefaults(a, &p);
    feed(sondara::displayOptionsFile().path(), data, size);
    sondara::DisplayOptions o;
    sondara::loadOrWriteDefaults(o, &p);
    feed(sondara::analysisChoicesFile().path(), data, size);
    sondara::AnalysisChoices ch;
    sondara::loadOrWriteDefaults(ch, &p);
    feed(sondara::textExportSettingsPath(), data, size);
    sondara::TextExportSettings t;
    sondara::loadTextExportSettings(t);
    return 0;
}
