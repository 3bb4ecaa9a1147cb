#pragma once
// The container of the per-dialog settings files: a 30-byte identity string (NUL
// terminated) followed by the owner's record, little-endian, field by field.
// A missing or foreign file means defaults, which the owner then writes back.
#include <functional>
#include <string>

#include "core/base/ByteIo.h"
#include "core/base/TrNoop.h"

namespace sondara {

class Prompter;

inline constexpr const char* kWriteSettingsFailed = SONDARA_TR_NOOP("sondara", "写设置文件失败！");

class SettingsFile {
public:
    // fileName is relative to `dir` (default: the settings folder).
    SettingsFile(std::string fileName, std::string identity, std::string dir = {});

    const std::string& path() const { return path_; }
    const std::string& identity() const { return identity_; }

    // Opens the file and checks the identity; if it matches, hands the reader
    // positioned after the identity to `readRecord` and returns true. A record
    // shorter than expected leaves the remaining fields as the reader left them.
    bool read(const std::function<void(ByteReader&)>& readRecord) const;

    // Writes the identity and the record. On failure shows "写设置文件失败！"
    // through `prompter` (when given) and returns false.
    bool write(const std::function<void(ByteWriter&)>& writeRecord, Prompter* prompter) const;

private:
    std::string path_, identity_;
};

// The global settings the application holds for the whole run.
struct EditSettings {                 // MIR_QAR4_EDIT_001: which points an edit changes
    std::int32_t pointEditScope = 0;  // 0 单个测点, 1 多个测点
};
struct CursorSettings {            // MIR_QAR4_CURS_001
    std::int32_t cursorStyle = 2;  // 1 十字游标, 2 竖线游标
};
struct AutoHeadSettings {  // MIR_QAR4_AHEAD_001
    std::uint8_t direction = 1;
    std::int32_t ignorePoints = 5;
    std::int32_t startRatio = 15;
};

SettingsFile editSettingsFile();
SettingsFile cursorSettingsFile();
SettingsFile autoHeadSettingsFile();

// Start-up rule: defaults first, then read; when the read fails the defaults are
// written back. Returns whether the file was read.
bool loadOrWriteDefaults(EditSettings& s, Prompter* p);
bool loadOrWriteDefaults(CursorSettings& s, Prompter* p);
bool loadOrWriteDefaults(AutoHeadSettings& s, Prompter* p);
// Reads without writing anything (defaults when the file is missing or foreign).
bool loadSettings(AutoHeadSettings& s);
bool saveSettings(const EditSettings& s, Prompter* p);
bool saveSettings(const CursorSettings& s, Prompter* p);
bool saveSettings(const AutoHeadSettings& s, Prompter* p);

}  // namespace sondara
