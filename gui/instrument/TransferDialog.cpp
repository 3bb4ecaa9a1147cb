#include "gui/instrument/TransferDialog.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "core/app/AppPaths.h"
#include "core/base/Prompter.h"
#include "core/base/TextCodec.h"
#include "core/instrument/TransferSession.h"
#include "gui/app/QtPrompter.h"
#include "gui/app/Translation.h"

namespace sondara::gui {

namespace {

constexpr int kIndexRole = Qt::UserRole;

QString q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// The port's error as the core words it, "无法打开并口 DEVICE：REASON", in the window's
// language (the reason is the system's).
QString portErrorText(const std::string& error) {
    const QString s = QString::fromStdString(error);
    const QString prefix = QStringLiteral("无法打开并口 ");
    const qsizetype colon = s.indexOf(QStringLiteral("："));
    if (!s.startsWith(prefix) || colon < prefix.size()) return s;
    return QObject::tr("无法打开并口 %1：%2")
        .arg(s.mid(prefix.size(), colon - prefix.size()), s.mid(colon + 1));
}

// Messages of the worker: each waits until it was dismissed on the user-interface
// thread.
class WaitingPrompter : public Prompter {
public:
    explicit WaitingPrompter(std::function<void(const std::string&)> show)
        : show_(std::move(show)) {}
    void info(const std::string& text) override { show_(text); }
    bool askYesNo(const std::string&) override { return false; }

private:
    std::function<void(const std::string&)> show_;
};

// Joins a thread that was told to stop; every wait of the link ends at once after
// abort(), so this is short.
void joinAndDelete(QThread*& t) {
    if (!t) return;
    t->wait();
    delete t;
    t = nullptr;
}

}  // namespace

QString TransferDialog::defaultTargetFolder() {
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) docs = QDir::homePath();
    return QDir(docs).filePath("mir") + "/";
}

TransferDialog::TransferDialog(QWidget* parent) : TransferDialog(parent, Options{}) {}

TransferDialog::TransferDialog(QWidget* parent, Options options)
    : QDialog(parent), options_(std::move(options)) {
    session_ = std::make_unique<TransferSession>(options_.port, options_.scratchFolder);
    if (options_.prompter) {
        prompter_ = options_.prompter;
    } else {
        ownPrompter_ = std::make_unique<QtPrompter>(this);
        prompter_ = ownPrompter_.get();
    }
    target_ = options_.targetFolder.isEmpty() ? defaultTargetFolder() : options_.targetFolder;
    if (!target_.endsWith('/')) target_ += '/';

    buildUi();
    const std::string portError = session_->portError();
    portError_->setText(portErrorText(portError));
    portError_->setVisible(!portError.empty());

    connectionLabel_->setText(trCore(kTextNotConnected));

    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &TransferDialog::onTimer);
    timer_->start(options_.probeIntervalMs);
}

TransferDialog::~TransferDialog() {
    closing_ = true;
    if (timer_) timer_->stop();
    stopThreads();
}

void TransferDialog::stopThreads() {
    cancelRequested_ = true;
    session_->abort();
    {
        std::lock_guard<std::mutex> lock(messageMutex_);
        releaseWorker_ = true;
    }
    messageDone_.notify_all();
    joinAndDelete(probeThread_);
    joinAndDelete(workerThread_);
    joinAndDelete(quitThread_);
}

