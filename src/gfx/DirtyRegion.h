// The part of a window surface that changed since the shell last presented it. A grid of
// small tiles keeps, per tile, the bounding box of what was marked inside it, so thousands
// of star plots per tick cost a few compares each and a twinkling star is presented as the
// few pixels it covers, not as its whole tile.
//
// A block that scrolls (the bottom line, 2 pixels a tick across the whole width) can be
// described instead of marked: the presenter then moves it on the window system's side,
// which sends no pixels, and presents only the marks. What the move gets wrong (the
// column scrolled in, and whatever was drawn over the block after it at the last present)
// is marked here, so the window ends up showing exactly the raster.
//
// It also keeps, per 16 x 16 tile, the moment anything was last drawn there (marks and the
// scrolling block alike), so a drawer that noted Moment() right after drawing can ask
// later whether its pixels are still as it left them, and skip drawing them again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/Types.h"

namespace lumi::gfx {

class DirtyRegion {
public:
    static constexpr int kTileShift = 3;  // 8 x 8 pixel tiles
    static constexpr int kTileSize = 1 << kTileShift;
    // What one more rectangle costs the window system beyond its pixels (a request, its
    // set-up in the server), in pixels. Neighbours are presented as one rectangle only
    // when the pixels the union adds cost less than that. Kept small: on a local X server
    // narrow copies cost more per pixel than a request does (PresentBench and
    // tools/perf-compare.sh measure it), and a join that adds no pixels is always made.
    static constexpr int kRequestCost = 64;

    DirtyRegion(int width, int height);

    // Marks a rectangle (clipped to the surface; empty ones are ignored).
    void Add(const Rect& r);
    void AddAll();
    bool IsEmpty() const { return !any_ && !scroll_.valid; }
    // Replaces kRequestCost (a presenter that knows its window system better).
    void SetRequestCost(int pixels) { requestCost_ = pixels < 0 ? 0 : pixels; }
    // Whether anything marked or scrolled lies within r (by the tiles' boxes: a box that
    // reaches into r counts even where its own marks do not).
    bool Touches(const Rect& r) const;

    // The moment now: whatever is drawn after this call is later. Each region counts in
    // its own range of moments, above those of every region made before it, and counts as
    // drawn all over when it is made, so a moment noted on another surface vouches for
    // nothing here.
    uint64_t Moment() { return clock_++; }
    // Whether anything was drawn into r (by the 16 x 16 tiles) after `moment`.
    bool DrawnSince(const Rect& r, uint64_t moment) const;

    // A scrolling block. Call BeginScroll, draw the block (what is drawn until Scrolled is
    // not marked), then Scrolled with the rectangle drawn and how far it moved (dx > 0:
    // to the right). `continues` is the drawer's word that the block is exactly what it
    // drew at its previous Scrolled, moved by dx, and that the drawing covered `area`
    // whole. The move is used only when that previous drawing was presented by the last
    // present (one Clear in between) and the rows are the same; otherwise, and for the
    // part the move cannot fill, the block is marked as any drawing is.
    void BeginScroll() { scrollDrawing_ = true; }
    void Scrolled(const Rect& area, int dx, bool continues);
    // What the presenter copies before it presents the marks: every pixel of `area` takes
    // what the window showed dx pixels to its left (to the right for dx < 0).
    struct Scroll {
        bool valid = false;
        Rect area;
        int dx = 0;
    };
    const Scroll& PendingScroll() const { return scroll_; }
    // Marks the pending move's block instead, for a present that sends the marks but keeps
    // them for the next one (a move must be made once only).
    void MarkScrollInstead();

    // The marked area as disjoint rectangles within the surface, covering every marked
    // pixel: the tiles' boxes, joined along a row where the join adds fewer than
    // kRequestCost pixels, and joined down a column where two have the same columns and
    // meet. The list stays valid until the next Collect; it never allocates once the
    // constructor has sized it.
    const std::vector<Rect>& Collect();
    // The window shows the raster now (it was presented, or it will be presented whole
    // before it is seen): the marks and the pending move are forgotten. The marks are
    // kept aside for the next move, which must correct what they covered.
    void Clear();

private:
    // A tile's marked box relative to the tile: columns x0..x1 and rows y0..y1, ends excluded.
    struct Box {
        uint8_t x0, y0, x1, y1;
    };

    // Tiles with their marked boxes.
    struct Grid {
        std::vector<uint64_t> bits;
        std::vector<Box> boxes;  // valid only for tiles whose bit is set
    };
    // Marks a rectangle within the surface into a grid.
    void Mark(Grid& grid, int left, int top, int right, int bottom);
    void AddMark(const Rect& r);
    void AddOver(const Rect& r);
    bool TileSet(int column, int row) const {
        return (marks_.bits[static_cast<size_t>(row) * words_ + (column >> 6)] >> (column & 63)) & 1u;
    }
    // Marks what lay over the scrolling block at the last present within `source`, moved by dx.
    void AddPreviousOverMoved(const Rect& source, int dx);
    // Notes that r (within the surface, not empty) was drawn now.
    void Stamp(const Rect& r);

    static constexpr int kStampShift = 4;

    int width_;
    int height_;
    int columns_;
    int rows_;
    int words_;  // 64-bit words per tile row
    bool any_ = false;
    int requestCost_ = kRequestCost;
    Grid marks_;
    // What was drawn over the scrolling block after it, since the last Clear (over_) and
    // before it (previousOver_).
    Grid over_;
    bool overAny_ = false;
    Grid previousOver_;
    bool previousOverAny_ = false;
    bool watching_ = false;  // over_ collects marks within watch_, the block drawn last
    Rect watch_;
    uint32_t clears_ = 0;  // Clear calls so far: which present a drawing came before
    bool scrollDrawing_ = false;
    Scroll scroll_;
    bool lastScrollKnown_ = false;
    Rect lastScrollArea_;
    uint32_t lastScrollClears_ = 0;
    std::vector<Rect> rects_;
    std::vector<int> open_;      // rectangles that end on the row being scanned, left to right
    std::vector<int> nextOpen_;  // the same for the next row
    int stampColumns_;
    int stampRows_;
    uint64_t clock_;                // drawing is stamped with it; Moment() moves it on
    std::vector<uint64_t> stamps_;  // per 16 x 16 tile, the clock when it was last drawn
};

}  // namespace lumi::gfx
