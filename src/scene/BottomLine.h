// The bottom line: the current message's second line followed by the moon text, scrolling
// from right to left along the bottom of the sky. When it has passed, the scene moves on
// to the next message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "media/BitmapClass.h"

namespace lumi {

// The bottom line of the current message, which the scene copies from the message store
// before each Create; Create completes it. At most kBottomLineTextCapacity - 1 characters.
constexpr size_t kBottomLineTextCapacity = 300;
std::string& BottomLineText();

class BOTTOMLINE {
public:
    static constexpr int kStepPixels = 2;
    static constexpr int kBottomGap = 5;

    // Appends the moon text (only to a non-empty line) and two blanks, then renders the
    // text in the configured "Font" colour and size, and starts scrolling. A picture still
    // held is kept (the scene destroys tBmp before creating the line again).
    void Create();
    // Draws the line one step further left; nothing once finished or without a picture.
    void Scroll();

    // 1 once the line's right end has passed the sky's left edge.
    int32_t finished = 1;
    BitmapClass tBmp;
    int32_t scrollOffset = 0;

private:
    // Where the picture was drawn by the previous Scroll, so the window can move what it
    // shows instead of being sent the whole line again.
    bool shown_ = false;
    int32_t shownX_ = 0;
    int32_t shownY_ = 0;
};

}  // namespace lumi
