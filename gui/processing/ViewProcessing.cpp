#include "gui/processing/ViewProcessing.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <algorithm>

#include "core/app/CommandIds.h"
#include "core/display/WaveDisplayModel.h"
#include "core/processing/Positions.h"
#include "core/processing/ProcessKinds.h"
#include "core/processing/ProcessingCommands.h"
#include "gui/app/DocumentHost.h"
#include "gui/display/SondaraView.h"
#include "gui/display/ViewContext.h"
#include "gui/display/WaveDisp.h"
#include "gui/processing/ProcessInteraction.h"
#include "gui/processing/ProcessingHistoryPanel.h"
#include "gui/processing/StepDockForm.h"
#include "gui/processing/StepFieldControls.h"
#include "gui/processing/StepParamDialog.h"

namespace sondara::gui {

int& ViewProcessing::dialogMode() {
    static int mode = 0;
    return mode;
}

bool& ViewProcessing::dockDisabled() {
    static bool disabled = false;
    return disabled;
}

ViewProcessing::ViewProcessing(CSondaraView& view, DocumentHost& host, CWaveDisp& display)
    : QObject(&view), view_(view), host_(host), display_(display) {
    interaction_ = new ProcessInteraction(display_, this);
    connect(interaction_, &ProcessInteraction::changed, this, &ViewProcessing::onDragChanged);
    connect(interaction_, &ProcessInteraction::cancelRequested, this, [this] {
        if (activeKind_ > 0) endForm(StepDockForm::Cancelled);
    });
    connect(interaction_, &ProcessInteraction::acceptRequested, this, [this] {
        if (StepDockForm* f = shownForm()) f->okButton()->click();
    });
    connect(&display_, &CWaveDisp::staticCursorPlaced, this, &ViewProcessing::onStaticCursor);
    // Only another pane discards the preview; a click on the same trace keeps it.
    connect(&display_, &CWaveDisp::activePaneChanged, this, &ViewProcessing::onActivePaneChanged);
    // The history panel lists the targets of the active view: it follows every rebuild.
    connect(&display_, &CWaveDisp::rebuilt, this,
            [] { ProcessingHistoryPanel::scheduleRebuild(); });
    connect(&display_, &CWaveDisp::pointClicked, this,
            [] { ProcessingHistoryPanel::scheduleRebuild(); });

    deferTimer_ = new QTimer(this);
    deferTimer_->setInterval(1);
    connect(deferTimer_, &QTimer::timeout, this, &ViewProcessing::serveDeferred);
    postCommand = [this](int id) { view_.context().postCommand(static_cast<CommandId>(id)); };
}

ViewProcessing::~ViewProcessing() {
    if (watched_) watched_->removeEventFilter(this);
    if (loop_) loop_->quit();
}

StepDockForm* ViewProcessing::shownForm() const {
    if (activeKind_ <= 0) return nullptr;
    auto it = forms_.find(activeKind_);
    return it == forms_.end() ? nullptr : it->second;
}

ViewProcessing::Context ViewProcessing::context() const {
    Context c;
    const WaveDisplayModel& m = display_.model();
    c.domain = m.selection().domain;
    c.showsAverage = c.domain == AnalysisDomain::TimeAnalysis &&
                     m.selection().sub == static_cast<int>(TimeAnalysisKind::Average);
    if (host_.doc().pointCount() > 0 && m.paneCount() > 0) c.targets = m.processingTargets();
    return c;
}

TestPoint ViewProcessing::referencePoint(int point) const {
    // The scalars that convert positions; the samples are not needed.
    TestPoint r;
    if (!host_.doc().validPoint(point)) return r;
    const TestPoint& p = host_.doc().points[static_cast<size_t>(point)];
    r.headIndex = p.headIndex;
    r.toeIndex = p.toeIndex;
    r.sampleInterval = p.sampleInterval;
    r.waveSpeed = p.waveSpeed;
    r.pileLength = p.pileLength;
    r.lastParams.rangeMax = p.lastParams.rangeMax;
    r.lastParams.rangeMin = p.lastParams.rangeMin;
    return r;
}

QMdiSubWindow* ViewProcessing::subWindow() const {
    for (QWidget* w = view_.parentWidget(); w; w = w->parentWidget())
        if (auto* s = qobject_cast<QMdiSubWindow*>(w)) return s;
    return nullptr;
}

// ---- commands ---------------------------------------------------------------------------------

bool ViewProcessing::enabled(int id) const {
    const auto cmd = ProcessingCommandOf(static_cast<CommandId>(id));
    if (!cmd) return false;
    const ProcessingHistoryPanel* panel = ProcessingHistoryPanel::instance();
    switch (cmd->edit) {
        case ChainEdit::NewOperation:
            return !context().targets.empty();
        case ChainEdit::Edit:
        case ChainEdit::Insert:
        case ChainEdit::Delete:
            return panel && panel->isVisible() && panel->buttonStates().editInsertDelete;
        default:
            return panel && panel->buttonStates().clearUndo;
    }
}

bool ViewProcessing::run(int id) {
    const auto cmd = ProcessingCommandOf(static_cast<CommandId>(id));
    if (!cmd) return false;
    const Context ctx = context();
    const ProcessingHistoryPanel* panel = ProcessingHistoryPanel::instance();
    CommitRequest r;
    r.edit = cmd->edit;
    r.domain = ctx.domain;
    r.showsAverage = ctx.showsAverage;
    r.kind = cmd->kind;
    switch (cmd->edit) {
        case ChainEdit::NewOperation: {
            if (ctx.targets.empty() || !KindAvailable(cmd->kind, ctx.domain, ctx.showsAverage))
                return true;
            r.targets = ctx.targets;
            const CursorState& cursor = display_.model().staticCursor();
            const int sample = cursor.shown ? cursor.sample : -1;
            const TestPoint first = referencePoint(ctx.targets.front());
            r.prefill = [sample, first](ProcessStep& s) { PrefillNewStep(s, sample, first); };
            commit(std::move(r), cmd->kind);
            return true;
        }
        case ChainEdit::Edit:
        case ChainEdit::Insert: {
            if (!panel || !panel->isVisible() || ctx.targets.empty()) return true;
            const int sel = panel->selectedIndex();
            if (sel < 0 || sel >= panel->history().size()) return true;
            r.targets = ctx.targets;
            r.index = sel;
            if (cmd->edit == ChainEdit::Edit) {
                r.step = panel->history().merged()[static_cast<size_t>(sel)];
                if (r.step.kind == 0) return true;  // "<不一致>"
                r.kind = r.step.processKind();
            }
            const ProcessKind kind = r.kind;
            commit(std::move(r), kind);
            return true;
        }
        default: {
            // Delete, clear and undo act on the targets the list was built from.
            r.targets =
                panel && panel->history().hasTargets() ? panel->history().targets() : ctx.targets;
            if (cmd->edit == ChainEdit::Delete) {
                if (!panel) return true;
                r.index = panel->selectedIndex();
                if (r.index < 0 || r.index >= panel->history().size()) return true;
            }
            CommitProcessing(host_.doc(), r);
            return true;
        }
    }
}

void ViewProcessing::commit(CommitRequest request, ProcessKind kind) {
    if (!KindAvailable(kind, request.domain, request.showsAverage)) return;
    // Each operation starts as a pop-up; outside integrity analysis and the time-domain
    // average the filter, amplify, DC and smoothing windows stay pop-ups.
    dialogMode() = 0;
    dockDisabled() = ForcesPopup(kind, request.domain, request.showsAverage);
    targets_.clear();
    for (int t : request.targets)
        if (host_.doc().validPoint(t) &&
            std::find(targets_.begin(), targets_.end(), t) == targets_.end())
            targets_.push_back(t);
    if (request.domain == AnalysisDomain::Wavelet && targets_.size() > 1) targets_.resize(1);
    QPointer<ViewProcessing> alive(this);
    CommitProcessing(host_.doc(), request, [this](ProcessStep& step, const PreviewFn& preview) {
        return runStepDialog(step, preview);
    });
    dockDisabled() = false;
    if (!alive) return;
    targets_.clear();
    if (closeAfter_) {
        closeAfter_ = false;
        if (QMdiSubWindow* s = subWindow()) QTimer::singleShot(0, s, &QWidget::close);
    }
}

// ---- the parameter windows
// ------------------------------------------------------------------------

float ViewProcessing::paneMillivoltsPerRow(bool popupRule) const {
    const WaveDisplayModel& m = display_.model();
    int pane = m.activePane();
    if (pane < 0 && m.staticCursor().shown) pane = m.staticCursor().pane;
    if (pane < 0 && m.dynamicCursor().shown) pane = m.dynamicCursor().pane;
    if (pane < 0 && m.paneCount() > 0) pane = 0;
    if (pane < 0 || pane >= m.paneCount()) return 1.0f;
    const WavePane& w = m.pane(pane);
    const int h = w.plotRect.height();
    if (h <= 0) return 1.0f;
    if (popupRule) {
        // The range of the pane's point over the plot height.
        const TestPoint p = referencePoint(w.pointIndex);
        return (p.lastParams.rangeMax - p.lastParams.rangeMin) / static_cast<float>(h);
    }
    return w.vMax > w.vMin ? static_cast<float>((w.vMax - w.vMin) / h) : 1.0f;
}

DialogResult ViewProcessing::runStepDialog(ProcessStep& step, const PreviewFn& preview) {
    const ProcessKind kind = step.processKind();
    for (;;) {
        if (targets_.empty()) return DialogResult::Cancelled;
        const TestPoint ref = referencePoint(targets_.front());
        if (dialogMode() == 0) {
            const ProcessStep start = step;
            StepParamDialog dlg(
                kind, FieldsFromStep(step, ref), ref, dockDisabled(),
                [&preview, &ref, start](const StepFields& f) {
                    ProcessStep candidate = start;
                    ApplyFields(f, ref, FieldUse::Preview, candidate);
                    preview(candidate);
                },
                &view_);
            const int r = dlg.exec();
            if (r == QDialog::Accepted) {
                ApplyFields(dlg.fields(), ref, FieldUse::Accept, step);
                if (kind == ProcessKind::Rotate) step.rotScale = paneMillivoltsPerRow(true);
                return DialogResult::Accepted;
            }
            if (r == StepParamDialog::kSwitch) {
                ApplyFields(dlg.fields(), ref, FieldUse::Switch, step);
                dialogMode() = 1;
                continue;
            }
            return DialogResult::Cancelled;
        }
        const int r = runDocked(step, preview);
        if (r == StepDockForm::Switch) {
            dialogMode() = 0;
            continue;
        }
        return r == StepDockForm::Accepted ? DialogResult::Accepted : DialogResult::Cancelled;
    }
}

StepDockForm* ViewProcessing::formFor(ProcessKind kind) {
    auto it = forms_.find(static_cast<int>(kind));
    if (it != forms_.end()) return it->second;
    auto* form = new StepDockForm(kind, &view_);
    form->hide();
    connect(form, &StepDockForm::finished, this, &ViewProcessing::finishFromForm);
    connect(form, &StepDockForm::choiceChanged, this, &ViewProcessing::onChoiceChanged);
    if (kind == ProcessKind::Amplify) {
        // The amplification form keeps the step up to date whenever its factor or delay
        // edit loses the focus (not while the point list is being clicked through).
        connect(form, &StepDockForm::fieldLeft, this, [this, form] {
            if (view_.context().pointListBusy() || !pendingStep_ || shownForm() != form ||
                targets_.empty())
                return;
            StepFields f;
            if (form->controls()->tryReadFields(f))
                ApplyFields(f, referencePoint(targets_.front()), FieldUse::Switch, *pendingStep_);
        });
    }
    connect(form, &StepDockForm::previewRequested, this, [this](const StepFields& f) {
        if (!pendingStep_ || !pendingPreview_ || targets_.empty()) return;
        ProcessStep candidate = *pendingStep_;
        ApplyFields(f, referencePoint(targets_.front()), FieldUse::Preview, candidate);
        (*pendingPreview_)(candidate);
    });
    forms_[static_cast<int>(kind)] = form;
    return form;
}

void ViewProcessing::interactiveModeFor(const ProcessStep& step) {
    switch (step.processKind()) {
        case ProcessKind::Rotate:
            interaction_->setMode(step.rotPartial == 1 ? InteractiveMode::RotateFromStart
                                                       : InteractiveMode::RotateWhole);
            break;
        case ProcessKind::Shift:
            interaction_->setMode(InteractiveMode::Shift);
            break;
        case ProcessKind::LocalScale:
            interaction_->setMode(InteractiveMode::SelectRange);
            break;
        default:
            interaction_->setMode(InteractiveMode::None);
            break;
    }
}

int ViewProcessing::runDocked(ProcessStep& step, const PreviewFn& preview) {
    deferred_.clear();
    const ProcessKind kind = step.processKind();
    StepDockForm* form = formFor(kind);
    dockRef_ = referencePoint(targets_.front());
    form->setReference(&dockRef_);
    form->setSwitchEnabled(!dockDisabled());
    form->setFields(FieldsFromStep(step, dockRef_));
    pendingStep_ = &step;
    pendingPreview_ = &preview;
    dockResult_ = StepDockForm::Cancelled;
    view_.showDockedForm(form);
    activeKind_ = static_cast<int>(kind);
    interactiveModeFor(step);
    if (QMdiSubWindow* s = subWindow(); s && s != watched_) {
        if (watched_) watched_->removeEventFilter(this);
        watched_ = s;
        s->installEventFilter(this);
        if (QMdiArea* area = s->mdiArea()) {
            // one connection however often a form opens (a lambda cannot be made unique)
            disconnect(areaActivation_);
            areaActivation_ =
                connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
                    if (w && w != watched_ && activeKind_ > 0) endForm(StepDockForm::Cancelled);
                });
        }
    }

    QPointer<ViewProcessing> alive(this);
    QEventLoop loop;
    loop_ = &loop;
    if (activeKind_ > 0) loop.exec();
    if (!alive) return StepDockForm::Cancelled;
    loop_ = nullptr;
    pendingStep_ = nullptr;
    pendingPreview_ = nullptr;
    activeKind_ = 0;
    return dockResult_;
}

