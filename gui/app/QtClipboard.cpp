#include "gui/app/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace sondara::gui {

std::optional<std::string> QtClipboardPort::readBlock() {
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    if (!m || !m->hasFormat(kClipboardMime)) return std::nullopt;
    QByteArray b = m->data(kClipboardMime);
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

bool QtClipboardPort::writeBlock(const std::string& bytes) {
    auto* m = new QMimeData;
    m->setData(kClipboardMime, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(m);
    return true;
}

}  // namespace sondara::gui
