// sondara: the desktop program for low-strain pile integrity analysis.
#include <QApplication>
#include <QRegularExpression>
#include <QTimer>
#include <cstdio>
#include <ctime>

#include "core/app/CommandIds.h"
#include "core/app/CommandTable.h"
#include "core/app/ProgramVersion.h"
#include "gui/app/CommandIcons.h"
#include "gui/app/ModalAnswer.h"
#include "gui/app/SondaraApp.h"
#include "gui/app/Translation.h"
#include "gui/frame/MainFrame.h"

namespace {
// SONDARA_STARTUP_PROBE=1: when the waveform display has painted for the first time,
// print the wall-clock time (ns since the epoch) and quit; the first-start
// benchmark (bench/first-start.sh) takes the difference to its launch time.
class FirstPaintProbe : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Paint || !o->inherits("sondara::gui::CWaveDisp")) return false;
        static_cast<QWidget*>(o)->removeEventFilter(this);
        qApp->removeEventFilter(this);
        QCoreApplication::sendEvent(o, e);  // paint first, then take the time
        timespec ts{};
        clock_gettime(CLOCK_REALTIME, &ts);
        std::printf("first-paint-ns %lld\n",
                    static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec);
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return true;
    }
};

// The command a test names: its short name as the run log records it (波形反向, or the
// English of it), its menu text without the mnemonic, or its number.
sondara::CommandId commandByName(const QString& name) {
    bool number = false;
    const int id = name.toInt(&number);
    if (number)
        return sondara::findCommand(static_cast<sondara::CommandId>(id))
                   ? static_cast<sondara::CommandId>(id)
                   : sondara::CommandId::None;
    static const QRegularExpression mnemonic(R"(\(&.\)|&|\[.\]$)");
    for (const sondara::CommandInfo& c : sondara::allCommands()) {
        for (const char* text : {c.shortName, c.menuText}) {
            if (!*text) continue;
            const QString zh = QString::fromUtf8(text).remove(mnemonic).trimmed();
            const QString en =
                QCoreApplication::translate("sondara", text).remove(mnemonic).trimmed();
            if (name.compare(zh, Qt::CaseInsensitive) == 0 ||
                name.compare(en, Qt::CaseInsensitive) == 0)
                return c.id;
        }
    }
    return sondara::CommandId::None;
}

// SONDARA_TEST_COMMANDS="波形反向,保存": when the window is up, run these commands (by
// their short names or menu texts, in Chinese or English, or by their numbers; separated
// by commas, or by spaces when no comma is given) one after the other as if chosen from
// the menu, and answer every window they open with its default button, that is with
// the values shown. For the tests that drive the real program as a child process (an
// unsaved change, then the process killed); it does nothing a user could not do by hand.
// Prints "test-commands-done" when the last command has run; a name that names no
// command is said on standard error and skipped.
void runTestCommands(sondara::gui::CSondaraApp& app, const QString& list) {
    auto* answer = new QTimer(&app);
    QObject::connect(answer, &QTimer::timeout, &sondara::gui::answerActiveModalWithDefault);
    answer->start(50);
    QTimer::singleShot(0, &app, [&app, list, answer] {
        static const QRegularExpression commas("[,;，；]+"), spaces("\\s+");
        const QStringList names =
            list.split(list.contains(commas) ? commas : spaces, Qt::SkipEmptyParts);
        for (const QString& raw : names) {
            const QString name = raw.trimmed();
            const sondara::CommandId id = commandByName(name);
            if (id == sondara::CommandId::None) {
                std::fprintf(stderr, "SONDARA_TEST_COMMANDS: no command named \"%s\"\n",
                             name.toUtf8().constData());
                continue;
            }
            if (app.frame()) app.frame()->runCommand(id);
        }
        answer->stop();
        std::printf("test-commands-done\n");
        std::fflush(stdout);
    });
}
}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    FirstPaintProbe probe;
    if (qEnvironmentVariableIsSet("SONDARA_STARTUP_PROBE")) qapp.installEventFilter(&probe);
    QApplication::setApplicationName("Sondara");
    QApplication::setOrganizationName("Dorvanel");
    QApplication::setApplicationVersion(sondara::kVersionNumber);
    // the menu entry and the window share the icon (sondara.desktop names it "sondara")
    QApplication::setDesktopFileName("sondara");
    QApplication::setWindowIcon(sondara::gui::applicationIcon());
    sondara::gui::chooseInterfaceFont();
    sondara::gui::installTranslations();
    sondara::gui::CSondaraApp app;
    if (!app.initInstance(QApplication::arguments())) return 1;
    if (qEnvironmentVariableIsSet("SONDARA_TEST_COMMANDS"))
        runTestCommands(app, qEnvironmentVariable("SONDARA_TEST_COMMANDS"));
    // SONDARA_SCREENSHOT=file.png: save a picture of the main window after start-up
    // and quit (documentation and smoke runs without a screen grabber).
    if (qEnvironmentVariableIsSet("SONDARA_SCREENSHOT")) {
        QTimer::singleShot(1500, &app, [&app] {
            app.frame()->grab().save(qEnvironmentVariable("SONDARA_SCREENSHOT"));
            QApplication::quit();
        });
    }
    int rc = QApplication::exec();
    app.exitInstance();
    return rc;
}
