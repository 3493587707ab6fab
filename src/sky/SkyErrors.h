// Pending error texts brought onto the sky: drawn in its corner and kept in section
// Debug of the main settings file.
#pragma once

namespace lumi {

// Shows, stores in section Debug of the main settings file, and clears ErrorText. Called
// once per scene step on the saver's thread.
void ShowErrors();

// Has the reports drawn on `SkyDC` (TextOut with the context's font and colours); before
// the saver window has its context nothing is drawn. Each shell installs it for its run.
void InstallSkyErrorPainter();

}  // namespace lumi
