// Hot corners, the start-up switches, the old-TV effect and the saver parts that use them.
#include "host/HotCornerCheck.h"
#include "sky/HotCorners.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/TestSupport.h"
#include "gfx/Canvas.h"
#include "host/ProgramParts.h"
#include "host/StartUpEffects.h"
#include "settings/IniFile.h"
#include "base/Log.h"

namespace lumi {
namespace {

using gfx::Rgb;

class CornerHost : public SaverHost {
public:
    WindowHandle Window() override { return reinterpret_cast<WindowHandle>(0x77); }
    unsigned SetTimer(unsigned id, unsigned) override { return id; }
    void KillTimer(unsigned) override {}
    void PostClose() override {}
    SkyPoint GetCursorPos() override { return cursor; }
    void SetCursorPos(SkyPoint at) override { cursor = at; }
    SkyRect ClientRect() override { return {0, 0, screen.right - screen.left, screen.bottom - screen.top}; }
    SkyRect WindowScreenRect() override { return screen; }
    SkyRect PrimaryMonitorRect() override { return ClientRect(); }
    void SetToolWindowStyle() override {}
    bool AcquireSkyDC() override { return true; }
    void ReleaseSkyDC() override {}
    void PaintBlack(EraseCanvas) override {}
    void DrawTimingText(const SkyRect&, const std::string&) override {}

    SkyPoint cursor{500, 400};
    SkyRect screen{0, 0, 1024, 768};
};

class HotCornersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        ArmSwitchOffEffect();
    }
    void TearDown() override {
        BindProgramParts(nullptr);
        ArmSwitchOffEffect();
        ResetMainIni();
    }

    testing::TempFolder folder;
};

HotCorners Only(int HotCorners::*corner) {
    HotCorners c;
    c.*corner = 1;
    return c;
}

TEST_F(HotCornersTest, ACornerReachesSixtyFourPixelsInFromBothItsEdges) {
    const SkyRect w{100, 50, 1124, 818};
    const HotCorners tl = Only(&HotCorners::topLeft);
    EXPECT_EQ(CornerAt(w, {100 + 63, 50 + 63}, tl), kTopLeft);
    EXPECT_EQ(CornerAt(w, {100 + 64, 50}, tl), kNoCorner);
    EXPECT_EQ(CornerAt(w, {99, 50}, tl), kNoCorner);

    // The right and bottom edges are inside; right - 64 is not.
    const HotCorners tr = Only(&HotCorners::topRight);
    EXPECT_EQ(CornerAt(w, {1124, 50}, tr), kTopRight);
    EXPECT_EQ(CornerAt(w, {1124 - 64, 50}, tr), kNoCorner);
    EXPECT_EQ(CornerAt(w, {1125, 50}, tr), kNoCorner);
    EXPECT_EQ(CornerAt(w, {100, 818}, Only(&HotCorners::bottomLeft)), kBottomLeft);
    EXPECT_EQ(CornerAt(w, {1124, 818}, Only(&HotCorners::bottomRight)), kBottomRight);
    EXPECT_EQ(CornerAt(w, {1124, 818 - 64}, Only(&HotCorners::bottomRight)), kNoCorner);

    // A corner that is off never answers.
    EXPECT_EQ(CornerAt(w, {100, 50}, HotCorners()), kNoCorner);
}

TEST_F(HotCornersTest, InASmallWindowTheLaterCornerWins) {
    HotCorners all;
    all.topLeft = all.topRight = all.bottomLeft = all.bottomRight = 1;
    HotCorners top;
    top.topLeft = top.topRight = 1;
    EXPECT_EQ(CornerAt({0, 0, 100, 600}, {50, 10}, top), kTopRight);
    EXPECT_EQ(CornerAt({0, 0, 100, 100}, {50, 50}, all), kBottomRight);
    HotCorners left;
    left.topLeft = left.bottomLeft = 1;
    EXPECT_EQ(CornerAt({0, 0, 600, 100}, {10, 50}, left), kBottomLeft);
}

