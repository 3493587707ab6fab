// The joke of the main dialog: now and then the OK button runs away from the mouse, and
// a user who still hits it is congratulated on the number of attempts.
#pragma once

#include "dialogs/Controls.h"

namespace lumi::dialogs {

class RunawayButton {
public:
    static constexpr int kTimerId = 2;
    static constexpr int kTimerMs = 100;
    // How near the pointer may come to an edge, how far the button jumps, and how near
    // the dialog's edge it turns back towards the middle.
    static constexpr int kBand = 15;
    static constexpr int kSteps = 50;
    static constexpr int kEdge = 50;

    // Starts the joke on one button of the dialog.
    void Arm(Controls& dialog, int buttonId);
    // The timer: when the pointer comes near an edge, the button jumps away.
    void Tick(Controls& dialog, int timerId);
    // Stops the timer; the button stays where it ran to.
    void Disarm(Controls& dialog);

    // While another window opened from the dialog is up, the button keeps still.
    void Pause() { paused_ = true; }
    void Resume() { paused_ = false; }

    bool Armed() const { return armed_; }
    bool Paused() const { return paused_; }
    int Attempts() const { return attempts_; }
    int ButtonId() const { return buttonId_; }

private:
    bool armed_ = false;
    bool paused_ = false;
    int buttonId_ = 0;
    int attempts_ = 0;
};

// The step (dx, dy) for each of the 50 moves, (0, 0) when the pointer is not near the
// button's edges. All rectangles in screen pixels.
Point RunawayStep(const Rect& button, const Rect& dialog, Point cursor);

}  // namespace lumi::dialogs
