// The saver window's logic. The shells turn window-system events into these calls; the
// scene and the other parts are reached through SkyScene and SaverParts.
#include "host/SaverWindow.h"

#include <cctype>
#include <cstdio>

#include "platform/MessageBox.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"
#include "base/BuildInfo.h"
#include "base/Log.h"

namespace lumi {

namespace {

int64_t LocalMilliseconds(const LocalTime& t) {
    const int64_t days = DaysFromCivil(t.year + 1900, t.month + 1, t.day);
    return ((days * 24 + t.hour) * 60 + t.minute) * 60000 + static_cast<int64_t>(t.second) * 1000 + t.millisecond;
}

int64_t Clamp(int64_t value, int64_t low, int64_t high) {
    if (value <= low) return low;
    if (value >= high) return high;
    return value;
}

// A stored size replaces the sky's edge only when the sky stays inside the window: a
// hand-edited negative or oversized value would give every scene element a sky of
// negative or unbounded size.
void ApplySmallWindow(const char* key, int low, int clientEdge, int& edge) {
    const long value = MainIni().ReadInt("params", key, 0);
    if (value == 0) return;
    if (value > low && value <= clientEdge) {
        edge = static_cast<int>(value);
        return;
    }
    AppLog().Warning.Log(key, "ignored: outside the window");
}

}  // namespace


bool OncePerDay(std::string_view key, Clock& clock) {
    const long stored = MainIni().ReadInt("params", key, 0);
    const int today = clock.LocalNow().day;
    MainIni().WriteUInt("params", key, static_cast<unsigned long>(today));
    return stored != today;
}

long DaysSinceDate(std::string_view date, Clock& clock) {
    static constexpr const char* kMonths[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                                "jul", "aug", "sep", "oct", "nov", "dec"};
    int month = -1;
    if (date.size() >= 3) {
        for (int m = 0; m < 12 && month < 0; ++m) {
            bool same = true;
            for (int k = 0; k < 3; ++k)
                if (std::tolower(static_cast<unsigned char>(date[static_cast<size_t>(k)])) != kMonths[m][k]) same = false;
            if (same) month = m;
        }
    }
    if (month < 0) {
        AppLog().Error.Log("DaysSinceDate", "not a valid month name");
        month = 0;
    }
    int day = 1, year = 1970;
    const std::string rest(date.size() > 3 ? date.substr(3) : std::string_view());
    if (std::sscanf(rest.c_str(), "%d %d", &day, &year) != 2) {
        day = 1;
        year = 1970;
    }
    LocalTime midnight;
    midnight.year = year - 1900;
    midnight.month = month;
    midnight.day = day;
    midnight.isDst = -1;
    const std::optional<int64_t> then = clock.FromLocal(midnight);
    if (!then) return 0;
    return static_cast<long>((clock.UtcNow() - *then) / 86400);
}

void TickStopwatch::Start() { startMs_ = LocalMilliseconds(clock_.LocalNow()); }

float TickStopwatch::Reading() { return static_cast<float>(static_cast<double>(ElapsedMs()) / 1000.0); }

int64_t TickStopwatch::ElapsedMs() { return LocalMilliseconds(clock_.LocalNow()) - startMs_; }

SaverWindow::SaverWindow(SaverHost& host, SkyScene& scene, SaverParts& parts, Clock& clock, SaverRunValues& values,
                         SaverSettingsFile settings)
    : host_(host),
      scene_(scene),
      parts_(parts),
      clock_(clock),
      values_(values),
      settings_(std::move(settings)),
      timingWatch_(clock) {}

ProcResult SaverWindow::OnCreate() {
    busy_ = true;
    AppLog().Info.Log("Version", LUMI_VERSION);
    AppLog().Info.Log("operation", "running");

    IniFile& ini = MainIni();
    if (ini.Init(settings_.folder, settings_.name) != 0) {
        // The store has shown its own message; Busy stays set, so nothing else runs.
        host_.PostClose();
        return ProcResult::PassOn();
    }
    parts_.WriteDefaultMessages();
    ini.WriteString("params", "CDate", BuildDate());
    CheckBuildDate();
    ini.WriteString("Info", "CDate", BuildTimestamp());
    ini.WriteString("params", "Version", LUMI_VERSION);

    AppLog().Info.Log("operation", "adv1");
    parts_.ReceiveMessageFile();
    AppLog().Info.Log("operation", "adv2");

    if (parts_.MouseInCorner(host_.Window()) != 0) {
        // The nudge makes the system see input, so it does not start the saver again
        // at once while the cursor still rests in the corner.
        const SkyPoint at = host_.GetCursorPos();
        host_.SetCursorPos({at.x + 1, at.y + 1});
        host_.SetCursorPos(at);
        host_.PostClose();
        busy_ = false;
        exitAtOnce_ = true;
        return ProcResult::PassOn();
    }

    AppLog().Info.Log("operation", "adv4");
    host_.SetToolWindowStyle();
    AppLog().Info.Log("operation", "adv5");

    values_.TickTime = static_cast<int>(Clamp(ini.ReadInt("params", "TickTime", 40), 20, 70));
    values_.RealTickTime = static_cast<int>(Clamp(ini.ReadInt("params", "RealTickTime", 60), 5, 100));

    values_.SkyWindow = host_.Window();
    const SkyRect client = host_.ClientRect();
    values_.ScreenRect = client;
    const SkyRect monitor = host_.PrimaryMonitorRect();
    values_.MonitorRect = {0, 0, monitor.right - monitor.left, monitor.bottom - monitor.top};
    ApplySmallWindow("SmallWindowX", client.left, client.right, values_.ScreenRect.right);
    ApplySmallWindow("SmallWindowY", client.top, client.bottom, values_.ScreenRect.bottom);

    StartRunTimer();
    busy_ = false;
    parts_.ApplicationStartup();
    return ProcResult::PassOn();
}

void SaverWindow::CheckBuildDate() {
    if (DaysSinceDate(kClockCheckDate, clock_) >= 0) return;
    ShowMessageBox(host_.Window(),
                   "It seems that your computer has incorrect\ntime or date. Please correct it so that the\n"
                   "moon phases are displayed correctly.",
                   "Date/time problem", BoxIcon::None, BoxButtons::Ok);
}

void SaverWindow::StartRunTimer() {
    timerId_ = host_.SetTimer(kTimerId, static_cast<unsigned>(values_.TickTime));
    if (timerId_ == 0) AppLog().Warning.Log("SaverWindow::SetTimer", "failed");
}

ProcResult SaverWindow::OnTimer(unsigned id) {
    if (id == 0 || id != timerId_) return ProcResult::Done(1);
    if (exitAtOnce_ || busy_) return ProcResult::Done(0);
    if (values_.TickCounter < INT32_MAX) ++values_.TickCounter;
    busy_ = true;

    if (!hasSkyDC_) {
        if (!host_.AcquireSkyDC()) {
            // Busy stays set: every later tick is dropped and the screen stays as it is.
            AddError("main - 2811");
            return ProcResult::PassOn();
        }
        hasSkyDC_ = true;
        scene_.Create();
        busy_ = false;
        return ProcResult::Done(0);
    }

    parts_.ApplicationTick();
    scene_.Step();
    CalibrateStepCost();
    if (AdjustTickTiming()) {
        if (timerId_ != 0) host_.KillTimer(timerId_);
        StartRunTimer();
    }
    busy_ = false;
    return ProcResult::Done(0);
}

void SaverWindow::CalibrateStepCost() {
    if (!calibrationPending_) return;
    // The stored day only changes at midnight; asking the settings file on every tick
    // of the rest of the day would cost a file read per frame.
    const int today = clock_.LocalNow().day;
    if (today == calibrationCheckedDay_) return;
    calibrationCheckedDay_ = today;
    if (!OncePerDay("oncepd_tpms", clock_)) return;

    calibrationPending_ = false;
    TickStopwatch watch(clock_);
    watch.Start();
    for (int i = 0; i < kCalibrationSteps; ++i) scene_.Step();
    const int64_t perStep = watch.ElapsedMs() / kCalibrationSteps;
    MainIni().WriteUInt("Params", "TickProcess_mSec", perStep > 0 ? static_cast<unsigned long>(perStep) : 0ul);
}

bool SaverWindow::AdjustTickTiming() {
    if (!timingStarted_) {
        timingStarted_ = true;
        timingWatch_.Start();
        debugTiming_ = MainIni().ReadInt("params", "DebugTickTime", 0) != 0;
    }
    ++timingCounter_;
    if (timingCounter_ % kAdjustEvery != 0) return false;

    previousReadingMs_ = lastReadingMs_;
    lastReadingMs_ = timingWatch_.ElapsedMs();
    if (previousReadingMs_ == 0) return false;

    // A clock set back or forward gives a nonsense span; the bounds catch it.
    const int64_t perTick = (lastReadingMs_ - previousReadingMs_) / kAdjustEvery;
    values_.RealTickTime = static_cast<int>(Clamp(perTick, 30, 100));
    const long stepCost = MainIni().ReadInt("params", "TickProcess_mSec", 10);
    const int64_t computed = Clamp((static_cast<int64_t>(values_.RealTickTime) - stepCost) / 2, 40, 80);
    // The override is taken as given, but a period below 1 ms would stop the timer.
    const long fixed = MainIni().ReadInt("params", "FixedTickTime", static_cast<long>(computed));
    values_.TickTime = static_cast<int>(fixed >= 1 && fixed <= INT32_MAX ? fixed : computed);

    if (debugTiming_) {
        char text[100];
        std::snprintf(text, sizeof text, "ite=%u, tt=%u, rtt=%u  ", timingCounter_ / kAdjustEvery,
                      static_cast<unsigned>(values_.TickTime), static_cast<unsigned>(values_.RealTickTime));
        timingText_ = text;
        host_.DrawTimingText(values_.ScreenRect, timingText_);
    }
    return true;
}

ProcResult SaverWindow::OnEraseBackground(EraseCanvas canvas) {
    if (exitAtOnce_) return ProcResult::Done(0);
    if (!parts_.RunStartUpEffect(host_.Window(), canvas)) host_.PaintBlack(canvas);
    parts_.BindDisplay(host_.Window());
    return ProcResult::Done(0);
}

ProcResult SaverWindow::OnMouseMove() {
    // The cursor jitters while a saver starts; the first moves must not end it.
    if (!exitAtOnce_ && values_.TickCounter < kMouseGraceTicks) return ProcResult::Done(0);
    return ProcResult::PassOn();
}

ProcResult SaverWindow::OnClose() {
    AppLog().LogWithTime("WM_CLOSE received");
    AppLog().Info.Log("screen width", values_.ScreenRect.right - values_.ScreenRect.left);
    AppLog().Info.Log("screen height", values_.ScreenRect.bottom - values_.ScreenRect.top);
    if (exitAtOnce_) return ProcResult::PassOn();
    parts_.ClosingJoke();
    parts_.ApplicationShutdown();
    return ProcResult::PassOn();
}

ProcResult SaverWindow::OnDestroy() {
    AppLog().Info.Log("Screensaver", "WM_DESTROY received");
    if (!hasSkyDC_ || exitAtOnce_) {
        // A timer can be running although no scene was built (closed before the first
        // tick); it must not tick into a window that is gone.
        if (timerId_ != 0) host_.KillTimer(timerId_);
        timerId_ = 0;
        return ProcResult::PassOn();
    }
    scene_.Destroy();
    host_.ReleaseSkyDC();
    hasSkyDC_ = false;
    if (timerId_ != 0) host_.KillTimer(timerId_);
    timerId_ = 0;
    if (OncePerDay("oncepd_rtt", clock_)) {
        MainIni().WriteUInt("params", "TickTime", static_cast<unsigned long>(values_.TickTime));
        MainIni().WriteUInt("params", "RealTickTime", static_cast<unsigned long>(values_.RealTickTime));
    }
    AppLog().Info.Log("Screensaver", "WM_DESTROY processed");
    return ProcResult::PassOn();
}

}  // namespace lumi