TEST_F(HotCornersTest, TheSwitchesLiveInTheUsersParamsSectionWithTheirDefaults) {
    HotCorners read;
    read.Read();
    EXPECT_EQ(read.topLeft, 0);
    EXPECT_EQ(read.bottomRight, 0);
    EXPECT_EQ(read.switchOffTV, 1);
    EXPECT_EQ(read.reachTheStars, 0);

    HotCorners stored;
    stored.topRight = 1;
    stored.bottomLeft = 1;
    stored.switchOffTV = 0;
    stored.reachTheStars = 1;
    stored.Write();
    EXPECT_EQ(MainIni().ReadIntForUser("params", "DisableTR", 0), 1);
    EXPECT_EQ(MainIni().ReadIntForUser("Params", "SwitchOffTV", 1), 0);
    HotCorners again;
    again.Read();
    EXPECT_EQ(again.topLeft, 0);
    EXPECT_EQ(again.topRight, 1);
    EXPECT_EQ(again.bottomLeft, 1);
    EXPECT_EQ(again.bottomRight, 0);
    EXPECT_EQ(again.switchOffTV, 0);
    EXPECT_EQ(again.reachTheStars, 1);
}

TEST_F(HotCornersTest, MouseInCornerReadsTheCursorAndSettingsAndLogsThem) {
    CornerHost host;
    EXPECT_EQ(MouseInCorner(host), kNoCorner);
    MainIni().WriteUIntForUser("Params", "DisableBR", 1);
    host.cursor = {1000, 760};
    EXPECT_EQ(MouseInCorner(host), kBottomRight);
    const std::string log = testing::ReadFile(folder.File("log.txt"));
    EXPECT_NE(log.find("MouseX1000"), std::string::npos);
    EXPECT_NE(log.find("MouseY760"), std::string::npos);
    EXPECT_NE(log.find("MouseInCorner4"), std::string::npos);

    // The saver's parts ask the host they are bound to; unbound, nothing vetoes a run.
    SaverParts& parts = ProgramSaverParts();
    EXPECT_EQ(parts.MouseInCorner(host.Window()), kNoCorner);
    BindProgramParts(&host);
    EXPECT_EQ(parts.MouseInCorner(host.Window()), kBottomRight);
}

TEST_F(HotCornersTest, TheCornersAreThoseOfTheWindowOnTheScreenNotOfItsClientArea) {
    // A full-screen window over a virtual screen with monitors left of and above the
    // primary one: its client area starts at 0,0, the window at (-1280, -200).
    CornerHost host;
    host.screen = {-1280, -200, 1920, 1080};
    HotCorners all;
    all.topLeft = all.topRight = all.bottomLeft = all.bottomRight = 1;
    all.Write();
    host.cursor = {-1280, -200};
    EXPECT_EQ(MouseInCorner(host), kTopLeft);
    host.cursor = {1919, -150};
    EXPECT_EQ(MouseInCorner(host), kTopRight);
    host.cursor = {-1220, 1079};
    EXPECT_EQ(MouseInCorner(host), kBottomLeft);
    host.cursor = {1920, 1080};
    EXPECT_EQ(MouseInCorner(host), kBottomRight);
    // The client area's corners lie mid-desktop and are no corners at all.
    host.cursor = {10, 10};
    EXPECT_EQ(MouseInCorner(host), kNoCorner);
    host.cursor = {3190, 1270};
    EXPECT_EQ(MouseInCorner(host), kNoCorner);
    const std::string log = testing::ReadFile(folder.File("log.txt"));
    EXPECT_NE(log.find("ScreenRectLeft-1280"), std::string::npos);
    EXPECT_NE(log.find("ScreenRectTop-200"), std::string::npos);
}

