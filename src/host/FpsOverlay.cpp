// The frame-rate and load display; see FpsOverlay.h.
#include "host/FpsOverlay.h"

#include <cstdio>
#include <cstring>

#include "gfx/Canvas.h"
#include "gfx/DirtyRegion.h"
#include "gfx/Font.h"
#include "gfx/Surface.h"

namespace lumi {

namespace {

constexpr int kMargin = 8;    // from the sky's left and bottom edges
constexpr int kPadding = 3;   // around the text inside its black box
constexpr gfx::Color kTextColor = gfx::Rgb(255, 255, 0);

}  // namespace

FpsFigures MeasureFps(uint32_t elapsedMs, int64_t frames, uint64_t cpuMicroseconds) {
    if (elapsedMs == 0) return {};
    FpsFigures f;
    f.framesPerSecond = static_cast<double>(frames < 0 ? 0 : frames) * 1000.0 / elapsedMs;
    // Microseconds of CPU over milliseconds of time: / 1000 for the share, * 100 for percent.
    f.cpuPercent = static_cast<double>(cpuMicroseconds) / (elapsedMs * 10.0);
    return f;
}

FpsOverlay::FpsOverlay(std::shared_ptr<gfx::Surface> sky, std::function<uint64_t()> cpuMicroseconds)
    : sky_(std::move(sky)), skyCanvas_(std::make_unique<gfx::Canvas>(sky_)), cpu_(std::move(cpuMicroseconds)) {}

FpsOverlay::~FpsOverlay() = default;

void FpsOverlay::Frame(uint32_t nowMs, int64_t frameCount) {
    const uint64_t cpu = cpu_ ? cpu_() : 0;
    if (!started_) {
        started_ = true;
        sinceMs_ = nowMs;
        sinceFrames_ = frameCount;
        sinceCpu_ = cpu;
        return;
    }
    const uint32_t elapsed = nowMs - sinceMs_;
    if (elapsed >= 1000) {
        Render(MeasureFps(elapsed, frameCount - sinceFrames_, cpu >= sinceCpu_ ? cpu - sinceCpu_ : 0));
        sinceMs_ = nowMs;
        sinceFrames_ = frameCount;
        sinceCpu_ = cpu;
        Show();
        return;
    }
    if (box_.IsEmpty()) return;
    gfx::DirtyRegion* dirty = sky_->Dirty();
    if (dirty && dirty->Touches(box_)) Show();
}

void FpsOverlay::Render(const FpsFigures& figures) {
    std::snprintf(frameLine_, sizeof frameLine_, "FPS: %.1f", figures.framesPerSecond);
    std::snprintf(loadLine_, sizeof loadLine_, "CPU: %.1f%%", figures.cpuPercent);
    if (!strip_) {
        strip_ = gfx::Canvas::CreateCompatible(skyCanvas_.get());
        gfx::LogFont request;
        request.height = -14;
        request.weight = 700;
        request.faceName = "Courier New";
        strip_->SelectFont(gfx::Font::Create(request));
        // Sized once for the widest figures a display shows, so the box never jumps.
        const gfx::Size widest = strip_->GetTextExtentPoint32("CPU: 8888.8%");
        const int lineHeight = strip_->GetTextMetrics().ascent + strip_->GetTextMetrics().descent;
        const int width = widest.cx + 2 * kPadding;
        const int height = 2 * lineHeight + 2 * kPadding;
        strip_->SelectBitmap(gfx::Canvas::CreateCompatibleBitmap(skyCanvas_.get(), width, height));
        const int bottom = sky_->Height() - kMargin;
        box_ = gfx::Intersect(gfx::Rect{kMargin, bottom - height, kMargin + width, bottom},
                              gfx::Rect{0, 0, sky_->Width(), sky_->Height()});
        strip_->SetTextColor(kTextColor);
        strip_->SetBkMode(gfx::BackgroundMode::Transparent);
    }
    const gfx::Surface& bitmap = *strip_->Bitmap();
    const int lineHeight = strip_->GetTextMetrics().ascent + strip_->GetTextMetrics().descent;
    strip_->FillRect(gfx::Rect{0, 0, bitmap.Width(), bitmap.Height()}, gfx::Brush::Black());
    strip_->TextOut(kPadding, kPadding, frameLine_);
    strip_->TextOut(kPadding, kPadding + lineHeight, loadLine_);
}

void FpsOverlay::Show() {
    if (!strip_ || box_.IsEmpty()) return;
    skyCanvas_->BitBlt(box_.left, box_.top, box_.Width(), box_.Height(), strip_.get(), 0, 0, gfx::RasterOp::SrcCopy);
}

}  // namespace lumi
