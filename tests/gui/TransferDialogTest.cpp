// The transfer dialog against an emulated instrument on a virtual cable file (the
// instrument's end served on a thread of the test).
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>
#include <thread>

#include "core/app/AppPaths.h"
#include "core/app/RunLog.h"
#include "core/fileio/ProjectFile.h"
#include "core/instrument/InstrumentDrive.h"
#include "core/instrument/InstrumentServer.h"
#include "core/instrument/VirtualCable.h"
#include "core/model/SondaraDoc.h"
#include "gui/app/SondaraApp.h"
#include "gui/frame/MainFrame.h"
#include "gui/instrument/TransferDialog.h"
#include "support/TestSupport.h"

namespace sondara::gui {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Processes events until `done` or the time is up.
template <typename F>
bool waitFor(F done, int ms = 20000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

class Instrument {
public:
    explicit Instrument(std::vector<DemoProject> projects = DemoProjects(),
                        const InstrumentFaults& faults = {}) {
        EXPECT_TRUE(WriteDemoDrive(drive_.path(), projects));
        cable_ = VirtualCable::open(drive_.file("cable"));
        port_ = std::make_unique<VirtualPortIo>(cable_, VirtualPortIo::Side::Instrument, 0);
        server_ = std::make_unique<InstrumentServer>(*port_, drive_.path(), cable_);
        server_->setFaults(faults);
        thread_ = std::thread([this] { server_->run(); });
    }
    ~Instrument() {
        server_->stop();
        thread_.join();
    }
    std::string port() const { return "virtual:" + drive_.file("cable"); }
    VirtualCable& cable() { return *cable_; }

private:
    TempDir drive_;
    std::shared_ptr<VirtualCable> cable_;
    std::unique_ptr<VirtualPortIo> port_;
    std::unique_ptr<InstrumentServer> server_;
    std::thread thread_;
};

struct Fixture {
    TempDir target, scratch;
    test::ScriptedPrompter prompter;
    QStringList opened;
    TransferDialog::Options options(const std::string& port) {
        TransferDialog::Options o;
        o.port = port;
        o.targetFolder = QString::fromStdString(target.path());
        o.scratchFolder = scratch.path();
        o.prompter = &prompter;
        o.openFolder = [this](const QString& f) { opened << f; };
        o.probeIntervalMs = 100;
        return o;
    }
};

TEST(TransferDialog, ListsQueuesDownloadsAndFollowsTheCable) {
    Instrument instrument;
    Fixture fx;
    TransferDialog dlg(nullptr, fx.options(instrument.port()));
    EXPECT_EQ(dlg.windowTitle(), "数据传输");
    EXPECT_EQ(dlg.connectionLabel()->text(), "尚未连接。");
    EXPECT_TRUE(dlg.portErrorLabel()->isHidden());
    dlg.show();

    ASSERT_TRUE(waitFor([&] { return dlg.list()->topLevelItemCount() == 3; }));
    EXPECT_EQ(dlg.connectionLabel()->text(), "C:\\DAT");
    QTreeWidgetItem* root = dlg.tree()->topLevelItem(0);
    EXPECT_EQ(root->text(0), "MIR-QAR(3)");
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->text(0), "DAT");
    EXPECT_EQ(root->child(0)->child(1)->text(0), "大桥桩基—1.qar");
    QTreeWidgetItem* row = dlg.list()->topLevelItem(1);
    EXPECT_EQ(row->text(0), "大桥桩基");
    EXPECT_EQ(row->text(1), "2");
    EXPECT_EQ(row->text(2), "2024-05-07");
    EXPECT_EQ(row->text(3), "大桥桩基—1.qar");

    // Start with nothing queued.
    dlg.startButton()->click();
    EXPECT_EQ(fx.prompter.infos, std::vector<std::string>{"请选择所要传输的文件!"});
    fx.prompter.infos.clear();

    // Queue: the third row selected, then all (no duplicates), remove the first.
    dlg.list()->topLevelItem(2)->setSelected(true);
    dlg.addSelectedButton()->click();
    dlg.addAllButton()->click();
    EXPECT_EQ(dlg.queueItems(), (std::vector<int>{2, 0, 1}));
    dlg.queueBox()->item(0)->setSelected(true);
    dlg.removeSelectedButton()->click();
    EXPECT_EQ(dlg.queueItems(), (std::vector<int>{0, 1}));
    ASSERT_EQ(dlg.queueBox()->count(), 2);
    EXPECT_EQ(dlg.queueBox()->item(1)->text(), "大桥桩基—1.qar");
    if (qEnvironmentVariableIsSet("SONDARA_GRAB"))
        dlg.grab().save(qEnvironmentVariable("SONDARA_GRAB"));

    std::vector<int> progress;
    QObject::connect(dlg.progressBar(), &QProgressBar::valueChanged,
                     [&](int v) { progress.push_back(v); });
    dlg.startButton()->click();
    EXPECT_TRUE(dlg.busy());
    EXPECT_FALSE(dlg.queueBox()->isEnabled());
    dlg.addAllButton()->click();  // refused while busy
    ASSERT_TRUE(waitFor([&] { return !dlg.busy(); }));
    EXPECT_EQ(fx.prompter.infos, std::vector<std::string>{"QAR文件传输结束!"});
    EXPECT_EQ(progress, (std::vector<int>{50, 100, 0}));
    EXPECT_TRUE(dlg.queueItems().empty());
    for (const char* name : {"大桥桩基.qar", "大桥桩基—1.qar"}) {
        CSondaraDoc doc;
        EXPECT_EQ(ReadProject(doc, fx.target.file(name)), "") << name;
    }

    // Unplugged while idle: the list empties; plugged back: the list is read again.
    dlg.addAllButton()->click();
    instrument.cable().setPlugged(false);
    ASSERT_TRUE(waitFor([&] { return dlg.list()->topLevelItemCount() == 0; }));
    EXPECT_EQ(dlg.connectionLabel()->text(), "尚未连接。");
    EXPECT_EQ(dlg.tree()->topLevelItem(0)->text(0), "MIR-QAR(0)");
    EXPECT_TRUE(dlg.queueItems().empty());
    EXPECT_EQ(dlg.queueBox()->count(), 0);
    instrument.cable().setPlugged(true);
    ASSERT_TRUE(waitFor([&] { return dlg.list()->topLevelItemCount() == 3; }));

    // A click on a project in the tree selects its row; a double click queues it.
    QTreeWidgetItem* third = dlg.tree()->topLevelItem(0)->child(0)->child(2);
    emit dlg.tree()->itemDoubleClicked(third, 0);
    EXPECT_TRUE(dlg.list()->topLevelItem(2)->isSelected());
    EXPECT_FALSE(dlg.list()->topLevelItem(0)->isSelected());
    EXPECT_EQ(dlg.queueItems(), std::vector<int>{2});

    dlg.closeButton()->click();
    ASSERT_TRUE(waitFor([&] { return dlg.isFinished(); }));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(fx.opened, QStringList{QString::fromStdString(fx.target.path() + "/")});
}

TEST(TransferDialog, CancellingAndForcedTerminationStopTheWorker) {
    std::vector<DemoProject> projects = {
        {"S1", "A", "2024-01-01", 2}, {"S2", "B", "2024-01-02", 2}, {"S3", "C", "2024-01-03", 2}};
    {
        // Cancel: the worker finishes its project, then the dialog says "quit" and closes.
        Instrument instrument(projects);
        Fixture fx;
        fx.prompter = test::ScriptedPrompter({true});
        TransferDialog dlg(nullptr, fx.options(instrument.port()));
        dlg.show();
        ASSERT_TRUE(waitFor([&] { return dlg.list()->topLevelItemCount() == 3; }));
        dlg.addAllButton()->click();
        dlg.startButton()->click();
        dlg.closeButton()->click();
        EXPECT_EQ(fx.prompter.questions,
                  std::vector<std::string>{"传输尚未完成，是否终止尚未完成的传输？"});
        EXPECT_EQ(dlg.cancelState(), 1);
        ASSERT_TRUE(waitFor([&] { return dlg.isFinished(); }));
        EXPECT_LT(std::distance(fs::directory_iterator(fx.target.path()), fs::directory_iterator()),
                  3);
        EXPECT_EQ(fx.opened.size(), 1);
    }
    {
        // Forced: both questions answered Yes; the dialog closes at once and is
        // destroyed while the instrument is slow, without waiting for it.
        Instrument instrument(projects);
        Fixture fx;
        fx.prompter = test::ScriptedPrompter({true, true});
        auto dlg = std::make_unique<TransferDialog>(nullptr, fx.options(instrument.port()));
        dlg->show();
        ASSERT_TRUE(waitFor([&] { return dlg->list()->topLevelItemCount() == 3; }));
        dlg->addAllButton()->click();
        dlg->startButton()->click();
        dlg->closeButton()->click();
        dlg->closeButton()->click();
        EXPECT_EQ(fx.prompter.questions.size(), 2u);
        EXPECT_EQ(fx.prompter.questions[1],
                  "正在结束操作，是否强行终止操作？\n警告：强行终止将导致软件异常退出！");
        QElapsedTimer t;
        t.start();
        dlg.reset();
        EXPECT_LT(t.elapsed(), 2000);
    }
}

TEST(TransferDialog, StartDuringAProbeThatFindsTheCablePulledRunsNothing) {
    Instrument instrument;
    Fixture fx;
    TransferDialog dlg(nullptr, fx.options(instrument.port()));
    dlg.show();
    ASSERT_TRUE(waitFor([&] { return dlg.list()->topLevelItemCount() == 3; }));
    dlg.addAllButton()->click();
    std::vector<int> progress;
    QObject::connect(dlg.progressBar(), &QProgressBar::valueChanged,
                     [&](int v) { progress.push_back(v); });

    instrument.cable().setPlugged(false);
    // Start while a probe that began after the pull is under way.
    ASSERT_TRUE(waitFor([&] { return !dlg.probing(); }));
    ASSERT_TRUE(waitFor([&] { return dlg.probing(); }));
    // On a loaded machine a probe may start and find the cable pulled between two looks
    // of the wait, emptying the queue before the start: then the start answers at once,
    // with the same message and nothing run.
    const bool queueHeld = !dlg.queueItems().empty();
    dlg.startButton()->click();
    if (queueHeld) {
        EXPECT_TRUE(fx.prompter.infos.empty());  // decided once the probe is through
        EXPECT_TRUE(dlg.busy());
    }
    ASSERT_TRUE(waitFor([&] { return !dlg.probing() && !dlg.busy(); }));
    EXPECT_EQ(fx.prompter.infos, std::vector<std::string>{"请选择所要传输的文件!"});
    QTest::qWait(300);  // nothing runs afterwards either
    EXPECT_EQ(fx.prompter.infos, std::vector<std::string>{"请选择所要传输的文件!"});
    EXPECT_TRUE(progress.empty());
    EXPECT_TRUE(dlg.queueBox()->isEnabled());
    EXPECT_EQ(dlg.connectionLabel()->text(), "尚未连接。");

    dlg.closeButton()->click();
    ASSERT_TRUE(waitFor([&] { return dlg.isFinished(); }));
    EXPECT_TRUE(fx.opened.isEmpty());  // no transfer was started
}

// Records the worker's messages among the progress values and holds each message
// open for a while with events running, as a message box does until it is dismissed
// ("/" marks the dismissal).
class ReadingPrompter : public Prompter {
public:
    explicit ReadingPrompter(std::vector<std::string>& events) : events_(events) {}
    void info(const std::string& text) override {
        events_.push_back(text);
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 300) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        events_.push_back("/");
    }
    bool askYesNo(const std::string&) override { return false; }

private:
    std::vector<std::string>& events_;
};

