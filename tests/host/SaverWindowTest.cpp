// The saver window's logic driven by a fake clock, a recording host and a recording
// scene: start-up, the tick loop and its adaptive period, and teardown.
#include "host/SaverWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/BuildInfo.h"
#include "common/TestSupport.h"
#include "base/FakeClock.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi {
namespace {

using Events = std::vector<std::string>;

class FakeHost : public SaverHost {
public:
    explicit FakeHost(Events& events) : events_(events) {}
    WindowHandle Window() override { return reinterpret_cast<WindowHandle>(0x5a5a); }
    unsigned SetTimer(unsigned id, unsigned periodMs) override {
        events_.push_back("SetTimer " + std::to_string(id) + " " + std::to_string(periodMs));
        timers[id] = periodMs;
        return timerWorks ? id : 0;
    }
    void KillTimer(unsigned id) override {
        events_.push_back("KillTimer " + std::to_string(id));
        timers.erase(id);
    }
    void PostClose() override { events_.push_back("PostClose"); }
    SkyPoint GetCursorPos() override { return cursor; }
    void SetCursorPos(SkyPoint at) override {
        events_.push_back("SetCursorPos " + std::to_string(at.x) + "," + std::to_string(at.y));
        cursor = at;
    }
    SkyRect ClientRect() override { return client; }
    SkyRect PrimaryMonitorRect() override { return monitor; }
    SkyRect WindowScreenRect() override { return client; }
    void SetToolWindowStyle() override { events_.push_back("ToolWindow"); }
    bool AcquireSkyDC() override {
        events_.push_back("AcquireSkyDC");
        return dcWorks;
    }
    void ReleaseSkyDC() override { events_.push_back("ReleaseSkyDC"); }
    void PaintBlack(EraseCanvas) override { events_.push_back("PaintBlack"); }
    void DrawTimingText(const SkyRect&, const std::string& text) override { drawn.push_back(text); }

    std::map<unsigned, unsigned> timers;
    SkyPoint cursor{300, 200};
    SkyRect client{0, 0, 1280, 1024};
    SkyRect monitor{-1920, 0, 0, 1080};
    bool timerWorks = true;
    bool dcWorks = true;
    std::vector<std::string> drawn;

private:
    Events& events_;
};

class FakeScene : public SkyScene {
public:
    FakeScene(Events& events, FakeClock& clock) : events_(events), clock_(clock) {}
    void Create() override { events_.push_back("Create"); }
    void Step() override {
        ++steps;
        clock_.Advance(stepCostMs);
        if (onStep) onStep();
    }
    void Destroy() override { events_.push_back("Destroy"); }

    int steps = 0;
    int stepCostMs = 0;
    std::function<void()> onStep;

private:
    Events& events_;
    FakeClock& clock_;
};

class FakeParts : public SaverParts {
public:
    explicit FakeParts(Events& events) : events_(events) {}
    void WriteDefaultMessages() override { events_.push_back("WriteDefaultMessages"); }
    void ReceiveMessageFile() override { events_.push_back("ReceiveMessageFile"); }
    int MouseInCorner(WindowHandle) override {
        events_.push_back("MouseInCorner");
        return corner;
    }
    void ApplicationStartup() override { events_.push_back("ApplicationStartup"); }
    bool RunStartUpEffect(WindowHandle, EraseCanvas) override {
        events_.push_back("StartUpEffect");
        return effectPaints;
    }
    void BindDisplay(WindowHandle) override { events_.push_back("BindDisplay"); }
    void ApplicationTick() override { ++ticks; }
    void ClosingJoke() override { events_.push_back("ClosingJoke"); }
    void ApplicationShutdown() override { events_.push_back("ApplicationShutdown"); }

