// The scrolling bottom line.
#include "scene/BottomLine.h"

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
}

void BOTTOMLINE::Scroll() {
    if (!tBmp.used || finished == 1) return;
    const SkyRect& sky = SaverRun().ScreenRect;
    tBmp.x = sky.right - scrollOffset;
    tBmp.y = sky.bottom - tBmp.height - kBottomGap;
    if (tBmp.Display(SkyDC()) == 0) AppLog().Warning.Log("tBmp.Display", "FALSE");
    scrollOffset += kStepPixels;
    if (scrollOffset > tBmp.width + sky.right - sky.left) {
        scrollOffset = 0;
        finished = 1;
    }
}

}  // namespace lumi
