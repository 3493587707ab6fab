// The moon on the sky: shading for the phase, the hemisphere mirror, the warm tint,
// drifting and wrapping, the sky's reservations, teardown and the debug phase override.
#include "moon/Moon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/TestSupport.h"
#include "gfx/Canvas.h"
#include "base/FakeClock.h"
#include "sky/SpaceMatrix.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {
namespace {

int64_t UtcMs(int year, int month, int day, int hour) {
    return (DaysFromCivil(year, month, day) * 86400 + hour * 3600) * 1000;
}

class MoonTest : public ::testing::Test {
protected:
    static constexpr int kSkyWidth = 600;
    static constexpr int kSkyHeight = 200;

    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        ResetErrorReports();
        ResetMoonText();
        ResetMoon();
        SeedRandom(7);
        // 14:00 in March: the tint is at its weakest, so the picture keeps its colours.
        clock.SetUtcMilliseconds(UtcMs(2010, 3, 10, 14));
        SetClock(&clock);
        SkyMatrix.Create(kSkyWidth, kSkyHeight);
        moon().SetSky(&sky, rect);
    }
    void TearDown() override {
        ResetMoon();
        SkyMatrix.Destroy();
        SetClock(nullptr);
        ResetMainIni();
    }

    MOON& moon() const { return TheMoon(); }
    void SetPhase(int phase) { MainIni().WriteInt("debug", "MoonPhase", phase); }
    void CreateAndDraw() {
        moon().Create();
        moon().Step();
    }
    std::vector<gfx::Color> SkyPixels() const { return sky.Bitmap()->ReadPixels(); }
    gfx::Color SkyAt(int x, int y) const { return sky.GetPixel(x, y); }
    std::string Log() const { return testing::ReadFile(folder.File("log.txt")); }

    // The lit part of the drawn moon: how many pixels, and their mean column relative
    // to the centre of the moon's square. Lit means more red than the dark side keeps.
    struct Lit {
        int count = 0;
        double meanDx = 0;
    };
    Lit LitPart() const {
        Lit lit;
        const int left = moon().MoonBmp.x;
        long sum = 0;
        for (int y = 0; y < kSkyHeight; ++y)
            for (int x = 0; x < kSkyWidth; ++x)
                if (gfx::RedOf(SkyAt(x, y)) > 40) {
                    ++lit.count;
                    sum += x - (left + 50);
                }
        if (lit.count) lit.meanDx = static_cast<double>(sum) / lit.count;
        return lit;
    }

    // A plain 100 × 100 picture of one colour to shade, so every factor can be read off.
    void PlainPicture(gfx::Color colour) {
        moon().MoonBmp.CreateBlank(&sky, 100, 100, gfx::Brush::Solid(colour));
        moon().MoonBmp.hMemoryDC->FillRect(gfx::Rect{0, 0, 100, 100}, gfx::Brush::Solid(colour));
    }
    gfx::Color Picture(int x, int y) const { return moon().MoonBmp.hMemoryDC->GetPixel(x, y); }

    testing::TempFolder folder;
    testing::RecordingMessageBoxes boxes;
    FakeClock clock;
    SkyRect rect{0, 0, kSkyWidth, kSkyHeight};
    gfx::Canvas sky{gfx::Surface::Create(kSkyWidth, kSkyHeight)};
};

