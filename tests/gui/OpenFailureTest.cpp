// Every way of opening a file reports a read failure the same way, and a file that
// could not be read never becomes the file of a document.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "core/app/CommandIds.h"
#include "core/app/RunLog.h"
#include "core/fileio/ProjectFile.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/SondaraApp.h"
#include "gui/frame/MainFrame.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara::gui {
namespace {

// Closes every message box that opens while it lives and remembers it.
struct BoxCatcher {
    QStringList titles, texts;
    QTimer timer;
    BoxCatcher() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                titles << box->windowTitle();
                texts << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        timer.start(5);
    }
};

struct OpenFailure : ::testing::Test {
    test::TempDir dir;
    std::string good, junk, cut;
    void SetUp() override {
        RunLog::instance().setPath(dir.file("log.txt"));
        std::vector<TestPoint> pts;
        for (int i = 0; i < 6; ++i) pts.push_back(test::simplePoint("A", 256));
        CSondaraDoc d = test::makeDoc(pts);
        good = dir.file("good.qar");
        ASSERT_TRUE(WriteProject(d, good));
        junk = dir.file("junk.qar");
        test::writeFile(junk, "not a data file at all");
        cut = dir.file("cut.qar");
        std::string bytes = test::readFile(good);
        test::writeFile(cut, bytes.substr(0, bytes.size() / 4));
    }
    void TearDown() override { RunLog::instance().setPath({}); }
};

TEST_F(OpenFailure, AnUnreadableFileOnTheCommandLineIsReportedAndNotBound) {
    BoxCatcher boxes;
    CSondaraApp app;
    ASSERT_TRUE(app.initInstance({"sondara", QString::fromStdString(junk)}));
    ASSERT_EQ(boxes.titles, QStringList{"打开异常"});
    EXPECT_EQ(boxes.texts.first().toStdString(), kMsgNotDataFile);
    ASSERT_NE(app.document(), nullptr);
    EXPECT_TRUE(app.document()->path().isEmpty());
    EXPECT_EQ(app.document()->doc().pointCount(), 0);
    EXPECT_TRUE(app.recentFiles().filter("junk.qar").isEmpty());
}

TEST_F(OpenFailure, OpeningAnUnreadableFileKeepsTheOpenDocument) {
    BoxCatcher boxes;
    CSondaraApp app;
    ASSERT_TRUE(app.initInstance({"sondara", QString::fromStdString(good)}));
    ASSERT_TRUE(boxes.titles.isEmpty());
    EXPECT_EQ(app.openDocumentFile(QString::fromStdString(junk)),
              nullptr);  // dropped or recent file
    EXPECT_EQ(boxes.titles, QStringList{"打开异常"});
    ASSERT_NE(app.document(), nullptr);
    EXPECT_EQ(app.document()->path().toStdString(), good);
    EXPECT_EQ(app.document()->doc().pointCount(), 6);
    const std::string before = test::readFile(junk);
    EXPECT_EQ(test::readFile(junk), before);
}

TEST_F(OpenFailure, APartlyReadFileOpensUnboundWithTheWarning) {
    BoxCatcher boxes;
    CSondaraApp app;
    ASSERT_TRUE(app.initInstance({"sondara", QString::fromStdString(cut)}));
    ASSERT_EQ(boxes.titles, QStringList{"打开异常"});
    EXPECT_TRUE(boxes.texts.first().contains("测点数据不完整"));
    ASSERT_NE(app.document(), nullptr);
    EXPECT_GT(app.document()->doc().pointCount(), 0);
    EXPECT_LT(app.document()->doc().pointCount(), 6);
    // 保存 must not overwrite the file whose tail was lost
    EXPECT_TRUE(app.document()->path().isEmpty());
    app.document()->doc().modified = false;
}

TEST_F(OpenFailure, AFileCutInsideItsOriginalSetOpensUnboundAndRefusesRestore) {
    const std::string bytes = test::readFile(good);
    const std::string ocut = dir.file("ocut.qar");
    // the last original record loses its tail
    test::writeFile(ocut, bytes.substr(0, bytes.size() - 100));
    BoxCatcher boxes;
    CSondaraApp app;
    ASSERT_TRUE(app.initInstance({"sondara", QString::fromStdString(ocut)}));
    ASSERT_EQ(boxes.titles, QStringList{"打开异常"});
    EXPECT_TRUE(boxes.texts.first().contains("原始数据不完整，[6]个原始测点第[5]个测点"))
        << boxes.texts.first().toStdString();
    ASSERT_NE(app.document(), nullptr);
    EXPECT_EQ(app.document()->doc().pointCount(), 6);
    EXPECT_TRUE(app.document()->path().isEmpty());
    EXPECT_TRUE(app.recentFiles().filter("ocut.qar").isEmpty());
    // 还原 says why it cannot, and the six points stay
    app.frame()->runCommand(CommandId::EditRevert);
    QApplication::processEvents();
    ASSERT_EQ(boxes.texts.size(), 2);
    EXPECT_EQ(boxes.texts[1], "原始数据不完整，不能还原！");
    EXPECT_EQ(app.document()->doc().pointCount(), 6);
    app.document()->doc().modified = false;
}

}  // namespace
}  // namespace sondara::gui
