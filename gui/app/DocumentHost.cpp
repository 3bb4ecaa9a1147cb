#include "gui/app/DocumentHost.h"

#include <QFileInfo>

namespace sondara::gui {

DocumentHost::DocumentHost(QObject* parent) : QObject(parent) {
    observer_ = doc_.addObserver(
        [this](DocChange what, const std::vector<int>&) {
            if (!batch_) emit documentChanged(static_cast<int>(what));
        });
}

DocumentHost::~DocumentHost() { doc_.removeObserver(observer_); }

void DocumentHost::setPath(const QString& p) {
    path_ = p;
    emit titleChanged();
}

QString DocumentHost::title() const {
    return path_.isEmpty() ? QStringLiteral("QAR数据文件") : QFileInfo(path_).fileName();
}

void DocumentHost::endBatch() {
    batch_ = false;
    emit documentChanged(static_cast<int>(DocChange::Checks));
}

void DocumentHost::changed(DocChange what, const std::vector<int>& pts) { doc_.notify(what, pts); }

}  // namespace sondara::gui
