// The information panels and the settings dialogs in the program: the 信息栏 grids
// follow the open document and the active view, the analysis bar's 设置 opens
// 显示设置, and 编辑设置 sets the scope of the grids' edits.
#include "gui/panels/InfoPanelCommands.h"

#include <QPushButton>

#include "core/display/WaveDisplayModel.h"
#include "gui/app/QtPrompter.h"
#include "gui/app/RecoveryManager.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/AnalysisBarWidget.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/CommandRegistry.h"
#include "gui/frame/MainFrame.h"
#include "gui/panels/DisplaySettingsDialog.h"
#include "gui/panels/EditSettingsDialog.h"
#include "gui/panels/InfoBar.h"

namespace sondara::gui {

bool RunEditSettings(CSondaraApp& app, QWidget* parent) {
    EditSettingsDialog dlg(
        app.editSettings.pointEditScope == 1 ? PointEditScope::Multiple : PointEditScope::Single,
        parent, RecoveryManager::storedIntervalSeconds());
    if (dlg.exec() != QDialog::Accepted) return false;
    app.editSettings.pointEditScope = dlg.scope() == PointEditScope::Multiple ? 1 : 0;
    RecoveryManager::setStoredIntervalSeconds(dlg.recoverySeconds());
    QtPrompter prompter(parent);
    saveSettings(app.editSettings, &prompter);
    return true;
}

bool RunDisplaySettings(CWaveDisp& display, QWidget* parent) {
    DisplaySettingsDialog dlg(display.model().options(), parent);
    if (dlg.exec() != QDialog::Accepted) return false;
    display.model().applyOptions(dlg.options());
    display.saveOptions();
    display.rebuild();
    return true;
}

namespace {

// Once for every view: its analysis bar's 设置 opens 显示设置 for its display, and
// every rebuild of its display (another set of traces) refreshes the grids.
void wireView(CSondaraView* v, QWidget* parent, InfoBar* bar) {
    if (!v) return;
    QPushButton* b = v->analysisBar()->settingsButton();
    if (b->property("sondaraDisplaySettings").toBool()) return;
    b->setProperty("sondaraDisplaySettings", true);
    b->setEnabled(true);
    QObject::connect(b, &QPushButton::clicked, v,
                     [v, parent] { RunDisplaySettings(*v->display(), parent); });
    QObject::connect(v->display(), &CWaveDisp::rebuilt, bar, &InfoBar::scheduleRefresh);
}

const CommandModuleRegistrar kRegistrar([](CommandRegistry& r, CMainFrame& frame) {
    CMainFrame* f = &frame;
    r.add({CommandId::EditSettings, [f] { RunEditSettings(f->app(), f); }, {}, {}});

    InfoBar* bar = frame.findChild<InfoBar*>("InfoTabs");
    if (!bar) return;
    bar->setViewProvider([f]() -> const WaveDisplayModel* {
        CSondaraView* v = f->activeAnalysisView();
        return v ? &v->display()->model() : nullptr;
    });
    bar->setScopeProvider([f] {
        return f->app().editSettings.pointEditScope == 1 ? PointEditScope::Multiple
                                                         : PointEditScope::Single;
    });
    QObject::connect(f, &CMainFrame::documentReplaced, bar,
                     [f, bar] { bar->setDocument(f->document()); });
    // the bar hears of the document's changes itself (setDocument)
    QObject::connect(f, &CMainFrame::activeViewChanged, bar, [f, bar](CSondaraView* v) {
        wireView(v, f, bar);
        bar->scheduleRefresh();
    });
    bar->setDocument(f->document());
});

}  // namespace
}  // namespace sondara::gui
