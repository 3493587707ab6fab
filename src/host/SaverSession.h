// A saver run as a shell drives it: the saver window's logic, the closing rules between
// the input and the window, the posted close and the window's timers. Platform-neutral,
// so the X11 and headless shells share it and tests drive it without a display.
#pragma once

#include <cstdint>
#include <vector>

#include "host/ClosingRules.h"
#include "host/SaverHost.h"
#include "host/SaverWindow.h"
#include "host/SaverParts.h"
#include "sky/SkyScene.h"
#include "base/Clock.h"

namespace lumi {

// Periodic timers on a wrapping millisecond tick count, as a window's timers behave:
// a late timer fires once, then again one period later (missed expiries are dropped).
class TimerTable {
public:
    // Starts or restarts timer id (nonzero); the first expiry is period ms after now.
    void Set(unsigned id, unsigned periodMs, uint32_t nowMs);
    void Kill(unsigned id);
    bool Running(unsigned id) const;
    bool Empty() const { return timers_.empty(); }
    // Milliseconds until the earliest timer is due (0 when one is overdue), or -1 when
    // no timer runs.
    long MsUntilDue(uint32_t nowMs) const;
    // One timer due at now, rescheduled one period after now; false when none is due.
    // Taken one at a time, so a timer killed by an earlier one's handler does not fire,
    // and nothing is allocated per tick.
    bool TakeNextDue(uint32_t nowMs, unsigned& id);

private:
    struct Timer {
        unsigned id;
        unsigned periodMs;
        uint32_t dueMs;
    };
    std::vector<Timer> timers_;
};

// The part of a SaverHost every shell has in common: the timers and the posted close
// live in the shell's own loop.
class SessionHost : public SaverHost {
public:
    explicit SessionHost(Clock& clock) : clock_(clock) {}

    unsigned SetTimer(unsigned id, unsigned periodMs) override;
    void KillTimer(unsigned id) override;
    void PostClose() override { closePosted_ = true; }

    TimerTable& Timers() { return timers_; }
    Clock& TimerClock() { return clock_; }
    // True once per posted close (several posts before the loop looks count as one, as
    // the close of a window that is already going does nothing).
    bool TakePostedClose();

private:
    Clock& clock_;
    TimerTable timers_;
    bool closePosted_ = false;
};

class SaverSession {
public:
    SaverSession(SessionHost& host, SkyScene& scene, SaverParts& parts, WindowRole role,
                 PasswordMode passwordMode, Clock& clock = TheClock(),
                 SaverSettingsFile settings = SaverSettingsFile(), SaverRunValues& values = SaverRun());

    // The window exists: the closing rules start from the cursor, then the window's
    // creation runs. acLineStatus is ClosingRules::UnknownAcLine where there is none.
    void Create(uint8_t acLineStatus = ClosingRules::UnknownAcLine);
    void Erase(EraseCanvas canvas);
    // Every timer due by the host's clock, then any close they posted.
    void RunDueTimers();
    void Timer(unsigned id);

    // Input, fed to the closing rules the way the frame filters it.
    void KeyOrButton();
    void MouseMove(SkyPoint cursor);
    void ActivationLost();
    // The machine came back from a suspend the user asked for.
    void Resumed();

    // A close that does not come from the rules (the window manager's close button,
    // Escape in a plain window, a termination signal): the same close request.
    void RequestClose();
    // Handles a close the rules or the saver window posted.
    void DispatchPostedClose();
    // The window was destroyed from outside (a preview host gone): teardown only.
    void WindowGone();

    bool Created() const { return created_; }
    bool Ended() const { return ended_; }
    SaverWindow& Window() { return window_; }
    const ClosingRules& Rules() const { return rules_; }

private:
    void Post(CloseVerdict verdict);
    void Destroy();

    SessionHost& host_;
    ClosingRules rules_;
    SaverWindow window_;
    bool created_ = false;
    bool ended_ = false;
};

}  // namespace lumi
