#pragma once
// printf into a std::string, of any length.
#include <string>

namespace sondara {

std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace sondara
