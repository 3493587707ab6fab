// The shared table of 101 star images, one per brightness 0..100, rendered once when the
// first star acquires it and freed when the last star releases it.
#pragma once

#include <array>
#include <cstdint>

#include "scene/StarBitmap.h"

namespace lumi {

class StarPaletteClass {
public:
    static constexpr int kLevels = 101;

    // Acquire: renders the images for hdc when nobody holds the palette yet.
    void Create(gfx::Canvas* hdc);
    // Release: frees the images when the last holder lets go.
    void Destroy();
    // Draws (erases) the image of that brightness centred on (x, y); a brightness outside
    // 0..100 draws nothing. Plot returns the canvas's moment right after drawing (0 when
    // nothing was drawn or the canvas keeps no moments).
    uint64_t Plot(int brightness, int x, int y);
    void Clear(int brightness, int x, int y);
    // Whether the image of that brightness, drawn at (x, y) by the Plot that returned
    // `moment`, is still there untouched, so drawing it again would change nothing.
    bool StillShown(int brightness, int x, int y, uint64_t moment) const;

    int32_t References() const { return nCreated_; }
    const StarBitmapClass& Entry(int brightness) const { return entries_[brightness]; }
    // Frees everything without a log line and forgets every holder (tests, a new run).
    void Reset();

private:
    std::array<StarBitmapClass, kLevels> entries_;
    int32_t nCreated_ = 0;
};

// The one palette of the process.
StarPaletteClass& StarPalette();
void ResetStarPalette();

}  // namespace lumi
