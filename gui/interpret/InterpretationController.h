#pragma once
// 自动判读 on the desktop: runs the interpretation of the checked points (all when none
// is checked) on a worker thread behind a progress dialog that can cancel it, keeps
// the results for the 判读结果 panel and the displays (the fitted trace over the
// measured one, the fitted pile under it), and writes the proposals the engineer
// adopts. Results are dropped when the list of points changes or another project opens.
#include <QObject>
#include <QPointer>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/display/PaneOverlay.h"
#include "core/interpret/Interpretation.h"

class QDockWidget;
class QProgressDialog;

namespace sondara::gui {

class CMainFrame;
class InterpretationPanel;

class InterpretationController : public QObject {
    Q_OBJECT
public:
    explicit InterpretationController(CMainFrame& frame);
    ~InterpretationController() override;
    // The controller of a frame (made with its commands).
    static InterpretationController* of(const CMainFrame& frame);

    bool canRun() const;
    // 自动判读. Returns whether results were kept (false: nothing to do, or cancelled).
    bool run();
    bool running() const { return running_; }
    // The dialog of the run under way (null otherwise).
    QProgressDialog* progressDialog() const { return progress_; }

    const std::vector<PointInterpretation>& results() const { return results_; }
    std::shared_ptr<const PointOverlay> overlayFor(int point) const;
    // Writes the proposals of `rows` into the project as one change, marks their rows
    // adopted (alternatives[i]: the competing reading rows[i] is, none when not given)
    // and says in the status bar what was done; returns the points adopted.
    int adopt(const std::vector<PointInterpretation>& rows,
              const std::vector<int>& alternatives = {});
    int adoptAllClear();
    // Shows competing reading `k` of `point` beside its chosen one in the integrity
    // pane (InterpretationModel::kChosenReading: the chosen one alone).
    void showAlternative(int point, int k);
    void clear(bool redraw = true);

    InterpretationPanel* panel() const { return panel_; }
    QDockWidget* dock() const { return dock_; }
    // Shows or hides the panel (查看 → 判读结果); shown, it is given room for its rows.
    void setPanelVisible(bool visible);

    // Shows results of the open project's points in the panel and the displays, as a run
    // of 自动判读 does when it ends.
    void setResults(std::vector<PointInterpretation> results, const SiteWaveSpeed& site);

private:
    void hookViews();
    void rebuildViews();
    std::shared_ptr<const PointOverlay> makeOverlay(const PointInterpretation& r, int k) const;

    CMainFrame& frame_;
    InterpretationPanel* panel_ = nullptr;
    QDockWidget* dock_ = nullptr;
    QPointer<QProgressDialog> progress_;
    bool running_ = false;
    std::vector<PointInterpretation> results_;
    std::unordered_map<int, std::shared_ptr<const PointOverlay>> overlays_;
};

}  // namespace sondara::gui