TEST_F(MoonTest, FullMoonDrawsALitDiscNearTheTopOnTheFirstStep) {
    SetPhase(0);
    moon().Create();
    EXPECT_TRUE(moon().Created());
    const int start = moon().MoonBmp.x;
    EXPECT_GE(start, 100);  // 600 wide: w = 500, start from w / 5
    EXPECT_LT(start, 500);
    for (gfx::Color c : SkyPixels()) ASSERT_EQ(c, 0u) << "Create must not draw";

    moon().Step();
    EXPECT_EQ(moon().MoonBmp.x, start + 1);
    EXPECT_EQ(moon().MoonBmp.y, 4);
    const Lit lit = LitPart();
    // A disc of radius 50 is about 7850 pixels; the turn softens its rim a little.
    EXPECT_GT(lit.count, 7000);
    EXPECT_LT(lit.count, 8100);
    EXPECT_NEAR(lit.meanDx, 0, 3);
    // The middle of the face is a grey sea, darker than the highlands but lit.
    EXPECT_GT(gfx::RedOf(SkyAt(start + 51, 54)), 40);
    // Nothing outside the moon's square.
    EXPECT_EQ(SkyAt(start - 1, 54), 0u);
    EXPECT_EQ(SkyAt(start + 102, 54), 0u);
    EXPECT_EQ(SkyAt(start + 51, 110), 0u);
}

TEST_F(MoonTest, NewMoonLeavesOnlyAFaintBlueDisc) {
    SetPhase(180);
    CreateAndDraw();
    int blue = 0;
    for (gfx::Color c : SkyPixels()) {
        ASSERT_EQ(gfx::RedOf(c), 0);
        ASSERT_EQ(gfx::GreenOf(c), 0);
        ASSERT_LE(gfx::BlueOf(c), 52);
        blue += gfx::BlueOf(c) > 0;
    }
    EXPECT_GT(blue, 5000);
}

TEST_F(MoonTest, QuartersAreLitOnOppositeSidesAndMirroredInTheSouth) {
    // The random turn stays within about ±68°, so the lit half keeps its side.
    struct Case {
        int phase;
        int southern;
        int side;  // +1 lit on the right, -1 on the left
    };
    for (const Case& c : {Case{270, 0, +1}, Case{90, 0, -1}, Case{270, 1, -1}, Case{90, 1, +1}}) {
        ResetMoon();
        sky.FillRect(gfx::Rect{0, 0, kSkyWidth, kSkyHeight}, gfx::Brush::Black());
        moon().SetSky(&sky, rect);
        SetPhase(c.phase);
        MainIni().WriteIntForUser("Params", "SouthernHemisphere", c.southern);
        CreateAndDraw();
        const Lit lit = LitPart();
        SCOPED_TRACE(::testing::Message() << "phase " << c.phase << " southern " << c.southern);
        EXPECT_GT(lit.count, 2500);
        EXPECT_LT(lit.count, 5000);
        EXPECT_GT(lit.meanDx * c.side, 8);
    }
}

TEST_F(MoonTest, ShadingKeepsTheLitSideAndFadesTowardsTheTerminator) {
    moon().enabled = 1;
    PlainPicture(gfx::Rgb(200, 200, 200));
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 100; ++y) moon().ShadePixel(x, y, 0);
    // Full: the middle column and the top and bottom of the disc keep their colour ...
    EXPECT_EQ(Picture(50, 50), gfx::Rgb(200, 200, 200));
    EXPECT_EQ(Picture(50, 1), gfx::Rgb(200, 200, 200));
    EXPECT_EQ(Picture(50, 99), gfx::Rgb(200, 200, 200));
    // ... the left rim falls to about a third (k = 89°); the right one, a pixel short
    // of the rim (dx = 49), to two thirds (k = -79°) ...
    EXPECT_NEAR(gfx::RedOf(Picture(0, 50)), 72, 2);
    EXPECT_NEAR(gfx::RedOf(Picture(99, 50)), 132, 2);
    EXPECT_LT(gfx::RedOf(Picture(90, 50)), 200);
    // ... and outside the disc everything is black.
    EXPECT_EQ(Picture(0, 0), 0u);
    EXPECT_EQ(Picture(99, 99), 0u);
    EXPECT_EQ(Picture(14, 14), 0u);

    PlainPicture(gfx::Rgb(255, 255, 255));
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 100; ++y) moon().ShadePixel(x, y, 90);
    // Last quarter: at a quarter of the way from the left rim the sun stands 60° off.
    EXPECT_EQ(gfx::RedOf(Picture(25, 50)), static_cast<int>(255 * 0.8409f));
    EXPECT_EQ(Picture(75, 50), gfx::Rgb(0, 0, 51));

    PlainPicture(gfx::Rgb(255, 255, 255));
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 100; ++y) moon().ShadePixel(x, y, 270);
    EXPECT_EQ(Picture(25, 50), gfx::Rgb(0, 0, 51));
    EXPECT_GT(gfx::RedOf(Picture(75, 50)), 200);
    // Angles beyond the circle shade as their place on it.
    PlainPicture(gfx::Rgb(255, 255, 255));
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 100; ++y) moon().ShadePixel(x, y, 270 - 3600);
    EXPECT_EQ(Picture(25, 50), gfx::Rgb(0, 0, 51));
    EXPECT_GT(gfx::RedOf(Picture(75, 50)), 200);
}

