// The user's own picture files: Windows bitmaps through our own reader, PNG through the
// platform's decoder (libpng on Linux, the imaging component on Windows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "gfx/Image.h"

namespace lumi {

// Largest picture file read into memory.
constexpr size_t kMaxPictureFileBytes = size_t{64} << 20;
// Most pixels a PNG may unpack to: a small compressed file can declare a huge picture.
constexpr int64_t kMaxPngPixels = int64_t{1} << 24;

// The picture, told apart by its first bytes rather than its name; nullopt when the file
// is missing, too large, of another kind, malformed or beyond the image limits.
std::optional<gfx::Image> ReadPictureFile(const std::string& path);
std::optional<gfx::Image> DecodePicture(const uint8_t* data, size_t size);

// PNG, with any transparency laid over black (the sky). Implemented per platform.
std::optional<gfx::Image> DecodePng(const uint8_t* data, size_t size);

}  // namespace lumi