void ViewProcessing::finishFromForm(int result) {
    StepDockForm* form = shownForm();
    if (!form || !pendingStep_) return;
    if (result == StepDockForm::Accepted || result == StepDockForm::Switch) {
        StepFields f;
        if (!form->readFields(f)) return;
        // Ranges and shifts made by dragging convert with the dragged trace.
        const ProcessKind kind = pendingStep_->processKind();
        const DragState& d = interaction_->drag();
        int refPoint = targets_.front();
        if ((kind == ProcessKind::LocalScale || kind == ProcessKind::Shift) && d.valid &&
            d.point >= 0)
            refPoint = d.point;
        ApplyFields(f, referencePoint(refPoint),
                    result == StepDockForm::Accepted ? FieldUse::Accept : FieldUse::Switch,
                    *pendingStep_);
        if (kind == ProcessKind::Rotate)
            pendingStep_->rotScale = d.valid ? d.mvPerRow : paneMillivoltsPerRow(false);
    }
    endForm(result);
}

void ViewProcessing::endForm(int result) {
    StepDockForm* form = shownForm();
    if (form) {
        view_.hideDockedForm(form);
        form->hide();
    }
    interaction_->setMode(InteractiveMode::None);
    dockResult_ = result;
    activeKind_ = -1;
    if (loop_) loop_->quit();
}

