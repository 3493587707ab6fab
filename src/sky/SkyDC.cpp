// The saver window's drawing canvas, set by the shell (GUI thread only).
#include "sky/SkyDC.h"

namespace lumi {

namespace {
gfx::Canvas* skyCanvas = nullptr;
}

gfx::Canvas* SkyDC() { return skyCanvas; }
void SetSkyDC(gfx::Canvas* canvas) { skyCanvas = canvas; }

}  // namespace lumi
