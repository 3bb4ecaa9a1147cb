#pragma once
// The dialog of 自动桩底: one number, a pile length ("指定桩长(m)") under keep-speed,
// otherwise a wave speed ("指定波速(m/s)"), prefilled from the first target point.
#include <QDialog>

#include "core/analysis/MarkCommandRules.h"

class QLineEdit;

namespace sondara::gui {

class AutoToeDialog : public QDialog {
    Q_OBJECT
public:
    explicit AutoToeDialog(const AutoToePrompt& prompt, QWidget* parent = nullptr);

    // The typed number; false when the text is not one.
    bool value(double& out) const;
    QLineEdit* valueBox() const { return edit_; }

private:
    QLineEdit* edit_;
};

}  // namespace sondara::gui
