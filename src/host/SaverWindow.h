// The saver window's own logic, fed by the shells' events: start-up of a run, the timer
// that drives the sky with its adaptive period, and the orderly teardown.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/SaverHost.h"
#include "host/SaverParts.h"
#include "sky/SaverRun.h"
#include "sky/SkyScene.h"
#include "base/Clock.h"

namespace lumi {

// True at most once per day of the month for a key of section "params": the stored day
// is compared with today's and replaced by it.
bool OncePerDay(std::string_view key, Clock& clock = TheClock());

// Whole days from 00:00 local time of a date written "Mmm dd yyyy" to now, truncated
// toward zero (negative when the clock is at least a day earlier).
long DaysSinceDate(std::string_view date, Clock& clock);

// Time elapsed since Start by the local clock.
class TickStopwatch {
public:
    explicit TickStopwatch(Clock& clock) : clock_(clock) {}
    void Start();
    // Seconds, as a 32-bit float.
    float Reading();
    // Whole milliseconds: what the timing figures are computed from, since a float of
    // seconds turns 0.7 s into 699.99 ms and loses whole milliseconds after some days.
    int64_t ElapsedMs();

private:
    Clock& clock_;
    int64_t startMs_ = 0;
};

// How an event ends: consumed with a result, or handed on to the frame's default
// handling (the closing rules, then the system's default).
struct ProcResult {
    enum class Next { Done, PassOn };
    Next next;
    long value;

    static ProcResult Done(long value) { return {Next::Done, value}; }
    static ProcResult PassOn() { return {Next::PassOn, 0}; }
    bool PassesOn() const { return next == Next::PassOn; }
};

// Where the run's settings file lives (tests point it at a folder of their own).
struct SaverSettingsFile {
    std::string folder = "$CURRENT";
    std::string name = "Lumivan.ini";
};

class SaverWindow {
public:
    static constexpr unsigned kTimerId = 1;
    static constexpr int kMouseGraceTicks = 66;
    static constexpr int kAdjustEvery = 100;
    static constexpr int kCalibrationSteps = 100;
    // The build the stored bookkeeping keys describe.
    // A clock a whole day before this date is taken to be wrong (the moon would be). A
    // fixed date rather than the build's, so a snapshot --at an earlier moment raises no box.
    static constexpr const char* kClockCheckDate = "Apr 17 2011";

    SaverWindow(SaverHost& host, SkyScene& scene, SaverParts& parts, Clock& clock = TheClock(),
                SaverRunValues& values = SaverRun(), SaverSettingsFile settings = SaverSettingsFile());

    ProcResult OnCreate();
    ProcResult OnTimer(unsigned id);
    ProcResult OnEraseBackground(EraseCanvas canvas);
    ProcResult OnMouseMove();
    ProcResult OnClose();
    ProcResult OnDestroy();

    bool Busy() const { return busy_; }
    bool ExitAtOnce() const { return exitAtOnce_; }
    bool HasSkyDC() const { return hasSkyDC_; }
    unsigned TimerId() const { return timerId_; }
    // The last timing figures drawn (with "DebugTickTime" set), for the shells and tests.
    const std::string& TimingText() const { return timingText_; }

private:
    void CheckBuildDate();
    void StartRunTimer();
    bool AdjustTickTiming();
    void CalibrateStepCost();

    SaverHost& host_;
    SkyScene& scene_;
    SaverParts& parts_;
    Clock& clock_;
    SaverRunValues& values_;
    SaverSettingsFile settings_;

    unsigned timerId_ = 0;
    bool busy_ = false;
    bool exitAtOnce_ = false;
    bool hasSkyDC_ = false;
    bool calibrationPending_ = true;
    int calibrationCheckedDay_ = 0;

    // Tick-timing state.
    bool timingStarted_ = false;
    unsigned timingCounter_ = 0;
    TickStopwatch timingWatch_;
    int64_t lastReadingMs_ = 0;
    int64_t previousReadingMs_ = 0;
    bool debugTiming_ = false;
    std::string timingText_;
};

}  // namespace lumi
