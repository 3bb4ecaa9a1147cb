#include "gui/app/ModalAnswer.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>

namespace sondara::gui {

void answerActiveModalWithDefault() {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    for (QPushButton* b : d->findChildren<QPushButton*>())
        if (b->isDefault() && b->isVisible() && b->isEnabled()) {
            b->click();
            return;
        }
    d->accept();
}

}  // namespace sondara::gui
