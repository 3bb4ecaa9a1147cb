#include "gui/analysis/MarkCommands.h"

#include <QStringList>

#include "core/analysis/AutoHeadToe.h"
#include "core/base/TextCodec.h"
#include "gui/analysis/AutoHeadDialog.h"
#include "gui/analysis/AutoToeDialog.h"
#include "gui/analysis/DefectDialog.h"
#include "gui/analysis/MarkDragHandler.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/QtPrompter.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"

namespace sondara::gui {

namespace {

const WaveDisplayModel& modelOf(const CSondaraView& v) {
    return v.display()->model();
}
WaveDisplayModel& modelOf(CSondaraView& v) {
    return v.display()->model();
}

// The static cursor, when it stands in a pane that still exists.
const WavePane* cursorPane(const WaveDisplayModel& m) {
    const CursorState& c = m.staticCursor();
    if (!c.shown || c.pane < 0 || c.pane >= m.paneCount()) return nullptr;
    return &m.pane(c.pane);
}

MarkSet markSetOf(PaneKind k) {
    switch (k) {
        case PaneKind::TimeTrace:
        case PaneKind::AverageTrace:
            return MarkSet::Defects;
        case PaneKind::Correlation:
            return MarkSet::Correlation;
        case PaneKind::Spectrum:
            return MarkSet::Spectrum;
        case PaneKind::WaveletComponent:
            return MarkSet::Wavelet;
    }
    return MarkSet::None;
}

MarkPane markPaneOf(const WavePane& w) {
    MarkPane mp;
    mp.point = w.pointIndex;
    mp.set = markSetOf(w.kind);
    if (mp.set == MarkSet::Wavelet) mp.waveletPane = w.ordinal;
    return mp;
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Head or toe at the static cursor on every target point.
void headOrToe(CSondaraView& v, bool head) {
    WaveDisplayModel& m = modelOf(v);
    const WavePane* w = cursorPane(m);
    if (!w || !IsTimeKind(w->kind)) return;
    const int sample = m.staticCursor().sample;
    const LengthFollowMode mode = m.follow.effective();
    QtPrompter prompter(&v);
    const std::vector<int> targets = m.editTargets().points;
    DocChangeBatch batch(v.host().doc());
    for (int p : targets) {
        if (head)
            SetPileHead(v.host().doc(), p, sample, mode, true, prompter);
        else
            SetPileToe(v.host().doc(), p, sample, mode, true, prompter);
    }
}

void addDefect(CSondaraView& v, int kind) {
    WaveDisplayModel& m = modelOf(v);
    const WavePane* w = cursorPane(m);
    if (!w || !IsTimeKind(w->kind)) return;
    const int sample = m.staticCursor().sample;
    QtPrompter prompter(&v);
    const std::vector<int> targets = m.editTargets().points;
    DocChangeBatch batch(v.host().doc());
    for (int p : targets) AddDefect(v.host().doc(), p, sample, kind, {}, {}, prompter);
}

void customDefect(CSondaraView& v) {
    WaveDisplayModel& m = modelOf(v);
    const WavePane* w = cursorPane(m);
    if (!w || !IsTimeKind(w->kind)) return;
    const int sample = m.staticCursor().sample;
    const CSondaraDoc& doc = v.host().doc();
    const int cursorPoint = m.staticCursor().point;
    const std::string depth = doc.validPoint(cursorPoint)
                                  ? DefectDepthText(doc.points[cursorPoint], sample)
                                  : std::string();
    DefectDialog dlg(DefectDialog::nameChoices(), qs(depth), &v);
    if (dlg.exec() != QDialog::Accepted) return;
    DefectDialog::rememberName(dlg.name());
    // Targets and cursor are read again after the modal dialog.
    const std::vector<int> targets = modelOf(v).editTargets().points;
    const int pos = modelOf(v).staticCursor().sample;
    QtPrompter prompter(&v);
    AddCustomDefect(v.host().doc(), targets, pos, dlg.name().toStdString(),
                    dlg.remark().toStdString(), prompter);
}

void markerLine(CSondaraView& v) {
    WaveDisplayModel& m = modelOf(v);
    const WavePane* w = cursorPane(m);
    if (!w) return;
    MarkerDomain d;
    switch (w->kind) {
        case PaneKind::Correlation:
            d = MarkerDomain::Correlation;
            break;
        case PaneKind::Spectrum:
            d = MarkerDomain::Spectrum;
            break;
        case PaneKind::WaveletComponent:
            d = MarkerDomain::Wavelet;
            break;
        default:
            return;  // nothing on time panes
    }
    const EditTargets t = m.editTargets();
    const std::vector<int> list = d == MarkerDomain::Wavelet ? t.markerList() : t.points;
    if (list.empty()) return;
    AddMarkerLine(v.host().doc(), list, d, m.staticCursor().sample);
}

void clearMarks(CSondaraView& v) {
    const std::vector<MarkPane> panes = MarkCommands::clearPanes(v);
    if (panes.empty()) return;
    const bool activeOnly = modelOf(v).options().scope() == EditScope::CurrentTrace;
    QtPrompter prompter(&v);
    if (!ClearAllMarks(v.host().doc(), panes, activeOnly, prompter)) return;
    if (MarkDragHandler* h = MarkDragHandler::of(v.display())) h->clearSelection();
}

void autoHead(CSondaraView& v) {
    CSondaraApp* app = theApp();
    AutoHeadSettings s = app ? app->autoHeadSettings : AutoHeadSettings{};
    AutoHeadDialog dlg(s, &v);
    if (dlg.exec() != QDialog::Accepted) return;
    s = dlg.settings();
    QtPrompter prompter(&v);
    if (app) app->autoHeadSettings = s;
    saveSettings(s, &prompter);  // "写设置文件失败！" when it cannot be written
    if (!AutoMarksApply(MarkCommands::context(v))) return;  // nothing to place a head on
    WaveDisplayModel& m = modelOf(v);
    const LengthFollowMode mode = m.follow.effective();
    const std::vector<int> targets = m.editTargets().points;
    DocChangeBatch batch(v.host().doc());
    for (int p : targets) AutoPileHead(v.host().doc(), p, s, mode, true, prompter);
}

void autoToe(CSondaraView& v) {
    WaveDisplayModel& m = modelOf(v);
    const std::vector<int> targets = m.editTargets().points;
    const CSondaraDoc& doc = v.host().doc();
    const TestPoint* first = !targets.empty() && doc.validPoint(targets.front())
                                 ? &doc.points[targets.front()]
                                 : nullptr;
    const LengthFollowMode mode = m.follow.effective();
    AutoToeDialog dlg(MakeAutoToePrompt(first, mode), &v);
    if (dlg.exec() != QDialog::Accepted) return;
    double value = 0.0;
    if (!dlg.value(value)) return;
    if (!AutoMarksApply(MarkCommands::context(v))) return;
    QtPrompter prompter(&v);
    DocChangeBatch batch(v.host().doc());
    for (int p : targets) AutoPileToe(v.host().doc(), p, value, mode, true, prompter);
}

void editOrDelete(CSondaraView& v, bool edit) {
    MarkDragHandler* h = MarkDragHandler::of(v.display());
    if (!h) return;
    const GrabTarget sel = h->selected();
    if (sel.type == GrabTarget::Type::Defect || sel.type == GrabTarget::Type::MarkerLine) {
        if (edit)
            h->editMark(sel);
        else
            h->deleteMark(sel);
        return;
    }
    h->startPick(edit ? MarkDragHandler::Pick::Edit : MarkDragHandler::Pick::Delete);
}

}  // namespace

std::vector<MarkPane> MarkCommands::clearPanes(const CSondaraView& v) {
    const WaveDisplayModel& m = modelOf(v);
    std::vector<MarkPane> out;
    if (m.options().scope() == EditScope::CurrentTrace) {
        const int a = m.activePane();
        if (a >= 0 && a < m.paneCount()) out.push_back(markPaneOf(m.pane(a)));
        return out;
    }
    for (int i = 0; i < m.paneCount(); ++i) out.push_back(markPaneOf(m.pane(i)));
    return out;
}

MarkCommandContext MarkCommands::context(const CSondaraView& v) {
    const WaveDisplayModel& m = modelOf(v);
    MarkCommandContext c;
    const CSondaraDoc* doc = m.document();
    c.hasPoints = doc && doc->pointCount() > 0;
    c.hasPanes = m.paneCount() > 0;
    if (const WavePane* w = cursorPane(m)) {
        c.cursorShown = true;
        c.cursorInTimePane = IsTimeKind(w->kind);
        c.cursorInMarkerPane = !c.cursorInTimePane;
    }
    c.featureMask = m.featureMask;
    c.editScopeAll = m.options().scope() == EditScope::AllTraces;
    const int a = m.activePane();
    if (doc && a >= 0 && a < m.paneCount())
        c.activePaneMarks = MarksShown(*doc, markPaneOf(m.pane(a)));
    return c;
}

bool MarkCommands::enabled(const CSondaraView& v, CommandId id) {
    return MarkCommandEnabled(id, context(v));
}

bool MarkCommands::run(CSondaraView& v, CommandId id) {
    if (!IsMarkCommand(id)) return false;
    if (!enabled(v, id)) return true;  // every route asks the enable rule first
    switch (id) {
        case CommandId::MarkHead:
            headOrToe(v, true);
            break;
        case CommandId::MarkToe:
            headOrToe(v, false);
            break;
        case CommandId::MarkAutoHead:
            autoHead(v);
            break;
        case CommandId::MarkAutoToe:
            autoToe(v);
            break;
        case CommandId::DefectCustom:
            customDefect(v);
            break;
        case CommandId::MarkLine:
            markerLine(v);
            break;
        case CommandId::MarkEdit:
            editOrDelete(v, true);
            break;
        case CommandId::MarkDelete:
            editOrDelete(v, false);
            break;
        case CommandId::MarkClear:
            clearMarks(v);
            break;
        default:
            addDefect(v, DefectKindOfCommand(id));
            break;
    }
    return true;
}

}  // namespace sondara::gui
