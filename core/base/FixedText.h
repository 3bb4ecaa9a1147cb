#pragma once
// Fixed-width NUL-padded GBK text fields as stored in the data file. The model keeps
// the exact bytes so that a file round-trips unchanged; conversion to UTF-8 happens
// only at the boundaries (CLI, GUI, reports).
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace sondara {

template <std::size_t N>
using FixedText = std::array<char, N>;

// The text up to the first NUL (or the whole field when it holds no NUL).
template <std::size_t N>
std::string_view textOf(const FixedText<N>& f) {
    const void* nul = std::memchr(f.data(), 0, N);
    return std::string_view(f.data(), nul ? static_cast<const char*>(nul) - f.data() : N);
}

// Stores at most N-1 bytes of `s` and NUL-pads the rest, so the field always ends
// with a NUL. A multi-byte GBK character is never cut in half.
std::size_t gbkSafeCut(std::string_view s, std::size_t maxBytes);

template <std::size_t N>
void setText(FixedText<N>& f, std::string_view s) {
    f.fill(0);
    std::size_t n = gbkSafeCut(s, N - 1);
    if (n) std::memcpy(f.data(), s.data(), n);
}

template <std::size_t N>
bool textEquals(const FixedText<N>& a, const FixedText<N>& b) {
    return textOf(a) == textOf(b);
}

}  // namespace sondara
