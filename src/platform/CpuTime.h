// How much processor time this process has used, for the frame-rate display's load figure.
#pragma once

#include <cstdint>

namespace lumi::platform {

// User plus system time of every thread of the process so far, in microseconds; 0 when
// the system cannot say.
uint64_t ProcessCpuMicroseconds();

}  // namespace lumi::platform
