// The sky's occupancy matrix: one byte of flags per sky pixel recording where the moon and
// the flying pictures are, so that stars are neither placed nor drawn there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>

namespace lumi {

class SpaceMatrixClass {
public:
    // Cell flags.
    static constexpr uint8_t kPicture = 1;   // a flying picture covers the pixel
    static constexpr uint8_t kMoon = 2;      // the moon covers the pixel
    static constexpr uint8_t kUnused = 4;    // set by nobody; a star's erase clears it
    static constexpr uint8_t kReleased = 8;  // the moon, a picture or a star left the pixel

    // width x height cells, all 0; replaces any earlier matrix. Negative sizes count as 0.
    void Create(int width, int height);
    void Destroy();

    // The cell, or 0 (and a log line) outside the matrix. Inline because every star
    // plot and erase asks it.
    uint8_t GetData(int x, int y) const {
        if (static_cast<unsigned>(x) < static_cast<unsigned>(width_) &&
            static_cast<unsigned>(y) < static_cast<unsigned>(height_))
            return cells_[static_cast<size_t>(x) * height_ + y];
        return OutOfBounds(x, y);
    }
    // Whether the moon or a picture covers the cell: GetData(x, y) & (kPicture | kMoon),
    // logged alike outside. Every star asks it every tick, so it first consults a small
    // summary per column (how many cells are covered, and between which rows), which
    // answers for most of the sky without touching the cells themselves.
    bool Covered(int x, int y) const {
        if (static_cast<unsigned>(x) < static_cast<unsigned>(width_) &&
            static_cast<unsigned>(y) < static_cast<unsigned>(height_)) {
            const Column& column = columns_[static_cast<size_t>(x)];
            if (y < column.top || y > column.bottom) return false;
            return (cells_[static_cast<size_t>(x) * height_ + y] & kCovering) != 0;
        }
        return (OutOfBounds(x, y) & kCovering) != 0;
    }
    // cell = value OR (cell AND NOT mask); nothing is written outside the matrix.
    void SetData(int x, int y, uint8_t value, uint8_t mask);
    // Sets every cell of the rectangle, clipped to the matrix, to value.
    void Fill(int x, int y, int w, int h, uint8_t value);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

private:
    static constexpr uint8_t kCovering = kPicture | kMoon;

    // Covered cells of one column: how many, and rows top..bottom (inclusive) holding
    // every one of them. The rows may hold uncovered cells too; with no covered cell
    // they are an empty range.
    struct Column {
        int32_t count = 0;
        int32_t top = std::numeric_limits<int32_t>::max();
        int32_t bottom = -1;
    };
    // A column's summary after a write turned `covered` more cells within rows
    // first..last covered (negative: uncovered).
    static void Recount(Column& column, int64_t covered, int32_t first, int32_t last, bool covering);
    uint8_t OutOfBounds(int x, int y) const;

    // Column after column: cell (x, y) is byte y of column x.
    std::unique_ptr<uint8_t[]> cells_;
    std::unique_ptr<Column[]> columns_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

// The one matrix of the sky, created with the scene and destroyed with it.
extern SpaceMatrixClass SkyMatrix;

}  // namespace lumi
