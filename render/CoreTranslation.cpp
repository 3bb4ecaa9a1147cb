#include "render/CoreTranslation.h"

#include <QCoreApplication>
#include <QTranslator>

#include "core/base/TrNoop.h"

static void initCoreTranslationResources() {
    Q_INIT_RESOURCE(translations);
}

namespace sondara::render {

namespace {

QTranslator& englishTranslator() {
    static QTranslator t;
    return t;
}

std::string byApplication(const char* text) {
    return QCoreApplication::translate("sondara", text).toStdString();
}

std::string byEnglish(const char* text) {
    return englishTranslator().translate("sondara", text).toStdString();
}

}  // namespace

void TranslateCoreTextsWithApplication() {
    SetTextTranslator(&byApplication);
}

bool TranslateCoreTextsToEnglish() {
    initCoreTranslationResources();
    QTranslator& t = englishTranslator();
    if (t.isEmpty() && !t.load(QStringLiteral(":/i18n/sondara_en.qm"))) return false;
    SetTextTranslator(&byEnglish);
    return true;
}

void KeepCoreTextsChinese() {
    SetTextTranslator(nullptr);
}

bool EnglishAskedByEnvironment() {
    return qEnvironmentVariable("SONDARA_LANGUAGE")
        .trimmed()
        .toLower()
        .startsWith(QLatin1String("en"));
}

}  // namespace sondara::render
