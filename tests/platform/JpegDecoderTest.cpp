// JPEG decoding: colours and size come back, EXIF orientation turns the picture, and
// truncated, foreign, oversized and scrambled files give no picture and a reason,
// never an exit of the process.
#include "platform/posix/JpegDecoder.h"

#include <gtest/gtest.h>

#include "common/TestJpeg.h"

namespace lumi {
namespace {

// Left half red, right half blue (0x00BBGGRR).
gfx::Image RedBlue(int w, int h) {
    gfx::Image picture = *gfx::Image::Create(w, h, 0xFF0000);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w / 2; ++x) picture.SetPixel(x, y, 0x0000FF);
    return picture;
}

PictureLoad Decode(const std::vector<uint8_t>& bytes) { return DecodeJpeg(bytes.data(), bytes.size()); }

TEST(JpegDecoder, GivesThePicturesSizeAndColours) {
    const PictureLoad load = Decode(testing::EncodeJpeg(RedBlue(32, 16)));
    ASSERT_TRUE(load.picture) << load.why;
    EXPECT_EQ(load.picture->Width(), 32);
    EXPECT_EQ(load.picture->Height(), 16);
    EXPECT_TRUE(testing::CloseColour(load.picture->Pixel(4, 8), 0x0000FF)) << std::hex << load.picture->Pixel(4, 8);
    EXPECT_TRUE(testing::CloseColour(load.picture->Pixel(28, 8), 0xFF0000)) << std::hex << load.picture->Pixel(28, 8);
}

TEST(JpegDecoder, TurnsThePictureUprightByItsExifOrientation) {
    // 6: the camera was turned clockwise; the stored left edge is the top.
    PictureLoad load = Decode(testing::EncodeJpeg(RedBlue(32, 16), 95, testing::ExifWithOrientation(6)));
    ASSERT_TRUE(load.picture) << load.why;
    EXPECT_EQ(load.picture->Width(), 16);
    EXPECT_EQ(load.picture->Height(), 32);
    EXPECT_TRUE(testing::CloseColour(load.picture->Pixel(8, 4), 0x0000FF));
    EXPECT_TRUE(testing::CloseColour(load.picture->Pixel(8, 28), 0xFF0000));
    // 8: turned the other way; the stored right edge is the top.
    load = Decode(testing::EncodeJpeg(RedBlue(32, 16), 95, testing::ExifWithOrientation(8)));
    ASSERT_TRUE(load.picture) << load.why;
    EXPECT_EQ(load.picture->Width(), 16);
    EXPECT_TRUE(testing::CloseColour(load.picture->Pixel(8, 4), 0xFF0000));
    // 2: mirrored; red moves to the right.
    load = Decode(testing::EncodeJpeg(RedBlue(32, 16), 95, testing::ExifWithOrientation(2)));
    ASSERT_TRUE(load.picture) << load.why;
    EXPECT_EQ(load.picture->Width(), 32);
    EXPECT_TRUE(testing::CloseColour(load.picture->Pixel(28, 8), 0x0000FF));
    // A value outside 1..8 is ignored.
    load = Decode(testing::EncodeJpeg(RedBlue(32, 16), 95, testing::ExifWithOrientation(9)));
    ASSERT_TRUE(load.picture) << load.why;
    EXPECT_TRUE(testing::CloseColour(load.picture->Pixel(4, 8), 0x0000FF));
}

TEST(JpegDecoder, RefusesTruncatedForeignAndEmptyFilesWithAReason) {
    // Busy pixels, so most of the file is picture data rather than tables.
    gfx::Image busy = *gfx::Image::Create(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) busy.SetPixel(x, y, (x * 2654435761u) ^ (y * 40503u) ^ (x * y * 97u));
    std::vector<uint8_t> bytes = testing::EncodeJpeg(busy);
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
    PictureLoad load = Decode(cut);
    EXPECT_FALSE(load.picture);
    EXPECT_EQ(load.why, "the file ends before the picture does");

    // Only the header: libjpeg's own error comes back as the reason.
    cut.assign(bytes.begin(), bytes.begin() + 30);
    load = Decode(cut);
    EXPECT_FALSE(load.picture);
    EXPECT_FALSE(load.why.empty());

    load = Decode({'B', 'M', 0, 0, 0, 0});
    EXPECT_EQ(load.why, "not a JPEG file");
    load = DecodeJpeg(nullptr, 0);
    EXPECT_FALSE(load.picture);

    // The start marker and then garbage.
    std::vector<uint8_t> garbage = {0xFF, 0xD8};
    for (int i = 0; i < 500; ++i) garbage.push_back(static_cast<uint8_t>(i * 37 + 11));
    load = Decode(garbage);
    EXPECT_FALSE(load.picture);
    EXPECT_FALSE(load.why.empty());
}

TEST(JpegDecoder, RefusesMoreThan100MegapixelsBeforeTakingMemory) {
    std::vector<uint8_t> bytes = testing::EncodeJpeg(RedBlue(16, 16));
    // The frame header (FF C0, length, precision) holds the height and width next.
    size_t at = 0;
    while (at + 9 < bytes.size() && !(bytes[at] == 0xFF && bytes[at + 1] == 0xC0)) ++at;
    ASSERT_LT(at + 9, bytes.size());
    const auto patch = [&](int width, int height) {
        bytes[at + 5] = static_cast<uint8_t>(height >> 8);
        bytes[at + 6] = static_cast<uint8_t>(height);
        bytes[at + 7] = static_cast<uint8_t>(width >> 8);
        bytes[at + 8] = static_cast<uint8_t>(width);
    };
    patch(10001, 10000);  // 100,010,000 pixels
    PictureLoad load = Decode(bytes);
    EXPECT_FALSE(load.picture);
    EXPECT_EQ(load.why, "the picture has 10001 x 10000 pixels, more than 100000000");
    // A size allowed in principle; this file then ends long before its pixels.
    patch(3000, 3000);
    load = Decode(bytes);
    EXPECT_FALSE(load.picture);
    EXPECT_EQ(load.why, "the file ends before the picture does");
}

TEST(JpegDecoder, APictureWiderThanARasterMayBeIsDecodedAtHalfSize) {
    const PictureLoad load =
        Decode(testing::EncodeJpeg(17000, 16, [](int x, int) { return x < 8500 ? 0x0000FFu : 0xFF0000u; }, 80));
    ASSERT_TRUE(load.picture) << load.why;
    EXPECT_EQ(load.picture->Width(), 8500);
    EXPECT_EQ(load.picture->Height(), 8);
    EXPECT_TRUE(testing::CloseColour(load.picture->Pixel(100, 4), 0x0000FF));
    EXPECT_TRUE(testing::CloseColour(load.picture->Pixel(8400, 4), 0xFF0000));
}

}  // namespace
}  // namespace lumi
