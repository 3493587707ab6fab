// Helpers for pixel-exact raster tests: small canvases and a picture of a surface as text.
#pragma once

#include <map>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Canvas.h"

namespace lumi::gfx {
// Readable rectangles in failure messages.
inline void PrintTo(const Rect& r, std::ostream* out) {
    *out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
}  // namespace lumi::gfx

namespace lumi::gfx::testing {

// An expected picture, one string per row, as Picture below writes one out.
using Rows = std::vector<std::string>;

// The colours the raster tests name 'W' and 'R' in their pictures.
constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kRed = Rgb(255, 0, 0);

inline std::unique_ptr<Canvas> MakeCanvas(int width, int height, DirtyTracking tracking = DirtyTracking::Off) {
    return std::make_unique<Canvas>(Surface::Create(width, height, tracking));
}

// One string per row: '.' for black and the given letter for each named colour ('?' for
// any other colour), so expected pictures can be written out in the test.
inline std::vector<std::string> Picture(const Surface& s, const std::map<Color, char>& names = {}) {
    std::vector<std::string> rows;
    for (int y = 0; y < s.Height(); ++y) {
        std::string row;
        for (int x = 0; x < s.Width(); ++x) {
            Color c = s.GetPixel(x, y);
            auto it = names.find(c);
            row.push_back(c == 0 ? '.' : it != names.end() ? it->second : '?');
        }
        rows.push_back(row);
    }
    return rows;
}

inline std::vector<std::string> Picture(const Canvas& canvas, const std::map<Color, char>& names = {}) {
    return Picture(*canvas.Bitmap(), names);
}

}  // namespace lumi::gfx::testing
