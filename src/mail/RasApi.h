// The remote-access library the mail checker asks before it checks over a modem, so that
// a check never makes the machine dial.
#pragma once

#include <functional>
#include <memory>

#include "platform/DialUp.h"

namespace lumi {

class RasApiDLLClass {
public:
    // The size of the connection status record; the connection record's size comes from
    // the library (704 bytes in 32-bit builds).
    static constexpr uint32_t kStatusRecordSize = 288;

    // The platform's library unless one is given (tests).
    explicit RasApiDLLClass(std::unique_ptr<platform::DialUpLibrary> library = nullptr);

    // 0 loaded, 1 already loaded, 2 library not found, 3 a function missing.
    int LoadDLL();
    void UnloadDLL();
    // 1 when exactly one dial-up connection is up, else 0.
    int IsModemConnected();

private:
    std::unique_ptr<platform::DialUpLibrary> library_;
    bool loaded_ = false;
};

// The module-wide instance.
RasApiDLLClass& RasApiDLL();

// Shows the pending error texts at once (the sky's ShowErrors, installed by the scene,
// which sits above this folder); without it they wait for the next sky step.
void SetMailErrorShower(std::function<void()> show);

}  // namespace lumi
