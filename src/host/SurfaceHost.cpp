// The raster side of a saver window: the canvas the sky and the erase draw on.
#include "host/SurfaceHost.h"

#include "gfx/Canvas.h"
#include "gfx/Surface.h"
#include "sky/SkyDC.h"

namespace lumi {

SurfaceHost::SurfaceHost(Clock& clock, std::shared_ptr<gfx::Surface> surface)
    : SessionHost(clock), surface_(std::move(surface)), canvas_(std::make_unique<gfx::Canvas>(surface_)) {}

SurfaceHost::~SurfaceHost() {
    // The scene must never draw through a canvas that is gone.
    if (skyDCTaken_ && SkyDC() == canvas_.get()) SetSkyDC(nullptr);
}

SkyRect SurfaceHost::ClientRect() { return {0, 0, surface_->Width(), surface_->Height()}; }

bool SurfaceHost::AcquireSkyDC() {
    SetSkyDC(canvas_.get());
    skyDCTaken_ = true;
    return true;
}

void SurfaceHost::ReleaseSkyDC() {
    if (SkyDC() == canvas_.get()) SetSkyDC(nullptr);
    skyDCTaken_ = false;
}

void SurfaceHost::PaintBlack(EraseCanvas canvas) {
    auto* target = static_cast<gfx::Canvas*>(canvas);
    if (!target) target = canvas_.get();
    target->FillRect({0, 0, surface_->Width(), surface_->Height()}, gfx::Brush::Black());
}

void SurfaceHost::DrawTimingText(const SkyRect& rect, const std::string& text) {
    gfx::Rect box{rect.left, rect.top, rect.right, rect.bottom};
    canvas_->DrawText(text, box, 0);
    canvas_->TextOut(1, 200, text);
}

EraseCanvas SurfaceHost::EraseTarget() { return canvas_.get(); }

}  // namespace lumi
