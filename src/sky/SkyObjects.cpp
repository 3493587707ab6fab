// Sky objects and airplanes. Positions are floats so slow movers advance by fractions of
// a pixel per tick; pixels are drawn at the truncated position.
#include "sky/SkyObjects.h"

#include <cmath>

#include "base/Log.h"
#include "base/Random.h"

namespace lumi {

TpelurDisplay::~TpelurDisplay() { left = top = right = bottom = 0; }

TpelurDisplayWin::~TpelurDisplayWin() {
    // A context still held at the end is given back rather than leaked.
    if (dc_ && device_) device_->ReleaseDC(window_, dc_);
    dc_ = nullptr;
}

void TpelurDisplayWin::BeginDraw() {
    if (!device_) return;
    // A BeginDraw without EndDraw must not leak the first context.
    if (dc_) device_->ReleaseDC(window_, dc_);
    dc_ = device_->GetDC(window_);
    const TpelurRect r = device_->GetClientRect(window_);
    left = r.left;
    top = r.top;
    right = r.right;
    bottom = r.bottom;
}

void TpelurDisplayWin::EndDraw() {
    if (dc_ && device_) device_->ReleaseDC(window_, dc_);
    dc_ = nullptr;
}

void TpelurDisplayWin::PutPixel(float px, float py, uint32_t colour) {
    if (!dc_ || !device_) return;
    // Far-off positions are clipped here: converting them to int would be undefined.
    if (!(std::fabs(px) < 1e9f) || !(std::fabs(py) < 1e9f)) return;
    device_->SetPixel(dc_, static_cast<int>(px), static_cast<int>(py), colour);
}

TpelurSkyObject::~TpelurSkyObject() { display = nullptr; }

void TpelurSkyObject::SetRandomLocation() {
    if (!display) {
        AppLog().Error.Log("TpelurSkyObject::SetRandomLocation", "NULL DisplayPtr");
        x = 2;
        y = 4;
        return;
    }
    x = static_cast<float>(RandomReal(display->left, static_cast<double>(display->right) - width));
    y = static_cast<float>(RandomReal(display->top, static_cast<double>(display->bottom) - height));
}

void TpelurMovingSkyObject::Move(float step) {
    SetTimeStep(step);
    Hide();
    x = x + step * vx;
    y = y + step * vy;
    Show();
    ApplyBoundary();
}

void TpelurMovingSkyObject::ApplyBoundary() {
    if (!display) return;
    const TpelurDisplay& d = *display;
    switch (boundary) {
        case Boundary::Bounce:
            if (d.left > x && vx < 0) vx = -vx;
            if (d.right < x + width && vx > 0) vx = -vx;
            if (d.top > y && vy < 0) vy = -vy;
            if (d.bottom < y + height && vy > 0) vy = -vy;
            break;
        case Boundary::Wrap:
            // Only once the object is wholly past an edge does it come back at the other.
            if (d.left > x + width && vx < 0) x = static_cast<float>(d.right);
            if (d.right < x && vx > 0) x = static_cast<float>(d.left - width);
            if (d.top > y + height && vy < 0) y = static_cast<float>(d.bottom);
            if (d.bottom < y && vy > 0) y = static_cast<float>(d.top - height);
            break;
        case Boundary::None:
            break;
    }
}

float TpelurAirplane::Heading(float a) {
    const bool steepDown = a > 0.785f && a < 2.355f;
    const bool steepUp = a > 3.925f && a < 5.495f;
    return (steepDown || steepUp) ? a - 1.57f : a;
}

TpelurAirplane::TpelurAirplane(TpelurDisplay* aDisplay) {
    AppLog().Info.Log("TpelurAirplane", "constructor");
    if (!aDisplay) {
        AppLog().Warning.Log("TpelurAirplane::constructor", "NULL aDisplayRect parameter");
        return;
    }
    display = aDisplay;
    AppLog().Info.Log("TpelurAirplane", "RandomizeLocation");
    SetRandomLocation();
    boundary = Boundary::Wrap;
    AppLog().Info.Log("TpelurAirplane", "Angle");
    const float heading = Heading(static_cast<float>(RandomReal(0, 6.28)));
    const float speed = static_cast<float>(RandomReal(16, 24));
    vx = std::cos(heading) * speed;
    vy = std::sin(heading) * speed;
    width = 2;
    height = 1;
    blinkPhase = static_cast<float>(RandomReal(0, 2.2));
}

TpelurAirplane::~TpelurAirplane() { AppLog().Info.Log("TpelurAirplane", "destructor"); }

void TpelurAirplane::Show() {
    if (!display) return;
    uint32_t colour = kRed;
    if (blinkPhase >= kFlashFrom) {
        if (blinkPhase >= kBlinkPeriod) blinkPhase = 0;
        colour = kWhite;
    }
    blinkPhase = blinkPhase + timeStep;
    display->PutPixel(x, y, colour);
    display->PutPixel(x + 1, y, colour);
}

void TpelurAirplane::Hide() {
    if (!display) return;
    display->PutPixel(x, y, 0);
    display->PutPixel(x + 1, y, 0);
}

}  // namespace lumi
