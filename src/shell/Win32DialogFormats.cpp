// Pictures and filter lists in the forms the Windows dialogs take.
#include "shell/Win32DialogFormats.h"

#include <algorithm>

#include "gfx/Image.h"

namespace lumi::shell {

namespace {

std::string UpToZero(const std::string& text) { return text.substr(0, text.find('\0')); }

}  // namespace

int DibStride(int width) { return (width * 3 + 3) / 4 * 4; }

std::vector<uint8_t> BottomUpBgrRows(const gfx::Image& image) {
    if (image.Empty()) return {};
    const int width = image.Width();
    const int height = image.Height();
    const size_t stride = static_cast<size_t>(DibStride(width));
    std::vector<uint8_t> bits(stride * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        // Pixels are 0x00BBGGRR; a bitmap row keeps blue first.
        const uint32_t* source = image.Row(height - 1 - y);
        uint8_t* out = bits.data() + stride * static_cast<size_t>(y);
        for (int x = 0; x < width; ++x) {
            const uint32_t colour = source[x];
            *out++ = static_cast<uint8_t>(colour >> 16);
            *out++ = static_cast<uint8_t>(colour >> 8);
            *out++ = static_cast<uint8_t>(colour);
        }
    }
    return bits;
}

dialogs::Rect ScaledPictureSize(int width, int height, double scale, int roomWidth, int roomHeight) {
    if (width <= 0 || height <= 0) return {0, 0, 0, 0};
    double factor = scale;
    factor = std::min(factor, static_cast<double>(roomWidth) / width);
    factor = std::min(factor, static_cast<double>(roomHeight) / height);
    if (!(factor > 1.0)) return {0, 0, width, height};
    return {0, 0, static_cast<int>(width * factor), static_cast<int>(height * factor)};
}

std::string FilterListText(const std::vector<dialogs::FileFilter>& filters) {
    std::string text;
    for (const auto& filter : filters) {
        text += UpToZero(filter.label);
        text += '\0';
        text += UpToZero(filter.pattern);
        text += '\0';
    }
    text += '\0';
    return text;
}

}  // namespace lumi::shell
