// The hourly sound: a check every two seconds notices the minute going backwards, plays
// the cuckoo at the check after, and brings the background sound back at the next.
#include "scene/TimeEvents.h"

#include "sky/SaverRun.h"
#include "base/Clock.h"
#include "settings/IniFile.h"
#include "base/Log.h"

namespace lumi {

namespace {

HourWatch hourWatch;

}  // namespace

HourWatch& TheHourWatch() { return hourWatch; }
void ResetHourWatch() { hourWatch = HourWatch(); }

void TimeEvents::Create(WindowHandle window) {
    window_ = window;
    enabled = static_cast<int>(MainIni().ReadIntForUser("Sound", "cuckoo", 0));
    AppLog().Info.Log("TimeEvents", "Create");
    sound.Play(window_);
}

void TimeEvents::Step() {
    if (!enabled) return;
    const SaverRunValues& run = SaverRun();
    const int every = run.RealTickTime > 0 ? kCheckMs / run.RealTickTime : 1;
    if (every > 1 && (run.TickCounter + 1) % every != 0) return;

    HourWatch& w = hourWatch;
    const LocalTime now = TheClock().LocalNow();
    // Any step back counts, so setting the clock back also sounds the hour.
    w.wrapNow = now.minute < w.lastMinute;
    w.lastMinute = now.minute;
    if (!w.wrapNow && w.wrap1Ago) {
        const bool morning = now.hour >= 7 && now.hour <= 9;
        AppLog().Info.Log("TimeEvents hour", now.hour);
        PlayBuiltInSound(window_, morning ? kMorningCuckoo : kCuckoo, SoundLoop::Once);
    }
    // The cuckoo replaced the background sound; one check later it returns.
    if (!w.wrap1Ago && w.wrap2Ago) sound.Play(window_);
    w.wrap2Ago = w.wrap1Ago;
    w.wrap1Ago = w.wrapNow;
}

void TimeEvents::Close() { sound.Stop(); }

}  // namespace lumi
