// The sky's points and rectangles, in client pixels of the saver window.
#pragma once

namespace lumi {

struct SkyPoint {
    int x = 0;
    int y = 0;
};

// left, top, right, bottom in client pixels; right and bottom are excluded.
struct SkyRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

}  // namespace lumi
