// The Universe's build and teardown order as the log shows it, its error report when
// stepped unbuilt, how its elements are joined (stars, message stars, moon, bottom line),
// and the shooting star's pace, fall and clean-up on a small sky.
#include "scene/Universe.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "sky/HotCorners.h"
#include "sky/SaverRun.h"
#include "moon/Moon.h"
#include "scene/SceneTestSupport.h"
#include "sky/SkyDC.h"
#include "sky/SpaceMatrix.h"
#include "scene/StarPalette.h"
#include "scene/StepFlags.h"
#include "support/ErrorReport.h"
#include "base/Random.h"

namespace lumi {
namespace {

using gfx::Rgb;

class UniverseTest : public testing::SkySceneTest {
protected:
    void SetUp() override {
        SkySceneTest::SetUp();
        if (HasFatalFailure()) return;
        SeedRandom(11);
        UseSky(64, 48, 60);
    }
    void TearDown() override {
        SetErrorTextPainter(nullptr);
        SkySceneTest::TearDown();
    }

    // The texts logged under the name "Universe", in order.
    std::vector<std::string> UniverseLog() {
        std::vector<std::string> texts;
        const std::string marker = "Universe: ";
        for (const std::string& line : testing::ReadLines(folder.File("log.txt"))) {
            const size_t at = line.find(marker);
            if (at != std::string::npos) texts.push_back(line.substr(at + marker.size()));
        }
        return texts;
    }

    // A star from a fresh reset that falls nearly straight, well inside the sky, so a
    // test sees it leave through the bottom edge.
    void ResetToCentralStar(ShootingStar& star) {
        const int width = SaverRun().ScreenRect.right;
        for (int tries = 0; tries < 10000; ++tries) {
            star.Reset();
            if (star.X() > width / 4 && star.X() < width * 3 / 4 && star.SpeedX() > -2000 && star.SpeedX() < 2000)
                return;
        }
        FAIL() << "no central star drawn";
    }

    // Steps until the star has started to fall; the number of steps taken.
    int StepsUntilFalling(ShootingStar& star) {
        int steps = 0;
        while (star.Y() == 0 && steps < 100000) {
            star.Step();
            ++steps;
        }
        return steps;
    }
};

TEST_F(UniverseTest, BuildsAndTearsDownInItsOrderAndASecondDestroyOnlySaysSo) {
    Universe universe;
    universe.Create();
    EXPECT_TRUE(universe.Created());
    universe.Destroy();
    EXPECT_FALSE(universe.Created());
    universe.Destroy();

    const std::vector<std::string> expected = {
        "Create", "Create-message stars", "Create-bottom line", "Create-stars", "Create-exit",
        "Destroy", "Destroing stars", "Destroing MStars", "Destroing TEvents", "Destroing Moon",
        "Destroing BottomLine", "Destroing FlyPic", "Destroy !Created"};
    EXPECT_EQ(UniverseLog(), expected);
}

TEST_F(UniverseTest, CreatingABuiltSceneTearsItDownFirst) {
    Universe universe;
    universe.Create();
    universe.Create();
    const std::vector<std::string> log = UniverseLog();
    ASSERT_GE(log.size(), 8u);
    EXPECT_EQ(log[5], "Create");
    EXPECT_EQ(log[6], "Destroy");
    EXPECT_EQ(log.back(), "Create-exit");
    EXPECT_TRUE(universe.Created());
}

TEST_F(UniverseTest, CreationLeavesTheSkyBlackAndTouchesNothingOutsideIt) {
    canvas->FillRect({0, 0, 64, 48}, gfx::Brush::Solid(Rgb(10, 20, 30)));
    SaverRun().ScreenRect = {0, 0, 40, 30};
    Universe universe;
    universe.Create();
    EXPECT_EQ(canvas->GetPixel(0, 0), 0u);
    EXPECT_EQ(canvas->GetPixel(39, 29), 0u);
    EXPECT_EQ(canvas->GetPixel(40, 29), Rgb(10, 20, 30));
    EXPECT_EQ(canvas->GetPixel(39, 30), Rgb(10, 20, 30));
}

TEST_F(UniverseTest, SteppingAnUnbuiltSceneBuildsItAndReportsIt) {
    std::vector<std::string> shown;
    SetErrorTextPainter([&shown](int, int, const std::string& text) { shown.push_back(text); });
    Universe universe;
    universe.Step();
    EXPECT_TRUE(universe.Created());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("universe - 160"), std::string::npos);

