// The time events of the sky: the cuckoo on the hour (a gentler call at 7, 8 and 9
// o'clock), after which the configured background sound comes back.
#pragma once

#include "media/Sound.h"
#include "platform/MessageBox.h"

namespace lumi {

// Where the hour detection stands; it lives for the process (window thread only).
struct HourWatch {
    int lastMinute = -1;  // the first check of a run never sees a turn
    bool wrapNow = false;
    bool wrap1Ago = false;
    bool wrap2Ago = false;
};
HourWatch& TheHourWatch();
// For tests and a second run in one process.
void ResetHourWatch();

class TimeEvents {
public:
    static constexpr int kCuckoo = 110;
    static constexpr int kMorningCuckoo = 143;
    static constexpr int kCheckMs = 2000;

    // Reads the switch and starts the background sound on the saver window.
    void Create(WindowHandle window);
    // Once per tick, after every other element of the sky.
    void Step();
    // Stops every sound, the MIDI file's included.
    void Close();

    int enabled = 0;  // "cuckoo" of section "Sound"
    SoundSettings sound;

private:
    WindowHandle window_ = nullptr;
};

}  // namespace lumi
