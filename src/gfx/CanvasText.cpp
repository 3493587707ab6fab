// Text on the canvas: TextOut, measuring and DrawText's line layout (hard breaks, word
// wrapping, alignment, prefix characters).
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/Canvas.h"

namespace lumi::gfx {
namespace {

struct LineRange {
    size_t begin;
    size_t end;
};

// The text as shown: a single '&' disappears and marks the next character for
// underlining, "&&" shows one '&'.
std::string StripPrefixes(std::string_view text, std::vector<size_t>& underlined) {
    std::string shown;
    shown.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&') underlined.push_back(shown.size());
        } else if (text[i] == '&') {
            continue;  // a trailing '&' has nothing to mark
        }
        shown.push_back(text[i]);
    }
    return shown;
}

}  // namespace

Size Canvas::GetTextExtentPoint32(std::string_view text) { return CurrentFont()->Measure(text, charExtra_); }

FontMetrics Canvas::GetTextMetrics() { return CurrentFont()->Metrics(); }

bool Canvas::TextOut(int x, int y, std::string_view text) {
    if (!surface_) return false;
    DrawGlyphs(x, y, text, Rect{0, 0, surface_->Width(), surface_->Height()});
    return true;
}

void Canvas::DrawGlyphs(int64_t x, int64_t y, std::string_view text, const Rect& area) {
    Surface& s = *surface_;
    Rect clip = Intersect(area, Rect{0, 0, s.Width(), s.Height()});
    if (clip.IsEmpty() || text.empty()) return;
    Font& font = *CurrentFont();
    int cellHeight = font.Metrics().Height();
    if (bkMode_ == BackgroundMode::Opaque) {
        Size extent = font.Measure(text, charExtra_);
        Rect cells{static_cast<int>(std::clamp<int64_t>(x, clip.left, clip.right)),
                   static_cast<int>(std::clamp<int64_t>(y, clip.top, clip.bottom)),
                   static_cast<int>(std::clamp<int64_t>(x + extent.cx, clip.left, clip.right)),
                   static_cast<int>(std::clamp<int64_t>(y + cellHeight, clip.top, clip.bottom))};
        cells = Intersect(cells, clip);
        uint32_t back = Surface::ToNative(bkColor_);
        for (int row = cells.top; row < cells.bottom; ++row) std::fill_n(s.Row(row) + cells.left, cells.Width(), back);
        if (!cells.IsEmpty()) s.MarkDirty(cells);
    }
    uint32_t ink = Surface::ToNative(textColor_);
    int64_t penX = x;
    for (char ch : text) {
        if (penX >= clip.right) break;
        const GlyphImage& g = font.Glyph(static_cast<unsigned char>(ch));
        int64_t gx = penX + g.left;
        int64_t gy = y + g.top;
        if (g.width > 0 && g.height > 0 && gx < clip.right && gx + g.width > clip.left && gy < clip.bottom &&
            gy + g.height > clip.top) {
            int c0 = static_cast<int>(std::max<int64_t>(0, clip.left - gx));
            int c1 = static_cast<int>(std::min<int64_t>(g.width, clip.right - gx));
            int r0 = static_cast<int>(std::max<int64_t>(0, clip.top - gy));
            int r1 = static_cast<int>(std::min<int64_t>(g.height, clip.bottom - gy));
            for (int r = r0; r < r1; ++r) {
                uint32_t* line = s.Row(static_cast<int>(gy + r));
                const uint8_t* bits = &g.mask[static_cast<size_t>(r) * g.width];
                for (int c = c0; c < c1; ++c)
                    if (bits[c]) line[gx + c] = ink;
            }
            s.MarkDirty(Rect{static_cast<int>(gx + c0), static_cast<int>(gy + r0), static_cast<int>(gx + c1),
                             static_cast<int>(gy + r1)});
        }
        penX += int64_t{g.advance} + charExtra_;
    }
}

