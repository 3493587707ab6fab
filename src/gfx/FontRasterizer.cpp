// The program's one font rasterizer and stock font, replaceable for tests.
#include "gfx/FontRasterizer.h"

#include "gfx/Font.h"

namespace lumi::gfx {
namespace {

// Stands in when the platform cannot open any face: fonts then measure but draw nothing.
class NoFonts : public FontRasterizer {
public:
    std::unique_ptr<FontFace> Open(const LogFont&) override { return nullptr; }
};

std::unique_ptr<FontRasterizer> g_rasterizer;
FontRasterizerMaker g_platformMaker = nullptr;
std::shared_ptr<Font> g_stockFont;
int g_pixelsPerInch = 96;

}  // namespace

FontRasterizer& TheFontRasterizer() {
    if (!g_rasterizer) {
        if (g_platformMaker) g_rasterizer = g_platformMaker();
        if (!g_rasterizer) g_rasterizer = std::make_unique<NoFonts>();
    }
    return *g_rasterizer;
}

void SetPlatformFontRasterizerMaker(FontRasterizerMaker maker) { g_platformMaker = maker; }

void SetFontRasterizer(std::unique_ptr<FontRasterizer> rasterizer) {
    g_stockFont.reset();
    g_rasterizer = std::move(rasterizer);
}

std::shared_ptr<Font> StockFont() {
    if (!g_stockFont) g_stockFont = Font::Create(LogFont{});
    return g_stockFont;
}

int PixelsPerInch() { return g_pixelsPerInch; }

void SetPixelsPerInch(int pixels) { g_pixelsPerInch = pixels > 0 ? pixels : 96; }

}  // namespace lumi::gfx
