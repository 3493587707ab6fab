// The moon on the sky. The shading, tint and turn are fixed when it is created; after that
// only its place changes, one pixel at a time.
#include "moon/Moon.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "gfx/Canvas.h"
#include "base/Clock.h"
#include "sky/SpaceMatrix.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {

int32_t ForceMoonRedraw = 1;

namespace {

std::unique_ptr<MOON> theMoon;

// Releases a picture without painting over a sky canvas that may already be gone.
void ReleaseQuietly(BitmapClass& bitmap) {
    bitmap.hTargetDC = nullptr;
    if (bitmap.used) bitmap.Destroy();
}

}  // namespace

MOON& TheMoon() {
    if (!theMoon) theMoon = std::make_unique<MOON>();
    return *theMoon;
}

void ResetMoon() {
    if (theMoon) ReleaseQuietly(theMoon->MoonBmp);
    theMoon = std::make_unique<MOON>();
    ForceMoonRedraw = 1;
}

void MOON::SetSky(gfx::Canvas* skyDC, const SkyRect& screenRect) {
    skyDC_ = skyDC;
    screenRect_ = &screenRect;
}

int MOON::SkyWidth() const { return screenRect_ ? screenRect_->right - screenRect_->left : 0; }

int MOON::CalcPhase() { return lumi::CalcPhase(moonData); }

void MOON::Create() {
    AppLog().Info.Log("MOON", "Create");
    enabled = SettingMoon.Get();
    southernHemisphere = SettingSouthernHemisphere.Get();
    if (enabled == 0) return;
    if (created == 1) {
        AddError("Moon - 3425");
        MoonBmp.Destroy();
        created = 0;
    }
    created = 1;
    const int w = SkyWidth() - kSize;
    MoonBmp.x = RandomRange(w / 5, w);
    MoonBmp.y = kTop;
    MoonBmp.CreateFromResource(skyDC_, kBitmap);

    const int phase = CalcPhase();
    const long shading = MainIni().ReadInt("debug", "MoonPhase", phase);
    // A stored override is read as any 32-bit number; only its angle on the circle matters.
    const int shadingPhase = static_cast<int>((shading % 360 + 360) % 360);
    for (int x = 0; x < kSize; ++x)
        for (int y = 0; y < kSize; ++y) ShadePixel(x, y, shadingPhase);
    if (southernHemisphere) MoonBmp.Mirror();
    ApplyIntensity();
    const int r = RandomRange(0, 200);
    MoonBmp.Rotate(static_cast<float>(r / 100.0 - 0.8));
    SkyMatrix.Fill(MoonBmp.x - 1, MoonBmp.y - 1, kSize + 1, kSize + 1, SpaceMatrixClass::kMoon);
    // A moon made again in the same process shows at once, as the first one did.
    ForceMoonRedraw = 1;
}

void MOON::ShadePixel(int x, int y, int phase) {
    gfx::Canvas* dc = MoonBmp.hMemoryDC.get();
    if (!dc) return;
    const int dx = x - 50;
    const int dy = y - 50;
    if (dx * dx + dy * dy > 2500) {
        dc->SetPixel(x, y, 0);
        return;
    }
    phase %= 360;
    if (phase < 0) phase += 360;
    if (phase > 180) phase -= 360;

    // c runs from -1 at the left rim of the pixel's row to +1 at the right rim; the
    // 0.01 keeps the square root above zero at the top and bottom of the disc.
    float c = static_cast<float>(dx / std::sqrt(2500.01 - dy * dy));
    if (c > 0.999999999999) c = static_cast<float>(0.999999999999);
    if (c < -0.999999999999) c = static_cast<float>(-0.999999999999);
    const int e = static_cast<int>(std::acos(static_cast<double>(c)) * -57.29746936176985);
    // The pixel's longitude on the visible face less the sun's.
    const int k = -90 - e - phase;
    float f = static_cast<float>(std::cos(static_cast<double>(k * 3.1415f / 180)));
    if (f < 0) f = 0;
    const float g = static_cast<float>(std::sqrt(static_cast<double>(static_cast<float>(std::sqrt(static_cast<double>(f))))));

    const gfx::Color colour = dc->GetPixel(x, y);
    const float blueFactor = g > 0.2f ? g : 0.2f;
    dc->SetPixel(x, y, gfx::Rgb(static_cast<int>(gfx::RedOf(colour) * g), static_cast<int>(gfx::GreenOf(colour) * g),
                                static_cast<int>(gfx::BlueOf(colour) * blueFactor)));
}