bool ViewProcessing::concludePendingOperation(QObject* requester, int commandId) {
    if (activeKind_ <= 0) return true;
    endForm(StepDockForm::Cancelled);
    if (requester) {
        deferred_.push_back(commandId);
        deferTimer_->start();
    }
    return false;
}

void ViewProcessing::serveDeferred() {
    if (deferred_.empty()) {
        deferTimer_->stop();
        return;
    }
    if (activeKind_ != 0) return;  // the docked run has not unwound yet
    const int id = deferred_.back();
    deferred_.pop_back();
    if (deferred_.empty()) deferTimer_->stop();
    if (postCommand && id != static_cast<int>(CommandId::None)) postCommand(id);
}

bool ViewProcessing::eventFilter(QObject* o, QEvent* e) {
    // the event's type first: while the child window is being destroyed it still sends
    // events through this filter, and the pointer to it must not be looked at then
    if (e->type() == QEvent::Close && activeKind_ > 0 && o == watched_) {
        // The window may close only once the docked run has unwound.
        endForm(StepDockForm::Cancelled);
        closeAfter_ = true;
        e->ignore();
        return true;
    }
    return QObject::eventFilter(o, e);
}

// ---- the display's notifications while a form is open -------------------------------------------

void ViewProcessing::previewDrag() {
    if (!pendingStep_) return;
    PreviewStep(host_.doc(), targets_, *pendingStep_);
    host_.doc().announce(DocChange::Processing, targets_);
}

