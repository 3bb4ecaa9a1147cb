#include "gui/interpret/InterpretationController.h"

#include <QDockWidget>
#include <QEventLoop>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <thread>

#include "gui/app/DocumentHost.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"
#include "gui/interpret/InterpretationModel.h"
#include "gui/interpret/InterpretationPanel.h"

namespace sondara::gui {

namespace {

// The room the panel is given when it is shown: its summary, the header, about eight
// rows and its buttons; and how long the status bar tells what 采用 did.
constexpr int kPanelHeight = 300;
constexpr int kPanelWidth = 640;
constexpr int kAdoptMessageMs = 10000;

// What the worker thread owns: its own copy of the points, so that nothing the
// interface thread does meanwhile can reach it, and what it hands back.
struct Job {
    CSondaraDoc doc;
    std::vector<int> points;
    std::atomic<bool> cancel{false};
    std::atomic<int> done{0};
    std::atomic<bool> finished{false};
    std::vector<PointInterpretation> results;
    SiteWaveSpeed site;
};

}  // namespace

InterpretationController::InterpretationController(CMainFrame& frame)
    : QObject(&frame), frame_(frame) {
    setObjectName("InterpretationController");
    panel_ = new InterpretationPanel(&frame);
    dock_ = new QDockWidget(QObject::tr("判读结果"), &frame);
    dock_->setObjectName(QString("dock_%1").arg(CMainFrame::kDockInterpretation));
    dock_->setWidget(panel_);
    dock_->setAllowedAreas(Qt::AllDockWidgetAreas);
    frame.addDockWidget(Qt::BottomDockWidgetArea, dock_);
    // A tab beside the 信息栏, across the whole bottom: beside it the table had a fifth of
    // the width, too little for a single row, and under it the 信息栏 kept only its tabs.
    if (QDockWidget* info = frame.dock(CMainFrame::kDockInfo)) frame.tabifyDockWidget(info, dock_);
    frame.registerDock(CMainFrame::kDockInterpretation, dock_);
    dock_->hide();  // until the first run

    panel_->model()->setDocumentSource([this]() -> const CSondaraDoc* {
        DocumentHost* h = frame_.document();
        return h ? &h->doc() : nullptr;
    });
    // Closing the frame hides the panel, and its table measures its rows once more: by
    // then the frame is no longer whole, so the rows no longer ask it for the document.
    connect(&frame, &CMainFrame::closing, this, [this] {
        panel_->model()->setDocumentSource([]() -> const CSondaraDoc* { return nullptr; });
    });
    connect(panel_, &InterpretationPanel::pointSelected, &frame, &CMainFrame::onPointSelected);
    connect(panel_, &InterpretationPanel::adoptRequested, this,
            [this](const std::vector<PointInterpretation>& rows,
                   const std::vector<int>& alternatives) { adopt(rows, alternatives); });
    connect(panel_, &InterpretationPanel::alternativeChosen, this,
            &InterpretationController::showAlternative);
    connect(panel_, &InterpretationPanel::adoptAllRequested, this, [this] { adoptAllClear(); });
    connect(&frame, &CMainFrame::documentReplaced, this, [this] {
        // the views still on the screen may belong to the document that has just gone:
        // forget the results without drawing them again
        clear(false);
        hookViews();
    });
    connect(&frame, &CMainFrame::activeViewChanged, this, [this] { hookViews(); });
    connect(&frame, &CMainFrame::documentChanged, this, [this](const DocChangeEvent& e) {
        if (e.kind == DocChange::PointList) {
            clear();
        } else if (e.kind == DocChange::Selection && !results_.empty()) {
            if (DocumentHost* h = frame_.document()) panel_->showPoint(h->doc().currentPoint);
        }
    });
}

InterpretationController::~InterpretationController() = default;

InterpretationController* InterpretationController::of(const CMainFrame& frame) {
    return frame.findChild<InterpretationController*>("InterpretationController",
                                                      Qt::FindDirectChildrenOnly);
}

bool InterpretationController::canRun() const {
    return !running_ && frame_.hasDocumentPoints();
}

bool InterpretationController::run() {
    DocumentHost* h = frame_.document();
    if (!h || running_ || h->doc().pointCount() == 0) return false;
    const CSondaraDoc& doc = h->doc();

    auto job = std::make_shared<Job>();
    if (!doc.checkedList.empty()) {
        for (int p : doc.checkedList)
            if (doc.validPoint(p)) job->points.push_back(p);
    } else {
        for (int p = 0; p < doc.pointCount(); ++p) job->points.push_back(p);
    }
    if (job->points.empty()) return false;
    job->doc.info = doc.info;
    job->doc.points = doc.points;
    const int total = static_cast<int>(job->points.size());

    running_ = true;
    std::thread worker([job] {
        InterpretControl control;
        control.cancel = &job->cancel;
        control.progress = [job](int done, int) { job->done.store(done); };
        job->results = interpretPoints(job->doc, job->points, control);
        if (!job->cancel.load()) job->site = siteWaveSpeed(job->doc, job->results);
        job->finished.store(true);
    });

    QProgressDialog dialog(QObject::tr("正在自动判读……"), QObject::tr("取消"), 0, total, &frame_);
    dialog.setWindowTitle(QObject::tr("自动判读"));
    dialog.setAccessibleName(dialog.windowTitle());
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    progress_ = &dialog;

    bool cancelled = false;
    QEventLoop loop;
    connect(&dialog, &QProgressDialog::canceled, &loop, [&] {
        cancelled = true;
        job->cancel.store(true);
        loop.quit();
    });
    QTimer poll;
    poll.setInterval(50);
    connect(&poll, &QTimer::timeout, &loop, [&] {
        dialog.setLabelText(
            QObject::tr("正在自动判读……（%1/%2）").arg(job->done.load()).arg(total));
        dialog.setValue(std::min(job->done.load(), total));
        if (dialog.wasCanceled()) {  // cancel() hides the dialog without a signal
            cancelled = true;
            job->cancel.store(true);
        }
        if (cancelled || job->finished.load()) loop.quit();
    });
    poll.start();
    dialog.show();
    loop.exec();
    poll.stop();
    worker.join();  // a cancelled run stops within one point
    progress_ = nullptr;
    running_ = false;
    if (cancelled) return false;  // the document and the results stay as they were

    setResults(std::move(job->results), job->site);
    setPanelVisible(true);
    return true;
}

void InterpretationController::setPanelVisible(bool visible) {
    if (!visible) {
        dock_->hide();
        return;
    }
    dock_->show();
    dock_->raise();
    if (dock_->isFloating()) return;
    // However the dock was left (squeezed by the window or by hand), it comes back with
    // room for its rows.
    const Qt::DockWidgetArea area = frame_.dockWidgetArea(dock_);
    const bool across = area == Qt::BottomDockWidgetArea || area == Qt::TopDockWidgetArea;
    const int want =
        std::max(across ? kPanelHeight : kPanelWidth,
                 across ? panel_->minimumSizeHint().height() : panel_->minimumSizeHint().width());
    if ((across ? dock_->height() : dock_->width()) < want)
        frame_.resizeDocks({dock_}, {want}, across ? Qt::Vertical : Qt::Horizontal);
}

std::shared_ptr<const PointOverlay> InterpretationController::overlayFor(int point) const {
    auto it = overlays_.find(point);
    return it == overlays_.end() ? nullptr : it->second;
}

std::shared_ptr<const PointOverlay> InterpretationController::makeOverlay(
    const PointInterpretation& r, int k) const {
    if (!r.error.empty() || (r.fitted.empty() && r.profile.empty())) return nullptr;
    auto o = std::make_shared<PointOverlay>();
    o->curve = r.fitted;
    if (k >= 0 && k < static_cast<int>(r.alternatives.size()))
        o->alternative = r.alternatives[static_cast<size_t>(k)].fitted;
    for (const ImpedanceSegment& s : r.profile) o->profile.push_back({s.top, s.bottom, s.ratio});
    return o;
}

void InterpretationController::showAlternative(int point, int k) {
    auto it = std::find_if(results_.begin(), results_.end(),
                           [point](const PointInterpretation& r) { return r.point == point; });
    if (it == results_.end()) return;
    if (auto o = makeOverlay(*it, k))
        overlays_[point] = std::move(o);
    else
        overlays_.erase(point);
    rebuildViews();
}

void InterpretationController::setResults(std::vector<PointInterpretation> results,
                                          const SiteWaveSpeed& site) {
    overlays_.clear();
    for (const PointInterpretation& r : results)
        if (auto o = makeOverlay(r, InterpretationModel::kChosenReading))
            overlays_[r.point] = std::move(o);
    results_ = results;
    panel_->setResults(std::move(results), site);
    if (DocumentHost* h = frame_.document()) panel_->showPoint(h->doc().currentPoint);
    hookViews();
    rebuildViews();
}

void InterpretationController::clear(bool redraw) {
    if (results_.empty() && overlays_.empty()) return;
    results_.clear();
    overlays_.clear();
    panel_->clear();
    if (redraw) rebuildViews();
}

int InterpretationController::adopt(const std::vector<PointInterpretation>& rows,
                                    const std::vector<int>& alternatives) {
    DocumentHost* h = frame_.document();
    if (!h || rows.empty()) return 0;
    for (CSondaraView* v : frame_.analysisViews())
        if (!v->concludePendingOperation(&frame_, CommandId::None)) return 0;
    applyInterpretation(h->doc(), rows);
    // every row that could be written is marked, also one whose marks were already so
    int adopted = 0, other = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const PointInterpretation& r = rows[i];
        if (!r.error.empty() || !h->doc().validPoint(r.point)) continue;
        const int k =
            i < alternatives.size() ? alternatives[i] : InterpretationModel::kChosenReading;
        panel_->model()->markAdopted(r.point, k);
        ++adopted;
        other += k >= 0;
    }
    const QString message =
        other > 0
            ? QObject::tr("已采用%1个测点的判读结果，其中%2个为备选解释").arg(adopted).arg(other)
        : adopted > 0 ? QObject::tr("已采用%1个测点的判读结果").arg(adopted)
                      : QObject::tr("没有可采用的判读结果");
    frame_.statusBar()->showMessage(message, kAdoptMessageMs);
    return adopted;
}

int InterpretationController::adoptAllClear() {
    std::vector<PointInterpretation> rows;
    for (const PointInterpretation& r : results_)
        if (r.error.empty() && r.confidence == Confidence::Clear) rows.push_back(r);
    return adopt(rows);
}

void InterpretationController::hookViews() {
    for (CSondaraView* v : frame_.analysisViews()) {
        WaveDisplayModel& m = v->display()->model();
        if (m.overlayFor) continue;
        m.overlayFor = [this](int point) { return overlayFor(point); };
        if (!overlays_.empty()) v->display()->rebuild();
    }
}

void InterpretationController::rebuildViews() {
    for (CSondaraView* v : frame_.analysisViews()) v->display()->rebuild();
}

}  // namespace sondara::gui
