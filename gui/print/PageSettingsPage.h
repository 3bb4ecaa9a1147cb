#pragma once
// The " 页面" page of the print setup: margins, the grid of cells, the first page
// number, the page header, footer, number and header table switches and texts, the
// print items, the font and the header table, with a small page preview.
// show() puts settings in; take() gives them back with the page's values.
#include <QWidget>

#include "core/output/PrintSettings.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace sondara::gui {

class PagePreview;

class PageSettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit PageSettingsPage(QWidget* parent = nullptr);

    void show(const PrintSettings& s);
    PrintSettings take() const;
    // The preview follows the orientation chosen on the " 打印" page.
    void setLandscape(bool landscape);

    // The controls, for keyboard tests.
    QDoubleSpinBox* margin(int side) const { return margins_[side]; }  // 0 上 1 下 2 左 3 右
    QSpinBox* rowsEdit() const { return rows_; }
    QSpinBox* columnsEdit() const { return columns_; }
    QCheckBox* autoBox() const { return auto_; }
    QSpinBox* firstPageEdit() const { return firstPage_; }
    QLineEdit* headerEdit() const { return header_; }
    QLineEdit* footerEdit() const { return footer_; }
    QComboBox* formatBox() const { return format_; }
    QComboBox* positionBox() const { return position_; }
    QAction* itemAction(int i) const { return items_[i]; }  // 0 波形 .. 5 当前显示
    QToolButton* itemsButton() const { return itemsButton_; }
    PagePreview* preview() const { return preview_; }
    QPushButton* tableButton() const { return tableButton_; }

private:
    void refreshPreview();
    void autoToggled();
    void chooseFont();
    void editTable();
    void showItemsSummary();

    PrintSettings s_;  // what the page does not show (font, table)
    QDoubleSpinBox* margins_[4];
    QSpinBox* rows_;
    QSpinBox* columns_;
    QCheckBox* auto_;
    QSpinBox* firstPage_;
    QCheckBox* table_;
    QCheckBox* headerOn_;
    QCheckBox* footerOn_;
    QCheckBox* numberOn_;
    QLineEdit* header_;
    QLineEdit* footer_;
    QComboBox* format_;
    QComboBox* position_;
    QToolButton* itemsButton_;
    QAction* items_[6];
    QPushButton* fontButton_;
    QPushButton* tableButton_;
    PagePreview* preview_;
    bool landscape_ = false;
};

}  // namespace sondara::gui
