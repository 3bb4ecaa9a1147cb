#include "gui/display/SondaraView.h"

#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "core/analysis/PileMarks.h"
#include "core/app/CommandTable.h"
#include "gui/analysis/MarkCommands.h"
#include "gui/analysis/MarkDragHandler.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/QtPrompter.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/AnalysisBarWidget.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"

namespace sondara::gui {

namespace {

std::vector<CSondaraView*>& views() {
    static std::vector<CSondaraView*> v;
    return v;
}

bool isDisplayCommand(int id) {
    return (id >= 32795 && id <= 32811 && id != 32799) || id == 32834 || id == 32835;
}

}  // namespace

int CSondaraView::liveViews() { return static_cast<int>(views().size()); }
const std::vector<CSondaraView*>& CSondaraView::allViews() { return views(); }

CSondaraView::CSondaraView(DocumentHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    views().push_back(this);
    setObjectName("CSondaraView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    barWidget_ = new AnalysisBarWidget(this);
    display_ = new CWaveDisp(host_, this);
    layout->addWidget(barWidget_);
    layout->addWidget(display_, 1);

    QtPrompter prompter(this);
    loadOrWriteDefaults(bar_.choices, &prompter);
    bar_.buildLists(host_.doc());
    bar_.runLogCheck();
    showBarLayout();
    display_->model().setSelection(bar_.selection());

    connect(barWidget_, &AnalysisBarWidget::comboSelected, this, [this](BarCombo c, int index) {
        bar_.select(c, index, host_.doc());
        showBarLayout();
        applySelection();
    });
    connect(barWidget_, &AnalysisBarWidget::speedEntered, this, &CSondaraView::enterSpeed);
    connect(barWidget_, &AnalysisBarWidget::lengthEntered, this, &CSondaraView::enterLength);
    connect(display_, &CWaveDisp::rebuilt, this, &CSondaraView::showSpeedAndLength);
    connect(display_, &CWaveDisp::pointClicked, this, &CSondaraView::pointSelected);
    connect(display_, &CWaveDisp::contextMenuRequested, this, &CSondaraView::openContextMenu);
    connect(&host_, &DocumentHost::documentChanged, this, &CSondaraView::refresh);
    MarkDragHandler::attach(display_, host_);  // dragging and picking marks
    display_->rebuild();
}

CSondaraView::~CSondaraView() {
    auto& v = views();
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    QtPrompter prompter(this);
    saveSettings(bar_.choices, &prompter);
}

bool CSondaraView::pointListBusy() {
    CSondaraApp* app = theApp();
    return app && app->frame() && app->frame()->pointListBusy();
}

// ---- the analysis bar -------------------------------------------------------------------

void CSondaraView::showBarLayout() { barWidget_->showLayout(bar_.layout()); }

void CSondaraView::applySelection() {
    display_->setSelection(bar_.selection());
    if (CSondaraApp* app = theApp(); app && app->frame()) app->frame()->refreshPointPanels();
}

void CSondaraView::refresh(int) {
    // The lists follow the document (point numbers, pile numbers); a choice that no
    // longer fits is reset, and then the display takes the new selection.
    bar_.buildLists(host_.doc());
    const bool changed = bar_.runLogCheck();
    showBarLayout();
    if (changed)
        applySelection();
    else
        display_->rebuild();
}

void CSondaraView::showSpeedAndLength() {
    barWidget_->showSpeedAndLength(display_->model().speedAndLength());
}

std::vector<int> CSondaraView::speedLengthTargets(bool& allPanes) const {
    const WaveDisplayModel& m = display_->model();
    std::vector<int> pts;
    allPanes = m.selection().displaySet != DisplaySet::SingleTrace &&
               m.options().scope() == EditScope::AllTraces;
    if (allPanes) {
        for (int i = 0; i < m.paneCount(); ++i) pts.push_back(m.pane(i).pointIndex);
    } else {
        const int a = m.selection().displaySet == DisplaySet::SingleTrace && m.paneCount() > 0
                          ? std::max(0, m.activePane())
                          : m.activePane();
        if (a >= 0 && a < m.paneCount()) pts.push_back(m.pane(a).pointIndex);
    }
    return pts;
}

void CSondaraView::enterSpeed(const QString& text) {
    // Applied even when the text was not changed: with 全部波形 that is how the common
    // value reaches every point; the single-pane edit ignores an unchanged value itself.
    if (pointListBusy() || text.isEmpty()) return;
    barWidget_->speedEdit()->setModified(false);
    bool allPanes = false;
    const std::vector<int> pts = speedLengthTargets(allPanes);
    if (pts.empty()) return;
    QtPrompter prompter(this);
    if (EditWaveSpeed(host_.doc(), pts, text.toInt(), allPanes, display_->model().follow, prompter)) {
        host_.doc().setModified();
        host_.changed(DocChange::Points, pts);
    }
}

void CSondaraView::enterLength(const QString& text) {
    if (pointListBusy() || text.isEmpty()) return;
    barWidget_->lengthEdit()->setModified(false);
    bool allPanes = false;
    const std::vector<int> pts = speedLengthTargets(allPanes);
    if (pts.empty()) return;
    QtPrompter prompter(this);
    bool ok = false;
    const double length = QLocale::c().toDouble(text, &ok);
    if (!ok) return;
    if (EditPileLength(host_.doc(), pts, length, allPanes, display_->model().follow, prompter)) {
        host_.doc().setModified();
        host_.changed(DocChange::Points, pts);
    }
}

// ---- commands -------------------------------------------------------------------------------

bool CSondaraView::concludePendingOperation(QObject*, int) { return true; }

void CSondaraView::runDisplayCommand(DisplayCommand c) {
    const std::vector<int> changed = display_->runCommand(c);
    if (changed.empty()) return;
    host_.doc().setModified();
    host_.changed(DocChange::Points, changed);
}

bool CSondaraView::handleCommand(int id) {
    if (id == 32863 || id == 32864) {  // 当前波形 / 全部波形
        display_->setEditScope(id == 32864 ? 1 : 0);
        return true;
    }
    if (MarkCommands::run(*this, static_cast<CommandId>(id))) return true;
    if (!isDisplayCommand(id)) return false;
    const auto c = static_cast<DisplayCommand>(id);
    std::vector<CSondaraView*> targets;
    for (CSondaraView* v : views())
        if (&v->host_ == &host_) targets.push_back(v);
    if (id == 32796 || id == 32797 || id == 32798 || id == 32835) {
        // every view of the document
    } else if (id == 32834) {
        targets.resize(std::min<size_t>(targets.size(), 1));  // the first view only
    } else {
        targets = {this};
    }
    for (CSondaraView* v : targets) v->runDisplayCommand(c);
    return true;
}

CSondaraView::CommandState CSondaraView::commandState(int id) const {
    if (IsMarkCommand(static_cast<CommandId>(id))) return {MarkCommands::enabled(*this, static_cast<CommandId>(id)), false};
    const WaveDisplayModel& m = display_->model();
    const bool panes = m.paneCount() > 0;
    const int a = m.activePane();
    const WavePane* active = a >= 0 && a < m.paneCount() ? &m.pane(a) : nullptr;
    const PaneKind kind = active ? active->kind : PaneKind::TimeTrace;
    switch (id) {
        case 32863: return {true, m.options().scope() == EditScope::CurrentTrace};
        case 32864: return {true, m.options().scope() == EditScope::AllTraces};
        case 32796:
        case 32797:
        case 32798: return {panes, active && active->state.fill == id - 32796};
        case 32834:
        case 32835: {
            const bool spectrum = active && kind == PaneKind::Spectrum;
            return {spectrum, spectrum && active->state.spectrumStyle == (id == 32834 ? 0 : 1)};
        }
        case 32800: return {active && IsTimeKind(kind), false};
        case 32803: return {active && (IsTimeKind(kind) || kind == PaneKind::Spectrum), false};
        case 32795: case 32809: case 32810: case 32801: case 32802: case 32811:
        case 32804: case 32805: case 32806: case 32807: case 32808:
            return {panes, false};
        default: return {};  // processing and marks come with their own work
    }
}

void CSondaraView::openContextMenu(QPoint globalPos) {
    CSondaraApp* app = theApp();
    CMainFrame* frame = app ? app->frame() : nullptr;
    QMenu menu(this);
    auto addCommand = [&](QMenu* into, int id, const QString& text) {
        QAction* act = into->addAction(text);
        const QAction* framed = frame ? frame->action(id) : nullptr;
        act->setEnabled(framed ? framed->isEnabled() : commandState(id).enabled);
        connect(act, &QAction::triggered, this, [this, id] { emit commandRequested(id); });
    };
    // The last command first, as a quick repeat.
    if (app && app->lastCommandId != 0 && !app->lastCommandName.isEmpty()) {
        addCommand(&menu, app->lastCommandId, app->lastCommandName);
        menu.addSeparator();
    }
    std::function<void(QMenu*, const std::vector<MenuEntry>&)> build =
        [&](QMenu* into, const std::vector<MenuEntry>& entries) {
            for (const MenuEntry& e : entries) {
                if (!e.submenuTitle.empty()) {
                    build(into->addMenu(QString::fromUtf8(e.submenuTitle.c_str())), e.children);
                } else if (e.id == 0) {
                    into->addSeparator();
                } else if (const CommandInfo* c = findCommand(e.id)) {
                    const std::string& t = e.textOverride.empty() ? std::string(c->menuText) : e.textOverride;
                    addCommand(into, e.id, QString::fromUtf8(t.c_str()));
                }
            }
        };
    if (frame) frame->updateCommandUi();
    build(&menu, contextMenu(166).entries);
    if (MarkDragHandler* h = MarkDragHandler::of(display_)) h->addContextItems(menu);
    menu.exec(globalPos);
}

}  // namespace sondara::gui
