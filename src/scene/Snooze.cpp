// The pause between two passes of the flying picture.
#include "scene/Snooze.h"

#include "base/Clock.h"
#include "base/Log.h"

namespace lumi {
namespace {

// Milliseconds of local time since 1970, as a stopwatch on the local clock reads them.
int64_t LocalMs() {
    const LocalTime t = TheClock().LocalNow();
    const int64_t days = DaysFromCivil(t.year + 1900, t.month + 1, t.day);
    return ((days * 24 + t.hour) * 60 + t.minute) * 60000 + int64_t{t.second} * 1000 + t.millisecond;
}

}  // namespace

void Snooze::Start(uint32_t n) {
    startMs_ = LocalMs();
    length_ = n;
    AppLog().Info.Log("Snooze started for (sec)", static_cast<long>(n));
}

uint32_t Snooze::Remaining() {
    if (length_ == 0) return 0;
    // A clock set back makes the elapsed time negative: the pause then simply goes on
    // until its length has passed from the new reading.
    int64_t elapsedMs = LocalMs() - startMs_;
    if (elapsedMs < 0) {
        startMs_ = LocalMs();
        elapsedMs = 0;
    }
    const int64_t e = elapsedMs / 1000;
    if (e < length_) return static_cast<uint32_t>(length_ - e);
    length_ = 0;
    return 0;
}

}  // namespace lumi
