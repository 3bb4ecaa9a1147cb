#pragma once
// "显示设置": the pages 操作控制 and 图形参数 over a DisplaySettingsForm. A display's
// record goes in; on OK, options() is the record read back from the pages. The tab
// last shown comes back the next time during the same run.
#include <QDialog>

#include "core/panels/DisplaySettingsForm.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace sondara::gui {

class DisplaySettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit DisplaySettingsDialog(const DisplayOptions& options, QWidget* parent = nullptr);
    ~DisplaySettingsDialog() override;

    // The record as the pages hold it.
    DisplayOptions options() const;

    // "默认": the defaults into the pages.
    void loadDefaults();

    // The controls, for keyboard access and tests.
    QTabWidget* tabs() const { return tabs_; }
    QListWidget* availableList() const { return available_; }
    QListWidget* chosenList() const { return chosen_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* addAllButton() const { return addAll_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* removeAllButton() const { return removeAll_; }
    QPushButton* defaultsButton() const { return defaults_; }

private:
    QWidget* buildOperationPage();
    QWidget* buildGraphicPage();
    void load(const DisplaySettingsForm& f);
    DisplaySettingsForm readControls() const;
    void fillChosen();
    std::vector<int> selectedRows(QListWidget* list) const;

    DisplaySettingsForm form_;
    QTabWidget* tabs_ = nullptr;
    QRadioButton* current_ = nullptr;
    QRadioButton* all_ = nullptr;
    QComboBox* follow_ = nullptr;
    QCheckBox* labels_ = nullptr;
    QCheckBox* pile_ = nullptr;
    QComboBox* traces_ = nullptr;
    QListWidget* available_ = nullptr;
    QListWidget* chosen_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* addAll_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* removeAll_ = nullptr;
    QPushButton* defaults_ = nullptr;
};

}  // namespace sondara::gui
