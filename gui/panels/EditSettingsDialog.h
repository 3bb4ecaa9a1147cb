#pragma once
// "编辑设置": whether an edit in the 测点信息 grid changes only the edited point or
// every point listed there. The scope goes in; on OK, scope() is the chosen one.
// It also holds the interval of the recovery files (seconds between writes of unsaved
// work).
#include <QDialog>

#include "core/panels/InfoGridEdit.h"

class QRadioButton;
class QSpinBox;

namespace sondara::gui {

class EditSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit EditSettingsDialog(PointEditScope scope, QWidget* parent = nullptr,
                                int recoverySeconds = 300);
    PointEditScope scope() const;
    int recoverySeconds() const;
    QSpinBox* recoveryBox() const { return recovery_; }
    QRadioButton* singleButton() const { return single_; }
    QRadioButton* multipleButton() const { return multiple_; }

private:
    QRadioButton* single_ = nullptr;
    QRadioButton* multiple_ = nullptr;
    QSpinBox* recovery_ = nullptr;
};

}  // namespace sondara::gui
