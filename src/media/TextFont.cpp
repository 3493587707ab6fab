// Selecting the text font into a canvas and restoring what was there before.
#include "media/TextFont.h"

#include "gfx/Font.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"

namespace lumi {

TextFont::~TextFont() {
    // The canvas may be gone by now, so nothing is put back; the misuse is reported.
    if (selected) InternalError(nullptr, 2123);
}

void TextFont::Load(std::string_view section) {
    if (FontSize == 0) FontSize = static_cast<float>(MainIni().ReadFloatForUser(section, "FontSize", 10));
    // Written so that a size that is not a number also ends at the lower bound.
    if (!(FontSize >= kMinFontSize)) FontSize = kMinFontSize;
    if (FontSize > kMaxFontSize) FontSize = kMaxFontSize;

    const int pixelsPerInch = hdc != nullptr ? hdc->LogPixelsY() : gfx::PixelsPerInch();
    logFont = gfx::LogFont();
    logFont.height = -gfx::MulDiv(static_cast<int>(FontSize), pixelsPerInch, 72);
    logFont.weight = 100;
    logFont.style = gfx::FontStyle::Upright;
    logFont.charSet = charSet;
    logFont.faceName = faceName.substr(0, kFaceNameCapacity - 1);

    if (Color == kConfiguredColour)
        Color = static_cast<int32_t>(MainIni().ReadIntForUser(section, "Color", 0xFFFF00));
}

void TextFont::Select(gfx::Canvas* target, int32_t textColour, int32_t backColour) {
    if (target == nullptr) InternalError(nullptr, 2351);
    if (selected) InternalError(nullptr, 2358);
    Color = textColour;
    hdc = target;
    Load("Font");
    font = gfx::Font::Create(logFont);
    if (hdc != nullptr) {
        oldTextColor = hdc->SetTextColor(static_cast<gfx::Color>(Color));
        oldBkColor = hdc->SetBkColor(static_cast<gfx::Color>(backColour));
        oldFont = hdc->SelectFont(font);
    }
    selected = 1;
}

void TextFont::Restore() {
    if (!selected) {
        // Nothing was saved since the last Restore; putting stale values back could
        // touch a canvas that no longer exists.
        InternalError(nullptr, 2352);
        return;
    }
    selected = 0;
    if (hdc != nullptr) {
        hdc->SetTextColor(oldTextColor);
        hdc->SetBkColor(oldBkColor);
        hdc->SelectFont(oldFont);
    }
    oldFont.reset();
    font.reset();
}

}  // namespace lumi