TEST_F(HotCornersTest, ClosingBandsAreASixteenthOfTheHeightRoundedUp) {
    EXPECT_EQ(SwitchOffBandHeight(100), 7);
    EXPECT_EQ(SwitchOffBandHeight(16), 1);
    EXPECT_EQ(SwitchOffBandHeight(17), 2);
    EXPECT_EQ(SwitchOffBandHeight(1080), 68);
    EXPECT_EQ(SwitchOffBandHeight(0), 0);
}

class EffectTest : public HotCornersTest {
protected:
    void SetUp() override {
        HotCornersTest::SetUp();
        surface = gfx::Surface::Create(40, 100, gfx::DirtyTracking::On);
        canvas = std::make_unique<gfx::Canvas>(surface);
        // The desktop picture the window starts with.
        canvas->FillRect({0, 0, 40, 100}, gfx::Brush::Solid(Rgb(90, 120, 200)));
    }
    bool AllBlackBut(int row) const {
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 40; ++x)
                if (y != row && canvas->GetPixel(x, y) != 0) return false;
        return true;
    }

    std::shared_ptr<gfx::Surface> surface;
    std::unique_ptr<gfx::Canvas> canvas;
};

TEST_F(EffectTest, TheDesktopClosesToALineThatShrinksToADotAndGoesBlack) {
    std::vector<uint32_t> pauses;
    bool lineSeen = false;
    const gfx::Pen pen = canvas->SelectPen(gfx::Pen::Solid(1, Rgb(1, 2, 3)));
    canvas->SelectPen(pen);
    SwitchOffEffect(*canvas, [&](uint32_t ms) {
        if (pauses.empty()) {
            // The first frame shown: black but for one white line across the middle.
            lineSeen = AllBlackBut(50);
            for (int x = 0; x < 40; ++x) lineSeen = lineSeen && canvas->GetPixel(x, 50) == Rgb(255, 255, 255);
        }
        pauses.push_back(ms);
    });
    EXPECT_TRUE(lineSeen);
    std::vector<uint32_t> expected(13, 15);
    expected.push_back(50);
    EXPECT_EQ(pauses, expected);
    EXPECT_TRUE(AllBlackBut(-1));
    // The window's drawing tools are as they were.
    EXPECT_EQ(canvas->SelectPen(gfx::Pen::Black()), pen);
    EXPECT_EQ(canvas->SelectBrush(gfx::Brush::Black()), gfx::Brush::White());

    // Once per process.
    EXPECT_FALSE(SwitchOffEffectPending());
    canvas->SetPixel(3, 3, Rgb(255, 0, 0));
    SwitchOffEffect(*canvas, [&](uint32_t ms) { pauses.push_back(ms); });
    EXPECT_EQ(pauses.size(), 14u);
    EXPECT_EQ(canvas->GetPixel(3, 3), Rgb(255, 0, 0));
}

TEST_F(EffectTest, TheSaverPartsRunTheEffectOnlyWhenSwitchedOn) {
    SaverParts& parts = ProgramSaverParts();
    BindProgramParts(nullptr, [](uint32_t) {});
    MainIni().WriteUIntForUser("Params", "SwitchOffTV", 0);
    EXPECT_FALSE(parts.RunStartUpEffect(nullptr, canvas.get())) << "the window is to be painted black";
    EXPECT_EQ(canvas->GetPixel(20, 20), Rgb(90, 120, 200));
    EXPECT_TRUE(SwitchOffEffectPending());

    MainIni().WriteUIntForUser("Params", "SwitchOffTV", 1);
    EXPECT_TRUE(parts.RunStartUpEffect(nullptr, canvas.get()));
    EXPECT_TRUE(AllBlackBut(-1));
    // A later erase leaves what the sky drew alone.
    canvas->SetPixel(5, 5, Rgb(255, 255, 255));
    EXPECT_TRUE(parts.RunStartUpEffect(nullptr, canvas.get()));
    EXPECT_EQ(canvas->GetPixel(5, 5), Rgb(255, 255, 255));
}

}  // namespace
}  // namespace lumi
