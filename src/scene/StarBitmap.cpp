// Rendering and drawing of one star image.
#include "scene/StarBitmap.h"

#include <algorithm>

#include "base/Log.h"

namespace lumi {

namespace {

int Channel(int value) { return std::min(value, 255); }

}  // namespace

void StarBitmapClass::Create(gfx::Canvas* dc, int brightness) {
    if (created) AppLog().Warning.Log("StarBitmapClass::Create", "Already created");
    created = true;
    hdc = dc;

    const int b = std::clamp(brightness, 0, 100);
    const int dia = Channel(4 * b);
    const int cen = Channel(10 * b);
    const int c1 = Channel(10 * std::max(b - 25, 0));
    const int c2 = Channel(10 * std::max(b - 50, 0));
    const int c3 = Channel(10 * std::max(b - 75, 0));

    size = 1;
    if (c1 > 0) size = 3;
    if (c2 > 0) size = 5;
    if (c3 > 0) size = 7;
    half = size / 2;

    centreColour = gfx::Rgb(cen, cen, cen);
    ring1Colour = gfx::Rgb(c1, c1, c1);
    ring2Colour = gfx::Rgb(4 * c2 / 5, 4 * c2 / 5, c2);
    ring3Colour = gfx::Rgb(3 * c3 / 4, 3 * c3 / 4, c3);
    diagonalColour = gfx::Rgb(0, 0, dia);

    bitmap.reset();
    if (size == 1) return;

    bitmap = gfx::Canvas::CreateCompatible(hdc);
    bitmap->SelectBitmap(gfx::Canvas::CreateCompatibleBitmap(hdc, size, size));
    gfx::Canvas& image = *bitmap;
    const int h = half;
    for (int dx : {-1, 1})
        for (int dy : {-1, 1}) image.SetPixel(h + dx, h + dy, diagonalColour);
    image.SetPixel(h, h, centreColour);
    const struct {
        int distance;
        gfx::Color colour;
    } rings[] = {{1, ring1Colour}, {2, ring2Colour}, {3, ring3Colour}};
    for (const auto& ring : rings) {
        if (ring.distance > h) break;
        image.SetPixel(h - ring.distance, h, ring.colour);
        image.SetPixel(h + ring.distance, h, ring.colour);
        image.SetPixel(h, h - ring.distance, ring.colour);
        image.SetPixel(h, h + ring.distance, ring.colour);
    }
}

uint64_t StarBitmapClass::Plot(int x, int y) {
    if (size == 1) {
        if (!hdc) return 0;
        hdc->SetPixel(x, y, centreColour);
        return hdc->Moment();
    }
    if (!created || !bitmap || !hdc) {
        AppLog().Warning.Log("StarBitmapClass::Plot", "not created");
        return 0;
    }
    if (!hdc->BitBlt(x - half, y - half, size, size, bitmap.get(), 0, 0, gfx::RasterOp::SrcCopy)) {
        AppLog().Warning.Log("StarBitmapClass::Plot", "FALSE");
        return 0;
    }
    return hdc->Moment();
}

bool StarBitmapClass::StillShown(int x, int y, uint64_t moment) const {
    if (!hdc || (size > 1 && !bitmap)) return false;
    return !hdc->DrawnSince(gfx::Rect{x - half, y - half, x - half + size, y - half + size}, moment);
}

void StarBitmapClass::Clear(int x, int y) {
    if (size == 1) {
        if (hdc) hdc->SetPixel(x, y, 0);
        return;
    }
    if (!created || !hdc) {
        AppLog().Warning.Log("StarBitmapClass::Clear", "not created");
        return;
    }
    if (!hdc->BitBlt(x - half, y - half, size, size, nullptr, 0, 0, gfx::RasterOp::Blackness))
        AppLog().Warning.Log("StarBitmapClass::Clear", "FALSE");
}

void StarBitmapClass::Destroy() {
    if (!created) AppLog().Warning.Log("StarBitmapClass::Destroy", "not created");
    created = false;
    bitmap.reset();
    hdc = nullptr;
}

}  // namespace lumi
