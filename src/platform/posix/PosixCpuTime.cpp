// Process CPU time from the POSIX process clock.
#include <ctime>

#include "platform/CpuTime.h"

namespace lumi::platform {

uint64_t ProcessCpuMicroseconds() {
    timespec t{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t) != 0) return 0;
    return static_cast<uint64_t>(t.tv_sec) * 1000000u + static_cast<uint64_t>(t.tv_nsec) / 1000u;
}

}  // namespace lumi::platform
