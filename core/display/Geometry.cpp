#include "core/display/Geometry.h"

namespace sondara {

int FixedTextMetrics::textWidth(std::string_view utf8) const {
    int w = 0;
    for (unsigned char c : utf8) {
        if (c < 0x80)
            w += ascii_;
        else if ((c & 0xC0) != 0x80)  // the lead byte of a multi-byte character
            w += 2 * ascii_;
    }
    return w;
}

}  // namespace sondara
