// A font selected into a canvas: one opened face with its rendered glyphs cached, so text
// drawn every tick is never rasterized again.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include "gfx/FontRasterizer.h"
#include "gfx/Types.h"

namespace lumi::gfx {

class Font {
public:
    // Opens the request with the current rasterizer. When no face is available the font
    // still measures (half-height advances) but draws nothing.
    static std::shared_ptr<Font> Create(const LogFont& request);
    // The same over a face the caller opened (tests).
    static std::shared_ptr<Font> FromFace(const LogFont& request, std::unique_ptr<FontFace> face);

    const LogFont& Request() const { return request_; }
    const FontMetrics& Metrics() const { return metrics_; }
    bool HasFace() const { return face_ != nullptr; }
    std::string FamilyName() const;

    // The glyph of a single-byte character of the system code page (Windows-1252).
    const GlyphImage& Glyph(unsigned char c);
    int Advance(unsigned char c) { return Glyph(c).advance; }
    // Width of the text with `extra` pixels after every character, and the cell height.
    Size Measure(std::string_view text, int extra);

    // The Unicode character a code-page byte stands for.
    static char32_t ToUnicode(unsigned char c);

    // Construction goes through Create; public only so make_shared can reach it.
    Font(const LogFont& request, std::unique_ptr<FontFace> face);

private:
    LogFont request_;
    std::unique_ptr<FontFace> face_;
    FontMetrics metrics_;
    std::array<std::optional<GlyphImage>, 256> glyphs_;
};

// The font a canvas uses before another is selected: the default face at the default
// size. Made on first use and dropped whenever the rasterizer changes.
std::shared_ptr<Font> StockFont();

}  // namespace lumi::gfx
