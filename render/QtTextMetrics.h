#pragma once
// The display font and the text metrics the display model lays panes out with,
// measured on the real font. Needs a QGuiApplication (the font database).
#include <QFont>
#include <QFontMetrics>
#include <string>
#include <unordered_map>

#include "core/display/Geometry.h"

namespace sondara::render {

// "宋体", 14 pixels high, normal weight; a CJK serif of the system stands in where
// 宋体 is not installed.
QFont DisplayFont();

class QtTextMetrics : public TextMetrics {
public:
    explicit QtTextMetrics(const QFont& font = DisplayFont());
    int textWidth(std::string_view utf8) const override;
    int lineHeight() const override;
    int ascent() const { return metrics_.ascent(); }
    const QFont& font() const { return font_; }

private:
    QFont font_;
    QFontMetrics metrics_;
    // Laying out thousands of panes measures the same few label texts again and
    // again; shaping a text costs far more than looking it up.
    mutable std::unordered_map<std::string, int> widths_;
};

}  // namespace sondara::render
