#pragma once
// The block of points the program places on the clipboard under its private format:
// a 240-byte snapshot head, then per point a 1440-byte record image followed by its
// arrays (raw samples, samples, steps, defects, spectrum, correlation and wavelet
// marks), little-endian.
//
// A block may come from anywhere (another program can put any bytes under our
// format name): decoding checks every count and every length against the bytes
// present before allocating, and rejects an inconsistent block as a whole.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/model/ListSnapshot.h"

namespace sondara {

inline constexpr const char* kClipboardFormatName = "MIRQAR_COPY_PAST";
inline constexpr std::size_t kClipboardHeadBytes = 240;
inline constexpr std::size_t kClipboardPointImageBytes = 1440;

// The block of `s` (op, mode, anchor, position, header and every carried point).
std::string EncodeClipboardBlock(const ListSnapshot& s);

// The snapshot held by `bytes`, or nothing when the bytes are not a consistent
// block: shorter than announced, a point count outside 1..9998, a mode other than
// 1 (with exactly one point) or 2, an array count outside 0..9999. Bytes after the
// last point are ignored (a clipboard memory block may be larger than its content).
std::optional<ListSnapshot> DecodeClipboardBlock(std::string_view bytes);

// The point count of a consistent block, -1 otherwise; checks the whole block like
// DecodeClipboardBlock without building the points.
int ClipboardBlockPointCount(std::string_view bytes);

}  // namespace sondara
