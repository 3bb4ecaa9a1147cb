#include "gui/app/Translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>
#include <optional>

#include "gui/app/SondaraApp.h"
#include "gui/app/UserSettings.h"
#include "render/CoreTranslation.h"

static void initTranslationResources() {
    Q_INIT_RESOURCE(translations);
}

namespace sondara::gui {

namespace {
QTranslator* g_program = nullptr;

// "zh", "zh_CN", "en", "en_US.UTF-8" -> the language; empty when not recognised.
std::optional<UiLanguage> parseLanguage(QString s) {
    s = s.trimmed().toLower();
    if (s.startsWith(QLatin1String("zh"))) return UiLanguage::Chinese;
    if (s.startsWith(QLatin1String("en"))) return UiLanguage::English;
    return std::nullopt;
}
}  // namespace

UiLanguage chosenLanguage() {
    if (auto l = parseLanguage(qEnvironmentVariable("SONDARA_LANGUAGE"))) return *l;
    if (auto l = parseLanguage(userSettings().value("Interface/Language").toString())) return *l;
    // The locale as Qt reads it (LANGUAGE, LC_ALL, LC_MESSAGES, LANG): Chinese for zh_*
    // and for the C locale of a machine where nothing is set, English otherwise.
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C || system.language() == QLocale::Chinese)
        return UiLanguage::Chinese;
    const QStringList ui = system.uiLanguages();
    if (!ui.isEmpty() && (ui.first().startsWith(QLatin1String("zh")) || ui.first() == "C"))
        return UiLanguage::Chinese;
    return UiLanguage::English;
}

UiLanguage installTranslations() {
    return installTranslations(chosenLanguage());
}

UiLanguage installTranslations(UiLanguage language) {
    removeTranslations();
    if (language == UiLanguage::Chinese) {
        loadQtChineseTranslations();
        return language;
    }
    initTranslationResources();
    auto* t = new QTranslator(QCoreApplication::instance());
    // a copy installed beside the program may be newer than the one compiled in
    const QString installed = CSondaraApp::resourcePath("translations/sondara_en.qm");
    if ((!installed.isEmpty() && t->load(installed)) ||
        t->load(QStringLiteral(":/i18n/sondara_en.qm"))) {
        QCoreApplication::installTranslator(t);
        g_program = t;
        // the panes, grids and lists of the core speak the window's language
        render::TranslateCoreTextsWithApplication();
        return UiLanguage::English;
    }
    delete t;
    loadQtChineseTranslations();
    return UiLanguage::Chinese;
}

void removeTranslations() {
    render::KeepCoreTextsChinese();
    unloadQtChineseTranslations();
    if (!g_program) return;
    QCoreApplication::removeTranslator(g_program);
    delete g_program;
    g_program = nullptr;
}

QString trCore(const char* text) {
    return QCoreApplication::translate("sondara", text);
}

QString trCore(const std::string& text) {
    return QCoreApplication::translate("sondara", text.c_str());
}

}  // namespace sondara::gui
