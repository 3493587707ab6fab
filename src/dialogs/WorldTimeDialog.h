// The "World time view" dialog (2020): where the user is and which place he watches, each
// with its daylight saving, turned into the TIME keyword of the message being edited.
#pragma once

#include <string>

#include "content/WorldTime.h"
#include "dialogs/Controls.h"

namespace lumi::dialogs {

class WorldTimeDialog : public DialogLogic {
public:
    // The message and bottom line being edited; the choice shown is read back from them.
    WorldTimeDialog(std::string message, std::string bottomLine);
    void Open(Controls& controls) override;
    void Command(Controls& controls, int id) override;

    // After OK (result 1): the new message and bottom line.
    const WorldTimeResult& Result() const { return result_; }

private:
    std::string message_;
    std::string bottomLine_;
    WorldTimeResult result_;
};

}  // namespace lumi::dialogs
