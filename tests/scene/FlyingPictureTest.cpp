// The flying picture: when it flies at all, which picture and words it takes, how much of
// a large picture shows, how the words trail it, and how it turns at the moon and the
// edges and pauses once the whole banner has left on the left.
#include "scene/FlyingPicture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gfx/BmpReader.h"
#include "gfx/PngWriter.h"
#include "media/Resources.h"
#include "moon/Moon.h"
#include "base/FakeClock.h"
#include "scene/SceneTestSupport.h"
#include "scene/Universe.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"
#include "base/Random.h"

namespace lumi {
namespace {

constexpr int kSkyWidth = 1280;
constexpr int kSkyHeight = 720;

// Every pixel differs from black and from its neighbours, so a copied block can be traced
// back to where in the picture it came from.
uint32_t Marker(int x, int y) {
    return static_cast<uint32_t>(x & 0xFF) | (static_cast<uint32_t>(y & 0xFF) << 8) |
           (static_cast<uint32_t>(0x40 + (x >> 8) * 0x20 + (y >> 8) * 0x80) << 16);
}

gfx::Image MarkedPicture(int width, int height) {
    gfx::Image image = *gfx::Image::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.SetPixel(x, y, Marker(x, y));
    return image;
}

class FlyingPictureTest : public testing::SkySceneTest {
protected:
    void SetUp() override {
        SkySceneTest::SetUp();
        if (HasFatalFailure()) return;
        SetClock(&clock);
        SeedRandom(5);
        UseSky(kSkyWidth, kSkyHeight, 60, gfx::DirtyTracking::Off);
        SkyMatrix.Create(kSkyWidth, kSkyHeight);
        // No moon in the way unless a test puts it there.
        TheMoon().MoonBmp.x = -5000;
    }
    void TearDown() override {
        picture.Destroy();
        SetClock(nullptr);
        SkySceneTest::TearDown();
    }

    static void Choose(int category) { MainIni().WriteIntForUser("FPicture", "Category", category); }
    static void OwnBanner(const std::string& text) {
        MainIni().WriteIntForUser("FPicture", "AutoText", 0);
        MainIni().WriteStringForUser("FPicture", "BANNER", text);
    }
    // The user's own picture category with this file.
    static void OwnPicture(const std::string& path) {
        Choose(10);
        MainIni().WriteStringForUser("FPicture", "BMPFILE", path);
    }
    std::string Log() const { return testing::ReadFile(folder.File("log.txt")); }

