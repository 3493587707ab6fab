// The "Much More Options" sheet: "Star Messages", "Sounds", "Quotes", "Startup" and "About".
#pragma once

#include "dialogs/Controls.h"

namespace lumi::dialogs {

// Opens the sheet owned by the main dialog on its first page; returns when it closes.
void RunMoreOptionsSheet(Controls& owner);

}  // namespace lumi::dialogs
