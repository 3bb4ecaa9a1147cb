#include "core/app/SettingsFile.h"

#include <cstring>

#include "core/app/AppPaths.h"
#include "core/base/Prompter.h"

namespace sondara {

namespace {
constexpr std::size_t kIdentityBytes = 30;
}

SettingsFile::SettingsFile(std::string fileName, std::string identity, std::string dir)
    : identity_(std::move(identity)) {
    if (dir.empty()) dir = settingsDir();
    if (dir.back() != '/') dir += '/';
    path_ = dir + fileName;
}

bool SettingsFile::read(const std::function<void(ByteReader&)>& readRecord) const {
    auto src = openFileSource(path_);
    if (!src) return false;
    ByteReader r(std::move(src), 4096);
    char id[kIdentityBytes];
    if (!r.read(id, kIdentityBytes)) return false;
    std::size_t len = strnlen(id, kIdentityBytes);
    if (len == kIdentityBytes || std::string_view(id, len) != identity_) return false;
    readRecord(r);
    return true;
}

bool SettingsFile::write(const std::function<void(ByteWriter&)>& writeRecord,
                         Prompter* prompter) const {
    AtomicFileWriter f(path_);
    bool ok = f.isOpen();
    if (ok) {
        char id[kIdentityBytes] = {};
        std::memcpy(id, identity_.data(), std::min(identity_.size(), kIdentityBytes - 1));
        f.writer().bytes(id, kIdentityBytes);
        writeRecord(f.writer());
        ok = f.commit();
    }
    if (!ok && prompter) prompter->info(kWriteSettingsFailed);
    return ok;
}

SettingsFile editSettingsFile() {
    return {"MIR_QAR4_EDIT_001.ini", "MIR_QAR4_EDIT_001"};
}
SettingsFile cursorSettingsFile() {
    return {"MIR_QAR4_CURS_001.ini", "MIR_QAR4_CURS_001"};
}
SettingsFile autoHeadSettingsFile() {
    return {"MIR_QAR4_AHEAD_001.ini", "MIR_QAR4_AHEAD_001"};
}

bool saveSettings(const EditSettings& s, Prompter* p) {
    return editSettingsFile().write([&](ByteWriter& w) { w.i32(s.pointEditScope); }, p);
}
bool saveSettings(const CursorSettings& s, Prompter* p) {
    return cursorSettingsFile().write([&](ByteWriter& w) { w.i32(s.cursorStyle); }, p);
}
bool saveSettings(const AutoHeadSettings& s, Prompter* p) {
    return autoHeadSettingsFile().write(
        [&](ByteWriter& w) {
            w.u8(s.direction);
            w.i32(s.ignorePoints);
            w.i32(s.startRatio);
        },
        p);
}

// A short record leaves the fields the file does not hold as they were: each field
// is taken only when the reader could deliver it.
bool loadOrWriteDefaults(EditSettings& s, Prompter* p) {
    s = EditSettings{};
    bool found = editSettingsFile().read([&](ByteReader& r) {
        auto v = r.i32();
        if (r.ok()) s.pointEditScope = v;
    });
    if (!found) saveSettings(s, p);
    return found;
}

bool loadOrWriteDefaults(CursorSettings& s, Prompter* p) {
    s = CursorSettings{};
    bool found = cursorSettingsFile().read([&](ByteReader& r) {
        auto v = r.i32();
        if (r.ok()) s.cursorStyle = v;
    });
    if (!found) saveSettings(s, p);
    return found;
}

bool loadOrWriteDefaults(AutoHeadSettings& s, Prompter* p) {
    bool found = loadSettings(s);
    if (!found) saveSettings(s, p);
    return found;
}

bool loadSettings(AutoHeadSettings& s) {
    s = AutoHeadSettings{};
    bool found = autoHeadSettingsFile().read([&](ByteReader& r) {
        auto f = r.u8();
        if (r.ok()) s.direction = f;
        auto a = r.i32();
        if (r.ok()) s.ignorePoints = a;
        auto b = r.i32();
        if (r.ok()) s.startRatio = b;
    });
    return found;
}

}  // namespace sondara
