// The BMP and JPEG writers and the file names of image export.
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

#include "core/output/BmpFile.h"
#include "core/output/ImageExport.h"
#include "core/output/JpegFile.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

// A picture whose pixel (x, y) (y = 0 at the top) is (red x, green y, blue 7).
DibImage pattern(int w, int h) {
    DibImage img{w, h, {}};
    img.bits.resize(static_cast<size_t>(w * h * 4));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = img.bits.data() + (static_cast<size_t>(h - 1 - y) * w + x) * 4;
            p[0] = 7;
            p[1] = static_cast<uint8_t>(y);
            p[2] = static_cast<uint8_t>(x);
            p[3] = 0;
        }
    return img;
}

uint32_t u32(const std::string& s, size_t at) {
    return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 |
           static_cast<uint8_t>(s[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}
uint16_t u16(const std::string& s, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8);
}

TEST(BmpFile, HeaderFieldsAndBottomRowFirst) {
    test::TempDir dir;
    const std::string path = dir.file("a.bmp");
    ASSERT_TRUE(WriteBmpFile(path, pattern(530, 145)));
    const std::string f = test::readFile(path);
    const size_t rowBytes = 2120;
    ASSERT_EQ(f.size(), 58 + rowBytes * 145);
    EXPECT_EQ(u16(f, 0), 0x4D42);
    EXPECT_EQ(u32(f, 2), f.size());
    EXPECT_EQ(u32(f, 6), 0u);
    EXPECT_EQ(u32(f, 10), 58u);
    EXPECT_EQ(u32(f, 14), 40u);
    EXPECT_EQ(u32(f, 18), 530u);
    EXPECT_EQ(u32(f, 22), 145u);  // positive: bottom-up
    EXPECT_EQ(u16(f, 26), 1);
    EXPECT_EQ(u16(f, 28), 32);
    EXPECT_EQ(u32(f, 30), 0u);
    EXPECT_EQ(u32(f, 34), rowBytes * 145);
    EXPECT_EQ(u32(f, 54), 0u);  // the one reserved colour entry
    // The first stored row is the bottom row of the picture (y = 144).
    EXPECT_EQ(static_cast<uint8_t>(f[58 + 1]), 144);
    EXPECT_EQ(static_cast<uint8_t>(f[58 + rowBytes * 144 + 1]), 0);
    EXPECT_EQ(static_cast<uint8_t>(f[58 + 4 * 9 + 2]), 9);  // red of x = 9
}

TEST(BmpFile, RefusesAnInvalidImageOrFolderAndKeepsTheOldFile) {
    test::TempDir dir;
    const std::string path = dir.file("keep.bmp");
    test::writeFile(path, "old");
    DibImage bad{10, 10, {}};
    EXPECT_FALSE(WriteBmpFile(path, bad));
    EXPECT_EQ(test::readFile(path), "old");
    EXPECT_FALSE(WriteBmpFile(dir.file("missing/x.bmp"), pattern(4, 4)));
}

struct Decoded {
    int width = 0, height = 0, components = 0;
    std::vector<uint8_t> rgb;
};

struct DecodeError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

bool decodeJpeg(const std::string& bytes, Decoded& out) {
    jpeg_decompress_struct c{};
    DecodeError err{};
    c.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = [](j_common_ptr ci) { std::longjmp(reinterpret_cast<DecodeError*>(ci->err)->jump, 1); };
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&c);
        return false;
    }
    jpeg_create_decompress(&c);
    jpeg_mem_src(&c, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&c, TRUE);
    jpeg_start_decompress(&c);
    out.width = static_cast<int>(c.output_width);
    out.height = static_cast<int>(c.output_height);
    out.components = c.output_components;
    out.rgb.resize(static_cast<size_t>(out.width * out.height * out.components));
    while (c.output_scanline < c.output_height) {
        JSAMPROW row = out.rgb.data() + static_cast<size_t>(c.output_scanline) * out.width * out.components;
        jpeg_read_scanlines(&c, &row, 1);
    }
    jpeg_finish_decompress(&c);
    jpeg_destroy_decompress(&c);
    return true;
}

TEST(JpegFile, DecodesToTheSizeWithTheTopRowFirstInRgb) {
    test::TempDir dir;
    const std::string path = dir.file("a.jpg");
    std::string error;
    ASSERT_TRUE(WriteJpegFile(pattern(200, 100), 100, path, error)) << error;
    EXPECT_TRUE(error.empty());
    Decoded d;
    ASSERT_TRUE(decodeJpeg(test::readFile(path), d));
    EXPECT_EQ(d.width, 200);
    EXPECT_EQ(d.height, 100);
    EXPECT_EQ(d.components, 3);
    // Pixel (150, 80): red 150, green 80, blue 7 (quality 100 keeps them close).
    const uint8_t* px = d.rgb.data() + (80 * 200 + 150) * 3;
    EXPECT_NEAR(px[0], 150, 3);
    EXPECT_NEAR(px[1], 80, 3);
    EXPECT_NEAR(px[2], 7, 3);
}

TEST(JpegFile, ErrorTexts) {
    test::TempDir dir;
    std::string error;
    EXPECT_FALSE(WriteJpegFile(pattern(8, 8), 101, dir.file("q.jpg"), error));
    EXPECT_EQ(error, "Invalid input data");
    EXPECT_FALSE(WriteJpegFile(pattern(8, 8), -1, dir.file("q.jpg"), error));
    EXPECT_EQ(error, "Invalid input data");
    const std::string bad = dir.file("no/such/folder.jpg");
    EXPECT_FALSE(WriteJpegFile(pattern(8, 8), 100, bad, error));
    EXPECT_EQ(error, "Cannot open " + bad);
    EXPECT_TRUE(WriteJpegFile(pattern(8, 8), 0, dir.file("q.jpg"), error));
    EXPECT_TRUE(error.empty());
}

TEST(ImageExport, SanitizeFileName) {
    const std::pair<const char*, const char*> cases[] = {
        {"A/3*1", "A_3_1"},       {"a:b", "a:b"},           {"  B2  ", "B2"},
        {"", "_"},                {"   ", "_"},              {"x\\y?z<w>v|u\"t", "x_y_z_w_v_u_t"},
        {"桩A/1：2", "桩A_1：2"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(SanitizeFileName(in), out) << in;
}

TEST(ImageExport, OfferedSelections) {
    using S = DataSelection;
    EXPECT_EQ(OfferedSelections(3, 0), std::vector<S>{S::CurrentDisplay});
    EXPECT_EQ(OfferedSelections(3, 2), (std::vector<S>{S::CurrentDisplay, S::CheckedPoints}));
    EXPECT_EQ(OfferedSelections(0, 2), std::vector<S>{S::CheckedPoints});
    EXPECT_TRUE(OfferedSelections(0, 0).empty());
}

}  // namespace
}  // namespace sondara
