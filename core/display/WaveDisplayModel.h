#pragma once
// The model behind the waveform display window (CWaveDisp): what the display shows
// for the analysis selection, the pane layout, the display settings, the active pane,
// both cursors, the display commands, the target points of an edit, and the hit tests
// of mouse and keyboard handling. The widget forwards its events here and paints the
// panes it gets back (render/PanePainter); it holds no rule of its own.
//
// Coordinates are content pixels: window pixels plus the vertical scroll position.
//
// Contracts:
//  - Single-threaded: call from the thread that owns the document.
//  - rebuild(doc) keeps a pointer to `doc`; the document must outlive the model or the
//    next rebuild, and the model must be rebuilt after every change of the document
//    (the view does so on every change notification). Panes are materialised lazily
//    from that document.
//  - Every pane holds its own deep copy of the point it shows (shared only between
//    copies of the same WavePane object); nothing in a pane points into the document.
//  - Large displays (AllPoints, WaveTrain, ... on thousands of points) build every
//    pane's layout at once but materialise the point copy and the drawing data of a
//    pane only when it is needed: when its rows become visible (materialiseRows), or
//    when a command, a hit test or ensurePane asks for it. Panes far outside the
//    visible rows are released again. What commands and the user see is the same.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/analysis/PileMarks.h"
#include "core/display/AnalysisSelection.h"
#include "core/display/DisplayOptions.h"
#include "core/display/DisplayStates.h"
#include "core/display/Geometry.h"
#include "core/display/WavePane.h"
#include "core/model/SondaraDoc.h"

namespace sondara {

class Prompter;

// Interactions the display offers (bit 0 is the keyboard; bits 1 and 2 are this
// program's: dragging head, toe and marks, and dragging pane edges).
enum FeatureBits : std::uint32_t {
    kFeatureKeyboard = 1u << 0,
    kFeatureDragMarks = 1u << 1,
    kFeatureDragPaneEdges = 1u << 2,
};

// One cursor: where it is and what it reads.
struct CursorState {
    bool shown = false;
    int pane = -1;
    int point = -1;
    int sample = -1;
    int x = 0;
    int y = 0;
    std::vector<std::string> readout;  // the readout lines (see ReadoutAt)
};

// Which points an edit command changes. Wavelet displays add pane numbers: the
// marker-line operations take the point followed by them (markerList()).
struct EditTargets {
    std::vector<int> points;
    std::vector<int> paneNumbers;
    bool empty() const { return points.empty(); }
    std::vector<int> markerList() const;
};

// What a click changes; the widget selects `selectPoint` in the point list (when >= 0)
// and opens the pane's context menu when asked to.
struct ClickResult {
    int pane = -1;  // the pane under the pointer, -1 outside every pane
    bool activeChanged = false;
    int selectPoint = -1;
    bool staticCursorPlaced = false;
    bool openContextMenu = false;
};

// What ↑/↓ changes.
struct KeyResult {
    bool changed = false;
    int activePane = -1;
    int selectPoint = -1;  // -1: the point list is not touched
    bool cursorsHidden = false;
};

// A line that a press would grab.
struct GrabTarget {
    enum class Type { None, Head, Toe, Defect, MarkerLine };
    Type type = Type::None;
    int pane = -1;
    int point = -1;
    int entry = -1;  // Defect / MarkerLine: index into the point's list
    MarkType markType = MarkType::Defect;
    int distance = 0;  // pixels from the pointer
    bool grabbed() const { return type != Type::None; }
};

// A pane edge that a press would grab.
struct EdgeGrab {
    bool grabbed = false;
    int pane = -1;
    bool bottomEdge = true;
};

// The wave speed and pile length boxes of the analysis bar (integrity analysis).
struct SpeedLengthView {
    bool applies = false;  // false outside integrity analysis: the bar leaves its boxes
    bool enabled = false;
    std::string speedText;
    std::string lengthText;
    bool speedGrey = false;  // the displayed points disagree
    bool lengthGrey = false;
};
// The shortest text of the float32 length without trailing zeros and a trailing
// point: 12.5 -> "12.5", 12 -> "12", 19.72f -> "19.72".
std::string FormatPileLength(double metres);

// Margins of a plot inside its pane. Wave-train strips keep a title column and no
// axis rows; a pane that shows the simulated pile keeps room for it below the plot.
PixelRect ComputePlotRect(const PixelRect& paneRect, bool waveTrain, bool simulatedPile,
                          const TextMetrics& metrics);

class WaveDisplayModel {
public:
    // `metrics` must outlive the model; null uses a FixedTextMetrics.
    explicit WaveDisplayModel(const TextMetrics* metrics = nullptr);

