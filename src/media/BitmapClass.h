// The off-screen picture behind everything on the sky (moon, star images, flying
// pictures, text strips): a bitmap selected into its own memory canvas, with a position,
// and a `used` state every operation checks, logging instead of acting when it does not fit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "gfx/Canvas.h"
#include "media/Resources.h"

namespace lumi {

class TbasicBitmap {
public:
    TbasicBitmap() = default;
    // The bitmap is shared with whatever canvas still holds it and goes with the last.
    virtual ~TbasicBitmap() = default;
    TbasicBitmap(const TbasicBitmap&) = delete;
    TbasicBitmap& operator=(const TbasicBitmap&) = delete;

    // Reads width and height from the bitmap (0 × 0 without one).
    void GetSize();

    std::shared_ptr<gfx::Surface> hBitmap;
    int32_t width = 0;
    int32_t height = 0;
};

class BitmapClass : public TbasicBitmap {
public:
    BitmapClass() = default;
    ~BitmapClass() override;

    // Selects the present hBitmap into a new memory canvas. 1, or 0 when already used.
    int Create(gfx::Canvas* hdc);
    // A cx × cy bitmap painted with the brush except its last column and row.
    void CreateBlank(gfx::Canvas* hdc, int cx, int cy, const gfx::Brush& stockBrush);
    void CreateBlack(gfx::Canvas* hdc, int cx, int cy);
    void CreateFromFile(gfx::Canvas* hdc, const std::string& path);
    void CreateFromResource(gfx::Canvas* hdc, int id, ModuleHandle module = nullptr);
    // The text in the text font, 20 pixels wider than the text; -1 takes the configured colour.
    void CreateFromText(gfx::Canvas* hdc, int32_t textColour, int32_t backColour, std::string_view text);

    // x and y are placed within a rectangle of the given size; its offsets are not added.
    void Center(int left, int top, int right, int bottom);
    void Stretch(int left, int top, int right, int bottom);

    // Draw on hdc, which Destroy will erase from later: the canvas must outlive this
    // bitmap's Destroy. 1, or 0 when not used.
    int Display(gfx::Canvas* hdc);
    int Clear(gfx::Canvas* hdc);

    void Mirror();
    // Turns the picture in place about its centre by `angle` radians.
    void Rotate(float angle);
    // Erases the picture from the target and returns to the empty state.
    void Destroy();

    int32_t used = 0;
    int32_t x = 0;
    int32_t y = 0;
    std::unique_ptr<gfx::Canvas> hMemoryDC;
    std::shared_ptr<gfx::Surface> hOldBitmap;
    gfx::Canvas* hTargetDC = nullptr;
    int32_t rectLeft = 0;
    int32_t rectTop = 0;
    int32_t rectRight = 0;
    int32_t rectBottom = 0;
    int32_t stretch = 0;

private:
    void Draw(gfx::RasterOp op);
    // Releases the bitmap and the memory canvas without drawing anything.
    void Release();
    // Four-point weighted sample of the picture at a real position.
    gfx::Color SampleAt(float sx, float sy) const;
};

}  // namespace lumi
