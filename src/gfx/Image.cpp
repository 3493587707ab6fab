// Construction of pictures within the size limits, and the writing of encoded ones.
#include "gfx/Image.h"

#include <fstream>

namespace lumi::gfx {

bool Image::SizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

std::optional<Image> Image::Create(int width, int height, uint32_t fill) {
    if (!SizeAllowed(width, height)) return std::nullopt;
    Image image;
    image.width_ = width;
    image.height_ = height;
    image.pixels_.assign(static_cast<size_t>(width) * height, fill);
    return image;
}

bool WriteEncodedImage(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace lumi::gfx