    // ---- settings ----
    DisplayOptions& options() { return options_; }
    const DisplayOptions& options() const { return options_; }
    int paneHeight = 150;      // px, stacked panes
    int waveTrainHeight = 30;  // px, strips of the 波列显示
    std::uint32_t featureMask = 7;
    int cursorStyle = 2;  // 1 cross-hair, 2 vertical line
    // The view's effective length-follow mode for head and toe moves.
    LengthFollowState follow;
    // Takes the follow setting of the options (the display settings were applied).
    void applyOptions(const DisplayOptions& o);

    void setSelection(const AnalysisSelection& s) { selection_ = s; }
    const AnalysisSelection& selection() const { return selection_; }
    void setClientSize(int width, int height);
    int clientWidth() const { return clientW_; }
    int clientHeight() const { return clientH_; }
    void setTextMetrics(const TextMetrics* metrics);
    const TextMetrics& metrics() const { return *metrics_; }

    // Called at the end of every rebuild (the view refreshes its dependent panels).
    std::function<void()> onRebuilt;
    // The overlay of a point's time pane (null: none); asked whenever such a pane is
    // materialised. After the answers change, rebuild.
    std::function<std::shared_ptr<const PointOverlay>(int point)> overlayFor;

    // ---- panes ----
    // Builds the panes for the selection from `doc`, keeps or chooses the active pane,
    // places the cursors again and materialises the visible panes.
    void rebuild(const CSondaraDoc& doc);
    const CSondaraDoc* document() const { return doc_; }
    // After the processing or the marks of `points` (empty: all) changed: the panes of
    // a point set are read again where they show one of those points. Returns true
    // when that cannot be done in place (any other display, a point gone): the caller
    // then rebuilds.
    bool refreshPoints(const CSondaraDoc& doc, std::vector<int> points);
    // Whether a new current point or pile changes which panes are shown (a display of
    // all or of the checked points only keeps its panes).
    bool selectionShapesPanes() const;
    // Whether the check boxes decide which panes are shown.
    bool checksShapePanes() const;
    int paneCount() const { return static_cast<int>(panes_.size()); }
    // The pane as built; its content may not be materialised (see WavePane).
    const WavePane& pane(int i) const { return panes_[static_cast<size_t>(i)]; }
    // The pane with its content and drawing data.
    const WavePane& ensurePane(int i);
    // Materialises the panes that intersect content rows [y0, y1) and releases lazy
    // panes far outside them.
    void materialiseRows(int y0, int y1);
    int materialisedCount() const;
    int contentHeight() const { return contentHeight_; }
    bool scrollsVertically() const { return contentHeight_ > clientH_; }
    int scrollY() const { return scrollY_; }
    // Clamps to 0 .. contentHeight - clientHeight and materialises the visible panes.
    void setScrollY(int y);
    // The pane whose rectangle contains the point, -1 for none.
    int paneAt(int x, int y) const;
    // The first pane showing document point `point`, -1 for none.
    int paneOfPoint(int point) const;
    // Whether the pane gets the simulated-pile sketch (setting, display and kind).
    bool showsSimulatedPile(const WavePane& pane) const;

    // ---- active pane ----
    int activePane() const { return active_; }
    void setActivePane(int i) { active_ = (i >= 0 && i < paneCount()) ? i : -1; }

