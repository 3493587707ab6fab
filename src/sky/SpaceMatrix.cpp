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
    width_ = 0;
    height_ = 0;
    const int64_t count = int64_t{std::max(width, 0)} * std::max(height, 0);
    if (count == 0) return;
    // A sky too large for memory leaves an empty matrix: every lookup then answers 0.
    cells_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(count)]());
    if (!cells_) {
        AppLog().Error.Log("SpaceMatrixClass-Create", "out of memory");
        return;
    }
    width_ = width;
    height_ = height;
}

void SpaceMatrixClass::Destroy() {
    AppLog().Info.Log("SpaceMatrixClass-Destroy", "called");
    cells_.reset();
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
    cell = static_cast<uint8_t>(value | (cell & ~mask));
}

void SpaceMatrixClass::Fill(int x, int y, int w, int h, uint8_t value) {
    // 64-bit ends so that a rectangle reaching past the largest int still clips.
    const int64_t x0 = std::max(x, 0);
    const int64_t x1 = std::min<int64_t>(int64_t{x} + w, width_);
    const int64_t y0 = std::max(y, 0);
    const int64_t y1 = std::min<int64_t>(int64_t{y} + h, height_);
    if (x1 <= x0 || y1 <= y0) return;
    for (int64_t column = x0; column < x1; ++column) {
        uint8_t* cells = &cells_[static_cast<size_t>(column) * height_];
        std::fill(cells + y0, cells + y1, value);
    }
}

}  // namespace lumi
