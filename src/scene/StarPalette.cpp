// The reference-counted star palette.
#include "scene/StarPalette.h"

#include "base/Log.h"

namespace lumi {

namespace {
StarPaletteClass starPalette;
}

StarPaletteClass& StarPalette() { return starPalette; }
void ResetStarPalette() { starPalette.Reset(); }

void StarPaletteClass::Create(gfx::Canvas* hdc) {
    if (nCreated_ < 0) {
        AppLog().Warning.Log("StarPaletteClass::Create", "nCreated<0");
        return;
    }
    if (nCreated_ == 0) {
        AppLog().Info.Log("StarPaletteClass::Create", "Creating palette");
        for (int i = 0; i < kLevels; ++i) entries_[i].Create(hdc, i);
    }
    ++nCreated_;
}

void StarPaletteClass::Destroy() {
    --nCreated_;
    if (nCreated_ < 0) {
        AppLog().Warning.Log("StarPaletteClass::Destroy", "nCreated<0");
        return;
    }
    if (nCreated_ > 0) return;
    AppLog().Info.Log("StarPaletteClass::Destroy", "Destroying palette");
    for (StarBitmapClass& entry : entries_) entry.Destroy();
}

uint64_t StarPaletteClass::Plot(int brightness, int x, int y) {
    if (nCreated_ == 0) AppLog().Warning.Log("StarBitmapClass::Plot", "not created");
    if (brightness < 0 || brightness >= kLevels) {
        AppLog().Warning.Log("Brightness", brightness);
        return 0;
    }
    return entries_[brightness].Plot(x, y);
}

bool StarPaletteClass::StillShown(int brightness, int x, int y, uint64_t moment) const {
    if (moment == 0 || nCreated_ <= 0 || brightness < 0 || brightness >= kLevels) return false;
    return entries_[brightness].StillShown(x, y, moment);
}

void StarPaletteClass::Clear(int brightness, int x, int y) {
    if (nCreated_ == 0) AppLog().Warning.Log("StarBitmapClass::Clear", "not created");
    if (brightness < 0 || brightness >= kLevels) return;
    entries_[brightness].Clear(x, y);
}

void StarPaletteClass::Reset() {
    for (StarBitmapClass& entry : entries_) entry = StarBitmapClass();
    nCreated_ = 0;
}

}  // namespace lumi
