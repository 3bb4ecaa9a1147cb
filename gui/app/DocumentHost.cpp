#include "gui/app/DocumentHost.h"

#include <QFileInfo>

namespace sondara::gui {

DocumentHost::DocumentHost(QObject* parent) : QObject(parent) {
    observer_ = doc_.addObserver([this](DocChange what, const std::vector<int>& pts) {
        emit documentChanged(DocChangeEvent{what, pts});
    });
}

DocumentHost::~DocumentHost() {
    doc_.removeObserver(observer_);
}

void DocumentHost::setPath(const QString& p) {
    path_ = p;
    emit titleChanged();
}

QString DocumentHost::title() const {
    return path_.isEmpty() ? QObject::tr("QAR数据文件") : QFileInfo(path_).fileName();
}

}  // namespace sondara::gui