    int corner = 0;
    bool effectPaints = false;
    int ticks = 0;

private:
    Events& events_;
};

// 2024-03-10 12:00:00 UTC, a Sunday; the zone is UTC.
constexpr int64_t kNoonMs = 1710072000000LL;

class SaverWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetClock(&clock);
        RestartLogAt(folder.File("saver.log.txt"));
        ResetMainIni();
        ResetSaverRun();
        ResetErrorReports();
    }
    void TearDown() override {
        ResetMainIni();
        SetClock(nullptr);
    }

    // Settings present before the run starts.
    void Preset(const std::string& lines) { testing::WriteFile(folder.File("Lumivan.ini"), "[params]\n" + lines); }
    // Today's markers, so neither once-a-day job runs unless a test wants it.
    static std::string DoneToday() { return "oncepd_tpms=10\noncepd_rtt=10\n"; }

    SaverWindow& Window() {
        if (!window)
            window = std::make_unique<SaverWindow>(host, scene, parts, clock, SaverRun(),
                                                   SaverSettingsFile{folder.Path(), "Lumivan.ini"});
        return *window;
    }
    void Ticks(int count, int msEach) {
        for (int i = 0; i < count; ++i) {
            clock.Advance(msEach);
            Window().OnTimer(SaverWindow::kTimerId);
        }
    }
    long Stored(const char* key, long def = -999) { return MainIni().ReadInt("params", key, def); }
    int Count(const std::string& event) const {
        int n = 0;
        for (const auto& e : events)
            if (e == event) ++n;
        return n;
    }

    FakeClock clock{kNoonMs};
    testing::TempFolder folder;
    testing::RecordingMessageBoxes boxes;
    Events events;
    FakeHost host{events};
    FakeScene scene{events, clock};
    FakeParts parts{events};
    std::unique_ptr<SaverWindow> window;
};

TEST_F(SaverWindowTest, CreateRunsTheStartSequenceInOrder) {
    Preset(DoneToday());
    EXPECT_TRUE(Window().OnCreate().PassesOn());
    EXPECT_EQ(events, (Events{"WriteDefaultMessages", "ReceiveMessageFile", "MouseInCorner", "ToolWindow",
                              "SetTimer 1 40", "ApplicationStartup"}));
    EXPECT_FALSE(Window().Busy());
    EXPECT_EQ(Window().TimerId(), 1u);
    EXPECT_EQ(SaverRun().SkyWindow, host.Window());
    EXPECT_EQ(SaverRun().ScreenRect.right, 1280);
    EXPECT_EQ(SaverRun().ScreenRect.bottom, 1024);
    // The monitor's size, moved to the origin.
    EXPECT_EQ(SaverRun().MonitorRect.left, 0);
    EXPECT_EQ(SaverRun().MonitorRect.right, 1920);
    EXPECT_EQ(SaverRun().MonitorRect.bottom, 1080);
    // What this build is: its version and the compiler's date and time of the build.
    EXPECT_EQ(MainIni().ReadString("params", "CDate", ""), BuildDate());
    EXPECT_EQ(MainIni().ReadString("Info", "CDate", ""), BuildTimestamp());
    EXPECT_EQ(MainIni().ReadString("params", "Version", ""), LUMI_VERSION);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(FileContainsText(folder.File("saver.log.txt"), "operation: adv5"));
}

TEST_F(SaverWindowTest, StartPeriodsAreClamped) {
    const struct {
        const char* stored;
        int tickTime;
        int realTickTime;
    } cases[] = {
        {"TickTime=5\nRealTickTime=0\n", 20, 5},         {"TickTime=500\nRealTickTime=1000\n", 70, 100},
        {"TickTime=20\nRealTickTime=5\n", 20, 5},        {"TickTime=45\nRealTickTime=61\n", 45, 61},
        {"TickTime=-7\nRealTickTime=-3\n", 20, 5},     {"", 40, 60},
    };
    for (const auto& c : cases) {
        SetUp();
        events.clear();
        window.reset();
        Preset(std::string(c.stored) + DoneToday());
        Window().OnCreate();
        EXPECT_EQ(SaverRun().TickTime, c.tickTime) << c.stored;
        EXPECT_EQ(SaverRun().RealTickTime, c.realTickTime) << c.stored;
        EXPECT_EQ(host.timers[1], static_cast<unsigned>(c.tickTime)) << c.stored;
    }
}

TEST_F(SaverWindowTest, SmallWindowShrinksTheSkyButNeverPastTheWindow) {
    Preset("SmallWindowX=640\nSmallWindowY=480\n" + DoneToday());
    Window().OnCreate();
    EXPECT_EQ(SaverRun().ScreenRect.right, 640);
    EXPECT_EQ(SaverRun().ScreenRect.bottom, 480);

    SetUp();
    window.reset();
    Preset("SmallWindowX=-640\nSmallWindowY=99999999\n" + DoneToday());
    Window().OnCreate();
    EXPECT_EQ(SaverRun().ScreenRect.right, 1280);
    EXPECT_EQ(SaverRun().ScreenRect.bottom, 1024);
}

TEST_F(SaverWindowTest, UnwritableSettingsCloseAtOnce) {
    window = std::make_unique<SaverWindow>(host, scene, parts, clock, SaverRun(),
                                           SaverSettingsFile{folder.File("missing/") + "deeper/", "Lumivan.ini"});
    EXPECT_TRUE(window->OnCreate().PassesOn());
    EXPECT_EQ(events, (Events{"PostClose"}));
    EXPECT_TRUE(window->Busy());
    EXPECT_EQ(window->TimerId(), 0u);
    EXPECT_EQ(window->OnTimer(1).value, 1);  // no timer of ours runs
    EXPECT_EQ(scene.steps, 0);
}

