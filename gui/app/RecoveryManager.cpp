#include "gui/app/RecoveryManager.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSettings>
#include <memory>

#include "core/app/AppPaths.h"
#include "core/app/RunLog.h"
#include "core/fileio/RecoveryStore.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/UserSettings.h"

namespace sondara::gui {

namespace {
constexpr int kDefaultSeconds = 300;
constexpr const char* kSettingKey = "Recovery/intervalSeconds";
}  // namespace

RecoveryManager::RecoveryManager(QObject* parent) : QObject(parent) {
    worker_.setMaxThreadCount(1);  // writes and removals keep their order
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RecoveryManager::writeNow);
}

RecoveryManager::~RecoveryManager() {
    worker_.waitForDone();
}

int RecoveryManager::intervalSeconds() {
    bool ok = false;
    const int env = qEnvironmentVariableIntValue("SONDARA_AUTOSAVE_SECONDS", &ok);
    if (ok && env > 0) return env;
    return storedIntervalSeconds();
}

int RecoveryManager::storedIntervalSeconds() {
    const int v = userSettings().value(kSettingKey, kDefaultSeconds).toInt();
    return v > 0 ? v : kDefaultSeconds;
}

void RecoveryManager::setStoredIntervalSeconds(int seconds) {
    QSettings s = userSettings();
    s.setValue(kSettingKey, seconds > 0 ? seconds : kDefaultSeconds);
}

std::string RecoveryManager::documentPath() const {
    if (!host_ || host_->path().isEmpty()) return {};
    return QFileInfo(host_->path()).absoluteFilePath().toStdString();
}

void RecoveryManager::watch(DocumentHost* host) {
    if (changed_) disconnect(changed_);
    timer_.stop();
    writtenPaths_.clear();
    host_ = host;
    if (host)
        changed_ = connect(host, &DocumentHost::documentChanged, this, &RecoveryManager::onChanged);
}

void RecoveryManager::onChanged(const DocChangeEvent& e) {
    if (e.kind == DocChange::Selection || !host_ || !host_->doc().modified) return;
    // counted from the first change after the last write
    if (!timer_.isActive()) timer_.start(intervalSeconds() * 1000);
}

void RecoveryManager::writeNow() {
    timer_.stop();
    if (!host_ || !host_->doc().modified) return;
    // a document without points cannot be saved, so there is nothing to recover; an
    // older recovery of it would bring back points the user deleted
    if (host_->doc().pointCount() == 0) {
        discard();
        return;
    }
    const std::string path = documentPath();
    writtenPaths_.insert(path);
    auto snap = std::make_shared<RecoverySnapshot>(
        TakeRecoverySnapshot(host_->doc(), path, QDateTime::currentSecsSinceEpoch()));
    QPointer<RecoveryManager> self(this);
    worker_.start([snap, self] {
        std::string error;
        const bool ok = WriteRecovery(*snap, recoveryDir(), &error);
        // the run log belongs to the interface thread
        QMetaObject::invokeMethod(
            self.data(),
            [self, ok, error] {
                if (!self) return;
                if (!ok) logLine("恢复文件写入失败：" + error);
                // a failed write is tried again after the next interval
                if (!ok && self->host_ && self->host_->doc().modified && !self->timer_.isActive())
                    self->timer_.start(intervalSeconds() * 1000);
                emit self->written(ok);
            },
            Qt::QueuedConnection);
    });
}

void RecoveryManager::discard() {
    timer_.stop();
    std::set<std::string> paths;
    paths.swap(writtenPaths_);
    paths.insert(documentPath());
    worker_.start([paths] {
        const std::string dir = recoveryDir();
        for (const std::string& p : paths) RemoveRecovery(dir, p);
    });
}

void RecoveryManager::waitForWorker() {
    worker_.waitForDone();
}

}  // namespace sondara::gui
