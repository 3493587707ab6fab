// The picture of the main dialog: the user's own picture (Params/UPIC), scaled down to
// fit, or the built-in night-house picture at its own size.
#pragma once

#include <cstddef>
#include <optional>

#include "dialogs/Controls.h"
#include "gfx/Image.h"

namespace lumi::dialogs {

class PictureArea {
public:
    static constexpr int kBuiltInPicture = 206;
    // The size with which the area reads Params/UPIC: room for any path the picture
    // chooser stores (299 characters), so a long path is never read back cut short.
    static constexpr size_t kPathRead = 301;

    explicit PictureArea(int controlId) : controlId_(controlId) {}

    // Inside Paint: loads the picture if needed and draws it into the control.
    void Draw(Controls& dialog);
    // Forgets the picture, so the next Draw loads it again (after a new choice).
    void Release();

    bool Loaded() const { return loaded_; }
    bool FromFile() const { return fromFile_; }

private:
    void Load();

    int controlId_;
    std::optional<gfx::Image> picture_;
    bool loaded_ = false;
    bool fromFile_ = false;
};

// Where a picture of the given size is drawn in an area: scaled down by
// min(1, area width / width, area height / height) when scaled, and centred.
Rect PlacePicture(const Rect& area, int width, int height, bool scaleDown);

}  // namespace lumi::dialogs
