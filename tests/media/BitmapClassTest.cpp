// Off-screen pictures: the state checks and their log lines, placement, drawing and
// erasing on a target, mirroring, rotating, text strips and loading.
#include "media/BitmapClass.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/TestSupport.h"
#include "gfx/BmpReader.h"
#include "gfx/FakeFont.h"
#include "media/TextFont.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi {
namespace {

class BitmapClassTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        ResetErrorReports();
        gfx::SetFontRasterizer(std::make_unique<gfx::testing::FakeRasterizer>());
    }
    void TearDown() override {
        gfx::SetFontRasterizer(nullptr);
        ResetMainIni();
    }

    std::string Log() const { return testing::ReadFile(folder.File("log.txt")); }
    bool Logged(const std::string& line) const { return Log().find(line) != std::string::npos; }

    // A bitmap whose every pixel has its own colour, so any misplaced pixel shows.
    void MakePattern(BitmapClass& b, int w, int h) {
        b.CreateBlack(&target, w, h);
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < w; ++xx) b.hMemoryDC->SetPixel(xx, yy, gfx::Rgb(10 + xx * 20, 10 + yy * 20, 77));
    }
    std::vector<gfx::Color> Pixels(const BitmapClass& b) const { return b.hBitmap->ReadPixels(); }
    int LitPixels() const {
        int lit = 0;
        for (gfx::Color c : target.Bitmap()->ReadPixels()) lit += c != 0;
        return lit;
    }

    testing::TempFolder folder;
    testing::RecordingMessageBoxes boxes;
    gfx::Canvas target{gfx::Surface::Create(100, 80)};
};

TEST_F(BitmapClassTest, DrawingOnAnEmptyBitmapOnlyLogs) {
    BitmapClass b;
    EXPECT_EQ(b.Display(&target), 0);
    EXPECT_EQ(b.Clear(&target), 0);
    b.Mirror();
    b.Destroy();
    EXPECT_TRUE(Logged("WARNING> BitmapClass::Display: !used"));
    EXPECT_TRUE(Logged("WARNING> BitmapClass::Clear: !used"));
    EXPECT_TRUE(Logged("WARNING> BitmapClass::Mirror: !used"));
    EXPECT_TRUE(Logged("WARNING> BitmapClass::Destroy: not used"));
    EXPECT_EQ(b.hTargetDC, nullptr);
}

TEST_F(BitmapClassTest, ResourceLoadsOnceAndKeepsItsPicture) {
    BitmapClass b;
    b.CreateFromResource(&target, 131);
    ASSERT_EQ(b.used, 1);
    EXPECT_EQ(b.width, 66);
    EXPECT_EQ(b.height, 56);
    std::vector<gfx::Color> heart = Pixels(b);
    b.CreateFromResource(&target, 132);
    EXPECT_TRUE(Logged("ERROR> BitmapClass::CreateFromResource: hBitmap!=NULL"));
    EXPECT_EQ(b.width, 66);
    EXPECT_EQ(Pixels(b), heart);
    EXPECT_EQ(b.Create(&target), 0);
    EXPECT_TRUE(Logged("WARNING> BitmapClass::Create: used"));
    b.Destroy();
}

TEST_F(BitmapClassTest, DisplayCopiesAtThePositionAndDestroyErasesExactlyThere) {
    BitmapClass b;
    b.CreateBlank(&target, 6, 4, gfx::Brush::White());
    // The last column and row are left unpainted.
    EXPECT_EQ(b.hMemoryDC->GetPixel(4, 2), gfx::Rgb(255, 255, 255));
    EXPECT_EQ(b.hMemoryDC->GetPixel(5, 2), 0u);
    EXPECT_EQ(b.hMemoryDC->GetPixel(4, 3), 0u);

    target.FillRect(gfx::Rect{0, 0, 100, 80}, gfx::Brush::Solid(gfx::Rgb(0, 0, 200)));
    b.x = 10;
    b.y = 20;
    EXPECT_EQ(b.Display(&target), 1);
    EXPECT_EQ(target.GetPixel(10, 20), gfx::Rgb(255, 255, 255));
    EXPECT_EQ(target.GetPixel(15, 23), 0u);
    b.Destroy();
    EXPECT_EQ(b.used, 0);
    EXPECT_EQ(b.hBitmap, nullptr);
    EXPECT_EQ(target.GetPixel(10, 20), 0u);
    EXPECT_EQ(target.GetPixel(15, 23), 0u);
    EXPECT_EQ(target.GetPixel(16, 23), gfx::Rgb(0, 0, 200));
    EXPECT_EQ(target.GetPixel(15, 24), gfx::Rgb(0, 0, 200));
    EXPECT_EQ(target.GetPixel(9, 20), gfx::Rgb(0, 0, 200));

    // A second life: no complaint about a leftover memory canvas.
    b.CreateBlack(&target, 3, 3);
    EXPECT_FALSE(Logged("hMemoryDC not NULL"));
    b.Destroy();
}

