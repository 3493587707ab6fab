#include "dialogs/PictureArea.h"

#include <gtest/gtest.h>

#include "../common/TestSupport.h"
#include "FakeControls.h"
#include "dialogs/DialogIds.h"
#include "gfx/BmpReader.h"
#include "settings/IniFile.h"

namespace lumi {
namespace {

using dialogs::PictureArea;
using dialogs::PlacePicture;
using dialogs::Rect;
using testing::FakeControls;

bool SameRect(const Rect& a, const Rect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST(PlacePictureTest, ScalesDownToFitAndCentresButNeverEnlarges) {
    const Rect area{1, 1, 200, 100};
    // 400 × 100: f = min(1, 200/400, 100/100) = 0.5, so 200 × 50, 25 pixels from the top.
    EXPECT_TRUE(SameRect(PlacePicture(area, 400, 100, true), {1, 26, 200, 50}));
    // 100 × 400: f = 0.25, so 25 × 100.
    EXPECT_TRUE(SameRect(PlacePicture(area, 100, 400, true), {88, 1, 25, 100}));
    // Smaller than the area: own size, centred.
    EXPECT_TRUE(SameRect(PlacePicture(area, 50, 40, true), {76, 31, 50, 40}));
    // Not scaled: own size even when larger, centred (it hangs over both sides).
    EXPECT_TRUE(SameRect(PlacePicture(area, 240, 100, false), {-19, 1, 240, 100}));
}

class PictureAreaTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMainIni();
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder_), 0);
        // The control is 202 × 152 on screen: the area inside its frame is 200 × 150.
        controls_.controls[IDC_MAIN_PICTURE_AREA].rect = {300, 200, 202, 152};
    }
    void TearDown() override { ResetMainIni(); }

    std::string WritePicture(const std::string& name, int width, int height) {
        const std::string path = folder_.File(name);
        EXPECT_TRUE(gfx::WriteBmpFile(path, *gfx::Image::Create(width, height, 0x00FF00)));
        return path;
    }
    const FakeControls::Drawn& LastDrawn() { return controls_.drawn.back(); }

    testing::TempFolder folder_;
    FakeControls controls_;
    PictureArea area_{IDC_MAIN_PICTURE_AREA};
};

TEST_F(PictureAreaTest, WithoutAPictureOfHisOwnTheBuiltInOneIsDrawnAtItsSizeCentred) {
    area_.Draw(controls_);
    ASSERT_EQ(controls_.drawn.size(), 1u);
    // The night house is 120 × 100: (200 - 120) / 2 and (150 - 100) / 2 inside the frame.
    EXPECT_EQ(LastDrawn().id, IDC_MAIN_PICTURE_AREA);
    EXPECT_EQ(LastDrawn().imageWidth, 120);
    EXPECT_EQ(LastDrawn().imageHeight, 100);
    EXPECT_TRUE(SameRect(LastDrawn().dest, {41, 26, 120, 100}));
    EXPECT_FALSE(area_.FromFile());
}

TEST_F(PictureAreaTest, ALargeFilePictureIsScaledDownAndASmallOneKeptAsItIs) {
    MainIni().WriteStringForUser("Params", "UPIC", WritePicture("large.bmp", 800, 300));
    area_.Draw(controls_);
    // f = min(1, 200/800, 150/300) = 0.25: 200 × 75, (150 - 75) / 2 = 37 below the frame.
    EXPECT_EQ(LastDrawn().imageWidth, 800);
    EXPECT_TRUE(SameRect(LastDrawn().dest, {1, 38, 200, 75}));
    EXPECT_TRUE(area_.FromFile());

    // The loaded picture is kept until released, then the new choice is read.
    MainIni().WriteStringForUser("Params", "UPIC", WritePicture("small.bmp", 40, 30));
    area_.Draw(controls_);
    EXPECT_EQ(LastDrawn().imageWidth, 800);
    area_.Release();
    area_.Draw(controls_);
    EXPECT_EQ(LastDrawn().imageWidth, 40);
    EXPECT_TRUE(SameRect(LastDrawn().dest, {81, 61, 40, 30}));
}

TEST_F(PictureAreaTest, AFileThatCannotBeLoadedLeavesTheAreaWhite) {
    testing::WriteFile(folder_.File("not-a-picture.bmp"), "BM but nothing more");
    MainIni().WriteStringForUser("Params", "UPIC", folder_.File("not-a-picture.bmp"));
    area_.Draw(controls_);
    ASSERT_EQ(controls_.drawn.size(), 1u);
    EXPECT_EQ(LastDrawn().imageWidth, 0);
    EXPECT_TRUE(SameRect(LastDrawn().dest, {1, 1, 200, 150}));
    // A missing file is the same.
    MainIni().WriteStringForUser("Params", "UPIC", folder_.File("gone.bmp"));
    area_.Release();
    area_.Draw(controls_);
    EXPECT_EQ(LastDrawn().imageWidth, 0);
}

TEST_F(PictureAreaTest, ALongPathIsReadWhole) {
    // The chooser stores up to 299 characters; a cut path would name another file.
    std::string sub = folder_.Path();
    while (sub.size() < 250) sub += "deeper-folder-name/";
    ASSERT_EQ(testing::RunCommand("mkdir -p '" + sub + "'").exitCode, 0);
    const std::string path = sub + "my-own-picture.bmp";
    ASSERT_GT(path.size(), 200u);
    ASSERT_LT(path.size(), 300u);
    ASSERT_TRUE(gfx::WriteBmpFile(path, *gfx::Image::Create(60, 50, 0xFF)));
    MainIni().WriteStringForUser("Params", "UPIC", path);
    area_.Draw(controls_);
    EXPECT_EQ(LastDrawn().imageWidth, 60);
}

}  // namespace
}  // namespace lumi
