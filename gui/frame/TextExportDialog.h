#pragma once
// The waveform text export dialog (导出波形文件): a thin window over the export
// options; the checks and their messages live with the export itself.
#include <QDialog>

#include "core/fileio/TextExport.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace sondara::gui {

class TextExportDialog : public QDialog {
    Q_OBJECT
public:
    TextExportDialog(const TextExportSettings& s, QWidget* parent = nullptr);
    const TextExportSettings& settings() const { return settings_; }
    TextExportForm form() const;
    // Shows the values of `s` in the controls.
    void load(const TextExportSettings& s);

    void accept() override;

private:
    TextExportSettings settings_;
    QCheckBox* header_;
    QCheckBox* time_;
    QComboBox* separator_;
    QComboBox* source_;
    QLineEdit* path_;
};

// The whole 导出波形文本 command: the dialog, the export and its messages.
void runTextExport(const CSondaraDoc& doc, QWidget* parent);
// 保存结果: the result file of the whole project.
void runSaveResult(const CSondaraDoc& doc, QWidget* parent);

}  // namespace sondara::gui