void ViewProcessing::restoreTargets() {
    RestoreChains(host_.doc(), targets_);
    host_.doc().announce(DocChange::Processing, targets_);
}

void ViewProcessing::onDragChanged() {
    StepDockForm* form = shownForm();
    if (!form || !pendingStep_) return;
    const DragState& d = interaction_->drag();
    // Read without prompting: a field left empty keeps its last good value, and the
    // message about it belongs to 确定 alone, not to every step of a drag.
    StepFields f = form->controls()->readSilently();
    ProcessStep& s = *pendingStep_;
    const TestPoint first = referencePoint(targets_.front());
    const TestPoint dragged = referencePoint(d.point >= 0 ? d.point : targets_.front());
    switch (s.processKind()) {
        case ProcessKind::Rotate:
            s.rotPartial = interaction_->mode() == InteractiveMode::RotateFromStart ? 1 : 0;
            s.rotAngle = d.rotAngle;
            s.rotStart = d.rotStart;
            s.rotScale = d.mvPerRow;
            f.choice = s.rotPartial;
            f.angle = DegreesOfRadians(s.rotAngle);
            f.position = DepthOfSample(first, s.rotStart, false);
            break;
        case ProcessKind::Shift: {
            s.shiftSamples = d.shiftSamples;
            s.shiftMv = d.shiftMv;
            // The range of a partial shift is the one typed in the form.
            s.shiftPartial = f.choice;
            s.shiftStart = SampleOfDepth(dragged, f.position, false);
            s.shiftEnd = SampleOfDepth(dragged, f.end, false);
            f.shiftMetres = DepthOfSample(dragged, s.shiftSamples, true);
            f.shiftMv = s.shiftMv;
            break;
        }
        case ProcessKind::LocalScale:
            if (d.rangeFirst < 0) return;
            s.scaleStart = d.rangeFirst;
            s.scaleEnd = d.rangeLast;
            s.scaleFactor = static_cast<float>(f.factor);
            f.position = DepthOfSample(dragged, s.scaleStart, false);
            f.end = DepthOfSample(dragged, s.scaleEnd, false);
            break;
        default:
            return;
    }
    form->setFields(f);
    previewDrag();
}

