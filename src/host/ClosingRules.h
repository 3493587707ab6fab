// The frame's rules for when the saver closes: which input, activation and power events
// end a run, and the throttled password check that may refuse the close.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "host/CommandLine.h"
#include "host/SaverHost.h"
#include "base/Clock.h"

namespace lumi {

enum class WindowRole { FullScreen, Preview };
enum class CloseVerdict { Stay, PostClose };
enum class CloseOutcome { Destroy, Refuse };

// The older Windows family's screen-saver password check, loaded from the system when the
// user asked for a password.
class PasswordVerifier {
public:
    virtual ~PasswordVerifier() = default;
    virtual bool Loaded() const = 0;
    // Shows the system's own password dialog; true when the typed password was right.
    virtual bool Verify() = 0;
};

// Power-management events in the platform's numbering.
namespace power {
constexpr uint32_t kCriticalResume = 3;      // the old power message's wParam
constexpr uint32_t kResumeCritical = 6;      // broadcast events 6..8 and 18 are resumes
constexpr uint32_t kResumeSuspend = 7;
constexpr uint32_t kResumeStandby = 8;
constexpr uint32_t kPowerStatusChange = 10;
constexpr uint32_t kResumeAutomatic = 18;
}  // namespace power

class ClosingRules {
public:
    static constexpr unsigned MouseMoveThreshold = 4;
    static constexpr uint32_t VerifyIntervalMs = 200;
    static constexpr uint8_t UnknownAcLine = 255;

    // The clock gives the tick counts that throttle the password check.
    ClosingRules(WindowRole role, PasswordMode passwordMode, Clock& clock = TheClock());

    // The cursor where the run starts (window creation) and the AC line status read
    // before the window was made (UnknownAcLine when that read failed).
    void Start(SkyPoint cursor, uint8_t acLineStatus);

    // Input and activation; each answers whether a close is to be posted.
    CloseVerdict OnKeyOrButton();
    CloseVerdict OnMouseMove(SkyPoint cursor);
    CloseVerdict OnActivateApp(bool active);
    // The old power message (wParam).
    CloseVerdict OnPower(uint32_t wParam);
    // The power broadcast; readAcLine is asked only for a power-status change and gives
    // UnknownAcLine when the status cannot be read.
    CloseVerdict OnPowerBroadcast(uint32_t event, uintptr_t lParam, const std::function<uint8_t()>& readAcLine);
    // The system asks to switch the monitor off.
    CloseVerdict OnMonitorPower();

    // The autoplay query of the older family: post a close, and answer 1 (cancel the
    // autoplay) while a password verifier is loaded.
    struct AutoPlayAnswer {
        CloseVerdict verdict;
        long result;
    };
    AutoPlayAnswer OnAutoPlayQuery(const PasswordVerifier* verifier) const;

    // A close request reached the default handling: Destroy the window, or Refuse and
    // keep running (a wrong password; the shell hides the cursor again, which the
    // password dialog showed). cursor is the present cursor position.
    CloseOutcome OnCloseRequest(SkyPoint cursor, PasswordVerifier* verifier);
    // The verification itself: whether the saver may close.
    bool VerifySaverPassword(PasswordVerifier* verifier);

    // True while input may still close the run: not a preview, not yet allowed to
    // close, and no password dialog open. The shells hide the cursor only then.
    bool Watching() const;
    bool ClosingAllowed() const { return closingAllowed_; }
    bool PasswordCheckActive() const { return passwordCheckActive_; }
    SkyPoint LastCursorPos() const { return lastCursorPos_; }
    uint8_t AcLineStatus() const { return acLineStatus_; }

private:
    CloseVerdict Close() const { return Watching() ? CloseVerdict::PostClose : CloseVerdict::Stay; }

    WindowRole role_;
    PasswordMode passwordMode_;
    Clock& clock_;
    bool closingAllowed_ = false;
    bool passwordCheckActive_ = false;
    std::optional<uint32_t> lastVerification_;
    SkyPoint lastCursorPos_;
    uint8_t acLineStatus_ = UnknownAcLine;
};

}  // namespace lumi
