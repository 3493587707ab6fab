// The old-TV effect, drawn with the platform's plain drawing operations on the window the
// saver is erasing; it blocks for about a quarter of a second.
#include "host/StartUpEffects.h"

#include "gfx/Canvas.h"
#include "base/Log.h"

namespace lumi {

namespace {

bool effectPending = true;

constexpr int kBandRounds = 8;
constexpr uint32_t kFrameMs = 15;
constexpr uint32_t kLastPauseMs = 50;

}  // namespace

bool SwitchOffEffectPending() { return effectPending; }
void ArmSwitchOffEffect() { effectPending = true; }

int SwitchOffBandHeight(int clientHeight) {
    if (clientHeight <= 0) return 0;
    return (clientHeight + 15) / 16;
}

void SwitchOffEffect(gfx::Canvas& dc, const EffectPause& pause) {
    if (!effectPending) return;
    effectPending = false;
    TpelurLogger& info = AppLog().Info;
    info.Log("SwitchOffEffect", "entering");

    auto wait = [&pause](uint32_t ms) {
        if (pause) pause(ms);
        else TheClock().Sleep(ms);
    };

    const auto& surface = dc.Bitmap();
    const int left = 0;
    const int top = 0;
    const int right = surface ? surface->Width() : 0;
    const int bottom = surface ? surface->Height() : 0;
    info.Log("SwitchOffEffect-Screen Height", bottom - top);
    const int e = SwitchOffBandHeight(bottom - top);
    info.Log("SwitchOffEffect-height", e);

    // The picture closes from the top and the bottom towards the middle.
    for (int i = 0; i < kBandRounds; ++i) {
        const int s = i * e;
        dc.FillRect(gfx::Rect{left, top + s, right, top + s + e}, gfx::Brush::Black());
        dc.FillRect(gfx::Rect{left, bottom - s - e, right, bottom - s}, gfx::Brush::Black());
    }

    const int y = (top + bottom) / 2;
    const int mx = (left + right) / 2;
    const int w = (right - left + 1) / 8;

    gfx::Pen previousPen = dc.SelectPen(gfx::Pen::Solid(0, gfx::Rgb(255, 255, 255)));
    dc.MoveTo(left, y);
    dc.LineTo(right, y);
    wait(kFrameMs);
    dc.SelectPen(previousPen);

    // The bright line shrinks from both ends towards the centre.
    previousPen = dc.SelectPen(gfx::Pen::Solid(0, gfx::Rgb(0, 0, 0)));
    for (int k = 0; k < kBandRounds; ++k) {
        const int d = k * w;
        dc.MoveTo(left, y);
        dc.LineTo(left + d, y);
        dc.MoveTo(right, y);
        dc.LineTo(right - d, y);
        wait(kFrameMs);
    }
    dc.SelectPen(previousPen);

    const gfx::Brush previousBrush = dc.SelectBrush(gfx::Brush::White());
    for (int radius : {15, 5}) {
        dc.SelectBrush(gfx::Brush::White());
        dc.Ellipse(mx - radius, y - radius, mx + radius, y + radius);
        wait(kFrameMs);
        dc.SelectBrush(gfx::Brush::Black());
        dc.Ellipse(mx - radius, y - radius, mx + radius, y + radius);
        wait(kFrameMs);
    }
    dc.SelectBrush(previousBrush);
    wait(kLastPauseMs);
}

}  // namespace lumi
