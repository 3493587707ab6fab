// The runaway OK button: the approach test on the pointer and the button's escape.
#include "dialogs/RunawayButton.h"

#include <algorithm>

#include "base/Log.h"
#include "media/Sound.h"

namespace lumi::dialogs {

namespace {

constexpr int kEscapeSound = 188;

bool Between(int low, int value, int high) { return low < value && value < high; }

// Within low..high; a button wider than the dialog keeps to its left or top edge.
int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

}  // namespace

Point RunawayStep(const Rect& button, const Rect& dialog, Point cursor) {
    const int x = button.x;
    const int y = button.y;
    const int w = button.width;
    const int h = button.height;
    // The side bands run along an even height and width, as the button was first made.
    const int h2 = 2 * (h / 2);
    const int w2 = 2 * (w / 2);
    const int band = RunawayButton::kBand;
    const int edge = RunawayButton::kEdge;
    const int px = cursor.x;
    const int py = cursor.y;

    Point step;
    const bool besideRows = Between(y - band, py, y + h2 + band);
    if (Between(x - band, px, x + band) && besideRows) {
        step.x = 1;
        if (x + w + edge >= dialog.Right()) step.x = -3;
    }
    if (Between(x + w - band, px, x + w + band) && besideRows) {
        if (step.x != 0) AppLog().Info.Log("IsApproaching X", "Both detected");
        step.x = -1;
        if (dialog.x >= x - edge) step.x = 3;
    }
    const bool besideColumns = Between(x - band, px, x + w2 + band);
    if (Between(y - band, py, y + band) && besideColumns) {
        step.y = 1;
        if (y + edge >= dialog.Bottom()) step.y = -3;
    }
    if (Between(y + h - band, py, y + h + band) && besideColumns) {
        if (step.y != 0) AppLog().Info.Log("IsApproaching Y", "Both detected");
        step.y = -1;
        if (dialog.y >= y - edge) step.y = 3;
    }
    return step;
}

void RunawayButton::Arm(Controls& dialog, int buttonId) {
    armed_ = true;
    paused_ = false;
    buttonId_ = buttonId;
    attempts_ = 0;
    dialog.StartTimer(kTimerId, kTimerMs);
}

void RunawayButton::Disarm(Controls& dialog) {
    if (armed_) dialog.StopTimer(kTimerId);
    armed_ = false;
}

void RunawayButton::Tick(Controls& dialog, int timerId) {
    if (!armed_ || paused_ || timerId != kTimerId) return;
    // A button held down stays put, or the press would be lost.
    if (dialog.IsPushed(buttonId_)) return;
    dialog.Repaint(buttonId_);
    const Point cursor = dialog.CursorPosition();
    Rect button = dialog.ControlRect(buttonId_);
    const Rect window = dialog.WindowRect();
    const Point step = RunawayStep(button, window, cursor);
    if (step.x == 0 && step.y == 0) return;

    ++attempts_;
    PlayBuiltInSound(dialog.Window(), kEscapeSound);
    AppLog().Info.Log("ButtonX", button.x);
    AppLog().Info.Log("ButtonY", button.y);
    for (int i = 0; i < kSteps; ++i) {
        // Near the dialog's edge a jump could carry the button (partly) out of the window,
        // where it could no longer be hit: it stops at the edge.
        button.x = Clamp(button.x + step.x, window.x, window.Right() - button.width);
        button.y = Clamp(button.y + step.y, window.y, window.Bottom() - button.height);
        dialog.MoveControl(buttonId_, {button.x, button.y});
    }
    AppLog().Info.Log("ButtonX jump", button.x);
    AppLog().Info.Log("ButtonY jump", button.y);
    dialog.Repaint(buttonId_);
}

}  // namespace lumi::dialogs
