// JPEG files made with libjpeg for the tests that read pictures.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gfx/Image.h"

namespace lumi::testing {

// The picture as a baseline JPEG with full-resolution colour (no chroma subsampling),
// so flat areas come back within a step or two of their colour. exif, when given, is
// written as the APP1 block after "Exif\0\0".
std::vector<uint8_t> EncodeJpeg(const gfx::Image& picture, int quality = 95, const std::vector<uint8_t>& exif = {});
// The same for a picture given by its colour at each place (sizes gfx::Image refuses).
std::vector<uint8_t> EncodeJpeg(int width, int height, const std::function<uint32_t(int x, int y)>& colour,
                                int quality = 95, const std::vector<uint8_t>& exif = {});
void WriteJpeg(const std::string& path, const gfx::Image& picture);

// A big-endian EXIF block whose first directory holds only the orientation tag.
std::vector<uint8_t> ExifWithOrientation(int orientation);

// Whether two 0x00BBGGRR colours differ by at most tolerance in every channel.
bool CloseColour(uint32_t a, uint32_t b, int tolerance = 6);

}  // namespace lumi::testing
