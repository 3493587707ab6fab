// Raster operations of the canvas: selection, block transfers, pixels, rectangles, lines and
// ellipses. Text lives in CanvasText.cpp.
#include "gfx/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lumi::gfx {
namespace {

// Clamps a 64-bit rectangle to the surface so that huge or overflowing coordinates from
// callers never wrap around.
Rect ClipToSurface(int64_t left, int64_t top, int64_t right, int64_t bottom, const Surface& s) {
    Rect r{static_cast<int>(std::clamp<int64_t>(left, 0, s.Width())),
           static_cast<int>(std::clamp<int64_t>(top, 0, s.Height())),
           static_cast<int>(std::clamp<int64_t>(right, 0, s.Width())),
           static_cast<int>(std::clamp<int64_t>(bottom, 0, s.Height()))};
    if (r.IsEmpty()) return Rect{};
    return r;
}

// Blits up to this many pixels are compared as they are drawn, so only rows that took a
// new colour are marked for presenting: a star drawn again as it was costs the window
// system nothing. Larger blits are marked whole. (Fills are not compared: the small ones
// erase stars that moved, which always changes them.)
constexpr int64_t kComparedPixels = 64 * 64;

// Whether n pixels differ, compared two at a time.
inline bool RowDiffers(const uint32_t* a, const uint32_t* b, int n) {
    uint64_t differs = 0;
    int i = 0;
    for (; i + 2 <= n; i += 2) {
        uint64_t p;
        uint64_t q;
        std::memcpy(&p, a + i, sizeof p);
        std::memcpy(&q, b + i, sizeof q);
        differs |= p ^ q;
    }
    if (i < n) differs |= a[i] ^ b[i];
    return differs != 0;
}

void FillNative(Surface& s, const Rect& r, uint32_t native) {
    if (r.IsEmpty()) return;
    for (int y = r.top; y < r.bottom; ++y) std::fill_n(s.Row(y) + r.left, r.Width(), native);
    s.MarkDirty(r);
}

// Source index for destination step t of n when n destination pixels cover m source
// pixels: the source pixel under the destination pixel's centre.
inline int Sample(int64_t t, int64_t m, int64_t n) { return static_cast<int>(((2 * t + 1) * m) / (2 * n)); }

}  // namespace

Canvas::Canvas(std::shared_ptr<Surface> surface) : surface_(std::move(surface)) {}

std::unique_ptr<Canvas> Canvas::CreateCompatible(const Canvas*) {
    return std::make_unique<Canvas>(Surface::Create(1, 1));
}

std::shared_ptr<Surface> Canvas::CreateCompatibleBitmap(const Canvas*, int width, int height) {
    return Surface::Create(width, height);
}

std::shared_ptr<Surface> Canvas::SelectBitmap(std::shared_ptr<Surface> surface) {
    if (!surface) return nullptr;
    std::swap(surface, surface_);
    return surface;
}

Pen Canvas::SelectPen(const Pen& pen) {
    Pen previous = pen_;
    pen_ = pen;
    return previous;
}

Brush Canvas::SelectBrush(const Brush& brush) {
    Brush previous = brush_;
    brush_ = brush;
    return previous;
}

std::shared_ptr<Font> Canvas::SelectFont(std::shared_ptr<Font> font) {
    std::shared_ptr<Font> previous = CurrentFont();
    font_ = font ? std::move(font) : StockFont();
    return previous;
}

const std::shared_ptr<Font>& Canvas::CurrentFont() {
    if (!font_) font_ = StockFont();
    return font_;
}

Color Canvas::SetTextColor(Color c) {
    Color previous = textColor_;
    textColor_ = c & 0x00FFFFFFu;
    return previous;
}

Color Canvas::SetBkColor(Color c) {
    Color previous = bkColor_;
    bkColor_ = c & 0x00FFFFFFu;
    return previous;
}

BackgroundMode Canvas::SetBkMode(BackgroundMode mode) {
    BackgroundMode previous = bkMode_;
    bkMode_ = mode;
    return previous;
}

int Canvas::SetTextCharacterExtra(int extra) {
    int previous = charExtra_;
    charExtra_ = extra;
    return previous;
}

