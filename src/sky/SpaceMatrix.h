// The sky's occupancy matrix: one byte of flags per sky pixel recording where the moon and
// the flying pictures are, so that stars are neither placed nor drawn there.
#pragma once

#include <cstddef>
#include <cstdint>
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
    // cell = value OR (cell AND NOT mask); nothing is written outside the matrix.
    void SetData(int x, int y, uint8_t value, uint8_t mask);
    // Sets every cell of the rectangle, clipped to the matrix, to value.
    void Fill(int x, int y, int w, int h, uint8_t value);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

private:
    uint8_t OutOfBounds(int x, int y) const;

    // Column after column: cell (x, y) is byte y of column x.
    std::unique_ptr<uint8_t[]> cells_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

// The one matrix of the sky, created with the scene and destroyed with it.
extern SpaceMatrixClass SkyMatrix;

}  // namespace lumi
