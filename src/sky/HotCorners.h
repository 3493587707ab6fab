// Hot corners: screen corners where a resting cursor keeps the saver from running, read
// together with the start-up switches the user sets beside them.
#pragma once

#include "sky/SkyRect.h"

namespace lumi {

// The six switches, each 0 (off) or nonzero (on), stored per user in section "Params".
struct HotCorners {
    int topLeft = 0;        // "DisableTL"
    int topRight = 0;       // "DisableTR"
    int bottomLeft = 0;     // "DisableBL"
    int bottomRight = 0;    // "DisableBR"
    int switchOffTV = 1;    // "SwitchOffTV": the old-TV effect at the first erase
    int reachTheStars = 0;  // "ReachTheStars": the splash picture while the sky is built

    // Read afresh at every use, so a change in the settings dialog counts at once.
    void Read();
    void Write() const;
};

enum CornerCode { kNoCorner = 0, kTopLeft = 1, kTopRight = 2, kBottomLeft = 3, kBottomRight = 4 };
constexpr int kCornerSize = 64;

// The corner the cursor lies in among those switched on. Corners can overlap in a small
// window; the later test wins (bottom-right over bottom-left over top-right over top-left).
int CornerAt(const SkyRect& window, SkyPoint cursor, const HotCorners& corners);


}  // namespace lumi
