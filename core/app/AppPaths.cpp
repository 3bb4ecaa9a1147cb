#include "core/app/AppPaths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace sondara {

namespace {
std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : std::string();
}
std::string withSlash(std::string d) {
    if (d.empty() || d.back() != '/') d += '/';
    return d;
}
std::string home() {
    std::string h = env("HOME");
    return h.empty() ? std::string("/tmp") : h;
}
}  // namespace

bool makeDirs(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return std::filesystem::is_directory(dir, ec);
}

std::string settingsDir() {
    std::string d = env("SONDARA_SETTINGS_DIR");
    if (d.empty()) {
        std::string base = env("XDG_CONFIG_HOME");
        d = (base.empty() ? home() + "/.config" : base) + "/sondara";
    }
    d = withSlash(d);
    makeDirs(d);
    return d;
}

std::string logFilePath() {
    std::string f = env("SONDARA_LOG");
    if (!f.empty()) return f;
    std::string base = env("XDG_STATE_HOME");
    std::string dir = (base.empty() ? home() + "/.local/state" : base) + "/sondara";
    makeDirs(dir);
    return dir + "/MIRQAR_log.txt";
}

std::string recoveryDir() {
    std::string base = env("XDG_DATA_HOME");
    std::string d = (base.empty() ? home() + "/.local/share" : base) + "/sondara/recovery/";
    makeDirs(d);
    std::error_code ec;
    std::filesystem::permissions(d, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace, ec);
    return d;
}

std::string tempDir() {
    std::string d = env("SONDARA_TEMP_DIR");
    if (d.empty()) d = env("TMPDIR");
    if (d.empty()) d = "/tmp";
    return withSlash(d);
}

}  // namespace sondara
