// Windows font rasterizer: GDI creates the logical font without antialiasing and hands out
// 1-bit glyph outlines (GGO_BITMAP); faces GDI cannot outline (raster fonts) are drawn into a
// monochrome DIB section instead.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/Fonts.h"

namespace lumi::gfx {
namespace {

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using DcPtr = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

struct ObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using FontPtr = std::unique_ptr<std::remove_pointer_t<HFONT>, ObjectDeleter>;
using BitmapPtr = std::unique_ptr<std::remove_pointer_t<HBITMAP>, ObjectDeleter>;

// Keeps an object selected into a DC for its lifetime, then puts the previous one back so
// that both can be deleted.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

constexpr int kLargestHeight = 1024;
const MAT2 kIdentity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};

class GdiFace : public FontFace {
public:
    GdiFace(DcPtr dc, FontPtr font) : dc_(std::move(dc)), font_(std::move(font)), selection_(dc_.get(), font_.get()) {
        TEXTMETRICW tm{};
        if (GetTextMetricsW(dc_.get(), &tm)) {
            metrics_.ascent = tm.tmAscent;
            metrics_.descent = tm.tmDescent;
            metrics_.internalLeading = tm.tmInternalLeading;
            metrics_.averageWidth = tm.tmAveCharWidth;
            metrics_.maxWidth = tm.tmMaxCharWidth;
            // GDI's flag is set for variable-pitch faces despite its name.
            metrics_.fixedPitch = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
            overhang_ = tm.tmOverhang;
        }
    }

    FontMetrics Metrics() const override { return metrics_; }

    std::string FamilyName() const override {
        char name[LF_FACESIZE] = {};
        int n = GetTextFaceA(dc_.get(), LF_FACESIZE, name);
        return n > 0 ? std::string(name) : std::string();
    }

    GlyphImage RenderGlyph(char32_t code) override {
        GlyphImage g;
        if (code > 0xFFFF) return g;
        UINT ch = static_cast<UINT>(code);
        GLYPHMETRICS gm{};
        DWORD size = GetGlyphOutlineW(dc_.get(), ch, GGO_BITMAP, &gm, 0, nullptr, &kIdentity);
        if (size == GDI_ERROR) return RenderThroughBitmap(static_cast<wchar_t>(ch));
        g.advance = gm.gmCellIncX;
        if (size == 0) return g;  // a blank
        std::vector<unsigned char> bits(size);
        if (GetGlyphOutlineW(dc_.get(), ch, GGO_BITMAP, &gm, size, bits.data(), &kIdentity) == GDI_ERROR) return g;
        int width = static_cast<int>(gm.gmBlackBoxX);
        int height = static_cast<int>(gm.gmBlackBoxY);
        size_t pitch = ((static_cast<size_t>(width) + 31) / 32) * 4;  // rows are DWORD-aligned
        if (width <= 0 || height <= 0 || pitch * static_cast<size_t>(height) > bits.size()) return g;
        g.width = width;
        g.height = height;
        g.left = gm.gmptGlyphOrigin.x;
        g.top = metrics_.ascent - gm.gmptGlyphOrigin.y;
        g.mask.assign(static_cast<size_t>(width) * height, 0);
        for (int y = 0; y < height; ++y) {
            const unsigned char* row = &bits[pitch * static_cast<size_t>(y)];
            for (int x = 0; x < width; ++x)
                g.mask[static_cast<size_t>(y) * width + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
        }
        return g;
    }

private:
    // Draws the character white on black into a 1-bit DIB section as large as its cell.
    GlyphImage RenderThroughBitmap(wchar_t ch) {
        GlyphImage g;
        SIZE extent{};
        if (!GetTextExtentPoint32W(dc_.get(), &ch, 1, &extent)) return g;
        g.advance = std::max<int>(extent.cx - overhang_, 0);
        int width = std::min<int>(extent.cx, kLargestHeight * 2);
        int height = std::min<int>(metrics_.Height(), kLargestHeight * 2);
        if (width <= 0 || height <= 0) return g;

        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colours[2];
        } info{};
        info.header.biSize = sizeof(BITMAPINFOHEADER);
        info.header.biWidth = width;
        info.header.biHeight = -height;  // top-down rows
        info.header.biPlanes = 1;
        info.header.biBitCount = 1;
        info.header.biCompression = BI_RGB;
        info.colours[1] = RGBQUAD{255, 255, 255, 0};
        void* pixels = nullptr;
        BitmapPtr bitmap(CreateDIBSection(dc_.get(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                          &pixels, nullptr, 0));
        if (!bitmap || !pixels) return g;
        {
            Selection selected(dc_.get(), bitmap.get());
            SetBkMode(dc_.get(), OPAQUE);
            SetBkColor(dc_.get(), RGB(0, 0, 0));
            SetTextColor(dc_.get(), RGB(255, 255, 255));
            SetTextAlign(dc_.get(), TA_TOP | TA_LEFT);
            TextOutW(dc_.get(), 0, 0, &ch, 1);
            GdiFlush();
        }
        size_t pitch = ((static_cast<size_t>(width) + 31) / 32) * 4;
        const unsigned char* bits = static_cast<const unsigned char*>(pixels);
        g.width = width;
        g.height = height;
        g.mask.assign(static_cast<size_t>(width) * height, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                g.mask[static_cast<size_t>(y) * width + x] = (bits[pitch * y + (x >> 3)] >> (7 - (x & 7))) & 1;
        return g;
    }

    DcPtr dc_;
    FontPtr font_;
    Selection selection_;
    FontMetrics metrics_;
    int overhang_ = 0;
};

class GdiRasterizer : public FontRasterizer {
public:
    std::unique_ptr<FontFace> Open(const LogFont& request) override {
        LOGFONTA lf{};
        int height = request.height == 0 ? kDefaultCellHeight : request.height;
        lf.lfHeight = std::clamp(height, -kLargestHeight, kLargestHeight);
        lf.lfWeight = std::clamp(request.weight, 0, 1000);
        lf.lfItalic = request.style == FontStyle::Italic ? TRUE : FALSE;
        lf.lfCharSet = request.charSet;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        // Every non-black pixel of a message becomes a star, so glyphs must not be smoothed.
        lf.lfQuality = NONANTIALIASED_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
        size_t n = std::min(request.faceName.size(), static_cast<size_t>(LF_FACESIZE - 1));
        std::memcpy(lf.lfFaceName, request.faceName.data(), n);
        lf.lfFaceName[n] = '\0';

        FontPtr font(CreateFontIndirectA(&lf));
        if (!font) return nullptr;
        DcPtr dc(CreateCompatibleDC(nullptr));
        if (!dc) return nullptr;
        return std::make_unique<GdiFace>(std::move(dc), std::move(font));
    }
};

}  // namespace

std::unique_ptr<FontRasterizer> PlatformFontRasterizer() { return std::make_unique<GdiRasterizer>(); }

}  // namespace lumi::gfx
