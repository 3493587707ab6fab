// The moon on the sky: its picture shaded for the phase, mirrored for the southern
// hemisphere, tinted by the hour and month, turned at random, and drifting slowly right.
#pragma once

#include <cstdint>

#include "sky/SkyRect.h"
#include "media/BitmapClass.h"
#include "moon/MoonPhase.h"

namespace lumi {

namespace gfx {
class Canvas;
}

class MOON {
public:
    static constexpr int kBitmap = 116;
    static constexpr int kSize = 100;  // the picture is kSize × kSize, the disc centred on it
    static constexpr int kTop = 4;
    // One tick in this many moves the moon a pixel on.
    static constexpr int kDriftChance = 50;

    MOON() = default;
    MOON(const MOON&) = delete;
    MOON& operator=(const MOON&) = delete;

    // The scene's canvas and sky rectangle, given before Create. The rectangle is read
    // where it lives, so it must outlive the moon's use of it.
    void SetSky(gfx::Canvas* skyDC, const SkyRect& screenRect);

    // Reads the settings, loads, shades, tints and turns the picture and reserves its
    // square. Draws nothing: the next Step does.
    void Create();
    // Once per tick: now and then moves the moon one pixel right and draws it.
    void Step();
    // Erases the moon from the sky and releases the picture.
    void Destroy();
    // 1 when the rectangle touches or overlaps the moon's square, else 0.
    int Overlaps(int x, int y, int w, int h) const;
    // Fills the moon data for now, composes the moon text and returns the phase angle.
    int CalcPhase();

    // Darkens pixel (x, y) of the picture by how far it lies from the lit side for the
    // phase angle (0 full, 90 last quarter, 180 new, 270 first quarter).
    void ShadePixel(int x, int y, int phase);
    // 0..1: how warm the moon is tinted by the local hour and month.
    float GetIntensity();
    void ApplyIntensity();

    bool Created() const { return created != 0; }
    const CpelurMoonData& MoonData() const { return moonData; }

    int32_t enabled = 0;
    int32_t southernHemisphere = 0;
    int32_t created = 0;
    BitmapClass MoonBmp;

private:
    int SkyWidth() const;

    const SkyRect* screenRect_ = nullptr;
    gfx::Canvas* skyDC_ = nullptr;
    CpelurMoonData moonData;
};

// Makes the next Step draw whatever the odds; Step clears it.
extern int32_t ForceMoonRedraw;

// The one moon of the sky.
MOON& TheMoon();
// For tests and a second run in one process: releases the picture and starts over
// with a fresh moon and the redraw flag set.
void ResetMoon();

}  // namespace lumi
