// The main settings dialog: the main message and bottom line, the few switches most users
// want, the font and picture choosers, and the way to the "Much More Options" sheet.
#pragma once

#include <string>

#include "dialogs/Controls.h"
#include "dialogs/PictureArea.h"
#include "dialogs/RunawayButton.h"

namespace lumi::dialogs {

// "Lumivane Screensaver v4.21": the main dialog's caption and the start of the sheet's.
const char* SettingsCaption();

class MainDialog : public DialogLogic {
public:
    // Opens "Lumivan.ini" in the given folder ("$CURRENT": the user's settings folder).
    explicit MainDialog(std::string settingsFolder = "$CURRENT");
    ~MainDialog() override;
    void Open(Controls& controls) override;
    void Command(Controls& controls, int id) override;
    void Timer(Controls& controls, int timerId) override;
    void Paint(Controls& controls) override;

    // The joke's state, for tests.
    const RunawayButton& Runaway() const { return runaway_; }

private:
    void Confirm(Controls& controls);
    void Finish(Controls& controls, int result);
    void ChoosePicture(Controls& controls);

    std::string settingsFolder_;
    RunawayButton runaway_;
    PictureArea pictureArea_;
};

}  // namespace lumi::dialogs
