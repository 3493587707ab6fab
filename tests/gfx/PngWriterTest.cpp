// Our PNG files, read back by an independent decoder (the system's libpng).
#include "gfx/PngWriter.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

#include "common/TestSupport.h"

namespace lumi::gfx {
namespace {

// A fixed little generator, so the pictures are the same on every run.
struct Lcg {
    uint32_t state;
    uint32_t Next(uint32_t below) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % below;
    }
};

std::optional<Image> DecodeWithLibpng(const std::vector<uint8_t>& bytes) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return std::nullopt;
    png.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) return std::nullopt;
    std::optional<Image> image = Image::Create(static_cast<int>(png.width), static_cast<int>(png.height));
    if (!image) return std::nullopt;
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x) {
            const uint8_t* p = rgb.data() + (static_cast<size_t>(y) * image->Width() + x) * 3;
            image->SetPixel(x, y, p[0] | p[1] << 8 | p[2] << 16);
        }
    return image;
}

TEST(PngWriter, ChecksumsMatchKnownValues) {
    const uint8_t text[] = "123456789";
    EXPECT_EQ(Crc32(text, 9), 0xCBF43926u);
    const uint8_t wiki[] = "Wikipedia";
    EXPECT_EQ(Adler32(wiki, 9), 0x11E60398u);
}

TEST(PngWriter, SkyLikePictureRoundTripsAndCompresses) {
    // A black sky with scattered stars and one long bright band: long runs, repeats
    // at row distance, and literals all occur.
    std::optional<Image> sky = Image::Create(640, 400);
    ASSERT_TRUE(sky);
    Lcg random{7};
    for (int i = 0; i < 600; ++i) {
        int x = static_cast<int>(random.Next(640));
        int y = static_cast<int>(random.Next(400));
        sky->SetPixel(x, y, 0x010101u * (60 + random.Next(196)));
    }
    for (int x = 0; x < 640; ++x) sky->SetPixel(x, 200, 0x00FFFF);
    std::vector<uint8_t> png = EncodePng(*sky);
    std::optional<Image> back = DecodeWithLibpng(png);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, *sky);
    EXPECT_LT(png.size(), 640u * 400u * 3u / 20u);
}

TEST(PngWriter, NoiseAndOddSizesRoundTrip) {
    Lcg random{11};
    for (auto [w, h] : {std::pair{1, 1}, std::pair{3, 7}, std::pair{301, 2}, std::pair{97, 97}}) {
        std::optional<Image> noise = Image::Create(w, h);
        ASSERT_TRUE(noise);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                noise->SetPixel(x, y, random.Next(0x1000000));
        std::optional<Image> back = DecodeWithLibpng(EncodePng(*noise));
        ASSERT_TRUE(back) << w << "x" << h;
        EXPECT_EQ(*back, *noise) << w << "x" << h;
    }
}

TEST(PngWriter, StrideSelectsAWindowOfALargerRaster) {
    std::vector<uint32_t> raster(10 * 4);
    for (size_t i = 0; i < raster.size(); ++i) raster[i] = static_cast<uint32_t>(i * 0x030201);
    std::optional<Image> back = DecodeWithLibpng(EncodePng(6, 4, raster.data(), 10));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Width(), 6);
    EXPECT_EQ(back->Pixel(5, 3), raster[3 * 10 + 5]);
    // The same rows in the surface order come out with red and blue in their places.
    std::vector<uint32_t> native = {0x00FF0000u, 0x000000FFu};
    std::optional<Image> swapped = DecodeWithLibpng(EncodePng(2, 1, native.data(), 2, PixelOrder::Native));
    ASSERT_TRUE(swapped);
    EXPECT_EQ(swapped->Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(swapped->Pixel(1, 0), 0xFF0000u);
    EXPECT_TRUE(EncodePng(11, 4, raster.data(), 10).empty());
    EXPECT_TRUE(EncodePng(0, 4, raster.data(), 10).empty());
    EXPECT_TRUE(EncodePng(Image()).empty());
}

TEST(PngWriter, WritesAFile) {
    testing::TempFolder folder;
    std::optional<Image> dot = Image::Create(2, 2, 0xFFFFFF);
    ASSERT_TRUE(dot);
    ASSERT_TRUE(WritePngFile(folder.File("dot.png"), *dot));
    std::string bytes = testing::ReadFile(folder.File("dot.png"));
    std::optional<Image> back = DecodeWithLibpng(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, *dot);
    EXPECT_FALSE(WritePngFile(folder.File("no/such/dot.png"), *dot));
}

}  // namespace
}  // namespace lumi::gfx
