#include "core/analysis/PileLengthText.h"

#include <charconv>
#include <cmath>

namespace sondara {

std::string PileLengthText(float metres) {
    if (std::isnan(metres)) return "nan";
    if (std::isinf(metres)) return metres < 0 ? "-inf" : "inf";
    if (metres == 0.0f) return "0";  // also -0: a length is never shown as "-0"
    // Fixed notation, shortest round trip: at most 39 integer digits for float32 plus
    // the fraction digits of the smallest subnormal.
    char buf[128];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, metres, std::chars_format::fixed);
    if (ec != std::errc{}) return "0";
    std::string s(buf, end);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s;
}

}  // namespace sondara
