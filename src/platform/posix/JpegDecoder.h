// JPEG pictures decoded with libjpeg, whose errors come back to us instead of ending the
// process, so a damaged or hostile file only means "no picture".
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Wallpaper.h"

namespace lumi {

// Decodes a whole JPEG file held in memory. Refuses pictures with more than maxPixels
// pixels and truncated files; a picture too large for gfx::Image is decoded at 1/2, 1/4
// or 1/8 of its size instead. The picture is turned upright by its EXIF orientation.
PictureLoad DecodeJpeg(const uint8_t* data, size_t size, int64_t maxPixels = kMaxWallpaperPixels);

}  // namespace lumi
