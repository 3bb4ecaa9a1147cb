// 关于本软件 and 帮助主题.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>

#include "core/app/ProgramVersion.h"
#include "gui/app/AboutDialog.h"
#include "gui/app/SondaraApp.h"

namespace sondara::gui {
namespace {

TEST(AboutDialog, ShowsNameVersionLicenceAndLibraries) {
    AboutDialog dlg;
    EXPECT_EQ(dlg.windowTitle(), "关于本软件");
    QStringList texts;
    for (QLabel* l : dlg.findChildren<QLabel*>()) texts << l->text();
    const QString all = texts.join('\n');
    EXPECT_TRUE(all.contains("Dorvanel低应变法基桩完整性检测分析软件V1.0"));
    EXPECT_TRUE(all.contains(QStringLiteral("版本 ") + kVersionNumber));
    auto* libs = dlg.findChild<QTextBrowser*>();
    ASSERT_NE(libs, nullptr);
    EXPECT_TRUE(libs->toPlainText().contains(QString::fromLatin1(qVersion())));
    EXPECT_TRUE(libs->toPlainText().contains("LGPL"));
    for (const char* lib : {"libjpeg", "libzip", "pugixml", "libxlsxwriter"})
        EXPECT_TRUE(libs->toPlainText().contains(lib)) << lib;
    EXPECT_EQ(libs->accessibleName(), "使用的库");
    auto buttons = dlg.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "关闭");
}

// The help ships with the program: in a build tree it is found in the sources.
TEST(HelpTopics, TheHelpIsFoundAndEveryPlaceSearchedIsReported) {
    QStringList searched;
    const QString index = CSondaraApp::resourcePath("help/index.html", &searched);
    ASSERT_FALSE(index.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(QFileInfo(index).path() + "/en/index.html"));
    EXPECT_TRUE(CSondaraApp::resourcePath("help/no-such-page.html", &searched).isEmpty());
    ASSERT_GE(searched.size(), 2);
    EXPECT_TRUE(searched[0].endsWith("share/sondara/help/no-such-page.html"))
        << searched[0].toStdString();
    EXPECT_EQ(searched[1], CSondaraApp::programFolder() + "/help/no-such-page.html");
}

}  // namespace
}  // namespace sondara::gui

namespace sondara::gui {
namespace {

// Qt's own dialogs speak Chinese like the rest of the program.
TEST(QtTranslations, StandardButtonsAreChinese) {
    ASSERT_TRUE(loadQtChineseTranslations());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "取消");
    QMessageBox box(QMessageBox::Question, "t", "q",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&').left(1), "是");
}

}  // namespace
}  // namespace sondara::gui
