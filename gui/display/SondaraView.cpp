#include "gui/display/SondaraView.h"

#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>

#include "core/analysis/PileMarks.h"
#include "core/app/CommandTable.h"
#include "gui/analysis/MarkDragHandler.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/QtPrompter.h"
#include "gui/app/Translation.h"
#include "gui/display/AnalysisBarWidget.h"
#include "gui/display/ViewContext.h"
#include "gui/display/WaveDisp.h"
#include "gui/processing/ViewProcessing.h"

namespace sondara::gui {

namespace {

using C = CommandId;

// The display commands and the DisplayCommand each of them runs.
struct DisplayCommandEntry {
    CommandId id;
    DisplayCommand command;
};
constexpr DisplayCommandEntry kDisplayCommands[] = {
    {C::DispAutoAdjust, DisplayCommand::AutoAdjust},
    {C::DispFillNone, DisplayCommand::FillNone},
    {C::DispFillPositive, DisplayCommand::FillPositive},
    {C::DispFillNegative, DisplayCommand::FillNegative},
    {C::DispAlignHead, DisplayCommand::AlignHead},
    {C::DispMoveLeft, DisplayCommand::ShiftLeft},
    {C::DispMoveRight, DisplayCommand::ShiftRight},
    {C::DispFitToe, DisplayCommand::AutoHScale},
    {C::DispStretchX, DisplayCommand::StretchH},
    {C::DispCompressX, DisplayCommand::CompressH},
    {C::DispAutoY, DisplayCommand::AutoVScale},
    {C::DispStretchY, DisplayCommand::StretchV},
    {C::DispCompressY, DisplayCommand::CompressV},
    {C::DispShowAll, DisplayCommand::ShowAll},
    {C::DispRestorePosition, DisplayCommand::RestorePosition},
    {C::DispRestoreScale, DisplayCommand::RestoreHScale},
    {C::DispSpectrumLines, DisplayCommand::SpectrumLines},
    {C::DispSpectrumEnvelope, DisplayCommand::SpectrumEnvelope},
};

const DisplayCommandEntry* displayCommandOf(CommandId id) {
    for (const DisplayCommandEntry& e : kDisplayCommands)
        if (e.id == id) return &e;
    return nullptr;
}

}  // namespace

CSondaraView::CSondaraView(DocumentHost& host, ViewContext& context, QWidget* parent)
    : QWidget(parent), host_(host), context_(context) {
    context_.addView(this);
    setObjectName("CSondaraView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    barWidget_ = new AnalysisBarWidget(this);
    display_ = new CWaveDisp(host_, this);
    display_->setCursorStyle(context_.cursorStyle());
    layout->addWidget(barWidget_);
    layout->addWidget(display_, 1);
    processing_ = new ViewProcessing(*this, host_, *display_);

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
    context_.removeView(this);
    QtPrompter prompter(this);
    saveSettings(bar_.choices, &prompter);
}

// ---- the analysis bar -------------------------------------------------------------------

void CSondaraView::showBarLayout() {
    barWidget_->showLayout(bar_.layout());
}

void CSondaraView::applySelection() {
    display_->setSelection(bar_.selection());
    context_.viewSelectionChanged(this);
}

void CSondaraView::refresh(const DocChangeEvent& e) {
    const WaveDisplayModel& m = display_->model();
    switch (e.kind) {
        case DocChange::PointList:
        case DocChange::Header: {
            // The lists follow the document (point numbers, pile numbers); a choice that
            // no longer fits is reset, and then the display takes the new selection.
            bar_.buildLists(host_.doc());
            const bool changed = bar_.runLogCheck();
            showBarLayout();
            if (changed)
                applySelection();
            else
                display_->rebuild();
            break;
        }
        case DocChange::Selection:
            if (m.selectionShapesPanes()) display_->rebuild();
            break;
        case DocChange::Checks:
            if (m.checksShapePanes()) display_->rebuild();
            break;
        case DocChange::Processing:
        case DocChange::Marks:
            display_->refreshPoints(e.points);
            break;
        case DocChange::Display:
            display_->rebuild();
            break;
    }
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
    if (context_.pointListBusy()) return;
    barWidget_->speedEdit()->setModified(false);
    bool allPanes = false;
    const std::vector<int> pts = speedLengthTargets(allPanes);
    bool ok = false;
    const int speed = text.toInt(&ok);
    // A speed outside 1..32767 is refused (0 would throw the stored length away); a
    // refused or unchanged value must not stay in the box looking applied.
    if (pts.empty() || !ok || speed < 1 || speed > kMaxWaveSpeed ||
        !EditWaveSpeed(host_.doc(), pts, speed, allPanes, display_->model().follow))
        showSpeedAndLength();
}

void CSondaraView::enterLength(const QString& text) {
    if (context_.pointListBusy()) return;
    barWidget_->lengthEdit()->setModified(false);
    bool allPanes = false;
    const std::vector<int> pts = speedLengthTargets(allPanes);
    QtPrompter prompter(this);
    bool ok = false;
    const double length = QLocale::c().toDouble(text, &ok);
    if (pts.empty() || !ok || length < 0.0 || length > kMaxPileLength ||
        !EditPileLength(host_.doc(), pts, length, allPanes, display_->model().follow, prompter))
        showSpeedAndLength();
}

// ---- commands -------------------------------------------------------------------------------

bool CSondaraView::concludePendingOperation(QObject* requester, CommandId commandId) {
    return processing_->concludePendingOperation(requester, static_cast<int>(commandId));
}

void CSondaraView::showDockedForm(QWidget* form) {
    auto* box = static_cast<QVBoxLayout*>(layout());
    barWidget_->hide();
    if (box->indexOf(form) < 0) box->insertWidget(0, form);
    form->show();
}

void CSondaraView::hideDockedForm(QWidget* form) {
    form->hide();
    barWidget_->show();
}

void CSondaraView::runDisplayCommand(DisplayCommand c) {
    // the model writes the states and announces them as a display change
    display_->runCommand(c);
}

bool CSondaraView::handleCommand(CommandId id) {
    if (id == C::ViewEditCurrent || id == C::ViewEditAll) {
        display_->setEditScope(id == C::ViewEditAll ? 1 : 0);
        return true;
    }
    const DisplayCommandEntry* entry = displayCommandOf(id);
    if (!entry) return false;
    std::vector<CSondaraView*> targets;
    for (CSondaraView* v : context_.views())
        if (&v->host_ == &host_) targets.push_back(v);
    if (id == C::DispFillNone || id == C::DispFillPositive || id == C::DispFillNegative ||
        id == C::DispSpectrumEnvelope) {
        // every view of the document
    } else if (id == C::DispSpectrumLines) {
        targets.resize(std::min<size_t>(targets.size(), 1));  // the first view only
    } else {
        targets = {this};
    }
    for (CSondaraView* v : targets) v->runDisplayCommand(entry->command);
    return true;
}

CSondaraView::CommandState CSondaraView::commandState(CommandId id) const {
    const WaveDisplayModel& m = display_->model();
    const bool panes = m.paneCount() > 0;
    const int a = m.activePane();
    const WavePane* active = a >= 0 && a < m.paneCount() ? &m.pane(a) : nullptr;
    const PaneKind kind = active ? active->kind : PaneKind::TimeTrace;
    switch (id) {
        case C::ViewEditCurrent:
            return {true, m.options().scope() == EditScope::CurrentTrace};
        case C::ViewEditAll:
            return {true, m.options().scope() == EditScope::AllTraces};
        case C::DispFillNone:
            return {panes, active && active->state.fill == 0};
        case C::DispFillPositive:
            return {panes, active && active->state.fill == 1};
        case C::DispFillNegative:
            return {panes, active && active->state.fill == 2};
        case C::DispSpectrumLines:
        case C::DispSpectrumEnvelope: {
            const bool spectrum = active && kind == PaneKind::Spectrum;
            return {spectrum, spectrum && active->state.spectrumStyle ==
                                              (id == C::DispSpectrumLines ? 0 : 1)};
        }
        case C::DispAlignHead:
            return {active && IsTimeKind(kind), false};
        case C::DispFitToe:
            return {active && (IsTimeKind(kind) || kind == PaneKind::Spectrum), false};
        case C::DispAutoAdjust:
        case C::DispShowAll:
        case C::DispRestorePosition:
        case C::DispMoveLeft:
        case C::DispMoveRight:
        case C::DispRestoreScale:
        case C::DispStretchX:
        case C::DispCompressX:
        case C::DispAutoY:
        case C::DispStretchY:
        case C::DispCompressY:
            return {panes, false};
        default:
            return {};
    }
}

void CSondaraView::openContextMenu(QPoint globalPos) {
    QMenu menu(this);
    auto addCommand = [&](QMenu* into, CommandId id, const QString& text) {
        QAction* act = into->addAction(text);
        act->setEnabled(context_.commandEnabled(id));
        connect(act, &QAction::triggered, this, [this, id] { context_.postCommand(id); });
    };
    // The last command first, as a quick repeat.
    if (const CommandId last = context_.lastCommand(); last != C::None) {
        if (const CommandInfo* c = findCommand(last)) {
            addCommand(&menu, last, trCore(c->shortName));
            menu.addSeparator();
        }
    }
    std::function<void(QMenu*, const std::vector<MenuEntry>&)> build =
        [&](QMenu* into, const std::vector<MenuEntry>& entries) {
            for (const MenuEntry& e : entries) {
                if (!e.submenuTitle.empty()) {
                    build(into->addMenu(trCore(e.submenuTitle)), e.children);
                } else if (e.id == C::None) {
                    into->addSeparator();
                } else if (const CommandInfo* c = findCommand(e.id)) {
                    const std::string& t =
                        e.textOverride.empty() ? std::string(c->menuText) : e.textOverride;
                    addCommand(into, e.id, trCore(t));
                }
            }
        };
    build(&menu, contextMenu(kMenuDisplay).entries);
    if (MarkDragHandler* h = MarkDragHandler::of(display_); h && h->hasContextMark()) {
        // A right click on a mark selected it: 编辑 and 删除 act on it.
        menu.addSeparator();
        addCommand(&menu, C::MarkEdit, trCore(findCommand(C::MarkEdit)->menuText));
        addCommand(&menu, C::MarkDelete, trCore(findCommand(C::MarkDelete)->menuText));
    }
    menu.exec(globalPos);
}

}  // namespace sondara::gui
