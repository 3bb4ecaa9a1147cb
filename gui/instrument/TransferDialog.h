#pragma once
// 数据传输: watches for the instrument every 500 ms, lists its projects, queues them
// and downloads and converts the queued ones on a worker thread.
//
// Threads: the probe and the transfer each run on a thread of their own, never both
// at once, so the user-interface thread never waits on the port. They report back
// through queued calls only; the worker waits until each of its messages was
// dismissed (so the end of a transfer shows progress 100, the closing message, then
// progress 0, and only then leaves busy). Closing or destroying the dialog stops the
// link (every wait ends at once), releases a worker waiting on a message and joins the
// threads before anything they use goes away.
#include <QDialog>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/instrument/SiteList.h"
#include "core/instrument/TransferQueue.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace sondara {
class Prompter;
class TransferSession;
}  // namespace sondara

namespace sondara::gui {

class TransferDialog : public QDialog {
    Q_OBJECT
public:
    struct Options {
        std::string port;  // empty: $SONDARA_PARPORT, else /dev/parport0
        // Empty: a "mir" folder in the user's documents, created when a transfer starts.
        QString targetFolder;
        std::string scratchFolder;  // where probes put the site list (empty: temp)
        // Messages and questions (the user-interface thread only); null: message boxes.
        Prompter* prompter = nullptr;
        // Opens the target folder on close; empty: the desktop's file manager.
        std::function<void(const QString&)> openFolder;
        int probeIntervalMs = 500;
    };

    explicit TransferDialog(QWidget* parent = nullptr);
    TransferDialog(QWidget* parent, Options options);
    ~TransferDialog() override;

    static QString defaultTargetFolder();

    // For tests and the command's callers.
    bool connected() const { return connected_; }
    bool busy() const { return busy_; }
    bool probing() const { return probeThread_ != nullptr; }
    int cancelState() const { return cancelState_; }
    bool isFinished() const { return finished_; }
    const std::vector<int>& queueItems() const { return queue_.items(); }
    QString targetFolder() const { return target_; }
    void setTargetFolder(const QString& folder);

    // The controls, named after their captions (tests drive them).
    QTreeWidget* tree() const { return tree_; }
    QTreeWidget* list() const { return list_; }
    QListWidget* queueBox() const { return queueBox_; }
    QLabel* connectionLabel() const { return connectionLabel_; }
    QLabel* portErrorLabel() const { return portError_; }
    QProgressBar* progressBar() const { return progress_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* closeButton() const { return close_; }
    QToolButton* addSelectedButton() const { return addSelected_; }
    QToolButton* removeSelectedButton() const { return removeSelected_; }
    QToolButton* addAllButton() const { return addAll_; }
    QToolButton* removeAllButton() const { return removeAll_; }

    void startTransfer();         // 开始传输
    void requestClose();          // 关 闭 or the window's close
    void addSelectedRows();       // 1092
    void removeSelectedQueued();  // 1127
    void addAllRows();            // 1126
    void removeAllQueued();       // 1149
    void chooseTargetFolder();    // 存放目录

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void buildUi();
    void onTimer();
    void startProbe();
    void probeFinished(bool connected, std::vector<SiteEntry> sites);
    void refreshTree();
    void refreshList();
    void refreshQueueBox();
    void addToQueue(const std::vector<int>& ks);
    bool queueEditsAllowed() const { return !busy_ && cancelState_ == 0 && !closing_; }
    void launchWorker();
    void runWorker();
    // Shows a message of the worker, then lets the worker go on.
    void showWorkerMessage(const QString& text, std::shared_ptr<bool> dismissed);
    // On the worker's thread: posts the message and waits until it was dismissed or
    // the dialog is going away.
    void waitForMessage(const std::string& text);
    void workerFinished(std::vector<int> remaining);
    void finishAndClose();
    void stopThreads();
    void showMessage(const QString& text);
    bool ask(const QString& text);
    void onTreeClicked(QTreeWidgetItem* item, bool addToQueue);

    Options options_;
    std::unique_ptr<TransferSession> session_;
    std::unique_ptr<Prompter> ownPrompter_;
    Prompter* prompter_ = nullptr;

    bool connected_ = false;
    std::vector<SiteEntry> sites_;  // the site table as last probed
    TransferQueue queue_;
    QString target_;
    QString folderToOpen_;
    bool busy_ = false;
    int cancelState_ = 0;
    std::atomic<bool> cancelRequested_{false};
    int treeShown_ = -1, listShown_ = -1;
    bool closing_ = false;
    bool finished_ = false;      // "quit" went out; the dialog may close
    bool startPending_ = false;  // start pressed during a probe: decided after it

    // The worker's wait for its messages.
    std::mutex messageMutex_;
    std::condition_variable messageDone_;
    bool releaseWorker_ = false;  // the dialog is going away: wait for nothing

    QThread* probeThread_ = nullptr;
    QThread* workerThread_ = nullptr;
    QThread* quitThread_ = nullptr;
    QTimer* timer_ = nullptr;

    QTreeWidget* tree_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QListWidget* queueBox_ = nullptr;
    QLabel* connectionLabel_ = nullptr;
    QLabel* portError_ = nullptr;
    QLineEdit* targetEdit_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* chooseFolder_ = nullptr;
    QToolButton* addSelected_ = nullptr;
    QToolButton* removeSelected_ = nullptr;
    QToolButton* addAll_ = nullptr;
    QToolButton* removeAll_ = nullptr;
};

}  // namespace sondara::gui