TEST_F(SaverWindowTest, ClockBeforeTheBuildDateWarnsOnce) {
    // 2011-04-15 23:00 UTC: more than a whole day before Apr 17 2011.
    clock.SetUtcMilliseconds(1302908400000LL);
    Window().OnCreate();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Date/time problem");
    EXPECT_EQ(boxes.boxes[0].text,
              "It seems that your computer has incorrect\ntime or date. Please correct it so that the\n"
              "moon phases are displayed correctly.");
    EXPECT_EQ(boxes.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(Window().TimerId(), 1u);  // the run goes on
}

TEST(SaverDates, DaysSinceTheBuildDate) {
    FakeClock clock(1302998400000LL);  // 2011-04-17 00:00 UTC
    EXPECT_EQ(DaysSinceDate("Apr 17 2011", clock), 0);
    clock.Advance(-12 * 3600 * 1000);  // half a day early still passes
    EXPECT_EQ(DaysSinceDate("Apr 17 2011", clock), 0);
    clock.Advance(-13 * 3600 * 1000);
    EXPECT_EQ(DaysSinceDate("Apr 17 2011", clock), -1);
    clock.SetUtcMilliseconds(1302998400000LL + 40LL * 86400000);
    EXPECT_EQ(DaysSinceDate("apr 17 2011", clock), 40);
    // An unknown month counts as January.
    clock.SetUtcMilliseconds(1294012800000LL);  // 2011-01-03 00:00 UTC
    EXPECT_EQ(DaysSinceDate("Foo 1 2011", clock), 2);
    EXPECT_EQ(DaysSinceDate("", clock), DaysSinceDate("Jan 1 1970", clock));
}

TEST_F(SaverWindowTest, HotCornerEndsTheRunBeforeAnythingIsBuilt) {
    Preset(DoneToday());
    parts.corner = 3;
    EXPECT_TRUE(Window().OnCreate().PassesOn());
    EXPECT_EQ(events, (Events{"WriteDefaultMessages", "ReceiveMessageFile", "MouseInCorner", "SetCursorPos 301,201",
                              "SetCursorPos 300,200", "PostClose"}));
    EXPECT_TRUE(Window().ExitAtOnce());
    EXPECT_FALSE(Window().Busy());
    EXPECT_EQ(Window().TimerId(), 0u);

    events.clear();
    EXPECT_EQ(Window().OnEraseBackground(nullptr).value, 0);
    EXPECT_TRUE(Window().OnMouseMove().PassesOn());
    Window().OnClose();
    EXPECT_TRUE(Window().OnDestroy().PassesOn());
    EXPECT_TRUE(events.empty());  // no paint, no joke, no shutdown, no teardown
    EXPECT_EQ(Stored("TickTime"), -999);
}

TEST_F(SaverWindowTest, FirstTickBuildsTheSceneWithoutSteppingIt) {
    Preset(DoneToday());
    Window().OnCreate();
    events.clear();
    const ProcResult first = Window().OnTimer(1);
    EXPECT_FALSE(first.PassesOn());
    EXPECT_EQ(first.value, 0);
    EXPECT_EQ(events, (Events{"AcquireSkyDC", "Create"}));
    EXPECT_EQ(SaverRun().TickCounter, 1);
    EXPECT_EQ(scene.steps, 0);
    Ticks(3, 40);
    EXPECT_EQ(scene.steps, 3);
    EXPECT_EQ(parts.ticks, 3);
    EXPECT_EQ(SaverRun().TickCounter, 4);
}

TEST_F(SaverWindowTest, ForeignAndReentrantTicksChangeNothing) {
    Preset(DoneToday());
    Window().OnCreate();
    EXPECT_EQ(Window().OnTimer(7).value, 1);
    EXPECT_EQ(Window().OnTimer(0).value, 1);
    EXPECT_EQ(SaverRun().TickCounter, 0);

    Ticks(1, 40);
    // A nested message loop inside a step (an error box) delivers another tick.
    ProcResult nested = ProcResult::PassOn();
    bool delivered = false;
    scene.onStep = [&] {
        if (delivered) return;
        delivered = true;
        nested = Window().OnTimer(1);
    };
    Ticks(1, 40);
    EXPECT_FALSE(nested.PassesOn());
    EXPECT_EQ(nested.value, 0);
    EXPECT_EQ(SaverRun().TickCounter, 2);
    EXPECT_EQ(scene.steps, 1);
}

TEST_F(SaverWindowTest, NoDrawingSurfaceReportsAndFreezes) {
    Preset(DoneToday());
    host.dcWorks = false;
    Window().OnCreate();
    EXPECT_TRUE(Window().OnTimer(1).PassesOn());
    EXPECT_EQ(PendingErrorText(), "main - 2811");
    EXPECT_TRUE(Window().Busy());
    Ticks(5, 40);
    EXPECT_EQ(SaverRun().TickCounter, 1);
    EXPECT_EQ(Count("Create"), 0);
    Window().OnDestroy();
    EXPECT_EQ(Count("Destroy"), 0);
    EXPECT_EQ(Count("KillTimer 1"), 1);  // the timer must not outlive the window
}

TEST_F(SaverWindowTest, PeriodAdaptsEveryHundredTicks) {
    Preset(DoneToday() + "TickProcess_mSec=10\n");
    Window().OnCreate();
    Ticks(1, 40);  // builds the scene
    Ticks(199, 90);
    // The hundredth later tick only takes the first reading.
    EXPECT_EQ(Count("SetTimer 1 40"), 1);
    EXPECT_EQ(SaverRun().RealTickTime, 60);
    Ticks(1, 90);
    EXPECT_EQ(SaverRun().RealTickTime, 90);
    EXPECT_EQ(SaverRun().TickTime, 40);  // (90 - 10) / 2
    EXPECT_EQ(Count("KillTimer 1"), 1);
    EXPECT_EQ(Count("SetTimer 1 40"), 2);  // restarted even with the same period

    Ticks(100, 250);  // 25 seconds over a hundred ticks
    EXPECT_EQ(SaverRun().RealTickTime, 100);
    EXPECT_EQ(SaverRun().TickTime, 45);
    EXPECT_EQ(host.timers[1], 45u);

    Ticks(100, 10);
    EXPECT_EQ(SaverRun().RealTickTime, 30);
    EXPECT_EQ(SaverRun().TickTime, 40);
    EXPECT_TRUE(host.drawn.empty());
}

TEST_F(SaverWindowTest, StepCostShapesThePeriod) {
    Preset(DoneToday() + "TickProcess_mSec=-100\n");
    Window().OnCreate();
    Ticks(201, 70);
    EXPECT_EQ(SaverRun().RealTickTime, 70);
    EXPECT_EQ(SaverRun().TickTime, 80);  // (70 + 100) / 2 = 85, bounded
}

TEST_F(SaverWindowTest, FixedTickTimeOverridesTheBounds) {
    Preset(DoneToday() + "FixedTickTime=15\n");
    Window().OnCreate();
    Ticks(200, 90);
    EXPECT_EQ(SaverRun().TickTime, 40);
    Ticks(1, 90);
    EXPECT_EQ(SaverRun().TickTime, 15);
    EXPECT_EQ(host.timers[1], 15u);
}

TEST_F(SaverWindowTest, NonsenseFixedTickTimeKeepsTheComputedPeriod) {
    Preset(DoneToday() + "FixedTickTime=-5\n");
    Window().OnCreate();
    Ticks(201, 90);
    EXPECT_EQ(SaverRun().TickTime, 40);
    EXPECT_EQ(host.timers[1], 40u);
}

TEST_F(SaverWindowTest, DebugTickTimeDrawsTheFigures) {
    Preset(DoneToday() + "DebugTickTime=1\n");
    Window().OnCreate();
    Ticks(301, 90);
    EXPECT_EQ(host.drawn, (std::vector<std::string>{"ite=2, tt=40, rtt=90  ", "ite=3, tt=40, rtt=90  "}));
    EXPECT_EQ(Window().TimingText(), "ite=3, tt=40, rtt=90  ");
}

TEST_F(SaverWindowTest, StepCostIsCalibratedOncePerDay) {
    Preset("oncepd_rtt=10\n");
    scene.stepCostMs = 7;
    Window().OnCreate();
    Ticks(2, 40);
    EXPECT_EQ(scene.steps, 101);  // one tick's step and the hundred measured ones
    EXPECT_EQ(MainIni().ReadInt("Params", "TickProcess_mSec", -1), 7);
    EXPECT_EQ(Stored("oncepd_tpms"), 10);
    Ticks(5, 40);
    EXPECT_EQ(scene.steps, 106);

    // A second run the same day does not measure again; the next day it does.
    window.reset();
    ResetMainIni();
    Window().OnCreate();
    Ticks(3, 40);
    EXPECT_EQ(scene.steps, 108);
    clock.Advance(86400000);
    Ticks(1, 40);
    EXPECT_EQ(scene.steps, 209);
    EXPECT_EQ(Stored("oncepd_tpms"), 11);
}

TEST_F(SaverWindowTest, OncePerDay) {
    Preset("");
    ASSERT_EQ(MainIni().Init(folder.Path(), "Lumivan.ini"), 0);
    EXPECT_TRUE(OncePerDay("oncepd_x", clock));
    EXPECT_FALSE(OncePerDay("oncepd_x", clock));
    EXPECT_TRUE(OncePerDay("oncepd_y", clock));  // keys are independent
    clock.Advance(11 * 3600 * 1000);             // 23:00, still the 10th
    EXPECT_FALSE(OncePerDay("oncepd_x", clock));
    clock.Advance(3600 * 1000);
    EXPECT_TRUE(OncePerDay("oncepd_x", clock));
    MainIni().WriteString("params", "oncepd_x", "");  // the key was lost
    EXPECT_TRUE(OncePerDay("oncepd_x", clock));
    // The same day of the next month counts as the same day.
    clock.Advance(31LL * 86400000);
    EXPECT_FALSE(OncePerDay("oncepd_x", clock));
}

TEST_F(SaverWindowTest, MouseMovesInTheFirst66TicksNeverReachTheFrame) {
    Preset(DoneToday());
    Window().OnCreate();
    EXPECT_FALSE(Window().OnMouseMove().PassesOn());
    Ticks(65, 40);
    EXPECT_FALSE(Window().OnMouseMove().PassesOn());
    Ticks(1, 40);
    EXPECT_EQ(SaverRun().TickCounter, 66);
    EXPECT_TRUE(Window().OnMouseMove().PassesOn());
}

TEST_F(SaverWindowTest, EraseRunsTheStartUpEffectOrPaintsBlack) {
    Preset(DoneToday());
    Window().OnCreate();
    events.clear();
    EXPECT_FALSE(Window().OnEraseBackground(nullptr).PassesOn());
    parts.effectPaints = true;
    Window().OnEraseBackground(nullptr);
    EXPECT_EQ(events, (Events{"StartUpEffect", "PaintBlack", "BindDisplay", "StartUpEffect", "BindDisplay"}));
}

TEST_F(SaverWindowTest, CloseGivesTheJokeItsChanceThenShutsDown) {
    Preset(DoneToday());
    Window().OnCreate();
    events.clear();
    EXPECT_TRUE(Window().OnClose().PassesOn());
    EXPECT_EQ(events, (Events{"ClosingJoke", "ApplicationShutdown"}));
    const std::string log = testing::ReadFile(folder.File("saver.log.txt"));
    EXPECT_NE(log.find("WM_CLOSE received"), std::string::npos);
    EXPECT_NE(log.find("screen width1280"), std::string::npos);
}

TEST_F(SaverWindowTest, DestroyTearsDownAndWritesTheTimingOncePerDay) {
    Preset("oncepd_tpms=10\nTickProcess_mSec=10\n");
    Window().OnCreate();
    Ticks(201, 90);
    events.clear();
    EXPECT_TRUE(Window().OnDestroy().PassesOn());
    EXPECT_EQ(events, (Events{"Destroy", "ReleaseSkyDC", "KillTimer 1"}));
    EXPECT_EQ(Window().TimerId(), 0u);
    EXPECT_FALSE(Window().HasSkyDC());
    EXPECT_EQ(Stored("TickTime"), 40);
    EXPECT_EQ(Stored("RealTickTime"), 90);
    // Ticks still queued after the window went do nothing.
    EXPECT_EQ(Window().OnTimer(1).value, 1);

    // A second run the same day leaves the written values alone.
    window.reset();
    ResetMainIni();
    ResetSaverRun();
    Window().OnCreate();
    // This run starts from what the last one measured.
    EXPECT_EQ(SaverRun().RealTickTime, 90);
    Ticks(1, 40);
    SaverRun().RealTickTime = 33;
    Window().OnDestroy();
    EXPECT_EQ(Stored("RealTickTime"), 90);
}

TEST(SaverStopwatch, ReadsLocalSeconds) {
    FakeClock clock(kNoonMs);
    TickStopwatch watch(clock);
    watch.Start();
    EXPECT_EQ(watch.Reading(), 0.0f);
    clock.Advance(1500);
    EXPECT_FLOAT_EQ(watch.Reading(), 1.5f);
    clock.Advance(86400000);  // across midnight
    EXPECT_FLOAT_EQ(watch.Reading(), 86401.5f);
}

}  // namespace
}  // namespace lumi
