// Any bytes as each settings file the program reads at start-up.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/app/AppPaths.h"
#include "core/app/Prompter.h"
#include "core/app/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::string dir = [] {
        char tmpl[] = "/tmp/sondara-fuzz-settingsXXXXXX";
        std::string d = ::mkdtemp(tmpl);
        ::setenv("SONDARA_SETTINGS_DIR", d.c_str(), 1);
        return d;
    }();
    sondara::SilentPrompter p;
    auto feed = [&](const sondara::SettingsFile& f) {
        std::FILE* out = std::fopen(f.path().c_str(), "wb");
        if (!out) return;
        std::fwrite(data, 1, size, out);
        std::fclose(out);
    };
    feed(sondara::editSettingsFile());
    sondara::EditSettings e;
    sondara::loadOrWriteDefaults(e, &p);
    feed(sondara::cursorSettingsFile());
    sondara::CursorSettings c;
    sondara::loadOrWriteDefaults(c, &p);
    feed(sondara::autoHeadSettingsFile());
    sondara::AutoHeadSettings a;
    sondara::loadOrWriteDefaults(a, &p);
    return 0;
}
