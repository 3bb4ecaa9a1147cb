#pragma once
// The JPEG writer of image export (libjpeg): RGB, baseline tables, rows top first.
#include <string>

#include "core/output/DibImage.h"

namespace sondara {

// Writes `image` with `quality` (0..100) to `path`. On failure returns false and sets
// `error`: "Invalid input data" for a bad quality or image, "Cannot open " + path when
// the file cannot be created; libjpeg's own message for an encoder failure. A
// previous file at `path` survives every failure.
bool WriteJpegFile(const DibImage& image, int quality, const std::string& path, std::string& error);
// The JPEG stream in memory (for documents); empty on failure.
std::string EncodeJpeg(const DibImage& image, int quality, std::string& error);

}  // namespace sondara
