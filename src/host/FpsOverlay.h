// The -fps display: frames a second and the process's CPU load, drawn in the sky's
// lower-left corner and refreshed once a second, as users comparing savers expect.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "gfx/Types.h"

namespace lumi {

namespace gfx {
class Canvas;
class Surface;
}  // namespace gfx

struct FpsFigures {
    double framesPerSecond = 0;
    double cpuPercent = 0;  // of one processor core
};

// The figures for a span of elapsedMs in which `frames` frames were drawn and the process
// used cpuMicroseconds of processor time; zeros for an empty span.
FpsFigures MeasureFps(uint32_t elapsedMs, int64_t frames, uint64_t cpuMicroseconds);

class FpsOverlay {
public:
    // cpuMicroseconds reads the process's CPU time so far (platform::ProcessCpuMicroseconds).
    FpsOverlay(std::shared_ptr<gfx::Surface> sky, std::function<uint64_t()> cpuMicroseconds);
    ~FpsOverlay();
    FpsOverlay(const FpsOverlay&) = delete;
    FpsOverlay& operator=(const FpsOverlay&) = delete;

    // Call after each pass that may have drawn the sky, with the tick count and the sky's
    // frame counter. Once a second it draws new figures; in between it draws them again
    // only where the sky drew over them (a window surface knows what changed), so a
    // still sky stays still.
    void Frame(uint32_t nowMs, int64_t frameCount);

    // The two lines last drawn ("" before the first second is over), and where.
    const char* FrameLine() const { return frameLine_; }
    const char* LoadLine() const { return loadLine_; }
    gfx::Rect Box() const { return box_; }

private:
    void Render(const FpsFigures& figures);
    void Show();

    std::shared_ptr<gfx::Surface> sky_;
    std::unique_ptr<gfx::Canvas> skyCanvas_;
    std::unique_ptr<gfx::Canvas> strip_;
    std::function<uint64_t()> cpu_;
    bool started_ = false;
    uint32_t sinceMs_ = 0;
    int64_t sinceFrames_ = 0;
    uint64_t sinceCpu_ = 0;
    gfx::Rect box_{};
    char frameLine_[32] = "";
    char loadLine_[32] = "";
};

}  // namespace lumi
