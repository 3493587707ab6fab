// Tile grid of changed areas with a box per tile; see DirtyRegion.h.
#include "gfx/DirtyRegion.h"

#include <algorithm>
#include <atomic>

namespace lumi::gfx {

namespace {

// Where the next region's moments start. A region counts up from there (Moment() hands
// out the clock's value and moves it on, drawing is stamped with the clock's value, so a
// drawing made after a Moment() is stamped later than the moment). 2^40 moments a region
// last a saver drawing 3,000 stars a tick at 100 ticks a second for over a century.
// Surfaces may be made on different threads, hence the atomic.
constexpr uint64_t kMomentsPerRegion = uint64_t{1} << 40;
std::atomic<uint64_t> nextRegionClock{1};

int64_t Area(const Rect& r) { return static_cast<int64_t>(r.right - r.left) * (r.bottom - r.top); }

Rect Union(const Rect& a, const Rect& b) {
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

}  // namespace

DirtyRegion::DirtyRegion(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      columns_((width_ + kTileSize - 1) >> kTileShift),
      rows_((height_ + kTileSize - 1) >> kTileShift),
      words_((columns_ + 63) / 64),
      stampColumns_((width_ + (1 << kStampShift) - 1) >> kStampShift),
      stampRows_((height_ + (1 << kStampShift) - 1) >> kStampShift),
      clock_(nextRegionClock.fetch_add(kMomentsPerRegion, std::memory_order_relaxed)),
      stamps_(static_cast<size_t>(stampColumns_) * stampRows_, clock_) {
    for (Grid* grid : {&marks_, &over_, &previousOver_}) {
        grid->bits.assign(static_cast<size_t>(words_) * rows_, 0);
        grid->boxes.resize(static_cast<size_t>(columns_) * rows_);
    }
    // At worst every tile comes back as a rectangle of its own.
    rects_.reserve(static_cast<size_t>(columns_) * rows_);
    open_.reserve(static_cast<size_t>(columns_));
    nextOpen_.reserve(static_cast<size_t>(columns_));
}

void DirtyRegion::Mark(Grid& grid, int left, int top, int right, int bottom) {
    const int c0 = left >> kTileShift;
    const int c1 = (right - 1) >> kTileShift;
    const int r0 = top >> kTileShift;
    const int r1 = (bottom - 1) >> kTileShift;
    for (int row = r0; row <= r1; ++row) {
        const int tileTop = row << kTileShift;
        const auto y0 = static_cast<uint8_t>(std::max(top - tileTop, 0));
        const auto y1 = static_cast<uint8_t>(std::min(bottom - tileTop, kTileSize));
        uint64_t* line = &grid.bits[static_cast<size_t>(row) * words_];
        Box* boxes = &grid.boxes[static_cast<size_t>(row) * columns_];
        for (int c = c0; c <= c1; ++c) {
            const int tileLeft = c << kTileShift;
            const auto x0 = static_cast<uint8_t>(std::max(left - tileLeft, 0));
            const auto x1 = static_cast<uint8_t>(std::min(right - tileLeft, kTileSize));
            uint64_t& word = line[c >> 6];
            const uint64_t bit = uint64_t{1} << (c & 63);
            Box& box = boxes[c];
            if (!(word & bit)) {
                word |= bit;
                box = Box{x0, y0, x1, y1};
            } else {
                box.x0 = std::min(box.x0, x0);
                box.y0 = std::min(box.y0, y0);
                box.x1 = std::max(box.x1, x1);
                box.y1 = std::max(box.y1, y1);
            }
        }
    }
}

void DirtyRegion::Add(const Rect& r) {
    const Rect within{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width_), std::min(r.bottom, height_)};
    if (within.right <= within.left || within.bottom <= within.top) return;
    // Drawing on the scrolling block is not marked, but it is drawing all the same.
    Stamp(within);
    if (scrollDrawing_) return;
    Mark(marks_, within.left, within.top, within.right, within.bottom);
    any_ = true;
    // What lands on a scrolling block after it was drawn is what the window shows over it
    // at the next present; the move after that must correct it.
    if (watching_ && r.top < watch_.bottom && r.bottom > watch_.top) AddOver(r);
}

void DirtyRegion::AddMark(const Rect& r) {
    const int left = std::max(r.left, 0);
    const int top = std::max(r.top, 0);
    const int right = std::min(r.right, width_);
    const int bottom = std::min(r.bottom, height_);
    if (right <= left || bottom <= top) return;
    Mark(marks_, left, top, right, bottom);
    any_ = true;
}

void DirtyRegion::AddOver(const Rect& r) {
    const Rect over = Intersect(r, watch_);
    if (over.IsEmpty()) return;
    Mark(over_, over.left, over.top, over.right, over.bottom);
    overAny_ = true;
}

void DirtyRegion::Stamp(const Rect& r) {
    const uint64_t now = clock_;
    for (int row = r.top >> kStampShift; row <= (r.bottom - 1) >> kStampShift; ++row) {
        uint64_t* line = &stamps_[static_cast<size_t>(row) * stampColumns_];
        for (int c = r.left >> kStampShift; c <= (r.right - 1) >> kStampShift; ++c) line[c] = now;
    }
}

bool DirtyRegion::DrawnSince(const Rect& r, uint64_t moment) const {
    const Rect within = Intersect(r, Rect{0, 0, width_, height_});
    if (within.IsEmpty()) return false;
    for (int row = within.top >> kStampShift; row <= (within.bottom - 1) >> kStampShift; ++row) {
        const uint64_t* line = &stamps_[static_cast<size_t>(row) * stampColumns_];
        for (int c = within.left >> kStampShift; c <= (within.right - 1) >> kStampShift; ++c)
            if (line[c] > moment) return true;
    }
    return false;
}

void DirtyRegion::AddAll() { Add(Rect{0, 0, width_, height_}); }

bool DirtyRegion::Touches(const Rect& r) const {
    const Rect within = Intersect(r, Rect{0, 0, width_, height_});
    if (within.IsEmpty()) return false;
    if (scroll_.valid && !Intersect(scroll_.area, within).IsEmpty()) return true;
    if (!any_) return false;
    for (int row = within.top >> kTileShift; row <= (within.bottom - 1) >> kTileShift; ++row) {
        for (int c = within.left >> kTileShift; c <= (within.right - 1) >> kTileShift; ++c) {
            if (!TileSet(c, row)) continue;
            const Box& b = marks_.boxes[static_cast<size_t>(row) * columns_ + c];
            const Rect marked{(c << kTileShift) + b.x0, (row << kTileShift) + b.y0, (c << kTileShift) + b.x1,
                              (row << kTileShift) + b.y1};
            if (!Intersect(marked, within).IsEmpty()) return true;
        }
    }
    return false;
}

void DirtyRegion::Clear() {
    if (any_) std::fill(marks_.bits.begin(), marks_.bits.end(), 0);
    any_ = false;
    // What lay over the block now becomes what the window showed over it.
    // Every grid's bits are all clear while it counts as holding nothing.
    previousOver_.bits.swap(over_.bits);
    previousOver_.boxes.swap(over_.boxes);
    if (previousOverAny_) std::fill(over_.bits.begin(), over_.bits.end(), 0);
    previousOverAny_ = overAny_;
    overAny_ = false;
    watching_ = false;
    scroll_.valid = false;
    ++clears_;
}

void DirtyRegion::Scrolled(const Rect& area, int dx, bool continues) {
    scrollDrawing_ = false;
    const Rect drawn = Intersect(area, Rect{0, 0, width_, height_});
    // The window shows the previous drawing only if exactly one present came since it.
    const bool follows = continues && dx != 0 && lastScrollKnown_ && lastScrollClears_ + 1 == clears_ &&
                         !scroll_.valid && drawn.top == lastScrollArea_.top &&
                         drawn.bottom == lastScrollArea_.bottom;
    Rect copy{};
    if (follows) {
        const Rect moved{lastScrollArea_.left + dx, lastScrollArea_.top, lastScrollArea_.right + dx,
                         lastScrollArea_.bottom};
        copy = Intersect(drawn, moved);
    }
    if (copy.IsEmpty()) {
        // Drawn twice before a present: the first move would start from the wrong picture.
        if (scroll_.valid) AddMark(scroll_.area);
        scroll_.valid = false;
        AddMark(drawn);
    } else {
        // The columns scrolled in, which the window never showed at this place.
        if (drawn.left < copy.left) AddMark(Rect{drawn.left, drawn.top, copy.left, drawn.bottom});
        if (copy.right < drawn.right) AddMark(Rect{copy.right, drawn.top, drawn.right, drawn.bottom});
        // What lay over the block at the last present moves with it, but the raster's block
        // was drawn afresh: those pixels must be sent again where they land.
        AddPreviousOverMoved(Rect{copy.left - dx, copy.top, copy.right - dx, copy.bottom}, dx);
        scroll_ = Scroll{true, copy, dx};
    }
    // Drawn twice before a present, the block's first drawing is covered by the second.
    if (overAny_) std::fill(over_.bits.begin(), over_.bits.end(), 0);
    overAny_ = false;
    watching_ = !drawn.IsEmpty();
    watch_ = drawn;
    lastScrollKnown_ = true;
    lastScrollArea_ = drawn;
    lastScrollClears_ = clears_;
}

void DirtyRegion::AddPreviousOverMoved(const Rect& source, int dx) {
    if (!previousOverAny_ || source.IsEmpty()) return;
    for (int row = source.top >> kTileShift; row <= (source.bottom - 1) >> kTileShift; ++row) {
        for (int c = source.left >> kTileShift; c <= (source.right - 1) >> kTileShift; ++c) {
            if (!((previousOver_.bits[static_cast<size_t>(row) * words_ + (c >> 6)] >> (c & 63)) & 1u)) continue;
            const Box& b = previousOver_.boxes[static_cast<size_t>(row) * columns_ + c];
            const Rect marked{(c << kTileShift) + b.x0, (row << kTileShift) + b.y0, (c << kTileShift) + b.x1,
                              (row << kTileShift) + b.y1};
            const Rect over = Intersect(marked, source);
            if (!over.IsEmpty()) AddMark(Rect{over.left + dx, over.top, over.right + dx, over.bottom});
        }
    }
}

void DirtyRegion::MarkScrollInstead() {
    if (!scroll_.valid) return;
    AddMark(scroll_.area);
    scroll_.valid = false;
}

const std::vector<Rect>& DirtyRegion::Collect() {
    rects_.clear();
    open_.clear();
    if (!any_) return rects_;
    for (int row = 0; row < rows_; ++row) {
        const int tileTop = row << kTileShift;
        const uint64_t* line = &marks_.bits[static_cast<size_t>(row) * words_];
        const Box* boxes = &marks_.boxes[static_cast<size_t>(row) * columns_];
        const size_t rowStart = rects_.size();
        // This row's boxes left to right, each joined to the one before while the pixels
        // the joined rectangle holds beyond the boxes stay under one request's cost: so no
        // rectangle wastes more than a put would have cost. Rows never overlap, and a join
        // spans only columns between its parts, so the rectangles stay disjoint.
        int64_t lastBoxes = 0;  // pixels of the boxes joined into rects_.back()
        for (int w = 0; w < words_; ++w) {
            uint64_t word = line[w];
            while (word) {
                const int c = (w << 6) + __builtin_ctzll(word);
                word &= word - 1;
                const Box& b = boxes[c];
                const int tileLeft = c << kTileShift;
                const Rect piece{tileLeft + b.x0, tileTop + b.y0, tileLeft + b.x1, tileTop + b.y1};
                if (rects_.size() > rowStart) {
                    Rect& last = rects_.back();
                    const Rect joined = Union(last, piece);
                    if (Area(joined) - (lastBoxes + Area(piece)) <= requestCost_) {
                        last = joined;
                        lastBoxes += Area(piece);
                        continue;
                    }
                }
                rects_.push_back(piece);
                lastBoxes = Area(piece);
            }
        }
        // A rectangle of this row that continues one of the row above exactly (same
        // columns, meeting edges) extends it instead: a blit across a tile border comes
        // back whole.
        nextOpen_.clear();
        size_t scan = 0;
        size_t kept = rowStart;
        for (size_t i = rowStart; i < rects_.size(); ++i) {
            const Rect piece = rects_[i];
            while (scan < open_.size() && rects_[static_cast<size_t>(open_[scan])].left < piece.left) ++scan;
            if (scan < open_.size()) {
                Rect& above = rects_[static_cast<size_t>(open_[scan])];
                if (above.left == piece.left && above.right == piece.right && above.bottom == piece.top) {
                    above.bottom = piece.bottom;
                    nextOpen_.push_back(open_[scan]);
                    ++scan;
                    continue;
                }
            }
            rects_[kept] = piece;
            nextOpen_.push_back(static_cast<int>(kept));
            ++kept;
        }
        rects_.resize(kept);
        open_.swap(nextOpen_);
    }
    return rects_;
}

}  // namespace lumi::gfx