int Canvas::DrawText(std::string_view text, Rect& rect, unsigned format) {
    if (text.empty()) return 0;
    Font& font = *CurrentFont();
    int lineHeight = font.Metrics().Height();
    std::vector<size_t> underlined;
    std::string shown = (format & DrawTextFlag::NoPrefix) ? std::string(text) : StripPrefixes(text, underlined);
    bool single = (format & DrawTextFlag::SingleLine) != 0;
    bool wrap = !single && (format & DrawTextFlag::WordBreak) != 0;
    auto cell = [&](size_t i) { return int64_t{font.Advance(static_cast<unsigned char>(shown[i]))} + charExtra_; };
    auto widthOf = [&](LineRange line) {
        int64_t w = 0;
        for (size_t i = line.begin; i < line.end; ++i) w += cell(i);
        return static_cast<int>(std::clamp<int64_t>(w, 0, INT32_MAX));
    };

    std::vector<LineRange> lines;
    int64_t limit = int64_t{rect.right} - rect.left;
    auto wrapLine = [&](size_t begin, size_t end) {
        size_t start = begin;
        do {
            int64_t x = 0;
            bool haveBreak = false;
            size_t breakEnd = start;
            size_t breakNext = start;
            size_t i = start;
            bool broke = false;
            while (i < end) {
                if (shown[i] == ' ') {
                    // A run of blanks is where a line may break; the blanks vanish there.
                    size_t j = i;
                    while (j < end && shown[j] == ' ') x += cell(j++);
                    if (i > start) {
                        haveBreak = true;
                        breakEnd = i;
                        breakNext = j;
                    }
                    i = j;
                    continue;
                }
                int64_t w = cell(i);
                if (x + w > limit && haveBreak) {
                    lines.push_back({start, breakEnd});
                    start = breakNext;
                    broke = true;
                    break;
                }
                x += w;
                ++i;
            }
            if (!broke) {
                lines.push_back({start, end});
                start = end;
            }
        } while (start < end);
    };

    size_t pos = 0;
    size_t n = shown.size();
    while (pos < n) {
        size_t e = pos;
        if (!single)
            while (e < n && shown[e] != '\n' && shown[e] != '\r') ++e;
        else
            e = n;
        if (wrap)
            wrapLine(pos, e);
        else
            lines.push_back({pos, e});
        if (e >= n) break;
        e += (shown[e] == '\r' && e + 1 < n && shown[e + 1] == '\n') ? 2 : 1;
        pos = e;
    }

    // Positions are worked out in 64 bits: rectangles may reach to the ends of the int range.
    int64_t total64 = static_cast<int64_t>(lines.size()) * lineHeight;
    int total = static_cast<int>(std::min<int64_t>(total64, INT32_MAX));
    auto clampInt = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    if (format & DrawTextFlag::CalcRect) {
        int widest = 0;
        for (const LineRange& line : lines) widest = std::max(widest, widthOf(line));
        rect.right = clampInt(int64_t{rect.left} + widest);
        rect.bottom = clampInt(int64_t{rect.top} + total64);
        return total;
    }
    if (!surface_) return total;

    int64_t y = rect.top;
    int64_t result = total64;
    if (single && (format & DrawTextFlag::VCenter)) {
        y = rect.top + (int64_t{rect.bottom} - rect.top - lineHeight) / 2;
        result = y - rect.top + lineHeight;
    } else if (single && (format & DrawTextFlag::Bottom)) {
        y = int64_t{rect.bottom} - lineHeight;
        result = int64_t{rect.bottom} - rect.top;
    }
    Rect clip = (format & DrawTextFlag::NoClip) ? Rect{0, 0, surface_->Width(), surface_->Height()} : rect;
    int underlineRow = font.Metrics().ascent + 1;
    Brush ink = Brush::Solid(textColor_);
    for (const LineRange& line : lines) {
        int width = widthOf(line);
        int64_t x = rect.left;
        if (format & DrawTextFlag::Center)
            x = rect.left + (int64_t{rect.right} - rect.left - width) / 2;
        else if (format & DrawTextFlag::Right)
            x = int64_t{rect.right} - width;
        DrawGlyphs(x, y, std::string_view(shown).substr(line.begin, line.end - line.begin), clip);
        for (size_t u : underlined) {
            if (u < line.begin || u >= line.end) continue;
            int64_t ux = x;
            for (size_t i = line.begin; i < u; ++i) ux += cell(i);
            int64_t uw = font.Advance(static_cast<unsigned char>(shown[u]));
            int64_t uy = y + underlineRow;
            FillRect(Intersect(Rect{clampInt(ux), clampInt(uy), clampInt(ux + uw), clampInt(uy + 1)}, clip), ink);
        }
        y += lineHeight;
    }
    return clampInt(result);
}

}  // namespace lumi::gfx
