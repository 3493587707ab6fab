// Pixel storage of a raster; see Surface.h for the layout.
#include "gfx/Surface.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace lumi::gfx {

Surface::Surface(Token, int width, int height, DirtyTracking tracking)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      own_(static_cast<size_t>(width_) * height_, 0u),
      pixels_(own_.data()) {
    if (tracking == DirtyTracking::On) dirty_ = std::make_unique<DirtyRegion>(width_, height_);
}

Surface::Surface(Token, int width, int height, uint32_t* pixels, Release release, DirtyTracking tracking,
                 Memory memory)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), pixels_(pixels), release_(std::move(release)) {
    if (tracking == DirtyTracking::On) dirty_ = std::make_unique<DirtyRegion>(width_, height_);
    if (memory != Memory::Zeroed) std::memset(pixels_, 0, PixelCount() * sizeof(uint32_t));
}

Surface::~Surface() {
    if (release_) release_(pixels_);
}

std::shared_ptr<Surface> Surface::Create(int width, int height, DirtyTracking tracking) {
    if (width > kMaxDimension || height > kMaxDimension) return nullptr;
    // Allocation is the one thing here that can fail; turn that into a null result so no
    // exception reaches drawing code.
    try {
        return std::make_shared<Surface>(Token{}, width, height, tracking);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::shared_ptr<Surface> Surface::Wrap(int width, int height, uint32_t* pixels, Release release,
                                       DirtyTracking tracking, Memory memory) {
    if (!pixels || width > kMaxDimension || height > kMaxDimension) {
        if (release && pixels) release(pixels);
        return nullptr;
    }
    try {
        // A copy of release, so the handler below still holds one if construction fails.
        return std::make_shared<Surface>(Token{}, width, height, pixels, release, tracking, memory);
    } catch (const std::bad_alloc&) {
        // The surface never took the memory over; hand it back.
        if (release) release(pixels);
        return nullptr;
    }
}

std::shared_ptr<Surface> Surface::FromPixels(int width, int height, const std::vector<Color>& pixels) {
    auto surface = Create(width, height);
    if (!surface || !surface->WritePixels(pixels)) return nullptr;
    return surface;
}

Color Surface::GetPixel(int x, int y) const {
    if (!Contains(x, y)) return kInvalidColor;
    return FromNative(pixels_[static_cast<size_t>(y) * width_ + x]);
}

Color Surface::SetPixel(int x, int y, Color c) {
    if (!Contains(x, y)) return kInvalidColor;
    c &= 0x00FFFFFFu;
    uint32_t& pixel = pixels_[static_cast<size_t>(y) * width_ + x];
    // A pixel set to the colour it has is nothing to present (a star at rest, drawn again).
    if (pixel == ToNative(c)) return c;
    pixel = ToNative(c);
    MarkDirty(Rect{x, y, x + 1, y + 1});
    return c;
}

std::vector<Color> Surface::ReadPixels() const {
    std::vector<Color> out(PixelCount());
    std::transform(pixels_, pixels_ + PixelCount(), out.begin(), [](uint32_t n) { return FromNative(n); });
    return out;
}

bool Surface::WritePixels(const std::vector<Color>& pixels) {
    if (pixels.size() != PixelCount()) return false;
    std::transform(pixels.begin(), pixels.end(), pixels_,
                   [](Color c) { return ToNative(c & 0x00FFFFFFu); });
    MarkDirty(Rect{0, 0, width_, height_});
    return true;
}

}  // namespace lumi::gfx
