// The closing joke on a canvas: the shutdown screen, the confession, the black screen
// after, and when the joke is told at all.
#include "scene/ClosingJoke.h"

#include <gtest/gtest.h>

#include "media/Sound.h"
#include "scene/SceneTestSupport.h"
#include "base/Random.h"

namespace lumi {
namespace {

class ClosingJokeTest : public testing::SkySceneTest {
protected:
    void SetUp() override {
        SkySceneTest::SetUp();
        if (HasFatalFailure()) return;
        MainIni().WriteIntForUser("params", "Jokes", 1);
        UseSky(480, 300, 60);
    }
    // Tells the joke, noting every wait and what the screen showed during it.
    void Tell() {
        TellClosingJoke([this](uint32_t ms) {
            waits.push_back(ms);
            shown.push_back(surface->ReadPixels());
        });
    }
    bool AllBlack() const {
        for (gfx::Color c : surface->ReadPixels())
            if (c != 0) return false;
        return true;
    }

    RecordingSoundPlayer player;
    std::vector<uint32_t> waits;
    std::vector<std::vector<gfx::Color>> shown;
};

TEST_F(ClosingJokeTest, ShutdownScreenThenTheConfessionThenBlack) {
    Tell();
    EXPECT_EQ(player.aliases, std::vector<std::string>{"SystemExit"});
    ASSERT_EQ(waits, (std::vector<uint32_t>{1500, 3500}));

    // No system picture here: our own blue shutdown screen fills the sky, corner to corner.
    const std::vector<gfx::Color>& screen = shown[0];
    for (int at : {0, 479, 300 * 480 - 1, 150 * 480 + 240}) {
        const gfx::Color c = screen[at];
        EXPECT_GT((c >> 16) & 0xFF, (c & 0xFF) + 40) << at;  // far more blue than red
    }

    // The words in their orange, in the lower two thirds only, on black.
    const std::vector<gfx::Color>& words = shown[1];
    int orange = 0;
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 480; ++x) {
            const gfx::Color c = words[y * 480 + x];
            if (y < 100) {
                ASSERT_EQ(c, 0u) << x << "," << y;
            }
            orange += c == gfx::Rgb(229, 119, 50);
        }
    }
    EXPECT_GT(orange, 200);
    EXPECT_TRUE(AllBlack());
}

TEST_F(ClosingJokeTest, NeverInAPreviewSizedWindowNorWithJokesOff) {
    UseSky(400, 300, 60);
    Tell();
    UseSky(401, 300, 60);
    MainIni().WriteIntForUser("params", "Jokes", 0);
    Tell();
    EXPECT_TRUE(waits.empty());
    EXPECT_TRUE(player.aliases.empty());
    MainIni().WriteIntForUser("params", "Jokes", 1);
    Tell();
    EXPECT_EQ(waits.size(), 2u);
}

TEST_F(ClosingJokeTest, AboutOneCloseInTwentyFiveTellsIt) {
    UseSky(420, 60, 60);
    SeedRandom(25);
    int told = 0;
    const int closes = 2500;
    for (int i = 0; i < closes; ++i) {
        player.aliases.clear();
        ClosingJoke([](uint32_t) {});
        told += static_cast<int>(player.aliases.size());
    }
    // 1310 of the 32768 draws give 1: 100 expected; the band is over three deviations wide.
    EXPECT_GT(told, 65);
    EXPECT_LT(told, 135);
}

}  // namespace
}  // namespace lumi
