// Off-screen pictures: loading, drawing, mirroring and rotating in place, each step
// checked against the bitmap's state and traced in the log.
#include "media/BitmapClass.h"

#include <cmath>
#include <cstdint>

#include "gfx/BmpReader.h"
#include "media/TextFont.h"
#include "base/Log.h"

namespace lumi {
namespace {

std::shared_ptr<gfx::Surface> SurfaceOf(const std::optional<gfx::Image>& image) {
    if (!image) return nullptr;
    return gfx::Surface::FromPixels(image->Width(), image->Height(), image->Pixels());
}

}  // namespace

void TbasicBitmap::GetSize() {
    width = hBitmap ? hBitmap->Width() : 0;
    height = hBitmap ? hBitmap->Height() : 0;
}

BitmapClass::~BitmapClass() {
    if (hBitmap) AppLog().Warning.Log("~BitmapClass", "hBitmap!=NULL");
}

int BitmapClass::Create(gfx::Canvas* hdc) {
    if (used) {
        AppLog().Warning.Log("BitmapClass::Create", "used");
        return 0;
    }
    if (!hBitmap) AppLog().Warning.Log("BitmapClass.Create", "called with NULL hBitmap");
    if (hMemoryDC) AppLog().Warning.Log("BitmapClass.Create", "called with hMemoryDC not NULL");
    hTargetDC = hdc;
    used = 1;
    hMemoryDC = gfx::Canvas::CreateCompatible(hdc);
    hOldBitmap = hMemoryDC->SelectBitmap(hBitmap);
    if (!hOldBitmap) AppLog().Error.Log("hOldBitmap", "NULL");
    GetSize();
    return 1;
}

void BitmapClass::CreateBlank(gfx::Canvas* hdc, int cx, int cy, const gfx::Brush& stockBrush) {
    if (hBitmap) return;
    hBitmap = gfx::Canvas::CreateCompatibleBitmap(hdc, cx, cy);
    Create(hdc);
    width = cx;
    height = cy;
    if (hMemoryDC) hMemoryDC->FillRect(gfx::Rect{0, 0, cx - 1, cy - 1}, stockBrush);
}

void BitmapClass::CreateBlack(gfx::Canvas* hdc, int cx, int cy) { CreateBlank(hdc, cx, cy, gfx::Brush::Black()); }

void BitmapClass::CreateFromFile(gfx::Canvas* hdc, const std::string& path) {
    if (hBitmap) {
        AppLog().Warning.Log("BitmapClass::CreateFromFile", "hBitmap!=NULL");
        return;
    }
    hBitmap = SurfaceOf(gfx::ReadBmpFile(path));
    Create(hdc);
}

void BitmapClass::CreateFromResource(gfx::Canvas* hdc, int id, ModuleHandle module) {
    const char* name = "BitmapClass::CreateFromResource";
    AppLog().Info.Log(name, "entering");
    if (hBitmap) {
        AppLog().Error.Log(name, "hBitmap!=NULL");
        return;
    }
    AppLog().Info.Log("BitmapClass::CreateFromResource hDC", reinterpret_cast<uintptr_t>(hdc));
    hBitmap = SurfaceOf(LoadBitmapResource(id, module));
    if (!hBitmap) AppLog().Error.Log(name, "failed to LoadBitmap()");
    Create(hdc);
    AppLog().Info.Log(name, "exiting");
}

void BitmapClass::CreateFromText(gfx::Canvas* hdc, int32_t textColour, int32_t backColour, std::string_view text) {
    if (hBitmap) return;
    TextFont font;
    gfx::Size size;
    {
        std::unique_ptr<gfx::Canvas> measuring = gfx::Canvas::CreateCompatible(hdc);
        font.Select(measuring.get(), textColour, backColour);
        if (text.empty()) AppLog().Warning.Log("CreateFromText", 7271);
        size = measuring->GetTextExtentPoint32(text);
        font.Restore();
    }
    // The 20 black columns at the right wipe the trail of a text strip moving left.
    CreateBlack(hdc, size.cx + 20, size.cy);
    if (!hMemoryDC) return;
    font.Select(hMemoryDC.get(), textColour, backColour);
    hMemoryDC->TextOut(0, 0, text);
    font.Restore();
}

void BitmapClass::Center(int left, int top, int right, int bottom) {
    rectLeft = left;
    rectTop = top;
    rectRight = right;
    rectBottom = bottom;
    stretch = 0;
    x = (right - left - width) / 2;
    y = (bottom - top - height) / 2;
}

void BitmapClass::Stretch(int left, int top, int right, int bottom) {
    rectLeft = left;
    rectTop = top;
    rectRight = right;
    rectBottom = bottom;
    x = 0;
    y = 0;
    stretch = 1;
}

void BitmapClass::Draw(gfx::RasterOp op) {
    if (hTargetDC == nullptr || !hMemoryDC) return;
    if (stretch) hTargetDC->StretchBlt(0, 0, rectRight, rectBottom, hMemoryDC.get(), 0, 0, width, height, op);
    else hTargetDC->BitBlt(x, y, width, height, hMemoryDC.get(), 0, 0, op);
}

int BitmapClass::Display(gfx::Canvas* hdc) {
    if (!used) {
        AppLog().Warning.Log("BitmapClass::Display", "!used");
        return 0;
    }
    hTargetDC = hdc;
    Draw(gfx::RasterOp::SrcCopy);
    return 1;
}

int BitmapClass::Clear(gfx::Canvas* hdc) {
    if (!used) {
        AppLog().Warning.Log("BitmapClass::Clear", "!used");
        return 0;
    }
    hTargetDC = hdc;
    Draw(gfx::RasterOp::Blackness);
    return 1;
}

void BitmapClass::Mirror() {
    if (!used || !hMemoryDC) {
        AppLog().Warning.Log("BitmapClass::Mirror", "!used");
        return;
    }
    hMemoryDC->StretchBlt(width, 0, -width, height, hMemoryDC.get(), 0, 0, width, height, gfx::RasterOp::SrcCopy);
}

gfx::Color BitmapClass::SampleAt(float sx, float sy) const {
    gfx::Color colours[4];
    float weights[4];
    float total = 0;
    int k = 0;
    for (int a = 0; a <= 1; ++a) {
        for (int b = 0; b <= 1; ++b, ++k) {
            // x + a is exact in double; rounded to float it could jump to the next
            // pixel (4.99999976f + 1 gives 5.0f) and the sample would lose its nearest one.
            const double px = static_cast<double>(sx) + a;
            const double py = static_cast<double>(sy) + b;
            // The pixel is found by truncation, its weight by the distance to the floor:
            // the two differ left of and above the picture, where the colour is black.
            const int column = static_cast<int>(px);
            const int row = static_cast<int>(py);
            const bool inside = hBitmap && column >= 0 && column < width && row >= 0 && row < height &&
                                hBitmap->Contains(column, row);
            colours[k] = inside ? hBitmap->GetPixel(column, row) : 0;
            const double dx = sx - std::floor(px);
            const double dy = sy - std::floor(py);
            float weight = static_cast<float>(1.0 - std::sqrt(dx * dx + dy * dy));
            if (weight < 0) weight = 0;
            weights[k] = weight;
            total += weight;
        }
    }
    // One of the four corners is always nearer than 1, so total > 0; kept as a guard.
    if (!(total > 0)) return 0;
    gfx::Color result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        float channel = 0;
        for (int i = 0; i < 4; ++i)
            channel += static_cast<float>((colours[i] >> shift) & 0xFF) * weights[i] / total;
        int value = static_cast<int>(channel);
        if (value > 255) value = 255;
        if (value < 0) value = 0;
        result |= static_cast<gfx::Color>(value) << shift;
    }
    return result;
}

