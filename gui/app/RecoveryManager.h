#pragma once
// Keeps unsaved work recoverable. While the open document has unsaved changes, a
// recovery file is written after every interval of change (intervalSeconds()): the
// document is copied on the interface thread and written on one worker thread, so
// the interface never waits for the disk. A failed write is logged and tried again
// at the next interval; nothing is ever shown in a box. Removing the files also goes
// through the worker, after any write still queued.
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <set>
#include <string>

#include "core/model/SondaraDoc.h"

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

signals:
    void written(bool ok);  // after each write, on the interface thread

private:
    void onChanged(const DocChangeEvent& e);
    std::string documentPath() const;

    QPointer<DocumentHost> host_;
    QMetaObject::Connection changed_;
    QTimer timer_;
    QThreadPool worker_;
    std::set<std::string> writtenPaths_;  // of the watched document (it may be renamed)
};

}  // namespace sondara::gui