void TransferDialog::buildUi() {
    setWindowTitle(QObject::tr("数据传输"));
    setObjectName("TransferDialog");
    QStyle* st = style();

    tree_ = new QTreeWidget;
    tree_->setHeaderHidden(true);
    tree_->setIconSize(QSize(16, 16));
    tree_->setAccessibleName(QObject::tr("MIR-QAR分析仪"));
    connectionLabel_ = new QLabel;
    connectionLabel_->setAccessibleName(QObject::tr("连接状态"));
    portError_ = new QLabel;
    portError_->setWordWrap(true);
    portError_->setAccessibleName(QObject::tr("端口"));
    auto* instrumentBox = new QGroupBox(QObject::tr("MIR-QAR分析仪"));
    auto* ib = new QVBoxLayout(instrumentBox);
    ib->addWidget(tree_);
    ib->addWidget(connectionLabel_);
    ib->addWidget(portError_);

    list_ = new QTreeWidget;
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels({QObject::tr("工程名称"), QObject::tr("测点数"), QObject::tr("检测日期"),
                            QObject::tr("文件名")});
    const int widths[] = {60, 50, 80, 100};
    for (int c = 0; c < 4; ++c) list_->setColumnWidth(c, widths[c]);
    list_->setAccessibleName(QObject::tr("选择范围"));
    auto* rangeBox = new QGroupBox(QObject::tr("选择范围"));
    (new QVBoxLayout(rangeBox))->addWidget(list_);

    auto picture = [&](QStyle::StandardPixmap icon, const QString& tip) {
        auto* b = new QToolButton;
        b->setIcon(st->standardIcon(icon));
        b->setIconSize(QSize(32, 32));
        b->setToolTip(tip);
        b->setAccessibleName(tip);
        b->setFocusPolicy(Qt::StrongFocus);
        return b;
    };
    addSelected_ =
        picture(QStyle::SP_ArrowDown, QObject::tr("从“选择范围”区添加被选中的文件到“传输文件”"));
    removeSelected_ = picture(QStyle::SP_ArrowUp, QObject::tr("从“传输文件”区删除被选中的文件"));
    addAll_ =
        picture(QStyle::SP_MediaSeekForward, QObject::tr("添加“选择范围”区所有文件到“传输文件”"));
    removeAll_ = picture(QStyle::SP_DialogDiscardButton, QObject::tr("删除“传输文件”区所有文件"));
    auto* buttons = new QHBoxLayout;
    for (QToolButton* b : {addSelected_, removeSelected_, addAll_, removeAll_})
        buttons->addWidget(b);
    buttons->addStretch();

    queueBox_ = new QListWidget;
    queueBox_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    queueBox_->setAccessibleName(QObject::tr("传输文件"));
    targetEdit_ = new QLineEdit;
    targetEdit_->setReadOnly(true);
    targetEdit_->setText(target_);
    chooseFolder_ = new QPushButton(QObject::tr("存放目录"));
    targetEdit_->setAccessibleName(QObject::tr("存放目录"));
    auto* queueGroup = new QGroupBox(QObject::tr("传输文件"));
    auto* qb = new QVBoxLayout(queueGroup);
    qb->addWidget(queueBox_);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(targetEdit_, 1);
    folderRow->addWidget(chooseFolder_);
    qb->addLayout(folderRow);

    progress_ = new QProgressBar;
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setAccessibleName(QObject::tr("传输进度"));
    start_ = new QPushButton(QObject::tr("开始传输"));
    close_ = new QPushButton(QObject::tr("关 闭"));
    start_->setDefault(true);

    auto* right = new QVBoxLayout;
    right->addWidget(rangeBox, 3);
    right->addLayout(buttons);
    right->addWidget(queueGroup, 2);
    auto* top = new QHBoxLayout;
    top->addWidget(instrumentBox, 2);
    top->addLayout(right, 3);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(progress_, 1);
    bottom->addWidget(start_);
    bottom->addWidget(close_);
    auto* main = new QVBoxLayout(this);
    main->addLayout(top, 1);
    main->addLayout(bottom);
    resize(720, 480);

    connect(start_, &QPushButton::clicked, this, &TransferDialog::startTransfer);
    connect(close_, &QPushButton::clicked, this, &TransferDialog::requestClose);
    connect(addSelected_, &QToolButton::clicked, this, &TransferDialog::addSelectedRows);
    connect(removeSelected_, &QToolButton::clicked, this, &TransferDialog::removeSelectedQueued);
    connect(addAll_, &QToolButton::clicked, this, &TransferDialog::addAllRows);
    connect(removeAll_, &QToolButton::clicked, this, &TransferDialog::removeAllQueued);
    connect(chooseFolder_, &QPushButton::clicked, this, &TransferDialog::chooseTargetFolder);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { addSelectedRows(); });
    connect(queueBox_, &QListWidget::itemDoubleClicked, this, [this] { removeSelectedQueued(); });
    connect(tree_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* i) { onTreeClicked(i, false); });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* i) { onTreeClicked(i, true); });
}

void TransferDialog::setTargetFolder(const QString& folder) {
    target_ = folder.endsWith('/') ? folder : folder + '/';
    targetEdit_->setText(target_);
}

void TransferDialog::showMessage(const QString& text) {
    if (closing_) return;
    prompter_->info(text.toStdString());
}

bool TransferDialog::ask(const QString& text) {
    return prompter_->askYesNo(text.toStdString());
}

// ---- probe -----------------------------------------------------------------

void TransferDialog::onTimer() {
    if (closing_) return;
    if (cancelState_ == 2) {
        finishAndClose();
        return;
    }
    if (busy_ || probeThread_) return;
    startProbe();
}

void TransferDialog::startProbe() {
    TransferSession* s = session_.get();
    probeThread_ = QThread::create([this, s] {
        const bool c = s->ConnectionProbe();
        std::vector<SiteEntry> sites = s->sites();
        QMetaObject::invokeMethod(
            this,
            [this, c, sites = std::move(sites)]() mutable { probeFinished(c, std::move(sites)); },
            Qt::QueuedConnection);
    });
    probeThread_->start();
}

