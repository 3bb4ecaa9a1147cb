#pragma once
// The open project as the windows see it: the document, its file path and the one
// typed change notification every window refreshes from. The document itself marks
// changes (CSondaraDoc::commitChange); the host turns its announcements into a Qt
// signal.
#include <QObject>
#include <QString>

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

signals:
    // What changed and which points (empty: all).
    void documentChanged(const sondara::DocChangeEvent& e);
    void titleChanged();

private:
    CSondaraDoc doc_;
    QString path_;
    int observer_ = 0;
};

}  // namespace sondara::gui
