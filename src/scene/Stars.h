// The sky's stars: `STAR`, a fixed star that twinkles now and then, and `GlyphStar`, a
// star that flies to one pixel of the current message. Both draw from the star palette
// and never over the moon or a flying picture.
#pragma once

#include <cstdint>

#include "sky/SkyRect.h"

namespace lumi {

namespace gfx {
class Canvas;
}

// The row below the sky where stars without a message pixel are parked: a star whose y
// equals it is not drawn. Every star creation sets it to the bottom of its rectangle.
int32_t HiddenRowMarker();
void SetHiddenRowMarker(int32_t row);

class STAR {
public:
    // A star at a random place of rect that is not on the moon, with a base brightness
    // drawn from min..max - 1. Acquires the star palette for hdc.
    void Create(int minBrightness, int maxBrightness, int twinkleRange, gfx::Canvas* hdc, const SkyRect& rect,
                int moveTicks, int twinkleLength);
    // Draws (erases) the palette image of that brightness at the star, unless the star is
    // hidden or a picture or the moon covers its pixel.
    void CleverPlot(int brightness);
    void CleverClear(int brightness);
    // One tick: a new flight when the step retargets, twinkling, flying, drawing.
    void Step();

    int32_t isGlyph = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t baseBrightness = 0;
    int32_t peakBrightness = 0;
    int32_t currentBrightness = 0;
    int32_t startX = 0;
    int32_t startY = 0;
    int32_t targetX = 0;
    int32_t targetY = 0;
    int32_t twinkleId = 0;
    int32_t twinkleCountdown = 0;
    int32_t moveCountdown = 0;
    int32_t moveStart = 0;
    int32_t moveEnd = 0;
    int32_t moveTicks = 0;
    int32_t twinkleLength = 0;

private:
    void Fly();
    void Twinkle();

    // Where and how bright the star was last drawn, and the sky's moment right after;
    // shownMoment_ 0 when it is not on the sky as drawn.
    int32_t shownX_ = 0;
    int32_t shownY_ = 0;
    int32_t shownBrightness_ = 0;
    uint64_t shownMoment_ = 0;
};

class GlyphStar : public STAR {
public:
    // A message star on SkyDC and ScreenRect with the run's tick timing: hidden at the top
    // until its first flight, then flying to its first target.
    void Create(int minBrightness, int maxBrightness);
    // The next target from the text-to-star mapping. A hidden star that gets no message
    // pixel stays hidden where it is.
    void TakeNextTarget();
};

}  // namespace lumi
