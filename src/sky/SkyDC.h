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

// Shows what was drawn on `SkyDC` at once, in the middle of a tick, where the shell's own
// present after the tick would come too late (the splash while the scene is built). The
// shell sets how; unset (or nullptr), nothing happens.
using SkyPresenter = void (*)(void* context);
void SetSkyPresenter(SkyPresenter present, void* context);
void PresentSkyNow();

}  // namespace lumi
