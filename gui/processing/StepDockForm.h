#pragma once
// The docked parameter form of a processing kind: a flat one-line bar with the kind's
// fields, 确定, 取消, 预览 (on the kinds that preview) and the switch button that pops
// the window up again. The analysis view shows it in place of its analysis selection
// bar while the operation is open; the controls keep their proportions when the bar is
// resized.
#include <QWidget>

#include "core/model/TestPoint.h"
#include "core/processing/StepForm.h"

class QPushButton;
class QToolButton;

namespace sondara::gui {

class StepFieldControls;

class StepDockForm : public QWidget {
    Q_OBJECT
public:
    enum Result { Accepted = 1, Cancelled = 2, Switch = 110 };

    StepDockForm(ProcessKind kind, QWidget* parent = nullptr);

    ProcessKind kind() const { return kind_; }
    StepFieldControls* controls() const { return controls_; }
    void setFields(const StepFields& f);
    // The reference point of the OK check (back zero: its pile length). Must outlive
    // the form's run.
    void setReference(const TestPoint* ref) { ref_ = ref; }
    void setSwitchEnabled(bool on);
    // Reads the fields; false (with the prompt shown) when an edit holds no number.
    bool readFields(StepFields& out);

    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* previewButton() const { return preview_; }
    QToolButton* switchButton() const { return switch_; }

signals:
    // OK (after its check), cancel or switch was pressed.
    void finished(int result);
    // The radio choice changed (the whole/partial choice of rotation and shift).
    void choiceChanged(int choice);
    // 预览 with the values read (and checked, for the zero windows).
    void previewRequested(const StepFields& fields);
    // A field edit lost the focus (the amplification form re-reads its fields then).
    void fieldLeft();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    ProcessKind kind_;
    const TestPoint* ref_ = nullptr;
    StepFieldControls* controls_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* preview_ = nullptr;
    QToolButton* switch_ = nullptr;
};

}  // namespace sondara::gui
