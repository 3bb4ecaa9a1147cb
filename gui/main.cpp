// sondara: the desktop program for low-strain pile integrity analysis.
#include <QApplication>
#include <QRegularExpression>
#include <QTimer>
#include <cstdio>
#include <ctime>

#include "core/app/CommandIds.h"
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

// SONDARA_TEST_COMMANDS="32794 32875": when the window is up, run these commands (by
// their numbers) one after the other as if chosen from the menu, and answer every
// window they open with its default button, that is with the values shown. For the
// tests that drive the real program as a child process (an unsaved change, then the
// process killed); it does nothing a user could not do by hand. Prints
// "test-commands-done" when the last command has run.
void runTestCommands(sondara::gui::CSondaraApp& app, const QString& list) {
    auto* answer = new QTimer(&app);
    QObject::connect(answer, &QTimer::timeout, &sondara::gui::answerActiveModalWithDefault);
    answer->start(50);
    QTimer::singleShot(0, &app, [&app, list, answer] {
        for (const QString& id : list.split(QRegularExpression("[ ,]+"), Qt::SkipEmptyParts))
            if (app.frame()) app.frame()->runCommand(static_cast<sondara::CommandId>(id.toInt()));
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
