#include "gui/output/WaitingWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace sondara::gui {

WaitingWindow::WaitingWindow(const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(text);
    setModal(true);
    auto* v = new QVBoxLayout(this);
    label_ = new QLabel(text, this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 0);
    bar_->setAccessibleName(text);
    v->addWidget(label_);
    v->addWidget(bar_);
    setStyleSheet("QDialog { border: 1px solid palette(dark); }");
}

void WaitingWindow::showNow() {
    adjustSize();
    if (QWidget* p = parentWidget()) move(p->mapToGlobal(p->rect().center()) - rect().center());
    show();
    raise();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WaitingWindow::setProgress(int done, int total) {
    bar_->setRange(0, total);
    bar_->setValue(done);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace sondara::gui
