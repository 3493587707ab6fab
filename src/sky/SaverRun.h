// The values of the running saver: the saver window writes them, every sky element reads
// them.
#pragma once

#include "platform/MessageBox.h"
#include "sky/SkyRect.h"

namespace lumi {

// The values of the running saver that every scene element reads. One per process.
struct SaverRunValues {
    WindowHandle SkyWindow = nullptr;
    SkyRect ScreenRect;
    SkyRect MonitorRect;
    int TickTime = 40;      // the timer period, ms
    int RealTickTime = 60;  // the measured real duration of one tick, ms
    int TickCounter = 0;    // ticks accepted since start
};

SaverRunValues& SaverRun();
// For tests and a second run in one process: back to the values before any run.
void ResetSaverRun();

}  // namespace lumi
