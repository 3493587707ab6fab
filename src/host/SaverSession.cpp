// The saver run shared by the shells: events in the order the frame sees them, the close
// sequence (saver window, closing rules, destruction) and the timer bookkeeping.
#include "host/SaverSession.h"

#include <algorithm>

#include "base/Log.h"

namespace lumi {

namespace {

// Signed distance on the wrapping tick count, so a count passing 2^32 keeps the order.
int32_t MsAfter(uint32_t later, uint32_t earlier) { return static_cast<int32_t>(later - earlier); }

}  // namespace

void TimerTable::Set(unsigned id, unsigned periodMs, uint32_t nowMs) {
    // A period of 0 would fire on every pass of the loop; the platform makes it 1 ms
    // at least, and so do we. Periods beyond 24 days would break the signed distance.
    periodMs = std::clamp(periodMs, 1u, 0x7FFFFFFFu / 2);
    for (Timer& t : timers_) {
        if (t.id == id) {
            t.periodMs = periodMs;
            t.dueMs = nowMs + periodMs;
            return;
        }
    }
    timers_.push_back({id, periodMs, nowMs + periodMs});
}

void TimerTable::Kill(unsigned id) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; }),
                  timers_.end());
}

bool TimerTable::Running(unsigned id) const {
    return std::any_of(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; });
}

long TimerTable::MsUntilDue(uint32_t nowMs) const {
    long best = -1;
    for (const Timer& t : timers_) {
        const long wait = std::max<long>(0, MsAfter(t.dueMs, nowMs));
        if (best < 0 || wait < best) best = wait;
    }
    return best;
}

bool TimerTable::TakeNextDue(uint32_t nowMs, unsigned& id) {
    for (Timer& t : timers_) {
        if (MsAfter(t.dueMs, nowMs) <= 0) {
            id = t.id;
            t.dueMs = nowMs + t.periodMs;
            return true;
        }
    }
    return false;
}

unsigned SessionHost::SetTimer(unsigned id, unsigned periodMs) {
    if (id == 0) return 0;
    timers_.Set(id, periodMs, clock_.TickCount());
    return id;
}

void SessionHost::KillTimer(unsigned id) { timers_.Kill(id); }

bool SessionHost::TakePostedClose() {
    const bool posted = closePosted_;
    closePosted_ = false;
    return posted;
}

SaverSession::SaverSession(SessionHost& host, SkyScene& scene, SaverParts& parts, WindowRole role,
                           PasswordMode passwordMode, Clock& clock, SaverSettingsFile settings,
                           SaverRunValues& values)
    : host_(host),
      rules_(role, passwordMode, clock),
      window_(host, scene, parts, clock, values, std::move(settings)) {}

void SaverSession::Create(uint8_t acLineStatus) {
    if (created_) return;
    created_ = true;
    rules_.Start(host_.GetCursorPos(), acLineStatus);
    window_.OnCreate();
    DispatchPostedClose();
}

void SaverSession::Erase(EraseCanvas canvas) {
    if (!created_ || ended_) return;
    window_.OnEraseBackground(canvas);
}

void SaverSession::RunDueTimers() {
    if (!created_ || ended_) return;
    const uint32_t now = host_.TimerClock().TickCount();
    unsigned id = 0;
    while (host_.Timers().TakeNextDue(now, id)) {
        Timer(id);
        if (ended_) return;
    }
}

void SaverSession::Timer(unsigned id) {
    // Once the close is allowed the window is going; its timer must not step the sky.
    if (!created_ || ended_ || rules_.ClosingAllowed()) return;
    window_.OnTimer(id);
    DispatchPostedClose();
}

void SaverSession::Post(CloseVerdict verdict) {
    if (verdict == CloseVerdict::PostClose) host_.PostClose();
}

void SaverSession::KeyOrButton() {
    if (!created_ || ended_) return;
    Post(rules_.OnKeyOrButton());
}

void SaverSession::MouseMove(SkyPoint cursor) {
    if (!created_ || ended_) return;
    // The saver window swallows the moves of the first ticks; the rest reach the rules.
    if (!window_.OnMouseMove().PassesOn()) return;
    Post(rules_.OnMouseMove(cursor));
}

void SaverSession::ActivationLost() {
    if (!created_ || ended_) return;
    Post(rules_.OnActivateApp(false));
}

void SaverSession::Resumed() {
    if (!created_ || ended_) return;
    Post(rules_.OnPowerBroadcast(power::kResumeSuspend, 0, nullptr));
}

void SaverSession::RequestClose() {
    if (!created_ || ended_) return;
    host_.PostClose();
    DispatchPostedClose();
}

void SaverSession::DispatchPostedClose() {
    while (!ended_ && host_.TakePostedClose()) {
        window_.OnClose();
        // No password verifier on the systems where the system checks the password.
        if (rules_.OnCloseRequest(host_.GetCursorPos(), nullptr) == CloseOutcome::Destroy) Destroy();
    }
}

void SaverSession::WindowGone() {
    if (!created_ || ended_) return;
    AppLog().Info.Log("SaverSession", "window destroyed from outside");
    Destroy();
}

void SaverSession::Destroy() {
    ended_ = true;
    window_.OnDestroy();
    host_.Timers() = TimerTable();
}

}  // namespace lumi
