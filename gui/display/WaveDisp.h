#pragma once
// The waveform display: a scrolling window over the display model (WaveDisplayModel)
// that paints its panes through the renderer, draws both cursors in an inverting pen,
// and turns mouse, wheel and keyboard input into calls on the model. It holds no rule
// of its own: what a click, a key or a command changes is the model's business.
//
// Painting: the panes are painted into an off-screen image that is kept until the
// model changes (rebuild, scroll, resize); every paint copies it and draws the cursors
// and the feedback of a pane-edge drag on the copy.
#include <QImage>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/display/WaveDisplayModel.h"
#include "render/DisplayRenderer.h"

class QPainter;
class QScrollBar;

namespace sondara::gui {

class DocumentHost;
class CursorInfoWindow;
class DisplayInteraction;

class CWaveDisp : public QWidget {
    Q_OBJECT
public:
    CWaveDisp(DocumentHost& host, QWidget* parent = nullptr);
    ~CWaveDisp() override;

    WaveDisplayModel& model() { return model_; }
    const WaveDisplayModel& model() const { return model_; }

    // Builds the panes again from the document and repaints.
    void rebuild();
    // Re-reads the panes of the given points (empty: all) after their processing or
    // marks changed; rebuilds everything only where the display needs it.
    void refreshPoints(const std::vector<int>& points);
    // How many times the panes were built from scratch (the view's refresh rules are
    // tested by it).
    int rebuildCount() const { return rebuilds_; }
    // The analysis selection chosen in the bar; rebuilds.
    void setSelection(const AnalysisSelection& s);
    // Runs a display command on the document's points (the model writes the states);
    // returns the points whose stored state changed.
    std::vector<int> runCommand(DisplayCommand c);
    // 当前波形 (0) / 全部波形 (1): stored with the display settings.
    void setEditScope(int scope);
    void saveOptions();

    int paneCount() const { return model_.paneCount(); }
    int cursorStyle() const { return model_.cursorStyle; }
    void setCursorStyle(int s);
    void setCursorInfoVisible(bool v);
    bool cursorInfoVisible() const { return cursorInfo_; }
    CursorInfoWindow* cursorInfoWindow() const { return info_; }
    int repaintCount() const { return repaints_; }
    // Width and height of the area the panes are laid out in (without the scroll bar).
    QSize clientSize() const;
    int scrollY() const { return model_.scrollY(); }

    // The handler that sees mouse and key events first (null: none). Not owned.
    void setInteraction(DisplayInteraction* i);
    DisplayInteraction* interaction() const { return interaction_; }
    // The grey amplification curve under the trace (the selected history entry).
    void setAmplificationCurve(std::optional<render::AmplificationCurve> curve);
    // Repaints the overlay of the interaction without rebuilding the panes.
    void updateOverlay() { update(); }

signals:
    // A click or ↑/↓ chose a pane: its point is to be selected in the point list.
    void pointClicked(int pointIndex);
    // The panes were built or recomputed (the view shows wave speed and pile length).
    void rebuilt();
    // A right click in a pane: the view opens the display's context menu.
    void contextMenuRequested(QPoint globalPos);
    // A left click fixed the static cursor.
    void staticCursorPlaced();
    // A click or ↑/↓ made another pane the active one (a click on the active pane
    // does not).
    void activePaneChanged();
    // Painting: after the panes and the cursors, interactions draw their feedback on
    // `p` (content row `scrollTop` is the window's top row).
    void paintingOverlay(QPainter& p, int scrollTop);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    void layoutPanes();
    void panesChanged();
    void cursorsChanged();
    void updateScrollBar();
    void scrollToPane(int pane);
    void moveDynamicCursorTo(QPoint p);
    int edgeFeedbackY() const;

    DocumentHost& host_;
    render::DisplayRenderer renderer_;
    WaveDisplayModel model_;
    QScrollBar* vbar_ = nullptr;
    CursorInfoWindow* info_ = nullptr;
    QImage layer_;
    bool layerDirty_ = true;
    bool cursorInfo_ = false;
    int repaints_ = 0;
    int rebuilds_ = 0;
    bool layingOut_ = false;
    QPoint lastMouse_{-1, -1};
    DisplayInteraction* interaction_ = nullptr;
    std::optional<render::AmplificationCurve> amplification_;
    EdgeGrab edge_;
    int edgeDragY_ = 0;       // content row the grabbed edge is dragged to
    int edgeGrabOffset_ = 0;  // pointer row minus edge row at the press
};

}  // namespace sondara::gui