    universe.Step();
    EXPECT_EQ(shown.size(), 1u) << "a built scene steps without a report";
}

TEST_F(UniverseTest, AStepClearsTheStarFlagsAndRetargetsOnlyWhenANewMessageCame) {
    Universe universe;
    universe.Create();
    StepFlags().glyphMoved = true;
    StepFlags().retarget = true;
    universe.Step();
    // The message of the creation is still being written: nothing new to fly to.
    EXPECT_FALSE(StepFlags().retarget);
    EXPECT_TRUE(StepFlags().glyphMoved) << "the message stars are on their first flight";
    EXPECT_GE(StepFlags().twinklePick, 0);
    EXPECT_LT(StepFlags().twinklePick, 40000 / 60);

    universe.BottomLine().finished = 1;
    universe.Step();
    EXPECT_TRUE(StepFlags().retarget);
    universe.Step();
    EXPECT_FALSE(StepFlags().retarget);
    universe.Destroy();
}

TEST_F(UniverseTest, BuildsEveryStarWithItsTimingAndReleasesThePaletteForEach) {
    UseSky(320, 240, 60);
    StoreMessage(0, "HEART", "love");
    Universe universe;
    universe.Create();
    EXPECT_EQ(StarPalette().References(), Universe::kStarCount + Universe::kMessageStarCount);
    EXPECT_EQ(SkyMatrix.Width(), 320);
    EXPECT_EQ(SkyMatrix.Height(), 240);
    EXPECT_EQ(universe.MessageText(), "HEART");
    EXPECT_EQ(HiddenRowMarker(), 240);

    for (const STAR& star : universe.Stars()) {
        EXPECT_EQ(star.isGlyph, 0);
        EXPECT_GE(star.baseBrightness, 15);
        EXPECT_LT(star.baseBrightness, 30);
        EXPECT_EQ(star.moveTicks, 20000 / 60);
        EXPECT_EQ(star.twinkleLength, 2000 / 60);
        EXPECT_LT(star.twinkleId, 40000 / 60);
        // The moon was placed first, so no star sits on it.
        EXPECT_FALSE(SkyMatrix.GetData(star.x, star.y) & SpaceMatrixClass::kMoon) << star.x << "," << star.y;
    }
    int onTheHeart = 0;
    for (const GlyphStar& star : universe.MessageStars()) {
        EXPECT_EQ(star.isGlyph, 1);
        EXPECT_GE(star.baseBrightness, 30);
        EXPECT_LT(star.baseBrightness, 45);
        EXPECT_EQ(star.y, 0) << "hidden until its flight begins";
        if (star.targetY != 0) ++onTheHeart;
    }
    // The heart has fewer lit pixels than there are message stars: the rest stay hidden.
    EXPECT_GT(onTheHeart, 500);
    EXPECT_LT(onTheHeart, Universe::kMessageStarCount);
    EXPECT_TRUE(TheMoon().Created());
    EXPECT_EQ(universe.BottomLine().finished, 0);
    EXPECT_EQ(BottomLineText().rfind("love", 0), 0u);

    universe.Destroy();
    EXPECT_EQ(StarPalette().References(), 0);
    EXPECT_EQ(SkyMatrix.Width(), 0);
    EXPECT_FALSE(TheMoon().Created());
    EXPECT_FALSE(universe.BottomLine().tBmp.used);
}

TEST_F(UniverseTest, TheBottomLineHoldsStillWhileTheMessageFormsThenScrolls) {
    UseSky(320, 240, 60);
    StoreMessage(0, "HEART", "love");
    Universe universe;
    universe.Create();
    const int flight = 20000 / 60;
    // The first step follows no flight; the next `flight` steps each follow one.
    for (int i = 0; i < flight + 1; ++i) universe.Step();
    EXPECT_EQ(universe.BottomLine().scrollOffset, BOTTOMLINE::kStepPixels);
    universe.Step();
    universe.Step();
    EXPECT_EQ(universe.BottomLine().scrollOffset, 3 * BOTTOMLINE::kStepPixels);
    universe.Destroy();
}

TEST_F(UniverseTest, WhenTheBottomLineFinishesTheNextMessageTakesOverInThatStep) {
    UseSky(320, 240, 60);
    StoreMessage(0, "HEART", "love");
    StoreMessage(1, "", "nothing to see");
    StoreMessage(2, "Hi", "again");
    Universe universe;
    universe.Create();
    for (GlyphStar& star : universe.MessageStars()) star.moveCountdown = 0;

    // The empty message has no pixel: a hidden star keeps hiding where it is, a visible
    // one flies out below the sky.
    GlyphStar& hidden = universe.MessageStars()[0];
    hidden.x = 17;
    hidden.y = 0;
    GlyphStar& visible = universe.MessageStars()[1];
    visible.x = 40;
    visible.y = 50;
    universe.BottomLine().finished = 1;
    universe.Step();
    EXPECT_EQ(universe.MessageText(), " ");
    for (const GlyphStar& star : universe.MessageStars())
        ASSERT_EQ(star.moveCountdown, star.moveTicks - 1) << "every message star starts its flight at once";
    EXPECT_EQ(hidden.targetX, 17);
    EXPECT_EQ(hidden.targetY, 0);
    EXPECT_EQ(visible.targetY, 240);
    EXPECT_EQ(universe.BottomLine().finished, 0);
    EXPECT_TRUE(universe.BottomLine().tBmp.used);
    EXPECT_EQ(BottomLineText().rfind("nothing to see", 0), 0u);

    universe.BottomLine().finished = 1;
    universe.Step();
    EXPECT_EQ(universe.MessageText(), "Hi");
    EXPECT_EQ(BottomLineText().rfind("again", 0), 0u);
    universe.Destroy();
}

TEST_F(UniverseTest, TheSplashIsOnlyTriedOutsideAPreviewAndWhenSwitchedOn) {
    HotCorners corners;
    corners.reachTheStars = 1;
    corners.Write();
    auto splashTried = [this] {
        for (const std::string& line : testing::ReadLines(folder.File("log.txt")))
            if (line.find("SplashScreen: Create") != std::string::npos) return true;
        return false;
    };

    UseSky(400, 40, 60);
    Universe universe;
    universe.Create();
    EXPECT_FALSE(splashTried());
    // Torn down while its canvas is still there, as the saver window does.
    universe.Destroy();

    UseSky(401, 40, 60);
    universe.Create();
    EXPECT_TRUE(splashTried());
    // Whatever the splash showed is gone before the sky is handed over.
    EXPECT_EQ(canvas->GetPixel(200, 20), 0u);
    universe.Destroy();
}

TEST_F(UniverseTest, TheSplashIsPresentedAsSoonAsItIsDrawnAndNothingElseBeforeTheBuildEnds) {
    HotCorners corners;
    corners.reachTheStars = 1;
    corners.Write();
    UseSky(640, 480, 60);
    using Self = std::remove_pointer_t<decltype(this)>;
    struct Shown {
        Self* test;
        int presents = 0;
        int lit = 0;
        std::vector<std::string> builtBefore;
    } shown{this, 0, 0, {}};
    SetSkyPresenter(
        [](void* context) {
            auto* s = static_cast<Shown*>(context);
            ++s->presents;
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 640; ++x) s->lit += s->test->canvas->GetPixel(x, y) != 0;
            s->builtBefore = s->test->UniverseLog();
        },
        &shown);
    Universe universe;
    universe.Create();
    SetSkyPresenter(nullptr, nullptr);
    // Shown once, with the picture on the sky, before any star was made.
    EXPECT_EQ(shown.presents, 1);
    EXPECT_GT(shown.lit, 1000);
    EXPECT_EQ(shown.builtBefore, (std::vector<std::string>{"Create"}));
    universe.Destroy();

