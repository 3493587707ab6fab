// The settings program's main window: the main dialog's template driven by its logic.
#pragma once

#include "dialogs/Controls.h"

namespace lumi::gtkui {

// Shows the main dialog and returns when the logic ends it, with its result (1 OK, 0 Cancel).
int RunMainWindow(dialogs::DialogLogic& logic);

}  // namespace lumi::gtkui