TEST_F(BitmapClassTest, StretchedBitmapCoversAndErasesItsRectangle) {
    BitmapClass b;
    b.CreateBlank(&target, 3, 3, gfx::Brush::White());  // a white 2 x 2 block in the corner
    b.x = 50;
    b.Stretch(5, 5, 30, 60);
    EXPECT_EQ(b.x, 0);
    b.Display(&target);
    EXPECT_EQ(target.GetPixel(0, 0), gfx::Rgb(255, 255, 255));
    EXPECT_EQ(target.GetPixel(19, 39), gfx::Rgb(255, 255, 255));
    EXPECT_EQ(target.GetPixel(29, 59), 0u);
    target.FillRect(gfx::Rect{0, 0, 100, 80}, gfx::Brush::White());
    b.Destroy();
    EXPECT_EQ(target.GetPixel(0, 0), 0u);
    EXPECT_EQ(target.GetPixel(29, 59), 0u);
    EXPECT_EQ(target.GetPixel(30, 59), gfx::Rgb(255, 255, 255));
    EXPECT_EQ(target.GetPixel(29, 60), gfx::Rgb(255, 255, 255));
    EXPECT_EQ(b.stretch, 0);
}

TEST_F(BitmapClassTest, CenterIgnoresTheRectangleOffsets) {
    BitmapClass b;
    b.CreateBlack(&target, 60, 20);
    b.Center(0, 0, 100, 50);
    EXPECT_EQ(b.x, 20);
    EXPECT_EQ(b.y, 15);
    b.Center(10, 10, 110, 60);
    EXPECT_EQ(b.x, 20);
    EXPECT_EQ(b.y, 15);
    b.Center(0, 0, 59, 19);  // negative room truncates toward zero
    EXPECT_EQ(b.x, 0);
    EXPECT_EQ(b.y, 0);
    b.Center(0, 0, 57, 17);
    EXPECT_EQ(b.x, -1);
    b.Destroy();
}

TEST_F(BitmapClassTest, MirrorFlipsColumnsAndTwiceRestores) {
    BitmapClass b;
    MakePattern(b, 7, 3);
    const std::vector<gfx::Color> before = Pixels(b);
    b.Mirror();
    EXPECT_EQ(b.hMemoryDC->GetPixel(0, 1), before[1 * 7 + 6]);
    EXPECT_EQ(b.hMemoryDC->GetPixel(6, 2), before[2 * 7 + 0]);
    b.Mirror();
    EXPECT_EQ(Pixels(b), before);
    b.Destroy();
}

TEST_F(BitmapClassTest, RotateByZeroKeepsThePicture) {
    BitmapClass b;
    MakePattern(b, 8, 5);
    const std::vector<gfx::Color> before = Pixels(b);
    b.Rotate(0);
    EXPECT_EQ(Pixels(b), before);
    EXPECT_TRUE(Logged("info> Entering: Rotate"));
    b.Destroy();
}

TEST_F(BitmapClassTest, RotateByAQuarterTurnsAnOddSquareAboutItsCentre) {
    BitmapClass b;
    MakePattern(b, 9, 9);
    const std::vector<gfx::Color> before = Pixels(b);
    target.FillRect(gfx::Rect{0, 0, 100, 80}, gfx::Brush::Solid(gfx::Rgb(1, 2, 3)));
    b.Rotate(static_cast<float>(M_PI / 2));
    // The float quarter turn is a hair off exact, so a channel may lose one step.
    for (int yy = 0; yy < 9; ++yy) {
        for (int xx = 0; xx < 9; ++xx) {
            gfx::Color got = b.hMemoryDC->GetPixel(xx, yy);
            gfx::Color want = before[static_cast<size_t>(8 - xx) * 9 + yy];
            for (int shift = 0; shift <= 16; shift += 8)
                EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), static_cast<int>((want >> shift) & 0xFF), 1)
                    << xx << "," << yy;
        }
    }
    // The temporary picture went away without erasing anything.
    EXPECT_EQ(target.GetPixel(0, 0), gfx::Rgb(1, 2, 3));
    EXPECT_FALSE(Logged("~BitmapClass"));
    b.Destroy();
}