void TransferDialog::probeFinished(bool connected, std::vector<SiteEntry> sites) {
    joinAndDelete(probeThread_);
    if (closing_) return;
    connected_ = connected;
    sites_ = std::move(sites);
    refreshTree();
    refreshList();
    if (startPending_) {
        // The start waited for this probe, which may have found the cable pulled and
        // emptied the queue: only now is it decided whether anything runs.
        startPending_ = false;
        busy_ = false;
        queueBox_->setEnabled(true);
        if (cancelState_ == 1) {
            cancelState_ = 2;  // closed before anything ran: the next tick closes
            return;
        }
        if (queue_.empty()) {
            showMessage(trCore(kMsgQueueEmpty));
            return;
        }
        launchWorker();
    }
}

void TransferDialog::refreshTree() {
    if (static_cast<int>(connected_) == treeShown_) return;
    treeShown_ = connected_;
    QStyle* st = style();
    tree_->clear();
    auto* root = new QTreeWidgetItem(tree_, {QString("MIR-QAR(%1)").arg(sites_.size())});
    if (!connected_) {
        root->setIcon(0, st->standardIcon(QStyle::SP_MessageBoxCritical));
        queue_.clear();
        queueBox_->clear();
        return;
    }
    root->setIcon(0, st->standardIcon(QStyle::SP_ComputerIcon));
    auto* dat = new QTreeWidgetItem(root, {"DAT"});
    dat->setIcon(0, st->standardIcon(QStyle::SP_DirIcon));
    for (std::size_t i = 0; i < sites_.size(); ++i) {
        auto* item = new QTreeWidgetItem(dat, {q(sites_[i].displayName)});
        item->setIcon(0, st->standardIcon(QStyle::SP_FileIcon));
        item->setData(0, kIndexRole, static_cast<int>(i));
    }
    root->setExpanded(true);
    dat->setExpanded(true);
}

void TransferDialog::refreshList() {
    if (static_cast<int>(connected_) == listShown_) return;
    listShown_ = connected_;
    list_->clear();
    if (!connected_) {
        connectionLabel_->setText(trCore(kTextNotConnected));
        return;
    }
    for (std::size_t i = 0; i < sites_.size(); ++i) {
        const SiteEntry& e = sites_[i];
        auto* row = new QTreeWidgetItem(
            list_, {q(gbkToUtf8(e.siteProjectName)), QString::number(e.pointCount()),
                    q(gbkToUtf8(e.testDate)), q(e.displayName)});
        row->setData(0, kIndexRole, static_cast<int>(i));
    }
    connectionLabel_->setText(q(kTextInstrumentFolder));
}

// ---- queue -----------------------------------------------------------------

void TransferDialog::refreshQueueBox() {
    queueBox_->clear();
    if (!connected_) return;
    for (int k : queue_.shown(static_cast<int>(sites_.size()))) {
        auto* item =
            new QListWidgetItem(q(sites_[static_cast<std::size_t>(k)].displayName), queueBox_);
        item->setData(kIndexRole, k);
    }
}

void TransferDialog::addToQueue(const std::vector<int>& ks) {
    if (!queueEditsAllowed()) return;
    if (queue_.add(ks)) refreshQueueBox();
}

void TransferDialog::addSelectedRows() {
    std::vector<int> ks;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->isSelected()) ks.push_back(i);
    addToQueue(ks);
}

void TransferDialog::addAllRows() {
    std::vector<int> ks;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) ks.push_back(i);
    addToQueue(ks);
}

void TransferDialog::removeSelectedQueued() {
    if (!queueEditsAllowed()) return;
    std::vector<int> positions;
    for (int i = 0; i < queueBox_->count(); ++i)
        if (queueBox_->item(i)->isSelected()) positions.push_back(i);
    queue_.removePositions(positions);
    refreshQueueBox();
}

void TransferDialog::removeAllQueued() {
    if (!queueEditsAllowed()) return;
    queue_.clear();
    refreshQueueBox();
}

void TransferDialog::onTreeClicked(QTreeWidgetItem* item, bool add) {
    if (!item) return;
    const QVariant v = item->data(0, kIndexRole);
    if (!v.isValid()) return;
    const int k = v.toInt();
    if (k < 0 || k >= list_->topLevelItemCount()) return;
    list_->clearSelection();
    list_->setCurrentItem(list_->topLevelItem(k));
    list_->topLevelItem(k)->setSelected(true);
    if (add) addToQueue({k});
}

void TransferDialog::chooseTargetFolder() {
    if (busy_) return;
    const QString dir =
        QFileDialog::getExistingDirectory(this, QObject::tr("选择存放目录"), target_);
    if (!dir.isEmpty()) setTargetFolder(dir);
}

