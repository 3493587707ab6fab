// One pre-rendered star image for one brightness 0..100: a single pixel for the faint
// ones, a 3 x 3, 5 x 5 or 7 x 7 cross with blue diagonals for the bright ones.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/Canvas.h"
#include "gfx/Types.h"

namespace lumi {

class StarBitmapClass {
public:
    // Renders the image for the brightness (clamped to 0..100) that will be drawn on hdc.
    // A second Create is logged and renders again.
    void Create(gfx::Canvas* hdc, int brightness);
    // Draws the image centred on (x, y); returns the canvas's moment right after, or 0
    // when nothing was drawn (see gfx::Canvas::Moment).
    uint64_t Plot(int x, int y);
    // Whether nothing was drawn over the image's square at (x, y) since `moment`.
    bool StillShown(int x, int y, uint64_t moment) const;
    // Paints the image's square black, centred on (x, y).
    void Clear(int x, int y);
    // Releases the image (through the palette). It forgets hdc as well, so nothing is
    // drawn on a canvas that may be gone by the next plot.
    void Destroy();

    int32_t size = 1;  // 1, 3, 5 or 7
    int32_t half = 0;  // size / 2
    gfx::Color centreColour = 0;
    gfx::Color ring1Colour = 0;
    gfx::Color ring2Colour = 0;
    gfx::Color ring3Colour = 0;
    gfx::Color diagonalColour = 0;
    bool created = false;
    gfx::Canvas* hdc = nullptr;
    // The size x size image selected into its own memory canvas; none for size 1.
    std::unique_ptr<gfx::Canvas> bitmap;
};

}  // namespace lumi
