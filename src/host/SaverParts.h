// The other parts that join a saver run at fixed places, besides the sky scene.
#pragma once
#include "host/SaverHost.h"

namespace lumi {

// The places where other parts of the program join a saver run, in the order the saver
// window calls them. Each does nothing until its part is wired in.
class SaverParts {
public:
    virtual ~SaverParts() = default;

    // Window creation, after the settings store is open:
    virtual void WriteDefaultMessages() {}  // the message store's built-in messages
    virtual void ReceiveMessageFile() {}    // a friend's message file on the command line
    // The hot corner the cursor rests in (1..4), or 0; nonzero stops the run at once.
    virtual int MouseInCorner(WindowHandle /*window*/) { return 0; }
    virtual void ApplicationStartup() {}    // the application object, end of creation

    // Each erase: the start-up effect; true when the erase is the effect's (it paints or
    // deliberately leaves the window alone), false to have the window painted black.
    virtual bool RunStartUpEffect(WindowHandle /*window*/, EraseCanvas /*canvas*/) { return false; }
    // Each erase: the application object's display is bound to the saver window.
    virtual void BindDisplay(WindowHandle /*window*/) {}

    virtual void ApplicationTick() {}       // every later tick, before the scene step

    // Close request, before the frame decides:
    virtual void ClosingJoke() {}           // the rare fake shutdown screen
    virtual void ApplicationShutdown() {}
};

}  // namespace lumi
