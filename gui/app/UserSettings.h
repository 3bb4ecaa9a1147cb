#pragma once
// The program's user settings (window places, recent files, typed histories): one
// INI file in the user's configuration folder.
#include <QSettings>

namespace sondara::gui {

inline QSettings userSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "Dorvanel", "QAR");
}

}  // namespace sondara::gui