    // ---- target points of an edit ----
    EditTargets editTargets() const;
    // The targets of a processing command: in Integrity with all panes the active
    // pane's point moved to the front; in Wavelet only the current point (also while
    // no pane is active).
    std::vector<int> processingTargets() const;

    // ---- display commands ----
    // Applies the command to the displayed states of the target points, writes the
    // changed states into their slots, and rebuilds. Returns the points whose stored
    // state was written (the caller marks the document modified and notifies). Does
    // nothing without points or panes.
    std::vector<int> runCommand(CSondaraDoc& doc, DisplayCommand c);

    // ---- cursors ----
    const CursorState& dynamicCursor() const { return dynamic_; }
    const CursorState& staticCursor() const { return static_; }
    // The dynamic cursor follows the pointer inside a plot rectangle; outside every
    // plot it is hidden. Returns whether it is shown.
    bool moveDynamicCursor(int x, int y);
    void hideDynamicCursor() { dynamic_ = CursorState{}; }
    void hideCursors();
    // The lines of the cursor-information window: "动态游标：" and its readout, then
    // "静态游标：" and its readout, each block only while that cursor is shown.
    std::vector<std::string> cursorInfoLines() const;
    // The readout of `pane` at pixel column x (the sample under it).
    CursorState cursorAt(int pane, int x, int y);
    ClickResult click(int x, int y, bool rightButton);
    // ↑ (delta -1) and ↓ (delta +1).
    KeyResult moveActivePane(int delta);

    // ---- dragging ----
    // The head line, toe line, defect or marker line within 5 px of the pointer in the
    // pane under it; the nearest wins, at equal distance head before toe before marks
    // and an earlier mark before a later one.
    GrabTarget hitTestGrab(int x, int y);
    // Releases a grabbed line at pixel x: head and toe are placed without questions
    // (on an average pane for every averaged point), defects and marker lines moved.
    // Rebuilds and returns the changed points (empty when refused).
    std::vector<int> finishGrabDrag(CSondaraDoc& doc, const GrabTarget& g, int x,
                                    Prompter& prompter);
    // A pane's top or bottom edge within 5 px of the pointer (not in 多道分析).
    EdgeGrab hitTestEdge(int x, int y) const;
    // The pane height a drag to row y gives (at least 20 px).
    int edgeDragHeight(const EdgeGrab& g, int y) const;
    // Stores that height as the pane height (the wave-train height in 波列显示) and
    // rebuilds.
    void finishEdgeDrag(const EdgeGrab& g, int y);

    // ---- the analysis bar's wave speed and pile length ----
    SpeedLengthView speedAndLength() const;

private:
    struct Source {
        bool lazy = false;
        int spectrumKind = -1;  // >= 0: the pane shows that spectrum of its point
    };

    void buildPointSet(const CSondaraDoc& doc, int spectrumKind);
    void buildTimeAnalysis(const CSondaraDoc& doc);
    void buildCrossPower(const CSondaraDoc& doc);
    void buildWavelet(const CSondaraDoc& doc);
    WavePane& addPane(const PixelRect& rect, std::string title, int point, PaneKind kind, int slot,
                      std::vector<int> statePoints, Source src);
    PixelRect stackedRect(int index, int height) const;
    void materialise(size_t i);
    void release(size_t i);
    void finishGeometry(WavePane& p);
    void placeCursorAgain(CursorState& c);
    bool integrityWaveTrain() const;
    bool pointSetDisplay() const;
    bool validCrossPower() const;
    std::vector<int> commandPanes() const;

    const TextMetrics* metrics_;
    DisplayOptions options_;
    AnalysisSelection selection_;
    int clientW_ = 800;
    int clientH_ = 600;
    int scrollY_ = 0;
    int contentHeight_ = 0;
    const CSondaraDoc* doc_ = nullptr;
    std::vector<WavePane> panes_;
    std::vector<Source> sources_;
    std::vector<int> averagePoints_;
    int active_ = -1;
    CursorState dynamic_;
    CursorState static_;
};

}  // namespace sondara
