// The text font chooser of the main dialog, and the point-size arithmetic a font chooser
// that speaks in logical heights needs.
#pragma once

#include "dialogs/Controls.h"

namespace lumi::dialogs {

// Shows the font chooser from the stored "Font" section and stores what comes back: the
// face, size, character set and colour. A cancel stores the starting values again.
void ChooseTextFont(Controls& owner);

// Points of a font whose logical height (negative: character height) is given, on a
// device with the given pixels per inch: -MulDiv(height, 72, ppi).
int PointSizeFromHeight(int logicalHeight, int pixelsPerInch);
// The logical height for a point size: -MulDiv(points, ppi, 72).
int HeightFromPointSize(int points, int pixelsPerInch);

}  // namespace lumi::dialogs
