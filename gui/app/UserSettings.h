#pragma once
// The program's user settings (window places, recent files, typed histories): one
// INI file, "QAR.ini", in the program's settings folder beside the dialogs' settings
// files ($SONDARA_SETTINGS_DIR, else ~/.config/sondara), so that runs given different
// settings folders never share them.
#include <QSettings>
#include <QString>

#include "core/app/AppPaths.h"

namespace sondara::gui {

inline QString userSettingsPath() {
    return QString::fromStdString(settingsDir()) + QStringLiteral("QAR.ini");
}

inline QSettings userSettings() {
    return QSettings(userSettingsPath(), QSettings::IniFormat);
}

}  // namespace sondara::gui
