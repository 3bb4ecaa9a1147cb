#pragma once
// A date field that takes the date as typed: "2026-11-05", "2026/11/05",
// "2026.11.05", "20261105" or "2026年11月5日" (ParseTypedDate), with a calendar
// button for picking one. Unlike a sectioned date editor it never turns what was
// typed into another date: the text is read as a whole when the field is used, and a
// text that is no date is refused with kMsgBadDate by whoever reads it.
#include <QLineEdit>
#include <optional>

#include "core/panels/InfoGridTables.h"

namespace sondara::gui {

class DateLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DateLineEdit(QWidget* parent = nullptr, int minYear = 1971, int maxYear = 2038);

    void setDate(const GridDate& d);  // shown as "yyyy-MM-dd"
    // The typed date, if the text is one (with a time typed after it, if any).
    std::optional<TypedDate> typedDate() const;
    // typedDate(); otherwise shows kMsgBadDate, selects the text and gives nothing.
    std::optional<TypedDate> readOrComplain();

private:
    void pickFromCalendar();
    int minYear_, maxYear_;
};

}  // namespace sondara::gui
