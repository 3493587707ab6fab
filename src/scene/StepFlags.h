// The values the sky's stars share while one scene step runs: set and read by the scene
// and by every star during the step (GUI thread only).
#pragma once

namespace lumi {

struct StarStepFlags {
    // Set for the whole step in which a new message was projected: every message star
    // starts a new flight from where it is.
    bool retarget = false;
    // Set by any message star whose flight period is running; the scene reads it at the
    // start of the next step to hold the bottom line still.
    bool glyphMoved = false;
    // Drawn before the message stars step and again before the stars step; a star whose
    // twinkle id equals it starts to twinkle.
    int twinklePick = 0;
};

// The one set of step flags.
StarStepFlags& StepFlags();
// Back to the values before any step (tests, a new scene).
void ResetStepFlags();

}  // namespace lumi
