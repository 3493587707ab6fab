// The saver window's places filled with the program's real parts. The erase canvas the
// shells hand over is the gfx::Canvas of the window's surface.
#include "host/ProgramParts.h"

#include "content/MessageFile.h"
#include "content/MessageStore.h"
#include "gfx/Canvas.h"
#include "host/HotCorners.h"
#include "support/Log.h"

namespace lumi {

namespace {

class ProgramParts final : public SaverParts {
public:
    void WriteDefaultMessages() override { TheMessageStore().WriteDefaults(); }

    void ReceiveMessageFile() override { lumi::ReceiveMessageFile(TheMessageStore()); }

    int MouseInCorner(WindowHandle window) override {
        window_ = window;
        if (!host_) {
            AppLog().Warning.Log("MouseInCorner", "no saver host bound");
            return kNoCorner;
        }
        return lumi::MouseInCorner(*host_);
    }

    void ApplicationStartup() override {}

    bool RunStartUpEffect(WindowHandle /*window*/, EraseCanvas canvas) override {
        HotCorners corners;
        corners.Read();
        if (!corners.switchOffTV) return false;
        // Later erases leave the window alone: after the first one it holds the sky.
        if (canvas) SwitchOffEffect(*static_cast<gfx::Canvas*>(canvas), pause_);
        return true;
    }

    void BindDisplay(WindowHandle window) override { window_ = window; }
    void ApplicationTick() override {}
    // The closing joke joins with the time events.
    void ClosingJoke() override {}
    void ApplicationShutdown() override {}

    void Bind(SaverHost* host, EffectPause pause) {
        host_ = host;
        pause_ = std::move(pause);
    }

private:
    SaverHost* host_ = nullptr;
    EffectPause pause_;
    WindowHandle window_ = nullptr;
};

ProgramParts programParts;

}  // namespace

SaverParts& ProgramSaverParts() { return programParts; }

void BindProgramParts(SaverHost* host, EffectPause pause) { programParts.Bind(host, std::move(pause)); }

}  // namespace lumi
