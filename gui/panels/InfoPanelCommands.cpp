#include "gui/panels/InfoPanelCommands.h"

#include "gui/app/QtPrompter.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/WaveDisp.h"
#include "gui/panels/DisplaySettingsDialog.h"
#include "gui/panels/EditSettingsDialog.h"

namespace sondara::gui {

bool RunEditSettings(CSondaraApp& app, QWidget* parent) {
    EditSettingsDialog dlg(app.editSettings.pointEditScope == 1 ? PointEditScope::Multiple
                                                                 : PointEditScope::Single,
                           parent);
    if (dlg.exec() != QDialog::Accepted) return false;
    app.editSettings.pointEditScope = dlg.scope() == PointEditScope::Multiple ? 1 : 0;
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

void SetDisplayEditScope(CWaveDisp& display, int scope) { display.setEditScope(scope); }

}  // namespace sondara::gui
