// Star images and palette, and fixed and message stars on a small sky: drawing, hiding,
// flight, twinkle and parking.
#include "scene/Stars.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/TestSupport.h"
#include "gfx/Canvas.h"
#include "sky/SaverRun.h"
#include "scene/MessageCanvas.h"
#include "sky/SkyDC.h"
#include "sky/SpaceMatrix.h"
#include "scene/StarPalette.h"
#include "scene/StepFlags.h"
#include "scene/TextToStars.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {
namespace {

using gfx::Color;
using gfx::Rgb;

constexpr int kWidth = 40;
constexpr int kHeight = 30;

class StarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RestartLogAt(folder.File("log.txt"));
        SeedRandom(7);
        ResetSaverRun();
        SaverRun().ScreenRect = SkyRect{0, 0, kWidth, kHeight};
        SaverRun().MonitorRect = SkyRect{0, 0, kWidth, kHeight};
        SaverRun().RealTickTime = 1000;  // 20 ticks of flight, 2 of twinkle
        sky = std::make_unique<gfx::Canvas>(gfx::Surface::Create(kWidth, kHeight, gfx::DirtyTracking::On));
        SetSkyDC(sky.get());
        SkyMatrix.Create(kWidth, kHeight);
        ResetStarPalette();
        ResetStepFlags();
        ResetMessageCanvas();
        ResetTextMapping();
        SetHiddenRowMarker(kHeight);
    }
    void TearDown() override {
        ResetStarPalette();
        ResetMessageCanvas();
        SkyMatrix.Destroy();
        SetSkyDC(nullptr);
        ResetSaverRun();
        ResetRandomSeed();
    }

    std::string Log() const { return testing::ReadFile(folder.File("log.txt")); }
    Color At(int x, int y) const { return sky->GetPixel(x, y); }
    int LitPixels() const {
        int lit = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) lit += At(x, y) != 0;
        return lit;
    }

    // A fixed star with chosen place and brightness, the palette acquired for the sky.
    STAR PlacedStar(int x, int y, int brightness) {
        STAR star;
        star.Create(brightness, brightness + 1, 1000, sky.get(), SaverRun().ScreenRect, 20, 10);
        star.x = star.startX = star.targetX = x;
        star.y = star.startY = star.targetY = y;
        return star;
    }

    testing::TempFolder folder;
    std::unique_ptr<gfx::Canvas> sky;
};

TEST_F(StarsTest, ImagesGrowWithBrightnessAndHaveTheirColours) {
    StarBitmapClass image;
    const struct {
        int brightness;
        int size;
    } sizes[] = {{-5, 1}, {0, 1}, {25, 1}, {26, 3}, {50, 3}, {51, 5}, {75, 5}, {76, 7}, {100, 7}, {150, 7}};
    for (const auto& c : sizes) {
        StarBitmapClass star;
        star.Create(sky.get(), c.brightness);
        EXPECT_EQ(star.size, c.size) << c.brightness;
    }

    image.Create(sky.get(), 20);
    EXPECT_EQ(image.centreColour, Rgb(200, 200, 200));
    EXPECT_EQ(image.bitmap, nullptr);

    StarBitmapClass dim;
    dim.Create(sky.get(), 30);
    EXPECT_EQ(dim.centreColour, Rgb(255, 255, 255));
    EXPECT_EQ(dim.ring1Colour, Rgb(50, 50, 50));
    EXPECT_EQ(dim.diagonalColour, Rgb(0, 0, 120));

    StarBitmapClass clampedHigh;
    clampedHigh.Create(sky.get(), 150);
    EXPECT_EQ(clampedHigh.ring3Colour, Rgb(187, 187, 250));
}

