#include "core/output/JpegFile.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "core/base/ByteIo.h"

namespace sondara {

namespace {

// libjpeg's standard handler exits the process on an error; this one jumps back and
// keeps the library's message instead.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr cinfo) {
    auto* e = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, e->message);
    std::longjmp(e->jump, 1);
}

// Compresses into a malloc'ed buffer. Plain C data only between setjmp and longjmp.
bool compress(const DibImage& image, int quality, std::string& out, std::string& error) {
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<JSAMPLE> rgb(static_cast<std::size_t>(image.width) * 3u * static_cast<std::size_t>(image.height));
    std::vector<JSAMPROW> rows(static_cast<std::size_t>(image.height));
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        error = err.message;
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    // Output row r is picture row r (source row height - 1 - r of the bottom-up
    // bitmap); (blue, green, red, reserved) becomes (red, green, blue).
    for (int r = 0; r < image.height; ++r) {
        const std::uint8_t* src = image.row(r);
        JSAMPLE* dst = rgb.data() + static_cast<std::size_t>(r) * 3u * static_cast<std::size_t>(image.width);
        for (int x = 0; x < image.width; ++x) {
            dst[3 * x] = src[4 * x + 2];
            dst[3 * x + 1] = src[4 * x + 1];
            dst[3 * x + 2] = src[4 * x];
        }
        rows[static_cast<std::size_t>(r)] = dst;
    }
    jpeg_write_scanlines(&cinfo, rows.data(), static_cast<JDIMENSION>(image.height));
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    out.assign(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return true;
}

}  // namespace

std::string EncodeJpeg(const DibImage& image, int quality, std::string& error) {
    error.clear();
    if (quality < 0 || quality > 100 || !image.valid() || image.width > 65500 || image.height > 65500) {
        error = "Invalid input data";
        return {};
    }
    std::string out;
    if (!compress(image, quality, out, error)) return {};
    return out;
}

bool WriteJpegFile(const DibImage& image, int quality, const std::string& path, std::string& error) {
    const std::string bytes = EncodeJpeg(image, quality, error);
    if (!error.empty()) return false;
    AtomicFileWriter f(path);
    if (!f.isOpen()) {
        error = "Cannot open " + path;
        return false;
    }
    f.writer().bytes(bytes.data(), bytes.size());
    if (!f.commit()) {
        error = "Cannot open " + path;
        return false;
    }
    return true;
}

}  // namespace sondara
