// The font rasterizer of this platform: FreeType with fontconfig, or GDI.
#pragma once
#include <memory>

#include "gfx/FontRasterizer.h"

namespace lumi::gfx {

std::unique_ptr<FontRasterizer> PlatformFontRasterizer();

}  // namespace lumi::gfx
