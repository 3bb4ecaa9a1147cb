#pragma once
// Where the program keeps what it writes outside a project. Every location can be
// redirected by an environment variable, so tests never touch the user's home:
//   SONDARA_SETTINGS_DIR  settings files   (default $XDG_CONFIG_HOME/sondara)
//   SONDARA_LOG           run log file     (default $XDG_STATE_HOME/sondara/MIRQAR_log.txt)
//   SONDARA_TEMP_DIR      scratch files    (default $TMPDIR or /tmp)
//   XDG_DATA_HOME         recovery files   ($XDG_DATA_HOME/sondara/recovery, default
//                                           ~/.local/share/sondara/recovery)
#include <string>

namespace sondara {

std::string settingsDir();  // with a trailing '/'; created on demand
std::string logFilePath();
std::string tempDir();  // with a trailing '/'
// Where unsaved work is kept for recovery after a crash; with a trailing '/', created
// on demand and readable by the user only (mode 0700).
std::string recoveryDir();
// Creates a directory and its parents; true when it exists afterwards.
bool makeDirs(const std::string& dir);

}  // namespace sondara
