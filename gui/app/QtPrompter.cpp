#include "gui/app/QtPrompter.h"

#include <QMessageBox>

namespace sondara::gui {

void QtPrompter::info(const std::string& text) {
    QMessageBox::information(parent_, QString(), QString::fromStdString(text));
}

bool QtPrompter::askYesNo(const std::string& text) {
    return QMessageBox::question(parent_, QString(), QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace sondara::gui
