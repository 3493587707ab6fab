// The message canvas: an off-screen picture in which the current message is drawn in
// non-black pixels on black. Its lit pixels become the message stars' targets.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/Canvas.h"

namespace lumi {

class MessageCanvasClass {
public:
    // Deletes the previous context and makes a new memory context compatible with
    // `like` (SkyDC), holding the 1 x 1 black bitmap a new context starts with.
    gfx::Canvas& NewContext(const gfx::Canvas* like);
    // nullptr before the first NewContext and after Delete.
    gfx::Canvas* Context() const { return context_.get(); }
    void Delete();

    // Whether the pixel holds part of the message. Pixels outside the selected bitmap are
    // never lit, even where canvasWidth and canvasHeight reach past it.
    bool IsLit(int x, int y) const;
    // Marks a pixel as handed out.
    void Unlight(int x, int y);

    // The scanned area; a picture may be scanned short of its last column and row.
    int32_t canvasWidth = 0;
    int32_t canvasHeight = 0;

private:
    std::unique_ptr<gfx::Canvas> context_;
};

// The one message canvas of the process.
MessageCanvasClass& MessageCanvas();
// Deletes the context and forgets the sizes (tests, a new run).
void ResetMessageCanvas();

}  // namespace lumi
