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
};

}  // namespace lumi::dialogs
