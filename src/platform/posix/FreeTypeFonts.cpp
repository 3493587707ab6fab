// Linux font rasterizer: fontconfig picks the face (its metric aliases map "Courier New" to a
// metric-compatible face), FreeType renders monochrome glyphs. Heights follow the logical
// font's rules, computed from the face's Windows metrics so that cells match the other
// platform's.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "platform/Fonts.h"

namespace lumi::gfx {
namespace {

struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
using LibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter>;

struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

struct ConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
// A configuration of our own rather than the library's process-wide one, which is never
// released and shows up as a leak in sanitizer runs.
using ConfigPtr = std::unique_ptr<FcConfig, ConfigDeleter>;

// Faces keep the library alive: fonts may outlive the rasterizer that opened them.
using SharedLibrary = std::shared_ptr<LibraryPtr>;

constexpr int kLargestEm = 1024;

class FreeTypeFace : public FontFace {
public:
    FreeTypeFace(SharedLibrary library, FacePtr face, const FontMetrics& metrics)
        : library_(std::move(library)), face_(std::move(face)), metrics_(metrics) {}

    FontMetrics Metrics() const override { return metrics_; }

    std::string FamilyName() const override { return face_->family_name ? face_->family_name : ""; }

    GlyphImage RenderGlyph(char32_t code) override {
        GlyphImage g;
        FT_UInt index = FT_Get_Char_Index(face_.get(), code);
        if (FT_Load_Glyph(face_.get(), index, FT_LOAD_TARGET_MONO) != 0) {
            g.advance = metrics_.averageWidth;
            return g;
        }
        FT_GlyphSlot slot = face_->glyph;
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return g;
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO || bitmap.width == 0 || bitmap.rows == 0) return g;
        g.width = static_cast<int>(bitmap.width);
        g.height = static_cast<int>(bitmap.rows);
        g.left = slot->bitmap_left;
        g.top = metrics_.ascent - slot->bitmap_top;
        g.mask.assign(static_cast<size_t>(g.width) * g.height, 0);
        for (int y = 0; y < g.height; ++y) {
            const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
            for (int x = 0; x < g.width; ++x)
                g.mask[static_cast<size_t>(y) * g.width + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
        }
        return g;
    }

private:
    SharedLibrary library_;
    FacePtr face_;
    FontMetrics metrics_;
};

int RoundDiv(long long a, long long b) { return b == 0 ? 0 : static_cast<int>((a * 2 + b) / (b * 2)); }

class FreeTypeRasterizer : public FontRasterizer {
public:
    FreeTypeRasterizer(SharedLibrary library, ConfigPtr config)
        : library_(std::move(library)), config_(std::move(config)) {}

    std::unique_ptr<FontFace> Open(const LogFont& request) override {
        std::string path;
        int index = 0;
        if (!Match(config_.get(), request, path, index)) return nullptr;
        FT_Face raw = nullptr;
        if (FT_New_Face(library_->get(), path.c_str(), index, &raw) != 0) return nullptr;
        FacePtr face(raw);
        if (!FT_IS_SCALABLE(face.get()) || face->units_per_EM == 0) return nullptr;

        // The cell (ascent + descent) comes from the Windows metrics when the face has them,
        // which is what makes a metric-compatible face measure like the original.
        long long units = face->units_per_EM;
        long long up = face->ascender;
        long long down = -static_cast<long long>(face->descender);
        long long avg = 0;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face.get(), FT_SFNT_OS2))) {
            if (os2->usWinAscent + os2->usWinDescent > 0) {
                up = os2->usWinAscent;
                down = os2->usWinDescent;
            }
            avg = os2->xAvgCharWidth;
        }
        if (up + down <= 0) {
            up = units * 4 / 5;
            down = units - up;
        }
        int cell = request.height > 0 ? request.height : kDefaultCellHeight;
        int em = request.height < 0 ? -request.height : RoundDiv(cell * units, up + down);
        em = std::clamp(em, 1, kLargestEm);
        if (FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(em)) != 0) return nullptr;

        FontMetrics m;
        m.ascent = RoundDiv(up * em, units);
        m.descent = request.height > 0 ? std::max(cell - m.ascent, 0) : RoundDiv(down * em, units);
        m.internalLeading = std::max(m.ascent + m.descent - em, 0);
        m.averageWidth = avg > 0 ? RoundDiv(avg * em, units) : em / 2;
        m.maxWidth = RoundDiv(face->max_advance_width * em, units);
        m.fixedPitch = FT_IS_FIXED_WIDTH(face.get());
        return std::make_unique<FreeTypeFace>(library_, std::move(face), m);
    }

private:
    static bool Match(FcConfig* config, const LogFont& request, std::string& path, int& index) {
        PatternPtr pattern(FcPatternCreate());
        if (!pattern) return false;
        std::string family = request.faceName.empty() ? "sans-serif" : request.faceName;
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        // Light weights are asked for on systems whose faces have no light cut, where they
        // come out regular; matching a real extra-light face here instead would make
        // one-bit glyphs lose their dots and hairlines (a period vanishes at 13 pixels).
        int weight = request.weight > 0 ? std::clamp(request.weight, 400, 1000) : 400;
        FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
        FcPatternAddInteger(pattern.get(), FC_SLANT,
                            request.style == FontStyle::Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
        if (!FcConfigSubstitute(config, pattern.get(), FcMatchPattern)) return false;
        FcDefaultSubstitute(pattern.get());
        FcResult result = FcResultNoMatch;
        PatternPtr match(FcFontMatch(config, pattern.get(), &result));
        if (!match) return false;
        FcChar8* file = nullptr;
        if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file) return false;
        path = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) != FcResultMatch) index = 0;
        return true;
    }

    SharedLibrary library_;
    ConfigPtr config_;
};

}  // namespace

std::unique_ptr<FontRasterizer> PlatformFontRasterizer() {
    ConfigPtr config(FcInitLoadConfigAndFonts());
    if (!config) return nullptr;
    FT_Library raw = nullptr;
    if (FT_Init_FreeType(&raw) != 0) return nullptr;
    auto library = std::make_shared<LibraryPtr>(raw);
    return std::make_unique<FreeTypeRasterizer>(std::move(library), std::move(config));
}

}  // namespace lumi::gfx
