// A device-context-like canvas over a Surface: the selected bitmap, pen, brush and font, the
// text and background colours, and the drawing operations the sky needs, with the platform
// GDI's semantics (right and bottom edges excluded, end points of lines excluded, clipping
// to the surface, nothing ever fails loudly).
//
// Select* calls return what was selected before, so a caller restores it like SelectObject.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "gfx/Font.h"
#include "gfx/Surface.h"
#include "gfx/Types.h"

namespace lumi::gfx {

enum class RasterOp {
    SrcCopy,    // copy the source
    Blackness,  // paint the destination black; the source is not read
};

enum class BackgroundMode { Transparent = 1, Opaque = 2 };

enum class PenStyle { Solid, Null };
enum class BrushStyle { Solid, Null };

struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;  // 0 and 1 both mean one pixel
    Color color = 0;

    static Pen Solid(int width, Color color) { return Pen{PenStyle::Solid, width, color}; }
    static Pen Black() { return Solid(1, Rgb(0, 0, 0)); }
    static Pen White() { return Solid(1, Rgb(255, 255, 255)); }
    static Pen Null() { return Pen{PenStyle::Null, 1, 0}; }
    friend bool operator==(const Pen& a, const Pen& b) {
        return a.style == b.style && a.width == b.width && a.color == b.color;
    }
};

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Color color = 0;

    static Brush Solid(Color color) { return Brush{BrushStyle::Solid, color}; }
    static Brush Black() { return Solid(Rgb(0, 0, 0)); }
    static Brush White() { return Solid(Rgb(255, 255, 255)); }
    static Brush Null() { return Brush{BrushStyle::Null, 0}; }
    friend bool operator==(const Brush& a, const Brush& b) { return a.style == b.style && a.color == b.color; }
};

// DrawText format bits (the platform's values).
namespace DrawTextFlag {
constexpr unsigned Top = 0x0;
constexpr unsigned Left = 0x0;
constexpr unsigned Center = 0x1;
constexpr unsigned Right = 0x2;
constexpr unsigned VCenter = 0x4;  // with SingleLine only
constexpr unsigned Bottom = 0x8;   // with SingleLine only
constexpr unsigned WordBreak = 0x10;
constexpr unsigned SingleLine = 0x20;
constexpr unsigned NoClip = 0x100;
constexpr unsigned CalcRect = 0x400;
constexpr unsigned NoPrefix = 0x800;
}  // namespace DrawTextFlag

class Canvas {
public:
    // A canvas over a window's surface (the sky's device context).
    explicit Canvas(std::shared_ptr<Surface> surface);
    // A memory canvas; like the platform's, it starts with a 1 x 1 black bitmap selected.
    // `like` only documents the pairing: every surface here has the same format.
    static std::unique_ptr<Canvas> CreateCompatible(const Canvas* like);
    // A black bitmap for use with this canvas (nullptr when too large, see Surface::Create).
    static std::shared_ptr<Surface> CreateCompatibleBitmap(const Canvas* like, int width, int height);

    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // nullptr leaves the selection as it is and returns nullptr, as a failed select does.
    std::shared_ptr<Surface> SelectBitmap(std::shared_ptr<Surface> surface);
    const std::shared_ptr<Surface>& Bitmap() const { return surface_; }
    Pen SelectPen(const Pen& pen);
    Brush SelectBrush(const Brush& brush);
    // nullptr selects the stock font. Returns the previous font (never nullptr).
    std::shared_ptr<Font> SelectFont(std::shared_ptr<Font> font);
    const std::shared_ptr<Font>& CurrentFont();

    Color SetTextColor(Color c);
    Color GetTextColor() const { return textColor_; }
    Color SetBkColor(Color c);
    Color GetBkColor() const { return bkColor_; }
    BackgroundMode SetBkMode(BackgroundMode mode);
    int SetTextCharacterExtra(int extra);
    int GetTextCharacterExtra() const { return charExtra_; }
    // Vertical pixels per logical inch (LOGPIXELSY).
    int LogPixelsY() const { return PixelsPerInch(); }

    // Copies a w x h block from `source` at (sx, sy) to (x, y), clipped to both surfaces;
    // a source of nullptr is allowed for Blackness. Sizes of 0 or less draw nothing.
    bool BitBlt(int x, int y, int w, int h, const Canvas* source, int sx, int sy, RasterOp op);
    // Stretches the source block over the destination by nearest pixel. A negative width or
    // height (destination or source) mirrors: the block then covers x + w .. x - 1.
    bool StretchBlt(int x, int y, int w, int h, const Canvas* source, int sx, int sy, int sw, int sh,
                    RasterOp op);

    Color SetPixel(int x, int y, Color c);
    Color GetPixel(int x, int y) const;

    // For a drawer that need not draw again what is still there: the moment right after
    // it drew (0 when the surface does not track its changes), and whether anything was
    // drawn into r since such a moment (always so for 0 or without tracking).
    uint64_t Moment();
    bool DrawnSince(const Rect& r, uint64_t moment) const;

    // Right and bottom are not painted; an empty or inverted rectangle paints nothing.
    bool FillRect(const Rect& r, const Brush& brush);
    // Outline with the pen, inside with the brush, within (left, top)..(right - 1, bottom - 1).
    bool Rectangle(int left, int top, int right, int bottom);
    bool Ellipse(int left, int top, int right, int bottom);
    // Returns the previous current position.
    Point MoveTo(int x, int y);
    // Draws from the current position up to, not including, (x, y), which becomes current.
    bool LineTo(int x, int y);

    // Text with its cell's top-left at (x, y); in Opaque mode the cells are filled with the
    // background colour first.
    bool TextOut(int x, int y, std::string_view text);
    // Width of the text including the extra spacing after every character; cell height.
    Size GetTextExtentPoint32(std::string_view text);
    FontMetrics GetTextMetrics();
    // Lays out and draws (or with CalcRect only measures, widening `rect` to fit) the
    // text; returns the text's height.
    int DrawText(std::string_view text, Rect& rect, unsigned format);

private:
    void DrawLine(int x0, int y0, int x1, int y1);
    void PlotPen(int x, int y);
    void DrawGlyphs(int64_t x, int64_t y, std::string_view text, const Rect& clip);

    std::shared_ptr<Surface> surface_;
    Pen pen_ = Pen::Black();
    Brush brush_ = Brush::White();
    std::shared_ptr<Font> font_;
    Color textColor_ = 0;
    Color bkColor_ = Rgb(255, 255, 255);
    BackgroundMode bkMode_ = BackgroundMode::Opaque;
    int charExtra_ = 0;
    Point position_;
};

}  // namespace lumi::gfx
