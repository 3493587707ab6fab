// The saver window's places filled with the program's real parts. The erase canvas the
// shells hand over is the gfx::Canvas of the window's surface.
#include "host/ProgramParts.h"

#include "content/MessageFile.h"
#include "content/MessageStore.h"
#include "gfx/Canvas.h"
#include "host/HotCornerCheck.h"
#include "sky/HotCorners.h"
#include "host/SaverWindow.h"
#include "sky/SkyDC.h"
#include "sky/Application.h"
#include "base/Log.h"
#include "scene/ClosingJoke.h"

namespace lumi {

namespace {

// The application object's airplanes draw on the sky's own surface, over the window's
// client rectangle; until the first tick there is no surface and they draw nothing.
class SkyWindowDevice final : public TpelurWindowDevice {
public:
    explicit SkyWindowDevice(SaverHost*& host) : host_(host) {}
    TpelurDeviceContext GetDC(WindowHandle /*window*/) override { return SkyDC(); }
    void ReleaseDC(WindowHandle /*window*/, TpelurDeviceContext /*dc*/) override {}
    TpelurRect GetClientRect(WindowHandle /*window*/) override {
        // Unbound, there is no window to ask; the sky's rectangle is the best stand-in.
        const SkyRect r = host_ ? host_->ClientRect() : SaverRun().ScreenRect;
        return TpelurRect{r.left, r.top, r.right, r.bottom};
    }
    void SetPixel(TpelurDeviceContext dc, int x, int y, uint32_t colour) override {
        static_cast<gfx::Canvas*>(dc)->SetPixel(x, y, colour);
    }

private:
    SaverHost*& host_;
};

class ProgramParts final : public SaverParts {
public:
    void WriteDefaultMessages() override { TheMessageStore().WriteDefaults(); }

    void ReceiveMessageFile() override {
        // A path with blanks stays one argument only in the vector the program was given.
        if (hasArgs_) lumi::ReceiveMessageFile(TheMessageStore(), args_, host_ ? host_->Window() : nullptr);
        else lumi::ReceiveMessageFile(TheMessageStore());
    }

    int MouseInCorner(WindowHandle window) override {
        window_ = window;
        if (!host_) {
            AppLog().Warning.Log("MouseInCorner", "no saver host bound");
            return kNoCorner;
        }
        return lumi::MouseInCorner(*host_);
    }

    void ApplicationStartup() override { TheScreenSaveAppl().Startup(&Display()); }

    bool RunStartUpEffect(WindowHandle /*window*/, EraseCanvas canvas) override {
        HotCorners corners;
        corners.Read();
        if (!corners.switchOffTV) return false;
        // Later erases leave the window alone: after the first one it holds the sky.
        if (canvas) SwitchOffEffect(*static_cast<gfx::Canvas*>(canvas), pause_);
        return true;
    }

    void BindDisplay(WindowHandle window) override {
        window_ = window;
        TheScreenSaveAppl().SetDisplay(&Display());
    }
    void ApplicationTick() override { TheScreenSaveAppl().Tick(&Display()); }
    void ClosingJoke() override { lumi::ClosingJoke(pause_); }
    void ApplicationShutdown() override { TheScreenSaveAppl().Shutdown(&Display()); }

    void Bind(SaverHost* host, EffectPause pause) {
        host_ = host;
        pause_ = std::move(pause);
    }
    void SetArguments(std::vector<std::string> args) {
        args_ = std::move(args);
        hasArgs_ = true;
    }

private:
    // The window's handle goes into the display before every call into the application.
    TpelurDisplayWin& Display() {
        TpelurDisplayWin& display = TheDisplayWin();
        display.SetDevice(&device_);
        display.SetWindow(host_ ? host_->Window() : window_);
        return display;
    }

    SaverHost* host_ = nullptr;
    SkyWindowDevice device_{host_};
    EffectPause pause_;
    WindowHandle window_ = nullptr;
    std::vector<std::string> args_;
    bool hasArgs_ = false;
};

ProgramParts programParts;

}  // namespace

SaverParts& ProgramSaverParts() { return programParts; }

void BindProgramParts(SaverHost* host, EffectPause pause) { programParts.Bind(host, std::move(pause)); }

void SetProgramArguments(std::vector<std::string> args) { programParts.SetArguments(std::move(args)); }

}  // namespace lumi