    FakeClock clock{1798146000LL * 1000, 0};
    FlyingPicture picture;
};

TEST_F(FlyingPictureTest, OnlyASkyLargerThan460BothWaysShowsAPicture) {
    Choose(15);
    UseSky(460, 800, 60);
    picture.Create();
    EXPECT_FALSE(picture.Flying());
    EXPECT_NE(Log().find("FlyingPicture: Stopped:small window"), std::string::npos);
    EXPECT_NE(Log().find("FlyingPicture-GlobalRect.right460"), std::string::npos);
    picture.Destroy();
    ResetErrorReports();

    UseSky(461, 461, 60);
    picture.Create();
    EXPECT_TRUE(picture.Flying());
    EXPECT_EQ(picture.x, 461);  // just outside the right edge
    EXPECT_GE(picture.y, 100);
}

TEST_F(FlyingPictureTest, JustTheSkyFliesNothingAndItsTeardownReportsIt) {
    // A new settings file selects "Just the sky".
    picture.Create();
    EXPECT_FALSE(picture.Flying());
    picture.Step();
    picture.Destroy();
    EXPECT_EQ(PendingErrorText(), "FlyingPicture - 2122");
}

TEST_F(FlyingPictureTest, TheQuoteOfTheCategoryIsCutIntoItsWords) {
    Choose(15);
    picture.Create();
    ASSERT_TRUE(picture.Flying());
    EXPECT_GE(picture.WordCount(), 3);
    EXPECT_NE(Log().find("Creating subbanner: " + std::string(picture.Word(0))), std::string::npos);
    // Each word is a strip of its own, 20 pixels wider than its text.
    EXPECT_GT(picture.WordBitmap(0).width, 20);
    EXPECT_EQ(picture.WordBitmap(0).used, 1);
}

TEST_F(FlyingPictureTest, ExtraBlanksMakeNoWordsAndOnlyThirtyWordsFly) {
    Choose(15);
    OwnBanner("  Hello   big  world  ");
    picture.Create();
    ASSERT_EQ(picture.WordCount(), 3);
    EXPECT_STREQ(picture.Word(0), "Hello");
    EXPECT_STREQ(picture.Word(1), "big");
    EXPECT_STREQ(picture.Word(2), "world");
    picture.Destroy();

    std::string forty;
    for (int i = 1; i <= 40; ++i) forty += "w" + std::to_string(i) + " ";
    OwnBanner(forty);
    picture.Create();
    ASSERT_EQ(picture.WordCount(), 30);
    EXPECT_STREQ(picture.Word(29), "w30");
}

TEST_F(FlyingPictureTest, ALargePictureShowsItsMiddle229Square) {
    const std::string path = folder.File("big.bmp");
    ASSERT_TRUE(gfx::WriteBmpFile(path, MarkedPicture(400, 300)));
    OwnPicture(path);
    picture.Create();
    ASSERT_TRUE(picture.Flying());
    EXPECT_EQ(picture.bitmapWidth, 400);
    EXPECT_EQ(picture.shownWidth, 230);
    EXPECT_EQ(picture.shownHeight, 230);
    picture.x = 600;
    picture.y = 200;
    picture.Step();
    const int x = picture.x, y = picture.y;
    EXPECT_EQ(x, 596);  // 80 px/s for 60 ms is 4.8 px: 4 now, the rest carried
    // (400 - 230) / 2 = 85 columns and (300 - 230) / 2 = 35 rows are left out.
    EXPECT_EQ(canvas->GetPixel(x, y), Marker(85, 35));
    EXPECT_EQ(canvas->GetPixel(x + 228, y + 228), Marker(85 + 228, 35 + 228));
    EXPECT_EQ(canvas->GetPixel(x + 229, y + 100), 0u);
    EXPECT_EQ(canvas->GetPixel(x + 100, y + 229), 0u);
    // The picture's square, all of it, is marked in the sky matrix.
    EXPECT_EQ(SkyMatrix.GetData(x + 229, y + 229), SpaceMatrixClass::kPicture);
}

TEST_F(FlyingPictureTest, APngPictureFliesToo) {
    const std::string path = folder.File("mine.png");
    const std::vector<uint8_t> png = gfx::EncodePng(MarkedPicture(90, 70));
    testing::WriteFile(path, std::string(png.begin(), png.end()));
    OwnPicture(path);
    picture.Create();
    ASSERT_TRUE(picture.Flying());
    EXPECT_EQ(picture.bitmapWidth, 90);
    picture.x = 600;
    picture.Step();
    EXPECT_EQ(canvas->GetPixel(picture.x + 5, picture.y + 7), Marker(5, 7));
}

TEST_F(FlyingPictureTest, AnUnreadableOwnPictureFallsBackToTheFrame) {
    const std::optional<gfx::Image> frame = LoadBitmapResource(149);
    ASSERT_TRUE(frame);
    const std::string hostile[] = {
        std::string("BM\xff\xff\xff\x7f", 6) + std::string(60, '\xff'),
        std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\x7f\xff\xff\xff\x7f\xff\xff\xff\x08\x02", 26),
        "just some text",
    };
    int n = 0;
    for (const std::string& bytes : hostile) {
        const std::string path = folder.File("bad" + std::to_string(n++));
        testing::WriteFile(path, bytes);
        OwnPicture(path);
        picture.Create();
        ASSERT_TRUE(picture.Flying()) << n;
        EXPECT_EQ(picture.bitmapWidth, frame->Width()) << n;
        picture.Destroy();
    }
    OwnPicture(folder.File("missing.bmp"));
    picture.Create();
    EXPECT_EQ(picture.bitmapWidth, frame->Width());
}

TEST_F(FlyingPictureTest, WithoutWordsThePauseStartsWhenThePictureHasLeft) {
    Choose(15);
    OwnBanner("");
    picture.Create();
    ASSERT_TRUE(picture.Flying());
    ASSERT_EQ(picture.WordCount(), 0);
    picture.x = -picture.shownWidth + 3;  // 4 pixels on and it is out
    picture.Step();
    EXPECT_EQ(picture.Pause().Length(), 20u);
    EXPECT_NE(Log().find("Banner just got out of screen. X was"), std::string::npos);
    EXPECT_EQ(picture.x, kSkyWidth);  // the next pass comes in from the right edge

    picture.Step();
    EXPECT_EQ(picture.x, kSkyWidth);  // paused
    clock.Advance(20000);
    picture.Step();
    EXPECT_EQ(picture.x, kSkyWidth - 5);  // 4.8 carried from before the pause, plus 4.8
}

TEST_F(FlyingPictureTest, WithWordsThePictureGoesOnUntilTheLastWordHasLeft) {
    Choose(15);
    OwnBanner("one two");
    picture.Create();
    picture.x = -picture.shownWidth + 3;
    picture.Step();
    EXPECT_EQ(picture.Pause().Length(), 0u);
    EXPECT_LT(picture.x, 0);
}

// At 60 ms a tick, a word d pixels behind trails by MulDiv(1200, d, 60 × 80) ticks.
TEST_F(FlyingPictureTest, TheFirstWordTrailsByThePictureWidthLengthenedByAFifth) {
    struct Case {
        int width;
        int trail;  // 1200 × 100 / 4800 = 25 exactly; 1200 × 230 / 4800 = 57.5, rounded up
    };
    for (const Case c : {Case{100, 25}, Case{400, 58}}) {
        const std::string path = folder.File("p" + std::to_string(c.width) + ".bmp");
        ASSERT_TRUE(gfx::WriteBmpFile(path, MarkedPicture(c.width, 80)));
        OwnPicture(path);
        OwnBanner("one two");
        picture.Create();
        ASSERT_EQ(picture.WordCount(), 2);
        std::vector<int> xs, ys;
        for (int k = 1; k <= c.trail; ++k) {
            picture.Step();
            xs.push_back(picture.x);
            ys.push_back(picture.y);
        }
        EXPECT_EQ(picture.WordBitmap(0).x, 0) << "not out yet after " << c.trail << " steps, " << c.width;
        picture.Step();
        // The place pushed at the first step: 10 pixels in from the picture's left edge,
        // the word's foot on the picture's bottom edge.
        const BitmapClass& word = picture.WordBitmap(0);
        EXPECT_EQ(word.x, xs[0] + 10) << c.width;
        EXPECT_EQ(word.y, ys[0] + picture.shownHeight - word.height) << c.width;
        picture.Destroy();
    }
}

TEST_F(FlyingPictureTest, TouchingTheMoonTurnsItDownAndKeepsItsPlace) {
    Choose(15);
    picture.Create();
    picture.x = 600;
    picture.y = 300;
    // The moon's square ends exactly where the picture's left edge will be after this
    // step's 4 pixels: touching counts.
    TheMoon().MoonBmp.x = 596 - MOON::kSize;
    TheMoon().MoonBmp.y = 300;
    // A moon that is switched off is not there to touch.
    const float before = picture.angle;
    picture.Step();
    EXPECT_EQ(picture.angle, before);
    EXPECT_EQ(picture.x, 596);
    picture.x = 600;

    TheMoon().created = 1;
    picture.Step();
    EXPECT_EQ(picture.angle, 1.4f);
    EXPECT_EQ(picture.x, 600);
    EXPECT_EQ(picture.y, 300);
    EXPECT_NEAR(picture.vx, 13.6, 0.1);  // cos(1.4) × 80: a little to the right
    EXPECT_NEAR(picture.vy, 78.8, 0.1);  // sin(1.4) × 80: mostly down
}

TEST_F(FlyingPictureTest, APictureTheMoonWrapsOntoTurnsDownAndLeavesIt) {
    Choose(15);
    picture.Create();
    MOON& moon = TheMoon();
    moon.SetSky(SkyDC(), SaverRun().ScreenRect);
    moon.enabled = 1;
    moon.created = 1;
    // A fresh picture waits at x = 1280; the moon's rightmost place is 1280 - 100 - 1
    // (it wraps before the 1180 of w = 1180), so the picture starts a pixel clear of it.
    moon.MoonBmp.x = 1179;
    moon.MoonBmp.y = picture.y;
    EXPECT_EQ(picture.x, kSkyWidth);
    EXPECT_EQ(moon.Overlaps(picture.x, picture.y, picture.shownWidth, picture.shownHeight), 0);

    // From there the moon's next move wraps it to the left edge, onto a picture (130 × 100)
    // flying at the top left.
    moon.MoonBmp.y = MOON::kTop;
    picture.x = 20;
    picture.y = 40;
    ForceMoonRedraw = 1;
    moon.Step();
    ASSERT_EQ(moon.MoonBmp.x, 0);
    SaverRun().TickCounter = 0;  // no course change in these steps
    picture.Step();
    EXPECT_EQ(picture.angle, 1.4f);
    // Turned down and a little right, 78.8 × 0.06 = 4.7 pixels down a tick: clear of the
    // moon's bottom edge (y 104) after about 65 / 4.7 = 14 ticks.
    int steps = 1;
    while (steps < 60 && moon.Overlaps(picture.x, picture.y, picture.shownWidth, picture.shownHeight)) {
        picture.Step();
        ++steps;
    }
    EXPECT_GE(steps, 12);
    EXPECT_LE(steps, 16);
    EXPECT_GT(picture.y, 104);
    EXPECT_GE(picture.x, 16);
    const int y = picture.y;
    picture.Step();
    EXPECT_GT(picture.y, y);
}

TEST_F(FlyingPictureTest, TheTopEdgeReflectsTheCourse) {
    Choose(15);
    picture.Create();
    picture.x = 600;
    picture.y = 1;
    picture.angle = 4.5f;  // up and a little left
    picture.vx = static_cast<float>(std::cos(4.5) * 80);
    picture.vy = static_cast<float>(std::sin(4.5) * 80);
    picture.Step();
    EXPECT_EQ(picture.angle, 6.28f - 4.5f);
    EXPECT_EQ(picture.x, 600);
    EXPECT_EQ(picture.y, 1);
    EXPECT_GT(picture.vy, 0);
}

TEST_F(FlyingPictureTest, WithoutASkyToDrawOnNothingIsDrawnAndTheTeardownStillLetsGo) {
    Choose(15);
    SetSkyDC(nullptr);
    picture.Create();
    EXPECT_EQ(PendingErrorText(), "FlyingPic - 961");
    for (int i = 0; i < 3; ++i) picture.Step();
    picture.Destroy();
    ResetErrorReports();
    SetSkyDC(canvas.get());
    picture.Create();
    EXPECT_TRUE(picture.Flying());
    EXPECT_EQ(PendingErrorText(), "");
}

TEST_F(FlyingPictureTest, ASecondFlightInOneRunGetsItsOwnTrail) {
    Choose(15);
    picture.Create();
    for (int i = 0; i < 3; ++i) picture.Step();
    picture.Destroy();
    EXPECT_EQ(PendingErrorText(), "");
    picture.Create();
    for (int i = 0; i < 3; ++i) picture.Step();
    EXPECT_EQ(picture.Register().Held(), 3);
}

// The whole sky as the saver steps it: the witch crosses with her quote behind her.
class FlyingPictureSkyTest : public FlyingPictureTest {};

TEST_F(FlyingPictureSkyTest, TheWitchFliesWithHerWordsBehindHerAndClearOfTheMoon) {
    Choose(15);
    UseSky(kSkyWidth, kSkyHeight, 40, gfx::DirtyTracking::Off);
    SeedRandom(3);
    Universe universe;
    universe.Create();
    const std::optional<gfx::Image> witch = LoadBitmapResource(118);
    ASSERT_TRUE(witch);
    for (int i = 0; i < 300; ++i) {
        universe.Step();
        ++SaverRun().TickCounter;
    }
    FlyingPicture& flying = universe.Flying();
    ASSERT_TRUE(flying.Flying());
    ASSERT_GT(flying.x, 0);
    ASSERT_LT(flying.x + flying.shownWidth, kSkyWidth);
    int matching = 0, lit = 0;
    for (int j = 0; j < flying.shownHeight - 1; ++j) {
        for (int i = 0; i < flying.shownWidth - 1; ++i) {
            if (witch->Pixel(i, j) == 0) continue;
            ++lit;
            matching += canvas->GetPixel(flying.x + i, flying.y + j) == witch->Pixel(i, j);
        }
    }
    EXPECT_EQ(matching, lit);
    // The first words have come out and follow on the right.
    ASSERT_GT(flying.WordCount(), 2);
    EXPECT_GT(flying.WordBitmap(0).x, flying.x + flying.shownWidth);
    EXPECT_GT(flying.WordBitmap(1).x, flying.WordBitmap(0).x);
    const MOON& moon = TheMoon();
    const bool apart = flying.x > moon.MoonBmp.x + MOON::kSize || flying.x + flying.shownWidth < moon.MoonBmp.x ||
                       flying.y > moon.MoonBmp.y + MOON::kSize || flying.y + flying.shownHeight < moon.MoonBmp.y;
    EXPECT_TRUE(apart);
    universe.Destroy();
}

TEST_F(FlyingPictureSkyTest, JustTheSkyAndANarrowSkyShowNothingFlying) {
    Universe universe;
    universe.Create();
    for (int i = 0; i < 5; ++i) universe.Step();
    EXPECT_FALSE(universe.Flying().Flying());
    universe.Destroy();

    Choose(15);
    UseSky(460, 720, 60);
    universe.Create();
    universe.Step();
    EXPECT_FALSE(universe.Flying().Flying());
    universe.Destroy();
}

}  // namespace
}  // namespace lumi
