// Tile grid of changed areas; see DirtyRegion.h.
#include "gfx/DirtyRegion.h"

#include <algorithm>

namespace lumi::gfx {

DirtyRegion::DirtyRegion(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      columns_((width_ + kTileSize - 1) >> kTileShift),
      rows_((height_ + kTileSize - 1) >> kTileShift),
      words_((columns_ + 63) / 64),
      bits_(static_cast<size_t>(words_) * rows_, 0) {
    // Runs in one row alternate with gaps, so a row holds at most half its tiles (rounded up)
    // as separate rectangles; reserving that keeps Collect free of allocation.
    size_t most = static_cast<size_t>(rows_) * ((columns_ + 1) / 2);
    rects_.reserve(most);
    open_.reserve(static_cast<size_t>(columns_) + 1);
}

void DirtyRegion::Add(const Rect& r) {
    int left = std::max(r.left, 0);
    int top = std::max(r.top, 0);
    int right = std::min(r.right, width_);
    int bottom = std::min(r.bottom, height_);
    if (right <= left || bottom <= top) return;
    int c0 = left >> kTileShift;
    int c1 = (right - 1) >> kTileShift;
    int r0 = top >> kTileShift;
    int r1 = (bottom - 1) >> kTileShift;
    for (int row = r0; row <= r1; ++row) {
        uint64_t* line = &bits_[static_cast<size_t>(row) * words_];
        for (int c = c0; c <= c1; ++c) line[c >> 6] |= uint64_t{1} << (c & 63);
    }
    any_ = true;
}

void DirtyRegion::AddAll() { Add(Rect{0, 0, width_, height_}); }

void DirtyRegion::Clear() {
    if (!any_) return;
    std::fill(bits_.begin(), bits_.end(), 0);
    any_ = false;
}

const std::vector<Rect>& DirtyRegion::Collect() {
    rects_.clear();
    if (!any_) return rects_;
    // open_ lists, left to right, the rectangles that reach down to the row being scanned;
    // a run of the new row that spans the same columns as one of them extends it.
    open_.clear();
    size_t nextOpenStart = 0;
    for (int row = 0; row < rows_; ++row) {
        size_t scan = 0;
        size_t openCount = open_.size();
        nextOpenStart = openCount;
        int top = row << kTileShift;
        int bottom = std::min(top + kTileSize, height_);
        const uint64_t* line = &bits_[static_cast<size_t>(row) * words_];
        int c = 0;
        while (c < columns_) {
            if (line[c >> 6] == 0 && (c & 63) == 0) {
                c += 64;
                continue;
            }
            if (!TileSet(c, row)) {
                ++c;
                continue;
            }
            int start = c;
            while (c < columns_ && TileSet(c, row)) ++c;
            int left = start << kTileShift;
            int right = std::min(c << kTileShift, width_);
            while (scan < openCount && rects_[open_[scan]].left < left) ++scan;
            if (scan < openCount && rects_[open_[scan]].left == left && rects_[open_[scan]].right == right) {
                rects_[open_[scan]].bottom = bottom;
                open_.push_back(open_[scan]);
                ++scan;
            } else {
                rects_.push_back(Rect{left, top, right, bottom});
                open_.push_back(static_cast<int>(rects_.size() - 1));
            }
        }
        // Only the rectangles touched in this row stay open for the next one.
        open_.erase(open_.begin(), open_.begin() + static_cast<std::ptrdiff_t>(nextOpenStart));
    }
    return rects_;
}

}  // namespace lumi::gfx
