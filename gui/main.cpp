// sondara: the desktop program for low-strain pile integrity analysis.
#include <QApplication>
#include <QTimer>

#include "core/app/ProgramVersion.h"
#include "gui/app/CommandIcons.h"
#include "gui/app/SondaraApp.h"
#include "gui/frame/MainFrame.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Sondara");
    QApplication::setOrganizationName("Dorvanel");
    QApplication::setApplicationVersion(sondara::kVersionNumber);
    // the menu entry and the window share the icon (sondara.desktop names it "sondara")
    QApplication::setDesktopFileName("sondara");
    QApplication::setWindowIcon(sondara::gui::applicationIcon());
    sondara::gui::chooseInterfaceFont();
    sondara::gui::loadQtChineseTranslations();
    sondara::gui::CSondaraApp app;
    if (!app.initInstance(QApplication::arguments())) return 1;
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
