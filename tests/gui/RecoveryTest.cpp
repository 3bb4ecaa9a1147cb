// Recovery of unsaved work in the running program: the recovery file is written
// after the interval, a program that ends without cleaning up (killed, crashed) is
// offered 恢复 / 放弃 on the next start, and a clean end leaves nothing.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "GuiFixture.h"
#include "core/app/AppPaths.h"
#include "core/fileio/ProjectFile.h"
#include "core/fileio/RecoveryStore.h"
#include "core/processing/ProcessingChain.h"
#include "core/sim/SimProject.h"
#include "gui/app/ModalAnswer.h"
#include "gui/app/RecoveryListDialog.h"
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

// Clicks the default button of every window that opens (OK with the shown values).
struct AcceptDefaults {
    QTimer timer;
    AcceptDefaults() {
        QObject::connect(&timer, &QTimer::timeout, &answerActiveModalWithDefault);
        timer.start(5);
    }
};

// An environment variable set for the test's lifetime.
struct ScopedEnv {
    std::string name, before;
    bool had;
    ScopedEnv(const char* n, const std::string& value) : name(n), had(std::getenv(n)) {
        if (had) before = std::getenv(n);
        ::setenv(n, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (had)
            ::setenv(name.c_str(), before.c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
};

// The desktop program under test: $SONDARA_DESKTOP, else the one built beside the tests.
QString desktopProgram() {
    const QString env = qEnvironmentVariable("SONDARA_DESKTOP");
    return env.isEmpty() ? QCoreApplication::applicationDirPath() + "/sondara" : env;
}

// The environment of the desktop program run as a child: offscreen, a recovery every
// second, its own data, settings and log, and 波形反向 (by its name) once the window is up.
QProcessEnvironment childEnvironment(const test::TempDir& dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SONDARA_AUTOSAVE_SECONDS", "1");
    env.insert("XDG_DATA_HOME", QString::fromStdString(dir.file("data")));
    env.insert("SONDARA_SETTINGS_DIR", QString::fromStdString(dir.file("settings")));
    env.insert("SONDARA_LOG", QString::fromStdString(dir.file("child-log.txt")));
    env.insert("SONDARA_TEST_COMMANDS", QStringLiteral("波形反向"));
    return env;
}

// The bundled sample project (twelve simulated piles), as resources/samples builds it.
CSondaraDoc sampleProject() {
    const std::string json =
        test::readFile(std::string(SONDARA_SOURCE_RESOURCES) + "/samples/sample-spec.json");
    ProjectSpec spec;
    std::string error;
    CSondaraDoc d;
    EXPECT_TRUE(parseProjectSpec(json, spec, error)) << error;
    EXPECT_TRUE(buildProject(spec, d, nullptr, error)) << error;
    return d;
}

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

// The real desktop program as a child process: on a copy of the sample project it runs
// 波形反向 (a processing step, answered with the shown values) and nobody saves; after
// the interval its recovery file is on disk and the process is killed (SIGKILL). The
// next start offers 恢复, and the recovered document saves to the bytes of the same
// step taken here on another copy of the file.
TEST_F(Recovery, TheKilledDesktopProgramGetsItsUnsavedStepBackOnTheNextStart) {
    const ScopedEnv data("XDG_DATA_HOME", dir.file("data"));
    const ScopedEnv settings("SONDARA_SETTINGS_DIR", dir.file("settings"));
    fs::remove_all(recoveryDir());
    CSondaraDoc sample = sampleProject();
    ASSERT_GT(sample.pointCount(), 1);
    const std::string same = dir.file("same.qar");
    ASSERT_TRUE(WriteProject(sample, same));
    const std::string original = test::readFile(same);

    // the step taken here: the bytes the recovered document must save to
    ASSERT_NO_FATAL_FAILURE(launch(sample));
    {
        AcceptDefaults ok;
        frame().runCommand(CommandId::ProcInvert);
    }
    ASSERT_TRUE(doc().modified);
    const std::string expected = bytesOf(doc(), dir, "expected.qar");
    ASSERT_NE(expected, original);
    doc().modified = false;
    app->exitInstance();  // a clean end: no recovery of its own left behind
    app.reset();
    ASSERT_TRUE(ListRecoveries(recoveryDir()).empty());

    project = same;
    QProcess child;
    child.setProcessEnvironment(childEnvironment(dir));
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(desktopProgram(), {QString::fromStdString(project)});
    ASSERT_TRUE(child.waitForStarted(10000)) << child.errorString().toStdString();
    // a slow start under the sanitizers on a loaded machine: up to a minute
    RecoveryEntry entry;
    const bool written = waitFor(
        [&] {
            return child.state() != QProcess::Running ||
                   FindRecovery(recoveryDir(), absProject(), &entry);
        },
        60000);
    const bool running = child.state() == QProcess::Running;
    child.kill();  // SIGKILL
    child.waitForFinished(10000);
    const std::string output = child.readAll().toStdString();
    ASSERT_TRUE(written && running) << "the program ended or wrote no recovery: " << output;
    EXPECT_GE(entry.points, 1) << "the recovery has its index";
    EXPECT_NE(output.find("test-commands-done"), std::string::npos) << output;
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(test::readFile(project), original);  // nothing saved

    Answer recover("恢复");
    ASSERT_NO_FATAL_FAILURE(restart(project));
    ASSERT_EQ(recover.texts.size(), 1) << recover.texts.join(" | ").toStdString();
    EXPECT_TRUE(recover.texts[0].startsWith(
        QString::fromStdString("文件" + absProject() + "有未保存的修改（")));
    EXPECT_TRUE(doc().modified);
    EXPECT_EQ(bytesOf(doc(), dir, "recovered.qar"), expected);
    ASSERT_TRUE(app->saveDocument(false));
    EXPECT_EQ(test::readFile(project), expected);
}

TEST_F(Recovery, DiscardDeletesTheRecoveryAndKeepsTheFile) {
    ASSERT_NO_FATAL_FAILURE(open(test::makeDoc({pileTrace("P1", 4000, 20)})));
    const std::string onDisk = bytesOf(doc(), dir, "start.qar");
    changeAndWaitForRecovery();
    crash();
    Answer drop("放弃");
    ASSERT_NO_FATAL_FAILURE(restart(project));
    // the question, then the confirmation that says the changes go for good
    ASSERT_EQ(drop.texts.size(), 2);
    EXPECT_TRUE(drop.texts[1].contains("永久删除")) << drop.texts[1].toStdString();
    EXPECT_TRUE(drop.texts[1].contains(QString::fromStdString(absProject())));
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

    // a document without points cannot be saved: it has no recovery either
    doc().commitChange(DocChange::Header);
    app->recovery()->writeNow();
    app->recovery()->waitForWorker();
    EXPECT_TRUE(ListRecoveries(recoveryDir()).empty());
    // an untitled document is kept, and a clean exit removes it
    doc().points.push_back(pileTrace("P1", 4000, 20));
    doc().commitChange(DocChange::PointList);
    app->recovery()->writeNow();
    app->recovery()->waitForWorker();
    ASSERT_EQ(ListRecoveries(recoveryDir()).size(), 1u);
    EXPECT_EQ(ListRecoveries(recoveryDir())[0].key, "untitled-" + app->recovery()->ownerName());
    app->exitInstance();
    EXPECT_TRUE(ListRecoveries(recoveryDir()).empty());
}

// The windows started for recovered documents, recorded instead of started.
struct LaunchRecorder {
    QStringList keys;
    std::function<bool(const QString&)> before;
    LaunchRecorder() : before(CSondaraApp::recoveryWindowLauncher()) {
        CSondaraApp::recoveryWindowLauncher() = [this](const QString& key) {
            keys << key;
            return true;
        };
    }
    ~LaunchRecorder() { CSondaraApp::recoveryWindowLauncher() = before; }
};

// The desktop program started as a child on `file`, taking 波形反向 and not saving.
struct DesktopChild {
    QProcess process;
    DesktopChild(const test::TempDir& dir, const std::string& file) {
        process.setProcessEnvironment(childEnvironment(dir));
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(desktopProgram(), {QString::fromStdString(file)});
    }
    ~DesktopChild() {
        process.kill();
        process.waitForFinished(10000);
    }
};

// Item of the fault: a second copy offered (and on 放弃 deleted) the recovery of a file
// still open in the first copy, which then never wrote it again; a kill of the first
// copy lost the change. Two real programs: the first runs as a child process.
TEST_F(Recovery, ARunningCopysRecoveryIsNeverOfferedToAnotherAndIsOnceItIsKilled) {
    const ScopedEnv data("XDG_DATA_HOME", dir.file("data"));
    const ScopedEnv settings("SONDARA_SETTINGS_DIR", dir.file("settings"));
    fs::remove_all(recoveryDir());
    CSondaraDoc a = test::makeDoc({pileTrace("A1", 4000, 20), pileTrace("A2", 4000, 30)});
    CSondaraDoc b = test::makeDoc({pileTrace("B1", 3800, 25)});
    const std::string aPath = fs::absolute(dir.file("a.qar")).string();
    const std::string bPath = dir.file("b.qar");
    ASSERT_TRUE(WriteProject(a, aPath));
    ASSERT_TRUE(WriteProject(b, bPath));

    DesktopChild first(dir, aPath);
    ASSERT_TRUE(first.process.waitForStarted(10000));
    RecoveryEntry entry;
    auto running = [&] { return first.process.state() == QProcess::Running; };
    ASSERT_TRUE(
        waitFor([&] { return !running() || FindRecovery(recoveryDir(), aPath, &entry); }, 60000));
    ASSERT_TRUE(running()) << first.process.readAll().toStdString();

    // the second copy on b.qar: nothing to offer, the first copy's file stays
    LaunchRecorder launched;
    {
        Answer drop("放弃");
        ASSERT_NO_FATAL_FAILURE(restart(bPath));
        EXPECT_TRUE(drop.texts.isEmpty()) << drop.texts.join(" | ").toStdString();
    }
    EXPECT_TRUE(fs::exists(entry.dataPath));
    EXPECT_EQ(app->document()->path().toStdString(), bPath);
    EXPECT_FALSE(doc().modified);

    // a recovery file that went missing is written again by its owner
    RemoveRecovery(entry);
    EXPECT_TRUE(waitFor([&] { return fs::exists(entry.dataPath); }, 30000))
        << "the first copy did not write its recovery again";
    ASSERT_TRUE(waitFor([&] { return FindRecovery(recoveryDir(), aPath, &entry); }));

    // the first copy killed: the next start offers its work, and b.qar named on the
    // command line still opens; the recovered a.qar gets a window of its own
    first.process.kill();
    first.process.waitForFinished(10000);
    app->exitInstance();
    app.reset();
    {
        Answer recover("恢复");
        ASSERT_NO_FATAL_FAILURE(restart(bPath));
        ASSERT_EQ(recover.texts.size(), 1) << recover.texts.join(" | ").toStdString();
        EXPECT_TRUE(recover.texts[0].contains(QString::fromStdString(aPath)));
    }
    EXPECT_EQ(app->document()->path().toStdString(), bPath);
    EXPECT_FALSE(doc().modified);
    ASSERT_EQ(launched.keys.size(), 1);
    EXPECT_EQ(launched.keys[0].toStdString(), entry.key);

    // the window started for it: a.qar's unsaved step, bound to a.qar
    app->exitInstance();
    app.reset();
    app = std::make_unique<CSondaraApp>();
    ASSERT_TRUE(app->initInstance({"sondara", "--recover", launched.keys[0]}));
    EXPECT_EQ(app->document()->path().toStdString(), aPath);
    EXPECT_TRUE(doc().modified);
    EXPECT_EQ(doc().pointCount(), 2);
    EXPECT_NE(bytesOf(doc(), dir, "recovered.qar"), test::readFile(aPath));
    // now this program's: no other start offers it while it runs
    EXPECT_TRUE(ListOrphanedRecoveries(recoveryDir()).empty());
    EXPECT_TRUE(FindRecovery(recoveryDir(), aPath, nullptr));
}

// Several programs that ended without cleaning up: one list for all their files, with
// a choice per file; the discarded ones go after a confirmation, the kept ones stay
// for the next start, and the file named on the command line opens all the same.
TEST_F(Recovery, SeveralOrphanedRecoveriesAreOfferedInOneList) {
    CSondaraDoc x = test::makeDoc({pileTrace("X1", 4000, 20)});
    const std::string named = dir.file("named.qar");
    ASSERT_TRUE(WriteProject(x, named));
    struct Orphan {
        std::string path, owner;
        std::int64_t time;
    };
    const Orphan orphans[] = {
        {"/site/x.qar", "p11_gone", 30}, {"/site/y.qar", "p12_gone", 20}, {"", "p13_gone", 10}};
    for (const Orphan& o : orphans)
        ASSERT_TRUE(WriteRecovery(TakeRecoverySnapshot(x, o.path, o.time), recoveryDir(), nullptr,
                                  o.owner));

    LaunchRecorder launched;
    QStringList rows, boxes;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* list = qobject_cast<RecoveryListDialog*>(w)) {
            rows << QString::number(list->choices().size());
            list->setChoice(0, RecoveryChoice::Recover);
            list->setChoice(1, RecoveryChoice::Discard);
            list->setChoice(2, RecoveryChoice::Keep);
            list->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
            boxes << box->text();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == "放弃") b->click();
        }
    });
    answer.start(5);
    ASSERT_NO_FATAL_FAILURE(restart(named));
    answer.stop();
    ASSERT_EQ(rows, QStringList{"3"});  // one list with every file
    ASSERT_EQ(boxes.size(), 1);         // and one confirmation, naming what goes
    EXPECT_TRUE(boxes[0].contains("永久删除"));
    EXPECT_TRUE(boxes[0].contains("/site/y.qar"));
    EXPECT_FALSE(boxes[0].contains("/site/x.qar"));

    EXPECT_EQ(app->document()->path().toStdString(), named);
    EXPECT_FALSE(doc().modified);
    ASSERT_EQ(launched.keys.size(), 1);  // x.qar in a window of its own
    const auto left = ListOrphanedRecoveries(recoveryDir());
    ASSERT_EQ(left.size(), 2u);  // x.qar until its window takes it, and the one kept
    EXPECT_EQ(left[0].originalPath, "/site/x.qar");
    EXPECT_EQ(launched.keys[0].toStdString(), left[0].key);
    EXPECT_EQ(left[1].originalPath, "");
    EXPECT_FALSE(FindRecovery(recoveryDir(), "/site/y.qar", nullptr));
}

}  // namespace
}  // namespace sondara::gui
