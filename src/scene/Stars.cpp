// Fixed stars and message stars: creation, flight, twinkle and drawing.
#include "scene/Stars.h"

#include <algorithm>

#include "sky/SaverRun.h"
#include "sky/SkyDC.h"
#include "sky/SpaceMatrix.h"
#include "scene/StarPalette.h"
#include "scene/StepFlags.h"
#include "scene/TextToStars.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {

namespace {

int32_t hiddenRowMarker = 0;

// Whether drawing or erasing a star at (x, y) may touch the sky. Row 0 and the hidden
// row hold stars that are not shown; a negative place is a fault, logged under the
// caller's names; covered cells belong to the moon or a picture.
bool MayTouchSky(int32_t x, int32_t y, const char* xLogName, const char* yLogName) {
    if (y == 0 || y == hiddenRowMarker) return false;
    if (x < 0) {
        AppLog().Error.Log(xLogName, x);
        return false;
    }
    if (y < 0) {
        AppLog().Error.Log(yLogName, y);
        return false;
    }
    return !SkyMatrix.Covered(x, y);
}

// A place off the moon is found within a few draws; the bound only keeps a sky that is
// wholly marked as moon from hanging the scene.
constexpr int kMaxPlaceAttempts = 10000;

int TickMs() {
    const int ms = SaverRun().RealTickTime;
    return ms > 0 ? ms : 1;
}

}  // namespace

int32_t HiddenRowMarker() { return hiddenRowMarker; }
void SetHiddenRowMarker(int32_t row) { hiddenRowMarker = row; }

void STAR::Create(int minBrightness, int maxBrightness, int twinkleRange, gfx::Canvas* hdc, const SkyRect& rect,
                  int ticksPerMove, int ticksPerTwinkle) {
    twinkleId = RandomRange(0, twinkleRange);
    moveTicks = ticksPerMove;
    twinkleLength = ticksPerTwinkle;
    twinkleCountdown = 0;
    moveCountdown = 0;

    baseBrightness = RandomRange(minBrightness, maxBrightness);
    currentBrightness = baseBrightness;
    peakBrightness = std::max(3 * baseBrightness, 100);

    hiddenRowMarker = rect.bottom;
    isGlyph = 0;

    moveStart = RandomRange(6 * moveTicks / 10, moveTicks);
    moveEnd = RandomRange(0, moveStart - moveTicks / 10) + 1;

    for (int attempt = 0; attempt < kMaxPlaceAttempts; ++attempt) {
        x = RandomRange(0, rect.right);
        y = RandomRange(0, rect.bottom);
        if (x < 0) AppLog().Error.Log("STAR::Create x", x);
        if (y < 0) AppLog().Error.Log("STAR::Create y", y);
        if (!(SkyMatrix.GetData(x, y) & SpaceMatrixClass::kMoon)) break;
    }
    startX = targetX = x;
    startY = targetY = y;

    StarPalette().Create(hdc);
}

void STAR::CleverPlot(int brightness) {
    // Most stars stand still most of the time. One drawn here as it is now, with nothing
    // drawn over it since, would be drawn again pixel for pixel (or, newly covered, left
    // as it is): leaving it spares the raster's cache lines, which cost more than the rest
    // of a tick. Covered or not, the pixels come out the same.
    if (shownMoment_ != 0 && shownX_ == x && shownY_ == y && shownBrightness_ == brightness &&
        StarPalette().StillShown(brightness, x, y, shownMoment_))
        return;
    shownMoment_ = 0;
    if (!MayTouchSky(x, y, "STAR::CleverPlot x", "STAR::CleverPlot y")) return;
    shownMoment_ = StarPalette().Plot(brightness, x, y);
    shownX_ = x;
    shownY_ = y;
    shownBrightness_ = brightness;
}

void STAR::CleverClear(int brightness) {
    shownMoment_ = 0;
    if (!MayTouchSky(x, y, "STAR::CleverClear x", "STAR::CleverClear y")) return;
    StarPalette().Clear(brightness, x, y);
    SkyMatrix.SetData(x, y, SpaceMatrixClass::kReleased, SpaceMatrixClass::kReleased | SpaceMatrixClass::kUnused);
}

void STAR::Fly() {
    // The star moves only between its own start and end of the flight period, so the
    // message assembles gradually; at move end it sits exactly on its target.
    if (moveStart >= moveCountdown && moveCountdown >= moveEnd) {
        CleverClear(currentBrightness);
        const double f = moveStart == moveEnd
                             ? 1.0
                             : static_cast<double>(moveStart - moveCountdown) / static_cast<double>(moveStart - moveEnd);
        x = startX + static_cast<int32_t>(f * (targetX - startX));
        y = startY + static_cast<int32_t>(f * (targetY - startY));
    }
    StepFlags().glyphMoved = true;
}

void STAR::Twinkle() {
    // Up from base to about peak at mid-twinkle, then down again.
    const int64_t c = twinkleCountdown;
    const int64_t length = twinkleLength;
    const int64_t m = std::min(length - c, c);
    const int64_t brightness = baseBrightness + (int64_t{peakBrightness - baseBrightness} * m * 2) / length;
    currentBrightness = static_cast<int32_t>(std::clamp<int64_t>(brightness, 0, 100));
}

void STAR::Step() {
    StarStepFlags& flags = StepFlags();
    if (flags.retarget && isGlyph) {
        startX = x;
        startY = y;
        moveCountdown = moveTicks;
    }
    if (flags.twinklePick == twinkleId && twinkleCountdown <= 0) twinkleCountdown = twinkleLength;
    if (moveCountdown > 0 && isGlyph) Fly();
    if (twinkleCountdown > 0 && twinkleLength > 0) Twinkle();

    CleverPlot(currentBrightness);

    if (x == targetX) startX = targetX;
    if (y == targetY) {
        startY = targetY;
        // Arrived below the sky: parked hidden at the top until a message needs it.
        if (targetY == hiddenRowMarker) y = startY = targetY = 0;
    }
    if (moveCountdown > 0 && isGlyph) --moveCountdown;
    if (twinkleCountdown > 0) --twinkleCountdown;
}

void GlyphStar::Create(int minBrightness, int maxBrightness) {
    const int tick = TickMs();
    const SkyRect& sky = SaverRun().ScreenRect;
    STAR::Create(minBrightness, maxBrightness, 40000 / tick, SkyDC(), sky, 20000 / tick, 2000 / tick);
    // Hidden at the top; the start keeps the sky position drawn above, where the star
    // will appear when its flight begins.
    x = RandomRange(0, sky.right);
    y = 0;
    isGlyph = 1;
    moveCountdown = 20000 / tick;
    TakeNextTarget();
}

void GlyphStar::TakeNextTarget() {
    int32_t nextX = 0;
    int32_t nextY = 0;
    GetNextXY(nextX, nextY);
    targetX = nextX;
    targetY = nextY;
    if (y == 0 && nextY == SaverRun().ScreenRect.bottom) {
        targetX = x;
        targetY = 0;
    }
}

}  // namespace lumi
