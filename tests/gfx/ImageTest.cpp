// Picture construction limits, edge access, and writing an encoded picture to a file.
#include "gfx/Image.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "common/TestSupport.h"

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

TEST(Image, WriteEncodedImageReplacesTheFileWholeAndRefusesNothingToWrite) {
    testing::TempFolder folder;
    const std::string path = folder.File("picture.bin");
    testing::WriteFile(path, "an older and longer file than the new one");
    const std::vector<uint8_t> bytes = {'B', 'M', 0, 0xFF, '\n'};
    ASSERT_TRUE(WriteEncodedImage(path, bytes));
    EXPECT_EQ(testing::ReadFile(path), std::string("BM\0\xFF\n", 5));

    // An encoder's refusal leaves no file behind, and an unreachable folder is a failure.
    EXPECT_FALSE(WriteEncodedImage(folder.File("refused.bin"), {}));
    EXPECT_FALSE(std::ifstream(folder.File("refused.bin")).good());
    EXPECT_FALSE(WriteEncodedImage(folder.File("missing/picture.bin"), bytes));
}

}  // namespace
}  // namespace lumi::gfx
