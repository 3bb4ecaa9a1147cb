#pragma once
// A device-independent bitmap as image export hands it to the file writers:
// 32 bits per pixel, bytes (blue, green, red, reserved) per pixel, rows bottom-up
// (the first row in `bits` is the bottom row of the picture), no padding.
#include <cstdint>
#include <vector>

namespace sondara {

struct DibImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;  // width * height * 4 bytes, bottom row first

    static constexpr int kBytesPerPixel = 4;
    int stride() const { return width * kBytesPerPixel; }
    bool valid() const {
        return width > 0 && height > 0 &&
               bits.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4u;
    }
    // The bytes of picture row y (0 = top).
    const std::uint8_t* row(int y) const {
        return bits.data() + static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(stride());
    }
};

}  // namespace sondara
