// The "Startup" page (2018): the hot corners that keep the saver from starting, the two
// start-up effects, and the wallpaper changer's folder.
#pragma once

#include "dialogs/Controls.h"

namespace lumi::dialogs {

class StartupPage : public DialogLogic {
public:
    void Open(Controls& controls) override;
    void Command(Controls& controls, int id) override;
    void Apply(Controls& controls) override;

private:
    // Apply acts only on a page that was filled: empty boxes are no choice.
    bool opened_ = false;
};

}  // namespace lumi::dialogs
