#include "cli/TextWidth.h"

#include <cstdint>

namespace sondara::cli {
namespace {

bool isWide(std::uint32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
           (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

bool isCombining(std::uint32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0xFE00 && c <= 0xFE0F);
}

}  // namespace

int displayWidth(const std::string& s) {
    int width = 0;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::uint32_t c = b;
        int len = 1;
        if (b >= 0xF0)
            len = 4, c = b & 0x07;
        else if (b >= 0xE0)
            len = 3, c = b & 0x0F;
        else if (b >= 0xC0)
            len = 2, c = b & 0x1F;
        if (i + len > s.size()) len = 1, c = b;  // a cut sequence counts as one column
        for (int k = 1; k < len; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        i += len;
        if (len == 1 && b >= 0x80) {
            ++width;  // a stray byte
        } else if (!isCombining(c)) {
            width += isWide(c) ? 2 : 1;
        }
    }
    return width;
}

std::string padRight(const std::string& s, int width) {
    const int w = displayWidth(s);
    return w >= width ? s : s + std::string(width - w, ' ');
}

std::string padLeft(const std::string& s, int width) {
    const int w = displayWidth(s);
    return w >= width ? s : std::string(width - w, ' ') + s;
}

}  // namespace sondara::cli
