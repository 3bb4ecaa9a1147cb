// F6 / Shift+F6 go round the areas of the main window.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include "gui/frame/PaneFocus.h"

namespace sondara::gui {
namespace {

TEST(PaneFocus, NextAndPreviousAreaWrapRound) {
    QWidget a, b, c;
    auto* inB = new QLineEdit(&b);
    const std::vector<QWidget*> areas{&a, &b, &c};
    EXPECT_EQ(PaneFocus::next(areas, &a, true), &b);
    EXPECT_EQ(PaneFocus::next(areas, inB, true), &c);  // a control inside counts
    EXPECT_EQ(PaneFocus::next(areas, &c, true), &a);   // wraps
    EXPECT_EQ(PaneFocus::next(areas, &a, false), &c);
    EXPECT_EQ(PaneFocus::next(areas, nullptr, true), &a);
    EXPECT_EQ(PaneFocus::next(areas, nullptr, false), &c);
    EXPECT_EQ(PaneFocus::next({}, &a, true), nullptr);
}

}  // namespace
}  // namespace sondara::gui