TEST_F(MoonTest, TheQuartersTerminatorIsUprightOnEveryRowAndTheyMirrorEachOther) {
    // On the centre column c = 0, acos gives 90.003° and e = -90, so k = ±90 and the cosine
    // of 90 × 3.1415 / 180 is still a little above 0: that column is lit, dimly, at both
    // quarters. One column to either side c is at least 0.02 in size, e passes -89 or -91,
    // |k| is 92 or 91 and the cosine is below 0. So the last quarter is lit on columns
    // 0..50 and the first quarter on 50..99, on every row of the disc alike; any slant on
    // the sky comes from the random turn that follows the shading.
    moon().enabled = 1;
    struct Case {
        int phase;
        int firstLit;
        int lastLit;
    };
    for (const Case& c : {Case{90, 0, 50}, Case{270, 50, 99}}) {
        PlainPicture(gfx::Rgb(255, 255, 255));
        for (int x = 0; x < 100; ++x)
            for (int y = 0; y < 100; ++y) moon().ShadePixel(x, y, c.phase);
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 100; ++x) {
                const bool inDisc = (x - 50) * (x - 50) + (y - 50) * (y - 50) <= 2500;
                const bool lit = inDisc && x >= c.firstLit && x <= c.lastLit;
                ASSERT_EQ(gfx::RedOf(Picture(x, y)) > 0, lit) << "phase " << c.phase << " at " << x << "," << y;
            }
        }
        // The terminator column itself is the dim rim of light, 255 × (4.6e-5)^(1/4) = 21.
        EXPECT_EQ(gfx::RedOf(Picture(50, 50)), 21) << "phase " << c.phase;
    }
}

TEST_F(MoonTest, ThePictureIsTheNearSideNorthUpOnBlack) {
    moon().MoonBmp.CreateFromResource(&sky, MOON::kBitmap);
    ASSERT_EQ(moon().MoonBmp.width, 100);
    ASSERT_EQ(moon().MoonBmp.height, 100);
    // Mean red of the disc's top, bottom, left and right halves.
    double sum[4] = {0, 0, 0, 0};
    int count[4] = {0, 0, 0, 0};
    int outsideLit = 0;
    int insideDark = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const int dx = x - 50;
            const int dy = y - 50;
            const gfx::Color c = Picture(x, y);
            if (dx * dx + dy * dy > 2500) {
                outsideLit += c != 0u;
                continue;
            }
            // Well inside the rim every pixel is lit, the darkest sea included.
            if (dx * dx + dy * dy <= 48 * 48) insideDark += gfx::RedOf(c) <= 30;
            const int half[2] = {y < 50 ? 0 : 1, x < 50 ? 2 : 3};
            for (int h : half) {
                sum[h] += gfx::RedOf(c);
                ++count[h];
            }
        }
    }
    EXPECT_EQ(outsideLit, 0);
    EXPECT_EQ(insideDark, 0);
    const double top = sum[0] / count[0], bottom = sum[1] / count[1];
    const double left = sum[2] / count[2], right = sum[3] / count[3];
    // The seas crowd the north and west of the face, the bright highlands the south:
    // an upside-down or mirrored map, or its far side, fails one of these.
    EXPECT_GT(bottom - top, 20) << "top " << top << " bottom " << bottom;
    EXPECT_GT(right - left, 10) << "left " << left << " right " << right;
}

