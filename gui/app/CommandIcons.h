#pragma once
// The icons of the program's commands for menus and toolbars: the desktop theme's
// icon for the standard actions (open, save, print, undo, ...), otherwise, and as
// the fallback of those, the program's own drawing (resources/icons).
#include <QIcon>
#include <QString>

#include "core/app/CommandIds.h"

namespace sondara::gui {

// The icon of a command; null only for an id the program does not know.
QIcon commandIcon(CommandId id);
QIcon commandIcon(int id);
// The program's own drawing of a command (":/icons/actions/NAME.svg"), empty when
// there is none; tests check that every command has one.
QString bundledIconPath(CommandId id);
// Icons of the analysis types of the analysis bar: "Integrity", "Time",
// "Frequency", "Wavelet", "Correlation".
QIcon analysisIcon(const QString& type);
// The application icon (window, menu entry, file type).
QIcon applicationIcon();

}  // namespace sondara::gui
