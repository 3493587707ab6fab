// The message canvas.
#include "scene/MessageCanvas.h"

namespace lumi {

namespace {
MessageCanvasClass messageCanvas;
}

MessageCanvasClass& MessageCanvas() { return messageCanvas; }

void ResetMessageCanvas() {
    messageCanvas.Delete();
    messageCanvas.canvasWidth = 0;
    messageCanvas.canvasHeight = 0;
}

gfx::Canvas& MessageCanvasClass::NewContext(const gfx::Canvas* like) {
    context_.reset();
    context_ = gfx::Canvas::CreateCompatible(like);
    return *context_;
}

void MessageCanvasClass::Delete() { context_.reset(); }

bool MessageCanvasClass::IsLit(int x, int y) const {
    if (!context_) return false;
    const gfx::Surface* picture = context_->Bitmap().get();
    // The platform answers "invalid colour" outside the bitmap, which is not black; a
    // failed picture would otherwise light the whole scanned area.
    if (!picture || !picture->Contains(x, y)) return false;
    return picture->Row(y)[x] != 0;
}

void MessageCanvasClass::Unlight(int x, int y) {
    if (context_) context_->SetPixel(x, y, 0);
}

}  // namespace lumi