    // Without the splash nothing is presented in the middle of the build.
    corners.reachTheStars = 0;
    corners.Write();
    shown.presents = 0;
    SetSkyPresenter([](void* context) { ++static_cast<Shown*>(context)->presents; }, &shown);
    universe.Create();
    SetSkyPresenter(nullptr, nullptr);
    EXPECT_EQ(shown.presents, 0);
    universe.Destroy();
}

TEST_F(UniverseTest, TheShootingStarKeepsItsPaceWhateverTheTickTime) {
    for (int tickMs : {60, 30}) {
        SCOPED_TRACE(tickMs);
        UseSky(200, 10000, tickMs);
        ShootingStar star;
        const int wait = 30000 / tickMs;
        for (int i = 0; i < 200; ++i) {
            star.Reset();
            EXPECT_EQ(star.SpeedY(), tickMs * 500.0f);
            EXPECT_GE(star.SpeedX(), -tickMs * 250.0f);
            EXPECT_LT(star.SpeedX(), tickMs * 250.0f);
            EXPECT_GE(star.Age(), 0);
            EXPECT_LT(star.Age(), wait / 2);
        }
        // It waits between a half and the whole wait after a reset, then falls half a
        // pixel per millisecond of tick.
        ResetToCentralStar(star);
        const int steps = StepsUntilFalling(star);
        EXPECT_GT(steps, wait / 2);
        EXPECT_LE(steps, wait + 1);
        const float y = star.Y();
        EXPECT_EQ(y, tickMs / 2.0f);
        star.Step();
        EXPECT_EQ(star.Y(), y + tickMs / 2.0f);
    }
}

