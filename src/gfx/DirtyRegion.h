// The part of a window surface that changed since the shell last presented it, kept as a
// coarse grid of tiles so that thousands of star plots per tick cost a bit-set each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/Types.h"

namespace lumi::gfx {

class DirtyRegion {
public:
    static constexpr int kTileShift = 5;  // 32 x 32 pixel tiles
    static constexpr int kTileSize = 1 << kTileShift;

    DirtyRegion(int width, int height);

    // Marks a rectangle (clipped to the surface; empty ones are ignored).
    void Add(const Rect& r);
    void AddAll();
    bool IsEmpty() const { return !any_; }

    // The marked tiles as few rectangles: runs of tiles along a row, merged with the runs of
    // the rows below that span the same columns. Clipped to the surface. The list stays valid
    // until the next Collect; it never allocates once the first call has sized it.
    const std::vector<Rect>& Collect();
    void Clear();

private:
    bool TileSet(int column, int row) const {
        return (bits_[static_cast<size_t>(row) * words_ + (column >> 6)] >> (column & 63)) & 1u;
    }

    int width_;
    int height_;
    int columns_;
    int rows_;
    int words_;  // 64-bit words per tile row
    bool any_ = false;
    std::vector<uint64_t> bits_;
    std::vector<Rect> rects_;
    std::vector<int> open_;  // per rectangle in rects_: still growing downwards (1) or closed
};

}  // namespace lumi::gfx
