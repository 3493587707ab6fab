// The sky's occupancy matrix.
#include "sky/SpaceMatrix.h"

#include <algorithm>
#include <new>

#include "base/Log.h"

namespace lumi {

SpaceMatrixClass SkyMatrix;

void SpaceMatrixClass::Create(int width, int height) {
    AppLog().Info.Log("SpaceMatrixClass-Create-width_in", width);
    AppLog().Info.Log("SpaceMatrixClass-Create-height_in", height);
    cells_.reset();
    columns_.reset();
    width_ = 0;
    height_ = 0;
    const int64_t count = int64_t{std::max(width, 0)} * std::max(height, 0);
    if (count == 0) return;
    // A sky too large for memory leaves an empty matrix: every lookup then answers 0.
    cells_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(count)]());
    if (cells_) columns_.reset(new (std::nothrow) Column[static_cast<size_t>(width)]);
    if (!cells_ || !columns_) {
        cells_.reset();
        columns_.reset();
        AppLog().Error.Log("SpaceMatrixClass-Create", "out of memory");
        return;
    }
    width_ = width;
    height_ = height;
}

void SpaceMatrixClass::Destroy() {
    AppLog().Info.Log("SpaceMatrixClass-Destroy", "called");
    cells_.reset();
    columns_.reset();
    width_ = 0;
    height_ = 0;
}

uint8_t SpaceMatrixClass::OutOfBounds(int x, int y) const {
    if (x < 0 || x >= width_) AppLog().Error.Log("GetData-out of bounds X", x);
    else AppLog().Error.Log("GetData-out of bounds Y", y);
    return 0;
}

void SpaceMatrixClass::SetData(int x, int y, uint8_t value, uint8_t mask) {
    if (x < 0 || x >= width_) {
        AppLog().Error.Log("SetData-out of bounds X", x);
        return;
    }
    if (y < 0 || y >= height_) {
        AppLog().Error.Log("SetData-out of bounds Y", y);
        return;
    }
    uint8_t& cell = cells_[static_cast<size_t>(x) * height_ + y];
    const bool was = (cell & kCovering) != 0;
    cell = static_cast<uint8_t>(value | (cell & ~mask));
    const bool is = (cell & kCovering) != 0;
    if (was != is) Recount(columns_[static_cast<size_t>(x)], is ? 1 : -1, y, y, is);
}

void SpaceMatrixClass::Recount(Column& column, int64_t covered, int32_t first, int32_t last, bool covering) {
    column.count = static_cast<int32_t>(column.count + covered);
    if (column.count <= 0) {
        column = Column{};
    } else if (covering) {
        column.top = std::min(column.top, first);
        column.bottom = std::max(column.bottom, last);
    }
}

void SpaceMatrixClass::Fill(int x, int y, int w, int h, uint8_t value) {
    // 64-bit ends so that a rectangle reaching past the largest int still clips.
    const int64_t x0 = std::max(x, 0);
    const int64_t x1 = std::min<int64_t>(int64_t{x} + w, width_);
    const int64_t y0 = std::max(y, 0);
    const int64_t y1 = std::min<int64_t>(int64_t{y} + h, height_);
    if (x1 <= x0 || y1 <= y0) return;
    const bool covering = (value & kCovering) != 0;
    for (int64_t x = x0; x < x1; ++x) {
        uint8_t* cells = &cells_[static_cast<size_t>(x) * height_];
        Column& column = columns_[static_cast<size_t>(x)];
        // Covered cells the fill overwrites: none outside the column's rows, all of them
        // when it spans those rows, else counted.
        int64_t before = 0;
        if (column.count > 0 && column.top < y1 && column.bottom >= y0) {
            if (y0 <= column.top && column.bottom < y1) {
                before = column.count;
            } else {
                for (int64_t y = std::max<int64_t>(y0, column.top); y < std::min<int64_t>(y1, column.bottom + 1); ++y)
                    before += (cells[y] & kCovering) != 0;
            }
        }
        std::fill(cells + y0, cells + y1, value);
        const int64_t after = covering ? y1 - y0 : 0;
        if (after != before || covering)
            Recount(column, after - before, static_cast<int32_t>(y0), static_cast<int32_t>(y1 - 1), covering);
    }
}

}  // namespace lumi