TEST_F(BitmapClassTest, RotateBlendsNeighboursWithDistanceWeights) {
    BitmapClass b;
    b.CreateBlack(&target, 4, 4);
    b.hMemoryDC->SetPixel(2, 2, gfx::Rgb(200, 100, 40));
    // An eighth turn moves the lit pixel off the grid: some neighbours share it, the
    // total light is spread out, and no channel exceeds the original.
    b.Rotate(static_cast<float>(M_PI / 4));
    int lit = 0;
    for (gfx::Color c : Pixels(b)) {
        lit += c != 0;
        EXPECT_LE(gfx::RedOf(c), 200);
        EXPECT_LE(gfx::GreenOf(c), 100);
    }
    EXPECT_GE(lit, 1);
    b.Rotate(std::nanf(""));
    EXPECT_TRUE(Logged("BitmapClass::Rotate: angle not finite"));
    b.Destroy();
}

TEST_F(BitmapClassTest, TextStripIsTwentyPixelsWiderThanItsText) {
    BitmapClass empty;
    empty.CreateFromText(&target, 0xFFFFFF, 0, "");
    EXPECT_TRUE(Logged("WARNING> CreateFromText7271"));
    EXPECT_EQ(empty.width, 20);
    empty.Destroy();

    BitmapClass word;
    word.CreateFromText(&target, kConfiguredColour, 0, "AB");
    // The fake font: 6 pixels a character, 8-pixel cells, a 4 x 5 block at (1, 1).
    ASSERT_EQ(word.width, 32);
    ASSERT_EQ(word.height, 8);
    EXPECT_EQ(word.hMemoryDC->GetPixel(1, 1), 0xFFFF00u) << "the configured colour";
    EXPECT_EQ(word.hMemoryDC->GetPixel(7, 5), 0xFFFF00u);
    EXPECT_EQ(word.hMemoryDC->GetPixel(0, 0), 0u);
    for (int xx = 12; xx < 32; ++xx) EXPECT_EQ(word.hMemoryDC->GetPixel(xx, 3), 0u) << xx;
    EXPECT_TRUE(boxes.boxes.empty()) << "font selected and restored in pairs";
    word.Destroy();
}

TEST_F(BitmapClassTest, FileLoadsAndAFailedLoadCanBeRecoveredFrom) {
    std::optional<gfx::Image> picture = gfx::Image::Create(5, 4, gfx::Rgb(9, 8, 7));
    ASSERT_TRUE(picture);
    picture->SetPixel(4, 0, gfx::Rgb(250, 0, 0));
    ASSERT_TRUE(gfx::WriteBmpFile(folder.File("p.bmp"), *picture));

    BitmapClass b;
    b.CreateFromFile(&target, folder.File("missing.bmp"));
    EXPECT_TRUE(Logged("WARNING> BitmapClass.Create: called with NULL hBitmap"));
    EXPECT_EQ(b.used, 1);
    b.Destroy();
    EXPECT_TRUE(Logged("WARNING> BitmapClass::Destroy: hBitmap==NULL"));
    EXPECT_EQ(b.used, 0);

    b.CreateFromFile(&target, folder.File("p.bmp"));
    ASSERT_EQ(b.used, 1);
    EXPECT_EQ(b.width, 5);
    EXPECT_EQ(b.hMemoryDC->GetPixel(4, 0), gfx::Rgb(250, 0, 0));
    b.CreateFromFile(&target, folder.File("p.bmp"));
    EXPECT_TRUE(Logged("WARNING> BitmapClass::CreateFromFile: hBitmap!=NULL"));
    b.Destroy();
}

TEST_F(BitmapClassTest, ForgottenDestroyIsLogged) {
    { BitmapClass b; b.CreateBlack(&target, 2, 2); }
    EXPECT_TRUE(Logged("WARNING> ~BitmapClass: hBitmap!=NULL"));
}

}  // namespace
}  // namespace lumi
