// PNG pictures through libpng's simplified reader, which reports errors as return values
// (no long jumps through our frames) and composes transparent pixels over black for us.
#include <png.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/PictureFile.h"

namespace lumi {

std::optional<gfx::Image> DecodePng(const uint8_t* data, size_t size) {
    if (data == nullptr || size == 0) return std::nullopt;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) {
        png_image_free(&image);
        return std::nullopt;
    }
    // The header alone decides the size: refuse before anything is allocated for it.
    if (!gfx::Image::SizeAllowed(image.width, image.height) ||
        int64_t{image.width} * image.height > kMaxPngPixels) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGB;
    const png_color black = {0, 0, 0};
    const size_t stride = size_t{image.width} * 3;
    std::vector<uint8_t> rgb(stride * image.height);
    if (!png_image_finish_read(&image, &black, rgb.data(), static_cast<png_int_32>(stride), nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    std::optional<gfx::Image> out = gfx::Image::Create(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!out) return std::nullopt;
    for (int y = 0; y < out->Height(); ++y) {
        const uint8_t* in = rgb.data() + static_cast<size_t>(y) * stride;
        uint32_t* row = out->Row(y);
        for (int x = 0; x < out->Width(); ++x, in += 3)
            row[x] = uint32_t{in[0]} | (uint32_t{in[1]} << 8) | (uint32_t{in[2]} << 16);
    }
    return out;
}

}  // namespace lumi
