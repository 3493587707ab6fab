// The saver parts' application object: airplanes placed in the sky's rectangle and drawn
// on the sky's own surface, and gone after the close request.
#include "host/ProgramParts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "common/TestSupport.h"
#include "content/MessageStore.h"
#include "gfx/Canvas.h"
#include "host/SaverWindow.h"
#include "media/Sound.h"
#include "sky/SkyDC.h"
#include "settings/IniFile.h"
#include "sky/Application.h"
#include "base/FakeClock.h"
#include "base/Log.h"
#include "base/Random.h"
#include "base/FakeClock.h"
#include "host/SurfaceHost.h"

namespace lumi {
namespace {

class ProgramPartsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        ResetSaverRun();
        SeedRandom(9);
        SaverRun().ScreenRect = {0, 0, 120, 80};
        surface = gfx::Surface::Create(160, 100, gfx::DirtyTracking::On);
        canvas = std::make_unique<gfx::Canvas>(surface);
    }
    void TearDown() override {
        ProgramSaverParts().ApplicationShutdown();
        SetSkyDC(nullptr);
        ResetSaverRun();
        ResetMainIni();
    }
    int LitPixels() const {
        int lit = 0;
        for (gfx::Color c : surface->ReadPixels()) lit += c != 0;
        return lit;
    }
    // Every lit pixel is an airplane's light.
    bool OnlyLights() const {
        for (gfx::Color c : surface->ReadPixels())
            if (c != 0 && c != TpelurAirplane::kRed && c != TpelurAirplane::kWhite) return false;
        return true;
    }

    testing::TempFolder folder;
    std::shared_ptr<gfx::Surface> surface;
    std::unique_ptr<gfx::Canvas> canvas;
};

TEST_F(ProgramPartsTest, AirplanesFlyInTheSkyAndDrawOnItsSurfaceOnceItExists) {
    SaverParts& parts = ProgramSaverParts();
    parts.ApplicationStartup();  // before the first tick: no surface to draw on yet
    TpelurCosmos* cosmos = TheScreenSaveAppl().Cosmos();
    ASSERT_EQ(cosmos->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_LT(cosmos->Object(i)->x, 120.0f);
        EXPECT_LT(cosmos->Object(i)->y, 80.0f);
    }
    parts.ApplicationTick();
    EXPECT_EQ(LitPixels(), 0);

    SetSkyDC(canvas.get());
    parts.BindDisplay(nullptr);
    parts.ApplicationTick();
    // Three two-pixel lights; two may share a pixel near the sky's left edge, where the
    // positions truncate towards zero.
    EXPECT_GE(LitPixels(), 3);
    EXPECT_LE(LitPixels(), 6);
    EXPECT_TRUE(OnlyLights());
    EXPECT_FALSE(TheDisplayWin().Drawing()) << "the context is given back after each tick";

    parts.ApplicationShutdown();
    EXPECT_EQ(cosmos->Count(), 0);
}

TEST_F(ProgramPartsTest, TheDefaultMessagesGoIntoTheSettingsFile) {
    ASSERT_EQ(MainIni().FirstTime(), 1) << "a settings file this run created";
    ProgramSaverParts().WriteDefaultMessages();
    // Read back as the next run would: a settings file it did not create, a store of its own.
    IniFile next;
    ASSERT_EQ(next.Init(folder.Path(), "Lumivan.ini"), 0);
    ASSERT_EQ(next.FirstTime(), 0);
    MessageStore store(&next);
    const struct {
        const char* message;
        const char* bottomLine;
    } expected[] = {
        {"Your\r\n   name\r\n    here",
         "Psst... the stars can spell. Teach them your own words in the settings, and they will write them "
         "across the night for you."},
        {"PEACE", "Peace"},
        {"HEART", "and love"},
    };
    for (int i = 0; i < 3; ++i) {
        store.SetCurrentIndex(i);
        store.Read();
        EXPECT_EQ(store.Message(), expected[i].message) << i;
        EXPECT_EQ(store.BottomLine(), expected[i].bottomLine) << i;
        EXPECT_EQ(store.Password(), "") << i;
    }
    EXPECT_EQ(store.FindFirstFree(), 3);
}

// A window whose client area is its whole surface.
class SurfaceWindow : public SurfaceHost {
public:
    using SurfaceHost::SurfaceHost;
    WindowHandle Window() override { return reinterpret_cast<WindowHandle>(0x51); }
    SkyPoint GetCursorPos() override { return {}; }
    void SetCursorPos(SkyPoint) override {}
    SkyRect PrimaryMonitorRect() override { return ClientRect(); }
    SkyRect WindowScreenRect() override { return ClientRect(); }
    void SetToolWindowStyle() override {}
};

TEST_F(ProgramPartsTest, AirplanesTakeTheWindowsClientRectangleNotTheSkys) {
    FakeClock clock(0, 0);
    SurfaceWindow window(clock, surface);
    BindProgramParts(&window);
    // The sky is cut to 120 x 80 (as SmallWindowX/Y do); the window is 160 x 100.
    ProgramSaverParts().ApplicationStartup();
    const TpelurDisplayWin& display = TheDisplayWin();
    EXPECT_EQ(display.left, 0);
    EXPECT_EQ(display.top, 0);
    EXPECT_EQ(display.right, 160);
    EXPECT_EQ(display.bottom, 100);
    BindProgramParts(nullptr);
}

TEST_F(ProgramPartsTest, AMessageFileIsTakenFromTheArgumentVectorAsItStands) {
    SaverParts& parts = ProgramSaverParts();
    parts.WriteDefaultMessages();
    std::filesystem::create_directories(folder.File("My Files"));
    const std::string path = folder.File("My Files/NewMessage (1).Lumivan");
    testing::WriteFile(path, "[MessageIN]\nMessage___0=arrived\nBottomLine0=whole\n");
    SetProgramArguments({"lumivane", "/s", path});
    parts.ReceiveMessageFile();
    SetProgramArguments({});
    const long preview = MainIni().ReadIntForUser("Messages", "Preview", -1);
    ASSERT_GT(preview, 0);
    EXPECT_EQ(MainIni().ReadStringForUser("Messages", "Message___" + std::to_string(preview), ""), "arrived");
}

// The close request's joke place tells the joke, now and then, with its waits on the clock.
TEST_F(ProgramPartsTest, TheCloseRequestSometimesTellsTheClosingJoke) {
    FakeClock clock;
    SetClock(&clock);
    RecordingSoundPlayer player;
    MainIni().WriteIntForUser("params", "Jokes", 1);
    SaverRun().ScreenRect = {0, 0, 480, 100};
    surface = gfx::Surface::Create(480, 100, gfx::DirtyTracking::On);
    canvas = std::make_unique<gfx::Canvas>(surface);
    SetSkyDC(canvas.get());
    int closes = 0;
    while (player.aliases.empty() && closes < 500) {
        ProgramSaverParts().ClosingJoke();
        ++closes;
    }
    SetClock(nullptr);
    EXPECT_EQ(player.aliases, std::vector<std::string>{"SystemExit"});
    EXPECT_EQ(clock.TickCount(), 5000u);  // 1500 ms of shutdown screen, 3500 ms of words
}

}  // namespace
}  // namespace lumi
