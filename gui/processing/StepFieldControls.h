#pragma once
// The controls of one processing kind's parameter window (radio choice, labelled
// edits), built from the kind's form description in core, shared by the pop-up dialog
// and the docked form. Moves StepFields in and out of the controls and shows only the
// fields the current choice uses.
#include <QObject>
#include <QString>
#include <vector>

#include "core/processing/StepForm.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace sondara::gui {

class StepFieldControls : public QObject {
    Q_OBJECT
public:
    struct Field {
        FormFieldSpec spec;
        QLabel* label = nullptr;
        QLineEdit* edit = nullptr;
    };

    // Creates the controls as children of `parent`; the caller lays them out.
    StepFieldControls(ProcessKind kind, bool docked, QWidget* parent);

    ProcessKind kind() const { return kind_; }
    const std::vector<QRadioButton*>& radios() const { return radios_; }
    const std::vector<Field>& fields() const { return fields_; }
    QLineEdit* edit(FormField f) const;

    void setFields(const StepFields& f);
    int choice() const;
    // Reads every edit; on a text that is no number shows the standard prompt, puts
    // the focus on that edit and returns false.
    bool readFields(StepFields& out);
    // The same without any prompt: false when an edit holds no number.
    bool tryReadFields(StepFields& out) const;
    // Reads without any prompt; an edit that holds no number gives the value last
    // put into the controls (drags and cursor moves go on with the last good values).
    StepFields readSilently() const;
    // readFields, then the kind's checks against the reference point when there is
    // one (`popup`: the pop-up window's checks); the first refusal is shown.
    bool readChecked(StepFields& out, const TestPoint* ref, bool popup);
    // Shows the fields the current choice uses.
    void updateVisibility();

signals:
    void choiceChanged(int choice);

private:
    // Reads every edit into `out`: the index of the first edit that holds no number
    // (its prompt in `why`), or -1.
    int parse(StepFields& out, std::string* why) const;

    ProcessKind kind_;
    QWidget* parent_;
    QButtonGroup* group_ = nullptr;
    std::vector<QRadioButton*> radios_;
    std::vector<Field> fields_;
    StepFields shown_;
};

// The standard message box of the processing windows.
void ShowProcessingMessage(QWidget* parent, const std::string& text);

}  // namespace sondara::gui
