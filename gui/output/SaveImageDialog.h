#pragma once
// 保存图形: where the pictures go (image files in a folder or a Word document), their
// format, which data, their size and the pictures per row. The rules are the form's
// (core); the dialog shows it and passes on what the user does.
#include <QDialog>

#include "core/output/SaveImageForm.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sondara::gui {

class SaveImageDialog : public QDialog {
    Q_OBJECT
public:
    // The form must be loaded; it outlives the dialog and holds the result.
    explicit SaveImageDialog(SaveImageForm& form, QWidget* parent = nullptr);

    void accept() override;

private:
    void refresh();

    SaveImageForm& form_;
    QRadioButton* files_;
    QRadioButton* word_;
    QLineEdit* folder_;
    QPushButton* browse_;
    QComboBox* format_;
    QComboBox* selection_;
    QComboBox* size_;
    QComboBox* columns_;
    bool refreshing_ = false;
};

}  // namespace sondara::gui