bool Canvas::BitBlt(int x, int y, int w, int h, const Canvas* source, int sx, int sy, RasterOp op) {
    if (!surface_) return false;
    Surface& dst = *surface_;
    if (w <= 0 || h <= 0) return true;
    if (op == RasterOp::Blackness) {
        FillNative(dst, ClipToSurface(x, y, int64_t{x} + w, int64_t{y} + h, dst), 0);
        return true;
    }
    if (!source || !source->surface_) return false;
    const Surface& src = *source->surface_;
    // Clip the destination block to the destination, then to where the source exists.
    int64_t dx0 = std::max<int64_t>({x, 0, int64_t{x} - sx});
    int64_t dy0 = std::max<int64_t>({y, 0, int64_t{y} - sy});
    int64_t dx1 = std::min<int64_t>({int64_t{x} + w, dst.Width(), int64_t{x} - sx + src.Width()});
    int64_t dy1 = std::min<int64_t>({int64_t{y} + h, dst.Height(), int64_t{y} - sy + src.Height()});
    if (dx1 <= dx0 || dy1 <= dy0) return true;
    int cols = static_cast<int>(dx1 - dx0);
    int srcX = static_cast<int>(dx0 - x + sx);
    int srcY = static_cast<int>(dy0 - y + sy);
    int rows = static_cast<int>(dy1 - dy0);
    auto copyRow = [&](int r) {
        std::memmove(dst.Row(static_cast<int>(dy0) + r) + dx0, src.Row(srcY + r) + srcX,
                     static_cast<size_t>(cols) * sizeof(uint32_t));
    };
    if (&src != &dst && dst.TracksDirty() && int64_t{cols} * rows <= kComparedPixels) {
        int firstRow = -1, lastRow = -1;
        // Whole rows: a row that differs is copied and marked across the block. A row that
        // does not is only read, so a star drawn again as it was leaves its cache lines
        // clean (no write-back of the raster for it).
        for (int r = 0; r < rows; ++r) {
            uint32_t* to = dst.Row(static_cast<int>(dy0) + r) + dx0;
            const uint32_t* from = src.Row(srcY + r) + srcX;
            if (!RowDiffers(to, from, cols)) continue;
            std::memcpy(to, from, static_cast<size_t>(cols) * sizeof(uint32_t));
            if (firstRow < 0) firstRow = r;
            lastRow = r;
        }
        if (firstRow >= 0)
            dst.MarkDirty(Rect{static_cast<int>(dx0), static_cast<int>(dy0) + firstRow, static_cast<int>(dx1),
                               static_cast<int>(dy0) + lastRow + 1});
        return true;
    }
    // Within one surface a block moved down must be copied bottom row first.
    if (&src == &dst && dy0 > srcY) {
        for (int r = rows - 1; r >= 0; --r) copyRow(r);
    } else {
        for (int r = 0; r < rows; ++r) copyRow(r);
    }
    dst.MarkDirty(Rect{static_cast<int>(dx0), static_cast<int>(dy0), static_cast<int>(dx1), static_cast<int>(dy1)});
    return true;
}

uint64_t Canvas::Moment() {
    return surface_ && surface_->TracksDirty() ? surface_->Dirty()->Moment() : 0;
}

bool Canvas::DrawnSince(const Rect& r, uint64_t moment) const {
    if (moment == 0 || !surface_ || !surface_->TracksDirty()) return true;
    return surface_->Dirty()->DrawnSince(r, moment);
}

