// The saver window's drawing canvas, set by the shell (GUI thread only).
#include "sky/SkyDC.h"

namespace lumi {

namespace {
gfx::Canvas* skyCanvas = nullptr;
SkyPresenter skyPresenter = nullptr;
void* skyPresenterContext = nullptr;
}

gfx::Canvas* SkyDC() { return skyCanvas; }
void SetSkyDC(gfx::Canvas* canvas) { skyCanvas = canvas; }

void SetSkyPresenter(SkyPresenter present, void* context) {
    skyPresenter = present;
    skyPresenterContext = context;
}

void PresentSkyNow() {
    if (skyPresenter) skyPresenter(skyPresenterContext);
}

}  // namespace lumi