TEST(TransferDialog, WorkerGoesOnOnlyOnceEachMessageWasDismissed) {
    // Both projects fail (their files come as empty frames), then the run ends.
    InstrumentFaults faults;
    faults.emptyFramesFor = "DOWND";
    Instrument instrument(
        {{"S1", "A", "2024-01-01", 1}, {"S2", "B", "2024-01-02", 1}, {"S3", "C", "2024-01-03", 1}},
        faults);
    Fixture fx;
    std::vector<std::string> events;
    ReadingPrompter reading(events);
    TransferDialog::Options o = fx.options(instrument.port());
    o.prompter = &reading;
    TransferDialog dlg(nullptr, o);
    dlg.show();
    ASSERT_TRUE(waitFor([&] { return dlg.list()->topLevelItemCount() == 3; }));
    dlg.list()->topLevelItem(0)->setSelected(true);
    dlg.list()->topLevelItem(2)->setSelected(true);
    dlg.addSelectedButton()->click();
    QObject::connect(dlg.progressBar(), &QProgressBar::valueChanged,
                     [&](int v) { events.push_back("p" + std::to_string(v)); });
    dlg.startButton()->click();
    ASSERT_TRUE(waitFor([&] { return !dlg.busy(); }, 60000));
    const std::string failed = "获取文件" + fx.target.path() + "/失败！";
    EXPECT_EQ(events, (std::vector<std::string>{failed, "/", failed, "/", "p100",
                                                "QAR文件传输结束!", "/", "p0"}));
    dlg.closeButton()->click();
    ASSERT_TRUE(waitFor([&] { return dlg.isFinished(); }));
}

