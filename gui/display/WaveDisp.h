#pragma once
// The waveform display: stacked panes of traces and analysis results with cursors.
#include <QWidget>

namespace sondara::gui {

class DocumentHost;

class CWaveDisp : public QWidget {
    Q_OBJECT
public:
    CWaveDisp(DocumentHost& host, QWidget* parent = nullptr);

    void rebuild();
    int paneCount() const;
    int cursorStyle() const { return cursorStyle_; }
    void setCursorStyle(int s);
    void setCursorInfoVisible(bool v);
    bool cursorInfoVisible() const { return cursorInfo_; }
    int repaintCount() const { return repaints_; }

signals:
    void pointClicked(int pointIndex);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    DocumentHost& host_;
    int cursorStyle_ = 2;
    bool cursorInfo_ = false;
    int cursorX_ = -1, staticX_ = -1;
    int repaints_ = 0;
};

}  // namespace sondara::gui
