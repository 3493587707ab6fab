// Small value types shared by the raster code: colours, points, sizes and rectangles.
#pragma once

#include <cstdint>

namespace lumi::gfx {

// Colours at every interface are 0x00BBGGRR (red in the low byte).
using Color = uint32_t;

// What GetPixel and SetPixel answer for a point outside the surface, as the platform does.
constexpr Color kInvalidColor = 0xFFFFFFFFu;

constexpr Color Rgb(int red, int green, int blue) {
    return static_cast<Color>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size& a, const Size& b) { return a.cx == b.cx && a.cy == b.cy; }
};

// Right and bottom are excluded, as in every rectangle the platform takes.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect& a, const Rect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
};

// The intersection; empty rectangles come out as (0,0,0,0) so callers can test IsEmpty.
Rect Intersect(const Rect& a, const Rect& b);

// a * b / c computed in 64 bits and rounded half away from zero; -1 when c is 0 or the
// result does not fit 32 bits, as the platform's MulDiv answers.
int MulDiv(int a, int b, int c);

}  // namespace lumi::gfx
