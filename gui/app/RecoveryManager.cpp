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
    connect(&timer_, &QTimer::timeout, this, &RecoveryManager::tick);
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

std::string RecoveryManager::ownerName() {
    // taken again when the folder moved or somebody removed the lock file
    const std::string dir = recoveryDir();
    if (!owner_ || !owner_->heldIn(dir)) owner_ = std::make_unique<RecoveryOwner>(dir);
    return owner_->name();
}

void RecoveryManager::watch(DocumentHost* host) {
    if (changed_) disconnect(changed_);
    timer_.stop();
    writtenPaths_.clear();
    dirty_ = false;
    host_ = host;
    if (host)
        changed_ = connect(host, &DocumentHost::documentChanged, this, &RecoveryManager::onChanged);
    // a recovered document is unsaved from the start: its file is looked after too
    if (host && host->doc().modified) timer_.start(intervalSeconds() * 1000);
}

void RecoveryManager::adopt(const RecoveryEntry& e) {
    const std::string owner = ownerName();
    RecoveryEntry adopted;
    if (AdoptRecovery(e, owner, &adopted)) writtenPaths_.insert({e.originalPath, owner});
}

void RecoveryManager::onChanged(const DocChangeEvent& e) {
    if (e.kind == DocChange::Selection || !host_ || !host_->doc().modified) return;
    dirty_ = true;
    // counted from the first change after the last write
    if (!timer_.isActive()) timer_.start(intervalSeconds() * 1000);
}

void RecoveryManager::tick() {
    if (!host_ || !host_->doc().modified) return;
    // written again when changed, and when the file went missing (removed by hand, or
    // by a program that did not know it was ours)
    const std::string owner = ownerName();
    if (dirty_ || !QFileInfo::exists(QString::fromStdString(
                      RecoveryDataPath(recoveryDir(), documentPath(), owner))))
        writeNow();
    else
        timer_.start(intervalSeconds() * 1000);
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
    const std::string owner = ownerName();
    writtenPaths_.insert({path, owner});
    dirty_ = false;
    auto snap = std::make_shared<RecoverySnapshot>(
        TakeRecoverySnapshot(host_->doc(), path, QDateTime::currentSecsSinceEpoch()));
    QPointer<RecoveryManager> self(this);
    worker_.start([snap, self, owner] {
        std::string error;
        const bool ok = WriteRecovery(*snap, recoveryDir(), &error, owner);
        // the run log belongs to the interface thread
        QMetaObject::invokeMethod(
            self.data(),
            [self, ok, error] {
                if (!self) return;
                if (!ok) {
                    logLine("恢复文件写入失败：" + error);
                    self->dirty_ = true;  // tried again after the next interval
                }
                // the next interval writes the changes made since, or the file again
                // when it went missing
                if (self->host_ && self->host_->doc().modified && !self->timer_.isActive())
                    self->timer_.start(intervalSeconds() * 1000);
                emit self->written(ok);
            },
            Qt::QueuedConnection);
    });
}

void RecoveryManager::discard() {
    timer_.stop();
    dirty_ = false;
    std::set<std::pair<std::string, std::string>> paths;
    paths.swap(writtenPaths_);
    if (owner_) paths.insert({documentPath(), owner_->name()});
    worker_.start([paths] {
        const std::string dir = recoveryDir();
        for (const auto& [path, owner] : paths) RemoveRecovery(dir, path, owner);
    });
}

void RecoveryManager::waitForWorker() {
    worker_.waitForDone();
}

}  // namespace sondara::gui
