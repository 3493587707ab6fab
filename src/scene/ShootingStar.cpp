// The shooting star's fall. Speeds are pixels per second scaled by the measured tick
// time, so the star crosses the sky at the same pace on a slow and a fast machine.
#include "scene/ShootingStar.h"

#include "gfx/Canvas.h"
#include "sky/SaverRun.h"
#include "sky/SkyDC.h"
#include "base/Random.h"

namespace lumi {

namespace {

// A tick time of 0 (never measured, or a test's blank run values) must not divide by zero.
int TickMs() {
    const int ms = SaverRun().RealTickTime;
    return ms > 0 ? ms : 1;
}

int SkyWidth() { return SaverRun().ScreenRect.right - SaverRun().ScreenRect.left; }
int SkyHeight() { return SaverRun().ScreenRect.bottom - SaverRun().ScreenRect.top; }

}  // namespace

int ShootingStar::WaitTicks() { return 30000 / TickMs(); }

void ShootingStar::Reset() {
    const int tick = TickMs();
    x_ = static_cast<float>(RandomRange(0, SkyWidth()));
    y_ = 0;
    age_ = RandomRange(0, WaitTicks() / 2);
    speedX_ = static_cast<float>(RandomRange(0, tick * 500) - (tick * 500) / 2);
    speedY_ = static_cast<float>(tick * 500);
    for (uint32_t& c : saved_) c = 0;
}

void ShootingStar::MoveStreak() {
    const int oldX = static_cast<int>(x_);
    const int oldY = static_cast<int>(y_);
    x_ += speedX_ / 1000;
    y_ += speedY_ / 1000;
    const int newX = static_cast<int>(x_);
    const int newY = static_cast<int>(y_);
    if (newX == oldX && newY == oldY) return;

    gfx::Canvas* dc = SkyDC();
    if (!dc) return;
    // Only pixels the streak itself painted are put back: before its first move the
    // saved colours describe nothing, and painting them would black out a star.
    if (drawn_) {
        for (int i = 0; i < kStreakLength; ++i) dc->SetPixel(drawnX_, drawnY_ - i, saved_[i]);
    }
    for (int i = 0; i < kStreakLength; ++i) saved_[i] = dc->GetPixel(newX, newY - i);
    dc->SetPixel(newX, newY, kHeadColour);
    dc->SetPixel(newX, newY - 1, kTailColour);
    dc->SetPixel(newX, newY - 2, kTipColour);
    drawn_ = true;
    drawnX_ = newX;
    drawnY_ = newY;
}

void ShootingStar::Step() {
    if (age_ > WaitTicks()) MoveStreak();
    ++age_;
    if (x_ < 0 || x_ > SkyWidth() || !(y_ < SkyHeight())) {
        // The streak leaves what it covered as it was, rather than three black dots on
        // the bottom line or the moon at the edge it left through.
        if (drawn_) {
            if (gfx::Canvas* dc = SkyDC()) {
                for (int i = 0; i < kStreakLength; ++i) dc->SetPixel(drawnX_, drawnY_ - i, saved_[i]);
            }
        }
        drawn_ = false;
        Reset();
    }
}

}  // namespace lumi
