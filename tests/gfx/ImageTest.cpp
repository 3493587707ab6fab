// Picture construction limits and edge access.
#include "gfx/Image.h"

#include <gtest/gtest.h>

namespace lumi::gfx {
namespace {

TEST(Image, CreateRefusesEmptyNegativeAndOversizedPictures) {
    EXPECT_FALSE(Image::Create(0, 5));
    EXPECT_FALSE(Image::Create(5, -1));
    EXPECT_FALSE(Image::Create(kMaxImageSide + 1, 1));
    // Each side within the limit, the product not.
    EXPECT_FALSE(Image::Create(kMaxImageSide, kMaxImageSide));
    ASSERT_TRUE(Image::Create(kMaxImageSide, 1));
}

TEST(Image, ReadsOutsideAreBlackAndWritesOutsideAreIgnored) {
    std::optional<Image> image = Image::Create(3, 2, 0x123456);
    ASSERT_TRUE(image);
    image->SetPixel(-1, 0, 0xFF);
    image->SetPixel(3, 1, 0xFF);
    image->SetPixel(2, 1, 0xABCDEF);
    EXPECT_EQ(image->Pixel(-1, 0), 0u);
    EXPECT_EQ(image->Pixel(0, 2), 0u);
    EXPECT_EQ(image->Pixel(2, 1), 0xABCDEFu);
    EXPECT_EQ(image->Row(1)[2], 0xABCDEFu);
    EXPECT_EQ(image->Pixel(0, 0), 0x123456u);
}

}  // namespace
}  // namespace lumi::gfx