bool Canvas::StretchBlt(int x, int y, int w, int h, const Canvas* source, int sx, int sy, int sw, int sh,
                        RasterOp op) {
    if (!surface_) return false;
    Surface& dst = *surface_;
    if (w == 0 || h == 0) return true;
    // A negative extent makes the block run from x + w up to x - 1, mirrored.
    int64_t left = w < 0 ? int64_t{x} + w : x;
    int64_t top = h < 0 ? int64_t{y} + h : y;
    int64_t dw = std::abs(int64_t{w});
    int64_t dh = std::abs(int64_t{h});
    Rect clip = ClipToSurface(left, top, left + dw, top + dh, dst);
    if (op == RasterOp::Blackness) {
        FillNative(dst, clip, 0);
        return true;
    }
    if (!source || !source->surface_) return false;
    if (sw == 0 || sh == 0) return true;
    if (clip.IsEmpty()) return true;
    const Surface& src = *source->surface_;
    bool mirrorX = (w < 0) != (sw < 0);
    bool mirrorY = (h < 0) != (sh < 0);
    int64_t srcLeft = sw < 0 ? int64_t{sx} + sw : sx;
    int64_t srcTop = sh < 0 ? int64_t{sy} + sh : sy;
    int64_t mw = std::abs(int64_t{sw});
    int64_t mh = std::abs(int64_t{sh});

    // Column and row lookups for the visible part; -1 where the source has no pixel.
    std::vector<int> columns(static_cast<size_t>(clip.Width()));
    for (int i = 0; i < clip.Width(); ++i) {
        int64_t t = clip.left + i - left;
        if (mirrorX) t = dw - 1 - t;
        int64_t c = srcLeft + Sample(t, mw, dw);
        columns[static_cast<size_t>(i)] = (c >= 0 && c < src.Width()) ? static_cast<int>(c) : -1;
    }
    // Copying a surface onto itself (mirroring in place) must read the original picture.
    std::vector<uint32_t> copy;
    const uint32_t* base = src.Data();
    if (&src == &dst) {
        copy.assign(src.Data(), src.Data() + static_cast<size_t>(src.Width()) * src.Height());
        base = copy.data();
    }
    for (int yy = clip.top; yy < clip.bottom; ++yy) {
        int64_t t = yy - top;
        if (mirrorY) t = dh - 1 - t;
        int64_t r = srcTop + Sample(t, mh, dh);
        if (r < 0 || r >= src.Height()) continue;
        const uint32_t* from = base + static_cast<size_t>(r) * src.Width();
        uint32_t* to = dst.Row(yy) + clip.left;
        for (int i = 0; i < clip.Width(); ++i) {
            int c = columns[static_cast<size_t>(i)];
            if (c >= 0) to[i] = from[c];
        }
    }
    dst.MarkDirty(clip);
    return true;
}

Color Canvas::SetPixel(int x, int y, Color c) { return surface_ ? surface_->SetPixel(x, y, c) : kInvalidColor; }

Color Canvas::GetPixel(int x, int y) const { return surface_ ? surface_->GetPixel(x, y) : kInvalidColor; }

bool Canvas::FillRect(const Rect& r, const Brush& brush) {
    if (!surface_) return false;
    if (brush.style == BrushStyle::Null) return true;
    FillNative(*surface_, ClipToSurface(r.left, r.top, r.right, r.bottom, *surface_), Surface::ToNative(brush.color));
    return true;
}

bool Canvas::Rectangle(int left, int top, int right, int bottom) {
    if (!surface_) return false;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (pen_.style == PenStyle::Null) {
        // Without an outline the platform paints one pixel less to the right and bottom.
        return FillRect(Rect{left, top, right - 1, bottom - 1}, brush_);
    }
    if (right - left < 1 || bottom - top < 1) return true;
    FillRect(Rect{left + 1, top + 1, right - 1, bottom - 1}, brush_);
    Brush edge = Brush::Solid(pen_.color);
    FillRect(Rect{left, top, right, top + 1}, edge);
    FillRect(Rect{left, bottom - 1, right, bottom}, edge);
    FillRect(Rect{left, top, left + 1, bottom}, edge);
    FillRect(Rect{right - 1, top, right, bottom}, edge);
    return true;
}

