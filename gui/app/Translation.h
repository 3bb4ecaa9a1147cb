#pragma once
// The language of the window. Chinese is the source language of every text; English
// is a translation loaded when the user's locale is not Chinese, or when asked for by
// SONDARA_LANGUAGE=zh|en or by "Language=zh|en" in the [Interface] group of QAR.ini
// (the environment wins). The panes, the grids' values and the dialogs' lists follow
// the window's language (the core's SONDARA_TR texts); the Word report and the Excel
// table follow the Chinese standard, and everything written to files stays Chinese
// whatever the window speaks.
#include <QString>
#include <string>

namespace sondara::gui {

enum class UiLanguage { Chinese, English };

// The language asked for: the environment, else the settings file, else the locale
// (zh_*, C, POSIX and an unset locale keep Chinese).
UiLanguage chosenLanguage();

// Installs the translators of the chosen language on the running application: the
// program's English translation (embedded, else beside the program), or Qt's own
// Chinese texts as before. Returns the language in effect.
UiLanguage installTranslations();
UiLanguage installTranslations(UiLanguage language);
// Removes the program's translation and Qt's Chinese texts (tests switch languages).
void removeTranslations();

// The window's text of a core text marked with SONDARA_TR_NOOP("sondara", ...): the
// translation when one is loaded, else the Chinese text itself.
QString trCore(const char* text);
QString trCore(const std::string& text);

}  // namespace sondara::gui
