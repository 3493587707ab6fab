// A raster of 32-bit pixels: the sky's window surface and every memory bitmap.
//
// Pixels are stored top-down, one uint32_t each, as 0x00RRGGBB (X8R8G8B8; in memory on a
// little-endian machine the bytes are blue, green, red, unused). That is the layout of a
// 32-bit Windows DIB and of the usual 24/32-bit X visuals, so a shell can present rows
// without converting. Colours at the interface stay 0x00BBGGRR; only raw access sees the
// native order.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/DirtyRegion.h"
#include "gfx/Types.h"

namespace lumi::gfx {

enum class DirtyTracking { Off, On };

class Surface {
public:
    // Largest width or height a surface may have; larger requests fail.
    static constexpr int kMaxDimension = 16384;

    // A black surface. Negative sizes count as 0 (an empty surface every operation clips
    // away); nullptr when the size is too large or memory runs out.
    static std::shared_ptr<Surface> Create(int width, int height, DirtyTracking tracking = DirtyTracking::Off);
    // A surface holding a picture given as 0x00BBGGRR values, rows top-down.
    static std::shared_ptr<Surface> FromPixels(int width, int height, const std::vector<Color>& pixels);
    // A surface over memory someone else provides (a shared-memory image, a DIB section), so
    // the window system reads the pixels where they are drawn. The memory holds width x height
    // pixels in rows of exactly width, is cleared to black here (unless its provider says it
    // is zeroed already: clearing 8 MB the system has just zeroed costs a start-up a pass
    // over all of it), and must stay valid until release is called with it, once, when the
    // last owner of the surface lets go.
    // nullptr for a null pointer or a size Create would refuse (release is then called at once).
    using Release = std::function<void(uint32_t*)>;
    enum class Memory { Any, Zeroed };
    static std::shared_ptr<Surface> Wrap(int width, int height, uint32_t* pixels, Release release,
                                         DirtyTracking tracking = DirtyTracking::Off, Memory memory = Memory::Any);
    ~Surface();

    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const {
        return static_cast<unsigned>(x) < static_cast<unsigned>(width_) &&
               static_cast<unsigned>(y) < static_cast<unsigned>(height_);
    }

    // kInvalidColor outside the surface.
    Color GetPixel(int x, int y) const;
    // Returns the colour set, or kInvalidColor outside the surface. The top byte is ignored.
    Color SetPixel(int x, int y, Color c);

    // Every pixel as 0x00BBGGRR, rows top-down (what GetDIBits gives for a 32-bit request).
    std::vector<Color> ReadPixels() const;
    // Replaces the picture when the sizes match; false otherwise.
    bool WritePixels(const std::vector<Color>& pixels);

    // Raw rows in the native 0x00RRGGBB order, for blits and for presenting. Whoever writes
    // through them must call MarkDirty for what it changed.
    uint32_t* Row(int y) { return pixels_ + static_cast<size_t>(y) * width_; }
    const uint32_t* Row(int y) const { return pixels_ + static_cast<size_t>(y) * width_; }
    const uint32_t* Data() const { return pixels_; }
    int Stride() const { return width_; }  // in pixels

    static constexpr uint32_t ToNative(Color c) {
        return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
    static constexpr Color FromNative(uint32_t n) { return ToNative(n); }

    // Window surfaces remember what changed so the shell presents only that.
    bool TracksDirty() const { return dirty_ != nullptr; }
    void MarkDirty(const Rect& r) {
        if (dirty_) dirty_->Add(r);
    }
    // nullptr for memory bitmaps.
    DirtyRegion* Dirty() { return dirty_.get(); }

private:
    struct Token {
        explicit Token() = default;
    };

public:
    // Construction goes through Create; public only so make_shared can reach it.
    Surface(Token, int width, int height, DirtyTracking tracking);
    Surface(Token, int width, int height, uint32_t* pixels, Release release, DirtyTracking tracking, Memory memory);

private:
    size_t PixelCount() const { return static_cast<size_t>(width_) * height_; }

    int width_;
    int height_;
    std::vector<uint32_t> own_;  // the pixels, unless they are wrapped
    uint32_t* pixels_;
    Release release_;
    std::unique_ptr<DirtyRegion> dirty_;
};

}  // namespace lumi::gfx
