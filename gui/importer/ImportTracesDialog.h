#pragma once
// 导入波形: the small dialog that asks what the imported files do not say (sample
// interval when they give none, sensor, pile length and wave speed), and the command
// that chooses the files and makes a new project of their traces.
#include <QDialog>
#include <QStringList>
#include <vector>

#include "core/fileio/TraceImport.h"

class QComboBox;
class QLineEdit;

namespace sondara::gui {

class CMainFrame;

class ImportTracesDialog : public QDialog {
    Q_OBJECT
public:
    // `intervalNeeded`: some file gives no sample interval, so it must be typed;
    // `intervalsRead`: the intervals the files give (us), shown.
    ImportTracesDialog(const QStringList& files, bool intervalNeeded,
                       const std::vector<double>& intervalsRead = {}, QWidget* parent = nullptr);
    const TraceImportOptions& options() const { return options_; }
    void accept() override;

private:
    QLineEdit* interval_;
    QComboBox* sensor_;
    QLineEdit* length_;
    QLineEdit* speed_;
    bool intervalNeeded_;
    TraceImportOptions options_;
};

// 文件 → 导入波形…: asks for the files and what they leave open, lets the open project
// save its changes, and opens the imported traces as a new, unsaved project.
void runImportTraces(CMainFrame& frame);
// The same once the files are chosen (tests call it without the file dialog).
void importTraces(CMainFrame& frame, const QStringList& files);

}  // namespace sondara::gui
