// The part of a window surface that changed since the shell last presented it. A grid of
// small tiles keeps, per tile, the bounding box of what was marked inside it, so thousands
// of star plots per tick cost a few compares each and a twinkling star is presented as the
// few pixels it covers, not as its whole tile.
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
    bool IsEmpty() const { return !any_; }
    // Replaces kRequestCost (a presenter that knows its window system better).
    void SetRequestCost(int pixels) { requestCost_ = pixels < 0 ? 0 : pixels; }
    // Whether anything marked lies within r (by the tiles' boxes: a box that reaches into r
    // counts even where its own marks do not).
    bool Touches(const Rect& r) const;

    // The marked area as disjoint rectangles within the surface, covering every marked
    // pixel: the tiles' boxes, joined along a row where the join adds fewer than
    // kRequestCost pixels, and joined down a column where two have the same columns and
    // meet. The list stays valid until the next Collect; it never allocates once the
    // constructor has sized it.
    const std::vector<Rect>& Collect();
    void Clear();

private:
    // A tile's marked box relative to the tile: columns x0..x1 and rows y0..y1, ends excluded.
    struct Box {
        uint8_t x0, y0, x1, y1;
    };

    bool TileSet(int column, int row) const {
        return (bits_[static_cast<size_t>(row) * words_ + (column >> 6)] >> (column & 63)) & 1u;
    }

    int width_;
    int height_;
    int columns_;
    int rows_;
    int words_;  // 64-bit words per tile row
    bool any_ = false;
    int requestCost_ = kRequestCost;
    std::vector<uint64_t> bits_;
    std::vector<Box> boxes_;  // valid only for tiles whose bit is set
    std::vector<Rect> rects_;
    std::vector<int> open_;      // rectangles that end on the row being scanned, left to right
    std::vector<int> nextOpen_;  // the same for the next row
};

}  // namespace lumi::gfx