void BitmapClass::Rotate(float angle) {
    AppLog().Info.Log("Entering", "Rotate");
    if (!used || !hMemoryDC) {
        AppLog().Warning.Log("BitmapClass::Rotate", "!used");
        return;
    }
    if (!std::isfinite(angle)) {
        AppLog().Warning.Log("BitmapClass::Rotate", "angle not finite");
        return;
    }
    const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
    const float s = static_cast<float>(std::sin(static_cast<double>(angle)));
    const int hw = width / 2;
    const int hh = height / 2;

    BitmapClass turned;
    turned.CreateBlack(hMemoryDC.get(), width, height);
    for (int i = -hh; i <= height - hh - 1; ++i) {
        for (int j = -hw; j <= width - hw - 1; ++j) {
            const float sx = static_cast<float>(hw + static_cast<double>(c) * j + static_cast<double>(s) * i);
            const float sy = static_cast<float>(hh + static_cast<double>(c) * i - static_cast<double>(s) * j);
            turned.hMemoryDC->SetPixel(j + hw, i + hh, SampleAt(sx, sy));
        }
    }
    hMemoryDC->BitBlt(0, 0, width, height, turned.hMemoryDC.get(), 0, 0, gfx::RasterOp::SrcCopy);
    // A Destroy would erase the turned picture from this one, its target.
    turned.Release();
}

void BitmapClass::Release() {
    if (hMemoryDC && hOldBitmap) hMemoryDC->SelectBitmap(hOldBitmap);
    hOldBitmap.reset();
    hBitmap.reset();
    hMemoryDC.reset();
    stretch = 0;
    used = 0;
}

void BitmapClass::Destroy() {
    if (!used) {
        AppLog().Warning.Log("BitmapClass::Destroy", "not used");
        return;
    }
    if (!hBitmap) {
        // A failed load leaves the object used without a picture; releasing the memory
        // canvas here lets the next create operation work again.
        AppLog().Warning.Log("BitmapClass::Destroy", "hBitmap==NULL");
        Release();
        return;
    }
    Draw(gfx::RasterOp::Blackness);
    Release();
}

}  // namespace lumi
