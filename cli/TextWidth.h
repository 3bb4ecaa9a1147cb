#pragma once
// Column layout of terminal tables whose texts mix Chinese and Latin characters: a
// Chinese character takes two columns of a terminal, a Latin letter one.
#include <string>

namespace sondara::cli {

// Terminal columns of a UTF-8 text (East Asian wide and full-width characters 2,
// combining marks 0, everything else 1).
int displayWidth(const std::string& utf8);
// The text followed (padLeft: preceded) by blanks up to `width` columns; a longer
// text is returned as it is.
std::string padRight(const std::string& utf8, int width);
std::string padLeft(const std::string& utf8, int width);

}  // namespace sondara::cli
