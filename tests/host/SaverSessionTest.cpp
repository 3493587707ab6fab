// The session the shells drive: timers on a wrapping tick count, input through the
// closing rules, and the close sequence down to the teardown.
#include "host/SaverSession.h"

#include <gtest/gtest.h>

#include "common/TestSupport.h"
#include "base/FakeClock.h"
#include "settings/IniFile.h"
#include "base/Log.h"

namespace lumi {
namespace {

// Every timer due at now, in the order the table hands them out.
std::vector<unsigned> TakeDue(TimerTable& timers, uint32_t nowMs) {
    std::vector<unsigned> due;
    unsigned id = 0;
    while (timers.TakeNextDue(nowMs, id)) due.push_back(id);
    return due;
}

TEST(TimerTable, FiresEveryPeriodAndDropsMissedExpiries) {
    TimerTable timers;
    EXPECT_EQ(timers.MsUntilDue(0), -1);
    timers.Set(1, 40, 1000);
    EXPECT_EQ(timers.MsUntilDue(1000), 40);
    EXPECT_TRUE(TakeDue(timers, 1039).empty());
    EXPECT_EQ(TakeDue(timers, 1040), std::vector<unsigned>{1});
    // Half a second late: one expiry, and the next a whole period after now.
    EXPECT_EQ(TakeDue(timers, 1580), std::vector<unsigned>{1});
    EXPECT_EQ(timers.MsUntilDue(1580), 40);
    EXPECT_EQ(timers.MsUntilDue(1700), 0);

    // Restarting keeps one timer with the new period; killing stops it.
    timers.Set(1, 70, 2000);
    EXPECT_EQ(timers.MsUntilDue(2000), 70);
    timers.Kill(1);
    EXPECT_TRUE(timers.Empty());
}

TEST(TimerTable, KeepsItsOrderWhenTheTickCountWraps) {
    TimerTable timers;
    const uint32_t nearEnd = 0xFFFFFFF0u;
    timers.Set(1, 40, nearEnd);
    EXPECT_EQ(timers.MsUntilDue(nearEnd + 10), 30);  // wrapped past 0
    EXPECT_TRUE(TakeDue(timers, nearEnd + 39).empty());
    EXPECT_EQ(TakeDue(timers, nearEnd + 40), std::vector<unsigned>{1});
    // A period of 0 would spin the loop.
    timers.Set(2, 0, 5);
    EXPECT_EQ(timers.MsUntilDue(5), 1);
}

TEST(TimerTable, ATimerKilledByAnEarlierOneDoesNotFire) {
    TimerTable timers;
    timers.Set(1, 40, 0);
    timers.Set(2, 40, 0);
    unsigned id = 0;
    ASSERT_TRUE(timers.TakeNextDue(40, id));
    EXPECT_EQ(id, 1u);
    timers.Kill(2);  // what timer 1's handler might do
    EXPECT_FALSE(timers.TakeNextDue(40, id));
    // A timer taken once is not taken again at the same moment.
    EXPECT_FALSE(timers.TakeNextDue(40, id));
    EXPECT_TRUE(timers.TakeNextDue(80, id));
}

class RecordingScene : public SkyScene {
public:
    void Create() override { ++creates; }
    void Step() override { ++steps; }
    void Destroy() override { ++destroys; }
    int creates = 0, steps = 0, destroys = 0;
};

class TestHost : public SessionHost {
public:
    explicit TestHost(Clock& clock) : SessionHost(clock) {}
    WindowHandle Window() override { return reinterpret_cast<WindowHandle>(0x77); }
    SkyPoint GetCursorPos() override { return cursor; }
    void SetCursorPos(SkyPoint at) override { cursor = at; }
    SkyRect ClientRect() override { return {0, 0, 640, 480}; }
    SkyRect PrimaryMonitorRect() override { return ClientRect(); }
    SkyRect WindowScreenRect() override { return ClientRect(); }
    void SetToolWindowStyle() override {}
    bool AcquireSkyDC() override { return true; }
    void ReleaseSkyDC() override { ++releases; }
    void PaintBlack(EraseCanvas) override { ++blackPaints; }
    void DrawTimingText(const SkyRect&, const std::string&) override {}