bool Canvas::Ellipse(int left, int top, int right, int bottom) {
    if (!surface_) return false;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1) return true;
    Surface& s = *surface_;
    // The ellipse is the set of pixels whose centres lie inside the ellipse inscribed in the
    // box; its outline is the pixels of that set with a horizontal or vertical neighbour
    // outside it.
    double cx = (left + right) / 2.0;
    double cy = (top + bottom) / 2.0;
    double rx = (right - left) / 2.0;
    double ry = (bottom - top) / 2.0;
    int firstRow = std::max(top, -1);
    int lastRow = std::min(bottom - 1, s.Height());  // one row beyond each edge for neighbours
    auto span = [&](int row, int& from, int& to) {
        from = 1;
        to = 0;
        if (row < top || row >= bottom) return;
        double ny = (row + 0.5 - cy) / ry;
        double q = 1.0 - ny * ny;
        if (q < 0) return;
        double half = rx * std::sqrt(q);
        from = static_cast<int>(std::ceil(cx - half - 0.5));
        to = static_cast<int>(std::floor(cx + half - 0.5));
        from = std::max(from, left);
        to = std::min(to, right - 1);
    };
    uint32_t penColor = Surface::ToNative(pen_.color);
    uint32_t brushColor = Surface::ToNative(brush_.color);
    bool outline = pen_.style == PenStyle::Solid;
    bool fill = brush_.style == BrushStyle::Solid;
    for (int row = firstRow; row <= lastRow; ++row) {
        if (row < 0 || row >= s.Height()) continue;
        int from, to;
        span(row, from, to);
        if (from > to) continue;
        int aFrom, aTo, bFrom, bTo;
        span(row - 1, aFrom, aTo);
        span(row + 1, bFrom, bTo);
        // Columns covered by both neighbours' spans are inner, unless they are this row's ends.
        int innerFrom = std::max({aFrom, bFrom, from + 1});
        int innerTo = std::min({aTo, bTo, to - 1});
        uint32_t* line = s.Row(row);
        int x0 = std::max(from, 0);
        int x1 = std::min(to, s.Width() - 1);
        for (int x = x0; x <= x1; ++x) {
            bool inner = x >= innerFrom && x <= innerTo;
            if (inner || !outline) {
                if (fill) line[x] = brushColor;
            } else {
                line[x] = penColor;
            }
        }
        if (x0 <= x1) s.MarkDirty(Rect{x0, row, x1 + 1, row + 1});
    }
    return true;
}

Point Canvas::MoveTo(int x, int y) {
    Point previous = position_;
    position_ = Point{x, y};
    return previous;
}

bool Canvas::LineTo(int x, int y) {
    if (!surface_) return false;
    if (pen_.style == PenStyle::Solid) DrawLine(position_.x, position_.y, x, y);
    position_ = Point{x, y};
    return true;
}

void Canvas::PlotPen(int x, int y) {
    Surface& s = *surface_;
    if (pen_.width <= 1) {
        if (s.Contains(x, y)) {
            s.Row(y)[x] = Surface::ToNative(pen_.color);
            s.MarkDirty(Rect{x, y, x + 1, y + 1});
        }
        return;
    }
    int half = pen_.width / 2;
    FillNative(s, ClipToSurface(int64_t{x} - half, int64_t{y} - half, int64_t{x} - half + pen_.width,
                                int64_t{y} - half + pen_.width, s),
               Surface::ToNative(pen_.color));
}

void Canvas::DrawLine(int x0, int y0, int x1, int y1) {
    // Steps along the major axis from the start up to, not including, the end; the minor
    // coordinate is the exact one rounded half toward the end point.
    int64_t dx = int64_t{x1} - x0;
    int64_t dy = int64_t{y1} - y0;
    int64_t adx = std::abs(dx);
    int64_t ady = std::abs(dy);
    int64_t steps = std::max(adx, ady);
    if (steps == 0) return;
    bool xMajor = adx >= ady;
    int64_t major0 = xMajor ? x0 : y0;
    int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    int64_t minorLen = xMajor ? ady : adx;
    int64_t extent = xMajor ? surface_->Width() : surface_->Height();
    int margin = std::max(pen_.width, 1);
    // Only the steps whose major coordinate can touch the surface are walked, so a line to
    // a far-away point costs no more than one across the surface.
    int64_t first = 0;
    int64_t last = steps - 1;
    if (majorStep > 0) {
        first = std::max(first, -margin - major0);
        last = std::min(last, extent + margin - major0);
    } else {
        first = std::max(first, major0 - extent - margin);
        last = std::min(last, major0 + margin);
    }
    for (int64_t i = first; i <= last; ++i) {
        int64_t major = major0 + majorStep * i;
        // i * minorLen stays below 2^64 for any two 32-bit points, so the rounding is exact.
        uint64_t product = static_cast<uint64_t>(i) * static_cast<uint64_t>(minorLen);
        uint64_t whole = product / static_cast<uint64_t>(steps);
        uint64_t rest = product % static_cast<uint64_t>(steps);
        int64_t offset = static_cast<int64_t>(whole + (2 * rest >= static_cast<uint64_t>(steps) ? 1 : 0));
        int64_t minor = (xMajor ? y0 : x0) + minorStep * offset;
        int64_t px = xMajor ? major : minor;
        int64_t py = xMajor ? minor : major;
        if (px < -margin || py < -margin || px > surface_->Width() + margin || py > surface_->Height() + margin)
            continue;
        PlotPen(static_cast<int>(px), static_cast<int>(py));
    }
}

}  // namespace lumi::gfx
