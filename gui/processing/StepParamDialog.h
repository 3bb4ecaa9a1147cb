#pragma once
// The pop-up parameter dialog of a processing kind: the kind's fields, 确定, 取消,
// 预览 (on the kinds that preview) and the switch button that docks the window. A
// settings record goes in (the fields in user units), typed values come out; the
// checks and their messages are core's.
#include <QDialog>
#include <functional>

#include "core/model/TestPoint.h"
#include "core/processing/StepForm.h"

class QPushButton;
class QToolButton;

namespace sondara::gui {

class StepFieldControls;

class StepParamDialog : public QDialog {
    Q_OBJECT
public:
    // The result of exec() when the switch button closed the dialog.
    static constexpr int kSwitch = 110;

    using Preview = std::function<void(const StepFields&)>;
    // `ref` (the first target) gives the pile length of the back zero check; it must
    // outlive the dialog.
    StepParamDialog(ProcessKind kind, const StepFields& fields, const TestPoint& ref,
                    bool dockDisabled, Preview preview, QWidget* parent = nullptr);

    // The values read when OK or the switch button closed the dialog.
    const StepFields& fields() const { return fields_; }
    StepFieldControls* controls() const { return controls_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* previewButton() const { return preview_; }
    QToolButton* switchButton() const { return switch_; }

private:
    void accept() override;
    void switchToDocked();
    void runPreview();

    ProcessKind kind_;
    const TestPoint& ref_;
    Preview previewFn_;
    StepFields fields_;
    StepFieldControls* controls_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* preview_ = nullptr;
    QToolButton* switch_ = nullptr;
};

}  // namespace sondara::gui
