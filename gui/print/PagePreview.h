#pragma once
// The page preview of the page settings: a small sheet with the paper's aspect and a
// shadow, showing the grid of cells, or a large "?" for the automatic grid.
#include <QWidget>

namespace sondara::gui {

class PagePreview : public QWidget {
    Q_OBJECT
public:
    explicit PagePreview(QWidget* parent = nullptr);
    void setPage(bool landscape, bool automatic, int rows, int columns);
    QSize sizeHint() const override { return {90, 90}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool landscape_ = false;
    bool automatic_ = false;
    int rows_ = 4;
    int columns_ = 1;
};

}  // namespace sondara::gui
