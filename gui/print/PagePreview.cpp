#include "gui/print/PagePreview.h"

#include <QPainter>
#include <algorithm>

namespace sondara::gui {

PagePreview::PagePreview(QWidget* parent) : QWidget(parent) {
    setMinimumSize(80, 80);
    setAccessibleName(QObject::tr("预览"));
}

void PagePreview::setPage(bool landscape, bool automatic, int rows, int columns) {
    landscape_ = landscape;
    automatic_ = automatic;
    rows_ = std::clamp(rows, 1, 20);
    columns_ = std::clamp(columns, 1, 20);
    update();
}

void PagePreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // 60 pixels on the long side, with the aspect of the paper.
    const int w = landscape_ ? 60 : 60 * 210 / 297;
    const int h = landscape_ ? 60 * 210 / 297 : 60;
    const QRect sheet((width() - w) / 2, (height() - h) / 2, w, h);
    p.fillRect(sheet.translated(3, 3), QColor(128, 128, 128));
    p.fillRect(sheet, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(sheet.adjusted(0, 0, -1, -1));
    if (automatic_) {
        QFont f;
        f.setFamilies({"仿宋_GB2312", "FangSong", "Noto Serif CJK SC"});
        f.setPixelSize(40);
        f.setWeight(QFont::Black);
        p.setFont(f);
        p.drawText(sheet, Qt::AlignCenter, "?");
        return;
    }
    const QRect area = sheet.adjusted(4, 4, -4, -4);
    p.setPen(QColor(64, 64, 64));
    for (int r = 0; r < rows_; ++r) {
        for (int c = 0; c < columns_; ++c) {
            const int x0 = area.left() + area.width() * c / columns_;
            const int x1 = area.left() + area.width() * (c + 1) / columns_;
            const int y0 = area.top() + area.height() * r / rows_;
            const int y1 = area.top() + area.height() * (r + 1) / rows_;
            p.drawRect(QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1)));
        }
    }
}

}  // namespace sondara::gui
