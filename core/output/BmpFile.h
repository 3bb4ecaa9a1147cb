#pragma once
// The BMP writer of image export: a 14-byte file header, the 40-byte information
// header, one (reserved) colour entry, then the 32-bit rows bottom-up from offset 58.
#include <string>

#include "core/output/DibImage.h"

namespace sondara {

inline constexpr int kBmpPixelOffset = 14 + 40 + 4;

// The whole file's bytes; empty for an invalid image.
std::string EncodeBmp(const DibImage& image);
// Writes the file (through a temporary file beside it). False when the image is
// invalid or the file cannot be written; a previous file then stays as it was.
bool WriteBmpFile(const std::string& path, const DibImage& image);

}  // namespace sondara
