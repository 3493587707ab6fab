// The whole sky on a 1280 x 720 surface, stepped as the saver steps it, checked by its
// pixels: the message stars gather where the message is, the fixed stars stay spread and
// drawn, the bottom line scrolls along its band, the moon shines, and the next message
// takes over in one step when the line has passed.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "mail/NewMail.h"
#include "moon/Moon.h"
#include "base/FakeClock.h"
#include "scene/MessageCanvas.h"
#include "scene/Projection.h"
#include "scene/SceneTestSupport.h"
#include "scene/StarPalette.h"
#include "scene/StepFlags.h"
#include "scene/TextToStars.h"
#include "scene/Universe.h"
#include "settings/IniFile.h"
#include "base/Random.h"

namespace lumi {
namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kTickMs = 60;
constexpr int kFlightTicks = 20000 / kTickMs;
// 2026-12-24 21:00 UTC, twenty hours after a full moon.
constexpr int64_t kNearFullMoonMs = 1798146000LL * 1000;

struct Box {
    int left, top, right, bottom;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    int Area() const { return (right - left) * (bottom - top); }
};

class SkyIntegrationTest : public testing::SkySceneTest {
protected:
    void SetUp() override {
        SkySceneTest::SetUp();
        if (HasFatalFailure()) return;
        SetClock(&clock);
        SeedRandom(7);
        UseSky(kWidth, kHeight, kTickMs, gfx::DirtyTracking::Off);
        StoreMessage(0, "HEART", "love");
        StoreMessage(1, "Hi", "hello");
    }
    void TearDown() override {
        SetClock(nullptr);
        SkySceneTest::TearDown();
    }

    // Where the current message lands on the sky (its canvas scaled and moved).
    static Box MessageBox() {
        const TextMappingState& m = TextMapping();
        const MessageCanvasClass& c = MessageCanvas();
        return Box{m.BiasX, m.BiasY, m.BiasX + static_cast<int>(c.canvasWidth * m.ScaleFactor) + 1,
                   m.BiasY + static_cast<int>(c.canvasHeight * m.ScaleFactor) + 1};
    }

    Box MoonSquare() const {
        const MOON& moon = TheMoon();
        return Box{moon.MoonBmp.x - 1, moon.MoonBmp.y - 1, moon.MoonBmp.x + MOON::kSize + 1,
                   moon.MoonBmp.y + MOON::kSize + 1};
    }

    Box BottomBand(Universe& universe) const {
        const int height = universe.BottomLine().tBmp.height;
        return Box{0, kHeight - height - BOTTOMLINE::kBottomGap, kWidth, kHeight - BOTTOMLINE::kBottomGap};
    }

    bool Lit(int x, int y) const { return canvas->GetPixel(x, y) != 0; }

    FakeClock clock{kNearFullMoonMs, 0};
};

TEST_F(SkyIntegrationTest, TheMessageStarsGatherOnTheHeartAndTheFixedStarsStaySpread) {
    Universe universe;
    universe.Create();
    const Box heart = MessageBox();
    for (int i = 0; i < kFlightTicks + 5; ++i) universe.Step();

    const Box moon = MoonSquare();
    const Box band = BottomBand(universe);
    long inside = 0;
    long outside = 0;
    long outsideArea = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (moon.Contains(x, y) || band.Contains(x, y)) continue;
            if (heart.Contains(x, y)) {
                inside += Lit(x, y);
            } else {
                outside += Lit(x, y);
                ++outsideArea;
            }
        }
    }
    const double insideDensity = static_cast<double>(inside) / heart.Area();
    const double outsideDensity = static_cast<double>(outside) / static_cast<double>(outsideArea);
    EXPECT_GT(inside, 2000) << "the heart's stars are drawn";
    EXPECT_GT(insideDensity, 20 * outsideDensity) << "inside " << insideDensity << ", outside " << outsideDensity;

    // Every message star that got a pixel sits on it now; the others are hidden.
    for (const GlyphStar& star : universe.MessageStars()) {
        ASSERT_EQ(star.x, star.targetX);
        ASSERT_EQ(star.y, star.targetY);
        if (star.y != 0) {
            ASSERT_TRUE(heart.Contains(star.x, star.y)) << star.x << "," << star.y;
        }
    }

    // The fixed stars are drawn wherever the moon does not cover them, all over the sky.
    int quadrant[4] = {0, 0, 0, 0};
    for (const STAR& star : universe.Stars()) {
        if (star.y == 0 || moon.Contains(star.x, star.y)) continue;
        EXPECT_TRUE(Lit(star.x, star.y)) << star.x << "," << star.y;
        ++quadrant[(star.x >= kWidth / 2 ? 1 : 0) + (star.y >= kHeight / 2 ? 2 : 0)];
    }
    for (int q = 0; q < 4; ++q) EXPECT_GT(quadrant[q], 25) << "quadrant " << q;
    universe.Destroy();
}

TEST_F(SkyIntegrationTest, TheBottomLineScrollsInAlongItsBandOnceTheMessageHasFormed) {
    Universe universe;
    universe.Create();
    for (int i = 0; i < kFlightTicks; ++i) universe.Step();
    const Box band = BottomBand(universe);
    auto lineColoured = [&](int fromX) {
        // The line is drawn in the configured colour (cyan by default); stars are white
        // and blue, so a pixel with green but no red is the line's.
        int count = 0;
        for (int y = band.top; y < band.bottom; ++y)
            for (int x = fromX; x < kWidth; ++x) {
                const gfx::Color c = canvas->GetPixel(x, y);
                count += gfx::GreenOf(c) > 128 && gfx::RedOf(c) < 64;
            }
        return count;
    };
    EXPECT_EQ(lineColoured(0), 0) << "the line waits while the message forms";

    for (int i = 0; i < 60; ++i) universe.Step();
    EXPECT_GT(lineColoured(kWidth - 120), 30);
    EXPECT_EQ(lineColoured(0), lineColoured(kWidth - 120)) << "nothing of it left of where it has come";
    universe.Destroy();
}

