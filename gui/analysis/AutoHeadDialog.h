#pragma once
// The settings dialog of 自动桩头 (自动桩头设置): direction 正向/负向, 忽略点数 and 起始比例
// (0..100 each), and 缺省 that puts back the defaults. A settings record goes in and
// comes out; storing it is the command's business.
#include <QDialog>

#include "core/app/SettingsFile.h"

class QRadioButton;
class QSpinBox;
class QPushButton;

namespace sondara::gui {

class AutoHeadDialog : public QDialog {
    Q_OBJECT
public:
    explicit AutoHeadDialog(const AutoHeadSettings& s, QWidget* parent = nullptr);

    void show(const AutoHeadSettings& s);
    AutoHeadSettings settings() const;

    QRadioButton* positiveButton() const { return positive_; }
    QRadioButton* negativeButton() const { return negative_; }
    QSpinBox* ignoreBox() const { return ignore_; }
    QSpinBox* ratioBox() const { return ratio_; }
    QPushButton* defaultsButton() const { return defaults_; }

private:
    AutoHeadSettings in_;
    QRadioButton* positive_;
    QRadioButton* negative_;
    QSpinBox* ignore_;
    QSpinBox* ratio_;
    QPushButton* defaults_;
};

}  // namespace sondara::gui
