// A clock that moves only when told: fixed zone offset, no daylight saving.
#pragma once

#include "base/Clock.h"

namespace lumi {

class FakeClock : public Clock {
public:
    // utcMilliseconds since 1970; biasMinutes in the Windows sense (UTC = local + bias).
    explicit FakeClock(int64_t utcMilliseconds = 0, long biasMinutes = 0);

    void SetUtcMilliseconds(int64_t ms) { utcMs_ = ms; }
    void SetBiasMinutes(long bias) { bias_ = bias; }
    void Advance(int64_t milliseconds);

    int64_t UtcNow() override;
    LocalTime LocalNow() override;
    LocalTime ToLocal(int64_t utcSeconds) override;
    std::optional<int64_t> FromLocal(const LocalTime& local) override;
    uint32_t TickCount() override;
    TimeZoneInfo TimeZone() override;
    void Sleep(uint32_t milliseconds) override;

private:
    int64_t utcMs_;
    int64_t tickMs_ = 0;
    long bias_;
};

}  // namespace lumi
