// Construction of pictures within the size limits.
#include "gfx/Image.h"

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

}  // namespace lumi::gfx