// ---- transfer --------------------------------------------------------------

void TransferDialog::startTransfer() {
    if (cancelState_ > 0 || busy_ || closing_) return;
    if (queue_.empty()) {
        showMessage(trCore(kMsgQueueEmpty));
        return;
    }
    // The link serves one thread at a time: a probe under way finishes first, and
    // the queue is looked at again when it has (it may have emptied it).
    if (probeThread_) {
        startPending_ = true;
        busy_ = true;
        queueBox_->setEnabled(false);
        return;
    }
    launchWorker();
}

void TransferDialog::launchWorker() {
    busy_ = true;
    queueBox_->setEnabled(false);
    cancelState_ = 0;
    cancelRequested_ = false;
    progress_->setValue(0);
    folderToOpen_ = target_;
    makeDirs(target_.toStdString());
    runWorker();
}

void TransferDialog::showWorkerMessage(const QString& text, std::shared_ptr<bool> dismissed) {
    showMessage(text);
    {
        std::lock_guard<std::mutex> lock(messageMutex_);
        *dismissed = true;
    }
    messageDone_.notify_all();
}

void TransferDialog::waitForMessage(const std::string& text) {
    auto dismissed = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        this, [this, text, dismissed] { showWorkerMessage(trCore(text), dismissed); },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(messageMutex_);
    messageDone_.wait(lock, [&] { return *dismissed || releaseWorker_; });
}

void TransferDialog::runWorker() {
    TransferSession* s = session_.get();
    const std::string target = target_.toStdString();
    TransferQueue work = queue_;
    workerThread_ = QThread::create([this, s, target, work]() mutable {
        WaitingPrompter prompter([this](const std::string& text) { waitForMessage(text); });
        TransferSession::Progress report;
        report.progress = [this](int p) {
            QMetaObject::invokeMethod(
                this, [this, p] { progress_->setValue(p); }, Qt::QueuedConnection);
        };
        report.queueChanged = [this, &work] {
            std::vector<int> items = work.items();
            QMetaObject::invokeMethod(
                this,
                [this, items] {
                    queue_.clear();
                    queue_.add(items);
                    refreshQueueBox();
                },
                Qt::QueuedConnection);
        };
        s->RunQueue(work, target, prompter, cancelRequested_, report);
        std::vector<int> remaining = work.items();
        QMetaObject::invokeMethod(
            this, [this, remaining] { workerFinished(remaining); }, Qt::QueuedConnection);
    });
    workerThread_->start();
}

void TransferDialog::workerFinished(std::vector<int> remaining) {
    joinAndDelete(workerThread_);
    if (closing_) return;
    queue_.clear();
    queue_.add(remaining);
    refreshQueueBox();
    if (cancelState_ == 1) {
        cancelState_ = 2;  // the next tick says "quit" and closes
        return;
    }
    busy_ = false;
    queueBox_->setEnabled(true);
}

// ---- closing ---------------------------------------------------------------

void TransferDialog::requestClose() {
    if (closing_) return;
    if (cancelState_ > 0) {
        if (ask(QObject::tr(
                "正在结束操作，是否强行终止操作？\n警告：强行终止将导致软件异常退出！")))
            finishAndClose();
        return;
    }
    if (busy_) {
        if (ask(QObject::tr("传输尚未完成，是否终止尚未完成的传输？"))) {
            cancelState_ = 1;
            cancelRequested_ = true;
        }
        return;
    }
    finishAndClose();
}

void TransferDialog::finishAndClose() {
    if (closing_) return;
    closing_ = true;
    timer_->stop();
    setEnabled(false);
    // Whatever still uses the link stops at its next status read; then "quit" goes
    // out on a thread of its own, and the dialog closes when it is through.
    stopThreads();
    session_->clearAbort();
    TransferSession* s = session_.get();
    quitThread_ = QThread::create([this, s] {
        s->protocol().Execute(TransferOp::Quit);
        QMetaObject::invokeMethod(
            this,
            [this] {
                joinAndDelete(quitThread_);
                sites_.clear();
                queue_.clear();
                if (!folderToOpen_.isEmpty()) {
                    if (options_.openFolder)
                        options_.openFolder(folderToOpen_);
                    else
                        QDesktopServices::openUrl(QUrl::fromLocalFile(folderToOpen_));
                }
                setEnabled(true);
                finished_ = true;
                done(QDialog::Accepted);
            },
            Qt::QueuedConnection);
    });
    quitThread_->start();
}

void TransferDialog::closeEvent(QCloseEvent* event) {
    if (finished_) {
        event->accept();
        return;
    }
    event->ignore();
    requestClose();
}

void TransferDialog::reject() {
    requestClose();
}

}  // namespace sondara::gui
