// Recovery of unsaved work in the running program: the recovery file is written
// after the interval, a program that ends without cleaning up (killed, crashed) is
// offered 恢复 / 放弃 on the next start, and a clean end leaves nothing.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "GuiFixture.h"
#include "core/app/AppPaths.h"
#include "core/fileio/ProjectFile.h"
#include "core/fileio/RecoveryStore.h"
#include "core/processing/ProcessingChain.h"
#include "gui/app/RecoveryManager.h"
#include "support/Fixtures.h"

namespace sondara::gui {
namespace {

namespace fs = std::filesystem;

// Presses the push button with the given text in every recovery question, and
// remembers the questions.
struct Answer {
    QStringList texts;
    QTimer timer;
    explicit Answer(QString button, QMessageBox::StandardButton other = QMessageBox::Ok) {
        QObject::connect(&timer, &QTimer::timeout, [this, button, other] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            texts << box->text();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == button && qobject_cast<QPushButton*>(b)) {
                    b->click();
                    return;
                }
            if (QAbstractButton* b = box->button(other))
                b->click();
            else
                box->done(QMessageBox::Ok);  // any other box
        });
        timer.start(5);
    }
};

bool waitFor(const std::function<bool()>& f, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!f()) {
        if (t.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

std::string bytesOf(CSondaraDoc& d, const test::TempDir& dir, const char* name) {
    const std::string p = dir.file(name);
    EXPECT_TRUE(WriteProject(d, p));
    return test::readFile(p);
}

using test::process;

struct Recovery : GuiFixture {
    void SetUp() override {
        GuiFixture::SetUp();
        qputenv("SONDARA_AUTOSAVE_SECONDS", "1");
        fs::remove_all(recoveryDir());
    }
    void TearDown() override {
        GuiFixture::TearDown();
        qunsetenv("SONDARA_AUTOSAVE_SECONDS");
        fs::remove_all(recoveryDir());
    }
    std::string absProject() const {
        return QFileInfo(QString::fromStdString(project)).absoluteFilePath().toStdString();
    }
    // A processing step nobody saved, and the interval passed: the recovery is on disk.
    std::string changeAndWaitForRecovery() {
        EXPECT_TRUE(process(doc(), {0}, ProcessKind::Reverse));
        EXPECT_TRUE(doc().modified);
        EXPECT_TRUE(waitFor([&] { return FindRecovery(recoveryDir(), absProject(), nullptr); }));
        app->recovery()->waitForWorker();
        return bytesOf(doc(), dir, "memory.qar");
    }
    // The program ends without its clean exit, as when it is killed.
    void crash() {
        app->document()->doc().modified = false;  // no save question on the way out
        app.reset();
    }
    void restart(const std::string& file) {
        app = std::make_unique<CSondaraApp>();
        QStringList args{"sondara"};
        if (!file.empty()) args << QString::fromStdString(file);
        ASSERT_TRUE(app->initInstance(args));
    }
};

TEST_F(Recovery, AKilledProgramIsOfferedItsUnsavedWorkAndSavesItToTheOriginalFile) {
    ASSERT_NO_FATAL_FAILURE(
        open(test::makeDoc({pileTrace("P1", 4000, 20), pileTrace("P2", 4000, 30)})));
    const std::string memory = changeAndWaitForRecovery();
    const std::string onDisk = test::readFile(project);
    crash();
    EXPECT_EQ(test::readFile(project), onDisk);

    Answer recover("恢复");
    ASSERT_NO_FATAL_FAILURE(restart(project));
    ASSERT_EQ(recover.texts.size(), 1);
    EXPECT_TRUE(recover.texts[0].startsWith(
        QString::fromStdString("文件" + absProject() + "有未保存的修改（")));
    EXPECT_TRUE(recover.texts[0].endsWith("），是否恢复？"));
    EXPECT_TRUE(doc().modified);
    EXPECT_EQ(QFileInfo(app->document()->path()).absoluteFilePath().toStdString(), absProject());
    EXPECT_EQ(bytesOf(doc(), dir, "recovered.qar"), memory);
    // 保存 writes the original file, and the recovery goes
    ASSERT_TRUE(app->saveDocument(false));
    app->recovery()->waitForWorker();
    EXPECT_EQ(test::readFile(project), memory);
    EXPECT_TRUE(ListRecoveries(recoveryDir()).empty());
}

TEST_F(Recovery, DiscardDeletesTheRecoveryAndKeepsTheFile) {
    ASSERT_NO_FATAL_FAILURE(open(test::makeDoc({pileTrace("P1", 4000, 20)})));
    const std::string onDisk = bytesOf(doc(), dir, "start.qar");
    changeAndWaitForRecovery();
    crash();
    Answer drop("放弃");
    ASSERT_NO_FATAL_FAILURE(restart(project));
    ASSERT_EQ(drop.texts.size(), 1);
    EXPECT_FALSE(doc().modified);
    EXPECT_EQ(bytesOf(doc(), dir, "open.qar"), onDisk);
    EXPECT_TRUE(ListRecoveries(recoveryDir()).empty());
}

TEST_F(Recovery, ADamagedRecoveryIsReportedSetAsideAndNeverLoaded) {
    ASSERT_NO_FATAL_FAILURE(
        open(test::makeDoc({pileTrace("P1", 4000, 20), pileTrace("P2", 4000, 30)})));
    const std::string onDisk = bytesOf(doc(), dir, "start.qar");
    changeAndWaitForRecovery();
    crash();
    RecoveryEntry e;
    ASSERT_TRUE(FindRecovery(recoveryDir(), absProject(), &e));
    fs::resize_file(e.dataPath, fs::file_size(e.dataPath) - 500);
    Answer recover("恢复");
    ASSERT_NO_FATAL_FAILURE(restart(project));
    ASSERT_EQ(recover.texts.size(), 2);  // the question, then the report
    EXPECT_TRUE(recover.texts[1].contains("恢复文件已损坏"));
    EXPECT_EQ(bytesOf(doc(), dir, "open.qar"), onDisk);  // the file as saved
    EXPECT_FALSE(doc().modified);
    EXPECT_TRUE(fs::exists(e.dataPath + ".bad"));
    EXPECT_TRUE(ListRecoveries(recoveryDir()).empty());
}

TEST_F(Recovery, ADocumentWhosePathIsGoneIsOfferedOnStartAndSavedThereAgain) {
    ASSERT_NO_FATAL_FAILURE(open(test::makeDoc({pileTrace("P1", 4000, 20)})));
    const std::string memory = changeAndWaitForRecovery();
    crash();
    fs::remove(project);
    Answer recover("恢复");
    ASSERT_NO_FATAL_FAILURE(restart(""));
    ASSERT_EQ(recover.texts.size(), 1);
    EXPECT_TRUE(recover.texts[0].contains(QString::fromStdString(absProject())));
    EXPECT_TRUE(doc().modified);
    ASSERT_TRUE(app->saveDocument(false));
    EXPECT_EQ(test::readFile(project), memory);
}

TEST_F(Recovery, SavingClosingWithoutSavingAndACleanExitLeaveNoRecovery) {
    ASSERT_NO_FATAL_FAILURE(open(test::makeDoc({pileTrace("P1", 4000, 20)})));
    changeAndWaitForRecovery();
    ASSERT_TRUE(app->saveDocument(false));
    app->recovery()->waitForWorker();
    EXPECT_TRUE(ListRecoveries(recoveryDir()).empty());

    changeAndWaitForRecovery();
    {
        Answer no("否", QMessageBox::No);  // 是否保存 … 的更改? No: the changes are dropped
        app->newDocument();
    }
    app->recovery()->waitForWorker();
    EXPECT_TRUE(ListRecoveries(recoveryDir()).empty());

    // an untitled document is kept too, and a clean exit removes it
    doc().commitChange(DocChange::Header);
    app->recovery()->writeNow();
    app->recovery()->waitForWorker();
    ASSERT_EQ(ListRecoveries(recoveryDir()).size(), 1u);
    EXPECT_EQ(ListRecoveries(recoveryDir())[0].key, "untitled");
    app->exitInstance();
    EXPECT_TRUE(ListRecoveries(recoveryDir()).empty());
}

}  // namespace
}  // namespace sondara::gui
