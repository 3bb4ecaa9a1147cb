#include "gui/app/QtPrompter.h"

#include <QMessageBox>

#include "gui/app/Translation.h"

namespace sondara::gui {

void QtPrompter::info(const std::string& text) {
    // the core's messages are its Chinese texts: shown in the window's language
    QMessageBox::information(parent_, QString(), trCore(text));
}

bool QtPrompter::askYesNo(const std::string& text) {
    return QMessageBox::question(parent_, QString(), trCore(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace sondara::gui
