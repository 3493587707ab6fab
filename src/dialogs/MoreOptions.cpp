#include "dialogs/MoreOptions.h"

#include <string>

#include "dialogs/MainDialog.h"

namespace lumi::dialogs {

// The pages arrive one by one; until then the sheet opens with none.
void RunMoreOptionsSheet(Controls& owner) {
    owner.RunSheet(std::string(SettingsCaption()) + " - Much More Options", {});
}

}  // namespace lumi::dialogs
