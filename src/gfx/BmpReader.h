// Windows bitmap files: a careful reader for the user's own pictures and our resources,
// and a 24-bit writer for the wallpaper.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Image.h"

namespace lumi::gfx {

// Largest file ReadBmpFile will read into memory (a 16384 × 4096 24-bit picture).
constexpr size_t kMaxBmpFileBytes = size_t{200} << 20;

// Decodes a bitmap file ("BM" header) or a packed DIB (what a bitmap resource holds:
// the info header, colour table and pixels without the file header). Reads 1, 4, 8,
// 16, 24 and 32 bits per pixel, uncompressed or with bit-field masks, bottom-up or
// top-down, with the old 12-byte header or any of the later ones. Anything malformed,
// truncated, compressed with run lengths, or larger than the image limits gives nullopt.
std::optional<Image> ReadBmp(const uint8_t* data, size_t size);
inline std::optional<Image> ReadBmp(std::string_view bytes) {
    return ReadBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}
// nullopt also when the file cannot be read or exceeds kMaxBmpFileBytes.
std::optional<Image> ReadBmpFile(const std::string& path);

// A bottom-up 24-bit uncompressed bitmap file of the picture.
std::vector<uint8_t> EncodeBmp24(const Image& image);
// False when the file cannot be written completely.
bool WriteBmpFile(const std::string& path, const Image& image);

}  // namespace lumi::gfx
