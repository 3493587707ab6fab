// Fonts with their glyph cache, and the code-page mapping of single-byte text.
#include "gfx/Font.h"

#include <algorithm>

namespace lumi::gfx {
namespace {

// Windows-1252 positions 0x80..0x9F; the five unassigned ones map to themselves.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int RequestedCellHeight(const LogFont& request) {
    if (request.height < 0) return -request.height;
    if (request.height > 0) return request.height;
    return kDefaultCellHeight;
}

// Metrics for a font without a face, so that layout code still gets sensible numbers.
FontMetrics StandInMetrics(const LogFont& request) {
    FontMetrics m;
    int h = std::clamp(RequestedCellHeight(request), 1, 4096);
    m.ascent = h - h / 5;
    m.descent = h / 5;
    m.averageWidth = std::max(1, h / 2);
    m.maxWidth = m.averageWidth;
    m.fixedPitch = true;
    return m;
}

// A rasterizer's answer is checked once here, so drawing can index masks without doubt.
void Sanitize(GlyphImage& g) {
    if (g.width <= 0 || g.height <= 0 || g.mask.size() != static_cast<size_t>(g.width) * g.height) {
        g.width = 0;
        g.height = 0;
        g.mask.clear();
    }
    g.advance = std::clamp(g.advance, 0, 4096);
}

}  // namespace

Font::Font(const LogFont& request, std::unique_ptr<FontFace> face)
    : request_(request), face_(std::move(face)), metrics_(face_ ? face_->Metrics() : StandInMetrics(request)) {
    metrics_.ascent = std::max(metrics_.ascent, 0);
    metrics_.descent = std::max(metrics_.descent, 0);
}

std::shared_ptr<Font> Font::Create(const LogFont& request) {
    return std::make_shared<Font>(request, TheFontRasterizer().Open(request));
}

std::shared_ptr<Font> Font::FromFace(const LogFont& request, std::unique_ptr<FontFace> face) {
    return std::make_shared<Font>(request, std::move(face));
}

std::string Font::FamilyName() const { return face_ ? face_->FamilyName() : std::string(); }

char32_t Font::ToUnicode(unsigned char c) {
    if (c >= 0x80 && c < 0xA0) return kHighControls[c - 0x80];
    return c;
}

const GlyphImage& Font::Glyph(unsigned char c) {
    std::optional<GlyphImage>& slot = glyphs_[c];
    if (!slot) {
        GlyphImage g;
        if (c < 0x20) {
            // Control characters show nothing and take no room.
        } else if (face_) {
            g = face_->RenderGlyph(ToUnicode(c));
        } else {
            g.advance = metrics_.averageWidth;
        }
        Sanitize(g);
        slot = std::move(g);
    }
    return *slot;
}

Size Font::Measure(std::string_view text, int extra) {
    int64_t width = 0;
    for (char ch : text) width += int64_t{Advance(static_cast<unsigned char>(ch))} + extra;
    width = std::clamp<int64_t>(width, 0, 1 << 30);
    return Size{static_cast<int>(width), metrics_.Height()};
}

}  // namespace lumi::gfx