TEST_F(MoonTest, EveningInAugustTintsTheMoonWarm) {
    moon().enabled = 1;
    clock.SetUtcMilliseconds(UtcMs(2011, 8, 15, 8));
    EXPECT_FLOAT_EQ(moon().GetIntensity(), 1.0f);
    PlainPicture(gfx::Rgb(255, 255, 255));
    moon().ApplyIntensity();
    EXPECT_EQ(Picture(40, 40), gfx::Rgb(229, 153, 127));
    EXPECT_NE(Log().find("Moon-LocalTime8"), std::string::npos);
    EXPECT_NE(Log().find("Moon-LocalMonth7"), std::string::npos);

    // The southern sky takes July for August; 20:00 is as warm as 08:00.
    moon().southernHemisphere = 1;
    EXPECT_NEAR(moon().GetIntensity(), 0.5f, 1e-5);
    clock.SetUtcMilliseconds(UtcMs(2011, 7, 15, 20));
    EXPECT_NEAR(moon().GetIntensity(), 1.0f, 1e-5);
    // At 14:00 outside the warm month the tint all but vanishes.
    clock.SetUtcMilliseconds(UtcMs(2011, 3, 15, 14));
    EXPECT_NEAR(moon().GetIntensity(), 0.0f, 1e-5);
}

TEST_F(MoonTest, MovesAboutOneTickInFiftyAndWrapsAtTheRight) {
    SetPhase(0);
    CreateAndDraw();
    const int afterFirst = moon().MoonBmp.x;
    int moves = 0;
    for (int i = 0; i < 5000; ++i) {
        const int before = moon().MoonBmp.x;
        moon().Step();
        moves += moon().MoonBmp.x != before;
    }
    // About one tick in fifty; with the generator seeded as above, exactly this many.
    EXPECT_EQ(moves, 84);
    EXPECT_EQ(moon().MoonBmp.x, (afterFirst + moves) % 500);

    // From column 499 of a 600-wide sky the moon goes on at column 0.
    moon().MoonBmp.x = 499;
    ForceMoonRedraw = 1;
    moon().Step();
    EXPECT_EQ(moon().MoonBmp.x, 0);
    EXPECT_GT(gfx::RedOf(SkyAt(50, 54)), 40);
}

TEST_F(MoonTest, ReservesItsSquareAndReleasesTheOldOneWhenItMoves) {
    SetPhase(0);
    moon().Create();
    const int x = moon().MoonBmp.x;
    // Create marks (x - 1, 3) .. (x + 99, 103) as moon.
    EXPECT_EQ(SkyMatrix.GetData(x - 1, 3), SpaceMatrixClass::kMoon);
    EXPECT_EQ(SkyMatrix.GetData(x + 99, 103), SpaceMatrixClass::kMoon);
    EXPECT_EQ(SkyMatrix.GetData(x + 100, 50), 0);
    EXPECT_EQ(SkyMatrix.GetData(x + 50, 104), 0);

    moon().Step();
    // The column it left is released; the new square reaches three pixels further.
    EXPECT_EQ(SkyMatrix.GetData(x - 1, 50), SpaceMatrixClass::kReleased);
    EXPECT_EQ(SkyMatrix.GetData(x, 50), SpaceMatrixClass::kMoon);
    EXPECT_EQ(SkyMatrix.GetData(x + 103, 106), SpaceMatrixClass::kMoon);
    EXPECT_EQ(SkyMatrix.GetData(x + 104, 50), 0);
    EXPECT_EQ(SkyMatrix.GetData(10, 150), 0);
}

