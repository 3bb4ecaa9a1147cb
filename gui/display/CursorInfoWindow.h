#pragma once
// The cursor-information window: a small captionless box inside the waveform display
// that lists the readouts of the dynamic and the static cursor, blue on yellow. It
// sizes itself to its lines, can be dragged with the left button, always stays inside
// the display (3 px from its edges) and remembers where it was put ("QAR_ToolTip").
#include <QWidget>
#include <string>
#include <vector>

namespace sondara::render {
class QtTextMetrics;
}

namespace sondara::gui {

class CursorInfoWindow : public QWidget {
    Q_OBJECT
public:
    // `metrics` must outlive the window.
    CursorInfoWindow(const render::QtTextMetrics& metrics, QWidget* display);

    void setLines(std::vector<std::string> lines);
    const std::vector<std::string>& lines() const { return lines_; }
    // Moves the window back inside the display after the display changed its size.
    void keepInside();
    // Where the readout opens when the user has not placed it: the top-right corner
    // of the plot (`plot` in the display's coordinates), clear of the y-axis labels.
    void openAtPlotCorner(const QRect& plot);
    bool placedByUser() const;

    static constexpr int kMargin = 3;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    QPoint inside(QPoint topLeft) const;
    void savePlace() const;

    const render::QtTextMetrics& metrics_;
    std::vector<std::string> lines_;
    QPoint grab_;
    bool dragging_ = false;
};

}  // namespace sondara::gui