TEST_F(StarsTest, BrightestImageIsACrossWithBlueDiagonalsOnBlack) {
    StarBitmapClass star;
    star.Create(sky.get(), 100);
    const gfx::Canvas& image = *star.bitmap;
    const Color white = Rgb(255, 255, 255);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 7; ++x) {
            const int dx = x - 3, dy = y - 3;
            Color expected = 0;
            if (dx == 0 && dy == 0) expected = white;
            else if ((dx == 0 || dy == 0) && std::abs(dx + dy) == 1) expected = white;
            else if ((dx == 0 || dy == 0) && std::abs(dx + dy) == 2) expected = Rgb(204, 204, 255);
            else if ((dx == 0 || dy == 0) && std::abs(dx + dy) == 3) expected = Rgb(187, 187, 250);
            else if (std::abs(dx) == 1 && std::abs(dy) == 1) expected = Rgb(0, 0, 255);
            EXPECT_EQ(image.GetPixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(StarsTest, PaletteLivesFromFirstAcquireToLastRelease) {
    StarPaletteClass& palette = StarPalette();
    palette.Plot(50, 5, 5);
    EXPECT_EQ(LitPixels(), 0);
    EXPECT_NE(Log().find("StarBitmapClass::Plot: not created"), std::string::npos);

    palette.Create(sky.get());
    palette.Create(sky.get());
    EXPECT_EQ(palette.References(), 2);
    EXPECT_NE(Log().find("info> StarPaletteClass::Create: Creating palette"), std::string::npos);

    palette.Destroy();
    EXPECT_TRUE(palette.Entry(100).created);
    palette.Plot(100, 10, 10);
    EXPECT_EQ(At(10, 10), Rgb(255, 255, 255));
    EXPECT_EQ(At(13, 10), Rgb(187, 187, 250));

    palette.Destroy();
    EXPECT_EQ(palette.References(), 0);
    EXPECT_NE(Log().find("StarPaletteClass::Destroy: Destroying palette"), std::string::npos);
    for (int b = 0; b <= 100; ++b) {
        EXPECT_FALSE(palette.Entry(b).created);
        EXPECT_EQ(palette.Entry(b).bitmap, nullptr);
    }
    // Released images draw nothing, even single pixels, on a canvas that may be gone.
    palette.Plot(10, 20, 20);
    palette.Plot(90, 30, 20);
    EXPECT_EQ(At(20, 20), 0u);
    EXPECT_EQ(At(30, 20), 0u);

    palette.Destroy();
    EXPECT_NE(Log().find("WARNING> StarPaletteClass::Destroy: nCreated<0"), std::string::npos);
    palette.Create(sky.get());
    EXPECT_NE(Log().find("WARNING> StarPaletteClass::Create: nCreated<0"), std::string::npos);
    EXPECT_EQ(palette.References(), -1);
}

TEST_F(StarsTest, PalettePlotsAndClearsAroundTheCentre) {
    StarPaletteClass& palette = StarPalette();
    palette.Create(sky.get());
    palette.Plot(100, 10, 10);
    EXPECT_EQ(LitPixels(), 17);  // centre, three rings of four and four diagonals
    palette.Clear(100, 10, 10);
    EXPECT_EQ(LitPixels(), 0);

    palette.Plot(20, 3, 4);
    EXPECT_EQ(At(3, 4), Rgb(200, 200, 200));
    palette.Clear(20, 3, 4);
    EXPECT_EQ(At(3, 4), 0u);

    palette.Plot(101, 10, 10);
    palette.Plot(-1, 10, 10);
    EXPECT_EQ(LitPixels(), 0);
    EXPECT_NE(Log().find("WARNING> Brightness101"), std::string::npos);
}

TEST_F(StarsTest, StarsOnHiddenRowsOrCoveredCellsAreNotDrawn) {
    StarPalette().Create(sky.get());
    STAR top = PlacedStar(5, 0, 20);
    top.CleverPlot(20);
    STAR bottom = PlacedStar(5, kHeight, 20);
    bottom.CleverPlot(20);
    EXPECT_EQ(LitPixels(), 0);

    SkyMatrix.SetData(10, 10, SpaceMatrixClass::kPicture, 0);
    SkyMatrix.SetData(12, 10, SpaceMatrixClass::kMoon, 0);
    SkyMatrix.SetData(14, 10, SpaceMatrixClass::kUnused | SpaceMatrixClass::kReleased, 0);
    for (int x : {10, 12, 14}) PlacedStar(x, 10, 20).CleverPlot(20);
    EXPECT_EQ(At(10, 10), 0u);
    EXPECT_EQ(At(12, 10), 0u);
    EXPECT_EQ(At(14, 10), Rgb(200, 200, 200));

    // Erasing on the moon leaves both the sky and the cell alone.
    sky->SetPixel(12, 10, Rgb(1, 2, 3));
    PlacedStar(12, 10, 20).CleverClear(20);
    EXPECT_EQ(At(12, 10), Rgb(1, 2, 3));
    EXPECT_EQ(SkyMatrix.GetData(12, 10), SpaceMatrixClass::kMoon);

    PlacedStar(14, 10, 20).CleverClear(20);
    EXPECT_EQ(At(14, 10), 0u);
    EXPECT_EQ(SkyMatrix.GetData(14, 10), SpaceMatrixClass::kReleased);

    STAR off = PlacedStar(-3, 5, 20);
    off.CleverPlot(20);
    off.CleverClear(20);
    STAR above = PlacedStar(3, -5, 20);
    above.CleverPlot(20);
    const std::string log = Log();
    EXPECT_NE(log.find("ERROR> STAR::CleverPlot x-3"), std::string::npos);
    EXPECT_NE(log.find("ERROR> STAR::CleverClear x-3"), std::string::npos);
    EXPECT_NE(log.find("ERROR> STAR::CleverPlot y-5"), std::string::npos);
}

TEST_F(StarsTest, AStarAtRestIsDrawnAgainOnlyWhenSomethingWasDrawnNearIt) {
    const Color white = Rgb(255, 255, 255);
    STAR star = PlacedStar(10, 10, 50);
    star.twinkleId = -1;  // never picked
    star.Step();
    ASSERT_EQ(At(10, 10), white);
    // A pixel changed behind the canvas's back, which no drawing does: the star trusts its
    // place to be as it left it and does not draw it again.
    sky->Bitmap()->Row(10)[10] = 0;
    star.Step();
    EXPECT_EQ(At(10, 10), 0u);
    // Anything drawn nearby (three pixels off, so not over the star) brings it back.
    sky->SetPixel(13, 10, Rgb(1, 2, 3));
    star.Step();
    EXPECT_EQ(At(10, 10), white);
    // Drawing far away does not.
    sky->Bitmap()->Row(10)[10] = 0;
    sky->SetPixel(35, 25, Rgb(1, 2, 3));
    star.Step();
    EXPECT_EQ(At(10, 10), 0u);
    // A new brightness, or a new place, is drawn.
    star.twinkleCountdown = 0;
    star.currentBrightness = 60;
    star.Step();
    EXPECT_EQ(At(10, 10), white);
    EXPECT_EQ(At(8, 10), Rgb(80, 80, 100));  // the second ring of a 5 x 5 image
    star.x = star.targetX = star.startX = 20;
    star.y = star.targetY = star.startY = 20;
    sky->Bitmap()->Row(20)[20] = 0;
    star.Step();
    EXPECT_EQ(At(20, 20), white);

    // A canvas that keeps no record of what was drawn gets every star every tick.
    sky = std::make_unique<gfx::Canvas>(gfx::Surface::Create(kWidth, kHeight));
    SetSkyDC(sky.get());
    ResetStarPalette();
    STAR untracked = PlacedStar(10, 10, 50);
    untracked.Step();
    sky->Bitmap()->Row(10)[10] = 0;
    untracked.Step();
    EXPECT_EQ(At(10, 10), white);
}

TEST_F(StarsTest, CreationChoosesItsValuesInTheirRanges) {
    // Only column 7 is free of the moon.
    SkyMatrix.Fill(0, 0, kWidth, kHeight, SpaceMatrixClass::kMoon);
    SkyMatrix.Fill(7, 0, 1, kHeight, 0);
    SkyRect rect{0, 0, kWidth, 25};
    for (int i = 0; i < 50; ++i) {
        STAR star;
        star.Create(15, 30, 666, sky.get(), rect, 333, 33);
        EXPECT_EQ(star.x, 7);
        EXPECT_GE(star.y, 0);
        EXPECT_LT(star.y, 25);
        EXPECT_GE(star.baseBrightness, 15);
        EXPECT_LT(star.baseBrightness, 30);
        EXPECT_EQ(star.peakBrightness, 100);
        EXPECT_GE(star.moveStart, 199);
        EXPECT_LT(star.moveStart, 333);
        EXPECT_GE(star.moveEnd, 1);
        EXPECT_LE(star.moveEnd, star.moveStart - 33);
    }
    EXPECT_EQ(HiddenRowMarker(), 25);
    EXPECT_EQ(StarPalette().References(), 50);
}

TEST_F(StarsTest, AFixedStarTwinklesUpAndBackDown) {
    StarPalette().Create(sky.get());
    STAR star = PlacedStar(20, 15, 20);
    star.twinkleLength = 10;
    StepFlags().twinklePick = star.twinkleId;
    std::vector<int> drawn;
    for (int i = 0; i < 12; ++i) {
        star.Step();
        drawn.push_back(star.currentBrightness);
        StepFlags().twinklePick = star.twinkleId + 1;
    }
    // base + (100 - 20) * min(L - c, c) * 2 / L for c = 10 .. 1, then no change.
    const std::vector<int> expected = {20, 36, 52, 68, 84, 100, 84, 68, 52, 36, 36, 36};
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(star.twinkleCountdown, 0);
    EXPECT_EQ(star.x, 20);
    EXPECT_EQ(star.y, 15);
    EXPECT_EQ(At(20, 15), Rgb(255, 255, 255));  // the 5 x 5 image drawn last has a white centre
    EXPECT_FALSE(StepFlags().glyphMoved);

    // A pick during a running twinkle does not restart it.
    StepFlags().twinklePick = star.twinkleId;
    star.Step();
    EXPECT_EQ(star.twinkleCountdown, 9);
    star.Step();
    EXPECT_EQ(star.twinkleCountdown, 8);
}

// A message star made visible at `from` and sent to `to` with a new flight period.
GlyphStar Flying(int fromX, int fromY, int toX, int toY, int ticks, int startAt, int endAt) {
    GlyphStar star;
    star.Create(30, 31);
    star.x = fromX;
    star.y = fromY;
    star.targetX = toX;
    star.targetY = toY;
    star.moveTicks = ticks;
    star.moveStart = startAt;
    star.moveEnd = endAt;
    return star;
}

TEST_F(StarsTest, AMessageStarFliesLinearlyAndArrivesAtMoveEnd) {
    GlyphStar star = Flying(2, 3, 22, 23, 10, 8, 3);
    StepFlags().twinklePick = -1;
    std::vector<std::pair<int, int>> path;
    StepFlags().retarget = true;
    for (int tick = 0; tick < 10; ++tick) {
        StepFlags().glyphMoved = false;
        star.Step();
        StepFlags().retarget = false;
        EXPECT_TRUE(StepFlags().glyphMoved) << tick;
        path.emplace_back(star.x, star.y);
    }
    EXPECT_EQ(star.moveCountdown, 0);
    // Countdown 10 and 9 wait at the start; 8 .. 3 move in fifths; 2 and 1 wait on the target.
    const std::vector<std::pair<int, int>> expected = {{2, 3},   {2, 3},   {2, 3},   {6, 7},   {10, 11},
                                                       {14, 15}, {18, 19}, {22, 23}, {22, 23}, {22, 23}};
    EXPECT_EQ(path, expected);
    EXPECT_EQ(star.startX, 22);
    EXPECT_EQ(star.startY, 23);

    // Only the arrived star is on the sky: every earlier position was erased.
    EXPECT_EQ(At(22, 23), Rgb(255, 255, 255));
    EXPECT_EQ(At(2, 3), 0u);
    EXPECT_EQ(At(14, 15), 0u);
    EXPECT_EQ(LitPixels(), 9);  // one 3 x 3 image

    StepFlags().glyphMoved = false;
    star.Step();
    EXPECT_FALSE(StepFlags().glyphMoved);
}

TEST_F(StarsTest, RandomFlightTimesStillArriveWithinThePeriod) {
    for (int i = 0; i < 40; ++i) {
        GlyphStar star;
        star.Create(30, 45);
        star.x = 1 + i % 30;
        star.y = 2 + i % 20;
        star.targetX = 38 - i % 30;
        star.targetY = 27 - i % 20;
        StepFlags().retarget = true;
        for (int tick = 0; tick < star.moveTicks; ++tick) {
            star.Step();
            StepFlags().retarget = false;
        }
        EXPECT_EQ(star.x, star.targetX);
        EXPECT_EQ(star.y, star.targetY);
        EXPECT_EQ(star.moveCountdown, 0);
    }
}

TEST_F(StarsTest, AStarWithoutAPixelFliesToTheBottomAndHidesAtTheTop) {
    GlyphStar star = Flying(10, 10, 30, kHeight, 4, 4, 1);
    StepFlags().retarget = true;
    for (int tick = 0; tick < 4; ++tick) {
        star.Step();
        StepFlags().retarget = false;
    }
    EXPECT_EQ(star.x, 30);
    EXPECT_EQ(star.y, 0);
    EXPECT_EQ(star.startY, 0);
    EXPECT_EQ(star.targetY, 0);
    EXPECT_EQ(LitPixels(), 0);
    EXPECT_EQ(sky->Bitmap()->GetPixel(30, kHeight - 1), 0u);
}

TEST_F(StarsTest, MessageStarsTakeTargetsFromTheMappingOrStayHidden) {
    MessageCanvasClass& canvas = MessageCanvas();
    gfx::Canvas& dc = canvas.NewContext(sky.get());
    dc.SelectBitmap(gfx::Canvas::CreateCompatibleBitmap(sky.get(), 4, 4));
    dc.SetPixel(1, 2, Rgb(255, 255, 255));
    canvas.canvasWidth = 4;
    canvas.canvasHeight = 4;
    // The generator seeded with 1 draws 41 and then 18467 (of 32768). On the 40 x 30 sky
    // one pixel is scaled tenfold and placed at the left border (4) plus 41 / 32768 of 32
    // columns (0), and at the top border (4) plus 18467 / 32768 of 22 rows (12).
    SeedRandom(1);
    Text2Pixel();

    GlyphStar first;
    first.Create(30, 45);
    EXPECT_EQ(first.isGlyph, 1);
    EXPECT_EQ(first.y, 0);
    EXPECT_EQ(first.moveCountdown, 20);
    EXPECT_EQ(first.targetX, 4);
    EXPECT_EQ(first.targetY, 16);

    GlyphStar second;
    second.Create(30, 45);
    EXPECT_EQ(second.targetX, second.x);
    EXPECT_EQ(second.targetY, 0);

    // A visible star without a pixel is sent below the sky instead.
    second.y = 5;
    second.TakeNextTarget();
    EXPECT_EQ(second.targetY, kHeight);
}

}  // namespace
}  // namespace lumi