TEST_F(MoonTest, DestroyErasesTheMoonAndReportsMisuse) {
    SetPhase(0);
    CreateAndDraw();
    moon().Destroy();
    EXPECT_FALSE(moon().Created());
    EXPECT_EQ(moon().MoonBmp.used, 0);
    for (gfx::Color c : SkyPixels()) ASSERT_EQ(c, 0u);
    EXPECT_EQ(PendingErrorText(), "");

    moon().Destroy();
    EXPECT_NE(PendingErrorText().find("Moon - 3501"), std::string::npos);
}

TEST_F(MoonTest, ASecondCreateReportsAndReplacesThePicture) {
    SetPhase(0);
    CreateAndDraw();
    moon().Create();
    EXPECT_NE(PendingErrorText().find("Moon - 3425"), std::string::npos);
    EXPECT_TRUE(moon().Created());
    EXPECT_EQ(moon().MoonBmp.width, 100);
    // The first moon was erased; the next step draws the new one at once.
    moon().Step();
    const MoonTest::Lit lit = LitPart();
    EXPECT_GT(lit.count, 7000);
    EXPECT_LT(lit.count, 8100);
}

TEST_F(MoonTest, SwitchedOffTheMoonDoesNothingAndIsNoError) {
    MainIni().WriteIntForUser("Params", "Moon", 0);
    moon().Create();
    EXPECT_FALSE(moon().Created());
    EXPECT_EQ(moon().MoonBmp.used, 0);
    for (int i = 0; i < 200; ++i) moon().Step();
    for (gfx::Color c : SkyPixels()) ASSERT_EQ(c, 0u);
    for (int x = 0; x < kSkyWidth; x += 7) ASSERT_EQ(SkyMatrix.GetData(x, 50), 0);
    moon().Destroy();
    EXPECT_EQ(PendingErrorText(), "");
}

TEST_F(MoonTest, AFailedDrawIsNotedInTheSettings) {
    moon().enabled = 1;  // switched on but never created: nothing to draw
    moon().Step();
    EXPECT_EQ(MainIni().ReadString("Debug", "MoonBmp.Display", ""), "FALSE");
}

TEST_F(MoonTest, PhaseOverrideChangesTheShadingButNotTheMoonText) {
    // 2010-03-10 lies between the full moons of 28 February and 30 March.
    moon().Create();
    const int realPhase = moon().MoonData().phaseAngle;
    const std::string realText = MoonText();
    ASSERT_GT(realPhase, 100);
    ASSERT_LT(realPhase, 200);
    moon().Destroy();

    SetPhase(0);
    ResetMoonText();
    moon().Create();
    moon().Step();
    EXPECT_EQ(moon().MoonData().phaseAngle, realPhase);
    EXPECT_EQ(MoonText(), realText);
    EXPECT_GT(LitPart().count, 7000);
}

TEST_F(MoonTest, ASkyNoWiderThanTheMoonKeepsItAtTheLeft) {
    SkyRect narrow{0, 0, 100, 120};
    moon().SetSky(&sky, narrow);
    SetPhase(0);
    CreateAndDraw();
    moon().Step();
    ForceMoonRedraw = 1;
    moon().Step();
    EXPECT_EQ(moon().MoonBmp.x, 0);
}

TEST_F(MoonTest, OverlapsCountsTouchingEdges) {
    moon().MoonBmp.x = 10;
    moon().MoonBmp.y = 4;  // the moon covers columns 10..109, rows 4..103
    EXPECT_EQ(moon().Overlaps(50, 50, 10, 10), 1);
    EXPECT_EQ(moon().Overlaps(110, 4, 10, 10), 1);
    EXPECT_EQ(moon().Overlaps(111, 4, 10, 10), 0);
    EXPECT_EQ(moon().Overlaps(0, 0, 10, 4), 1);
    EXPECT_EQ(moon().Overlaps(0, 0, 9, 3), 0);
    EXPECT_EQ(moon().Overlaps(50, 105, 10, 10), 0);
    EXPECT_EQ(moon().Overlaps(-2000000000, -2000000000, 2100000000, 2100000000), 1);
}

}  // namespace
}  // namespace lumi
