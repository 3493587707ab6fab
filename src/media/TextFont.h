// The text font: face, size and colour selected into a canvas for text output and put
// back afterwards, with the configured size and colour of the "Font" settings.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "gfx/Canvas.h"
#include "gfx/FontRasterizer.h"

namespace lumi {

// Passed as a text colour, takes the configured one.
constexpr int32_t kConfiguredColour = -1;

class TextFont {
public:
    static constexpr size_t kFaceNameCapacity = 32;
    static constexpr float kMinFontSize = 5;
    static constexpr float kMaxFontSize = 34;

    TextFont() = default;
    // Reports internal error 2123 when still selected.
    ~TextFont();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    // Reads what is not set yet (FontSize when 0, Color when -1) from `section` of the
    // main settings, per user, clamps the size to 5..34 and fills the logical font.
    void Load(std::string_view section);
    // Selects the font with the colours into hdc; a text colour of -1 takes the
    // configured colour. The canvas must stay alive until Restore.
    void Select(gfx::Canvas* hdc, int32_t textColour, int32_t backColour);
    // Puts back the font and colours that Select replaced.
    void Restore();

    // The face to ask for; empty lets the platform choose. At most 31 characters are used.
    std::string faceName;
    float FontSize = 0;  // points
    uint8_t charSet = 0;
    int32_t selected = 0;
    gfx::LogFont logFont;
    std::shared_ptr<gfx::Font> font;
    std::shared_ptr<gfx::Font> oldFont;
    int32_t Color = kConfiguredColour;
    gfx::Color oldTextColor = 0;
    gfx::Color oldBkColor = 0;
    gfx::Canvas* hdc = nullptr;
};

}  // namespace lumi
