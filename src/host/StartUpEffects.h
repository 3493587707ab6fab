// The start-up effect: at the first erase of the saver window the desktop picture under
// it collapses to a bright line and a fading dot, like an old television switched off.
#pragma once

#include <cstdint>
#include <functional>

#include "base/Clock.h"

namespace lumi {

namespace gfx {
class Canvas;
}

// Waits between the frames of the effect. A shell that presents its raster only once a
// tick shows what was drawn so far before waiting, or the effect would never be seen.
using EffectPause = std::function<void(uint32_t milliseconds)>;

// Runs the effect on the canvas of the window being erased, once per process; later calls
// do nothing. Without a pause the clock sleeps between the frames.
void SwitchOffEffect(gfx::Canvas& canvas, const EffectPause& pause = {});

// Whether the effect is still to run in this process.
bool SwitchOffEffectPending();
// For tests and a second run in one process: the effect runs again at the next erase.
void ArmSwitchOffEffect();

// The height of each closing band for a client height: a sixteenth, rounded up.
int SwitchOffBandHeight(int clientHeight);

}  // namespace lumi
