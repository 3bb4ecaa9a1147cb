#pragma once
// The waiting window shown while a document is built: a caption-less box that stays on
// top, centred over its parent, with the text and a progress bar.
#include <QDialog>

class QLabel;
class QProgressBar;

namespace sondara::gui {

class WaitingWindow : public QDialog {
    Q_OBJECT
public:
    explicit WaitingWindow(const QString& text, QWidget* parent = nullptr);
    // Shows the window and lets it paint before the work goes on.
    void showNow();
    // done of total (total 0: busy without a count); repaints at once.
    void setProgress(int done, int total);

private:
    QLabel* label_;
    QProgressBar* bar_;
};

}  // namespace sondara::gui
