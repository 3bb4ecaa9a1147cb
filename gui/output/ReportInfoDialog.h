#pragma once
// The project-information dialog 工程信息: every field of the report's project data.
// The record of its choices (MIR_QAR4_WORD_001.ini) and the texts it returns are
// core's; the dialog only shows and collects them.
#include <QDialog>

#include "core/output/ReportInfo.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QSpinBox;

namespace sondara::gui {

class DateLineEdit;
class HistoryComboBox;

class ReportInfoDialog : public QDialog {
    Q_OBJECT
public:
    // The caller passes the project name and testing unit of the file (shown when not
    // empty) and the number of piles.
    ReportInfoDialog(const QString& projectName, const QString& testingUnit, int pileCount,
                     QWidget* parent = nullptr);

    const ReportInfo& info() const { return info_; }
    ReportTexts texts() const { return MakeReportTexts(info_); }

    void accept() override;

private:
    void show(const ReportInfo& i);
    ReportInfo collect() const;

    ReportInfo info_;
    std::vector<HistoryComboBox*> combos_;  // in the order of ReportTextFields()
    QComboBox* strength_;
    DateLineEdit* casting_;
    QSpinBox* diameter_;
    QSpinBox* piles_;
    DateLineEdit* testDate_;
    QPlainTextEdit* geology_;
    QCheckBox* figures_;
};

}  // namespace sondara::gui
