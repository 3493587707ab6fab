// The airplanes: headings, placement, the blink, wrapping at the edges, and the cosmos
// and application object that start, tick and end them on a recording window.
#include "sky/Application.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "common/TestSupport.h"
#include "settings/IniFile.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {
namespace {

// A window that records what is drawn on it and how its device context is used.
class RecordingDevice : public TpelurWindowDevice {
public:
    TpelurDeviceContext GetDC(WindowHandle) override {
        ++taken;
        return drawable ? this : nullptr;
    }
    void ReleaseDC(WindowHandle, TpelurDeviceContext) override { ++released; }
    TpelurRect GetClientRect(WindowHandle) override { return rect; }
    void SetPixel(TpelurDeviceContext, int x, int y, uint32_t colour) override {
        pixels[{x, y}] = colour;
        writes.push_back(colour);
    }

    TpelurRect rect{0, 0, 640, 480};
    bool drawable = true;
    int taken = 0;
    int released = 0;
    std::map<std::pair<int, int>, uint32_t> pixels;
    std::vector<uint32_t> writes;
};

class AirplaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        SeedRandom(5);
        display.SetDevice(&device);
        display.BeginDraw();
    }
    void TearDown() override {
        display.EndDraw();
        ResetMainIni();
    }
    bool Logged(const std::string& text) {
        return testing::ReadFile(folder.File("log.txt")).find(text) != std::string::npos;
    }

    testing::TempFolder folder;
    RecordingDevice device;
    TpelurDisplayWin display;
};

TEST_F(AirplaneTest, SteepHeadingsAreTurnedTowardsTheHorizontal) {
    EXPECT_NEAR(TpelurAirplane::Heading(1.0f), -0.57f, 1e-6);
    EXPECT_FLOAT_EQ(TpelurAirplane::Heading(3.0f), 3.0f);
    EXPECT_NEAR(TpelurAirplane::Heading(4.5f), 2.93f, 1e-6);
    // The bounds themselves are not steep.
    EXPECT_FLOAT_EQ(TpelurAirplane::Heading(0.785f), 0.785f);
    EXPECT_FLOAT_EQ(TpelurAirplane::Heading(5.495f), 5.495f);
}

TEST_F(AirplaneTest, AirplanesStartOnTheDisplayFlyingNearlyLevel) {
    for (int i = 0; i < 300; ++i) {
        TpelurAirplane plane(&display);
        EXPECT_GE(plane.x, 0.0f);
        EXPECT_LT(plane.x, 640.0f);
        EXPECT_GE(plane.y, 0.0f);
        EXPECT_LT(plane.y, 480.0f);
        const float speed = std::hypot(plane.vx, plane.vy);
        EXPECT_GE(speed, 16.0f - 1e-3f);
        EXPECT_LT(speed, 24.0f + 1e-3f);
        EXPECT_LE(std::fabs(plane.vy), std::fabs(plane.vx) + 0.02f);
        EXPECT_EQ(plane.boundary, Boundary::Wrap);
        EXPECT_EQ(plane.width, 2);
        EXPECT_EQ(plane.height, 1);
        EXPECT_GE(plane.blinkPhase, 0.0f);
        EXPECT_LT(plane.blinkPhase, 2.2f);
    }
}

TEST_F(AirplaneTest, WithoutADisplayAnAirplaneIsInert) {
    TpelurAirplane plane(nullptr);
    EXPECT_EQ(plane.x, 0.0f);
    EXPECT_EQ(plane.vx, 0.0f);
    EXPECT_EQ(plane.vy, 0.0f);
    plane.Move(0.05f);
    EXPECT_TRUE(device.writes.empty());
    EXPECT_TRUE(Logged("NULL aDisplayRect parameter"));

    plane.SetRandomLocation();
    EXPECT_EQ(plane.x, 2.0f);
    EXPECT_EQ(plane.y, 4.0f);
    EXPECT_TRUE(Logged("ERROR> TpelurSkyObject::SetRandomLocation: NULL DisplayPtr"));
}

TEST_F(AirplaneTest, TheLightIsRedWithAShortWhiteFlash) {
    TpelurAirplane plane(&display);
    plane.blinkPhase = 1.95f;
    plane.timeStep = 0.05f;
    std::vector<uint32_t> colours;
    for (int i = 0; i < 9; ++i) {
        device.writes.clear();
        plane.Show();
        ASSERT_EQ(device.writes.size(), 2u);
        EXPECT_EQ(device.writes[0], device.writes[1]) << "both pixels of the light match";
        colours.push_back(device.writes[0]);
    }
    const uint32_t r = TpelurAirplane::kRed;
    const uint32_t w = TpelurAirplane::kWhite;
    // White from 2.0 until 2.2, once more as the phase wraps to 0, then red again.
    const std::vector<uint32_t> expected = {r, w, w, w, w, w, w, r, r};
    EXPECT_EQ(colours, expected);
}

TEST_F(AirplaneTest, MovingErasesTheOldLightAndDrawsTheNewOne) {
    TpelurAirplane plane(&display);
    plane.x = 100.5f;
    plane.y = 50.0f;
    plane.vx = 20.0f;
    plane.vy = 0.0f;
    plane.blinkPhase = 0.0f;
    plane.Move(0.05f);
    EXPECT_FLOAT_EQ(plane.x, 101.5f);
    EXPECT_EQ((device.pixels[{100, 50}]), 0u);
    EXPECT_EQ((device.pixels[{101, 50}]), TpelurAirplane::kRed);
    EXPECT_EQ((device.pixels[{102, 50}]), TpelurAirplane::kRed);
}

