// The pause of a flying picture between two passes over the sky, in whole seconds of
// local time.
#pragma once

#include <cstdint>

namespace lumi {

class Clock;

class Snooze {
public:
    // Starts a pause of n seconds from now, read from the program's clock.
    void Start(uint32_t n);
    // Seconds left; 0 when not pausing (and the pause is over from then on).
    uint32_t Remaining();

    uint32_t Length() const { return length_; }

private:
    uint32_t length_ = 0;
    int64_t startMs_ = 0;
};

}  // namespace lumi
