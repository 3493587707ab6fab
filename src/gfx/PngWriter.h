// PNG output of pictures (snapshots of the sky, previews of artwork). Our own small
// encoder, the same on every platform, so no image library is needed at run time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/Image.h"

namespace lumi::gfx {

// How the 32-bit pixels given hold their colour: 0x00BBGGRR as everywhere at interfaces,
// or 0x00RRGGBB as a Surface stores its rows (so a snapshot needs no converted copy).
enum class PixelOrder { ColorRef, Native };

// An 8-bit RGB PNG of width × height pixels whose rows are stridePixels apart.
// Empty for a size outside the image limits or a null buffer.
std::vector<uint8_t> EncodePng(int width, int height, const uint32_t* pixels, size_t stridePixels,
                               PixelOrder order = PixelOrder::ColorRef);
inline std::vector<uint8_t> EncodePng(const Image& image) {
    return EncodePng(image.Width(), image.Height(), image.Pixels().data(), static_cast<size_t>(image.Width()));
}
// False when the picture cannot be encoded or the file not written completely.
bool WritePngFile(const std::string& path, const Image& image);

// The checksums PNG and its zlib stream carry (exposed for the tests that read our files).
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size, uint32_t adler = 1);

}  // namespace lumi::gfx
