// The bitmap rows and filter lists the Windows dialogs hand to the system, byte by byte.
#include "shell/Win32DialogFormats.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/Image.h"

namespace lumi::shell {
namespace {

TEST(Win32DialogFormatsTest, RowsArePaddedToFourBytes) {
    EXPECT_EQ(DibStride(1), 4);  // 3 bytes and one of padding
    EXPECT_EQ(DibStride(4), 12);
    EXPECT_EQ(DibStride(5), 16);  // 15 bytes and one of padding
}

TEST(Win32DialogFormatsTest, PictureBecomesBottomUpBlueGreenRedRows) {
    // Two by two: red and green on top, blue and white below (0x00BBGGRR).
    auto image = gfx::Image::Create(2, 2);
    ASSERT_TRUE(image);
    image->SetPixel(0, 0, 0x0000FF);
    image->SetPixel(1, 0, 0x00FF00);
    image->SetPixel(0, 1, 0xFF0000);
    image->SetPixel(1, 1, 0x123456);
    const std::vector<uint8_t> want = {
        0xFF, 0x00, 0x00, 0x12, 0x34, 0x56, 0, 0,  // bottom row first: blue, then 0x123456
        0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0,  // top row: red, green
    };
    EXPECT_EQ(BottomUpBgrRows(*image), want);
}

TEST(Win32DialogFormatsTest, EmptyPictureGivesNoRows) { EXPECT_TRUE(BottomUpBgrRows(gfx::Image()).empty()); }

TEST(Win32DialogFormatsTest, PicturesGrowWithTheMonitorWithinTheirRoom) {
    // 200 %: twice the size when there is room for it.
    EXPECT_EQ(ScaledPictureSize(100, 92, 2.0, 276, 266).width, 200);
    EXPECT_EQ(ScaledPictureSize(100, 92, 2.0, 276, 266).height, 184);
    // Room for one and a half times only: 150 x 138, the aspect kept.
    EXPECT_EQ(ScaledPictureSize(100, 92, 2.0, 150, 400).width, 150);
    EXPECT_EQ(ScaledPictureSize(100, 92, 2.0, 150, 400).height, 138);
    // 100 %, or less room than the picture needs: its own size.
    EXPECT_EQ(ScaledPictureSize(100, 92, 1.0, 500, 500).width, 100);
    EXPECT_EQ(ScaledPictureSize(120, 100, 2.0, 110, 90).width, 120);
    EXPECT_EQ(ScaledPictureSize(120, 100, 2.0, 110, 90).height, 100);
    EXPECT_EQ(ScaledPictureSize(0, 10, 2.0, 100, 100).width, 0);
}

TEST(Win32DialogFormatsTest, FiltersArePairsEndedByAnEmptyOne) {
    using namespace std::string_literals;
    EXPECT_EQ(FilterListText({{"WAV files (*.WAV)", "*.WAV"}, {"All files (*.*)", "*.*"}}),
              "WAV files (*.WAV)\0*.WAV\0All files (*.*)\0*.*\0\0"s);
    EXPECT_EQ(FilterListText({}), "\0"s);
    // A zero byte inside a label would end the list there; it is cut instead.
    EXPECT_EQ(FilterListText({{"BMP\0files"s, "*.BMP"}}), "BMP\0*.BMP\0\0"s);
}

}  // namespace
}  // namespace lumi::shell
