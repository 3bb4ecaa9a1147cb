#include "gui/panels/DateLineEdit.h"

#include <QAction>
#include <QCalendarWidget>
#include <QMessageBox>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/app/Translation.h"

namespace sondara::gui {

DateLineEdit::DateLineEdit(QWidget* parent, int minYear, int maxYear)
    : QLineEdit(parent), minYear_(minYear), maxYear_(maxYear) {
    setPlaceholderText("2026-11-05");
    QAction* pick = addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                              QLineEdit::TrailingPosition);
    pick->setToolTip(QObject::tr("日历"));
    connect(pick, &QAction::triggered, this, &DateLineEdit::pickFromCalendar);
}

void DateLineEdit::setDate(const GridDate& d) {
    setText(QString::fromStdString(FormatGridDate(d)));
}

std::optional<TypedDate> DateLineEdit::typedDate() const {
    return ParseTypedDate(text().toStdString(), minYear_, maxYear_);
}

std::optional<TypedDate> DateLineEdit::readOrComplain() {
    std::optional<TypedDate> d = typedDate();
    if (!d) {
        QMessageBox::warning(window(), windowTitle(), trCore(kMsgBadDate));
        setFocus();
        selectAll();
    }
    return d;
}

void DateLineEdit::pickFromCalendar() {
    // A popup child of the field: the field keeps its editor role while it is open.
    auto* popup = new QWidget(this, Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    auto* cal = new QCalendarWidget(popup);
    cal->setDateRange(QDate(minYear_, 1, 1), QDate(maxYear_, 12, 31));
    if (std::optional<TypedDate> d = typedDate())
        cal->setSelectedDate(QDate(d->date.year, d->date.month, d->date.day));
    auto* box = new QVBoxLayout(popup);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(cal);
    connect(cal, &QCalendarWidget::activated, this, [this, popup](const QDate& q) {
        setDate({q.year(), q.month(), q.day()});
        setModified(true);
        popup->close();
        setFocus();
    });
    connect(cal, &QCalendarWidget::clicked, cal, &QCalendarWidget::activated);
    popup->move(mapToGlobal(QPoint(0, height())));
    popup->show();
    cal->setFocus();
}

}  // namespace sondara::gui