TEST(TransferDialog, OpensModallyFromTheTransferCommand) {
    TempDir dir;
    RunLog::instance().setPath(dir.file("log.txt"));
    const QByteArray previous = qgetenv("SONDARA_PARPORT");
    qputenv("SONDARA_PARPORT", QByteArray::fromStdString("virtual:" + dir.file("cable")));
    {
        CSondaraApp app;
        ASSERT_TRUE(app.initInstance({"sondara"}));
        ASSERT_TRUE(app.frame()->commands().isEnabled(CommandId::ToolTransfer));
        QString title;
        int ticks = 0;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            auto* d = qobject_cast<TransferDialog*>(QApplication::activeModalWidget());
            if (d && title.isEmpty()) {
                title = d->windowTitle();
                d->closeButton()->click();
            } else if (++ticks > 400 && QApplication::activeModalWidget()) {
                QApplication::activeModalWidget()->hide();  // never hang the suite
            }
        });
        closer.start(25);
        EXPECT_TRUE(app.frame()->commands().run(CommandId::ToolTransfer));
        EXPECT_EQ(title, "数据传输");
    }
    qputenv("SONDARA_PARPORT", previous);
    RunLog::instance().setPath(logFilePath());
}

TEST(TransferDialog, MissingPortIsNamedOnce) {
    Fixture fx;
    TransferDialog dlg(nullptr, fx.options("/dev/parport-none"));
    EXPECT_FALSE(dlg.portErrorLabel()->isHidden());
    EXPECT_TRUE(dlg.portErrorLabel()->text().contains("/dev/parport-none"));
    EXPECT_TRUE(fx.prompter.infos.empty());
}

}  // namespace
}  // namespace sondara::gui
