#pragma once
// The pile length as the analysis bar and the auto-toe dialog show it: the shortest
// decimal text that reads back as the same float32 value, without an exponent, without
// trailing zeros and without a trailing point ("19.72", not the "19.719999" of "%f";
// 12.5 -> "12.5", 12 -> "12").
#include <string>

namespace sondara {

std::string PileLengthText(float metres);

}  // namespace sondara
