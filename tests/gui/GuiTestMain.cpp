// The GUI tests run with a QApplication on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/app/SondaraApp.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    sondara::gui::chooseInterfaceFont();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
