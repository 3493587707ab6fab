// Deadlines for blocking network calls, on the steady clock (not the program's clock:
// a fake clock must not stretch or cut a real socket's time-out).
#pragma once
#include <chrono>

namespace lumi::platform {

using SteadyClock = std::chrono::steady_clock;

// Milliseconds until the deadline, 0 once it has passed.
inline int MsLeft(SteadyClock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left);
}

inline SteadyClock::time_point After(int ms) { return SteadyClock::now() + std::chrono::milliseconds(ms < 0 ? 0 : ms); }

}  // namespace lumi::platform