TEST_F(AirplaneTest, AnAirplaneWrapsOnceWhollyPastAnEdge) {
    device.rect = {0, 0, 100, 50};
    display.BeginDraw();
    TpelurAirplane plane(&display);
    plane.y = 10;
    plane.vy = 0;

    plane.x = -1.0f;  // its right end still on the display
    plane.vx = -20.0f;
    plane.Move(0.05f);
    EXPECT_FLOAT_EQ(plane.x, -2.0f);
    plane.Move(0.05f);  // now x + 2 < left
    EXPECT_FLOAT_EQ(plane.x, 100.0f);

    plane.vx = 20.0f;
    plane.Move(0.05f);  // x 101 is right of the right edge
    EXPECT_FLOAT_EQ(plane.x, -2.0f);

    plane.x = 20;
    plane.y = -1.5f;
    plane.vx = 0;
    plane.vy = -20;
    plane.Move(0.05f);  // y + 1 < top
    EXPECT_FLOAT_EQ(plane.y, 50.0f);
}

TEST_F(AirplaneTest, ABouncingObjectTurnsBackAtTheEdges) {
    device.rect = {0, 0, 100, 50};
    display.BeginDraw();
    TpelurAirplane plane(&display);
    plane.boundary = Boundary::Bounce;
    plane.x = 0.5f;
    plane.y = 10;
    plane.vx = -20;
    plane.vy = 0;
    plane.Move(0.05f);
    EXPECT_FLOAT_EQ(plane.vx, 20.0f);
    plane.x = 98.5f;
    plane.Move(0.05f);
    EXPECT_FLOAT_EQ(plane.vx, -20.0f);
}

TEST_F(AirplaneTest, TheCosmosMakesMovesAndEndsThreeAirplanes) {
    TpelurCosmos cosmos;
    cosmos.Startup(&display);
    ASSERT_EQ(cosmos.Count(), 3);
    std::vector<float> before;
    for (int i = 0; i < 3; ++i) before.push_back(cosmos.Object(i)->x);
    device.writes.clear();
    cosmos.Tick(&display);
    EXPECT_EQ(device.writes.size(), 12u) << "each airplane erased and drawn: two pixels each";
    for (int i = 0; i < 3; ++i) EXPECT_EQ(cosmos.Object(i)->timeStep, 0.05f);

    cosmos.Shutdown(&display);
    EXPECT_EQ(cosmos.Count(), 0);
    device.writes.clear();
    cosmos.Tick(&display);
    EXPECT_TRUE(device.writes.empty());
}

TEST_F(AirplaneTest, NoAirplanesWhenSwitchedOffOrWithoutADisplay) {
    SettingAirplanes.Set(0);
    TpelurCosmos cosmos;
    cosmos.Startup(&display);
    EXPECT_EQ(cosmos.Count(), 0);
    cosmos.Tick(&display);
    EXPECT_TRUE(device.writes.empty());

    SettingAirplanes.Set(1);
    cosmos.Startup(nullptr);
    EXPECT_EQ(cosmos.Count(), 0);
    EXPECT_TRUE(Logged("WARNING> TpelurCosmos::Startup(): NULL aDisplay parameter"));
}

TEST_F(AirplaneTest, TheApplicationDrawsOnlyBetweenBeginAndEnd) {
    display.EndDraw();
    device.taken = device.released = 0;
    TpelurScreenSaveAppl_OLD appl;
    EXPECT_EQ(CurrentApplication(), &appl);
    appl.Startup(&display);
    EXPECT_EQ(appl.Cosmos()->Count(), 3);
    for (int i = 0; i < 5; ++i) appl.Tick(&display);
    appl.Shutdown(&display);
    EXPECT_EQ(appl.Cosmos()->Count(), 0);
    EXPECT_EQ(device.taken, 7);
    EXPECT_EQ(device.released, 7);
    EXPECT_FALSE(display.Drawing());
    EXPECT_EQ(appl.Display(), &display);
    EXPECT_TRUE(Logged("TpelurScreenSaveAppl_OLD: Startup()"));
    EXPECT_TRUE(Logged("TpelurScreenSaveAppl_OLD: Shutdown()"));

    // Outside BeginDraw nothing reaches the window.
    device.writes.clear();
    display.PutPixel(1, 1, TpelurAirplane::kRed);
    EXPECT_TRUE(device.writes.empty());
}

TEST_F(AirplaneTest, AWindowThatCannotBeDrawnOnGetsNoPixels) {
    device.drawable = false;
    TpelurScreenSaveAppl_OLD appl;
    appl.Startup(&display);
    device.writes.clear();
    appl.Tick(&display);
    EXPECT_TRUE(device.writes.empty());
    EXPECT_EQ(appl.Cosmos()->Count(), 3) << "the airplanes fly on unseen";
}

TEST_F(AirplaneTest, AnApplicationGoingAwayUnregistersOnlyItself) {
    auto first = std::make_unique<TpelurScreenSaveAppl_OLD>();
    auto second = std::make_unique<TpelurScreenSaveAppl_OLD>();
    EXPECT_EQ(CurrentApplication(), second.get());
    first.reset();
    EXPECT_EQ(CurrentApplication(), second.get());
    second.reset();
    EXPECT_EQ(CurrentApplication(), nullptr);
}

}  // namespace
}  // namespace lumi
