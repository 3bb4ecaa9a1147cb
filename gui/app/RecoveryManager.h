#pragma once
// Keeps unsaved work recoverable. While the open document has unsaved changes, a
// recovery file is written after every interval of change (intervalSeconds()): the
// document is copied on the interface thread and written on one worker thread, so
// the interface never waits for the disk. A failed write is logged and tried again
// at the next interval; nothing is ever shown in a box. Removing the files also goes
// through the worker, after any write still queued.
//
// The files belong to this program: it holds its owner lock (RecoveryOwner) while it
// runs, so that no other running copy offers or deletes them. While the document
// stays unsaved the file is looked at every interval and written again when it went
// missing.
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "core/model/SondaraDoc.h"

namespace sondara {
class RecoveryOwner;
struct RecoveryEntry;
}  // namespace sondara

namespace sondara::gui {

class DocumentHost;

class RecoveryManager : public QObject {
    Q_OBJECT
public:
    explicit RecoveryManager(QObject* parent = nullptr);
    ~RecoveryManager() override;  // waits for the worker

    // Seconds between recovery writes: SONDARA_AUTOSAVE_SECONDS when set, else the
    // user setting (编辑设置), default 300.
    static int intervalSeconds();
    static int storedIntervalSeconds();
    static void setStoredIntervalSeconds(int seconds);

    // The document to keep recoverable (null: none).
    void watch(DocumentHost* host);
    // Removes the recovery files of the watched document: saved, closed without
    // saving, reverted, or a clean exit.
    void discard();
    // Writes the recovery now when the document has unsaved changes.
    void writeNow();
    // Waits until the worker has written and removed what was queued.
    void waitForWorker();

    // The name this program's recovery files carry (its lock is taken on first use).
    std::string ownerName();
    // Takes over the files of an orphaned entry whose document this program now holds:
    // they stay until that document is saved, dropped or the program ends cleanly.
    void adopt(const RecoveryEntry& e);

signals:
    void written(bool ok);  // after each write, on the interface thread

private:
    void onChanged(const DocChangeEvent& e);
    void tick();
    std::string documentPath() const;

    QPointer<DocumentHost> host_;
    QMetaObject::Connection changed_;
    QTimer timer_;
    QThreadPool worker_;
    std::unique_ptr<RecoveryOwner> owner_;
    bool dirty_ = false;  // changed since the last write
    // (document path, owner) of the files written for the watched document (it may be
    // renamed, and the owner lock taken again when its file was removed)
    std::set<std::pair<std::string, std::string>> writtenPaths_;
};

}  // namespace sondara::gui
