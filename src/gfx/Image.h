// A plain picture in memory: 0x00BBGGRR pixels, rows from the top down. The common
// currency between the file readers and writers, the resources and the raster.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumi::gfx {

// Decoders refuse anything larger, so a hostile header cannot ask for gigabytes.
constexpr int kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = int64_t{1} << 26;

class Image {
public:
    Image() = default;

    // A width × height picture filled with one colour; nullopt for a size that is not
    // positive or beyond the limits above.
    static std::optional<Image> Create(int width, int height, uint32_t fill = 0);
    static bool SizeAllowed(int64_t width, int64_t height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return pixels_.empty(); }

    // Outside the picture a read gives black and a write does nothing, as on a device.
    uint32_t Pixel(int x, int y) const {
        return Inside(x, y) ? pixels_[Index(x, y)] : 0;
    }
    void SetPixel(int x, int y, uint32_t colour) {
        if (Inside(x, y)) pixels_[Index(x, y)] = colour;
    }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    const uint32_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
    uint32_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
    const std::vector<uint32_t>& Pixels() const { return pixels_; }

    bool operator==(const Image& other) const {
        return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
    }
    bool operator!=(const Image& other) const { return !(*this == other); }

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }

    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;
};

// Writes a picture's encoded file in place of what is at path. False when the bytes are
// empty (the encoder refused the picture) or the file was not written completely.
bool WriteEncodedImage(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace lumi::gfx
