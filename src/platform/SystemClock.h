// The real clock of this platform (POSIX or Win32).
#pragma once
#include "base/Clock.h"

namespace lumi {

Clock& SystemClock();

}  // namespace lumi