TEST_F(SkyIntegrationTest, TheMoonShinesNearFullAndIsGoneWhenSwitchedOff) {
    Universe universe;
    universe.Create();
    for (int i = 0; i < 3; ++i) universe.Step();
    ASSERT_TRUE(TheMoon().Created());
    const Box moon = MoonSquare();
    int bright = 0;
    for (int y = moon.top; y < moon.bottom; ++y)
        for (int x = moon.left; x < moon.right; ++x) {
            const gfx::Color c = canvas->GetPixel(x, y);
            bright += gfx::RedOf(c) + gfx::GreenOf(c) + gfx::BlueOf(c) > 240;
        }
    // The disc is about 7,850 pixels; at 95 % lit most of it is bright.
    EXPECT_GT(bright, 5500);
    universe.Destroy();
    for (int y = moon.top; y < moon.bottom; ++y)
        for (int x = moon.left; x < moon.right; ++x) ASSERT_FALSE(Lit(x, y)) << "erased at teardown";

    SettingMoon.Set(0);
    ResetMoon();
    universe.Create();
    for (int i = 0; i < 3; ++i) universe.Step();
    EXPECT_FALSE(TheMoon().Created());
    int lit = 0;
    for (int y = 0; y < 110; ++y)
        for (int x = 0; x < kWidth; ++x) lit += Lit(x, y);
    EXPECT_LT(lit, 300) << "only the odd star in the moon's strip";
    universe.Destroy();
}

TEST_F(SkyIntegrationTest, WhenTheLinePassesEveryMessageStarFliesToTheNextMessageInOneStep) {
    Universe universe;
    universe.Create();
    const Box heart = MessageBox();
    int steps = 0;
    while (!StepFlags().retarget && steps < 5000) {
        for (const GlyphStar& star : universe.MessageStars()) ASSERT_EQ(star.moveCountdown > 0, steps < kFlightTicks);
        universe.Step();
        ++steps;
    }
    ASSERT_TRUE(StepFlags().retarget) << "the line never finished";
    // The flight, then the line across the sky and its own width, two pixels a step.
    EXPECT_GT(steps, kFlightTicks + kWidth / 2);
    EXPECT_EQ(universe.MessageText(), "Hi");
    EXPECT_EQ(universe.BottomLine().finished, 0);
    EXPECT_EQ(universe.BottomLine().scrollOffset, 0);
    EXPECT_EQ(BottomLineText().rfind("hello", 0), 0u);

    const Box hi = MessageBox();
    int leaving = 0;
    for (const GlyphStar& star : universe.MessageStars()) {
        ASSERT_EQ(star.moveCountdown, star.moveTicks - 1);
        // A star on the heart starts from there, wherever its new target is.
        if (heart.Contains(star.startX, star.startY)) ++leaving;
        if (star.targetY != 0 && star.targetY != kHeight) {
            ASSERT_TRUE(hi.Contains(star.targetX, star.targetY));
        }
    }
    EXPECT_GT(leaving, 2000);

    for (int i = 0; i < kFlightTicks; ++i) universe.Step();
    for (const GlyphStar& star : universe.MessageStars()) {
        if (star.y != 0) {
            ASSERT_TRUE(hi.Contains(star.x, star.y)) << star.x << "," << star.y;
        }
    }
    universe.Destroy();
}

// A star standing as it was drawn, with nothing drawn near it since, is not drawn again.
// On a surface that keeps no record of what was drawn every star is drawn every tick, so
// the same sky stepped on both must show the same pixels after every tick: through the
// flight, the moon, twinkles, the bottom line scrolling, and the next message's flight.
TEST_F(SkyIntegrationTest, StarsLeftStandingShowTheSamePixelsAsStarsDrawnEveryTick) {
    // Made once per process, and its settings check draws a random number: made before
    // both runs, it draws in neither.
    TheNewMail();
    const auto PixelsHash = [&] {
        return std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(surface->Data()),
                                                              size_t{kWidth} * kHeight * sizeof(uint32_t)));
    };
    const auto run = [&](gfx::DirtyTracking tracking) {
        // Each run from the same start: the first one stored that it moved on to the next
        // message, and its sleeps moved the clock on.
        TearDown();
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) std::filesystem::remove_all(entry);
        clock = FakeClock{kNearFullMoonMs, 0};
        SetUp();
        UseSky(kWidth, kHeight, kTickMs, tracking);
        Universe universe;
        universe.Create();
        std::vector<size_t> ticks;
        int flights = 0;
        for (int step = 0; step < 5000 && flights < 2; ++step) {
            universe.Step();
            ticks.push_back(PixelsHash());
            if (StepFlags().retarget) ++flights;
        }
        // Into the next message's flight far enough for stars to leave the heart.
        for (int i = 0; i < 60; ++i) {
            universe.Step();
            ticks.push_back(PixelsHash());
        }
        universe.Destroy();
        return ticks;
    };
    const std::vector<size_t> drawnEveryTick = run(gfx::DirtyTracking::Off);
    const std::vector<size_t> leftStanding = run(gfx::DirtyTracking::On);
    ASSERT_GT(drawnEveryTick.size(), size_t{kFlightTicks + kWidth / 2});
    ASSERT_EQ(leftStanding.size(), drawnEveryTick.size());
    for (size_t i = 0; i < drawnEveryTick.size(); ++i) ASSERT_EQ(leftStanding[i], drawnEveryTick[i]) << "tick " << i;
}

}  // namespace
}  // namespace lumi