float MOON::GetIntensity() {
    const LocalTime now = TheClock().LocalNow();
    AppLog().Info.Log("Moon-LocalTime", now.hour);
    AppLog().Info.Log("Moon-LocalMonth", now.month);
    const float hourAngle = (now.hour - 8) * 6.28f / 12;
    const float hourIntensity = 0.5f + 0.5f * static_cast<float>(std::cos(static_cast<double>(hourAngle)));
    const int m = southernHemisphere + now.month == 7 ? 0 : 6;
    const float monthAngle = m * 6.28f / 12;
    const float monthIntensity = 0.5f + 0.5f * static_cast<float>(std::cos(static_cast<double>(monthAngle)));
    AppLog().Info.Log("Moon-HourIntensity", hourIntensity);
    AppLog().Info.Log("Moon-MonthIntensity", monthIntensity);
    return 0.5f * monthIntensity + 0.5f * hourIntensity;
}

void MOON::ApplyIntensity() {
    const float a = GetIntensity();
    const float red = 1 - a + 0.9f * a;
    const float green = 1 - a + 0.6f * a;
    const float blue = 1 - a + 0.5f * a;
    gfx::Canvas* dc = MoonBmp.hMemoryDC.get();
    if (!dc) return;
    for (int x = 0; x < kSize; ++x) {
        for (int y = 0; y < kSize; ++y) {
            const gfx::Color c = dc->GetPixel(x, y);
            dc->SetPixel(x, y, gfx::Rgb(static_cast<int>(gfx::RedOf(c) * red), static_cast<int>(gfx::GreenOf(c) * green),
                                        static_cast<int>(gfx::BlueOf(c) * blue)));
        }
    }
}

void MOON::Step() {
    if (!enabled) return;
    if (ForceMoonRedraw == 0 && RandomRange(0, kDriftChance) != 0) return;
    ForceMoonRedraw = 0;
    MoonBmp.Clear(skyDC_);
    SkyMatrix.Fill(MoonBmp.x - 1, MoonBmp.y - 1, kSize + 4, kSize + 4, SpaceMatrixClass::kReleased);
    // A sky no wider than the moon leaves it nowhere to drift (and nothing to wrap by).
    const int w = SkyWidth() - kSize;
    MoonBmp.x = w > 0 ? (MoonBmp.x + 1) % w : 0;
    SkyMatrix.Fill(MoonBmp.x - 1, MoonBmp.y - 1, kSize + 4, kSize + 4, SpaceMatrixClass::kMoon);
    if (MoonBmp.Display(skyDC_) == 0) MainIni().WriteString("Debug", "MoonBmp.Display", "FALSE");
}

void MOON::Destroy() {
    // A moon switched off in the settings was never meant to exist: no error for that.
    if (created == 0 && enabled != 0) AddError("Moon - 3501");
    if (created == 0 && enabled == 0) return;
    MoonBmp.Destroy();
    created = 0;
}

int MOON::Overlaps(int x, int y, int w, int h) const {
    // Centre distances against the sums of the half-sizes, all doubled to stay whole;
    // in 64 bits, since a picture's size is whatever its file says.
    const int64_t mx = MoonBmp.x;
    const int64_t my = MoonBmp.y;
    const int64_t across = 2 * (mx - x) + kSize - w;
    const int64_t down = 2 * (my - y) + kSize - h;
    return (std::llabs(across) <= int64_t{w} + kSize && std::llabs(down) <= int64_t{h} + kSize) ? 1 : 0;
}

}  // namespace lumi
