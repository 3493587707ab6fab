// Loading and placing the main dialog's picture.
#include "dialogs/PictureArea.h"

#include <algorithm>

#include "base/Log.h"
#include "media/Resources.h"
#include "platform/PictureFile.h"
#include "settings/IniFile.h"

namespace lumi::dialogs {

Rect PlacePicture(const Rect& area, int width, int height, bool scaleDown) {
    if (width <= 0 || height <= 0) return {area.x, area.y, 0, 0};
    int w = width;
    int h = height;
    if (scaleDown) {
        const double f = std::min({1.0, static_cast<double>(area.width) / width,
                                   static_cast<double>(area.height) / height});
        w = static_cast<int>(width * f);
        h = static_cast<int>(height * f);
    }
    return {area.x + (area.width - w) / 2, area.y + (area.height - h) / 2, w, h};
}

void PictureArea::Load() {
    loaded_ = true;
    const std::string path = MainIni().ReadStringForUser("Params", "UPIC", "", kPathRead);
    if (!path.empty()) {
        fromFile_ = true;
        picture_ = ReadPictureFile(path);
        if (!picture_) AppLog().Warning.Log("PictureArea", "cannot load " + path);
        return;
    }
    fromFile_ = false;
    picture_ = LoadBitmapResource(kBuiltInPicture);
    if (!picture_) AppLog().Warning.Log("PictureArea", "the built-in picture is missing");
}

void PictureArea::Draw(Controls& dialog) {
    if (!loaded_) Load();
    const Rect control = dialog.ControlRect(controlId_);
    // The control's own pixels, less its one-pixel frame.
    const Rect area{1, 1, std::max(0, control.width - 2), std::max(0, control.height - 2)};
    if (!picture_) {
        dialog.DrawPicture(controlId_, nullptr, area);
        return;
    }
    dialog.DrawPicture(controlId_, &*picture_, PlacePicture(area, picture_->Width(), picture_->Height(), fromFile_));
}

void PictureArea::Release() {
    picture_.reset();
    loaded_ = false;
    fromFile_ = false;
}

}  // namespace lumi::dialogs
