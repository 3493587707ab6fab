// A saver window whose picture is one raster surface: what the X11 and headless shells
// share. The sky's `SkyDC` is a canvas over the surface; the shell presents the surface.
#pragma once

#include <memory>
#include <string>

#include "host/SaverSession.h"

namespace lumi {

namespace gfx {
class Canvas;
class Surface;
}  // namespace gfx

class SurfaceHost : public SessionHost {
public:
    // surface must not be null; it is the window's whole client area.
    SurfaceHost(Clock& clock, std::shared_ptr<gfx::Surface> surface);
    ~SurfaceHost() override;

    SkyRect ClientRect() override;
    bool AcquireSkyDC() override;
    void ReleaseSkyDC() override;
    void PaintBlack(EraseCanvas canvas) override;
    void DrawTimingText(const SkyRect& rect, const std::string& text) override;

    // What an erase of this window paints on (a gfx::Canvas over the surface).
    EraseCanvas EraseTarget();
    const std::shared_ptr<gfx::Surface>& Surface() const { return surface_; }
    bool SkyDCTaken() const { return skyDCTaken_; }

private:
    std::shared_ptr<gfx::Surface> surface_;
    std::unique_ptr<gfx::Canvas> canvas_;
    bool skyDCTaken_ = false;
};

}  // namespace lumi
