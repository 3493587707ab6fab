// The closing rules as a pure object: the shells feed it events and post the closes it
// asks for, so the rules are the same on every platform and testable without one.
#include "host/ClosingRules.h"

#include <cstdlib>

namespace lumi {

ClosingRules::ClosingRules(WindowRole role, PasswordMode passwordMode, Clock& clock)
    : role_(role), passwordMode_(passwordMode), clock_(clock) {}

void ClosingRules::Start(SkyPoint cursor, uint8_t acLineStatus) {
    lastCursorPos_ = cursor;
    acLineStatus_ = acLineStatus;
}

bool ClosingRules::Watching() const {
    return role_ != WindowRole::Preview && !closingAllowed_ && !passwordCheckActive_;
}

CloseVerdict ClosingRules::OnKeyOrButton() { return Close(); }

CloseVerdict ClosingRules::OnMouseMove(SkyPoint cursor) {
    if (!Watching()) return CloseVerdict::Stay;
    // 64-bit so that coordinates at the ends of the int range cannot overflow the sum.
    const int64_t distance = std::llabs(static_cast<int64_t>(cursor.x) - lastCursorPos_.x) +
                             std::llabs(static_cast<int64_t>(cursor.y) - lastCursorPos_.y);
    if (distance <= MouseMoveThreshold) return CloseVerdict::Stay;
    lastCursorPos_ = cursor;
    return CloseVerdict::PostClose;
}

CloseVerdict ClosingRules::OnActivateApp(bool active) { return active ? CloseVerdict::Stay : Close(); }

CloseVerdict ClosingRules::OnPower(uint32_t wParam) {
    return wParam == power::kCriticalResume ? Close() : CloseVerdict::Stay;
}

CloseVerdict ClosingRules::OnPowerBroadcast(uint32_t event, uintptr_t lParam,
                                            const std::function<uint8_t()>& readAcLine) {
    if (!Watching()) return CloseVerdict::Stay;
    switch (event) {
        case power::kResumeCritical:
        case power::kResumeSuspend:
        case power::kResumeStandby:
        case power::kResumeAutomatic:
            // Bit 0 marks a resume the system itself asked for, which is no user's wish.
            return (lParam & 1u) ? CloseVerdict::Stay : CloseVerdict::PostClose;
        case power::kPowerStatusChange: {
            const uint8_t now = readAcLine ? readAcLine() : UnknownAcLine;
            const bool changed = now != acLineStatus_;
            acLineStatus_ = now;
            return changed ? CloseVerdict::PostClose : CloseVerdict::Stay;
        }
        default:
            // 0..5, 9 and everything above 10: suspend queries, suspends, battery alarms.
            return CloseVerdict::PostClose;
    }
}

CloseVerdict ClosingRules::OnMonitorPower() {
    return role_ == WindowRole::Preview ? CloseVerdict::Stay : CloseVerdict::PostClose;
}

ClosingRules::AutoPlayAnswer ClosingRules::OnAutoPlayQuery(const PasswordVerifier* verifier) const {
    const bool loaded = verifier && verifier->Loaded();
    return {loaded ? CloseVerdict::PostClose : CloseVerdict::Stay, loaded ? 1L : 0L};
}

CloseOutcome ClosingRules::OnCloseRequest(SkyPoint cursor, PasswordVerifier* verifier) {
    if (role_ == WindowRole::Preview || closingAllowed_ || passwordMode_ != PasswordMode::Legacy)
        return CloseOutcome::Destroy;
    if (VerifySaverPassword(verifier)) return CloseOutcome::Destroy;
    lastCursorPos_ = cursor;
    return CloseOutcome::Refuse;
}

bool ClosingRules::VerifySaverPassword(PasswordVerifier* verifier) {
    if (!verifier || !verifier->Loaded()) {
        closingAllowed_ = true;
        return true;
    }
    // A burst of input posts several closes; only the first of them shows the dialog.
    // No verification yet is its own state, so a tick count near 0 cannot throttle it.
    if (lastVerification_ && static_cast<uint32_t>(clock_.TickCount() - *lastVerification_) < VerifyIntervalMs)
        return closingAllowed_;
    passwordCheckActive_ = true;
    closingAllowed_ = verifier->Verify();
    passwordCheckActive_ = false;
    // Measured from the dialog's end: the keys typed into it must not start another.
    lastVerification_ = clock_.TickCount();
    return closingAllowed_;
}

}  // namespace lumi
