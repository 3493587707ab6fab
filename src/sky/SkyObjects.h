// The saver's own small layer of sky objects: a display over the saver window, objects
// that sit, move, bounce or wrap on it, and the airplanes that are its only inhabitants.
#pragma once

#include <cstdint>

#include "platform/MessageBox.h"

namespace lumi {

// The platform's rectangle record.
struct TpelurRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

using TpelurDeviceContext = void*;

// What a display needs of the window it draws on, in the platform's terms: a device
// context taken and given back, the client rectangle and single pixels. The saver's
// parts give the sky's own surface; tests record.
class TpelurWindowDevice {
public:
    virtual ~TpelurWindowDevice() = default;
    // nullptr when the window cannot be drawn on now.
    virtual TpelurDeviceContext GetDC(WindowHandle window) = 0;
    virtual void ReleaseDC(WindowHandle window, TpelurDeviceContext dc) = 0;
    virtual TpelurRect GetClientRect(WindowHandle window) = 0;
    virtual void SetPixel(TpelurDeviceContext dc, int x, int y, uint32_t colour) = 0;
};

// A drawing target with a rectangle; this base draws nothing.
class TpelurDisplay : public TpelurRect {
public:
    TpelurDisplay() = default;
    virtual ~TpelurDisplay();
    TpelurDisplay(const TpelurDisplay&) = delete;
    TpelurDisplay& operator=(const TpelurDisplay&) = delete;

    // colour is 0x00BBGGRR.
    virtual void PutPixel(float /*x*/, float /*y*/, uint32_t /*colour*/) {}
    virtual void BeginDraw() {}
    virtual void EndDraw() {}
};

// A display bound to the saver window: it holds a device context only between
// BeginDraw and EndDraw.
class TpelurDisplayWin : public TpelurDisplay {
public:
    explicit TpelurDisplayWin(TpelurWindowDevice* device = nullptr) : device_(device) {}
    ~TpelurDisplayWin() override;

    void PutPixel(float x, float y, uint32_t colour) override;
    void BeginDraw() override;
    void EndDraw() override;

    void SetWindow(WindowHandle window) { window_ = window; }
    WindowHandle Window() const { return window_; }
    void SetDevice(TpelurWindowDevice* device) { device_ = device; }
    bool Drawing() const { return dc_ != nullptr; }

private:
    TpelurWindowDevice* device_;
    TpelurDeviceContext dc_ = nullptr;
    WindowHandle window_ = nullptr;
};

class TpelurVisualObject {
public:
    virtual ~TpelurVisualObject() = default;

    float x = 0;
    float y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

class TpelurSkyObject : public TpelurVisualObject {
public:
    ~TpelurSkyObject() override;
    virtual void Show() { visible = 1; }
    virtual void Hide() { visible = 0; }
    // Somewhere inside the display's rectangle as the last BeginDraw read it.
    virtual void SetRandomLocation();
    virtual void SetTimeStep(float step) { timeStep = step; }

    int32_t visible = 0;
    float timeStep = 0;
    TpelurDisplay* display = nullptr;  // not owned
};

class TpelurSpeed2D {
public:
    virtual ~TpelurSpeed2D() = default;
    float vx = 0;  // pixels per time unit
    float vy = 0;
};

enum class Boundary : int32_t { None = 0, Bounce = 1, Wrap = 2 };

class TpelurMovingSkyObject : public TpelurSkyObject, public TpelurSpeed2D {
public:
    // Erases at the old place, moves by step time units, draws at the new place, then
    // keeps the object on the display by its boundary mode.
    virtual void Move(float step);
    void ApplyBoundary();

    Boundary boundary = Boundary::None;
};

// A two-pixel light crossing the sky slowly, red with a short white flash, wrapping
// around at the edges.
class TpelurAirplane : public TpelurMovingSkyObject {
public:
    static constexpr uint32_t kRed = 0x0000FF;
    static constexpr uint32_t kWhite = 0xFFFFFF;
    static constexpr float kFlashFrom = 2.0f;
    static constexpr float kBlinkPeriod = 2.2f;

    // Placed at random on the display with a random heading and speed; a null display
    // leaves it inert at (0, 0).
    explicit TpelurAirplane(TpelurDisplay* display);
    ~TpelurAirplane() override;

    void Show() override;
    void Hide() override;

    // A direction drawn within 45 degrees of straight up or down is turned a quarter
    // left, so every airplane flies within 45 degrees of the horizontal.
    static float Heading(float drawn);

    float blinkPhase = 0;
};

}  // namespace lumi
