// Process CPU time from GetProcessTimes.
#include <windows.h>

#include "platform/CpuTime.h"

namespace lumi::platform {

uint64_t ProcessCpuMicroseconds() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    auto ticks = [](const FILETIME& f) {
        return (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    // File-time units are 100 ns.
    return (ticks(kernel) + ticks(user)) / 10u;
}

}  // namespace lumi::platform
