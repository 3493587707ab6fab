// `--snapshot`: a saver run without a display. The same saver window and scene run on a
// headless window against a fake clock, tick by tick, and the sky is written as a PNG.
#pragma once

#include <memory>

#include "host/CommandLine.h"
#include "host/SaverWindow.h"
#include "host/SaverParts.h"
#include "sky/SkyScene.h"
#include "host/SurfaceHost.h"

namespace lumi {

// A window that exists only as its surface: the monitor is the window, and the cursor
// never moves unless the saver moves it.
class HeadlessHost : public SurfaceHost {
public:
    HeadlessHost(Clock& clock, std::shared_ptr<gfx::Surface> surface);

    WindowHandle Window() override;
    SkyPoint GetCursorPos() override { return cursor_; }
    void SetCursorPos(SkyPoint at) override { cursor_ = at; }
    SkyRect PrimaryMonitorRect() override { return ClientRect(); }
    SkyRect WindowScreenRect() override { return ClientRect(); }
    void SetToolWindowStyle() override {}

private:
    SkyPoint cursor_;
};

// Runs the snapshot the options describe: the clock starts at --at (or now), --seed fixes
// the random sequence, --ticks timer events step the sky, then the PNG is written and the
// run closes as a real one does. Returns the exit code: 0; 1 when the picture cannot be
// made or written; 2 for options that cannot be honoured.
int RunSnapshot(const SnapshotOptions& options, SkyScene& scene, SaverParts& parts,
                SaverSettingsFile settings = SaverSettingsFile());

}  // namespace lumi
