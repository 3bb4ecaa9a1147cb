#pragma once
// The commands of the information panels and the settings dialogs. The file's command
// module registers 编辑设置 and wires the 信息栏 grids and the analysis bar's 设置.
class QWidget;

namespace sondara::gui {

class CSondaraApp;
class CWaveDisp;

// 编辑设置: the dialog with the application's scope; on OK the scope is stored in the
// application and written to its settings file. Returns whether OK was chosen.
bool RunEditSettings(CSondaraApp& app, QWidget* parent);

// 设置 of the analysis bar: 显示设置 with a copy of the display's record; on OK the
// copy replaces the record, is written to its settings file and the display is
// redrawn. Returns whether OK was chosen.
bool RunDisplaySettings(CWaveDisp& display, QWidget* parent);

}  // namespace sondara::gui