    SkyPoint cursor{100, 100};
    int releases = 0, blackPaints = 0;
};

class SaverSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetClock(&clock);
        RestartLogAt(folder.File("session.log.txt"));
        ResetMainIni();
        ResetSaverRun();
        testing::WriteFile(folder.File("Lumivan.ini"), "[params]\noncepd_tpms=10\noncepd_rtt=10\n");
    }
    void TearDown() override {
        ResetMainIni();
        SetClock(nullptr);
    }
    // Runs the loop as a shell does: wait for the timer, then let it fire.
    void Ticks(SaverSession& s, int count) {
        for (int i = 0; i < count && !s.Ended(); ++i) {
            clock.Advance(host.Timers().MsUntilDue(clock.TickCount()));
            s.RunDueTimers();
        }
    }

    FakeClock clock{1710072000000LL};
    testing::TempFolder folder;
    testing::RecordingMessageBoxes boxes;
    TestHost host{clock};
    RecordingScene scene;
    SaverParts parts;
};

TEST_F(SaverSessionTest, AKeyEndsAFullScreenRunWithItsTeardown) {
    SaverSession s(host, scene, parts, WindowRole::FullScreen, PasswordMode::System, clock,
                   {folder.Path(), "Lumivan.ini"});
    s.Create();
    s.Erase(nullptr);
    EXPECT_EQ(host.blackPaints, 1);
    Ticks(s, 3);
    EXPECT_EQ(scene.creates, 1);
    EXPECT_EQ(scene.steps, 2);
    s.KeyOrButton();
    EXPECT_FALSE(s.Ended());  // posted, handled when the loop looks
    s.DispatchPostedClose();
    EXPECT_TRUE(s.Ended());
    EXPECT_EQ(scene.destroys, 1);
    EXPECT_EQ(host.releases, 1);
    EXPECT_TRUE(host.Timers().Empty());
    // Nothing reaches the window once it is gone.
    s.Timer(SaverWindow::kTimerId);
    s.KeyOrButton();
    s.DispatchPostedClose();
    EXPECT_EQ(scene.steps, 2);
    EXPECT_EQ(scene.destroys, 1);
}

TEST_F(SaverSessionTest, MouseMovesCountOnlyAfterTheGraceTicksAndBeyondFourPixels) {
    SaverSession s(host, scene, parts, WindowRole::FullScreen, PasswordMode::System, clock,
                   {folder.Path(), "Lumivan.ini"});
    s.Create();
    Ticks(s, SaverWindow::kMouseGraceTicks - 1);
    s.MouseMove({300, 300});
    s.DispatchPostedClose();
    EXPECT_FALSE(s.Ended());
    Ticks(s, 1);
    s.MouseMove({103, 101});  // 4 pixels from where the run started
    s.DispatchPostedClose();
    EXPECT_FALSE(s.Ended());
    s.MouseMove({103, 102});
    s.DispatchPostedClose();
    EXPECT_TRUE(s.Ended());
}

TEST_F(SaverSessionTest, APreviewIgnoresInputButClosesOnRequestOrWhenItsWindowGoes) {
    SaverSession s(host, scene, parts, WindowRole::Preview, PasswordMode::System, clock,
                   {folder.Path(), "Lumivan.ini"});
    s.Create();
    Ticks(s, 100);
    s.KeyOrButton();
    s.MouseMove({900, 900});
    s.ActivationLost();
    s.Resumed();
    s.DispatchPostedClose();
    EXPECT_FALSE(s.Ended());
    s.WindowGone();
    EXPECT_TRUE(s.Ended());
    EXPECT_EQ(scene.destroys, 1);

    SaverSession other(host, scene, parts, WindowRole::Preview, PasswordMode::System, clock,
                       {folder.Path(), "Lumivan.ini"});
    other.Create();
    other.RequestClose();
    EXPECT_TRUE(other.Ended());
}

TEST_F(SaverSessionTest, LosingTheFocusOrWakingFromASuspendEndsAFullScreenRun) {
    SaverSession first(host, scene, parts, WindowRole::FullScreen, PasswordMode::System, clock,
                       {folder.Path(), "Lumivan.ini"});
    first.Create();
    Ticks(first, 2);
    first.ActivationLost();
    first.DispatchPostedClose();
    EXPECT_TRUE(first.Ended());

    ResetSaverRun();
    SaverSession second(host, scene, parts, WindowRole::FullScreen, PasswordMode::System, clock,
                        {folder.Path(), "Lumivan.ini"});
    second.Create();
    Ticks(second, 2);
    second.Resumed();
    second.DispatchPostedClose();
    EXPECT_TRUE(second.Ended());
}

}  // namespace
}  // namespace lumi
