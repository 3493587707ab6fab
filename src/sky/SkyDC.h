// `SkyDC`: the canvas over the saver window's surface that every scene element draws on.
// The shell sets it when the saver window takes its drawing surface (first tick) and
// clears it when the window goes.
#pragma once

namespace lumi {
namespace gfx {
class Canvas;
}

// nullptr before the first tick, after the window is destroyed, and in the dialog.
gfx::Canvas* SkyDC();
void SetSkyDC(gfx::Canvas* canvas);

}  // namespace lumi
