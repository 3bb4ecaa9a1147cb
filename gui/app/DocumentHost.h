#pragma once
// The open project as the windows see it: the document, its file path and the
// signal every window refreshes from.
#include <QObject>
#include <QString>
#include <memory>

#include "core/model/SondaraDoc.h"

namespace sondara::gui {

class DocumentHost : public QObject {
    Q_OBJECT
public:
    explicit DocumentHost(QObject* parent = nullptr);
    ~DocumentHost() override;

    CSondaraDoc& doc() { return doc_; }
    const CSondaraDoc& doc() const { return doc_; }
    const QString& path() const { return path_; }
    void setPath(const QString& p);
    QString title() const;  // the file name, or the new-file name

    // Tells every window that the document changed (the document's own observers
    // run first).
    void changed(DocChange what, const std::vector<int>& pts = {});

    // A series of changes (ticking every point of a pile) refreshes the windows once,
    // when it ends.
    void beginBatch() { batch_ = true; }
    void endBatch();

signals:
    void documentChanged(int what);
    void titleChanged();

private:
    CSondaraDoc doc_;
    QString path_;
    int observer_ = 0;
    bool batch_ = false;
};

}  // namespace sondara::gui
