#include "core/output/BmpFile.h"

#include "core/base/ByteIo.h"

namespace sondara {

std::string EncodeBmp(const DibImage& image) {
    if (!image.valid()) return {};
    const auto pixelBytes = static_cast<std::uint32_t>(image.bits.size());
    const std::uint32_t dibBytes = 40 + 4 + pixelBytes;
    ByteWriter w;
    // File header.
    w.i16(0x4D42);  // "BM"
    w.i32(static_cast<std::int32_t>(14 + dibBytes));
    w.i16(0);
    w.i16(0);
    w.i32(kBmpPixelOffset);
    // Information header: uncompressed 32 bits per pixel, positive height (bottom-up).
    w.i32(40);
    w.i32(image.width);
    w.i32(image.height);
    w.i16(1);   // planes
    w.i16(32);  // bits per pixel
    w.i32(0);   // BI_RGB
    w.i32(static_cast<std::int32_t>(pixelBytes));
    w.i32(0);   // pixels per metre, x and y: unspecified
    w.i32(0);
    w.i32(1);   // colours used: the one reserved entry
    w.i32(0);
    // The colour entry.
    w.i32(0);
    w.bytes(image.bits.data(), image.bits.size());
    return w.take();
}

bool WriteBmpFile(const std::string& path, const DibImage& image) {
    const std::string bytes = EncodeBmp(image);
    if (bytes.empty()) return false;
    AtomicFileWriter f(path);
    if (!f.isOpen()) return false;
    f.writer().bytes(bytes.data(), bytes.size());
    return f.commit();
}

}  // namespace sondara
