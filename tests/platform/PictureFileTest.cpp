// The user's own picture files: told apart by their first bytes, PNG transparency laid over
// black, and anything malformed or too large refused before it costs memory.
#include "platform/PictureFile.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/TestSupport.h"
#include "gfx/BmpReader.h"

namespace lumi {
namespace {

// A PNG written by libpng's own writer: an independent source for the reader.
std::vector<uint8_t> WritePng(int width, int height, uint32_t format, const std::vector<uint8_t>& pixels) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = format;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr));
    std::vector<uint8_t> out(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
    out.resize(size);
    return out;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        c ^= data[i];
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

TEST(PictureFileTest, APngIsReadWithItsTransparencyOverBlack) {
    // Two pixels: opaque orange, and white at half opacity.
    const std::vector<uint8_t> rgba = {255, 128, 0, 255, 255, 255, 255, 128};
    const std::vector<uint8_t> png = WritePng(2, 1, PNG_FORMAT_RGBA, rgba);
    const std::optional<gfx::Image> image = DecodePicture(png.data(), png.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 2);
    EXPECT_EQ(image->Pixel(0, 0), 0x000080FFu);  // 0x00BBGGRR
    // 255 × 128 / 255 = 128 in each channel (libpng composes in linear light and may be
    // one or two steps off a plain multiplication).
    const uint32_t half = image->Pixel(1, 0);
    for (int shift = 0; shift <= 16; shift += 8) {
        const int channel = static_cast<int>((half >> shift) & 0xFF);
        EXPECT_GE(channel, 120);
        EXPECT_LE(channel, 200);
    }
}

TEST(PictureFileTest, TheSignatureDecidesNotTheName) {
    testing::TempFolder folder;
    const gfx::Image picture = *gfx::Image::Create(3, 2, 0x00123456);
    const std::string bmp = folder.File("really-a-bitmap.png");
    ASSERT_TRUE(gfx::WriteBmpFile(bmp, picture));
    const std::optional<gfx::Image> read = ReadPictureFile(bmp);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, picture);

    const std::vector<uint8_t> gray = WritePng(1, 1, PNG_FORMAT_GRAY, {200});
    const std::string png = folder.File("picture.bmp");
    testing::WriteFile(png, std::string(gray.begin(), gray.end()));
    const std::optional<gfx::Image> fromPng = ReadPictureFile(png);
    ASSERT_TRUE(fromPng);
    EXPECT_EQ(fromPng->Pixel(0, 0), 0x00C8C8C8u);

    testing::WriteFile(folder.File("text.png"), "GIF89a and other things");
    EXPECT_FALSE(ReadPictureFile(folder.File("text.png")));
    EXPECT_FALSE(ReadPictureFile(folder.File("missing.png")));
    EXPECT_FALSE(ReadPictureFile(""));
}

TEST(PictureFileTest, BrokenAndOversizedPngsAreRefused) {
    const std::vector<uint8_t> good = WritePng(4, 4, PNG_FORMAT_RGB, std::vector<uint8_t>(48, 90));
    for (size_t cut : {size_t{8}, size_t{20}, good.size() / 2, good.size() - 13}) {
        EXPECT_FALSE(DecodePicture(good.data(), cut)) << cut;
    }
    // A tiny file can declare a huge picture; the header alone decides. 5000 × 5000 is
    // within the image limits but beyond what a PNG may unpack to.
    std::vector<uint8_t> huge = good;
    const uint8_t side[4] = {0, 0, 0x13, 0x88};  // 5000, big-endian, in IHDR
    std::memcpy(&huge[16], side, 4);
    std::memcpy(&huge[20], side, 4);
    const uint32_t crc = Crc32(&huge[12], 17);
    const uint8_t crcBytes[4] = {static_cast<uint8_t>(crc >> 24), static_cast<uint8_t>(crc >> 16),
                                 static_cast<uint8_t>(crc >> 8), static_cast<uint8_t>(crc)};
    std::memcpy(&huge[29], crcBytes, 4);
    EXPECT_FALSE(DecodePicture(huge.data(), huge.size()));
    EXPECT_FALSE(DecodePicture(nullptr, 10));
}

}  // namespace
}  // namespace lumi
