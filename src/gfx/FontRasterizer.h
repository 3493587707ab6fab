// Where glyphs come from: a platform font rasterizer behind a small interface (FreeType and
// fontconfig on Linux, GDI on Windows), and the one rasterizer the program uses.
//
// Everything the platform files need from here is inline, so lumi_platform does not depend
// on lumi_gfx's object code.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lumi::gfx {

enum class FontStyle { Upright, Italic };

// A font request in the platform's logical-font terms.
struct LogFont {
    // Negative: the character height (em size) in pixels; positive: the cell height
    // (ascent + descent); 0: the rasterizer's default size.
    int height = 0;
    int weight = 400;  // 100..900; 0 means normal
    FontStyle style = FontStyle::Upright;
    uint8_t charSet = 0;
    // Empty: the platform's default face.
    std::string faceName;
};

// Cell height the rasterizers use for a request of height 0.
constexpr int kDefaultCellHeight = 16;

struct FontMetrics {
    int ascent = 0;   // pixels above the baseline, the cell's top included
    int descent = 0;  // pixels below the baseline
    int internalLeading = 0;
    int averageWidth = 0;
    int maxWidth = 0;
    bool fixedPitch = false;
    int Height() const { return ascent + descent; }
};

// One character rendered without antialiasing: a mask of 0 (off) and 1 (on), one byte per
// pixel, rows top-down. Positions are relative to the pen at the top of the character cell.
struct GlyphImage {
    int width = 0;
    int height = 0;
    int left = 0;     // from the pen position to the mask's first column
    int top = 0;      // from the cell's top to the mask's first row
    int advance = 0;  // where the pen goes next (without extra character spacing)
    std::vector<uint8_t> mask;

    bool On(int x, int y) const { return mask[static_cast<size_t>(y) * width + x] != 0; }
};

// A face opened at one size.
class FontFace {
public:
    virtual ~FontFace() = default;
    virtual FontMetrics Metrics() const = 0;
    // Never fails: a character the face lacks gives an empty mask with some advance.
    virtual GlyphImage RenderGlyph(char32_t code) = 0;
    // The face the platform chose (for logs and tests).
    virtual std::string FamilyName() const = 0;
};

class FontRasterizer {
public:
    virtual ~FontRasterizer() = default;
    // nullptr when the platform has no face at all for the request.
    virtual std::unique_ptr<FontFace> Open(const LogFont& request) = 0;
};

// Makes the platform's rasterizer. The raster sits below the platform, so the program's
// start hands the platform's maker over (platform::StartPlatform); without one, fonts
// measure but draw nothing.
using FontRasterizerMaker = std::unique_ptr<FontRasterizer> (*)();
void SetPlatformFontRasterizerMaker(FontRasterizerMaker maker);

// The rasterizer the program uses: the platform's unless another was installed.
FontRasterizer& TheFontRasterizer();
// Installs another (tests); nullptr goes back to the platform's. Fonts made before keep
// the faces they opened.
void SetFontRasterizer(std::unique_ptr<FontRasterizer> rasterizer);

// Pixels per logical inch, for point sizes (96 unless the display says otherwise).
int PixelsPerInch();
void SetPixelsPerInch(int pixels);

}  // namespace lumi::gfx