TEST_F(UniverseTest, TheShootingStarDrawsItsStreakAndPutsBackWhatItPassed) {
    UseSky(200, 300, 60);
    // A picture under the star's path: every pixel different.
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 200; ++x) canvas->SetPixel(x, y, Rgb(x % 251, y % 253, (x + y) % 127));
    const std::vector<gfx::Color> before = surface->ReadPixels();

    ShootingStar star;
    ResetToCentralStar(star);
    StepsUntilFalling(star);
    int moves = 0;
    while (star.Y() != 0) {
        const int x = static_cast<int>(star.X());
        const int y = static_cast<int>(star.Y());
        EXPECT_EQ(canvas->GetPixel(x, y), Rgb(255, 255, 255));
        EXPECT_EQ(canvas->GetPixel(x, y - 1), Rgb(200, 200, 255));
        EXPECT_EQ(canvas->GetPixel(x, y - 2), Rgb(150, 150, 255));
        // Everything but the streak is the picture as it was.
        std::vector<gfx::Color> now = surface->ReadPixels();
        for (int i = 0; i < 3; ++i) now[static_cast<size_t>(y - i) * 200 + x] = before[static_cast<size_t>(y - i) * 200 + x];
        EXPECT_EQ(now, before);
        star.Step();
        ++moves;
    }
    EXPECT_EQ(moves, 9) << "300 pixels at 30 a tick: the tenth move reaches the bottom edge";
    EXPECT_EQ(surface->ReadPixels(), before) << "leaving the sky puts back the last streak";
}

TEST_F(UniverseTest, TheShootingStarIsResetWhenItReachesTheBottomEdge) {
    UseSky(200, 90, 60);
    ShootingStar star;
    ResetToCentralStar(star);
    StepsUntilFalling(star);
    EXPECT_EQ(star.Y(), 30.0f);
    star.Step();
    EXPECT_EQ(star.Y(), 60.0f);
    star.Step();  // y would be 90, the sky's height: outside
    EXPECT_EQ(star.Y(), 0.0f);
    EXPECT_LT(star.Age(), 250);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 200; ++x) ASSERT_EQ(canvas->GetPixel(x, y), 0u) << x << "," << y;
}

TEST_F(UniverseTest, AStarWithoutASkyToDrawOnStillFalls) {
    UseSky(200, 300, 60);
    SetSkyDC(nullptr);
    ShootingStar star;
    ResetToCentralStar(star);
    StepsUntilFalling(star);
    EXPECT_EQ(star.Y(), 30.0f);
}

}  // namespace
}  // namespace lumi