void ViewProcessing::onStaticCursor() {
    StepDockForm* form = shownForm();
    if (!form) return;
    switch (form->kind()) {
        case ProcessKind::Amplify:
        case ProcessKind::RemoveDc:
        case ProcessKind::LinearZero:
        case ProcessKind::NonlinearZero:
        case ProcessKind::FrontZero:
        case ProcessKind::BackZero:
            break;
        default:
            return;
    }
    const CursorState& c = display_.model().staticCursor();
    if (!c.shown || targets_.empty()) return;
    StepFields f = form->controls()->readSilently();
    f.position = DepthOfSample(referencePoint(targets_.front()), c.sample, false);
    form->setFields(f);
}

void ViewProcessing::onActivePaneChanged() {
    StepDockForm* form = shownForm();
    if (!form || form->kind() == ProcessKind::Filter || form->kind() == ProcessKind::Smooth) return;
    restoreTargets();
    const WaveDisplayModel& m = display_.model();
    const int a = m.activePane();
    if (a < 0 || a >= m.paneCount()) return;
    auto it = std::find(targets_.begin(), targets_.end(), m.pane(a).pointIndex);
    if (it != targets_.end()) std::rotate(targets_.begin(), it, it + 1);
}

void ViewProcessing::onChoiceChanged(int choice) {
    StepDockForm* form = shownForm();
    if (!form || !pendingStep_) return;
    ProcessStep& s = *pendingStep_;
    int* field = s.processKind() == ProcessKind::Rotate  ? &s.rotPartial
                 : s.processKind() == ProcessKind::Shift ? &s.shiftPartial
                                                         : nullptr;
    if (!field || *field == choice) return;
    *field = choice;
    restoreTargets();
    interactiveModeFor(s);
}

}  // namespace sondara::gui
