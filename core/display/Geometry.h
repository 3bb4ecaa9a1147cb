#pragma once
// Pixel geometry of the waveform display and the text-metrics interface the layout
// needs. Coordinates are window pixels of the display's content (scroll included):
// x grows to the right, y downwards; a rectangle holds its left/top edge and excludes
// its right/bottom edge, as the window system's rectangles do.
#include <string>
#include <string_view>

namespace sondara {

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool intersectsRows(int y0, int y1) const { return top < y1 && bottom > y0; }
    bool operator==(const PixelRect&) const = default;
};

// Width and height of texts in the display font ("宋体", height 14). The renderer
// passes the real font metrics; tests and the CLI use FixedTextMetrics.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    // Width in pixels of a UTF-8 text.
    virtual int textWidth(std::string_view utf8) const = 0;
    // Height of one text line in pixels.
    virtual int lineHeight() const = 0;
};

// A fixed metric: every ASCII character is `asciiWidth` pixels wide, every other
// character twice that (CJK glyphs are square), lines are `lineHeight` high. Matches
// a 14-pixel "宋体" closely enough for layout checks without a font.
class FixedTextMetrics : public TextMetrics {
public:
    explicit FixedTextMetrics(int asciiWidth = 7, int lineHeight = 16)
        : ascii_(asciiWidth), line_(lineHeight) {}
    int textWidth(std::string_view utf8) const override;
    int lineHeight() const override { return line_; }

private:
    int ascii_, line_;
};

}  // namespace sondara
