// The scrolling bottom line.
#include "scene/BottomLine.h"

#include "gfx/Canvas.h"
#include "gfx/DirtyRegion.h"
#include "sky/SaverRun.h"
#include "media/TextFont.h"
#include "moon/MoonPhase.h"
#include "sky/SkyDC.h"
#include "base/BoundedText.h"
#include "base/Log.h"

namespace lumi {

namespace {
std::string bottomLineText;
}

std::string& BottomLineText() { return bottomLineText; }

void BOTTOMLINE::Create() {
    std::string& text = BottomLineText();
    AppLog().Info.Log("BOTTOMLINE::Create", text);
    // The picture stays as it is; the scene destroys it before each new line.
    if (tBmp.hBitmap) AppLog().Warning.Log("BOTTOMLINE::Create", "Already created");
    // A message without a bottom line scrolls by as two blanks: no moon text on its own.
    if (!text.empty()) BoundedAppend(text, MoonText(), kBottomLineTextCapacity);
    BoundedAppend(text, "  ", kBottomLineTextCapacity);
    AppLog().Info.Log("BOTTOMLINE::Final text", text);
    tBmp.CreateFromText(SkyDC(), kConfiguredColour, 0, text);
    scrollOffset = 0;
    finished = 0;
    shown_ = false;
}

void BOTTOMLINE::Scroll() {
    if (!tBmp.used || finished == 1) return;
    const SkyRect& sky = SaverRun().ScreenRect;
    tBmp.x = sky.right - scrollOffset;
    tBmp.y = sky.bottom - tBmp.height - kBottomGap;
    gfx::Canvas* canvas = SkyDC();
    gfx::DirtyRegion* dirty = canvas ? canvas->Bitmap()->Dirty() : nullptr;
    // The picture is opaque over its whole rectangle and never changes, so this drawing
    // is the previous one moved kStepPixels to the left; the window can move it too.
    const bool moved = shown_ && tBmp.x == shownX_ - kStepPixels && tBmp.y == shownY_;
    if (dirty && !tBmp.stretch) dirty->BeginScroll();
    const int displayed = tBmp.Display(canvas);
    if (dirty && !tBmp.stretch)
        dirty->Scrolled(gfx::Rect{tBmp.x, tBmp.y, tBmp.x + tBmp.width, tBmp.y + tBmp.height}, -kStepPixels,
                        moved && displayed != 0);
    if (displayed == 0) AppLog().Warning.Log("tBmp.Display", "FALSE");
    shown_ = displayed != 0 && canvas != nullptr;
    shownX_ = tBmp.x;
    shownY_ = tBmp.y;
    scrollOffset += kStepPixels;
    if (scrollOffset > tBmp.width + sky.right - sky.left) {
        scrollOffset = 0;
        finished = 1;
    }
}

}  // namespace lumi
